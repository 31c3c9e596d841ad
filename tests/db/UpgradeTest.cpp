// The upgrade of a database made with the first version's schema (kept as SQL
// text in old_schema/): refused with the rows to mend while its data breaks a
// new guard, then brought to every object a new database has, once.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/DatabaseSetup.h"
#include "app/SchemaCatalog.h"
#include "app/SchemaUpgrade.h"
#include "app/SchemaVersion.h"
#include "common/Error.h"
#include "platform/db/Firebird.h"
#include "tests/support/TestDatabase.h"

namespace zrv::app {
namespace {

std::string OldSchema() {
  std::ifstream in(std::string(ZRV_SOURCE_DIR) + "/tests/db/old_schema/version1.sql");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Exec(db::Connection& c, const std::string& sql) {
  auto query = c.NewQuery();
  query->SetSQL(sql);
  query->Execute();
}

int Count(db::Connection& c, const std::string& sql) {
  auto query = c.NewQuery();
  query->SetSQL(sql);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

bool SameObjects(const SchemaCatalog& a, const SchemaCatalog& b) {
  return a.columns == b.columns && a.constraints == b.constraints && a.indexes == b.indexes &&
         a.generators == b.generators && a.triggers == b.triggers;
}

TEST(Upgrade, FirstVersionDatabaseRefusedWhileItsDataBreaksAGuardThenUpgraded) {
  const std::string folder = test::MakeTempFolder();
  const std::string oldSchema = OldSchema();
  ASSERT_NE(oldSchema.find("CREATE TABLE anecs"), std::string::npos);
  std::vector<EmbeddedFile> files = {{"version1.sql", oldSchema}};
  for (const EmbeddedFile& file : EmbeddedSchemaFiles()) {
    if (file.name.starts_with("data/")) files.push_back(file);
  }
  const db::ConnectParams params{"SYSDBA", "masterkey", folder + "/old.fdb"};
  CreatePropertyDatabase(params, false, files);
  auto c = db::MakeFirebirdConnection();
  c->Open(params);
  EXPECT_EQ(StoredSchemaVersion(*c), 0);
  EXPECT_NE(SchemaVersionNote(*c).find("zorvit db upgrade"), std::string::npos);
  Exec(*c, "INSERT INTO ul_kl VALUES (1, 'Витоша')");
  Exec(*c, "INSERT INTO ul_kl VALUES (2, 'ВИТОША')");
  Exec(*c, "INSERT INTO ul_kl VALUES (3, 'Рила')");
  Exec(*c, "INSERT INTO objtype_kl VALUES (4, 'Офис', 1)");
  Exec(*c, "INSERT INTO objtype_kl VALUES (5, 'офис', 1)");
  Exec(*c, "INSERT INTO objtype_kl VALUES (6, 'офис', 2)");
  Exec(*c,
       "INSERT INTO anecs (an_id, an_num, an_dtstart, an_dtstop) "
       "VALUES (10, 2, '2020-01-10', '2020-01-01')");

  const SchemaCatalog before = ReadSchemaCatalog(*c);
  const UpgradePlan refused = PlanUpgrade(*c);
  std::string listed;
  for (const UpgradeConflict& conflict : refused.conflicts) {
    listed += conflict.guard + " (" + conflict.table + ")";
    for (const std::string& row : conflict.rows) listed += " " + row;
    listed += "\n";
  }
  EXPECT_EQ(listed,
            "ux_ul_kl_upper_text (ul_kl) „ВИТОША“: ul_id 1; ul_id 2\n"
            "ux_objtype_kl_app_text (objtype_kl) „1|ОФИС“: ot_id 4; ot_id 5\n"
            "ck_anecs_period (anecs) an_id 10, an_num 2\n");
  EXPECT_THROW(Upgrade(*c), Error);
  EXPECT_TRUE(SameObjects(ReadSchemaCatalog(*c), before));

  // Mended by hand: the upgrade goes through and keeps the data.
  Exec(*c, "DELETE FROM ul_kl WHERE ul_id = 2");
  Exec(*c, "UPDATE objtype_kl SET ot_text = 'Склад' WHERE ot_id = 5");
  Exec(*c, "UPDATE anecs SET an_dtstop = '2020-02-01'");
  EXPECT_TRUE(PlanUpgrade(*c).conflicts.empty());
  std::vector<std::string> done;
  Upgrade(*c, [&done](const std::string& step) { done.push_back(step); });
  EXPECT_FALSE(done.empty());
  EXPECT_EQ(Count(*c, "SELECT COUNT(*) FROM ul_kl"), 2);
  EXPECT_EQ(StoredSchemaVersion(*c), kSchemaVersion);
  EXPECT_EQ(SchemaVersionNote(*c), "");

  // Every object of a database made now, the replaced indexes gone, the new
  // tables open to the clerks; and nothing left for a second run.
  test::TestDatabase fresh;
  EXPECT_TRUE(SameObjects(ReadSchemaCatalog(*c), ReadSchemaCatalog(fresh.Connection())));
  EXPECT_EQ(Count(*c,
                  "SELECT COUNT(*) FROM rdb$user_privileges WHERE rdb$user = "
                  "'PUBLIC' AND rdb$relation_name = 'PERSON_KEYS'"),
            Count(fresh.Connection(),
                  "SELECT COUNT(*) FROM rdb$user_privileges WHERE rdb$user = "
                  "'PUBLIC' AND rdb$relation_name = 'PERSON_KEYS'"));
  EXPECT_FALSE(PlanUpgrade(*c).NeedsUpgrade());
  EXPECT_THROW(Exec(*c, "INSERT INTO ul_kl VALUES (7, 'рила')"), db::DuplicateKeyError);
  c->Close();
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zrv::app
