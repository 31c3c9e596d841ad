// The contract document against a fresh database: what Insert, Update and LoadByID store and
// read, checked by reading the tables back.

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

constexpr int32_t kUserId = 7;

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
  // A document without a calculator, as the import uses it.
  TBaseDoc& Doc() { return *doc_; }

  // A document with a calculator and one characteristic defined for the application.
  TBaseDoc& DocWithCalculator() {
    db.Exec("insert into characteristics (ch_id, ch_app, ch_varname, ch_value, ch_no_use_value, "
            "ch_text) values (31, 1, \"heat\", \"yes\", \"no\", \"Отопление\")");
    calcBinding_ = std::make_unique<contracts::TPHPCommonTasks>(&calculator);
    calcCharacteristics_ = std::make_unique<contracts::TCharacteristicsCommonTasks>(
        db.Connection(), messages, *calcBinding_);
    calcCharacteristics_->LoadCharacteristicDefaults();
    calcDoc_ = std::make_unique<TBaseDoc>(db.Connection(), *calcCharacteristics_, *calcBinding_,
                                          kUserId);
    return *calcDoc_;
  }

  // Fields as the row mapping fills them for a contract for 2024.
  static void Fill(TBaseDoc& doc) {
    doc.DocType = 1002;
    doc.NumberText = "Д-12";
    doc.DocDate = D(20, 12, 2023);
    doc.RentTypeID = 4;
    doc.MonthPrice = 1234.5;
    doc.Area = 50.255;
    doc.VATCode = 1201;
    doc.CurrencyCode = 0;
    doc.InterestType = 2;
    doc.InterestPercent = 0.1;
    doc.InterestMax = 3;
    doc.TenantID = 11;
    doc.PropertyID = 21;
    doc.StartDate = D(1, 1, 2024);
    doc.StopDate = D(31, 12, 2024);
    doc.PodsadFlag = "S";
    doc.PayDay = 105;
    doc.TypeText = "Наем";
    doc.Purpose = "магазин";
  }

  contracts::TCharacteristicsCommonTasks& CalcCharacteristics() { return *calcCharacteristics_; }

  std::string DocCol(int id, const char* column) {
    return db.Scalar(Format("select %s from documents where doc_id = %d", column, id));
  }
  int Count(const std::string& sql) { return db.ScalarInt(sql); }

  TestDatabase db;
  RecordingMessages messages;
  FakeCalculator calculator;

 private:
  contracts::TPHPCommonTasks noCalculator_;
  contracts::TCharacteristicsCommonTasks characteristics_{db.Connection(), messages,
                                                          noCalculator_};
  std::unique_ptr<TBaseDoc> doc_ =
      std::make_unique<TBaseDoc>(db.Connection(), characteristics_, noCalculator_, kUserId);
  std::unique_ptr<contracts::TPHPCommonTasks> calcBinding_;
  std::unique_ptr<contracts::TCharacteristicsCommonTasks> calcCharacteristics_;
  std::unique_ptr<TBaseDoc> calcDoc_;
};

TEST_F(BaseDocTest, ClearGivesTheEmptyValues) {
  TBaseDoc& doc = Doc();
  Fill(doc);
  doc.ExtraNote = "бележка";
  doc.WriteFirstAnnex = false;
  doc.Annexes.Append(schedule::TAnecsRow{});
  doc.Clear();
  EXPECT_EQ(doc.DocID, -1);
  EXPECT_EQ(doc.DocType, -1);
  EXPECT_EQ(doc.AppID, 1);
  EXPECT_EQ(doc.RentTypeID, -1);
  EXPECT_EQ(doc.InterestType, -1);
  EXPECT_EQ(doc.VATCode, -1);
  EXPECT_EQ(doc.CurrencyCode, -1);
  EXPECT_EQ(doc.PropertyID, -1);
  EXPECT_EQ(doc.TenantID, -1);
  EXPECT_EQ(doc.Zone, -1);
  EXPECT_EQ(doc.IF4Value, -1);
  EXPECT_EQ(doc.ValueCalcID, -1);
  EXPECT_EQ(doc.FreeFlag, "F");
  EXPECT_EQ(doc.HandRentInfo, "F");
  EXPECT_EQ(doc.PodsadFlag, "");
  EXPECT_EQ(doc.NumberText, "");
  EXPECT_EQ(doc.MonthPrice, 0);
  EXPECT_EQ(doc.StartDate, 0);
  EXPECT_EQ(doc.PayDay, 0);
  EXPECT_TRUE(doc.WriteFirstAnnex);
  EXPECT_EQ(doc.ExtraNote, "бележка");
  EXPECT_EQ(doc.Annexes.Count(), 1);
}

