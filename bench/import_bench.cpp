// Import benchmark: generates a workbook of N contract rows, each followed by K
// annex rows, with M-month terms and a few bad rows
// (bench/import_make_workbook.pl), imports it into a fresh embedded database
// and reports contracts per second, statements per second and the process's
// peak memory, with the database's forced writes off and on.
//
//   import_bench [--contracts N] [--annexes K] [--months M] [--bad B]
//                [--forced-writes off|on|both] [--workbook FILE]
//                [--replay on|off] [--repeat R] [--stored S] [--shapes]
//                [--keep]
//
// Besides the figures of the run it prints the transactions started and
// committed per row read and the transactions per contract stored, and
// (unless --replay off) the time of two replay floors: the statements a first
// import executed, with their parameters and its transaction boundaries,
// recorded to a file and run again on a new database with no logic in
// between, once as recorded (one transaction per row) and once with the rows
// in batches, each row under a savepoint, the batch committed when 100 ms
// have passed since its last commit and at the end; and the import's time
// over each floor's.
// The import is timed R times (3 unless told), each time on a new database and
// each followed by the two floors; medians are printed. With --stored S every
// database (the import's and the floors') starts as a copy of one already
// holding S contracts of other workbooks. With --shapes the per-row floor
// also times each statement shape (the text with its numbers and quoted values
// blanked) and prints the costliest. With --keep the working folder (workbook,
// statement records, logs) is left in place for a closer look.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DatabaseSetup.h"
#include "bench/BenchUsage.h"
#include "bench/StatementReplay.h"
#include "common/Text.h"
#include "import/ImportRun.h"
#include "platform/db/Firebird.h"
#include "platform/ui/Messages.h"

namespace {

using namespace zrv;

constexpr const char* kUsage =
    "Usage: import_bench [--contracts N] [--annexes K] [--months M] [--bad B]\n"
    "                    [--forced-writes off|on|both] [--workbook FILE]\n"
    "                    [--replay on|off] [--repeat R] [--stored S] "
    "[--shapes]\n"
    "                    [--keep]\n";
constexpr const char* kUnknownOption = "import_bench: unknown option ";
constexpr const char* kNeedsValue = "import_bench: a value is missing after ";
// The options that take a value, and the flags.
const std::vector<std::string> kValued = {"--contracts", "--annexes",       "--months",
                                          "--bad",       "--forced-writes", "--workbook",
                                          "--replay",    "--repeat",        "--stored"};
const std::vector<std::string> kFlags = {"--shapes", "--keep"};

bool Among(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Why the command line cannot be read; empty when it can.
std::string ArgsProblem(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (Among(kFlags, args[i])) continue;
    if (!Among(kValued, args[i])) return kUnknownOption + args[i];
    if (++i == args.size()) return kNeedsValue + args[i - 1];
  }
  return "";
}

class CountingMessages : public ui::Messages {
 public:
  void ShowMessage(const std::string& text) override {
    if (++shown <= 3) std::cerr << "  message: " << text << "\n";
  }
  int shown = 0;
};

long PeakMemoryKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string Option(std::vector<std::string>& args, const std::string& name,
                   const std::string& fallback) {
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == name) return args[i + 1];
  }
  return fallback;
}

double SecondsSince(std::chrono::steady_clock::time_point began) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

// Where every database of the run starts from: a new, empty one, or a copy of
// `stored` (a database already holding contracts) when it is set.
struct Start {
  std::string stored;
};

void NewDatabase(const db::ConnectParams& params, bool forcedWrites, const Start& start) {
  if (start.stored.empty()) {
    app::CreatePropertyDatabase(params, forcedWrites);
    return;
  }
  std::filesystem::copy_file(start.stored, params.serverName,
                             std::filesystem::copy_options::overwrite_existing);
  db::SetForcedWrites(params, forcedWrites);
}

