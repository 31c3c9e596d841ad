#include "import/store/RunStore.h"

#include <cmath>
#include <memory>

#include "import/store/EntryTables.h"

namespace zrv::import {
namespace {

const char* const kNextRunId = "SELECT GEN_ID(gen_import_runs_id, 1) FROM RDB$DATABASE";
const char* const kInsertRun =
    "INSERT INTO import_runs (run_id, run_userid, run_username, run_host,"
    " run_started, run_workbook, run_size, run_sha256, run_municipality,"
    " run_firstrow)\n"
    "VALUES (:id, :userid, :username, :host, CURRENT_TIMESTAMP, :workbook,"
    " :size, :sha256, :municipality, :firstrow)";
const char* const kHoldRun = "UPDATE import_runs SET run_ended = run_ended WHERE run_id = :id";
const char* const kCompleteRun =
    "UPDATE import_runs SET run_ended = CURRENT_TIMESTAMP,"
    " run_outcome = :outcome, run_rowsread = :rowsread, run_stored = :stored,"
    " run_skipped = :skipped, run_refused = :refused, run_busy = :busy,"
    " run_annexes = :annexes, run_annexesskipped = :annexesskipped,"
    " run_annexesrefused = :annexesrefused, run_entries = :entries,"
    " run_log = :log\n"
    "WHERE run_id = :id";
const char* const kSelectRuns =
    "SELECT run_id, run_userid, run_username, run_host, run_started,"
    " run_ended, run_workbook, run_size, run_sha256, run_municipality,"
    " run_firstrow, run_outcome, run_rowsread, run_stored, run_skipped,"
    " run_refused, run_busy, run_annexes, run_annexesskipped,"
    " run_annexesrefused, run_entries, run_log, run_undone, run_undoneby,"
    " run_undonebyname, run_undonehost\n"
    "FROM import_runs";
const char* const kOrderNewestFirst = "\nORDER BY run_id DESC";
const char* const kWhereId = "\nWHERE run_id = :id";
const char* const kForUpdate = "\nFOR UPDATE WITH LOCK";
const char* const kMarkUndone =
    "UPDATE import_runs SET run_undone = CURRENT_TIMESTAMP,"
    " run_undoneby = :userid, run_undonebyname = :username,"
    " run_undonehost = :host\n"
    "WHERE run_id = :id";

const char* const kInsertItem =
    "INSERT INTO import_run_items (it_seq, it_run, it_kind, it_id, it_num,"
    " it_table, it_oldstop, it_oldterm, it_oldprevstop)\n"
    "VALUES (GEN_ID(gen_import_run_items_seq, 1), :run, :kind, :id, :num,"
    " :tbl, :oldstop, :oldterm, :oldprevstop)";
const char* const kSelectItems =
    "SELECT i.it_kind, i.it_id, i.it_num, i.it_table, i.it_oldstop,"
    " i.it_oldterm, i.it_oldprevstop, d.doc_nomtxt, p.per_name,"
    " m.im_address, s.st_ftpname\n"
    "FROM import_run_items i\n"
    "LEFT JOIN documents d ON i.it_kind IN (1, 2) AND d.doc_id = i.it_id\n"
    "LEFT JOIN persons p ON i.it_kind = 4 AND p.per_id = i.it_id\n"
    "LEFT JOIN imot m ON i.it_kind = 5 AND m.im_id = i.it_id\n"
    "LEFT JOIN storage s ON i.it_kind = 3 AND s.st_id = i.it_id"
    " AND s.st_num = i.it_num\n"
    "WHERE i.it_run = :run\n"
    "ORDER BY i.it_seq";
const char* const kSelectContractTerms =
    "SELECT doc_datastop, da_if2 FROM documents WHERE doc_id = :id";
const char* const kSelectAnnexBefore =
    "SELECT FIRST 1 an_dtstop FROM anecs WHERE an_id = :id AND an_num < :num"
    " ORDER BY an_num DESC";

double DateOrZero(const db::Field& field) { return field.IsNull() ? 0 : field.AsDateTime(); }

void SetDateOrNull(db::Query& query, const std::string& param, TDate date) {
  if (date == 0)
    query.SetNull(param);
  else
    query.SetDateTime(param, date);
}

RunRecord ReadRecord(const db::Query& q) {
  RunRecord r;
  int c = 0;
  r.id = q.FieldAt(c++).AsInteger();
  r.userId = q.FieldAt(c++).AsInteger();
  r.userName = q.FieldAt(c++).AsString();
  r.host = q.FieldAt(c++).AsString();
  r.started = DateOrZero(q.FieldAt(c++));
  r.ended = DateOrZero(q.FieldAt(c++));
  r.workbook = q.FieldAt(c++).AsString();
  r.size = q.FieldAt(c++).AsFloat();
  r.sha256 = q.FieldAt(c++).AsString();
  r.municipality = q.FieldAt(c++).AsString();
  r.firstRow = q.FieldAt(c++).AsInteger();
  r.outcome = q.FieldAt(c++).AsString();
  for (int32_t* count : {&r.rowsRead, &r.stored, &r.skipped, &r.refused, &r.busy, &r.annexes,
                         &r.annexesSkipped, &r.annexesRefused, &r.entries})
    *count = q.FieldAt(c++).AsInteger();
  r.logFile = q.FieldAt(c++).AsString();
  r.undone = DateOrZero(q.FieldAt(c++));
  r.undoneBy = q.FieldAt(c++).AsInteger();
  r.undoneByName = q.FieldAt(c++).AsString();
  r.undoneHost = q.FieldAt(c++).AsString();
  return r;
}

TraceItem ReadItem(const db::Query& q) {
  TraceItem item;
  item.kind = static_cast<TraceKind>(q.FieldAt(0).AsInteger());
  item.id = q.FieldAt(1).AsInteger();
  item.number = q.FieldAt(2).AsInteger();
  item.table = q.FieldAt(3).AsString();
  item.oldStop = DateOrZero(q.FieldAt(4));
  if (!q.FieldAt(5).IsNull()) item.oldTerm = q.FieldAt(5).AsInteger();
  item.oldPreviousStop = DateOrZero(q.FieldAt(6));
  return item;
}

}  // namespace

int32_t RunStore::Insert(const RunRecord& r) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kNextRunId);
  q->Open();
  const int32_t id = q->FieldAt(0).AsInteger();
  q->SetSQL(kInsertRun);
  q->SetInteger("id", id);
  q->SetInteger("userid", r.userId);
  q->SetString("username", r.userName);
  q->SetString("host", r.host);
  q->SetString("workbook", r.workbook);
  q->SetFloat("size", r.size);
  q->SetString("sha256", r.sha256);
  q->SetString("municipality", r.municipality);
  q->SetInteger("firstrow", r.firstRow);
  q->Execute();
  return id;
}

