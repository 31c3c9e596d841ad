#include <gtest/gtest.h>

#include <string>

#include "contracts/Characteristics.h"
#include "tests/contracts/FakeCalculator.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TestDatabase.h"

namespace zrv::contracts {
namespace {

class CharacteristicsTest : public ::testing::Test {
 protected:
  CharacteristicsTest() {
    db.Exec("INSERT INTO CHARACTERISTICS (CH_ID, CH_APP, CH_VARNAME, CH_VALUE, CH_NO_USE_VALUE, "
            "CH_TEXT) VALUES (3, 1, 'zona', '2', '0', 'Зона')");
    db.Exec("INSERT INTO CHARACTERISTICS (CH_ID, CH_APP, CH_VARNAME, CH_VALUE, CH_NO_USE_VALUE, "
            "CH_TEXT) VALUES (4, 1, 'koef', '1.5', '1', 'Коефициент \"К\"')");
    db.Exec("INSERT INTO CHARACTERISTICS (CH_ID, CH_APP, CH_VARNAME, CH_TEXT) "
            "VALUES (5, 2, 'other', 'Друго приложение')");
  }
  int DocRows(int docId) {
    return db.ScalarInt("SELECT COUNT(*) FROM CHARACTERISTICS_DOC WHERE CD_DOCID = " +
                        std::to_string(docId));
  }

  test::TestDatabase db;
  test::RecordingMessages messages;
  FakeCalculator calculator;
};

TEST_F(CharacteristicsTest, DefaultsOfTheApplicationWithACalculator) {
  TPHPCommonTasks calc(&calculator);
  TCharacteristicsCommonTasks chars(db.Connection(), messages, calc);
  chars.LoadCharacteristicDefaults();
  ASSERT_EQ(chars.Entries().size(), 2u);
  EXPECT_EQ(calculator.names, (std::vector<std::string>{"zona", "koef"}));
  const TCharacteristic k = chars.GetCharEntry(4);
  EXPECT_EQ(k.VarName, "koef");
  EXPECT_EQ(k.Value, "1.5");
  EXPECT_EQ(k.NoUseValue, "1");
  EXPECT_EQ(k.Text, "Коефициент \"К\"");
  EXPECT_FALSE(k.Checked);
  EXPECT_THROW(chars.GetCharEntry(5), Error);

  chars.LoadCharacteristicDefaults();  // refills rather than appends
  EXPECT_EQ(chars.Entries().size(), 2u);
}

TEST_F(CharacteristicsTest, ContractRowsAreReplacedFromTheWorkingSet) {
  TPHPCommonTasks calc(&calculator);
  TCharacteristicsCommonTasks chars(db.Connection(), messages, calc);
  chars.LoadCharacteristicDefaults();
  chars.SetCharChecked(4, true);
  chars.SetCharValue(4, "2.25");
  chars.SetCharNoUseValue(4, "\"няма\"");
  chars.SetCharValue(99, "nothing");  // no entry: nothing happens
  db.Exec("INSERT INTO CHARACTERISTICS_DOC VALUES (10, 3, 'old', 'old', 'F')");

  db.Connection().StartTransaction();
  EXPECT_TRUE(chars.DeleteDocCharacteristics(10));
  for (const TCharacteristic& entry : chars.Entries())
    EXPECT_TRUE(chars.InsertDocCharacteristic(10, entry.CH_ID));
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Commit();

  EXPECT_EQ(DocRows(10), 2);
  EXPECT_EQ(db.Scalar("SELECT CD_VALUE FROM CHARACTERISTICS_DOC WHERE CD_DOCID = 10 AND "
                      "CD_CHID = 3"),
            "2");
  EXPECT_EQ(db.Scalar("SELECT CD_CHECKED FROM CHARACTERISTICS_DOC WHERE CD_CHID = 3"), "F");
  EXPECT_EQ(db.Scalar("SELECT CD_VALUE FROM CHARACTERISTICS_DOC WHERE CD_CHID = 4"), "2.25");
  EXPECT_EQ(db.Scalar("SELECT CD_NO_USE_VALUE FROM CHARACTERISTICS_DOC WHERE CD_CHID = 4"),
            "\"няма\"");
  EXPECT_EQ(db.Scalar("SELECT CD_CHECKED FROM CHARACTERISTICS_DOC WHERE CD_CHID = 4"), "T");
}

TEST_F(CharacteristicsTest, WithoutACalculatorOnlyTheDeleteTakesEffect) {
  TPHPCommonTasks none;
  TCharacteristicsCommonTasks chars(db.Connection(), messages, none);
  db.Exec("INSERT INTO CHARACTERISTICS_DOC VALUES (10, 3, 'old', 'old', 'F')");
  db.Exec("INSERT INTO CHARACTERISTICS_DOC VALUES (11, 3, 'keep', 'keep', 'F')");
  chars.LoadCharacteristicDefaults();
  EXPECT_TRUE(chars.Entries().empty());
  EXPECT_FALSE(chars.InsertDocCharacteristic(10, 3));
  EXPECT_TRUE(chars.DeleteDocCharacteristics(10));
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(DocRows(10), 0);
  EXPECT_EQ(DocRows(11), 1);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CharacteristicsTest, FailedDeleteIsShownAndRaised) {
  TPHPCommonTasks none;
  TCharacteristicsCommonTasks chars(db.Connection(), messages, none);
  db.Exec("DROP TABLE CHARACTERISTICS_DOC");
  EXPECT_THROW(chars.DeleteDocCharacteristics(10), db::DbError);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"uPHPCalc:Проблем при изтриване от БД"});
  EXPECT_FALSE(db.Connection().InTransaction());
}

TEST_F(CharacteristicsTest, FailedLoadIsShownAndKeepsWhatWasRead) {
  TPHPCommonTasks calc(&calculator);
  TCharacteristicsCommonTasks chars(db.Connection(), messages, calc);
  db.Exec("ALTER TABLE CHARACTERISTICS DROP CH_TEXT");
  EXPECT_NO_THROW(chars.LoadCharacteristicDefaults());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Грешка при зареждане на стойности по подразбиране.\n", 0),
            0u);
}

}  // namespace
}  // namespace zrv::contracts