TEST_F(BaseDocTest, InsertStoresTheContractAndExactlyOneAnnex) {
  TBaseDoc& doc = Doc();
  Fill(doc);
  doc.NumberText = "Д \"12\"";
  doc.Comment = "с \"кавички\" и час 10:30";
  ASSERT_TRUE(doc.Insert());
  EXPECT_FALSE(db.Connection().InTransaction());
  const int id = db.ScalarInt("select max(doc_id) from documents");
  EXPECT_EQ(doc.DocID, id);

  EXPECT_EQ(DocCol(id, "doc_nomtxt"), "Д \"12\"");
  EXPECT_EQ(DocCol(id, "doc_coment"), "с \"кавички\" и час 10:30");
  EXPECT_DOUBLE_EQ(std::stod(DocCol(id, "doc_price")), 1234.5);
  EXPECT_DOUBLE_EQ(std::stod(DocCol(id, "doc_area")), 50.26);  // two decimals in the statement
  EXPECT_EQ(DocCol(id, "doc_userid"), "7");
  EXPECT_EQ(DocCol(id, "doc_app"), "1");
  EXPECT_EQ(DocCol(id, "doc_payday"), "105");
  EXPECT_EQ(DocCol(id, "doc_podsad"), "S");
  EXPECT_EQ(DocCol(id, "doc_typetext"), "Наем");
  EXPECT_EQ(DocCol(id, "da_if1"), "11");
  EXPECT_EQ(Count(Format("select count(*) from documents where doc_id = %d and "
                         "doc_datastart = \"01.01.2024\" and doc_datastop = \"31.12.2024\" and "
                         "doc_data = \"20.12.2023\"", id)),
            1);

  EXPECT_EQ(Count(Format("select count(*) from anecs where an_id = %d", id)), 1);
  EXPECT_EQ(Count(Format("select count(*) from anecs where an_id = %d and an_num = 1 and "
                         "an_freedate = an_dtstart and an_dtstart = \"01.01.2024\" and "
                         "an_dtstop = \"31.12.2024\" and an_price = 1234.5 and an_payday = 105 "
                         "and an_dds = 1201 and an_ltype = 2 and an_coment = \"\"", id)),
            1);
}

TEST_F(BaseDocTest, AmountsAreWrittenWithAFullStopWhateverTheLocale) {
  const char* commaLocales[] = {"bg_BG.UTF-8", "de_DE.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8"};
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  for (const char* name : commaLocales)
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
  TBaseDoc& doc = Doc();
  Fill(doc);
  doc.MonthPrice = 1234.567;
  doc.InitialSum = 0.5;
  const bool stored = doc.Insert();
  std::setlocale(LC_NUMERIC, previous.c_str());
  ASSERT_TRUE(stored);
  EXPECT_DOUBLE_EQ(std::stod(DocCol(doc.DocID, "doc_price")), 1234.57);
  EXPECT_DOUBLE_EQ(std::stod(DocCol(doc.DocID, "doc_initsum")), 0.5);
}

TEST_F(BaseDocTest, InsertInsideACallersTransactionLeavesItOpen) {
  TBaseDoc& doc = Doc();
  Fill(doc);
  db.Connection().StartTransaction();
  ASSERT_TRUE(doc.Insert());
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_EQ(Count("select count(*) from documents"), 0);
  EXPECT_EQ(Count("select count(*) from anecs"), 0);
}