void RunStore::Hold(int32_t runId) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kHoldRun);
  q->SetInteger("id", runId);
  q->Execute();
}

void RunStore::Complete(const RunRecord& r) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kCompleteRun);
  q->SetInteger("id", r.id);
  q->SetString("outcome", r.outcome);
  q->SetInteger("rowsread", r.rowsRead);
  q->SetInteger("stored", r.stored);
  q->SetInteger("skipped", r.skipped);
  q->SetInteger("refused", r.refused);
  q->SetInteger("busy", r.busy);
  q->SetInteger("annexes", r.annexes);
  q->SetInteger("annexesskipped", r.annexesSkipped);
  q->SetInteger("annexesrefused", r.annexesRefused);
  q->SetInteger("entries", r.entries);
  q->SetString("log", r.logFile);
  q->Execute();
}

std::vector<RunRecord> RunStore::List() const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(std::string(kSelectRuns) + kOrderNewestFirst);
  std::vector<RunRecord> records;
  for (q->Open(); !q->Eof(); q->Next()) records.push_back(ReadRecord(*q));
  return records;
}

std::optional<RunRecord> RunStore::Find(int32_t runId) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(std::string(kSelectRuns) + kWhereId);
  q->SetInteger("id", runId);
  q->Open();
  if (q->Eof()) return std::nullopt;
  return ReadRecord(*q);
}

std::optional<RunRecord> RunStore::FindForUpdate(int32_t runId) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(std::string(kSelectRuns) + kWhereId + kForUpdate);
  q->SetInteger("id", runId);
  q->Open();
  if (q->Eof()) return std::nullopt;
  return ReadRecord(*q);
}

void RunStore::MarkUndone(int32_t runId, int32_t userId, const std::string& userName,
                          const std::string& host) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kMarkUndone);
  q->SetInteger("id", runId);
  q->SetInteger("userid", userId);
  q->SetString("username", userName);
  q->SetString("host", host);
  q->Execute();
}

void RunStore::AddItem(int32_t runId, const TraceItem& item) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kInsertItem);
  q->SetInteger("run", runId);
  q->SetSmallInt("kind", static_cast<int16_t>(item.kind));
  q->SetInteger("id", item.id);
  q->SetInteger("num", item.number);
  if (item.table.empty())
    q->SetNull("tbl");
  else
    q->SetString("tbl", item.table);
  SetDateOrNull(*q, "oldstop", item.oldStop);
  if (item.oldTerm)
    q->SetInteger("oldterm", *item.oldTerm);
  else
    q->SetNull("oldterm");
  SetDateOrNull(*q, "oldprevstop", item.oldPreviousStop);
  q->Execute();
}

std::vector<TraceItem> RunStore::Items(int32_t runId) const {
  std::vector<TraceItem> items;
  for (DescribedItem& d : DescribedItems(runId)) items.push_back(std::move(d.item));
  return items;
}

std::vector<DescribedItem> RunStore::DescribedItems(int32_t runId) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kSelectItems);
  q->SetInteger("run", runId);
  std::vector<DescribedItem> items;
  for (q->Open(); !q->Eof(); q->Next()) {
    DescribedItem d{ReadItem(*q), {}};
    for (int c = 7; c <= 10 && d.text.empty(); ++c) d.text = q->FieldAt(c).AsString();
    items.push_back(std::move(d));
  }
  // Entries name tables of their own: their texts are read one by one.
  for (DescribedItem& d : items) {
    if (d.item.kind != TraceKind::kEntry) continue;
    const EntryTable* table = FindEntryTable(d.item.table);
    if (!table) continue;
    q->SetSQL(table->selectText);
    q->SetInteger("id", d.item.id);
    q->Open();
    if (!q->Eof()) d.text = q->FieldAt(0).AsString();
  }
  return items;
}

TraceItem RunStore::AddedAnnex(int32_t docId, int32_t number) const {
  TraceItem item;
  item.kind = TraceKind::kAddedAnnex;
  item.id = docId;
  item.number = number;
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kSelectContractTerms);
  q->SetInteger("id", docId);
  q->Open();
  if (!q->Eof()) {
    item.oldStop = DateOrZero(q->FieldAt(0));
    if (!q->FieldAt(1).IsNull()) item.oldTerm = q->FieldAt(1).AsInteger();
  }
  q->SetSQL(kSelectAnnexBefore);
  q->SetInteger("id", docId);
  q->SetInteger("num", number);
  q->Open();
  if (!q->Eof()) item.oldPreviousStop = DateOrZero(q->FieldAt(0));
  return item;
}

}  // namespace zrv::import
