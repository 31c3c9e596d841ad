#include "import/store/FileLinkStore.h"

#include <memory>

namespace zrv::import {
namespace {

const char* const kSelectLastNumber = "SELECT max(st_num) FROM storage WHERE st_id = :im_id";
const char* const kInsertLink =
    "INSERT INTO storage(st_id, st_num, st_doctype, st_filename, st_datain, "
    "st_ftpname) \r"
    "VALUES(:im_id, :num, :doctype, :fname, :date_in, :ftpfname)";

}  // namespace

int32_t FileLinkStore::NextNumber(int32_t propertyId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectLastNumber);
  query->SetInteger("im_id", propertyId);
  query->Open();
  if (query->Eof()) return 1;
  return query->FieldAt(0).AsInteger() + 1;
}

void FileLinkStore::Insert(const FileLink& link) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kInsertLink);
  query->SetInteger("im_id", link.propertyId);
  query->SetInteger("num", link.number);
  query->SetString("doctype", link.docType);
  query->SetString("fname", link.fileName);
  query->SetDateTime("date_in", link.dateIn);
  query->SetString("ftpfname", link.ftpName);
  query->Execute();
}

}  // namespace zrv::import
