// The property schema: ids given on insert, annex stop dates, Cyrillic UPPER,
// the registers.

#include <gtest/gtest.h>

#include "tests/support/TestDatabase.h"

namespace zrv::db {
namespace {

using test::TestDatabase;

TEST(SchemaTest, InsertWithoutIdGetsOneAboveEveryStoredId) {
  TestDatabase t;
  t.Exec("insert into documents (doc_nomtxt) values ('1')");
  t.Exec("insert into documents (doc_nomtxt) values ('2')");
  EXPECT_EQ(t.ScalarInt("select doc_id from documents where doc_nomtxt = '2'"),
            t.ScalarInt("select doc_id from documents where doc_nomtxt = '1'") + 1);
  // A row stored with an explicit id above the generator does not make the next
  // id smaller.
  t.Exec("insert into documents (doc_id, doc_nomtxt) values (500, 'explicit')");
  t.Exec("insert into documents (doc_nomtxt) values ('after')");
  EXPECT_EQ(t.ScalarInt("select doc_id from documents where doc_nomtxt = 'after'"), 501);
  EXPECT_EQ(t.ScalarInt("select max(doc_id) from documents"), 501);

  t.Exec("insert into imot (im_id, im_npar) values (40, '1')");
  t.Exec("insert into imot (im_npar) values ('2')");
  EXPECT_EQ(t.ScalarInt("select max(im_id) from imot"), 41);
  t.Exec("insert into persons (per_name) values ('Иван')");
  t.Exec("insert into persons (per_name) values ('Мария')");
  EXPECT_EQ(t.Scalar("select per_name from persons where per_id = (select "
                     "max(per_id) from "
                     "persons)"),
            "Мария");
}

TEST(SchemaTest, IdReadBackAsMaxInOwnTransactionIsTheNewRow) {
  TestDatabase t;
  Connection& c = t.Connection();
  c.StartTransaction();
  auto q = c.NewQuery();
  q->SetSQL("insert into persons (per_name, per_egn) values ('Фирма', '123')");
  q->Execute();
  q->SetSQL("select max(per_id) from persons");
  q->Open();
  int id = q->FieldAt(0).AsInteger();
  c.Commit();
  EXPECT_EQ(t.Scalar("select per_egn from persons where per_id = " + std::to_string(id)), "123");
}

class AnnexTriggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Exec(
        "insert into documents (doc_id, doc_datastart, doc_datastop) "
        "values (10, '01.01.2024', '31.12.2024')");
    t.Exec(
        "insert into anecs (an_id, an_num, an_dtstart, an_dtstop) "
        "values (10, 1, '01.01.2024', '31.12.2024')");
  }
  std::string Stop(int num) {
    return t.Scalar("select an_dtstop from anecs where an_id = 10 and an_num = " +
                    std::to_string(num));
  }
  TestDatabase t;
};

TEST_F(AnnexTriggerTest, AnnexWithoutStopRunsToContractEndAndClosesThePreviousOne) {
  t.Exec(
      "insert into anecs (an_id, an_num, an_dtstart) values (10, 2, "
      "'01.03.2024')");
  EXPECT_EQ(Stop(2), "31.12.2024");
  EXPECT_EQ(Stop(1), "29.02.2024");

  // The contract's end moved before the third annex: the new annex takes the
  // new end.
  t.Exec("update documents set doc_datastop = '30.06.2025' where doc_id = 10");
  t.Exec(
      "insert into anecs (an_id, an_num, an_dtstart) values (10, 3, "
      "'01.01.2025')");
  EXPECT_EQ(Stop(3), "30.06.2025");
  EXPECT_EQ(Stop(2), "31.12.2024");
  EXPECT_EQ(Stop(1), "29.02.2024");
}

TEST_F(AnnexTriggerTest, AnnexWithItsStopDateChangesNothingElse) {
  t.Exec(
      "insert into anecs (an_id, an_num, an_dtstart, an_dtstop) "
      "values (10, 2, '01.03.2024', '31.05.2024')");
  EXPECT_EQ(Stop(2), "31.05.2024");
  EXPECT_EQ(Stop(1), "31.12.2024");
}

TEST_F(AnnexTriggerTest, AnnexesOfOtherContractsStayAlone) {
  t.Exec("insert into documents (doc_id, doc_datastop) values (11, '31.12.2030')");
  t.Exec(
      "insert into anecs (an_id, an_num, an_dtstart) values (11, 1, "
      "'01.01.2030')");
  EXPECT_EQ(t.Scalar("select an_dtstop from anecs where an_id = 11"), "31.12.2030");
  EXPECT_EQ(Stop(1), "31.12.2024");
}

TEST(SchemaTest, UpperOfClassifierTextsCoversCyrillic) {
  TestDatabase t;
  t.Exec("insert into ul_kl (ul_id, ul_text) values (1, 'УЛ. ПЛИСКА')");
  t.Exec("insert into me_kl (me_id, me_text) values (1, 'местност ёлха')");
  auto q = t.Connection().NewQuery();
  q->SetSQL("SELECT ul_id FROM ul_kl WHERE UPPER(ul_text) = :nmt");
  q->SetString("nmt", "УЛ. ПЛИСКА");
  q->Open();
  EXPECT_EQ(q->RecordCount(), 1);
  EXPECT_EQ(t.Scalar("select upper(me_text) from me_kl"), "МЕСТНОСТ ЁЛХА");
  EXPECT_EQ(t.ScalarInt("SELECT ob_id FROM obsh_kl WHERE (UPPER(ob_text) = 'РУСЕ')"), 0);
}

TEST(SchemaTest, RegistersAreLoaded) {
  TestDatabase t;
  EXPECT_EQ(t.ScalarInt("select count(*) from obsh_tbl"), 265);
  EXPECT_EQ(t.ScalarInt("select count(*) from nm_tbl"), 5284);
  auto q = t.Connection().NewQuery();
  q->SetSQL("SELECT eknm, ob_code FROM obsh_tbl WHERE (UPPER(ob_name) = :name)");
  q->SetString("name", "РУСЕ");
  q->Open();
  ASSERT_EQ(q->RecordCount(), 1);
  EXPECT_EQ(q->FieldAt(1).AsString(), "RSE27");
  EXPECT_EQ(t.ScalarInt("select count(*) from nm_tbl where ob_code = 'RSE27'"), 14);
}

TEST(SchemaTest, DemoUserExists) {
  TestDatabase t;
  EXPECT_EQ(t.ScalarInt("select user_id from app_users where user_name = 'demo'"), 1);
}

TEST(SchemaTest, CharacteristicValuesInsertInColumnOrder) {
  TestDatabase t;
  auto q = t.Connection().NewQuery();
  q->SetSQL(
      "INSERT INTO CHARACTERISTICS_DOC\nVALUES(:docid, :chid, :value, "
      ":no_use_val, :checked)");
  q->SetInteger("docid", 3);
  q->SetInteger("chid", 4);
  q->SetString("value", "v");
  q->SetString("no_use_val", "n");
  q->SetString("checked", "T");
  q->Execute();
  EXPECT_EQ(t.Scalar("select cd_checked from characteristics_doc where cd_docid = 3 and "
                     "cd_chid = 4 and cd_value = 'v' and cd_no_use_value = 'n'"),
            "T");
}

}  // namespace
}  // namespace zrv::db
