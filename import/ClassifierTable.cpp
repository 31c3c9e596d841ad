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

std::optional<int32_t> LookUpClassifier(db::Connection& db,
                                        const ClassifierTable& table,
                                        const std::string& text) {
  contracts::RequireStorableText(table.textColumn, text);
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(table.lookupSql);
  query->SetString(table.lookupParam, UpperCase(text));
  query->Open();
  if (query->Eof()) return std::nullopt;
  return query->FieldAt(0).AsInteger();
}

int32_t NextClassifierId(db::Connection& db, const ClassifierTable& table) {
  std::unique_ptr<db::Query> query = db.NewQuery();
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
void InsertClassifierRow(db::Connection& db, ui::Messages& messages,
                         const ClassifierTable& table, int32_t id,
                         const std::string& text, const BindExtra& bindExtra) {
  try {
    db.RunApart([&] {
      std::unique_ptr<db::Query> query = db.NewQuery();
      query->SetSQL(table.insertSql);
      query->SetInteger("id", id);
      query->SetString("text", text);
      if (bindExtra) bindExtra(*query);
      query->Execute();
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

std::optional<int32_t> LookUpCommittedClassifier(db::Connection& db,
                                                 const ClassifierTable& table,
                                                 const std::string& text) {
  std::optional<int32_t> found;
  db.RunApart([&] { found = LookUpClassifier(db, table, text); });
  return found;
}

int32_t AddClassifier(db::Connection& db, ui::Messages& messages,
                      const ClassifierTable& table, const std::string& text,
                      const BindExtra& bindExtra,
                      const CommittedLookUp& lookUp) {
  for (int attempt = 1;; ++attempt) {
    // The greatest id is read in a short transaction of its own, which sees
    // every entry committed so far, whatever transaction the caller has open.
    int32_t id = 0;
    db.RunApart([&] { id = NextClassifierId(db, table); });
    try {
      InsertClassifierRow(db, messages, table, id, text, bindExtra);
      return id;
    } catch (const db::DuplicateKeyError&) {
      if (attempt >= kInsertAttempts) throw;
      const std::optional<int32_t> found =
          lookUp ? lookUp() : LookUpCommittedClassifier(db, table, text);
      if (found) return *found;
    }
  }
}

int32_t GetOrInsertClassifier(db::Connection& db, ui::Messages& messages,
                              const ClassifierTable& table,
                              const std::string& text,
                              const BindExtra& bindExtra) {
  if (std::optional<int32_t> found = LookUpClassifier(db, table, text))
    return *found;
  // The caller's transaction may be older than an entry added since (by this
  // run or by another workstation): look again where the latest commits show.
  if (std::optional<int32_t> found = LookUpCommittedClassifier(db, table, text))
    return *found;
  return AddClassifier(db, messages, table, text, bindExtra);
}

}  // namespace zrv::import
