#include "import/FileLinks.h"

#include <exception>

#include "contracts/BaseDoc.h"

namespace zrv::import {

namespace {

const char* const kSelectLastNumber =
    "SELECT max(st_num) FROM storage WHERE st_id = :im_id";
const char* const kInsertLink =
    "INSERT INTO storage(st_id, st_num, st_doctype, st_filename, st_datain, "
    "st_ftpname) \r"
    "VALUES(:im_id, :num, :doctype, :fname, :date_in, :ftpfname)";
const char* const kDocKindPrefix = "Документ към договор за наемс номер ";
const char* const kLinkFailed = "Проблем при записа на връзка към FTP файл";

int32_t NextLinkNumber(db::Connection& db, int32_t propertyId) {
  auto query = db.NewQuery();
  query->SetSQL(kSelectLastNumber);
  query->SetInteger("im_id", propertyId);
  query->Open();
  if (query->Eof()) return 1;
  return query->FieldAt(0).AsInteger() + 1;
}

}  // namespace

std::string FileLinkName(TDate docDate, const std::string& numberText) {
  int year = 0, month = 0, day = 0;
  DecodeDate(docDate, year, month, day);
  return std::to_string(year) + numberText + ".pdf";
}

void AddFileLink(db::Connection& db, ui::Messages& messages,
                 const contracts::TBaseDoc& contract,
                 const std::string& folder) {
  const std::string fileName =
      FileLinkName(contract.DocDate, contract.NumberText);
  const int32_t number = NextLinkNumber(db, contract.PropertyID);

  auto query = db.NewQuery();
  query->SetSQL(kInsertLink);
  query->SetInteger("im_id", contract.PropertyID);
  query->SetInteger("num", number);
  query->SetString("doctype", kDocKindPrefix + contract.NumberText);
  query->SetString("fname", fileName);
  query->SetDateTime("date_in", Today());
  query->SetString("ftpfname",
                   folder.empty() ? fileName : folder + "/" + fileName);
  try {
    query->Execute();
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
}

}  // namespace zrv::import
