#include "import/RunUndo.h"

#include <algorithm>
#include <map>
#include <set>

#include "common/Dates.h"
#include "common/Text.h"
#include "import/RunHistoryText.h"
#include "import/store/RunStore.h"
#include "import/store/UndoStore.h"
#include "schedule/RebuildSchedule.h"

namespace zrv::import {
namespace {

const char* const kNoSuchRun = "Няма импортиране с номер %d.";
const char* const kAlreadyUndone = "Импортирането %d вече е отменено на %s от %s.";
const char* const kStillRunning =
    "Импортирането %d още работи или друга работна станция го отменя в "
    "момента; опитайте отново по-късно.";
const char* const kBusy =
    "Друга работна станция променя същите данни в момента; опитайте отново "
    "по-късно.";
const char* const kHasPayments = "Договор %s (№ %d) има плащания: %d.";
const char* const kHasInvoices = "Договор %s (№ %d) има фактури, които чакат плащане: %d.";
const char* const kLaterRunAnnexes =
    "Към договор %s (№ %d) има анекси от по-късно импортиране: %s.";
const char* const kLaterAnnex =
    "Договор %s (№ %d) има анекс %d, добавен след анекс %d от това "
    "импортиране.";
const char* const kAnnexGone = "Анекс %d на договор %s (№ %d) вече го няма.";

const char* const kWithSchedule = " с анексите и погасителния план";
const char* const kStopAgain = "; договорът отново изтича на %s";
const char* const kKeptSuffix = ": остава, използва се другаде";

// The reasons the run's items cannot be removed.
std::vector<std::string> Refusals(const UndoStore& store, int32_t runId,
                                  const std::vector<DescribedItem>& items) {
  std::vector<std::string> refusals;
  for (const DescribedItem& d : items) {
    const TraceItem& item = d.item;
    const char* number = d.text.c_str();
    if (item.kind == TraceKind::kContract) {
      if (!store.ContractExists(item.id)) continue;
      if (const int32_t n = store.PaymentCount(item.id))
        refusals.push_back(Format(kHasPayments, number, item.id, n));
      if (const int32_t n = store.InvoiceCount(item.id))
        refusals.push_back(Format(kHasInvoices, number, item.id, n));
      const std::vector<int32_t> later = store.LaterRunsWithAnnexes(item.id, runId);
      if (!later.empty()) {
        std::string runs;
        for (int32_t r : later) runs += (runs.empty() ? "" : ", ") + std::to_string(r);
        refusals.push_back(Format(kLaterRunAnnexes, number, item.id, runs.c_str()));
      }
    } else if (item.kind == TraceKind::kAddedAnnex) {
      const int32_t last = store.LastAnnexNumber(item.id);
      if (last > item.number)
        refusals.push_back(Format(kLaterAnnex, number, item.id, last, item.number));
      else if (last < item.number)
        refusals.push_back(Format(kAnnexGone, item.number, number, item.id));
    }
  }
  return refusals;
}

// Removes the items, newest first, so each is removed after what was stored
// on it: annexes and contracts, then links, persons, properties and entries
// that nothing else uses any more.
void Remove(db::Transaction& tx, const std::vector<DescribedItem>& items, UndoReport& report) {
  const UndoStore store(tx);
  std::set<int32_t> rebuild;  // contracts stored before the run
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    const TraceItem& item = it->item;
    if (item.kind == TraceKind::kAddedAnnex) {
      store.RemoveAddedAnnex(item);
      rebuild.insert(item.id);
      report.removed.push_back(ItemText(*it) + Format(kStopAgain, FormatDMY(item.oldStop).c_str()));
    } else if (item.kind == TraceKind::kContract) {
      store.RemoveContract(item.id);
      report.removed.push_back(ItemText(*it) + kWithSchedule);
    }
  }
  for (int32_t docId : rebuild) schedule::RebuildSchedule(tx, docId, true);
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    const TraceItem& item = it->item;
    if (item.kind == TraceKind::kFileLink) {
      store.RemoveFileLink(item.id, item.number);
      report.removed.push_back(ItemText(*it));
    }
  }
  // Tenants were stored after their representatives: the newest first frees
  // the representative of a removed tenant.
  for (const TraceKind kind : {TraceKind::kPerson, TraceKind::kProperty, TraceKind::kEntry}) {
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
      const TraceItem& item = it->item;
      if (item.kind != kind) continue;
      const std::string line = ItemText(*it);
      int32_t uses = 0;
      if (kind == TraceKind::kPerson) {
        uses = store.PersonUses(item.id);
        if (uses == 0) store.RemovePerson(item.id);
      } else if (kind == TraceKind::kProperty) {
        uses = store.PropertyUses(item.id);
        if (uses == 0) store.RemoveProperty(item.id);
      } else {
        uses = store.EntryUses(item.table, item.id);
        if (uses == 0) store.RemoveEntry(item.table, item.id);
      }
      if (uses == 0)
        report.removed.push_back(line);
      else
        report.kept.push_back(line + kKeptSuffix);
    }
  }
}

}  // namespace

UndoReport UndoRun(db::Connection& connection, int32_t runId, const UndoUser& by, bool checkOnly) {
  UndoReport report;
  report.runId = runId;
  // A run at work holds its record: told at once, not after a wait.
  try {
    std::unique_ptr<db::Transaction> probe = connection.Begin(db::Isolation::kReadCommittedNoWait);
    RunStore(*probe).Hold(runId);
    probe->Rollback();
  } catch (const db::ConflictError&) {
    report.refusals.push_back(Format(kStillRunning, runId));
    return report;
  }
  std::unique_ptr<db::Transaction> tx = connection.Begin(db::Isolation::kSnapshot);
  // Whether the run's record is ours: a lock met before is the run at work.
  bool locked = false;
  try {
    const RunStore runs(*tx);
    const std::optional<RunRecord> record = runs.FindForUpdate(runId);
    locked = true;
    if (!record) {
      report.refusals.push_back(Format(kNoSuchRun, runId));
      return report;
    }
    if (record->Undone()) {
      report.refusals.push_back(Format(kAlreadyUndone, runId, FormatDMYHMS(record->undone).c_str(),
                                       record->undoneByName.c_str()));
      return report;
    }
    const std::vector<DescribedItem> items = runs.DescribedItems(runId);
    report.refusals = Refusals(UndoStore(*tx), runId, items);
    if (!report.refusals.empty()) return report;
    Remove(*tx, items, report);
    runs.MarkUndone(runId, by.id, by.name, by.host);
  } catch (const db::ConflictError&) {
    report.removed.clear();
    report.kept.clear();
    report.refusals.push_back(locked ? std::string(kBusy) : Format(kStillRunning, runId));
    return report;
  }
  if (checkOnly) {
    tx->Rollback();
  } else {
    tx->Commit();
    report.undone = true;
  }
  return report;
}

}  // namespace zrv::import
