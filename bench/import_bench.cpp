// Import benchmark: generates a workbook of N contract rows, each followed by K
// annex rows, with M-month terms and a few bad rows
// (bench/import_make_workbook.pl), imports it into a fresh embedded database
// and reports contracts per second, statements per second and the process's
// peak memory, with the database's forced writes off and on.
//
//   import_bench [--contracts N] [--annexes K] [--months M] [--bad B]
//                [--forced-writes off|on|both] [--workbook FILE]
//                [--replay on|off]
//
// Besides the figures of the run it prints the transactions started and
// committed per contract row read, and (unless --replay off) the time of the
// replay floor: the statements the run executed, with their parameters and
// its transaction boundaries, recorded to a file and run again on a new
// database with no logic in between, and the import's time over the floor's.

#include <sys/resource.h>

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
#include "bench/StatementReplay.h"
#include "common/Text.h"
#include "import/ImportRun.h"
#include "platform/db/Firebird.h"
#include "platform/ui/Messages.h"

namespace {

using namespace zrv;

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
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - began)
      .count();
}

// Imports the workbook into a new database, recording its statements, then
// replays them on another new database: the floor of the same statements
// without the import's own work.
void ImportOnce(const std::string& workbook, const std::string& folder,
                bool forcedWrites, bool replay) {
  const std::string tag = forcedWrites ? "sync" : "async";
  const db::ConnectParams params{"SYSDBA", "masterkey",
                                 folder + "/" + tag + ".fdb"};
  app::CreatePropertyDatabase(params, forcedWrites);
  auto connection = db::MakeFirebirdConnection();
  connection->Open(params);
  std::FILE* record =
      replay ? std::fopen((folder + "/" + tag + ".rec").c_str(), "w+b")
             : nullptr;
  if (replay && !record) throw std::runtime_error("cannot write the record");
  bench::RecordingConnection counting(*connection, record);
  CountingMessages messages;
  import::ImportRun recorded(counting, messages, 1);
  recorded.Start();
  counting.statements = 0;
  import::ImportOptions options;
  options.logFolder = folder;
  const db::ConnectionCounts before = db::CountWork(*connection);
  const auto began = std::chrono::steady_clock::now();
  const import::RunResult result = recorded.Run(
      options, [&workbook] { return std::optional<std::string>(workbook); });
  const double seconds = SecondsSince(began);
  const db::ConnectionCounts after = db::CountWork(*connection);
  const long peakKb = PeakMemoryKb();
  connection->Close();
  const auto& s = result.summary;
  const double rows = s.rowsRead > 0 ? s.rowsRead : 1;

  std::cout << "forced writes " << (forcedWrites ? "on " : "off") << ": "
            << s.contractsStored << " contracts, " << s.annexesStored
            << " annexes, " << s.rowsRefused << " rows refused, "
            << counting.statements << " statements in "
            << Format("%.2f", seconds) << " s -> "
            << Format("%.1f", s.contractsStored / seconds) << " contracts/s, "
            << Format("%.0f", counting.statements / seconds)
            << " statements/s, "
            << Format("%.2f", (after.started - before.started) / rows)
            << " transactions/row, "
            << Format("%.2f", (after.committed - before.committed) / rows)
            << " commits/row, "
            << Format("%.1f", (after.prepared - before.prepared) / rows)
            << " statements prepared/row; peak memory so far " << peakKb / 1024
            << " MB" << std::endl;
  if (!record) return;

  const db::ConnectParams floorParams{"SYSDBA", "masterkey",
                                      folder + "/" + tag + "-floor.fdb"};
  app::CreatePropertyDatabase(floorParams, forcedWrites);
  auto floor = db::MakeFirebirdConnection();
  floor->Open(floorParams);
  std::rewind(record);
  const auto replayBegan = std::chrono::steady_clock::now();
  const bench::ReplayCounts replayed = bench::Replay(*floor, record);
  const double floorSeconds = SecondsSince(replayBegan);
  const db::ConnectionCounts floorCounts = db::CountWork(*floor);
  floor->Close();
  std::fclose(record);
  std::cout << "  replay floor: " << replayed.statements << " statements ("
            << replayed.failed << " failed as recorded), "
            << floorCounts.committed << " commits (" << replayed.apart
            << " of them apart) in " << Format("%.2f", floorSeconds)
            << " s; import / floor = " << Format("%.2f", seconds / floorSeconds)
            << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::string contracts = Option(args, "--contracts", "5000");
  const std::string annexes = Option(args, "--annexes", "1");
  const std::string months = Option(args, "--months", "24");
  const std::string bad = Option(args, "--bad", "5");
  const std::string forced = Option(args, "--forced-writes", "both");
  std::string workbook = Option(args, "--workbook", "");
  const bool replay = Option(args, "--replay", "on") == "on";

  char pattern[] = "/tmp/zrv-import-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string folder = pattern;
  try {
    if (workbook.empty()) {
      workbook = folder + "/contracts.xls";
      const std::string command = "perl '" ZRV_SOURCE_DIR
                                  "/bench/import_make_workbook.pl' '" +
                                  workbook + "' " + contracts + " " + annexes +
                                  " " + bad + " " + months + " >/dev/null";
      if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot make " + workbook);
    }
    std::cout << "workbook " << workbook << " (" << contracts << " contracts, "
              << annexes << " annex rows each, " << months << "-month terms)\n";
    if (forced == "off" || forced == "both")
      ImportOnce(workbook, folder, false, replay);
    if (forced == "on" || forced == "both")
      ImportOnce(workbook, folder, true, replay);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    std::filesystem::remove_all(folder);
    return 1;
  }
  std::filesystem::remove_all(folder);
  return 0;
}
