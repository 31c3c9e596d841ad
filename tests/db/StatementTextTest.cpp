// Statement texts before they reach the engine: named parameters and schema
// scripts.

#include <gtest/gtest.h>

#include "platform/db/SqlScript.h"
#include "platform/db/firebird/NamedParams.h"

namespace zrv::db {
namespace {

TEST(NamedParamsTest, NamesBecomeMarkersOutsideLiteralsAndComments) {
  fb::PositionalSql p = fb::ToPositional(
      "select ':no' , \":no\", x from t -- :no\n where a = :A and b = :b_2 /* "
      ":no */ or c = :a");
  EXPECT_EQ(p.text,
            "select ':no' , \":no\", x from t -- :no\n where a = ? and b = ? "
            "/* :no */ or c = ?");
  EXPECT_EQ(p.names, (std::vector<std::string>{"A", "B_2", "A"}));
}

TEST(NamedParamsTest, DoubledQuotesStayInsideTheLiteral) {
  fb::PositionalSql p = fb::ToPositional("values ('it''s :no', \"a\"\":no\", :yes)");
  EXPECT_EQ(p.text, "values ('it''s :no', \"a\"\":no\", ?)");
  EXPECT_EQ(p.names, std::vector<std::string>{"YES"});
}

TEST(NamedParamsTest, TimeInsideALiteralAndAnUnclosedLiteralAreLeftAlone) {
  EXPECT_TRUE(fb::ToPositional("select \"10:30:00\" from t").names.empty());
  EXPECT_TRUE(fb::ToPositional("select 'open :no").names.empty());
}

TEST(SqlScriptTest, SplitsOnTerminatorsAndHonoursSetTerm) {
  const std::string script =
      "-- heading; with a semicolon\n"
      "CREATE TABLE a (x VARCHAR(5) DEFAULT ';');\n"
      "/* ; */ INSERT INTO a VALUES (\"x;y\");\n"
      "COMMIT;\n"
      "SET TERM ^ ;\n"
      "CREATE TRIGGER t FOR a BEFORE INSERT AS BEGIN NEW.x = 'q'; END^\n"
      "set term ; ^\n"
      "DROP TABLE a;\n"
      "   \n";
  std::vector<std::string> statements = SplitSqlScript(script);
  ASSERT_EQ(statements.size(), 4u);
  EXPECT_EQ(statements[0],
            "-- heading; with a semicolon\nCREATE TABLE a (x VARCHAR(5) "
            "DEFAULT ';')");
  EXPECT_EQ(statements[1], "/* ; */ INSERT INTO a VALUES (\"x;y\")");
  EXPECT_EQ(statements[2], "CREATE TRIGGER t FOR a BEFORE INSERT AS BEGIN NEW.x = 'q'; END");
  EXPECT_EQ(statements[3], "DROP TABLE a");
}

TEST(SqlScriptTest, LastStatementNeedsNoTerminator) {
  EXPECT_EQ(SplitSqlScript("SELECT 1 FROM rdb$database"),
            std::vector<std::string>{"SELECT 1 FROM rdb$database"});
}

}  // namespace
}  // namespace zrv::db
