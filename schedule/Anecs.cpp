#include "schedule/Anecs.h"

#include <cmath>

#include "common/Text.h"

namespace zrv::schedule {
namespace {

const char* const kMsgNoSuchAnnex = "Няма анекс на позиция %d: анексите са %d.";
const char* const kMsgNoAnnexes = "Списъкът с анекси е празен.";

TAnecsRow ReadRow(const db::Query& query) {
  TAnecsRow row;
  row.AN_ID = query.FieldByName("AN_ID").AsInteger();
  row.AN_NUM = query.FieldByName("AN_NUM").AsInteger();
  row.AN_PRICE = query.FieldByName("AN_PRICE").AsFloat();
  row.AN_DTStart = std::trunc(query.FieldByName("AN_DTStart").AsDateTime());
  row.AN_DTStop = std::trunc(query.FieldByName("AN_DTStop").AsDateTime());
  row.AN_LType = static_cast<int16_t>(query.FieldByName("AN_LType").AsInteger());
  row.AN_LPercent = query.FieldByName("AN_LPercent").AsFloat();
  row.AN_LMAX = query.FieldByName("AN_LMAX").AsFloat();
  row.AN_DDS = static_cast<int16_t>(query.FieldByName("AN_DDS").AsInteger());
  row.AN_PayDay = static_cast<int16_t>(query.FieldByName("AN_PayDay").AsInteger());
  row.AN_REASON = query.FieldByName("AN_REASON").AsString();
  row.AN_COMENT = query.FieldByName("AN_COMENT").AsString();
  row.AN_FreeDate = query.FieldByName("AN_FreeDate").AsDateTime();
  row.AN_AddPrice = query.FieldByName("AN_AddPrice").AsFloat();
  DecodePayDay(row.AN_PayDay, row.PayDay, row.PayMonth);
  return row;
}

}  // namespace

void TAnecses::LoadFromQuery(db::Query& query) {
  Clear();
  for (query.First(); !query.Eof(); query.Next()) Append(ReadRow(query));
}

TAnecsRow& TAnecses::Append(const TAnecsRow& row) {
  rows_.push_back(std::make_unique<TAnecsRow>(row));
  return *rows_.back();
}

const TAnecsRow& TAnecses::At(int index) const {
  if (index < 0 || index >= Count()) throw Error(Format(kMsgNoSuchAnnex, index, Count()));
  return *rows_[index];
}

TAnecsRow& TAnecses::At(int index) {
  return const_cast<TAnecsRow&>(static_cast<const TAnecses&>(*this).At(index));
}

const TAnecsRow& TAnecses::Last() const {
  if (rows_.empty()) throw Error(kMsgNoAnnexes);
  return *rows_.back();
}

}  // namespace zrv::schedule
