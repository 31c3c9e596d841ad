#include "import/FileLinks.h"

#include <exception>

#include "contracts/BaseDoc.h"
#include "import/store/FileLinkStore.h"

namespace zrv::import {

namespace {

const char* const kDocKindPrefix = "Документ към договор за наемс номер ";
const char* const kLinkFailed = "Проблем при записа на връзка към FTP файл";

}  // namespace

std::string FileLinkName(TDate docDate, const std::string& numberText) {
  int year = 0, month = 0, day = 0;
  DecodeDate(docDate, year, month, day);
  return std::to_string(year) + numberText + ".pdf";
}

int32_t AddFileLink(db::Transaction& tx, ui::Messages& messages,
                    const contracts::TBaseDoc& contract, const std::string& folder) {
  const FileLinkStore store(tx);
  FileLink link;
  link.propertyId = contract.PropertyID;
  link.fileName = FileLinkName(contract.DocDate, contract.NumberText);
  link.number = store.NextNumber(contract.PropertyID);
  link.docType = kDocKindPrefix + contract.NumberText;
  link.dateIn = Today();
  link.ftpName = folder.empty() ? link.fileName : folder + "/" + link.fileName;
  try {
    store.Insert(link);
  } catch (const db::DuplicateKeyError&) {
    // Another workstation gave the property's next link the same number a
    // moment ago: not a fault of the link, and the row is tried again.
    throw;
  } catch (const db::ConflictError&) {
    throw;
  } catch (const std::exception&) {
    messages.ShowMessage(kLinkFailed);
    throw;
  }
  return link.number;
}

}  // namespace zrv::import
