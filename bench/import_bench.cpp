// Import benchmark: generates a workbook of N contract rows, each followed by K
// annex rows, with M-month terms and a few bad rows
// (bench/import_make_workbook.pl), imports it into a fresh embedded database
// and reports contracts per second, statements per second and the process's
// peak memory, with the database's forced writes off and on.
//
//   import_bench [--contracts N] [--annexes K] [--months M] [--bad B]
//                [--forced-writes off|on|both] [--workbook FILE]

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
#include "common/Text.h"
#include "import/ImportRun.h"
#include "platform/db/Firebird.h"
#include "platform/ui/Messages.h"

namespace {

using namespace zrv;

// A query that counts the statements it runs into its connection's counter.
class CountingQuery : public db::Query {
 public:
  CountingQuery(std::unique_ptr<db::Query> inner, long& count)
      : inner_(std::move(inner)), count_(count) {}
  const std::string& DatabaseName() const override {
    return inner_->DatabaseName();
  }
  void SetSQL(const std::string& sql) override { inner_->SetSQL(sql); }
  const std::string& SQL() const override { return inner_->SQL(); }
  void SetInteger(const std::string& p, int32_t v) override {
    inner_->SetInteger(p, v);
  }
  void SetSmallInt(const std::string& p, int16_t v) override {
    inner_->SetSmallInt(p, v);
  }
  void SetString(const std::string& p, const std::string& v) override {
    inner_->SetString(p, v);
  }
  void SetFloat(const std::string& p, double v) override {
    inner_->SetFloat(p, v);
  }
  void SetDateTime(const std::string& p, double v) override {
    inner_->SetDateTime(p, v);
  }
  void SetNull(const std::string& p) override { inner_->SetNull(p); }
  void Execute() override {
    ++count_;
    inner_->Execute();
  }
  void Open() override {
    ++count_;
    inner_->Open();
  }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  void First() override { inner_->First(); }
  void Next() override { inner_->Next(); }
  void Last() override { inner_->Last(); }
  bool Eof() const override { return inner_->Eof(); }
  int RecordCount() const override { return inner_->RecordCount(); }
  int FieldCount() const override { return inner_->FieldCount(); }
  const db::Field& FieldAt(int i) const override { return inner_->FieldAt(i); }
  const db::Field& FieldByName(const std::string& n) const override {
    return inner_->FieldByName(n);
  }
  const db::Field* FindField(const std::string& n) const override {
    return inner_->FindField(n);
  }

 private:
  std::unique_ptr<db::Query> inner_;
  long& count_;
};

class CountingConnection : public db::Connection {
 public:
  explicit CountingConnection(db::Connection& inner) : inner_(inner) {}
  void Open(const db::ConnectParams& params) override { inner_.Open(params); }
  void Close() override { inner_.Close(); }
  bool Connected() const override { return inner_.Connected(); }
  bool InTransaction() const override { return inner_.InTransaction(); }
  void StartTransaction() override { inner_.StartTransaction(); }
  void Commit() override { inner_.Commit(); }
  void Rollback() override { inner_.Rollback(); }
  std::unique_ptr<db::Query> NewQuery() override {
    return std::make_unique<CountingQuery>(inner_.NewQuery(), statements);
  }
  long statements = 0;

 private:
  db::Connection& inner_;
};

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

void ImportOnce(const std::string& workbook, const std::string& folder,
                bool forcedWrites) {
  const std::string path = folder + (forcedWrites ? "/sync.fdb" : "/async.fdb");
  const db::ConnectParams params{"SYSDBA", "masterkey", path};
  app::CreatePropertyDatabase(params, forcedWrites);
  auto connection = db::MakeFirebirdConnection();
  connection->Open(params);
  CountingConnection counting(*connection);
  CountingMessages messages;

  import::ImportRun run(counting, messages, 1);
  run.Start();
  counting.statements = 0;
  import::ImportOptions options;
  options.logFolder = folder;
  const auto began = std::chrono::steady_clock::now();
  const import::RunResult result = run.Run(
      options, [&workbook] { return std::optional<std::string>(workbook); });
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began)
          .count();
  const auto& s = result.summary;

  std::cout << "forced writes " << (forcedWrites ? "on " : "off") << ": "
            << s.contractsStored << " contracts, " << s.annexesStored
            << " annexes, " << s.rowsRefused << " rows refused, "
            << counting.statements << " statements in "
            << Format("%.2f", seconds) << " s -> "
            << Format("%.1f", s.contractsStored / seconds) << " contracts/s, "
            << Format("%.0f", counting.statements / seconds)
            << " statements/s; peak memory so far " << PeakMemoryKb() / 1024
            << " MB\n";
  connection->Close();
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
      ImportOnce(workbook, folder, false);
    if (forced == "on" || forced == "both") ImportOnce(workbook, folder, true);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    std::filesystem::remove_all(folder);
    return 1;
  }
  std::filesystem::remove_all(folder);
  return 0;
}
