#pragma once
// The find-or-add pattern shared by the classifier tables: look the upper-cased
// text up, and when it is missing take the greatest id + 1 (read outside any
// transaction) and insert the row in a short transaction of its own
// (Connection::RunApart), committed at once. A failed insert rolls back, shows
// the table's message and throws the error on.
//
// Several workstations may add the same text, or take the same id, at the same
// moment. A unique key on the id and on the upper-cased text (sql/) refuses the
// second insert; the loser looks the text up again (in a new transaction, so it
// sees the winner's row) and takes that row, or tries the next free id.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::import {

// The statements and the failure message of one classifier table.
struct ClassifierTable {
  const char*
      lookupSql;  // gives the id in its first column; one string parameter:
  const char* lookupParam;  // this one, bound to the upper-cased text
  const char* textColumn;   // the column the text is stored in, named in errors
  const char* maxSql;       // the greatest id of the table
  const char* insertSql;  // parameters :id and :text (and any the caller binds)
  const char* failMessage;      // shown when the insert fails
  int32_t idLimit = INT32_MAX;  // the greatest id the table's users can hold
};

// The id of the first row the look-up gives for the upper-cased text, or
// nothing. A text the database could not store is refused with zrv::Error
// before any statement runs.
std::optional<int32_t> LookUpClassifier(db::Connection& db,
                                        const ClassifierTable& table,
                                        const std::string& text);

// The greatest id of the table + 1; 1 for an empty table. Throws zrv::Error
// when that id would pass the table's id limit.
int32_t NextClassifierId(db::Connection& db, const ClassifierTable& table);

// Runs the table's insert with `bind` setting its parameters, in a short
// transaction of its own that it commits (Connection::RunApart).
// On an error: rolls back its own transaction, shows the table's message,
// throws the error on.
void InsertClassifierRow(db::Connection& db, ui::Messages& messages,
                         const ClassifierTable& table,
                         const std::function<void(db::Query&)>& bind);

// Inserts the text with the next free id through `insertWithId`; when another
// workstation's row takes the id or the text first (a unique-key violation),
// gives the id of that row when `lookUp` finds the text now, else tries the
// next id, a few times at most. Gives the id of the row that holds the text.
int32_t AddClassifierRace(
    db::Connection& db, const ClassifierTable& table,
    const std::function<void(int32_t id)>& insertWithId,
    const std::function<std::optional<int32_t>()>& lookUp);

// LookUpClassifier in a short transaction of its own, which sees every entry
// committed so far (the caller's snapshot may be older).
std::optional<int32_t> LookUpCommittedClassifier(db::Connection& db,
                                                 const ClassifierTable& table,
                                                 const std::string& text);

// Adds a row (the next id, the text as given) to a table whose rows are (id,
// text) and gives its id (or that of the same text another workstation has
// just added).
int32_t AddClassifier(db::Connection& db, ui::Messages& messages,
                      const ClassifierTable& table, const std::string& text);

// Find-or-add for a table whose rows are (id, text): the id found in the
// caller's transaction or among the entries committed since, or the id of the
// row added with the text as given.
int32_t GetOrInsertClassifier(db::Connection& db, ui::Messages& messages,
                              const ClassifierTable& table,
                              const std::string& text);

}  // namespace zrv::import
