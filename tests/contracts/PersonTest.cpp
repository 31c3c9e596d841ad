#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/Dates.h"
#include "contracts/PersonTasks.h"
#include "tests/support/TestDatabase.h"

namespace zrv::contracts {
namespace {

// A record whose every text field starts with `text` and ends with its own
// letter.
TPersonSrchRec FullRecord(const std::string& text) {
  TPersonSrchRec p;
  p.Name = text + "N", p.EGN = text + "E", p.Dann = text + "D", p.Addr = text + "A";
  p.NM = text + "M", p.InDDS = text + "V", p.AddrCoresp = text + "C", p.TDNap = text + "T";
  p.TDNapAddr = text + "R", p.FirmDelo = text + "F", p.Telefon = text + "P";
  p.PData = text + "L", p.MOL = 17, p.Flag = 'F', p.DateReg = EncodeDate(2007, 3, 5);
  return p;
}

class PersonTest : public ::testing::Test {
 protected:
  std::string Column(const std::string& column, int32_t id) {
    return db.Scalar("SELECT " + column + " FROM PERSONS WHERE PER_ID = " + std::to_string(id));
  }
  int Count() { return db.ScalarInt("SELECT COUNT(*) FROM PERSONS"); }

  void ExpectStored(int32_t id, const TPersonSrchRec& p) {
    const std::pair<const char*, const std::string*> texts[] = {{"PER_NAME", &p.Name},
                                                                {"PER_EGN", &p.EGN},
                                                                {"PER_DANN", &p.Dann},
                                                                {"PER_ADDR", &p.Addr},
                                                                {"PER_NM", &p.NM},
                                                                {"PER_INDDS", &p.InDDS},
                                                                {"PER_ADDR_CORESP", &p.AddrCoresp},
                                                                {"PER_TDNAP", &p.TDNap},
                                                                {"PER_TDNAP_ADDR", &p.TDNapAddr},
                                                                {"PER_FIRMDELO", &p.FirmDelo},
                                                                {"PER_TELEFON", &p.Telefon},
                                                                {"PER_PDATA", &p.PData}};
    for (const auto& [column, value] : texts) EXPECT_EQ(Column(column, id), *value) << column;
    EXPECT_EQ(Column("PER_MOL", id), std::to_string(p.MOL));
    EXPECT_EQ(Column("PER_FLAG", id), std::string(1, p.Flag));
  }

  test::TestDatabase db;
  PersonTasks persons{&db.Connection()};
};

TEST_F(PersonTest, EveryFieldIsStoredAndTheNewIdReadBack) {
  const TPersonSrchRec p = FullRecord("Иван Петров ");
  const int32_t id = persons.InsertPerson(p);
  EXPECT_EQ(id, db.ScalarInt("SELECT MAX(PER_ID) FROM PERSONS"));
  ExpectStored(id, p);
  EXPECT_EQ(Column("PER_DATEREG", id).substr(0, 10), "05.03.2007");
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_EQ(persons.FindByEGN(p.EGN), id);
  EXPECT_EQ(persons.InsertPerson(FullRecord("")), id + 1);
}

TEST_F(PersonTest, QuotesAndStatementFragmentsInEveryFieldAreStoredIntact) {
  for (const std::string text :
       {"\"", "ЕТ \"Слънце\" ", "'; DELETE FROM PERSONS; --", "\", 1, \"", "ред 1\r\nред 2"}) {
    TPersonSrchRec p = FullRecord(text);
    p.Flag = '"';
    ExpectStored(persons.InsertPerson(p), p);
  }
  EXPECT_EQ(Count(), 5);
}

TEST_F(PersonTest, NothingIsWrittenForARecordWithoutNameAndNumber) {
  TPersonSrchRec p = FullRecord("x");
  p.Name.clear();
  p.EGN.clear();
  EXPECT_EQ(persons.InsertPerson(p), -1);
  EXPECT_EQ(PersonTasks().InsertPerson(p),
            -1);  // returns before it needs a database
  EXPECT_EQ(Count(), 0);
}

TEST_F(PersonTest, EmptyRegistrationDateIsStoredAs30December1899) {
  TPersonSrchRec p;
  p.EGN = "7501010010";
  const int32_t id = persons.InsertPerson(p);
  EXPECT_EQ(Column("PER_DATEREG", id).substr(0, 10), "30.12.1899");
  EXPECT_EQ(Column("PER_FLAG", id), "");
}

TEST_F(PersonTest, FindByEgnTakesTheNumberAsGiven) {
  const int32_t id = persons.InsertPerson(FullRecord("80010100"));
  EXPECT_EQ(persons.FindByEGN("80010100E"), id);
  EXPECT_EQ(persons.FindByEGN(" 80010100E"), -1);
  EXPECT_EQ(persons.FindByEGN("1111111111"), -1);
  EXPECT_EQ(persons.FindByEGN("\" OR \"\" = \""), -1);
}

TEST_F(PersonTest, FailuresLeaveNothingWrittenAndTheCallersTransactionOpen) {
  TPersonSrchRec tooLong = FullRecord("");
  tooLong.Name = std::string(251, 'a');
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
  EXPECT_TRUE(db.Connection().InTransaction());
  db.Connection().Rollback();
  EXPECT_EQ(Count(), 0);
}

TEST_F(PersonTest, ObjectUnitsAndTheMissingDatabaseGuard) {
  db.Exec("INSERT INTO obunits (unit_id, unit_perid) VALUES (1, 42)");
  EXPECT_TRUE(persons.HasObjectUnits(42));
  EXPECT_FALSE(persons.HasObjectUnits(43));
  EXPECT_FALSE(db.Connection().InTransaction());

  PersonTasks unbound;
  for (const std::function<void()>& call : std::initializer_list<std::function<void()>>{
           [&] { unbound.FindByEGN("1"); }, [&] { unbound.InsertPerson(FullRecord("x")); },
           [&] { unbound.HasObjectUnits(1); }}) {
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "uPersonTasks: DB not init.");
    }
  }
}

}  // namespace
}  // namespace zrv::contracts
