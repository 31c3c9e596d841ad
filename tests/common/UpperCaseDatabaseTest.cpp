// Upper-casing on this side must give what the database's UPPER gives on the
// text columns, or a value upper-cased here would never equal UPPER(column) in
// a query.

#include <gtest/gtest.h>

#include "common/Text.h"
#include "tests/support/TestDatabase.h"

namespace zrv {
namespace {

TEST(UpperCaseDatabase, AgreesWithUpperOnTheTextColumnsForTheWholeCodePage) {
  test::TestDatabase database;
  // Declared like the schema's text columns compared with UPPER.
  database.Exec("CREATE TABLE upper_check (id INTEGER, s VARCHAR(4) COLLATE PXW_CYRL)");
  std::vector<std::string> letters;
  for (int b = 0x20; b < 0x100; ++b) {
    if (b == 0x98 || b == 0x7F) continue;  // 0x98 has no character
    letters.push_back(Cp1251ToUtf8(std::string(1, static_cast<char>(b))));
  }
  auto insert = database.Connection().NewQuery();
  insert->SetSQL("INSERT INTO upper_check (id, s) VALUES (:id, :s)");
  for (size_t i = 0; i < letters.size(); ++i) {
    insert->SetInteger("id", static_cast<int32_t>(i));
    insert->SetString("s", letters[i]);
    insert->Execute();
  }
  auto select = database.Connection().NewQuery();
  select->SetSQL("SELECT id, UPPER(s) AS u FROM upper_check ORDER BY id");
  select->Open();
  size_t compared = 0;
  for (; !select->Eof(); select->Next(), ++compared) {
    const std::string& letter = letters.at(select->FieldByName("id").AsInteger());
    EXPECT_EQ(UpperCase(letter), select->FieldByName("u").AsString()) << "letter " << letter;
  }
  EXPECT_EQ(compared, letters.size());
}

}  // namespace
}  // namespace zrv
