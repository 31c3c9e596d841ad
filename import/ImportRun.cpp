#include "import/ImportRun.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

#include "common/Dates.h"
#include "common/Error.h"
#include "common/Text.h"
#include "contracts/AppIdentifier.h"
#include "contracts/BaseDoc.h"
#include "contracts/Characteristics.h"
#include "contracts/ObjectDB.h"
#include "contracts/PHPCalc.h"
#include "contracts/RentKinds.h"
#include "contracts/RentTypes.h"
#include "contracts/StoredContract.h"
#include "contracts/store/ContractStore.h"
#include "import/AreaUnits.h"
#include "import/CellReader.h"
#include "import/Classifiers.h"
#include "import/ColumnMap.h"
#include "import/ErrorList.h"
#include "import/FileLinks.h"
#include "import/HeaderCheck.h"
#include "import/HeldMessages.h"
#include "import/ImportLookups.h"
#include "import/ImportRunCounts.h"
#include "import/ImportRunLog.h"
#include "import/RefusedRows.h"
#include "import/RowReader.h"
#include "import/RowResolver.h"
#include "import/RowWriter.h"
#include "import/RunRecorder.h"
#include "import/RunState.h"
#include "import/RunTrace.h"
#include "import/RunTransactions.h"
#include "platform/system/FileFacts.h"
#include "platform/system/HostName.h"
#include "platform/workbook/Workbook.h"
#include "schedule/RebuildSchedule.h"

namespace zrv::import {

namespace {

const char* const kEnterMunicipality = "Моля, въведете името на общината";
const char* const kMunicipalityFailed = "Проблем при запис на община";
const char* const kRowFailed = "Проблем при запис в БД на ред : ";
const char* const kNotStarted = "The import run was not started.";
const char* const kInterruptedAt = "Импортирането е прекъснато на ред ";
const char* const kConnectionLost = "Връзката с базата данни е прекъсната и импортирането спря: ";
const char* const kDatabaseFailed = "Базата данни не може да записва и импортирането спря: ";
const char* const kWorkbookLost =
    "Работната книга не може да бъде прочетена отново и импортирането спря: ";
const char* const kRecordNotCompleted = "Краят на импортирането не е записан в историята: ";
const char* const kLastStored = ". Последен записан ред: ";
const char* const kNoneStored = ". Няма записан ред.";
constexpr int32_t kDefaultFirstRow = 2;
const char* const kAlreadyStored = "Договорът вече е записан";
const char* const kGoOnPastHeader = "Да продължи ли импортирането въпреки това?";
// Why a row is tried again when its contract key was taken meanwhile.
const char* const kKeyTakenMeanwhile = "The contract was stored by another workstation meanwhile.";
// A row that kept failing because another workstation was writing the same
// data (a tenant, a property, a link to the same property) at that moment.
const char* const kConcurrentWrite =
    "Редът не е записан, защото друга работна станция записваше същите данни "
    "в същия момент; импортирайте го отново";
// Tries of such a row before it is left for another import, and the longest
// pause before the second try (random, growing with every further try).
constexpr int kRowAttempts = 8;
constexpr int kFirstPauseMs = 40;

// An error message as one line of the list: line breaks become blanks.
std::string OneLine(const std::string& text) {
  std::string line = text;
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return Trim(line);
}

// The line of a run that an error stopped: what stopped it, the error, and
// the last row stored.
std::string StopReason(const char* what, const std::exception& error,
                       const ImportSummary& summary) {
  std::string cause = OneLine(error.what());
  while (!cause.empty() && cause.back() == '.') cause.pop_back();
  return what + cause +
         (summary.lastStoredRow > 0 ? kLastStored + std::to_string(summary.lastStoredRow) + "."
                                    : std::string(kNoneStored));
}

// Thrown inside a row when the observer asks the run to stop.
struct StopRequest {};

// A random pause before try `attempt` + 1 of a row, so that two workstations
// that met on the same data do not meet again at once.
void PauseBeforeRetry(int attempt) {
  static thread_local std::minstd_rand random{std::random_device{}()};
  const int longest = kFirstPauseMs << std::min(attempt - 1, 4);
  std::uniform_int_distribution<int> pause(longest / 4, longest);
  std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
}

}  // namespace

// Classifier entries go through the transactions of the run in progress, and
// outside a run into short transactions of their own.
// An entry added is recorded in the run's trace.
class CurrentEntries : public EntryTransactions {
 public:
  CurrentEntries(db::Connection& connection, RunTrace& trace) : plain_(connection), trace_(trace) {}
  void Use(RunTransactions* run) { run_ = run; }
  void Apart(const std::function<void(db::Transaction&)>& work) override {
    if (run_)
      run_->Apart(work);
    else
      plain_.Apart(work);
  }
  void Added(db::Transaction& tx, const char* table, int32_t id) override {
    trace_.Record(tx, {TraceKind::kEntry, id, 0, table});
  }
  std::optional<int32_t> Known(const char* table, const std::string& text) const override {
    return run_ ? run_->Known(table, text) : std::nullopt;
  }
  void Remember(const char* table, const std::string& text, int32_t id) override {
    if (run_) run_->Remember(table, text, id);
  }

