#include "import/RowCells.h"

#include <memory>

#include "import/CellReader.h"
#include "import/ColumnMap.h"
#include "platform/workbook/Workbook.h"

namespace zrv::import {

namespace {

struct ColumnMeaning {
  const char* column;
  const char* meaning;
};

const char kNotRead[] = "не се чете";

// Every column from A to AJ, in the order of the sheet.
const ColumnMeaning kColumns[] = {
    {column::kContractNumber, "номер на договор (повтаря се на анексите)"},
    {column::kDrawnUpDate, "дата на съставяне"},
    {column::kRentType, "вид наем"},
    {column::kTenantName, "име на наемателя"},
    {column::kTenantNumber, "ЕГН/Булстат на наемателя"},
    {column::kTenantVatNumber, "ИН по ДДС на наемателя"},
    {column::kTenantSettlement, "населено място на наемателя"},
    {column::kTenantAddress, "адрес на наемателя"},
    {column::kRepresentativeName, "име на представителя"},
    {column::kRepresentativeNumber, "ЕГН/Булстат на представителя"},
    {column::kRepresentativeDocument, "лична карта на представителя"},
    {"L", kNotRead},
    {"M", kNotRead},
    {column::kRepresentativePhone, "телефон на представителя"},
    {column::kContractText, "текст на договора"},
    {column::kObjectType, "вид обект"},
    {column::kComment, "коментар"},
    {column::kPurpose, "предназначение"},
    {column::kArea, "площ с мерна единица"},
    {column::kSettlement, "населено място на имота"},
    {column::kLocality, "местност"},
    {column::kQuarter, "жилищен комплекс"},
    {column::kStreet, "улица"},
    {column::kStreetNumber, "номер"},
    {column::kAddress, "адрес"},
    {column::kStoredDocumentNumber, "номер на записан договор за същия имот"},
    {"AA", kNotRead},
    {column::kCadastralId, "кадастрален идентификатор"},
    {column::kTermMonths, "срок в месеци"},
    {column::kMonthlyRent, "месечна цена"},
    {column::kStartDate, "начална дата (на анекс: влизане в сила)"},
    {column::kAnnexEndDate, "крайна дата на анекса"},
    {column::kStatusDate, "дата на промяна на статуса"},
    {column::kStatusNote, "бележка към статуса"},
    {column::kStatusFlag, "статус (Д)"},
    {column::kAdditionalText, "допълнителен текст"},
};

}  // namespace

std::vector<RowCell> ReadRowCells(const std::string& path, int row) {
  const std::unique_ptr<workbook::Worksheet> sheet = workbook::OpenFirstWorksheet(path);
  const CellReader cells(sheet.get());
  std::vector<RowCell> result;
  for (const ColumnMeaning& c : kColumns)
    result.push_back({c.column, c.meaning, cells.ReadCell(c.column, row)});
  return result;
}

}  // namespace zrv::import
