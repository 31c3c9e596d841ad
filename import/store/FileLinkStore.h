#pragma once
// The statements of storage, the links between properties and their contracts'
// scanned files, in a transaction the caller gives.

#include <cstdint>
#include <string>

#include "common/Dates.h"
#include "platform/db/Database.h"

namespace zrv::import {

struct FileLink {
  int32_t propertyId = 0;  // st_id
  int32_t number = 0;      // st_num, the property's n-th link
  std::string docType;     // st_doctype
  std::string fileName;    // st_filename
  TDate dateIn = 0;        // st_datain
  std::string ftpName;     // st_ftpname
};

class FileLinkStore {
 public:
  explicit FileLinkStore(db::Transaction& tx) : tx_(tx) {}

  // The greatest link number of the property the transaction sees + 1; 1 for
  // the first.
  int32_t NextNumber(int32_t propertyId) const;
  void Insert(const FileLink& link) const;

 private:
  db::Transaction& tx_;
};

}  // namespace zrv::import
