// The Firebird query against a real embedded database: typed parameters,
// reading columns, moving through results and the engine's messages.

#include <gtest/gtest.h>

#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"

namespace zrv::db {
namespace {

using test::TestDatabase;

// 15.03.2007 as a day number (day 0 = 30.12.1899).
constexpr double k15March2007 = 39156;

TEST(QueryTest, TypedParametersRoundTrip) {
  TestDatabase t;
  auto insert = t.Connection().NewQuery();
  insert->SetSQL(
      "insert into documents (doc_id, doc_nomtxt, da_sf2, doc_data, doc_price, "
      "doc_type, "
      "doc_coment) values (:id, :num, :sf2, :data, :price, :type, :comment)");
  insert->SetInteger("id", 7);
  insert->SetString("num", "Договор \"Южен\" № 5");
  insert->SetString("sf2", "ёЁ щЩ ъ");
  insert->SetDateTime("data", k15March2007 + 0.4375);  // 10:30
  insert->SetFloat("price", 1234.56);
  insert->SetSmallInt("type", -1400);
  insert->SetNull("comment");
  insert->Execute();

  auto read = t.Connection().NewQuery();
  read->SetSQL("select * from documents where doc_id = :id");
  read->SetInteger("ID", 7);  // parameter names ignore letter case
  read->Open();
  ASSERT_EQ(read->RecordCount(), 1);
  EXPECT_EQ(read->FieldByName("doc_nomtxt").AsString(), "Договор \"Южен\" № 5");
  EXPECT_EQ(read->FieldByName("DA_SF2").AsString(), "ёЁ щЩ ъ");
  EXPECT_DOUBLE_EQ(read->FieldByName("doc_data").AsDateTime(), k15March2007 + 0.4375);
  EXPECT_EQ(read->FieldByName("doc_data").AsString(), "15.03.2007 10:30:00");
  EXPECT_DOUBLE_EQ(read->FieldByName("doc_price").AsFloat(), 1234.56);
  EXPECT_EQ(read->FieldByName("doc_type").AsInteger(), -1400);
  EXPECT_TRUE(read->FieldByName("doc_coment").IsNull());
  EXPECT_EQ(read->FieldByName("doc_coment").AsString(), "");
}

TEST(QueryTest, DatesAgreeWithTheEngineOnBothSidesOfDayZero) {
  TestDatabase t;
  t.Exec(
      "insert into anecs (an_id, an_num, an_dtstart, an_dtstop, an_data) "
      "values (1, 1, '01.01.1800', '29.02.2024', '30.12.1899 18:00')");
  auto q = t.Connection().NewQuery();
  q->SetSQL(
      "select an_dtstart, an_dtstop, an_data from anecs where an_dtstart = "
      ":start and "
      "an_dtstop = :stop");
  q->SetDateTime("start", -36522);
  q->SetDateTime("stop", 45351);
  q->Open();
  ASSERT_EQ(q->RecordCount(), 1);
  EXPECT_EQ(q->FieldAt(0).AsDateTime(), -36522);
  EXPECT_EQ(q->FieldAt(0).AsString(), "01.01.1800");
  EXPECT_EQ(q->FieldAt(1).AsString(), "29.02.2024");
  EXPECT_DOUBLE_EQ(q->FieldAt(2).AsDateTime(), 0.75);
  EXPECT_EQ(q->FieldAt(2).AsInteger(), 0);
}

TEST(QueryTest, UnsetParameterBindsNullAndNameMayRepeat) {
  TestDatabase t;
  t.Exec("insert into ul_kl (ul_id, ul_text) values (1, 'a:b')");
  auto q = t.Connection().NewQuery();
  q->SetSQL("insert into ul_kl (ul_id, ul_text) values (:id, :text)");
  q->SetInteger("id", 2);
  q->Execute();
  EXPECT_EQ(t.Scalar("select count(*) from ul_kl where ul_id = 2 and ul_text is null"), "1");

  // ":b" inside a literal is text, in single and in double quotes alike.
  q->SetSQL(
      "select count(*) from ul_kl where (ul_id = :id or ul_id = :id + 1) and "
      "ul_text = 'a:b' -- :comment\n or ul_text = \"a:b\" /* :other */");
  q->SetInteger("id", 1);
  q->Open();
  EXPECT_EQ(q->FieldAt(0).AsInteger(), 1);
}

TEST(QueryTest, DoubleQuotedLiteralsAreStringsInDialectOne) {
  TestDatabase t;
  t.Exec("insert into ul_kl (ul_id, ul_text) values (5, \"он каза \"\"да\"\"\")");
  EXPECT_EQ(t.Scalar("select ul_text from ul_kl where ul_id = 5"), "он каза \"да\"");
  EXPECT_EQ(t.Scalar("select cast(\"15.03.2007\" as date) from rdb$database"), "15.03.2007");
  EXPECT_NE(t.Scalar("select cast(\"NOW\" as date) from rdb$database"), "");
}

TEST(QueryTest, NullReadsAsEmptyValues) {
  TestDatabase t;
  auto q = t.Connection().NewQuery();
  q->SetSQL("select max(me_id), max(me_text), max(an_dtstop) from me_kl, anecs");
  q->Open();
  ASSERT_FALSE(q->Eof());
  EXPECT_TRUE(q->FieldAt(0).IsNull());
  EXPECT_EQ(q->FieldAt(0).AsInteger(), 0);
  EXPECT_EQ(q->FieldAt(1).AsString(), "");
  EXPECT_EQ(q->FieldAt(2).AsDateTime(), 0);
  EXPECT_EQ(q->FieldAt(2).AsFloat(), 0);
}

TEST(QueryTest, EmptyResultReadsNullAndCountsZero) {
  TestDatabase t;
  auto q = t.Connection().NewQuery();
  q->SetSQL("select sys_str from system_strings where sys_id = -5");
  q->Open();
  EXPECT_TRUE(q->Eof());
  EXPECT_EQ(q->RecordCount(), 0);
  EXPECT_EQ(q->FieldByName("sys_str").AsString(), "");
  q->Last();
  EXPECT_TRUE(q->Eof());
}

TEST(QueryTest, MovesThroughRowsAndStaysOnLastRowAtEnd) {
  TestDatabase t;
  for (int i = 1; i <= 3; ++i) {
    t.Exec("insert into jk_kl (jk_id, jk_text) values (" + std::to_string(i) + ", 'ЖК " +
           std::to_string(i) + "')");
  }
  auto q = t.Connection().NewQuery();
  q->SetSQL("select jk_id, jk_text from jk_kl order by jk_id");
  q->Open();
  EXPECT_EQ(q->RecordCount(), 3);
  std::string seen;
  for (; !q->Eof(); q->Next()) seen += q->FieldByName("jk_id").AsString();
  EXPECT_EQ(seen, "123");
  EXPECT_EQ(q->FieldByName("jk_id").AsInteger(), 3);
  q->First();
  EXPECT_EQ(q->FieldAt(0).AsInteger(), 1);
  q->Last();
  EXPECT_FALSE(q->Eof());
  EXPECT_EQ(q->FieldAt(1).AsString(), "ЖК 3");
  q->Close();
  EXPECT_FALSE(q->IsOpen());
}

TEST(QueryTest, ColumnsByNameIgnoreCaseAndMissingOnesAreFoundAsNone) {
  TestDatabase t;
  auto q = t.Connection().NewQuery();
  q->SetSQL(
      "select m.per_name, j.per_name permolname from persons m left join "
      "persons j "
      "on (m.per_mol = j.per_id)");
  q->Open();
  EXPECT_EQ(q->FieldCount(), 2);
  EXPECT_NE(q->FindField("PerMolName"), nullptr);
  EXPECT_EQ(q->FindField("RI_AUTOGENID"), nullptr);
  EXPECT_THROW(q->FieldByName("no_such_column"), DbError);
}

TEST(QueryTest, ConvertsBetweenColumnKinds) {
  TestDatabase t;
  t.Exec("insert into system_strings (sys_id, sys_str) values (1, ' 42 ')");
  t.Exec("insert into system_strings (sys_id, sys_str) values (2, '12.5')");
  t.Exec("insert into system_strings (sys_id, sys_str) values (3, 'abc')");
  t.Exec("insert into system_strings (sys_id, sys_str) values (4, '01.02.2024')");
  auto q = t.Connection().NewQuery();
  q->SetSQL(
      "select sys_str, sys_id, sys_id / 4.0 quarter from system_strings order "
      "by sys_id");
  q->Open();
  EXPECT_EQ(q->FieldAt(0).AsInteger(), 42);
  EXPECT_EQ(q->FieldAt(1).AsFloat(), 1.0);
  EXPECT_EQ(q->FieldAt(2).AsString(), "0.25");
  q->Next();
  EXPECT_DOUBLE_EQ(q->FieldAt(0).AsFloat(), 12.5);
  q->Next();
  EXPECT_THROW(q->FieldAt(0).AsInteger(), DbError);
  q->Next();
  EXPECT_EQ(q->FieldAt(0).AsDateTime(), 45323);  // 01.02.2024
}

TEST(QueryTest, FailingStatementCarriesTheEngineMessage) {
  TestDatabase t;
  auto q = t.Connection().NewQuery();
  q->SetSQL("insert into no_such_table (a) values (1)");
  try {
    q->Execute();
    FAIL() << "no error";
  } catch (const DbError& e) {
    EXPECT_NE(std::string(e.what()).find("NO_SUCH_TABLE"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Table unknown"), std::string::npos) << e.what();
  }
  t.Exec("insert into ul_kl (ul_id, ul_text) values (1, 'x')");
  q->SetSQL("insert into ul_kl (ul_id, ul_text) values (1, 'y')");
  try {
    q->Execute();
    FAIL() << "no error";
  } catch (const DbError& e) {
    EXPECT_NE(std::string(e.what()).find("PK_UL_KL"), std::string::npos) << e.what();
  }
}

TEST(QueryTest, TextOutsideWindows1251FailsWithTheEngineMessage) {
  TestDatabase t;
  auto q = t.Connection().NewQuery();
  q->SetSQL("insert into ul_kl (ul_id, ul_text) values (1, :text)");
  q->SetString("text", "улица 中");
  try {
    q->Execute();
    FAIL() << "no error";
  } catch (const DbError& e) {
    EXPECT_NE(std::string(e.what()).find("transliterate"), std::string::npos) << e.what();
  }
  EXPECT_EQ(t.ScalarInt("select count(*) from ul_kl"), 0);
}

TEST(QueryTest, QueryOutlivingItsConnectionFailsCleanly) {
  std::unique_ptr<Query> q;
  {
    TestDatabase t;
    q = t.Connection().NewQuery();
  }
  q->SetSQL("select 1 from rdb$database");
  EXPECT_THROW(q->Open(), DbError);
}

}  // namespace
}  // namespace zrv::db