 private:
  ShortTransactions plain_;
  RunTransactions* run_ = nullptr;
  RunTrace& trace_;
};

struct ImportRun::Impl {
  Impl(const RunContext& context, ui::Messages& boxes)
      : db(context.connection),
        messages(boxes),
        userId(context.userId),
        userName(context.userName),
        scheduleSettings(context.scheduleSettings),
        entries(context.connection, trace),
        classifiers(entries, messages, state, rentTypes),
        lookups(classifiers),
        resolver(lookups, errors, rentKinds),
        writer(errors, messages, rentKinds, trace) {
    errors.Subscribe([this](const std::string& line) {
      if (observer) observer->LineAdded(line);
    });
  }

  RunResult Run(const ImportOptions& options, const WorkbookChooser& chooseWorkbook);
  bool CheckMunicipality(const std::string& name, RunResult& result);
  bool HeaderAccepted(const workbook::Worksheet& sheet, int firstRow, const ImportOptions& options,
                      RunResult& result);
  void ReadRows(const workbook::Worksheet& sheet, int firstRow, const ImportOptions& options,
                RunResult& result);
  // Reads the rows up to the end of the sheet, or up to a stop request: then
  // the row it stopped at.
  std::optional<int> RowLoop(const workbook::Worksheet& sheet, int firstRow,
                             const ImportOptions& options, RunResult& result);
  // Commits the open batch of rows, and keeps `summary` as what is committed.
  void CommitBatch(const ImportSummary& summary);
  // The open batch is lost (the connection is gone, the commit failed):
  // what is reported returns to what is committed.
  void LoseBatch(ImportSummary& summary);
  bool StopRequested() const { return observer && observer->StopRequested(); }
  void StopRun(RunResult& result, RunOutcome outcome, const std::string& line);
  bool EmptyRow(const CellReader& cells, int row) const;
  void TryRow(int row, const CellReader& cells, contracts::TBaseDoc& contract,
              contracts::TObektDB& property, const ImportOptions& options, ImportSummary& summary);
  void RowStep(int row, const CellReader& cells, contracts::TBaseDoc& contract,
               contracts::TObektDB& property, const ImportOptions& options, ImportSummary& summary,
               bool firstTry);
  void SkipStoredRow(int row, ImportSummary& summary);
  // Adds a committed row's annex figures, and keeps its refused annex rows.
  void CountAnnexes(const AnnexCounts& annexes, ImportSummary& summary);
  // The record of a real run on the workbook `path`, as it starts.
  RunRecord NewRecord(const std::string& path, const ImportOptions& options, int firstRow) const;
  // Writes the run's end into its record; a failure is shown, not thrown.
  void CompleteRecord(RunRecorder& recorder, const RunResult& result);
  void SaveLog(const std::string& workbookPath, const ImportOptions& options,
               const workbook::Worksheet& sheet, int firstRow, ImportSummary& summary);

  db::Connection& db;
  HeldMessages messages;  // held while a row is being stored
  int32_t userId;
  std::string userName;
  // Read at start-up; no step of the import depends on them.
  schedule::DocInfoSettings scheduleSettings;
  bool started = false;
  bool contractKeys = false;  // the database keeps contract keys
  bool registerKeys = false;  // ... and person and property keys

