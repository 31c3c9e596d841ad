#include "import/ClassifierTable.h"

#include <memory>

#include "common/Text.h"
#include "contracts/StatementText.h"

namespace zrv::import {

namespace {
// Inserts tried before a run of unique-key violations is reported as the row's
// error.
constexpr int kInsertAttempts = 5;
}  // namespace

std::optional<int32_t> LookUpClassifier(db::Transaction& tx, const ClassifierTable& table,
                                        const std::string& text) {
  contracts::RequireStorableText(table.textColumn, text);
  std::unique_ptr<db::Query> query = tx.NewQuery();
  query->SetSQL(table.lookupSql);
  query->SetString(table.lookupParam, UpperCase(text));
  query->Open();
  if (query->Eof()) return std::nullopt;
  return query->FieldAt(0).AsInteger();
}

int32_t NextClassifierId(db::Transaction& tx, const ClassifierTable& table) {
  std::unique_ptr<db::Query> query = tx.NewQuery();
  query->SetSQL(table.maxSql);
  query->Open();
  // MAX over an empty table is null, which reads as 0.
  const int32_t greatest = query->Eof() ? 0 : query->FieldAt(0).AsInteger();
  if (greatest >= table.idLimit)
    throw Error(std::string("Няма свободен номер в класификатора (") + table.maxSql + ").");
  return greatest + 1;
}

namespace {

// Inserts the row with the id and the text (and what bindExtra binds) in tx.
void InsertClassifierRow(db::Transaction& tx, const ClassifierTable& table, int32_t id,
                         const std::string& text, const BindExtra& bindExtra) {
  std::unique_ptr<db::Query> query = tx.NewQuery();
  query->SetSQL(table.insertSql);
  query->SetInteger("id", id);
  query->SetString("text", text);
  if (bindExtra) bindExtra(*query);
  query->Execute();
}

}  // namespace

int32_t AddClassifier(EntryTransactions& entries, ui::Messages& messages,
                      const ClassifierTable& table, const std::string& text,
                      const BindExtra& bindExtra, const CommittedLookUp& lookUp) {
  // Without a look-up of the caller's, the table's own look-up runs first in
  // the entry's transaction, which sees every entry committed so far.
  const bool lookUpInside = !lookUp && table.lookupSql != nullptr;
  for (int attempt = 1;; ++attempt) {
    int32_t id = 0;
    // Set once the insert runs: a failure from then on (the insert or the
    // commit) is the table's to report.
    bool inserting = false;
    try {
      entries.Apart([&](db::Transaction& tx) {
        if (lookUpInside) {
          if (std::optional<int32_t> found = LookUpClassifier(tx, table, text)) {
            id = *found;
            return;
          }
        }
        id = NextClassifierId(tx, table);
        inserting = true;
        InsertClassifierRow(tx, table, id, text, bindExtra);
        entries.Added(tx, table.name, id);
      });
      return id;
    } catch (const db::DuplicateKeyError&) {
      // Another workstation's row took the id or the text first.
      if (attempt >= kInsertAttempts) throw;
      if (lookUp) {
        if (const std::optional<int32_t> found = lookUp()) return *found;
      }
      // The next attempt looks again (or the caller's look-up has) and
      // takes the next free id.
    } catch (const db::ConflictError&) {
      throw;  // another workstation's write: the row is tried again
    } catch (const std::exception&) {
      if (inserting) messages.ShowMessage(table.failMessage);
      throw;
    }
  }
}

int32_t GetOrInsertClassifier(db::Transaction& tx, EntryTransactions& entries,
                              ui::Messages& messages, const ClassifierTable& table,
                              const std::string& text, const BindExtra& bindExtra) {
  if (std::optional<int32_t> found = LookUpClassifier(tx, table, text)) return *found;
  // The row's transaction may be older than an entry added since (by this run
  // or by another workstation): AddClassifier looks again where the latest
  // commits show before it adds.
  const std::string key = UpperCase(text);
  if (std::optional<int32_t> known = entries.Known(table.name, key)) return *known;
  const int32_t id = AddClassifier(entries, messages, table, text, bindExtra);
  entries.Remember(table.name, key, id);
  return id;
}

}  // namespace zrv::import