TEST_F(BaseDocTest, FailedInsertLeavesNothingHalfWritten) {
  // An annex 1 already stored under the id the next contract gets makes the annex insert fail
  // after the contract row is in.
  for (int id = 1; id <= 5; ++id)
    db.Exec(Format("insert into anecs (an_id, an_num) values (%d, 1)", id));
  TBaseDoc& doc = Doc();
  Fill(doc);
  EXPECT_THROW(doc.Insert(), db::DbError);
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(Count("select count(*) from documents"), 0);
}

TEST_F(BaseDocTest, CharacteristicsAreReplacedOnlyForPositiveTypes) {
  TBaseDoc& doc = DocWithCalculator();
  Fill(doc);
  ASSERT_TRUE(doc.Insert());
  const int monthly = doc.DocID;
  EXPECT_EQ(Count(Format("select count(*) from characteristics_doc where cd_docid = %d and "
                         "cd_chid = 31 and cd_value = \"yes\" and cd_checked = \"F\"", monthly)),
            1);

  doc.Clear();
  Fill(doc);
  doc.DocType = 0;
  ASSERT_TRUE(doc.Insert());
  EXPECT_EQ(Count(Format("select count(*) from characteristics_doc where cd_docid = %d",
                         doc.DocID)),
            0);

  // Update deletes stored rows for type 1002 even without a working set, and not for type 0.
  TBaseDoc& plain = Doc();
  db.Exec(Format("insert into characteristics_doc values (%d, 99, \"x\", \"y\", \"T\")", monthly));
  db.Exec(Format("insert into characteristics_doc values (%d, 99, \"x\", \"y\", \"T\")", doc.DocID));
  Fill(plain);
  plain.DocType = 0;
  ASSERT_TRUE(plain.Update(doc.DocID));
  EXPECT_EQ(Count(Format("select count(*) from characteristics_doc where cd_docid = %d",
                         doc.DocID)),
            1);
  Fill(plain);
  ASSERT_TRUE(plain.Update(monthly));
  EXPECT_EQ(Count(Format("select count(*) from characteristics_doc where cd_docid = %d", monthly)),
            0);
}

TEST_F(BaseDocTest, UpdateClosesOnlyTheLatestAnnex) {
  TBaseDoc& doc = Doc();
  Fill(doc);
  ASSERT_TRUE(doc.Insert());
  const int id = doc.DocID;
  db.Exec(Format("insert into anecs (an_id, an_num, an_price, an_dtstart, an_dtstop) values "
                 "(%d, 2, 150, \"01.04.2024\", \"30.06.2024\")", id));
  db.Exec(Format("insert into anecs (an_id, an_num, an_price, an_dtstart, an_dtstop) values "
                 "(%d, 3, 180, \"01.07.2024\", \"31.12.2024\")", id));

  doc.Clear();
  Fill(doc);
  doc.MonthPrice = 99.99;
  doc.StopDate = D(31, 3, 2025);
  doc.NumberText = "Д-12 \"нов\"";
  doc.DocType = 1400;  // not rewritten
  ASSERT_TRUE(doc.Update(id));
  EXPECT_EQ(doc.DocID, id);

  EXPECT_EQ(Count(Format("select count(*) from anecs where an_id = %d and an_num = 3 and "
                         "an_dtstop = \"31.03.2025\"", id)),
            1);
  EXPECT_EQ(Count(Format("select count(*) from anecs where an_id = %d and an_num = 2 and "
                         "an_dtstop = \"30.06.2024\"", id)),
            1);
  EXPECT_EQ(Count(Format("select count(*) from anecs where an_id = %d and an_num = 1 and "
                         "an_price = 99.99 and an_data >= \"%s\" and an_data < \"%s\"", id,
                         FormatDMY(Today()).c_str(), FormatDMY(Today() + 1).c_str())),
            1);
  EXPECT_EQ(DocCol(id, "doc_nomtxt"), "Д-12 \"нов\"");
  EXPECT_EQ(DocCol(id, "doc_type"), "1002");
  EXPECT_EQ(Count(Format("select count(*) from documents where doc_id = %d and "
                         "doc_datastop = \"31.03.2025\"", id)),
            1);
}

