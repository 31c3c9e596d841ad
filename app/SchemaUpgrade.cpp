#include "app/SchemaUpgrade.h"

#include <set>

#include "app/EmbeddedSchema.h"
#include "app/SchemaObjects.h"
#include "app/SchemaVersion.h"
#include "app/store/SchemaStore.h"
#include "common/Error.h"
#include "common/Text.h"
#include "platform/db/Transaction.h"

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

// One step of the upgrade: what the administrator reads, and what it runs: a
// statement of the scripts as written, a definition added to a table, or an
// index dropped.
struct Step {
  enum class Action { kRun, kAddToTable, kDropIndex };
  std::string shown;  // empty for a statement run on every upgrade
  Action action = Action::kRun;
  std::string text;   // the statement, the definition, or the index's name
  std::string table;  // kAddToTable
  std::string file;   // the script it comes from
};

struct Planned {
  std::vector<Step> steps;
  std::vector<UpgradeConflict> conflicts;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The primary key of a row as "col value, col value".
std::string RowKey(const std::vector<std::string>& key, const std::vector<std::string>& values) {
  std::string text;
  for (size_t i = 0; i < key.size(); ++i) text += (i ? ", " : "") + Lower(key[i]) + " " + values[i];
  return text;
}

// Groups of rows with the same value of `expression` (not null), one line
// each: the value, then the rows' keys.
UpgradeConflict Duplicates(const SchemaStore& store, const std::string& guard,
                           const std::string& table, const std::string& expression) {
  const std::vector<std::string> key = store.PrimaryKeyColumns(table);
  UpgradeConflict conflict{Lower(guard), Lower(table), {}};
  std::string value;
  std::string line;
  for (const KeyedRow& row : store.DuplicateRows(table, expression, key)) {
    if (line.empty() || row.value != value) {
      if (!line.empty()) conflict.rows.push_back(line);
      value = row.value;
      line = "„" + value + "“:";
    } else {
      line += ";";
    }
    line += " " + RowKey(key, row.key);
  }
  if (!line.empty()) conflict.rows.push_back(line);
  return conflict;
}

// Rows a CHECK with `condition` refuses (a condition that is unknown passes).
UpgradeConflict Refused(const SchemaStore& store, const std::string& guard,
                        const std::string& table, const std::string& condition) {
  const std::vector<std::string> key = store.PrimaryKeyColumns(table);
  UpgradeConflict conflict{Lower(guard), Lower(table), {}};
  for (const KeyedRow& row : store.RefusedRows(table, condition, key))
    conflict.rows.push_back(RowKey(key, row.key));
  return conflict;
}

void Keep(UpgradeConflict conflict, Planned& planned) {
  if (!conflict.rows.empty()) planned.conflicts.push_back(std::move(conflict));
}

void PlanTable(const SchemaStore& store, const SchemaStatement& s, const SchemaCatalog& catalog,
               std::set<std::string>& newTables, Planned& planned) {
  const std::string table = Lower(s.table);
  if (!catalog.HasTable(s.table)) {
    newTables.insert(s.table);
    planned.steps.push_back({"таблица " + table, Step::Action::kRun, s.sql, "", s.file});
    return;
  }
  const std::set<std::string>& has = catalog.columns.at(s.table);
  for (const SchemaColumn& column : s.columns) {
    if (has.count(column.name)) continue;
    planned.steps.push_back({"колона " + table + "." + Lower(column.name),
                             Step::Action::kAddToTable, column.definition, s.table, s.file});
  }
  for (const SchemaConstraint& constraint : s.constraints) {
    if (constraint.name.empty() || catalog.constraints.count(constraint.name)) continue;
    if (constraint.kind == ConstraintKind::kCheck)
      Keep(Refused(store, constraint.name, s.table, constraint.key), planned);
    else if (constraint.kind != ConstraintKind::kOther)
      Keep(Duplicates(store, constraint.name, s.table, constraint.key), planned);
    planned.steps.push_back({"ограничение " + Lower(constraint.name) + " на " + table,
                             Step::Action::kAddToTable, constraint.definition, s.table, s.file});
  }
}

Planned Plan(const SchemaStore& store, const std::vector<EmbeddedFile>& files) {
  const SchemaCatalog catalog = store.ReadCatalog();
  std::set<std::string> newTables;
  Planned planned;
  for (const SchemaStatement& s : ReadSchemaStatements(files)) {
    const std::string on = s.table.empty() ? "" : " на " + Lower(s.table);
    switch (s.kind) {
      case Kind::kTable:
        PlanTable(store, s, catalog, newTables, planned);
        break;
      case Kind::kIndex:
        if (catalog.indexes.count(s.name)) break;
        if (s.unique && !newTables.count(s.table))
          Keep(Duplicates(store, s.name, s.table, s.key), planned);
        planned.steps.push_back(
            {"индекс " + Lower(s.name) + on, Step::Action::kRun, s.sql, "", s.file});
        break;
      case Kind::kGenerator:
        if (!catalog.generators.count(s.name))
          planned.steps.push_back(
              {"генератор " + Lower(s.name), Step::Action::kRun, s.sql, "", s.file});
        break;
      case Kind::kTrigger:
        if (!catalog.triggers.count(s.name))
          planned.steps.push_back(
              {"тригер " + Lower(s.name) + on, Step::Action::kRun, s.sql, "", s.file});
        break;
      case Kind::kRow:
        if (newTables.count(s.table))
          planned.steps.push_back(
              {"начален ред в " + Lower(s.table), Step::Action::kRun, s.sql, "", s.file});
        break;
      case Kind::kAlways:
        planned.steps.push_back({"", Step::Action::kRun, s.sql, "", s.file});
        break;
    }
  }
  for (const char* index : kRetiredIndexes) {
    if (catalog.indexes.count(index))
      planned.steps.push_back(
          {"премахва излишния индекс " + Lower(index), Step::Action::kDropIndex, index, "", ""});
  }
  return planned;
}

void RunStep(const SchemaStore& store, const Step& step) {
  switch (step.action) {
    case Step::Action::kRun:
      store.Run(step.text);
      break;
    case Step::Action::kAddToTable:
      store.AddToTable(step.table, step.text);
      break;
    case Step::Action::kDropIndex:
      store.DropIndex(step.text);
      break;
  }
}

void RefuseNewer(int32_t stored) {
  if (stored > kSchemaVersion) throw Error(Format(kNewer, stored, kSchemaVersion));
}

}  // namespace

