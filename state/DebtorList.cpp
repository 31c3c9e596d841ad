#include "state/DebtorList.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "schedule/RoundMoney.h"
#include "state/ContractStream.h"
#include "state/Interest.h"
#include "state/ReadingTransaction.h"
#include "state/store/StateTablesStore.h"

namespace zrv::state {

namespace {

// Loaded contracts waiting for a thread: enough to keep the threads busy,
// few enough to keep memory small.
constexpr size_t kWaitingContracts = 64;

long long Cents(double amount) { return std::llround(amount * 100); }
double Sum(double a, double b) { return static_cast<double>(Cents(a) + Cents(b)) / 100; }

bool ChargesBaseRates(const TDocInfo& info) {
  for (int i = 0; i < info.Annexes.Count(); ++i) {
    if (UsesBaseRates(info.Annexes.At(i).AN_LType)) return true;
  }
  return false;
}

struct Job {
  std::unique_ptr<TDocInfo> info;
  ContractFacts facts;
};

// The computation of the loaded contracts on the reading thread and the
// workers, and the lines it gives.
class Computation {
 public:
  Computation(const DebtorOptions& options, int workers) : options_(options) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
  }
  ~Computation() { Finish(); }

  // Hands a loaded contract over; computes it here when every worker is busy
  // and the queue is full.
  void Push(Job job) {
    {
      std::unique_lock lock(mutex_);
      if (!threads_.empty() && queue_.size() < kWaitingContracts) {
        queue_.push_back(std::move(job));
        ready_.notify_one();
        return;
      }
    }
    Compute(job);
  }

  // Waits for the workers; raises the first error one of them met.
  void Finish() {
    {
      std::lock_guard lock(mutex_);
      closed_ = true;
    }
    ready_.notify_all();
    for (std::thread& t : threads_) t.join();
    threads_.clear();
  }
  void RaiseError() {
    if (error_) std::rethrow_exception(error_);
  }

  int Done() const { return done_.load(); }
  // A worker met an error: reading on is of no use.
  bool Failed() const { return failed_.load(); }
  std::vector<DebtorLine>& Lines() { return lines_; }
  bool AnyUsesBaseRates() const { return usesBaseRates_; }

 private:
  void Work() {
    for (;;) {
      Job job;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return closed_ || !queue_.empty(); });
        if (queue_.empty()) return;
        job = std::move(queue_.front());
        queue_.pop_front();
      }
      try {
        Compute(job);
      } catch (...) {
        std::lock_guard lock(mutex_);
        if (!error_) error_ = std::current_exception();
        failed_ = true;
      }
    }
  }

  void Compute(Job& job) {
    TDocInfo& info = *job.info;
    info.ComputeState(true, true, options_.date, options_.date);
    const DueFigures figures = DueFigures::Of(info.Summary);
    const bool listed = figures.Any() && (options_.minDue <= 0 || figures.due >= options_.minDue);
    if (listed) {
      const bool baseRates = ChargesBaseRates(info);
      std::lock_guard lock(mutex_);
      lines_.push_back({std::move(job.facts), figures});
      usesBaseRates_ = usesBaseRates_ || baseRates;
    }
    job.info.reset();
    ++done_;
  }

  const DebtorOptions& options_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> queue_;
  bool closed_ = false;
  std::exception_ptr error_;
  std::vector<DebtorLine> lines_;
  bool usesBaseRates_ = false;
  std::atomic<int> done_{0};
  std::atomic<bool> failed_{false};
};

int WorkerCount(int asked) {
  if (asked >= 0) return asked;
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::max(cores - 1, 0);
}

}  // namespace

DueFigures DueFigures::Of(const TSummarySet& s) {
  DueFigures f;
  const double due = schedule::RoundMoney(s.Due);
  f.periodsDue = s.PeriodsDue;
  f.due = std::max(due, 0.0);
  f.paidAhead = std::max(-due, 0.0);
  f.vatDue = schedule::RoundMoney(s.VatDue);
  f.interestDue = schedule::RoundMoney(s.InterestDue);
  f.interestTotal = schedule::RoundMoney(s.InterestTotal);
  f.advance = schedule::RoundMoney(s.Advance);
  f.dueBgn = schedule::RoundMoney(std::max(s.DueConverted, 0.0));
  f.vatBgn = schedule::RoundMoney(s.VatConverted);
  f.interestBgn = schedule::RoundMoney(s.InterestConverted);
  return f;
}

bool DueFigures::Any() const {
  for (double amount :
       {due, paidAhead, vatDue, interestDue, interestTotal, advance, dueBgn, vatBgn, interestBgn}) {
    if (Cents(amount) != 0) return true;
  }
  return false;
}

void DueFigures::Add(const DueFigures& o) {
  periodsDue += o.periodsDue;
  due = Sum(due, o.due);
  paidAhead = Sum(paidAhead, o.paidAhead);
  vatDue = Sum(vatDue, o.vatDue);
  interestDue = Sum(interestDue, o.interestDue);
  interestTotal = Sum(interestTotal, o.interestTotal);
  advance = Sum(advance, o.advance);
  dueBgn = Sum(dueBgn, o.dueBgn);
  vatBgn = Sum(vatBgn, o.vatBgn);
  interestBgn = Sum(interestBgn, o.interestBgn);
}

DebtorList ListDebtors(db::Connection& connection, const StateTables& tables,
                       const DebtorOptions& options, const DebtorProgress& progress) {
  ContractStream stream(connection, options.selection);
  const int total = stream.Total();
  DebtorList list;
  list.date = std::trunc(options.date);
  {
    Computation computation(options, WorkerCount(options.workers));
    for (;;) {
      auto info = std::make_unique<TDocInfo>(connection, tables);
      ContractFacts facts;
      if (computation.Failed() || !stream.Next(*info, facts)) break;
      computation.Push({std::move(info), std::move(facts)});
      if (progress) progress(computation.Done(), total);
    }
    computation.Finish();
    computation.RaiseError();
    list.lines = std::move(computation.Lines());
    list.noRates = tables.baseRates.Empty() && computation.AnyUsesBaseRates();
  }
  list.contractsRead = total;
  if (progress) progress(total, total);

  std::sort(list.lines.begin(), list.lines.end(), [](const DebtorLine& a, const DebtorLine& b) {
    if (a.figures.due != b.figures.due) return a.figures.due > b.figures.due;
    return a.contract.id < b.contract.id;
  });
  for (const DebtorLine& line : list.lines) list.totals.Add(line.figures);
  if (!tables.baseRates.Empty()) {
    const TDate last = tables.baseRates.At(tables.baseRates.Count() - 1).lastDay;
    if (last < list.date) list.ratesLoadedTo = last;
  }
  return list;
}

DebtorList ReadDebtors(db::Connection& connection, const DebtorOptions& options,
                       const DebtorProgress& progress) {
  ReadingTransaction reading(connection);
  const StateTables tables = LoadStateTables(connection);
  return ListDebtors(connection, tables, options, progress);
}

}  // namespace zrv::state
