// The contract document against a fresh database: what Insert, Update and
// LoadByID store and read, checked by reading the tables back.

#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <memory>
#include <string>

#include "common/Dates.h"
#include "common/Text.h"
#include "contracts/BaseDoc.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TestDatabase.h"

namespace zrv::test {
namespace {

using contracts::TBaseDoc;

TDate D(int day, int month, int year) { return EncodeDate(year, month, day); }

// A calculator's variable set that keeps names and values.
class FakeCalculator : public contracts::CalcVariables {
 public:
  int FindVariable(const std::string& name) const override {
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return static_cast<int>(i);
    return -1;
  }
  int AddVariable(const std::string& name) override {
    names.push_back(name);
    return static_cast<int>(names.size()) - 1;
  }
  void SetValue(int index, const std::string& value) override { values[names.at(index)] = value; }

  std::vector<std::string> names;
  std::map<std::string, std::string> values;
};

class BaseDocTest : public ::testing::Test {
 protected:
  BaseDocTest() {
    db.Exec(
        "insert into characteristics (ch_id, ch_app, ch_varname, ch_value, "
        "ch_no_use_value, "
        "ch_text) values (31, 1, \"heat\", \"yes\", \"no\", \"Отопление\")");
    calcCharacteristics.LoadCharacteristicDefaults();
    Fill(doc);
    Fill(calcDoc);
  }

  // Fields as the row mapping fills them for a contract for 2024.
  static void Fill(TBaseDoc& doc) {
    doc.DocType = 1002;
    doc.NumberText = "Д-12";
    doc.DocDate = D(20, 12, 2023);
    doc.MonthPrice = 1234.5;
    doc.Area = 50.255;
    doc.VATCode = 1201;
    doc.CurrencyCode = 0;
    doc.InterestType = 2;
    doc.TenantID = 11;
    doc.PropertyID = 21;
    doc.StartDate = D(1, 1, 2024);
    doc.StopDate = D(31, 12, 2024);
    doc.PodsadFlag = "S";
    doc.PayDay = 105;
    doc.TypeText = "Наем";
    doc.Purpose = "магазин";
  }
  int Count(const char* table, const std::string& where) {
    return db.ScalarInt(Format("select count(*) from %s where %s", table, where.c_str()));
  }

