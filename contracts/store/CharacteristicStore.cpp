#include "contracts/store/CharacteristicStore.h"

#include <memory>

namespace zrv::contracts {
namespace {

const char* const kSelectDefaults = "SELECT * FROM CHARACTERISTICS WHERE CH_APP = :app ";
const char* const kSelectOfContract =
    "SELECT CH_ID, CD_VALUE, CD_NO_USE_VALUE, CD_CHECKED\n"
    "FROM CHARACTERISTICS\n"
    "LEFT JOIN CHARACTERISTICS_DOC ON CD_CHID = CH_ID\n"
    "WHERE CD_DOCID = :id";
const char* const kDeleteDocRows = "DELETE FROM CHARACTERISTICS_DOC WHERE CD_DOCID = :id";
const char* const kInsertDocRow =
    "INSERT INTO CHARACTERISTICS_DOC\n"
    "VALUES(:docid, :chid, :value, :no_use_val, :checked)";
const char* const kFlagTrue = "T";
const char* const kFlagFalse = "F";

}  // namespace

void CharacteristicStore::Defaults(int32_t appId,
                                   const std::function<void(TCharacteristic)>& each) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectDefaults);
  query->SetInteger("app", appId);
  query->Open();
  for (; !query->Eof(); query->Next()) {
    TCharacteristic entry;
    entry.CH_ID = query->FieldByName("CH_ID").AsInteger();
    entry.VarName = query->FieldByName("CH_VARNAME").AsString();
    entry.Value = query->FieldByName("CH_VALUE").AsString();
    entry.NoUseValue = query->FieldByName("CH_NO_USE_VALUE").AsString();
    entry.Text = query->FieldByName("CH_TEXT").AsString();
    each(std::move(entry));
  }
}

std::vector<DocCharacteristic> CharacteristicStore::OfContract(int32_t docId) const {
  std::vector<DocCharacteristic> values;
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectOfContract);
  query->SetInteger("id", docId);
  query->Open();
  for (; !query->Eof(); query->Next()) {
    values.push_back({query->FieldByName("CH_ID").AsInteger(),
                      query->FieldByName("CD_VALUE").AsString(),
                      query->FieldByName("CD_NO_USE_VALUE").AsString(),
                      query->FieldByName("CD_CHECKED").AsString() == kFlagTrue});
  }
  return values;
}

void CharacteristicStore::DeleteOfContract(int32_t docId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kDeleteDocRows);
  query->SetInteger("id", docId);
  query->Execute();
}

void CharacteristicStore::Insert(int32_t docId, const TCharacteristic& entry) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kInsertDocRow);
  query->SetInteger("docid", docId);
  query->SetInteger("chid", entry.CH_ID);
  query->SetString("value", entry.Value);
  query->SetString("no_use_val", entry.NoUseValue);
  query->SetString("checked", entry.Checked ? kFlagTrue : kFlagFalse);
  query->Execute();
}

}  // namespace zrv::contracts
