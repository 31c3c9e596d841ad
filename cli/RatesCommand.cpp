// zorvit rates import FILE.csv: replaces the stored base-rate periods on which
// late-payment interest of the base-rate kinds is charged.

#include <cerrno>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "common/Error.h"
#include "common/SystemErrorText.h"
#include "schedule/BaseRatesStore.h"

namespace zrv::cli {

namespace {

constexpr const char* kCannotRead = "Файлът не може да се прочете: ";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw Error(kCannotRead + path + " (" + SystemErrorText(errno) + ")");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int RunRatesImport(const ParsedArgs& args) {
  const ConnectOptions options = ReadConnectOptions(args);
  const std::string& file = args.Operands()[0];
  schedule::BaseRateTable table;
  std::string error;
  if (!schedule::ParseBaseRatesCsv(ReadFile(file), table, error)) {
    std::cerr << file << ": " << error << "\n";
    return kExitFailed;
  }
  schedule::StoreBaseRates(*Connect(options), table);
  std::cout << "Записани периоди на основния лихвен процент: " << table.Count();
  if (!table.Empty()) {
    std::cout << ", от " << FormatDMY(table.At(0).firstDay) << " до "
              << FormatDMY(table.At(table.Count() - 1).lastDay);
  }
  std::cout << ".\n";
  return kExitOk;
}

const CommandRegistration kRatesImport{
    {.words = {"rates", "import"},
     .operands = "ФАЙЛ.csv",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "заменя периодите на основния лихвен процент с тези от CSV "
                "файл (първи ден; последен ден; процент [; дневен множител [; "
                "дата на обнародване]])",
     .options = LoginOptions(),
     .run = &RunRatesImport}};

}  // namespace

}  // namespace zrv::cli