bool UpgradePlan::NeedsUpgrade() const { return !steps.empty() || storedVersion < kSchemaVersion; }

UpgradePlan PlanUpgrade(db::Connection& db) {
  db::OwnTransaction transaction(db);
  const SchemaStore store(transaction.Get());
  UpgradePlan plan;
  plan.storedVersion = store.StoredVersion();
  RefuseNewer(plan.storedVersion);
  Planned planned = Plan(store, EmbeddedSchemaFiles());
  transaction.Commit();
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

void Upgrade(db::Connection& db, const std::function<void(const std::string& step)>& done) {
  Planned planned;
  {
    db::OwnTransaction transaction(db);
    const SchemaStore store(transaction.Get());
    RefuseNewer(store.StoredVersion());
    planned = Plan(store, EmbeddedSchemaFiles());
    transaction.Commit();
  }
  if (!planned.conflicts.empty()) throw Error(RefusalText(planned.conflicts));
  for (const Step& step : planned.steps) {
    try {
      db::OwnTransaction transaction(db);
      RunStep(SchemaStore(transaction.Get()), step);
      transaction.Commit();
    } catch (const db::DbError& e) {
      const std::string name = step.shown.empty() ? step.file : step.shown;
      throw Error(Format(kStepFailed, name.c_str()) + e.what());
    }
    if (!step.shown.empty() && done) done(step.shown);
  }
  RecordSchemaVersion(db);
}

}  // namespace zrv::app
