// The month's debtors against the floor of reading the same rows, against one
// `zorvit state` call per contract, and the command's peak memory.
//
//   debtors_bench [CONTRACTS [SAMPLE]]   (default 10000 and 200)
//
// Makes a throw-away embedded database with CONTRACTS contracts of 36 monthly
// periods and 24 payments each (tests/support/GeneratedContracts), then:
// - the load floor: every row of the six tables the state reads (contracts,
//   annexes, schedule, payments, details, waiting invoices with their
//   invoices), read once with plain "select *" statements in one transaction;
// - the list: ReadDebtors at 31.12.2025, in this process;
// - `zorvit debtors` as a command (its time and peak memory);
// - SAMPLE calls of `zorvit state ID` on contracts spread over the ids, each a
//   process as a clerk's script would run it; their mean time times CONTRACTS
//   is the estimate for every contract.
// The floor and the list run in three alternating rounds; medians are shown.
// With $ZRV_BENCH_DATABASE set, the database is made there and kept (or, when
// it is there already, used as it is), for looking at one part again.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "app/DatabaseSetup.h"
#include "bench/BenchUsage.h"
#include "common/Dates.h"
#include "platform/db/Firebird.h"
#include "state/DebtorList.h"
#include "state/ReadingTransaction.h"
#include "tests/support/GeneratedContracts.h"

namespace {

using namespace zrv;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kRounds = 3;
constexpr const char* kUsage = "Usage: debtors_bench [CONTRACTS [SAMPLE]]\n";
constexpr const char* kBadArgs =
    "debtors_bench: CONTRACTS is a whole number from 1, SAMPLE one from 0";
constexpr const char* kDate = "31.12.2025";

// The rows the state reads, every table in one plain statement.
constexpr const char* kFloorStatements[] = {
    "select * from documents",
    "select * from Anecs",
    "select * from RentsInfo",
    "select * from Payment",
    "select * from PayDetails",
    "select WaitPayments.*, IN_InvoiceNum, IN_PayClearSum, IN_PayDDS, "
    "IN_Factor, IN_SecondInvType, IN_WaitPay from WaitPayments inner join "
    "Invoices on (IN_ID = WP_INID)",
};

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Seconds to read every row once; `rows` counts them.
double LoadFloor(db::Connection& c, long& rows) {
  const auto t0 = Clock::now();
  state::ReadingTransaction reading(c);
  rows = 0;
  double check = 0;
  for (const char* sql : kFloorStatements) {
    auto q = c.NewQuery();
    q->SetSQL(sql);
    q->Open();
    for (; !q->Eof(); q->Next()) {
      check += q->FieldAt(0).AsFloat();
      ++rows;
    }
  }
  if (check < 0) std::printf("?");
  return Seconds(t0);
}

double List(db::Connection& c, size_t& lines) {
  const auto t0 = Clock::now();
  state::DebtorOptions options;
  TryParseDate(kDate, options.date);
  const state::DebtorList list = state::ReadDebtors(c, options);
  lines = list.lines.size();
  return Seconds(t0);
}

struct Run {
  double seconds = 0;
  long peakKb = 0;
  int status = -1;
};

// The peak resident memory of a running process in kB (VmHWM), 0 once it
// has ended. Unlike the rusage of wait4, it does not count the pages the child
// shared with this process between fork and exec.
long PeakKb(pid_t pid) {
  std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
  if (!status) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, status)) {
    if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
  }
  std::fclose(status);
  return kb;
}

// Runs `zorvit` with its output thrown away; its time and peak memory (looked
// at every 2 ms while it runs).
Run Zorvit(const std::string& zorvit, const std::vector<std::string>& args) {
  std::fflush(stdout);  // the child must not write this process's output again
  // Closed by the child's exec: until then the child is a copy of this
  // process, whose memory is not the command's.
  int execed[2];
  if (pipe2(execed, O_CLOEXEC) != 0) return {};
  const auto t0 = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (!std::freopen("/dev/null", "w", stdout)) _exit(126);
    std::vector<char*> argv{const_cast<char*>(zorvit.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(zorvit.c_str(), argv.data());
    _exit(127);
  }
  close(execed[1]);
  char ignored;
  while (read(execed[0], &ignored, 1) < 0 && errno == EINTR) {
  }
  close(execed[0]);
  Run run;
  while (waitpid(pid, &run.status, WNOHANG) == 0) {
    run.peakKb = std::max(run.peakKb, PeakKb(pid));
    usleep(2000);
  }
  run.seconds = Seconds(t0);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (bench::AsksForHelp(args)) return bench::ShowHelp(kUsage);
  int count = 10000;
  int sample = 200;
  if (args.size() > 2 || (args.size() > 0 && !bench::ParseCount(args[0], 1, count)) ||
      (args.size() > 1 && !bench::ParseCount(args[1], 0, sample)))
    return bench::RefuseArgs(kUsage, kBadArgs);
  const std::string zorvit = (fs::read_symlink("/proc/self/exe").parent_path() / "zorvit").string();
  const fs::path folder =
      fs::temp_directory_path() / ("zrv-debtors-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const char* kept = std::getenv("ZRV_BENCH_DATABASE");
  const std::string path = kept ? kept : (folder / "bench.fdb").string();
  int rc = 0;
  try {
    const db::ConnectParams params{"SYSDBA", "", path};
    const bool made = !fs::exists(path);
    if (made) app::CreatePropertyDatabase(params, false);
    auto c = db::MakeFirebirdConnection();
    c->Open(params);
    const auto f0 = Clock::now();
    if (made) {
      test::GenerateContracts(
          *c, {.firstId = 1, .count = count, .periods = 36, .payments = 24, .varied = false});
    }
    std::printf(
        "%s %d contracts of 36 periods and 24 payments in %.1f s; "
        "%u cores\n",
        made ? "made" : "kept", count, Seconds(f0), std::thread::hardware_concurrency());

    std::vector<double> floor, list;
    long rows = 0;
    size_t lines = 0;
    for (int round = 0; round < kRounds; ++round) {
      floor.push_back(LoadFloor(*c, rows));
      list.push_back(List(*c, lines));
    }
    c->Close();
    std::printf("load floor (%ld rows, plain selects): %.2f s\n", rows, Median(floor));
    std::printf("debtors list (%zu lines): %.2f s = %.2f x the load floor\n", lines, Median(list),
                Median(list) / Median(floor));

    const Run command =
        Zorvit(zorvit, {"debtors", "--date", kDate, "--format", "csv", "--database", path});
    std::printf("zorvit debtors: %.2f s, peak memory %.0f MB, exit %d\n", command.seconds,
                command.peakKb / 1024.0,
                WIFEXITED(command.status) ? WEXITSTATUS(command.status) : -1);

    if (sample > 0) {
      double calls = 0;
      for (int i = 0; i < sample; ++i) {
        const int id = 1 + static_cast<int>(static_cast<long>(i) * count / sample);
        calls += Zorvit(zorvit, {"state", std::to_string(id), "--date", kDate, "--format", "json",
                                 "--database", path})
                     .seconds;
      }
      const double each = calls / sample;
      std::printf(
          "zorvit state: %.1f ms a call (mean of %d calls); %d calls "
          "estimated %.0f s = %.0f x the list\n",
          each * 1000, sample, count, each * count, each * count / Median(list));
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    rc = 1;
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return rc;
}
