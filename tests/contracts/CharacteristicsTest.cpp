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
    const char* insert =
        "INSERT INTO CHARACTERISTICS (CH_ID, CH_APP, CH_VARNAME, CH_VALUE, "
        "CH_NO_USE_VALUE, CH_TEXT) VALUES ";
    db.Exec(std::string(insert) + "(3, 1, 'zona', '2', '0', 'Зона')");
    db.Exec(std::string(insert) + "(4, 1, 'koef', '1.5', '1', 'Коефициент \"К\"')");
    db.Exec(std::string(insert) + "(5, 2, 'other', '', '', 'Друго приложение')");
    db.Exec("INSERT INTO CHARACTERISTICS_DOC VALUES (10, 3, 'old', 'old', 'F')");
    db.Exec("INSERT INTO CHARACTERISTICS_DOC VALUES (11, 3, 'keep', 'keep', 'F')");
  }
  std::string DocValue(const std::string& column, int chId) {
    return db.Scalar("SELECT " + column + " FROM CHARACTERISTICS_DOC WHERE CD_DOCID = 10 AND " +
                     "CD_CHID = " + std::to_string(chId));
  }
  int DocRows(int docId) {
    return db.ScalarInt("SELECT COUNT(*) FROM CHARACTERISTICS_DOC WHERE CD_DOCID = " +
                        std::to_string(docId));
  }

  test::TestDatabase db;
  test::RecordingMessages messages;
  FakeCalculator calculator;
  TPHPCommonTasks withCalculator{&calculator};
  TPHPCommonTasks withoutCalculator;
};

TEST_F(CharacteristicsTest, ContractRowsAreReplacedFromTheApplicationsDefaults) {
  TCharacteristicsCommonTasks chars(db.Connection(), messages, withCalculator);
  chars.LoadCharacteristicDefaults();
  chars.LoadCharacteristicDefaults();  // refills rather than appends
  ASSERT_EQ(chars.Entries().size(), 2u);
  EXPECT_EQ(calculator.names, (std::vector<std::string>{"zona", "koef", "zona", "koef"}));
  EXPECT_EQ(chars.GetCharEntry(4).Text, "Коефициент \"К\"");
  EXPECT_THROW(chars.GetCharEntry(5), Error);

  chars.SetCharChecked(4, true);
  chars.SetCharValue(4, "2.25");
  chars.SetCharNoUseValue(4, "\"няма\"");
  db.Connection().StartTransaction();
  EXPECT_TRUE(chars.DeleteDocCharacteristics(10));
  for (const TCharacteristic& entry : chars.Entries())
    EXPECT_TRUE(chars.InsertDocCharacteristic(10, entry.CH_ID));
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Commit();

  EXPECT_EQ(DocRows(10), 2);
  EXPECT_EQ(DocValue("CD_VALUE", 3) + DocValue("CD_NO_USE_VALUE", 3) + DocValue("CD_CHECKED", 3),
            "20F");
  EXPECT_EQ(DocValue("CD_VALUE", 4), "2.25");
  EXPECT_EQ(DocValue("CD_NO_USE_VALUE", 4), "\"няма\"");
  EXPECT_EQ(DocValue("CD_CHECKED", 4), "T");
  EXPECT_EQ(DocRows(11), 1);
}

TEST_F(CharacteristicsTest, WithoutACalculatorOnlyTheDeleteTakesEffect) {
  TCharacteristicsCommonTasks chars(db.Connection(), messages, withoutCalculator);
  chars.LoadCharacteristicDefaults();
  EXPECT_TRUE(chars.Entries().empty());
  EXPECT_FALSE(chars.InsertDocCharacteristic(10, 3));
  EXPECT_TRUE(chars.DeleteDocCharacteristics(10));
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(DocRows(10), 0);
  EXPECT_EQ(DocRows(11), 1);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CharacteristicsTest, FailuresAreShown) {
  db.Exec("ALTER TABLE CHARACTERISTICS DROP CH_TEXT");
  TCharacteristicsCommonTasks loading(db.Connection(), messages, withCalculator);
  EXPECT_NO_THROW(loading.LoadCharacteristicDefaults());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Грешка при зареждане на стойности по подразбиране.\n", 0), 0u);

  db.Exec("DROP TABLE CHARACTERISTICS_DOC");
  TCharacteristicsCommonTasks deleting(db.Connection(), messages, withoutCalculator);
  EXPECT_THROW(deleting.DeleteDocCharacteristics(10), db::DbError);
  EXPECT_EQ(messages.shown.back(), "uPHPCalc:Проблем при изтриване от БД");
  EXPECT_FALSE(db.Connection().InTransaction());
}

}  // namespace
}  // namespace zrv::contracts
