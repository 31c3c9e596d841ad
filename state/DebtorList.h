#pragma once
// The month's debtors: the state of every selected stored contract at one
// date, computed as `zorvit state` computes it (with the money paid ahead, the
// payments of the date counted, interest to the date), and one line for each
// contract with something due or paid ahead, the largest amount due first.
//
// Nothing is written: the contracts are read with a few statements for many
// of them (ContractStream) in one transaction that is rolled back, and the
// clean-up of unlinked payments is applied to the computation only. Contracts
// are computed on every core: the reading thread hands each loaded contract
// to worker threads and computes one itself whenever they are all busy.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "platform/db/Database.h"
#include "state/BaseRates.h"
#include "state/DocInfo.h"
#include "state/StateTables.h"
#include "state/store/DebtorsStore.h"

namespace zrv::state {

// The figures of one contract's state as the state's totals give them, each
// rounded to cents.
struct DueFigures {
  int periodsDue = 0;
  double due = 0;        // open amount of the periods due, never below 0
  double paidAhead = 0;  // money paid for later periods beyond what is due
  double vatDue = 0;
  double interestDue = 0;    // interest of the periods due
  double interestTotal = 0;  // interest of every period plus the carry
  double advance = 0;        // money paid beyond the schedule
  double dueBgn = 0;         // the due amount, its VAT and interest in leva
  double vatBgn = 0;
  double interestBgn = 0;

  // The figures of a computed state.
  static DueFigures Of(const TSummarySet& summary);
  // True when any amount is other than 0.00.
  bool Any() const;
  void Add(const DueFigures& other);
};

struct DebtorLine {
  ContractFacts contract;
  DueFigures figures;
};

struct DebtorOptions {
  TDate date = 0;     // the state date, also the interest date
  double minDue = 0;  // lines with less due are left out (0: every line)
  ContractSelection selection;
  // Threads that compute besides the reading one; -1: one for each further
  // core.
  int workers = -1;
};

struct DebtorList {
  TDate date = 0;
  std::vector<DebtorLine> lines;  // by amount due, largest first, then by id
  DueFigures totals;              // the sums of the lines' figures
  int contractsRead = 0;          // selected contracts computed
  // The last day of the loaded base-rate periods when that is before the
  // date; 0 otherwise.
  TDate ratesLoadedTo = 0;
  // No base-rate period is loaded and a listed contract charges interest on
  // the base rate.
  bool noRates = false;
};

// Tells how many of the selected contracts are done, from the reading thread.
using DebtorProgress = std::function<void(int done, int total)>;

// The list, read through `connection` in the caller's transaction, computed
// with the given tables (shared by the threads, read only).
DebtorList ListDebtors(db::Connection& connection, const StateTables& tables,
                       const DebtorOptions& options, const DebtorProgress& progress = nullptr);

// The whole errand: one reading transaction, the state tables loaded from the database in it, the
// list, and the transaction rolled back.
DebtorList ReadDebtors(db::Connection& connection, const DebtorOptions& options,
                       const DebtorProgress& progress = nullptr);

}  // namespace zrv::state
