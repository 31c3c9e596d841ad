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

std::optional<int32_t> LookUpClassifier(db::Transaction& tx,
                                        const ClassifierTable& table,
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
    throw Error(std::string("Няма свободен номер в класификатора (") +
                table.maxSql + ").");
  return greatest + 1;
}

namespace {

// Runs the table's insert in a short transaction of its own that it commits.
// A unique-key violation goes on to the caller, which looks again; any other
// error shows the table's message and is thrown on.
void InsertClassifierRow(EntryTransactions& entries, ui::Messages& messages,
                         const ClassifierTable& table, int32_t id,
                         const std::string& text, const BindExtra& bindExtra) {
  try {
    entries.Apart([&](db::Transaction& tx) {
      std::unique_ptr<db::Query> query = tx.NewQuery();
      query->SetSQL(table.insertSql);
      query->SetInteger("id", id);
      query->SetString("text", text);
      if (bindExtra) bindExtra(*query);
      query->Execute();
      entries.Added(tx, table.name, id);
    });
  } catch (const db::DuplicateKeyError&) {
    throw;
  } catch (const db::ConflictError&) {
    throw;  // another workstation's write: the row is tried again
  } catch (const std::exception&) {
    messages.ShowMessage(table.failMessage);
    throw;
  }
}

}  // namespace

std::optional<int32_t> LookUpCommittedClassifier(EntryTransactions& entries,
                                                 const ClassifierTable& table,
                                                 const std::string& text) {
  std::optional<int32_t> found;
  entries.Apart(
      [&](db::Transaction& tx) { found = LookUpClassifier(tx, table, text); });
  return found;
}

int32_t AddClassifier(EntryTransactions& entries, ui::Messages& messages,
                      const ClassifierTable& table, const std::string& text,
                      const BindExtra& bindExtra,
                      const CommittedLookUp& lookUp) {
  for (int attempt = 1;; ++attempt) {
    // The greatest id is read in a short transaction of its own, which sees
    // every entry committed so far, whatever transaction the row has open.
    int32_t id = 0;
    entries.Apart([&](db::Transaction& tx) { id = NextClassifierId(tx, table); });
    try {
      InsertClassifierRow(entries, messages, table, id, text, bindExtra);
      return id;
    } catch (const db::DuplicateKeyError&) {
      if (attempt >= kInsertAttempts) throw;
      const std::optional<int32_t> found =
          lookUp ? lookUp() : LookUpCommittedClassifier(entries, table, text);
      if (found) return *found;
    }
  }
}

int32_t GetOrInsertClassifier(db::Transaction& tx, EntryTransactions& entries,
                              ui::Messages& messages,
                              const ClassifierTable& table,
                              const std::string& text,
                              const BindExtra& bindExtra) {
  if (std::optional<int32_t> found = LookUpClassifier(tx, table, text))
    return *found;
  // The row's transaction may be older than an entry added since (by this run
  // or by another workstation): look again where the latest commits show.
  if (std::optional<int32_t> found =
          LookUpCommittedClassifier(entries, table, text))
    return *found;
  return AddClassifier(entries, messages, table, text, bindExtra);
}

}  // namespace zrv::import
