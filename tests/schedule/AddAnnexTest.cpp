// Adding annexes to stored contracts.

#include "schedule/AddAnnex.h"
#include "tests/schedule/ScheduleFixture.h"

namespace zrv::test {
namespace {

using schedule::AddAnnex;
using schedule::TAnecsRow;

const char* const kNotMonthly = "Договорът не е с месечно погасяване.";
const char* const kQueryFailed = "Грешка при активиране на  заявка : ";

TAnecsRow MakeAnnex(int num, double price, TDate start, TDate stop) {
  TAnecsRow annex;
  annex.AN_NUM = num;
  annex.AN_Data = D(20, 3, 2024);
  annex.AN_PRICE = price;
  annex.AN_AddPrice = 12.5;
  annex.AN_DTStart = start;
  annex.AN_DTStop = stop;
  annex.AN_LType = 2;
  annex.AN_LPercent = 0.1;
  annex.AN_LMAX = 5;
  annex.AN_DDS = 1201;
  annex.AN_PayDay = 105;
  annex.AN_REASON = "по чл. 5";
  annex.AN_COMENT = "бележка: 10:00";
  annex.AN_FreeDate = start;
  return annex;
}

class AddAnnexTest : public ScheduleTest {
 protected:
  // A stored calendar contract for 2024 with its annex 1.
  int Contract2024(int type = 1002) {
    const int id = Contract(type, D(1, 1, 2024), D(31, 12, 2024));
    Annex(id, 1, 100, D(1, 1, 2024), D(31, 12, 2024));
    return id;
  }
  std::string Col(int id, const char* column, int num = 2) {
    return db.Scalar(Format("select %s from anecs where an_id = %d and an_num = %d", column, id,
                            num));
  }
  std::string DocCol(int id, const char* column) {
    return db.Scalar(Format("select %s from documents where doc_id = %d", column, id));
  }
  int AnnexCount(int id) {
    return db.ScalarInt(Format("select count(*) from anecs where an_id = %d", id));
  }
};

TEST_F(AddAnnexTest, AnnexEndingWithTheContractWritesOnlyTheAnnex) {
  const int id = Contract2024();
  std::string message = "old";
  TAnecsRow annex = MakeAnnex(2, 150, D(1, 4, 2024), D(31, 12, 2024));
  annex.AN_REASON = "искане \"вх. 12\"";
  ASSERT_TRUE(AddAnnex(id, annex, false, message));
  EXPECT_EQ(message, "");

  EXPECT_EQ(AnnexCount(id), 2);
  EXPECT_EQ(Col(id, "an_reason"), "искане \"вх. 12\"");
  EXPECT_EQ(Col(id, "an_coment"), "бележка: 10:00");
  EXPECT_DOUBLE_EQ(std::stod(Col(id, "an_price")), 150);
  EXPECT_DOUBLE_EQ(std::stod(Col(id, "an_addprice")), 12.5);
  EXPECT_DOUBLE_EQ(std::stod(Col(id, "an_lpercent")), 0.1);
  EXPECT_EQ(Col(id, "an_dds"), "1201");
  EXPECT_EQ(Col(id, "an_payday"), "105");
  EXPECT_EQ(Col(id, "an_valuta"), "0");
  EXPECT_EQ(db.ScalarInt(Format("select count(*) from anecs where an_id = %d and an_num = 2 and "
                                "an_data = \"20.03.2024\" and an_dtstart = \"01.04.2024\" and "
                                "an_freedate = \"01.04.2024\" and an_dtstop = \"31.12.2024\"",
                                id)),
            1);
  // The contract itself is untouched and the schedule not rebuilt.
  EXPECT_EQ(DocCol(id, "da_if2"), "");
  EXPECT_EQ(db.ScalarInt(Format("select count(*) from documents where doc_id = %d and "
                                "doc_datastop = \"31.12.2024\"", id)),
            1);
  EXPECT_TRUE(Rents(id).empty());
}

TEST_F(AddAnnexTest, AnnexEndingElsewhereMovesTheContractStopFirst) {
  const int id = Contract2024();
  std::string message;
  ASSERT_TRUE(AddAnnex(id, MakeAnnex(2, 200, D(1, 7, 2024), D(31, 3, 2025)), true, message));

  // The old term, 01.01.2024 to 31.12.2024, is 365 days: 12 whole 30-day months.
  EXPECT_EQ(DocCol(id, "da_if2"), "12");
  EXPECT_EQ(db.ScalarInt(Format("select count(*) from documents where doc_id = %d and "
                                "doc_datastop = \"31.03.2025\"", id)),
            1);
  EXPECT_EQ(db.ScalarInt(Format("select count(*) from anecs where an_id = %d and an_num = 2 and "
                                "an_dtstop = \"31.03.2025\"", id)),
            1);
  // Rebuilt: January 2024 to March 2025, the second half of the year at the new price.
  const std::vector<StoredRent> rows = Rents(id);
  ASSERT_EQ(rows.size(), 15u);
  EXPECT_DOUBLE_EQ(rows[5].price, 100);
  EXPECT_DOUBLE_EQ(rows[6].price, 200);
  EXPECT_DOUBLE_EQ(rows[14].price, 200);
}

TEST_F(AddAnnexTest, AnnexWithoutDateIsDatedNow) {
  const int id = Contract2024(-1400);
  TAnecsRow annex = MakeAnnex(2, 150, D(1, 4, 2024), D(31, 12, 2024));
  annex.AN_Data = 0;
  std::string message;
  ASSERT_TRUE(AddAnnex(id, annex, false, message));
  EXPECT_EQ(db.ScalarInt(Format("select count(*) from anecs where an_id = %d and an_num = 2 and "
                                "an_data = \"%s\"", id, FormatDMY(Today()).c_str())),
            1);
}

TEST_F(AddAnnexTest, ContractsNotPaidMonthlyAreRefused) {
  const int fixed = Contract2024(1004);
  const int plain = Contract2024(0);
  for (int id : {fixed, plain, 987654}) {
    SCOPED_TRACE(id);
    std::string message;
    EXPECT_FALSE(AddAnnex(id, MakeAnnex(2, 150, D(1, 4, 2024), D(30, 6, 2025)), true, message));
    EXPECT_EQ(message, kNotMonthly);
    EXPECT_EQ(AnnexCount(id), id == 987654 ? 0 : 1);
    EXPECT_TRUE(Rents(id).empty());
  }
  EXPECT_EQ(DocCol(fixed, "da_if2"), "");
}

TEST_F(AddAnnexTest, FailedInsertTakesBackTheStopDateMove) {
  const int id = Contract2024();
  std::string message;
  // Annex number 1 exists already: the insert fails after the stop date has moved.
  try {
    AddAnnex(id, MakeAnnex(1, 150, D(1, 4, 2024), D(30, 6, 2025)), false, message);
    ADD_FAILURE() << "a duplicate annex number must fail";
  } catch (const db::DbError& e) {
    EXPECT_EQ(message, std::string(kQueryFailed) + e.what());
  }
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(DocCol(id, "da_if2"), "");
  EXPECT_EQ(AnnexCount(id), 1);
}

TEST_F(AddAnnexTest, FailureInsideACallersTransactionLeavesItOpen) {
  const int id = Contract2024();
  db.Connection().StartTransaction();
  std::string message;
  EXPECT_THROW(AddAnnex(id, MakeAnnex(1, 150, D(1, 4, 2024), D(30, 6, 2025)), false, message),
               db::DbError);
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_EQ(DocCol(id, "da_if2"), "");
}

TEST_F(AddAnnexTest, AnnexWithUnusableDatesIsRefusedBeforeWriting) {
  const int id = Contract2024();
  const TAnecsRow bad[] = {
      MakeAnnex(2, 150, D(1, 7, 2024), D(30, 6, 2024)),  // stops before it starts
      MakeAnnex(2, 150, D(1, 7, 2024), 0),               // no stop date
      MakeAnnex(2, 150, D(1, 7, 1850), D(30, 6, 2025)),  // far in the past
  };
  for (const TAnecsRow& annex : bad) {
    std::string message;
    EXPECT_THROW(AddAnnex(id, annex, true, message), Error);
    EXPECT_FALSE(message.empty());
  }
  EXPECT_EQ(AnnexCount(id), 1);
  EXPECT_EQ(DocCol(id, "da_if2"), "");
  EXPECT_TRUE(Rents(id).empty());
}

TEST_F(AddAnnexTest, ClosedConnectionGivesAClearError) {
  const int id = Contract2024();
  db.Connection().Close();
  std::string message;
  EXPECT_THROW(AddAnnex(id, MakeAnnex(2, 150, D(1, 4, 2024), D(31, 12, 2024)), false, message),
               db::DbError);
  EXPECT_EQ(message.rfind(kQueryFailed, 0), 0u);
}

}  // namespace
}  // namespace zrv::test
