#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/Dates.h"
#include "contracts/PersonTasks.h"
#include "tests/support/TestDatabase.h"

namespace zrv::contracts {
namespace {

class PersonTest : public ::testing::Test {
 protected:
  std::string Column(const std::string& column, int32_t id) {
    return db.Scalar("SELECT " + column + " FROM PERSONS WHERE PER_ID = " + std::to_string(id));
  }
  int Count() { return db.ScalarInt("SELECT COUNT(*) FROM PERSONS"); }

  test::TestDatabase db;
  PersonTasks persons{&db.Connection()};
};

TPersonSrchRec FullRecord(const std::string& text) {
  TPersonSrchRec p;
  p.Name = text + "N";
  p.EGN = text + "E";
  p.Dann = text + "D";
  p.Addr = text + "A";
  p.NM = text + "M";
  p.MOL = 17;
  p.InDDS = text + "V";
  p.AddrCoresp = text + "C";
  p.TDNap = text + "T";
  p.TDNapAddr = text + "R";
  p.Flag = 'F';
  p.FirmDelo = text + "F";
  p.Telefon = text + "P";
  p.PData = text + "L";
  p.DateReg = EncodeDate(2007, 3, 5);
  return p;
}

TEST_F(PersonTest, EveryFieldIsStoredAndTheNewIdReadBack) {
  const TPersonSrchRec p = FullRecord("Иван \"Петров\" ");
  const int32_t id = persons.InsertPerson(p);
  EXPECT_EQ(id, db.ScalarInt("SELECT MAX(PER_ID) FROM PERSONS"));
  EXPECT_EQ(Column("PER_NAME", id), p.Name);
  EXPECT_EQ(Column("PER_EGN", id), p.EGN);
  EXPECT_EQ(Column("PER_DANN", id), p.Dann);
  EXPECT_EQ(Column("PER_ADDR", id), p.Addr);
  EXPECT_EQ(Column("PER_NM", id), p.NM);
  EXPECT_EQ(Column("PER_MOL", id), "17");
  EXPECT_EQ(Column("PER_INDDS", id), p.InDDS);
  EXPECT_EQ(Column("PER_ADDR_CORESP", id), p.AddrCoresp);
  EXPECT_EQ(Column("PER_TDNAP", id), p.TDNap);
  EXPECT_EQ(Column("PER_TDNAP_ADDR", id), p.TDNapAddr);
  EXPECT_EQ(Column("PER_FLAG", id), "F");
  EXPECT_EQ(Column("PER_FIRMDELO", id), p.FirmDelo);
  EXPECT_EQ(Column("PER_TELEFON", id), p.Telefon);
  EXPECT_EQ(Column("PER_PDATA", id), p.PData);
  EXPECT_EQ(Column("PER_DATEREG", id).substr(0, 10), "05.03.2007");
  EXPECT_FALSE(db.Connection().InTransaction());

  EXPECT_EQ(persons.FindByEGN(p.EGN), id);
  EXPECT_EQ(persons.InsertPerson(FullRecord("")), id + 1);
}

TEST_F(PersonTest, AwkwardTextsInEveryFieldAreStoredExactly) {
  const std::string texts[] = {"\"", "ЕТ \"Слънце\" ООД", "'; DELETE FROM PERSONS; --",
                               "\", 1, \"", "ред 1\r\nред 2"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const TPersonSrchRec p = FullRecord(text);
    const int32_t id = persons.InsertPerson(p);
    EXPECT_EQ(Column("PER_NAME", id), p.Name);
    EXPECT_EQ(Column("PER_EGN", id), p.EGN);
    EXPECT_EQ(Column("PER_DANN", id), p.Dann);
    EXPECT_EQ(Column("PER_ADDR", id), p.Addr);
    EXPECT_EQ(Column("PER_NM", id), p.NM);
    EXPECT_EQ(Column("PER_INDDS", id), p.InDDS);
    EXPECT_EQ(Column("PER_ADDR_CORESP", id), p.AddrCoresp);
    EXPECT_EQ(Column("PER_TDNAP", id), p.TDNap);
    EXPECT_EQ(Column("PER_TDNAP_ADDR", id), p.TDNapAddr);
    EXPECT_EQ(Column("PER_FIRMDELO", id), p.FirmDelo);
    EXPECT_EQ(Column("PER_TELEFON", id), p.Telefon);
    EXPECT_EQ(Column("PER_PDATA", id), p.PData);
  }
  EXPECT_EQ(Count(), 5);
}

TEST_F(PersonTest, FlagWithADoubleQuoteIsStoredIntact) {
  TPersonSrchRec p;
  p.Name = "Фирма";
  p.Flag = '"';
  const int32_t id = persons.InsertPerson(p);
  EXPECT_EQ(Column("PER_FLAG", id), "\"");
}

TEST_F(PersonTest, RecordWithoutNameAndNumberWritesNothing) {
  TPersonSrchRec p = FullRecord("x");
  p.Name.clear();
  p.EGN.clear();
  EXPECT_EQ(persons.InsertPerson(p), -1);
  EXPECT_EQ(Count(), 0);
  PersonTasks unbound;
  EXPECT_EQ(unbound.InsertPerson(p), -1);  // returns before it needs a database
}

TEST_F(PersonTest, EmptyRegistrationDateIsStoredAs30December1899) {
  TPersonSrchRec p;
  p.EGN = "7501010010";
  const int32_t id = persons.InsertPerson(p);
  EXPECT_EQ(Column("PER_DATEREG", id).substr(0, 10), "30.12.1899");
  EXPECT_EQ(Column("PER_FLAG", id), "");
}

TEST_F(PersonTest, FindByEgnTakesTheNumberAsGiven) {
  TPersonSrchRec p;
  p.Name = "Мария";
  p.EGN = "8001010000";
  const int32_t id = persons.InsertPerson(p);
  EXPECT_EQ(persons.FindByEGN("8001010000"), id);
  EXPECT_EQ(persons.FindByEGN(" 8001010000"), -1);
  EXPECT_EQ(persons.FindByEGN("1111111111"), -1);
  EXPECT_EQ(persons.FindByEGN(""), -1);
  EXPECT_EQ(persons.FindByEGN("\" OR \"\" = \""), -1);
}

TEST_F(PersonTest, InsideAnOpenTransactionTheCallerDecides) {
  db.Connection().StartTransaction();
  persons.InsertPerson(FullRecord("a"));
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_EQ(Count(), 0);
}

TEST_F(PersonTest, RefusedTextsLeaveNothingWritten) {
  TPersonSrchRec tooLong = FullRecord("");
  tooLong.Name = std::string(2000, 'a');
  EXPECT_THROW(persons.InsertPerson(tooLong), Error);
  EXPECT_FALSE(db.Connection().InTransaction());

  TPersonSrchRec unstorable = FullRecord("");
  unstorable.Telefon = "☎ 082 123";
  try {
    persons.InsertPerson(unstorable);
    ADD_FAILURE() << "accepted";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("PER_TELEFON"), std::string::npos) << e.what();
  }

  db.Connection().StartTransaction();
  persons.InsertPerson(FullRecord("b"));
  EXPECT_THROW(persons.InsertPerson(tooLong), Error);
  EXPECT_TRUE(db.Connection().InTransaction());  // the caller's transaction is left to it
  db.Connection().Commit();
  EXPECT_EQ(Count(), 1);
}

TEST_F(PersonTest, ObjectUnits) {
  db.Exec("INSERT INTO obunits (unit_id, unit_perid) VALUES (1, 42)");
  EXPECT_TRUE(persons.HasObjectUnits(42));
  EXPECT_FALSE(persons.HasObjectUnits(43));
  EXPECT_FALSE(db.Connection().InTransaction());
}

TEST_F(PersonTest, WithoutADatabaseEveryOperationIsRefused) {
  PersonTasks unbound;
  const auto expectGuard = [](const std::function<void()>& call) {
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "uPersonTasks: DB not init.");
    }
  };
  expectGuard([&] { unbound.FindByEGN("1"); });
  expectGuard([&] { unbound.InsertPerson(FullRecord("x")); });
  expectGuard([&] { unbound.HasObjectUnits(1); });
}

}  // namespace
}  // namespace zrv::contracts
