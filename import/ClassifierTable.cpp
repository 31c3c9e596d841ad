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

void InsertClassifierRow(db::Connection& db, ui::Messages& messages,
                         const ClassifierTable& table,
                         const std::function<void(db::Query&)>& bind) {
  try {
    db.RunApart([&] {
      std::unique_ptr<db::Query> query = db.NewQuery();
      query->SetSQL(table.insertSql);
      bind(*query);
      query->Execute();
    });
  } catch (const db::DuplicateKeyError&) {
    // Another workstation was first; the caller looks again.
    throw;
  } catch (const std::exception&) {
    messages.ShowMessage(table.failMessage);
    throw;
  }
}

int32_t AddClassifierRace(
    db::Connection& db, const ClassifierTable& table,
    const std::function<void(int32_t id)>& insertWithId,
    const std::function<std::optional<int32_t>()>& lookUp) {
  for (int attempt = 1;; ++attempt) {
    // The greatest id is read in a short transaction of its own, which sees
    // every entry committed so far, whatever transaction the caller has open.
    int32_t id = 0;
    db.RunApart([&] { id = NextClassifierId(db, table); });
    try {
      insertWithId(id);
      return id;
    } catch (const db::DuplicateKeyError&) {
      if (attempt >= kInsertAttempts) throw;
      if (std::optional<int32_t> found = lookUp()) return *found;
    }
  }
}

int32_t AddClassifier(db::Connection& db, ui::Messages& messages,
                      const ClassifierTable& table, const std::string& text) {
  return AddClassifierRace(
      db, table,
      [&](int32_t id) {
        InsertClassifierRow(db, messages, table, [&](db::Query& query) {
          query.SetInteger("id", id);
          query.SetString("text", text);
        });
      },
      [&] { return LookUpCommittedClassifier(db, table, text); });
}

std::optional<int32_t> LookUpCommittedClassifier(db::Connection& db,
                                                 const ClassifierTable& table,
                                                 const std::string& text) {
  std::optional<int32_t> found;
  db.RunApart([&] { found = LookUpClassifier(db, table, text); });
  return found;
}

int32_t GetOrInsertClassifier(db::Connection& db, ui::Messages& messages,
                              const ClassifierTable& table,
                              const std::string& text) {
  if (std::optional<int32_t> found = LookUpClassifier(db, table, text))
    return *found;
  // The caller's transaction may be older than an entry added since (by this
  // run or by another workstation): look again where the latest commits show.
  if (std::optional<int32_t> found = LookUpCommittedClassifier(db, table, text))
    return *found;
  return AddClassifier(db, messages, table, text);
}

}  // namespace zrv::import