  contracts::TPHPCommonTasks calculator;  // no calculator engine is attached
  std::unique_ptr<contracts::TCharacteristicsCommonTasks> characteristics;
  contracts::RentTypeTable rentTypes;
  contracts::RentKinds rentKinds;
  ImportRunState state;
  // What a real run stores, recorded under its number in the run history.
  RunTrace trace;
  CurrentEntries entries;
  // The transactions of the run in progress; null between runs.
  RunTransactions* transactions = nullptr;
  Classifiers classifiers;
  ErrorList errors;
  ImportLookups lookups;
  RowResolver resolver;
  RowWriter writer;
  // The tenant's representative and the tenant of the row in progress; they
  // carry the fields a row does not set over to the next row.
  contracts::TPersonSrchRec representative;
  contracts::TPersonSrchRec tenant;
  RefusedRows refused;
  ImportObserver* observer = nullptr;
  // The annex rows the last committed row refused (for the workbook of rows
  // to correct).
  std::vector<int> droppedAnnexRows;
  // The contracts stored by the run in progress.
  std::vector<StoredContractRow> storedContracts;
  // The run's figures and stored contracts as of its last commit: a batch
  // that is lost takes its rows with it.
  ImportSummary committed;
  size_t committedContracts = 0;
};

ImportRun::ImportRun(const RunContext& context, ui::Messages& messages)
    : impl_(std::make_unique<Impl>(context, messages)) {}

ImportRun::~ImportRun() = default;

void ImportRun::Start() {
  auto& s = *impl_;
  s.characteristics =
      std::make_unique<contracts::TCharacteristicsCommonTasks>(s.db, s.messages, s.calculator);
  s.entries.Apart([&](db::Transaction& tx) {
    s.contractKeys = contracts::HasContractKeys(tx);
    s.registerKeys = contracts::HasRegisterKeys(tx);
  });
  s.started = true;
}

RunResult ImportRun::Run(const ImportOptions& options, const WorkbookChooser& chooseWorkbook,
                         ImportObserver* observer) {
  if (!impl_->started) throw Error(kNotStarted);
  impl_->observer = observer;
  RunResult result = impl_->Run(options, chooseWorkbook);
  impl_->observer = nullptr;
  return result;
}

const std::vector<std::string>& ImportRun::ErrorLines() const { return impl_->errors.Lines(); }

const std::vector<int>& ImportRun::ErrorRows() const { return impl_->errors.Rows(); }

bool ImportRun::Impl::CheckMunicipality(const std::string& name, RunResult& result) {
  try {
    bool found = false;
    if (!name.empty()) {
      transactions->Outside(
          [&](db::Transaction& tx) { found = classifiers.CheckMunicipality(tx, name); });
    }
    if (found) return true;
    result.reason = kEnterMunicipality;
  } catch (const std::exception& e) {
    result.reason = std::string(kMunicipalityFailed) + e.what();
  }
  messages.ShowMessage(result.reason);
  return false;
}

// The row above the first data row against the template's titles: a mismatch
// is one message before the first row. False when the run must not go on: the
// header was refused (strictHeader) or the user would not go on.
bool ImportRun::Impl::HeaderAccepted(const workbook::Worksheet& sheet, int firstRow,
                                     const ImportOptions& options, RunResult& result) {
  if (firstRow < 2) return true;  // no row above the data: nothing to compare
  const CellReader cells(&sheet);
  std::vector<std::string> header;
  for (int column = 1; column <= kHeaderColumnsRead; ++column)
    header.push_back(cells.ReadCell(firstRow - 1, column));
  const std::string mismatch = HeaderMismatch(header, firstRow - 1);
  if (mismatch.empty()) return true;
  if (options.strictHeader) {
    result.reason = mismatch;
    messages.ShowMessage(mismatch);
    return false;
  }
  if (messages.Ask(mismatch, kGoOnPastHeader, true)) return true;
  result.outcome = RunOutcome::kCancelled;
  result.reason = mismatch;
  return false;
}

RunResult ImportRun::Impl::Run(const ImportOptions& options,
                               const WorkbookChooser& chooseWorkbook) {
  const auto began = std::chrono::steady_clock::now();
  RunResult result;
  const std::optional<int> classifiersBefore = CountClassifierRows(entries);
  result.summary.checkOnly = options.checkOnly;
  // Declared before everything the run counts, so that a dry run counts what
  // it would have stored before it rolls it back.
  RunTransactions runTransactions(db, options.checkOnly);
  struct InUse {
    InUse(Impl& impl, RunTransactions& run) : impl(impl) {
      impl.transactions = &run;
      impl.entries.Use(&run);
    }
    ~InUse() {
      impl.transactions = nullptr;
      impl.entries.Use(nullptr);
    }
    Impl& impl;
  } inUse(*this, runTransactions);
  // A real run records what it stores from its first entry on; the record
  // itself is written once the workbook is known.
  struct Tracing {
    Tracing(RunTrace& trace, bool real) : trace(trace) {
      if (real)
        trace.Hold();
      else
        trace.Off();
    }
    ~Tracing() { trace.Off(); }
    RunTrace& trace;
  } tracing(trace, !options.checkOnly);
  std::optional<RunRecorder> recorder;
  if (!CheckMunicipality(options.municipality, result)) return result;

  const std::optional<std::string> path = chooseWorkbook ? chooseWorkbook() : std::nullopt;
  std::error_code ignored;
  if (!path || !std::filesystem::exists(*path, ignored)) {
    result.outcome = RunOutcome::kCancelled;
    return result;
  }

  errors.Clear();
  refused.Clear();
  storedContracts.clear();
  if (observer) observer->ListCleared();
  std::unique_ptr<workbook::Worksheet> sheet;
  int32_t firstRow = kDefaultFirstRow;
  // A first row below 1 would walk billions of rows before the sheet.
  if (!TryParseInt(options.firstRowText, firstRow) || firstRow < 1) firstRow = kDefaultFirstRow;
  try {
    if (!options.checkOnly) {
      recorder.emplace(db);
      recorder->Begin(NewRecord(*path, options, firstRow), trace);
      result.summary.runId = recorder->Id();
    }
    sheet = workbook::OpenFirstWorksheet(*path);
    // The rent types are read again for every run: since the last one an undo
    // (here or on another workstation) may have removed a type the table
    // holds, and a dry run's rollback took away the types it added.
    transactions->Outside([&](db::Transaction& tx) {
      classifiers.LoadSettlements(tx);
      rentTypes.LoadRentTypes(tx, kAppID, messages);
    });
    // A header refused ends the run here; its record says so.
    if (HeaderAccepted(*sheet, firstRow, options, result)) {
      result.outcome = RunOutcome::kFinished;
      ReadRows(*sheet, firstRow, options, result);
    }
  } catch (const workbook::SheetRereadError& e) {
    // The rows stored before stay; the rest of the sheet is unknown.
    StopRun(result, RunOutcome::kWorkbookLost, StopReason(kWorkbookLost, e, result.summary));
    messages.ShowMessage(result.reason);
  } catch (const std::exception& e) {
    // The workbook could not be opened or the settlements could not be loaded:
    // nothing of the workbook has been written.
    result.reason = e.what();
    messages.ShowMessage(result.reason);
  }
  if (result.outcome != RunOutcome::kNotStarted)
    SaveLog(*path, options, *sheet, firstRow, result.summary);
  const std::optional<int> classifiersAfter = CountClassifierRows(entries);
  result.summary.classifierEntriesAdded =
      classifiersBefore && classifiersAfter ? *classifiersAfter - *classifiersBefore : -1;
  result.summary.elapsedSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  if (recorder) CompleteRecord(*recorder, result);
  result.storedContracts = std::move(storedContracts);
  storedContracts.clear();
  return result;
}

RunRecord ImportRun::Impl::NewRecord(const std::string& path, const ImportOptions& options,
                                     int firstRow) const {
  const system::FileFacts facts = system::ReadFileFacts(path);
  RunRecord record;
  record.userId = userId;
  record.userName = userName;
  record.host = system::HostName();
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  record.workbook = absolute.empty() ? path : absolute.string();
  record.size = static_cast<double>(facts.size);
  record.sha256 = facts.sha256;
  record.municipality = options.municipality;
  record.firstRow = firstRow;
  return record;
}

void ImportRun::Impl::CompleteRecord(RunRecorder& recorder, const RunResult& result) {
  // Without a connection, or on a database that cannot write, the record
  // stays without an end, as the run's stop message says.
  if (result.outcome == RunOutcome::kConnectionLost ||
      result.outcome == RunOutcome::kDatabaseFailed)
    return;
  try {
    ImportSummary summary = result.summary;
    std::error_code ignored;
    if (!summary.logFile.empty())
      summary.logFile = std::filesystem::absolute(summary.logFile, ignored).string();
    recorder.Complete(result.outcome, summary);
  } catch (const std::exception& e) {
    messages.ShowMessage(kRecordNotCompleted + std::string(e.what()));
  }
}

bool ImportRun::Impl::EmptyRow(const CellReader& cells, int row) const {
  return cells.ReadCell(column::kContractNumber, row).empty() &&
         cells.ReadCell(column::kDrawnUpDate, row).empty() &&
         cells.ReadCell(column::kStartDate, row).empty();
}

void ImportRun::Impl::StopRun(RunResult& result, RunOutcome outcome, const std::string& line) {
  result.outcome = outcome;
  result.reason = line;
  errors.Add(line);
}

void ImportRun::Impl::ReadRows(const workbook::Worksheet& sheet, int firstRow,
                               const ImportOptions& options, RunResult& result) {
  ImportSummary& summary = result.summary;
  committed = summary;
  committedContracts = storedContracts.size();
  std::exception_ptr workbookLost;
  try {
    std::optional<int> stoppedAt;
    try {
      stoppedAt = RowLoop(sheet, firstRow, options, result);
    } catch (const workbook::SheetRereadError&) {
      // The rows read before stay stored; the caller reports the workbook.
      workbookLost = std::current_exception();
    }
    CommitBatch(summary);
    if (stoppedAt)
      StopRun(result, RunOutcome::kInterrupted, kInterruptedAt + std::to_string(*stoppedAt) + ".");
  } catch (const db::ConnectionLostError& e) {
    LoseBatch(summary);
    // A statement the program aborted to stop on a signal: a stop.
    if (StopRequested()) {
      StopRun(result, RunOutcome::kInterrupted,
              kInterruptedAt + std::to_string(summary.lastRow) + ".");
      return;
    }
    StopRun(result, RunOutcome::kConnectionLost, StopReason(kConnectionLost, e, summary));
    messages.ShowMessage(result.reason);
    return;
  } catch (const db::DbError& e) {
    // A database that cannot write (disk full, damaged), or a commit refused
    // for another reason: the open batch is not stored.
    LoseBatch(summary);
    StopRun(result, RunOutcome::kDatabaseFailed, StopReason(kDatabaseFailed, e, summary));
    messages.ShowMessage(result.reason);
    return;
  }
  if (workbookLost) std::rethrow_exception(workbookLost);
}

void ImportRun::Impl::CommitBatch(const ImportSummary& summary) {
  transactions->Commit();
  committed = summary;
  committedContracts = storedContracts.size();
}

void ImportRun::Impl::LoseBatch(ImportSummary& summary) {
  transactions->Abandon();
  const int lastRow = summary.lastRow;
  summary = committed;
  summary.lastRow = lastRow;
  storedContracts.resize(committedContracts);
}

std::optional<int> ImportRun::Impl::RowLoop(const workbook::Worksheet& sheet, int firstRow,
                                            const ImportOptions& options, RunResult& result) {
  ImportSummary& summary = result.summary;
  const CellReader cells(&sheet);
  const int lastRow = cells.UsedRowCount() + 1;
  summary.rowsTotal = lastRow >= firstRow ? lastRow - firstRow + 1 : 0;
  if (observer) observer->RowsStarting(summary.rowsTotal);

  contracts::TBaseDoc contract(db, *characteristics, calculator, userId);
  contracts::TObektDB property(db);

  for (int row = firstRow; row <= lastRow; ++row) {
    summary.lastRow = row;
    // Rows that repeat the number of the contract read last are its annex rows,
    // already read.
    const bool annexRow = cells.ReadCell(column::kContractNumber, row) == contract.NumberText;
    if (!annexRow) {
      if (EmptyRow(cells, row) && EmptyRow(cells, row + 1)) break;
      const size_t linesBefore = errors.Lines().size();
      const int refusedBefore = summary.rowsRefused;
      try {
        TryRow(row, cells, contract, property, options, summary);
      } catch (const StopRequest&) {
        return row;
      }
      std::vector<std::string> lines(errors.Lines().begin() + linesBefore, errors.Lines().end());
      if (summary.rowsRefused > refusedBefore) {
        refused.AddRefused(row, std::move(lines));
      } else if (!droppedAnnexRows.empty()) {
        refused.AddRefusedAnnexes(row, droppedAnnexRows, std::move(lines));
      } else {
        refused.AddStored();
      }
      if (transactions->CommitDue()) CommitBatch(summary);
    } else {
      refused.AddAnnexRow(row);
    }
    if (observer) observer->RowDone(row, row - firstRow + 1, summary.rowsTotal);
  }
  return std::nullopt;
}

void ImportRun::Impl::TryRow(int row, const CellReader& cells, contracts::TBaseDoc& contract,
                             contracts::TObektDB& property, const ImportOptions& options,
                             ImportSummary& summary) {
  // A try that fails because another workstation wrote the same data at the
  // same moment leaves no trace: its transaction is rolled back, and its
  // lines, boxes, figures and the person records it filled are taken back
  // before the row is read again from its cells.
  const HeldMessages::Hold hold(messages);
  const ImportSummary summaryBefore = summary;
  const contracts::TPersonSrchRec representativeBefore = representative;
  const contracts::TPersonSrchRec tenantBefore = tenant;
  // A dry run keeps one snapshot for the whole run: a try again would meet the
  // same write.
  const int attempts = options.checkOnly ? 1 : kRowAttempts;
  for (int attempt = 1;; ++attempt) {
    const size_t mark = errors.Hold();
    try {
      if (StopRequested()) throw StopRequest{};
      RowStep(row, cells, contract, property, options, summary, attempt == 1);
      if (attempt > 1) ++summary.rowsRetried;
      errors.Publish();
      // A box waits for the clerk, and the batch's locks must not wait with
      // it.
      if (messages.HasHeld()) CommitBatch(summary);
      return;
    } catch (const db::ConflictError&) {
    } catch (const db::DuplicateKeyError&) {
    } catch (...) {
      errors.Publish();
      throw;
    }
    errors.TakeBack(mark);
    messages.DiscardHeld();
    summary = summaryBefore;
    representative = representativeBefore;
    tenant = tenantBefore;
    // The rows before it are committed, and the next try begins a batch
    // whose snapshot sees the other workstation's write; the other
    // workstation, if it waits for this batch's locks, goes on.
    CommitBatch(summary);
    if (attempt == attempts) {
      if (attempts > 1) ++summary.rowsRetried;
      break;
    }
    PauseBeforeRetry(attempt);
  }
  ++summary.rowsRead;
  ++summary.rowsBusy;
  messages.ShowMessage(kRowFailed + std::to_string(row) + " " + kConcurrentWrite);
  errors.ReportFatal(kConcurrentWrite, row);
  errors.Publish();
}

void ImportRun::Impl::RowStep(int row, const CellReader& cells, contracts::TBaseDoc& contract,
                              contracts::TObektDB& property, const ImportOptions& options,
                              ImportSummary& summary, bool firstTry) {
  ++summary.rowsRead;
  droppedAnnexRows.clear();
  std::unique_ptr<RowTransaction> transaction;
  try {
    transaction = transactions->BeginRow();
    db::Transaction& tx = transaction->Get();
    lookups.UseRow(tx);
    contract.Clear();
    property.Clear();
    const ContractRow value = ReadContractRow(cells, row);
    const RowRecords records{representative, tenant, contract, property};
    if (!resolver.Resolve(value, records)) {
      ++summary.rowsRefused;
      transaction->Rollback();
      return;
    }
    const contracts::ContractStore contractStore(tx);
    const int32_t storedId =
        options.allowDuplicates ? -1 : contractStore.FindStored(contract, property, tenant.ID);
    if (storedId != -1) {
      // Imported again: the contract stays as stored, its new annex rows are
      // added to it.
      SkipStoredRow(row, summary);
      const AnnexCounts annexes = writer.WriteAnnexesOfStored(tx, value, contract, storedId);
      if (StopRequested()) throw StopRequest{};
      transaction->Commit();
      if (annexes.stored > 0) summary.lastStoredRow = row;
      CountAnnexes(annexes, summary);
      return;
    }

    // Another workstation may be storing the same contract right now; the key,
    // claimed first, makes one of the two wait and then skip the row. A dry
    // run claims none: its keys would stay locked until the whole run ends and
    // hold up a real import of the same rows elsewhere, while its own repeated
    // rows are found by the look-up above, which sees what the run stored.
    const std::string key = options.allowDuplicates || options.checkOnly || !contractKeys
                                ? std::string()
                                : contracts::ContractKey(contract, property, tenant.EGN);
    if (!key.empty() && !contractStore.ClaimKey(key)) {
      // Stored by another workstation since this batch's snapshot began: tried
      // once more, in a new batch, the look-up then finds it and compares its annex rows. A
      // key the look-up still does not find (its contract changed since)
      // skips the row.
      if (firstTry) throw db::ConflictError(kKeyTakenMeanwhile);
      transaction.reset();  // rolls the row back
      SkipStoredRow(row, summary);
      return;
    }
    const AnnexCounts annexes = writer.WriteContract(
        tx, value, records, registerKeys && !options.checkOnly, key, options.fileLinks);
    if (StopRequested()) throw StopRequest{};
    transaction->Commit();

    summary.lastStoredRow = row;
    ++summary.contractsStored;
    storedContracts.push_back({contract.DocID, contract.NumberText, row});
    CountAnnexes(annexes, summary);
  } catch (const db::ConnectionLostError&) {
    // Not a fault of the row: the run stops (the transaction's destructor rolls
    // the row back, as it does for a stop request).
    throw;
  } catch (const db::ConflictError&) {
    throw;  // nor another workstation's write at the same moment: tried again
  } catch (const db::DuplicateKeyError&) {
    throw;
  } catch (const db::DatabaseFailureError&) {
    throw;  // nor is a database that cannot write (disk full, damaged)
  } catch (const workbook::SheetRereadError&) {
    throw;  // nor is a workbook that can no longer be read
  } catch (const std::exception& e) {
    ++summary.rowsRefused;
    // Rolled back now, not when the row's boxes are shown; a connection that
    // is gone drops the transaction itself, and the row's error is the one to
    // report.
    transaction.reset();
    messages.ShowMessage(kRowFailed + std::to_string(row) + " " + e.what());
    errors.ReportMissing(OneLine(e.what()), row, true);
  }
}

void ImportRun::Impl::CountAnnexes(const AnnexCounts& annexes, ImportSummary& summary) {
  summary.annexesStored += annexes.stored;
  summary.annexesSkipped += annexes.skipped;
  summary.annexesDropped += annexes.dropped;
  droppedAnnexRows = annexes.droppedRows;
}

void ImportRun::Impl::SkipStoredRow(int row, ImportSummary& summary) {
  errors.ReportWarning(kAlreadyStored, row);
  ++summary.rowsSkipped;
}

void ImportRun::Impl::SaveLog(const std::string& workbookPath, const ImportOptions& options,
                              const workbook::Worksheet& sheet, int firstRow,
                              ImportSummary& summary) {
  if (errors.Empty()) return;
  const TDate moment = Now();
  const std::string name = LogFileName(workbookPath, moment);
  const std::string path = options.logFolder.empty() ? name : options.logFolder + "/" + name;
  try {
    WriteLogFile(path, errors.Lines());
    summary.logFile = path;
    summary.logMoment = moment;
  } catch (const std::exception& e) {
    summary.logProblem = e.what();
    messages.ShowMessage(e.what());
  }
  const std::string refusedPath = RefusedRowsFileName(path);
  try {
    if (refused.Write(refusedPath, sheet, firstRow)) summary.refusedRowsFile = refusedPath;
  } catch (const std::exception& e) {
    summary.refusedRowsProblem = e.what();
    messages.ShowMessage(e.what());
  }
}

}  // namespace zrv::import
