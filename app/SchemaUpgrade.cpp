#include "app/SchemaUpgrade.h"

#include <set>

#include "app/EmbeddedSchema.h"
#include "app/SchemaCatalog.h"
#include "app/SchemaObjects.h"
#include "app/SchemaVersion.h"
#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/Firebird.h"

namespace zrv::app {

namespace {

using Kind = SchemaStatement::Kind;
using ConstraintKind = SchemaConstraint::Kind;

// Indexes earlier versions made that a unique index of the same key replaced
// (version 3).
const char* const kRetiredIndexes[] = {
    "IX_OBSH_KL_UPPER_TEXT", "IX_NM_KL_UPPER_TEXT", "IX_ME_KL_UPPER_TEXT",
    "IX_JK_KL_UPPER_TEXT",   "IX_UL_KL_UPPER_TEXT",
};

const char* const kNewer =
    "Базата данни е от по-нова версия (%d) от програмата (%d): обновете "
    "програмата, не базата данни.";
const char* const kRefused =
    "Базата данни не е обновена: данните в нея нарушават новите защити. "
    "Поправете или слейте на ръка редовете по-долу и пуснете "
    "„zorvit db upgrade“ отново.";
const char* const kStepFailed =
    "Стъпката „%s“ не мина; стъпките преди нея са направени и остават, "
    "следващото пускане на „zorvit db upgrade“ продължава оттам.\n";

// One step of the upgrade: what the administrator reads, and the statement.
struct Step {
  std::string shown;  // empty for a statement run on every upgrade
  std::string sql;
  std::string file;  // the script it comes from
};

struct Planned {
  std::vector<Step> steps;
  std::vector<UpgradeConflict> conflicts;
};

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The primary key of a row as "col value, col value".
std::string RowKey(const db::Query& query, const std::vector<std::string>& key,
                   int first) {
  std::string text;
  for (size_t i = 0; i < key.size(); ++i) {
    text += (i ? ", " : "") + Lower(key[i]) + " " +
            query.FieldAt(first + static_cast<int>(i)).AsString();
  }
  return text;
}

// The primary key's columns for a select list; RDB$DB_KEY for a table without
// one.
std::string KeyList(const std::vector<std::string>& key) {
  std::string list;
  for (const std::string& column : key) list += ", " + column;
  return list;
}

// Groups of rows with the same value of `expression` (not null).
UpgradeConflict Duplicates(db::Connection& db, const std::string& guard,
                           const std::string& table,
                           const std::string& expression) {
  const std::vector<std::string> key = PrimaryKeyColumns(db, table);
  UpgradeConflict conflict{Lower(guard), Lower(table), {}};
  auto query = db.NewQuery();
  query->SetSQL("SELECT " + expression + KeyList(key) + " FROM " + table +
                " WHERE " + expression + " IN (SELECT " + expression +
                " FROM " + table + " GROUP BY 1 HAVING COUNT(*) > 1)" +
                " ORDER BY 1" + KeyList(key));
  query->Open();
  std::string value;
  std::string line;
  for (; !query->Eof(); query->Next()) {
    const std::string next = query->FieldAt(0).AsString();
    if (line.empty() || next != value) {
      if (!line.empty()) conflict.rows.push_back(line);
      value = next;
      line = "„" + value + "“:";
    } else {
      line += ";";
    }
    line += " " + RowKey(*query, key, 1);
  }
  if (!line.empty()) conflict.rows.push_back(line);
  return conflict;
}

// Rows a CHECK with `condition` refuses (a condition that is unknown passes).
UpgradeConflict Refused(db::Connection& db, const std::string& guard,
                        const std::string& table,
                        const std::string& condition) {
  const std::vector<std::string> key = PrimaryKeyColumns(db, table);
  UpgradeConflict conflict{Lower(guard), Lower(table), {}};
  auto query = db.NewQuery();
  query->SetSQL("SELECT 0" + KeyList(key) + " FROM " + table + " WHERE NOT (" +
                condition + ")" + (key.empty() ? "" : " ORDER BY 2"));
  query->Open();
  for (; !query->Eof(); query->Next())
    conflict.rows.push_back(RowKey(*query, key, 1));
  return conflict;
}

void Keep(UpgradeConflict conflict, Planned& planned) {
  if (!conflict.rows.empty()) planned.conflicts.push_back(std::move(conflict));
}

void PlanTable(db::Connection& db, const SchemaStatement& s,
               const SchemaCatalog& catalog, std::set<std::string>& newTables,
               Planned& planned) {
  const std::string table = Lower(s.table);
  if (!catalog.HasTable(s.table)) {
    newTables.insert(s.table);
    planned.steps.push_back({"таблица " + table, s.sql, s.file});
    return;
  }
  const std::set<std::string>& has = catalog.columns.at(s.table);
  for (const SchemaColumn& column : s.columns) {
    if (has.count(column.name)) continue;
    planned.steps.push_back(
        {"колона " + table + "." + Lower(column.name),
         "ALTER TABLE " + s.table + " ADD " + column.definition, s.file});
  }
  for (const SchemaConstraint& constraint : s.constraints) {
    if (constraint.name.empty() || catalog.constraints.count(constraint.name))
      continue;
    if (constraint.kind == ConstraintKind::kCheck)
      Keep(Refused(db, constraint.name, s.table, constraint.key), planned);
    else if (constraint.kind != ConstraintKind::kOther)
      Keep(Duplicates(db, constraint.name, s.table, constraint.key), planned);
    planned.steps.push_back(
        {"ограничение " + Lower(constraint.name) + " на " + table,
         "ALTER TABLE " + s.table + " ADD " + constraint.definition, s.file});
  }
}

Planned Plan(db::Connection& db, const std::vector<EmbeddedFile>& files) {
  const SchemaCatalog catalog = ReadSchemaCatalog(db);
  std::set<std::string> newTables;
  Planned planned;
  for (const SchemaStatement& s : ReadSchemaStatements(files)) {
    const std::string on = s.table.empty() ? "" : " на " + Lower(s.table);
    switch (s.kind) {
      case Kind::kTable:
        PlanTable(db, s, catalog, newTables, planned);
        break;
      case Kind::kIndex:
        if (catalog.indexes.count(s.name)) break;
        if (s.unique && !newTables.count(s.table))
          Keep(Duplicates(db, s.name, s.table, s.key), planned);
        planned.steps.push_back(
            {"индекс " + Lower(s.name) + on, s.sql, s.file});
        break;
      case Kind::kGenerator:
        if (!catalog.generators.count(s.name))
          planned.steps.push_back(
              {"генератор " + Lower(s.name), s.sql, s.file});
        break;
      case Kind::kTrigger:
        if (!catalog.triggers.count(s.name))
          planned.steps.push_back(
              {"тригер " + Lower(s.name) + on, s.sql, s.file});
        break;
      case Kind::kRow:
        if (newTables.count(s.table))
          planned.steps.push_back(
              {"начален ред в " + Lower(s.table), s.sql, s.file});
        break;
      case Kind::kAlways:
        planned.steps.push_back({"", s.sql, s.file});
        break;
    }
  }
  for (const char* index : kRetiredIndexes) {
    if (catalog.indexes.count(index))
      planned.steps.push_back({"премахва излишния индекс " + Lower(index),
                               std::string("DROP INDEX ") + index, ""});
  }
  return planned;
}

void RefuseNewer(int32_t stored) {
  if (stored > kSchemaVersion)
    throw Error(Format(kNewer, stored, kSchemaVersion));
}

}  // namespace

bool UpgradePlan::NeedsUpgrade() const {
  return !steps.empty() || storedVersion < kSchemaVersion;
}

UpgradePlan PlanUpgrade(db::Connection& db) {
  UpgradePlan plan;
  plan.storedVersion = StoredSchemaVersion(db);
  RefuseNewer(plan.storedVersion);
  Planned planned = Plan(db, EmbeddedSchemaFiles());
  for (const Step& step : planned.steps) {
    if (!step.shown.empty()) plan.steps.push_back(step.shown);
  }
  plan.conflicts = std::move(planned.conflicts);
  return plan;
}

std::string RefusalText(const std::vector<UpgradeConflict>& conflicts) {
  std::string text = kRefused;
  for (const UpgradeConflict& c : conflicts) {
    text += "\n" + c.guard + " (" + c.table + "):";
    for (const std::string& row : c.rows) text += "\n  " + row;
  }
  return text;
}

void Upgrade(db::Connection& db,
             const std::function<void(const std::string& step)>& done) {
  RefuseNewer(StoredSchemaVersion(db));
  const Planned planned = Plan(db, EmbeddedSchemaFiles());
  if (!planned.conflicts.empty()) throw Error(RefusalText(planned.conflicts));
  for (const Step& step : planned.steps) {
    try {
      db::ExecuteRaw(db, step.sql);
    } catch (const db::DbError& e) {
      const std::string name = step.shown.empty() ? step.file : step.shown;
      throw Error(Format(kStepFailed, name.c_str()) + e.what());
    }
    if (!step.shown.empty() && done) done(step.shown);
  }
  RecordSchemaVersion(db);
}

}  // namespace zrv::app
