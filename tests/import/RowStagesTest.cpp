// The row rules without a database: the reader's values and lines for a row's
// cells, and the resolver's choice of which groups report, against look-ups
// that record what they were asked.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "contracts/BaseDoc.h"
#include "contracts/Characteristics.h"
#include "import/RowReader.h"
#include "import/RowResolver.h"
#include "platform/db/Firebird.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/SheetData.h"
#include "tests/support/RecordingMessages.h"

namespace zrv::import {
namespace {

using CellMap = std::map<std::string, std::string>;

// A sheet whose row 2 holds a complete contract row, with `changes` applied
// (an empty text clears a cell).
ContractRow Read(const CellMap& changes) {
  CellMap cells = {{"A", "7/2007"}, {"B", "15.01.2007"}, {"C", "Наем терен"},
                   {"D", "Иван"},   {"E", "7001010011"}, {"T", "Русе"},
                   {"AC", "12"},    {"AD", "100"},       {"AE", "31.01.2007"}};
  for (const auto& [column, text] : changes) cells[column] = text;
  workbook::SheetData sheet;
  for (const auto& [column, text] : cells) sheet.Set(2, workbook::ColumnNumber(column), text);
  sheet.Finish();
  const CellReader reader(&sheet);
  return ReadContractRow(reader, 2);
}

TEST(RowReader, CellsBecomeValues) {
  const struct {
    CellMap cells;
    std::function<void(const ContractRow&)> check;
  } cases[] = {
      {{{"AC", "1"}},  // a month later, cut to the month's end
       [](const ContractRow& r) { EXPECT_EQ(FormatDMY(r.contract.stopDate), "28.02.2007"); }},
      {{{"AC", "дванадесет"}},
       [](const ContractRow& r) {
         EXPECT_FALSE(r.contract.valid);
         EXPECT_EQ(r.contract.linesAfterObjectType,
                   Lines{"FATAL : Липсва Срок на договора на ред номер : 2"});
       }},
      {{{"AI", "д"}, {"AG", "01.03.2007"}},
       [](const ContractRow& r) { EXPECT_EQ(r.contract.podsadFlag, "S"); }},
      {{{"AG", "01.03.2007"}}, [](const ContractRow& r) { EXPECT_EQ(r.contract.podsadFlag, "B"); }},
      {{{"S", "1,5 дка"}}, [](const ContractRow& r) { EXPECT_EQ(r.contract.area, 1500); }},
      {{{"AB", "12345.501.123.1.2"}},
       [](const ContractRow& r) {
         EXPECT_EQ(r.property.masivNo, 501);
         EXPECT_EQ(r.property.nparText, "123");
         EXPECT_EQ(r.property.nn, 1);
         EXPECT_EQ(r.property.ni, 2);
       }},
      {{{"AB", "012345"}},
       [](const ContractRow& r) {
         EXPECT_EQ(r.property.masivNo, 12);
         EXPECT_EQ(r.property.nparText, "345");
       }},
      {{{"E", ""}, {"F", "BG 123 456 786"}},
       [](const ContractRow& r) {
         EXPECT_EQ(r.tenant.number.number, "123456786");
         EXPECT_EQ(r.tenant.flag, 'F');
       }},
      {{{"D", ""}},  // reported only if the tenant turns out to be new
       [](const ContractRow& r) {
         EXPECT_EQ(r.tenant.newLines, Lines{"FATAL : Липсва Име на наемател или "
                                            "ЕГН/Булстат/ИН по ДДС на ред номер : 2"});
       }},
  };
  for (const auto& c : cases) c.check(Read(c.cells));
}

// Look-ups that know one stored person and record the classifier texts asked,
// in order.
class RecordingLookups : public RowLookups {
 public:
  std::vector<std::string> asked;
  int32_t FindPerson(const std::string& number) override { return number == "7001010011" ? 5 : -1; }
  int32_t FindRepresentative(int32_t, const std::string&) override { return -1; }
  int32_t RentTypeId(const std::string& t) override { return Ask(t); }
  int32_t ObjectTypeId(const std::string& t) override { return Ask(t); }
  int32_t SettlementId(std::string& t) override { return Ask(t); }
  int16_t LocalityId(const std::string& t) override { return Ask(t); }
  int16_t QuarterId(const std::string& t) override { return Ask(t); }
  int16_t StreetId(const std::string& t) override { return Ask(t); }
  int32_t PropertyByDocumentNumber(const std::string&) override { return -1; }
  int32_t PropertyByCadastralId(const contracts::TObektDB&) override { return -1; }

 private:
  int16_t Ask(const std::string& text) {
    asked.push_back(text);
    return static_cast<int16_t>(asked.size());
  }
};

TEST(RowResolver, AGroupReportsOnlyWhileTheGroupsBeforeItAreValid) {
  // The records hold a connection they never use here: it stays closed.
  const std::unique_ptr<db::Connection> closed = db::MakeFirebirdConnection();
  test::RecordingMessages messages;
  const struct {
    CellMap cells;
    Lines lines;
    std::vector<std::string> asked;
  } cases[] = {
      // A stored tenant needs no name; classifier texts asked group by group.
      {{{"D", ""}, {"P", "Нива"}, {"U", "Лозята"}, {"W", "ул. Първа"}},
       {},
       {"Наем терен", "Нива", "Русе", "Лозята", "ул. Първа"}},
      // A new tenant without a name: the contract and property groups do not
      // report, and none of their texts is looked up.
      {{{"E", "7501010010"}, {"D", ""}, {"AD", "сто"}},
       {"FATAL : Липсва Име на наемател или ЕГН/Булстат/ИН по ДДС на ред "
        "номер : 2"},
       {}},
      // A bad contract group keeps the property group silent.
      {{{"AD", "сто"}, {"T", ""}},
       {"FATAL : Липсва месечна цена(или въведената стойност е невалидна) на "
        "ред номер : 2"},
       {"Наем терен"}},
  };
  for (const auto& c : cases) {
    RecordingLookups lookups;
    ErrorList errors;
    contracts::RentKinds kinds;
    contracts::TPHPCommonTasks calculator;
    contracts::TCharacteristicsCommonTasks characteristics(*closed, messages, calculator);
    contracts::TBaseDoc contract(*closed, characteristics, calculator, 1);
    contracts::TObektDB property(*closed);
    contracts::TPersonSrchRec rep, tenant;
    RowResolver resolver(lookups, errors, kinds);
    const bool valid = resolver.Resolve(Read(c.cells), {rep, tenant, contract, property});
    EXPECT_EQ(valid, c.lines.empty());
    EXPECT_EQ(errors.Lines(), c.lines);
    EXPECT_EQ(lookups.asked, c.asked);
  }
}

}  // namespace
}  // namespace zrv::import
