// `zorvit rates import`: every form a spreadsheet saves is read whole, and a
// file that cannot be read whole leaves the stored table as it was.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/Dates.h"
#include "common/Text.h"
#include "platform/db/Firebird.h"
#include "tests/cli/RunZorvit.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Workbooks.h"

namespace zrv::test {
namespace {

class RatesImport : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeTempFolder();
    db_.Connection().Close();  // the program opens the file on its own
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  ZorvitResult Import(const std::string& name, const std::string& text) {
    WriteWholeFile(folder_ + "/" + name, text);
    return ImportFile(folder_ + "/" + name);
  }
  ZorvitResult ImportFile(const std::string& path) {
    return RunZorvit(folder_, db_.Path(), "rates import '" + path + "'");
  }
  // Count, first day, last day and the rates of the stored table.
  std::string Stored() {
    auto c = db::MakeFirebirdConnection();
    c->Open({"SYSDBA", "masterkey", db_.Path()});
    auto q = c->NewQuery();
    q->SetSQL(
        "select BR_FIRSTDAY, BR_LASTDAY, BR_RATE, BR_DAILY from BASERATES "
        "order by BR_FIRSTDAY");
    q->Open();
    std::string out;
    for (; !q->Eof(); q->Next()) {
      out += Format("%s-%s %.2f %.7f;", FormatDMY(q->FieldAt(0).AsDateTime()).c_str(),
                    FormatDMY(q->FieldAt(1).AsDateTime()).c_str(), q->FieldAt(2).AsFloat(),
                    q->FieldAt(3).AsFloat());
    }
    return out;
  }

  TestDatabase db_;
  std::string folder_;
};

constexpr const char* kTwoPeriods =
    "01.07.2023-31.12.2023 3.79 0.0001053;01.01.2024-30.06.2024 3.80 "
    "0.0001056;";

TEST_F(RatesImport, ReadsEveryFormASpreadsheetSaves) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"bom.csv",
       "\xEF\xBB\xBF"
       "01.07.2023;31.12.2023;3,79\r\n"
       "01.01.2024;30.06.2024;3,80\r\n"},
      {"header.csv",
       "От;До;ОЛП %\n01.01.2024;30.06.2024;3.8%\n"
       "01.07.2023;31.12.2023;3.79\n"},
      {"tabs.txt", "01.07.2023\t31.12.2023\t3,79\n01.01.2024\t30.06.2024\t3,8"},
      {"quoted.csv",
       "2023-07-01,2023-12-31,\"3,79\",,\n"
       "2024-01-01,2024-06-30,3.8,,\n"},
  };
  for (const Case& c : cases) {
    Import("reset.csv", "01.01.2000;31.12.2000;1\n");
    const ZorvitResult r = Import(c.name, c.text);
    EXPECT_EQ(r.exitCode, 0) << c.name << r.err;
    EXPECT_EQ(r.out,
              "Записани са 2 периода на основния лихвен процент: от "
              "01.07.2023 до 30.06.2024.\n")
        << c.name;
    EXPECT_EQ(Stored(), kTwoPeriods) << c.name;
  }
  Import("reset.csv", "01.01.2000;31.12.2000;1\n");
  const std::string book = MakeWorkbook(folder_, "rates.xlsx",
                                        {{"От", "До", "ОЛП"},
                                         {Cell::Date(2023, 7, 1), Cell::Date(2023, 12, 31), 3.79},
                                         {Cell::Date(2024, 1, 1), Cell::Date(2024, 6, 30), 3.8}});
  EXPECT_EQ(ImportFile(book).exitCode, 0);
  EXPECT_EQ(Stored(), kTwoPeriods);
}

TEST_F(RatesImport, RefusesAFileItCannotReadWholeAndKeepsTheTable) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"01.07.2023,31.12.2023,3,79\n", "Ред 1: дневният коефициент 79"},
      {"01.07.2023;31.12.2023;3\n2024/01/01;30.06.2024;3\n", "Ред 2: „2024/01/01“ не е дата"},
      {"", "Във файла няма нито един период."},
      {"От;До;ОЛП\n", "Във файла няма нито един период."},
      {"01.07.2023;31.12.2023;-1\n", "Ред 1: процентът -1 е извън"},
      {"01.07.2023;31.12.2023;3\n01.12.2023;30.06.2024;3\n", "се застъпва"},
      {"01.07.2023;31.12.2023;3\n02.01.2024;30.06.2024;3\n", "дни без лихвен процент"},
      {"01.07.2023;31.12.2023;3;0.0001;1.7.23\n", "„1.7.23“ не е дата"},
      {"\"01.07.2023;31.12.2023;3\n", "не е затворено"},
  };
  ASSERT_EQ(Import("good.csv",
                   "01.07.2023;31.12.2023;3,79\n"
                   "01.01.2024;30.06.2024;3,80\n")
                .exitCode,
            0);
  for (const Case& c : cases) {
    const ZorvitResult r = Import("bad.csv", c.text);
    EXPECT_EQ(r.exitCode, 1) << c.text;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("не са променени"), std::string::npos) << r.err;
    EXPECT_EQ(Stored(), kTwoPeriods) << c.text;
  }
}

}  // namespace
}  // namespace zrv::test