// Makes the workbook at `path` (bench/import_make_workbook.pl).
void MakeWorkbook(const std::string& path, int contracts, const std::string& annexes,
                  const std::string& bad, const std::string& months, int tag) {
  const std::string command = "perl '" ZRV_SOURCE_DIR "/bench/import_make_workbook.pl' '" + path +
                              "' " + std::to_string(contracts) + " " + annexes + " " + bad + " " +
                              months + " " + std::to_string(tag) + " >/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot make " + path);
}

// One import of the workbook into a new database.
struct ImportFigures {
  import::ImportSummary summary;
  double seconds = 0;
  long statements = 0;  // counted only when the run was recorded
  db::ConnectionCounts work;
};

// Imports the workbook into a new database `name` in `folder`; with `record`
// set, every statement and transaction boundary is also written to it (which
// costs time of its own, so a recorded run is not the timed one).
ImportFigures ImportInto(const std::string& workbook, const std::string& folder,
                         const std::string& name, bool forcedWrites, const Start& start,
                         std::FILE* record) {
  const db::ConnectParams params{"SYSDBA", "masterkey", folder + "/" + name};
  NewDatabase(params, forcedWrites, start);
  auto connection = db::MakeFirebirdConnection();
  connection->Open(params);
  // The run's start-up (settings, rent types) is not recorded: the timed
  // import leaves it out too.
  std::unique_ptr<bench::RecordingConnection> recording;
  if (record) recording = std::make_unique<bench::RecordingConnection>(*connection, nullptr);
  db::Connection& used = recording ? *recording : *connection;
  CountingMessages messages;
  import::ImportRun run(import::RunContext{used, 1}, messages);
  run.Start();
  if (recording) {
    recording->statements = 0;
    recording->RecordTo(record);
  }
  import::ImportOptions options;
  options.logFolder = folder;
  const db::ConnectionCounts before = db::CountWork(*connection);
  const auto began = std::chrono::steady_clock::now();
  const import::RunResult result =
      run.Run(options, [&workbook] { return std::optional<std::string>(workbook); });
  ImportFigures figures;
  figures.seconds = SecondsSince(began);
  const db::ConnectionCounts after = db::CountWork(*connection);
  figures.summary = result.summary;
  figures.statements = recording ? recording->statements : 0;
  figures.work = {after.started - before.started, after.committed - before.committed,
                  after.rolledBack - before.rolledBack, after.prepared - before.prepared};
  connection->Close();
  std::filesystem::remove(params.serverName);
  return figures;
}

