// Benchmark of workbook reading: opens a generated workbook of 10,000 rows and
// 36 columns (the contract layout, A to AJ) as .xls, .xlsx and .ods, reads
// every cell by name as the import does, and reports the time and the peak
// memory of each, measured in a process of its own. Then writes the first 1,000
// rows as a workbook of refused rows (text cells and a column of reasons) and
// reports that too.
//
//   workbook_bench [FOLDER]        makes FOLDER/bench.xls, bench.xlsx and
//                                  bench.ods when missing (a temporary folder
//                                  without FOLDER) and measures them
//   workbook_bench --measure FILE  measures one file
//   workbook_bench --write FILE    measures writing 1,000 rows of FILE

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/TextWorkbookWriter.h"
#include "platform/workbook/Workbook.h"
#include "tests/support/OdsFiles.h"
#include "tests/support/Workbooks.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 36;
constexpr int kRefusedRows = 1000;

using zrv::test::Cell;

// One contract row with texts, dates and formatted numbers where the import has
// them. Names and addresses differ on every row; the other texts repeat every
// hundred rows, as classifier texts do (and the .xls writer stays under its 7
// MB limit).
zrv::test::Row ContractRow(int i) {
  const std::string n = std::to_string(i);
  zrv::test::Row row(kColumns);
  for (int c = 0; c < kColumns; ++c)
    row[c] = "Текст " + std::to_string(i % 100) + "-" + std::to_string(c);
  row[7] = "ул. Александровска " + n;
  row[8] = "Представител " + n;
  row[0] = n + "/2007";
  row[1] = Cell::Date(2000 + i % 20, 1 + i % 12, 1 + i % 28);
  row[2] = i % 3 ? "Търговски обект" : "Жилище";
  row[3] = "Наемател Иванов Петров " + n;
  row[4] = Cell::Number(4101010000.0 + i, "0000000000");
  row[18] = Cell::Number(20 + i % 500, "0.00\" квм\"");
  row[28] = Cell::Number(12 + i % 48, "0");
  row[29] = Cell::Number(100 + i * 1.25, "#,##0.00");
  row[30] = Cell::Date(2007, 1 + i % 12, 1 + i % 28);
  return row;
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

int Measure(const std::string& path) {
  using Clock = std::chrono::steady_clock;
  std::vector<std::string> letters;
  for (int c = 1; c <= kColumns; ++c)
    letters.push_back(zrv::workbook::ColumnLetters(c));
  const auto start = Clock::now();
  const auto sheet = zrv::workbook::OpenFirstWorksheet(path);
  const auto opened = Clock::now();
  size_t cells = 0, bytes = 0;
  for (int r = 1; r <= sheet->UsedRowCount(); ++r) {
    const std::string row = std::to_string(r);
    for (const auto& column : letters) {
      const std::string text = sheet->CellText(column + row);
      cells += !text.empty();
      bytes += text.size();
    }
  }
  const auto done = Clock::now();
  auto ms = [](auto d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };
  std::printf(
      "%-6s open %7.1f ms  read %6.1f ms  total %7.1f ms  rows %d  cells %zu  "
      "text %.1f MB  peak %ld MB\n",
      std::filesystem::path(path).extension().c_str(), ms(opened - start),
      ms(done - opened), ms(done - start), sheet->UsedRowCount(), cells,
      bytes / 1048576.0, PeakMegabytes());
  return 0;
}

// Writes the header and the first 1,000 data rows of `path` as a workbook of
// refused rows, each with a reason, and reports the cost of the writing alone.
int MeasureWrite(const std::string& path) {
  using Clock = std::chrono::steady_clock;
  const auto sheet = zrv::workbook::OpenFirstWorksheet(path);
  zrv::workbook::TextRows rows;
  for (int r = 1; r <= kRefusedRows + 1 && r <= sheet->UsedRowCount(); ++r) {
    rows.emplace_back();
    for (int c = 1; c <= kColumns; ++c)
      rows.back().push_back(sheet->CellText(r, c));
    rows.back().push_back(
        "FATAL : Липсва месечна цена(или въведената "
        "стойност е невалидна) на ред номер : " +
        std::to_string(r));
  }
  const long peakBefore = PeakMegabytes();
  const std::string out = path + ".refused.xlsx";
  const auto start = Clock::now();
  zrv::workbook::WriteTextWorkbook(out, rows);
  const auto done = Clock::now();
  std::printf(
      "write  %d rows  %7.1f ms  file %.1f MB  peak %ld MB (%ld MB "
      "before writing)\n",
      static_cast<int>(rows.size()) - 1,
      std::chrono::duration<double, std::milli>(done - start).count(),
      std::filesystem::file_size(out) / 1048576.0, PeakMegabytes(), peakBefore);
  return 0;
}

int RunChild(const char* self, const char* mode, const std::string& path) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    execl("/proc/self/exe", self, mode, path.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--measure") return Measure(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--write")
    return MeasureWrite(argv[2]);
  std::string folder = argc > 1 ? argv[1] : "";
  if (folder.empty()) {
    char pattern[] = "/tmp/zrv-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    folder = pattern;
  }
  std::filesystem::create_directories(folder);
  std::vector<zrv::test::Row> rows;
  for (const char* name : {"bench.xls", "bench.xlsx"}) {
    if (std::filesystem::exists(folder + "/" + name)) continue;
    if (rows.empty()) {
      for (int i = 1; i <= kRows; ++i) rows.push_back(ContractRow(i));
    }
    std::printf("making %s/%s ...\n", folder.c_str(), name);
    std::fflush(stdout);
    zrv::test::MakeWorkbook(folder, name, rows);
  }
  if (!std::filesystem::exists(folder + "/bench.ods")) {
    std::printf("making %s/bench.ods ...\n", folder.c_str());
    zrv::test::MakeOdsCopy(folder + "/bench.xlsx", folder + "/bench.ods");
  }
  for (const char* name : {"bench.xls", "bench.xlsx", "bench.ods"}) {
    if (RunChild(argv[0], "--measure", folder + "/" + name) != 0) return 1;
  }
  return RunChild(argv[0], "--write", folder + "/bench.xlsx");
}
