// Adding annexes to stored contracts.

#include "schedule/AddAnnex.h"
#include "tests/schedule/ScheduleFixture.h"

namespace zrv::test {
namespace {

using schedule::AddAnnex;
using schedule::TAnecsRow;

const char* const kNotMonthly = "Договорът не е с месечно погасяване.";
const char* const kQueryFailed = "Грешка при активиране на  заявка : ";

TAnecsRow MakeAnnex(int num, TDate start, TDate stop) {
  TAnecsRow annex;
  annex.AN_NUM = num;
  annex.AN_Data = D(20, 3, 2024);
  annex.AN_PRICE = 200;
  annex.AN_AddPrice = 12.5;
  annex.AN_DTStart = start;
  annex.AN_DTStop = stop;
  annex.AN_LType = 2;
  annex.AN_LPercent = 0.1;
  annex.AN_DDS = 1201;
  annex.AN_PayDay = 105;
  annex.AN_REASON = "искане \"вх. 12\"";
  annex.AN_COMENT = "бележка: 10:00";
  annex.AN_FreeDate = start;
  return annex;
}

class AddAnnexTest : public ScheduleTest {
 protected:
  int Contract2024(int type = 1002) {
    return OneAnnexContract(type, 100, D(1, 1, 2024), D(31, 12, 2024));
  }
  // The contract still has its stored stop date and no DA_IF2, and only
  // annex 1.
  bool Untouched(int id) {
    return Count("documents", Format("doc_id = %d and doc_datastop = \"31.12.2024\" and "
                                     "da_if2 is null",
                                     id)) == 1 &&
           Count("anecs", Format("an_id = %d", id)) == 1;
  }
};

TEST_F(AddAnnexTest, AnnexEndingWithTheContractWritesOnlyTheAnnex) {
  const int id = Contract2024();
  std::string message = "old";
  ASSERT_TRUE(
      AddAnnex(db.Connection(), id, MakeAnnex(2, D(1, 4, 2024), D(31, 12, 2024)), false, message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(Count("anecs", Format("an_id = %d and an_num = 2 and an_data = \"20.03.2024\" and "
                                  "an_addprice = 12.5 and an_dtstart = \"01.04.2024\" and "
                                  "an_dtstop = \"31.12.2024\" and an_valuta = 0 and "
                                  "an_reason = \"искане \"\"вх. 12\"\"\" and "
                                  "an_coment = \"бележка: 10:00\"",
                                  id)),
            1);
  EXPECT_EQ(Count("documents", Format("doc_id = %d and da_if2 is null", id)), 1);
  EXPECT_TRUE(Rents(id).empty());
}

TEST_F(AddAnnexTest, AnnexEndingElsewhereMovesTheContractStopFirst) {
  const int id = Contract2024(-1400);
  TAnecsRow annex = MakeAnnex(2, D(1, 7, 2024), D(31, 3, 2025));
  annex.AN_Data = 0;
  std::string message;
  ASSERT_TRUE(AddAnnex(db.Connection(), id, annex, true, message));
  // The old term, 01.01.2024 to 31.12.2024, is 365 days: 12 whole 30-day
  // months.
  EXPECT_EQ(Count("documents", Format("doc_id = %d and doc_datastop = \"31.03.2025\" and "
                                      "da_if2 = 12",
                                      id)),
            1);
  EXPECT_EQ(Count("anecs", Format("an_id = %d and an_num = 2 and an_dtstop = \"31.03.2025\" and "
                                  "an_data = \"%s\"",
                                  id, FormatDMY(Today()).c_str())),
            1);
  // Rebuilt over the new term, the second half of 2024 at the new price.
  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 15u);
  EXPECT_EQ(rows[5].price, 100);
  EXPECT_EQ(rows[6].price, 200);
}

TEST_F(AddAnnexTest, ContractsNotPaidMonthlyAreRefused) {
  for (int id : {Contract2024(1004), Contract2024(0)}) {
    std::string message;
    EXPECT_FALSE(
        AddAnnex(db.Connection(), id, MakeAnnex(2, D(1, 4, 2024), D(30, 6, 2025)), true, message));
    EXPECT_EQ(message, kNotMonthly);
    EXPECT_TRUE(Untouched(id));
    EXPECT_TRUE(Rents(id).empty());
  }
  std::string message;
  EXPECT_FALSE(AddAnnex(db.Connection(), 987654, MakeAnnex(2, D(1, 4, 2024), D(30, 6, 2025)), true,
                        message));
  EXPECT_EQ(message, kNotMonthly);
}

TEST_F(AddAnnexTest, FailuresLeaveNothingHalfWritten) {
  const int id = Contract2024();
  // Annex number 1 exists: the insert fails after the stop date has moved,
  // which is undone.
  std::string message;
  try {
    AddAnnex(db.Connection(), id, MakeAnnex(1, D(1, 4, 2024), D(30, 6, 2025)), false, message);
    ADD_FAILURE() << "a duplicate annex number must fail";
  } catch (const db::DbError& e) {
    EXPECT_EQ(message, std::string(kQueryFailed) + e.what());
  }
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_TRUE(Untouched(id));

  // Inside a caller's transaction the caller decides.
  db.Connection().StartTransaction();
  EXPECT_THROW(
      AddAnnex(db.Connection(), id, MakeAnnex(1, D(1, 4, 2024), D(30, 6, 2025)), false, message),
      db::DbError);
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_TRUE(Untouched(id));

  // Dates that would break the contract are refused before anything is written.
  for (const TAnecsRow& bad :
       {MakeAnnex(2, D(1, 7, 2024), D(30, 6, 2024)), MakeAnnex(2, D(1, 7, 2024), 0),
        MakeAnnex(2, D(1, 7, 1850), D(30, 6, 2025))}) {
    message.clear();
    EXPECT_THROW(AddAnnex(db.Connection(), id, bad, true, message), Error);
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(Untouched(id));
  }

  // A closed connection gives the database's error with the message.
  db.Connection().Close();
  EXPECT_THROW(
      AddAnnex(db.Connection(), id, MakeAnnex(2, D(1, 4, 2024), D(31, 12, 2024)), false, message),
      db::DbError);
  EXPECT_EQ(message.rfind(kQueryFailed, 0), 0u);
}

TEST_F(AddAnnexTest, TheDatabaseRefusesAnAnnexNotAfterTheOneBefore) {
  // The annex before would end the day before its own start.
  const int id = Contract2024();
  std::string message;
  ASSERT_TRUE(
      AddAnnex(db.Connection(), id, MakeAnnex(2, D(1, 4, 2024), D(31, 12, 2024)), false, message));
  EXPECT_THROW(
      AddAnnex(db.Connection(), id, MakeAnnex(3, D(1, 4, 2024), D(31, 12, 2024)), false, message),
      db::DbError);
  EXPECT_EQ(Count("anecs", Format("an_id = %d", id)), 2);
  EXPECT_EQ(Count("anecs", "an_dtstop < an_dtstart"), 0);
}

}  // namespace
}  // namespace zrv::test