// Runs the recorded statements on a new database: the floor of the same
// statements without the import's own work.
double ReplayInto(std::FILE* record, const std::string& folder, const std::string& name,
                  bool forcedWrites, const Start& start, bool timeShapes, bench::ReplayMode mode,
                  bench::ReplayCounts& replayed, long& commits) {
  const db::ConnectParams params{"SYSDBA", "masterkey", folder + "/" + name};
  NewDatabase(params, forcedWrites, start);
  auto floor = db::MakeFirebirdConnection();
  floor->Open(params);
  std::rewind(record);
  const auto began = std::chrono::steady_clock::now();
  replayed = bench::Replay(*floor, record, timeShapes, mode);
  const double seconds = SecondsSince(began);
  commits = db::CountWork(*floor).committed;
  floor->Close();
  std::filesystem::remove(params.serverName);
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintShapes(const bench::ReplayCounts& replayed) {
  std::vector<std::pair<double, std::string>> slowest;
  for (const auto& [shape, time] : replayed.shapes)
    slowest.emplace_back(
        time.first,
        Format("%7ld  %7.3f ms  ", time.second, 1000 * time.first / time.second) + shape);
  std::sort(slowest.rbegin(), slowest.rend());
  std::cout << "  statement shapes by time in the floor (runs, mean, text):\n";
  for (size_t i = 0; i < slowest.size() && i < 25; ++i)
    std::cout << Format("  %6.2f s", slowest[i].first) << slowest[i].second << "\n";
}

// A database holding `count` contracts (from workbooks of other tags than the
// benchmark's, so none of them is the same contract), imported with forced
// writes off; gives its path.
std::string MakeStoredDatabase(const std::string& folder, int count, const std::string& annexes,
                               const std::string& months) {
  const std::string name = "stored.fdb";
  // Workbooks stay inside the .xls writer's 7 MB.
  const int perWorkbook = 5000;
  bool first = true;
  for (int tag = 1; count > 0; ++tag, count -= perWorkbook) {
    if (tag > 99) throw std::runtime_error("--stored takes at most 495000");
    const std::string workbook = folder + "/stored-" + std::to_string(tag) + ".xls";
    MakeWorkbook(workbook, std::min(count, perWorkbook), annexes, "0", months, tag);
    const db::ConnectParams params{"SYSDBA", "masterkey", folder + "/" + name};
    if (first) app::CreatePropertyDatabase(params, false);
    first = false;
    auto connection = db::MakeFirebirdConnection();
    connection->Open(params);
    CountingMessages messages;
    import::ImportRun run(import::RunContext{*connection, 1}, messages);
    run.Start();
    import::ImportOptions options;
    options.logFolder = folder;
    run.Run(options, [&workbook] { return std::optional<std::string>(workbook); });
    connection->Close();
    std::filesystem::remove(workbook);
  }
  return folder + "/" + name;
}

// One replay floor's figures over the pairs of a measurement.
struct Floor {
  const char* name;
  bench::ReplayMode mode;
  std::vector<double> seconds = {};
  std::vector<double> ratios = {};    // the paired import's time over the floor's
  bench::ReplayCounts replayed = {};  // of the last replay
  long commits = 0;                   // of the last replay
};

void PrintFloor(const Floor& floor, double contracts) {
  const bench::ReplayCounts& replayed = floor.replayed;
  std::cout << "  replay floor, " << floor.name << ": " << replayed.statements << " statements ("
            << replayed.failed << " failed as recorded), " << floor.commits << " commits ("
            << replayed.apart << " of them apart";
  if (floor.mode == bench::ReplayMode::kBatched)
    std::cout << ", " << replayed.batches << " batches of " << replayed.rows << " rows";
  std::cout << "), " << Format("%.2f", floor.commits / contracts) << " commits/contract, in "
            << Format("%.2f", Median(floor.seconds))
            << " s (median); import / floor = " << Format("%.2f", Median(floor.ratios))
            << " (median of " << floor.ratios.size() << " pairs, from "
            << Format("%.2f", *std::min_element(floor.ratios.begin(), floor.ratios.end())) << " to "
            << Format("%.2f", *std::max_element(floor.ratios.begin(), floor.ratios.end())) << ")"
            << std::endl;
}

// Measures the import with forced writes on or off: `repeat` timed imports,
// each on a new database and (with `replay`) followed by two timed replays of
// the statements a first, recorded import executed: as recorded (one
// transaction per row) and in batches with a savepoint per row. Import and
// floors take turns, so a machine whose speed drifts moves all; each ratio
// printed is the median of the import's ratios to that floor.
void Measure(const std::string& workbook, const std::string& folder, const Start& start,
             bool forcedWrites, bool replay, bool timeShapes, int repeat) {
  const std::string tag = forcedWrites ? "sync" : "async";
  std::FILE* record = nullptr;
  long statements = 0;
  if (replay) {
    record = std::fopen((folder + "/" + tag + ".rec").c_str(), "w+b");
    if (!record) throw std::runtime_error("cannot write the record");
    statements =
        ImportInto(workbook, folder, tag + "-rec.fdb", forcedWrites, start, record).statements;
    std::fflush(record);
  }
  std::vector<double> imports;
  Floor perRow{.name = "one transaction per row", .mode = bench::ReplayMode::kAsRecorded};
  Floor batched{.name = "batches of 100 ms, a savepoint per row",
                .mode = bench::ReplayMode::kBatched};
  ImportFigures last;
  for (int r = 0; r < repeat; ++r) {
    last = ImportInto(workbook, folder, tag + ".fdb", forcedWrites, start, nullptr);
    imports.push_back(last.seconds);
    if (!replay) continue;
    for (Floor* floor : {&perRow, &batched}) {
      const bool shapes = timeShapes && r == 0 && floor == &perRow;
      floor->seconds.push_back(ReplayInto(record, folder, tag + "-floor.fdb", forcedWrites, start,
                                          shapes, floor->mode, floor->replayed, floor->commits));
      floor->ratios.push_back(imports.back() / floor->seconds.back());
      if (shapes) PrintShapes(floor->replayed);
    }
  }
  const double seconds = Median(imports);
  const long peakKb = PeakMemoryKb();
  const auto& s = last.summary;
  const double rows = s.rowsRead > 0 ? s.rowsRead : 1;
  const double contracts = s.contractsStored > 0 ? s.contractsStored : 1;
  std::cout << "forced writes " << (forcedWrites ? "on " : "off") << ": " << s.contractsStored
            << " contracts, " << s.annexesStored << " annexes, " << s.rowsRefused
            << " rows refused";
  if (replay) std::cout << ", " << statements << " statements";
  std::cout << " in " << Format("%.2f", seconds) << " s (median of " << repeat << ") -> "
            << Format("%.1f", s.contractsStored / seconds) << " contracts/s, ";
  if (replay) std::cout << Format("%.0f", statements / seconds) << " statements/s, ";
  std::cout << Format("%.2f", last.work.started / rows) << " transactions/row, "
            << Format("%.2f", last.work.committed / rows) << " commits/row, "
            << Format("%.2f", last.work.started / contracts) << " transactions/contract, "
            << Format("%.1f", last.work.prepared / rows)
            << " statements prepared/row; peak memory so far " << peakKb / 1024 << " MB"
            << std::endl;
  if (!record) return;
  std::fclose(record);
  for (const Floor* floor : {&perRow, &batched}) PrintFloor(*floor, contracts);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (bench::AsksForHelp(args)) return bench::ShowHelp(kUsage);
  const std::string problem = ArgsProblem(args);
  if (!problem.empty()) return bench::RefuseArgs(kUsage, problem);
  const std::string contracts = Option(args, "--contracts", "5000");
  const std::string annexes = Option(args, "--annexes", "1");
  const std::string months = Option(args, "--months", "24");
  const std::string bad = Option(args, "--bad", "5");
  const std::string forced = Option(args, "--forced-writes", "both");
  std::string workbook = Option(args, "--workbook", "");
  const bool replay = Option(args, "--replay", "on") == "on";
  const int stored = std::atoi(Option(args, "--stored", "0").c_str());
  const int repeat = std::max(1, std::atoi(Option(args, "--repeat", "3").c_str()));
  const bool timeShapes = std::find(args.begin(), args.end(), "--shapes") != args.end();
  const bool keep = std::find(args.begin(), args.end(), "--keep") != args.end();

  char pattern[] = "/tmp/zrv-import-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string folder = pattern;
  try {
    if (workbook.empty()) {
      workbook = folder + "/contracts.xls";
      MakeWorkbook(workbook, std::atoi(contracts.c_str()), annexes, bad, months, 0);
    }
    Start start;
    if (stored > 0) {
      start.stored = MakeStoredDatabase(folder, stored, annexes, months);
      std::cout << "every import starts from a copy of a database holding " << stored
                << " contracts\n";
    }
    std::cout << "workbook " << workbook << " (" << contracts << " contracts, " << annexes
              << " annex rows each, " << months << "-month terms)\n";
    if (forced == "off" || forced == "both")
      Measure(workbook, folder, start, false, replay, timeShapes, repeat);
    if (forced == "on" || forced == "both")
      Measure(workbook, folder, start, true, replay, timeShapes, repeat);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    if (!keep) std::filesystem::remove_all(folder);
    return 1;
  }
  if (keep)
    std::cout << "kept " << folder << "\n";
  else
    std::filesystem::remove_all(folder);
  return 0;
}
