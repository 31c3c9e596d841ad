// zorvit rates import FILE.csv: replaces the stored base-rate periods on which
// late-payment interest of the base-rate kinds is charged.

#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "common/Error.h"
#include "schedule/BaseRatesStore.h"

namespace zrv::cli {

namespace {

constexpr const char* kUsage =
    "rates import FILE.csv [--database PATH] [--user NAME] [--password TEXT]";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("Cannot read " + path + ".");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int RunRatesImport(const Args& arguments) {
  Args args = arguments;
  const ConnectOptions options = TakeConnectOptions(args);
  if (args.size() != 1) {
    std::cerr << "Usage: zorvit " << kUsage << "\n";
    return 2;
  }
  schedule::BaseRateTable table;
  std::string error;
  if (!schedule::ParseBaseRatesCsv(ReadFile(args[0]), table, error)) {
    std::cerr << args[0] << ": " << error << "\n";
    return 1;
  }
  schedule::StoreBaseRates(*Connect(options), table);
  std::cout << "Stored " << table.Count() << " base-rate periods";
  if (!table.Empty()) {
    std::cout << " from " << FormatDMY(table.At(0).firstDay) << " to "
              << FormatDMY(table.At(table.Count() - 1).lastDay);
  }
  std::cout << ".\n";
  return 0;
}

const CommandRegistration kRatesImport{
    {"rates", "import"},
    kUsage,
    "replaces the base-rate periods of late-payment interest by those of a CSV "
    "file "
    "(first day; last day; rate % [; daily factor [; issue date]])",
    &RunRatesImport};

}  // namespace

}  // namespace zrv::cli