  TestDatabase db;
  RecordingMessages messages;
  // As the import uses it: no calculator, an empty characteristic working set.
  contracts::TPHPCommonTasks noCalculator;
  contracts::TCharacteristicsCommonTasks characteristics{db.Connection(), messages, noCalculator};
  TBaseDoc doc{db.Connection(), characteristics, noCalculator, 7};
  // With a calculator, whose working set holds characteristic 31.
  FakeCalculator calculator;
  contracts::TPHPCommonTasks calcBinding{&calculator};
  contracts::TCharacteristicsCommonTasks calcCharacteristics{db.Connection(), messages,
                                                             calcBinding};
  TBaseDoc calcDoc{db.Connection(), calcCharacteristics, calcBinding, 7};
};

TEST_F(BaseDocTest, InsertStoresTheContractAndExactlyOneAnnex) {
  doc.NumberText = "Д \"12\"";
  doc.Comment = "с \"кавички\" и час 10:30";
  doc.InitialSum = 0.125;  // two decimals, the half away from zero: 0.13
  // Amounts go into the statement with a full stop even under a decimal-comma
  // locale.
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  for (const char* name : {"bg_BG.UTF-8", "de_DE.UTF-8", "ru_RU.UTF-8"})
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
  const bool stored = doc.Insert();
  std::setlocale(LC_NUMERIC, previous.c_str());
  ASSERT_TRUE(stored);
  EXPECT_FALSE(db.Connection().InTransaction());
  const int id = doc.DocID;
  EXPECT_EQ(id, db.ScalarInt("select max(doc_id) from documents"));
  EXPECT_EQ(
      Count("documents", Format("doc_id = %d and doc_type = 1002 and doc_nomtxt = \"Д "
                                "\"\"12\"\"\" and "
                                "doc_coment = \"с \"\"кавички\"\" и час 10:30\" and doc_price = "
                                "1234.5 "
                                "and doc_area = 50.26 and doc_initsum = 0.13 and doc_userid = 7 "
                                "and "
                                "doc_app = 1 and doc_payday = 105 and doc_podsad = \"S\" and "
                                "doc_typetext = \"Наем\" and da_if1 = 11 and doc_imotid = 21 and "
                                "da_if4 = -1 and doc_data = \"20.12.2023\" and "
                                "doc_datastart = \"01.01.2024\" and doc_datastop = "
                                "\"31.12.2024\"",
                                id)),
      1);
  EXPECT_EQ(Count("anecs", Format("an_id = %d", id)), 1);
  EXPECT_EQ(Count("anecs", Format("an_id = %d and an_num = 1 and an_freedate = an_dtstart and "
                                  "an_dtstart = \"01.01.2024\" and an_dtstop = \"31.12.2024\" "
                                  "and an_price = 1234.5 and an_payday = 105 and an_dds = 1201 "
                                  "and an_ltype = 2 and an_coment = \"\"",
                                  id)),
            1);
}

TEST_F(BaseDocTest, InsertKeepsACallersTransactionAndUndoesItsOwn) {
  db.Connection().StartTransaction();
  ASSERT_TRUE(doc.Insert());
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_EQ(Count("documents", "1 = 1") + Count("anecs", "1 = 1"), 0);

  // An annex 1 already stored under the next contract's id makes the annex
  // insert fail after the contract row is in; the contract row goes with it.
  for (int id = 1; id <= 5; ++id)
    db.Exec(Format("insert into anecs (an_id, an_num) values (%d, 1)", id));
  EXPECT_THROW(doc.Insert(), db::DbError);
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(Count("documents", "1 = 1"), 0);
}

TEST_F(BaseDocTest, CharacteristicsAreReplacedOnlyForPositiveTypes) {
  ASSERT_TRUE(calcDoc.Insert());
  const int monthly = calcDoc.DocID;
  EXPECT_EQ(Count("characteristics_doc", Format("cd_docid = %d and cd_chid = 31 and "
                                                "cd_value = \"yes\" and cd_checked = \"F\"",
                                                monthly)),
            1);
  calcDoc.DocType = 0;
  ASSERT_TRUE(calcDoc.Insert());
  const int plain = calcDoc.DocID;
  EXPECT_EQ(Count("characteristics_doc", Format("cd_docid = %d", plain)), 0);

  // Loading a contract gives the working set its stored marks and values.
  db.Exec(
      Format("update characteristics_doc set cd_value = \"no\", "
             "cd_no_use_value = \"never\", "
             "cd_checked = \"T\" where cd_docid = %d",
             monthly));
  calcDoc.LoadByID(monthly);
  const contracts::TCharacteristic entry = calcCharacteristics.GetCharEntry(31);
  EXPECT_TRUE(entry.Checked);
  EXPECT_EQ(entry.Value, "no");
  EXPECT_EQ(entry.NoUseValue, "never");

  // Without a working set, updating a 1002 contract still deletes its rows;
  // type 0 does not.
  db.Exec(Format("insert into characteristics_doc values (%d, 99, \"x\", \"y\", \"T\")", plain));
  doc.DocType = 0;
  ASSERT_TRUE(doc.Update(plain));
  EXPECT_EQ(Count("characteristics_doc", Format("cd_docid = %d", plain)), 1);
  doc.DocType = 1002;
  ASSERT_TRUE(doc.Update(monthly));
  EXPECT_EQ(Count("characteristics_doc", Format("cd_docid = %d", monthly)), 0);
}

TEST_F(BaseDocTest, UpdateRewritesTheContractAndClosesOnlyTheLatestAnnex) {
  ASSERT_TRUE(doc.Insert());
  const int id = doc.DocID;
  db.Exec(
      Format("insert into anecs (an_id, an_num, an_price, an_dtstart, "
             "an_dtstop) values "
             "(%d, 2, 150, \"01.04.2024\", \"30.06.2024\")",
             id));
  db.Exec(
      Format("insert into anecs (an_id, an_num, an_price, an_dtstart, "
             "an_dtstop) values "
             "(%d, 3, 180, \"01.07.2024\", \"31.12.2024\")",
             id));

  doc.Clear();
  Fill(doc);
  doc.MonthPrice = 99.99;
  doc.StopDate = D(31, 3, 2025);
  doc.NumberText = "Д-12 \"нов\"";
  doc.DocType = 1400;  // the type is not rewritten
  ASSERT_TRUE(doc.Update(id));
  EXPECT_EQ(doc.DocID, id);
  EXPECT_EQ(Count("documents", Format("doc_id = %d and doc_type = 1002 and doc_price = 99.99 and "
                                      "doc_nomtxt = \"Д-12 \"\"нов\"\"\" and "
                                      "doc_datastop = \"31.03.2025\"",
                                      id)),
            1);
  EXPECT_EQ(Count("anecs", Format("an_id = %d and an_num = 3 and an_dtstop = \"31.03.2025\"", id)),
            1);
  EXPECT_EQ(Count("anecs", Format("an_id = %d and an_num = 2 and an_dtstop = \"30.06.2024\"", id)),
            1);
  EXPECT_EQ(Count("anecs", Format("an_id = %d and an_num = 1 and an_price = 99.99 and "
                                  "an_data >= \"%s\" and an_data < \"%s\"",
                                  id, FormatDMY(Today()).c_str(), FormatDMY(Today() + 1).c_str())),
            1);
}

TEST_F(BaseDocTest, LoadByIdReadsTheContractWithTenantZoneAndAnnexes) {
  db.Exec("insert into persons (per_id, per_name) values (40, \"Иван Петров\")");
  db.Exec(
      "insert into persons (per_id, per_name, per_egn, per_mol) values (41, "
      "\"Фирма ООД\", "
      "\"123456786\", 40)");
  db.Exec("insert into imot (im_id, im_zone) values (50, 3)");
  doc.TenantID = 41;
  doc.PropertyID = 50;
  ASSERT_TRUE(doc.Insert());
  const int id = doc.DocID;
  db.Exec(Format("update documents set doc_podsad = \"\" where doc_id = %d", id));
  db.Exec(
      Format("insert into anecs (an_id, an_num, an_price, an_dtstart, "
             "an_dtstop) values "
             "(%d, 2, 150, \"01.04.2024\", \"31.12.2024\")",
             id));

  doc.Clear();
  doc.LoadByID(id);
  EXPECT_EQ(doc.DocID, id);
  EXPECT_EQ(doc.PodsadFlag, "F");
  EXPECT_EQ(doc.NumberText, "Д-12");
  EXPECT_EQ(doc.MonthPrice, 1234.5);
  EXPECT_EQ(doc.PayDay, 105);
  EXPECT_EQ(FormatDMY(doc.StopDate), "31.12.2024");
  EXPECT_EQ(doc.TenantName + "|" + doc.TenantEGN + "|" + doc.TenantMOLName,
            "Фирма ООД|123456786|Иван Петров");
  EXPECT_EQ(doc.Zone, 3);
  ASSERT_EQ(doc.Annexes.Count(), 2);
  EXPECT_EQ(doc.Annexes.At(1).AN_PRICE, 150);

  doc.LoadByID(987654);
  EXPECT_EQ(doc.DocID, 0);
  EXPECT_EQ(doc.NumberText, "");
  EXPECT_EQ(doc.Annexes.Count(), 0);
}

TEST_F(BaseDocTest, PublishCalcValuesHandsTheTermAndPriceToTheCalculator) {
  calcDoc.StartDate = D(15, 1, 2007);
  calcDoc.StopDate = D(20, 3, 2007);
  calcDoc.PublishCalcValues();
  const std::map<std::string, std::string> expected = {
      {"months", "2"},    {"days", "6"},          {"allDays", "64"},
      {"docnum", "Д-12"}, {"purpose", "магазин"}, {"out_monthprice", "1234.5"},
      {"area", "50.255"}};
  EXPECT_EQ(calculator.values, expected);

  calculator.values.clear();
  doc.PublishCalcValues();  // no calculator: nothing is handed anywhere
  EXPECT_TRUE(calculator.values.empty());
}

}  // namespace
}  // namespace zrv::test