TEST_F(BaseDocTest, LoadByIdReadsTheContractWithTenantZoneAndAnnexes) {
  db.Exec("insert into persons (per_id, per_name, per_egn) values (40, \"Иван Петров\", "
          "\"7501011234\")");
  db.Exec("insert into persons (per_id, per_name, per_egn, per_mol) values (41, \"Фирма ООД\", "
          "\"123456786\", 40)");
  db.Exec("insert into imot (im_id, im_zone) values (50, 3)");
  TBaseDoc& doc = Doc();
  Fill(doc);
  doc.TenantID = 41;
  doc.PropertyID = 50;
  doc.DocType = 0;
  ASSERT_TRUE(doc.Insert());
  const int id = doc.DocID;
  db.Exec(Format("update documents set doc_podsad = \"\" where doc_id = %d", id));
  db.Exec(Format("insert into anecs (an_id, an_num, an_price, an_dtstart, an_dtstop) values "
                 "(%d, 2, 150, \"01.04.2024\", \"31.12.2024\")", id));

  doc.Clear();
  doc.LoadByID(id);
  EXPECT_EQ(doc.DocID, id);
  EXPECT_EQ(doc.PodsadFlag, "F");
  EXPECT_EQ(doc.NumberText, "Д-12");
  EXPECT_EQ(doc.Purpose, "магазин");
  EXPECT_DOUBLE_EQ(doc.MonthPrice, 1234.5);
  EXPECT_EQ(doc.PayDay, 105);
  EXPECT_EQ(FormatDMY(doc.StopDate), "31.12.2024");
  EXPECT_EQ(doc.TenantName, "Фирма ООД");
  EXPECT_EQ(doc.TenantEGN, "123456786");
  EXPECT_EQ(doc.TenantMOLName, "Иван Петров");
  EXPECT_EQ(doc.Zone, 3);
  ASSERT_EQ(doc.Annexes.Count(), 2);
  EXPECT_EQ(doc.Annexes.At(1).AN_NUM, 2);
  EXPECT_DOUBLE_EQ(doc.Annexes.At(1).AN_PRICE, 150);

  doc.LoadByID(987654);
  EXPECT_EQ(doc.DocID, 0);
  EXPECT_EQ(doc.NumberText, "");
  EXPECT_EQ(doc.PodsadFlag, "F");
  EXPECT_EQ(doc.Annexes.Count(), 0);
}

TEST_F(BaseDocTest, LoadByIdRestoresTheStoredCharacteristics) {
  TBaseDoc& doc = DocWithCalculator();
  Fill(doc);
  ASSERT_TRUE(doc.Insert());
  db.Exec(Format("update characteristics_doc set cd_value = \"no\", cd_no_use_value = "
                 "\"never\", cd_checked = \"T\" where cd_docid = %d", doc.DocID));
  doc.LoadByID(doc.DocID);
  const contracts::TCharacteristic entry = CalcCharacteristics().GetCharEntry(31);
  EXPECT_TRUE(entry.Checked);
  EXPECT_EQ(entry.Value, "no");
  EXPECT_EQ(entry.NoUseValue, "never");
}

TEST_F(BaseDocTest, PublishCalcValuesHandsTheTermAndPriceToTheCalculator) {
  TBaseDoc& doc = DocWithCalculator();
  Fill(doc);
  doc.StartDate = D(15, 1, 2007);
  doc.StopDate = D(20, 3, 2007);
  doc.PublishCalcValues();
  EXPECT_EQ(calculator.values["months"], "2");
  EXPECT_EQ(calculator.values["days"], "6");
  EXPECT_EQ(calculator.values["allDays"], "64");
  EXPECT_EQ(calculator.values["docnum"], "Д-12");
  EXPECT_EQ(calculator.values["purpose"], "магазин");
  EXPECT_EQ(calculator.values["out_monthprice"], "1234.5");
  EXPECT_EQ(calculator.values["area"], "50.255");

  // Without a calculator nothing is handed anywhere and nothing fails.
  calculator.values.clear();
  Fill(Doc());
  Doc().PublishCalcValues();
  EXPECT_TRUE(calculator.values.empty());
}

}  // namespace
}  // namespace zrv::test
