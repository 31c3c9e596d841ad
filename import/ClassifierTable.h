#pragma once
// The find-or-add pattern shared by the classifier tables: look the upper-cased
// text up, and when it is missing look again, take the greatest id + 1 and
// insert the row, all three in one short transaction of its own
// (EntryTransactions) committed at once, apart from the row that names the
// text. A failed insert rolls back, shows the table's message and throws the
// error on.
//
// Several workstations may add the same text, or take the same id, at the same
// moment. A unique key on the id and on the upper-cased text (sql/) refuses the
// second insert; the loser looks the text up again (in a new transaction, so it
// sees the winner's row) and takes that row, or tries the next free id.
// Between the look-up and the insert of one entry's transaction the winner may
// commit; the unique key catches that case too.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "import/EntryTransactions.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::import {

// The statements and the failure message of one classifier table (the tables
// themselves are ClassifierStore's).
struct ClassifierTable {
  const char* name;             // the table, as the run history names it
  const char* lookupSql;        // gives the id in its first column; one string parameter:
  const char* lookupParam;      // this one, bound to the upper-cased text
  const char* textColumn;       // the column the text is stored in, named in errors
  const char* maxSql;           // the greatest id of the table
  const char* insertSql;        // parameters :id and :text (and any the caller binds)
  const char* failMessage;      // shown when the insert fails
  int32_t idLimit = INT32_MAX;  // the greatest id the table's users can hold
};

// The id of the first row the look-up gives in `tx` for the upper-cased text,
// or nothing. A text the database could not store is refused with zrv::Error
// before any statement runs.
std::optional<int32_t> LookUpClassifier(db::Transaction& tx, const ClassifierTable& table,
                                        const std::string& text);

// The greatest id of the table + 1; 1 for an empty table. Throws zrv::Error
// when that id would pass the table's id limit.
int32_t NextClassifierId(db::Transaction& tx, const ClassifierTable& table);

// Binds the parameters a table's insert has beyond :id and :text.
using BindExtra = std::function<void(db::Query&)>;
// Finds the text among the entries committed so far; nothing when absent.
using CommittedLookUp = std::function<std::optional<int32_t>()>;

// Adds a row with the next free id and the text as given (and what
// `bindExtra` binds) and gives its id, in ONE short transaction of `entries`:
// the table's look-up (when the caller gives no `lookUp`), the greatest id and
// the insert. That transaction sees every entry committed so far, so a text
// another workstation added meanwhile is found there and its id given. When
// another workstation's row takes the id or the text first (a unique-key
// violation), the transaction rolls back and the text is looked for again
// (by `lookUp` when given, else in the next attempt's transaction); found, its
// id is given, else the next id is tried, a few times at most. Any other error
// of the insert or its commit rolls back, shows the table's message and is
// thrown on (a lock conflict without the message: the row that named the text
// is tried again); errors of the look-up or the greatest id show none.
int32_t AddClassifier(EntryTransactions& entries, ui::Messages& messages,
                      const ClassifierTable& table, const std::string& text,
                      const BindExtra& bindExtra = {}, const CommittedLookUp& lookUp = {});

// Find-or-add: the id found in the row's transaction `tx`, else what
// AddClassifier finds among the entries committed since or adds.
int32_t GetOrInsertClassifier(db::Transaction& tx, EntryTransactions& entries,
                              ui::Messages& messages, const ClassifierTable& table,
                              const std::string& text, const BindExtra& bindExtra = {});

}  // namespace zrv::import
