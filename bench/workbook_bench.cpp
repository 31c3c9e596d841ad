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
//   workbook_bench --rows N FOLDER [xlsx|ods|xls]...
//                                  makes FOLDER/rows-N.xlsx (N contract rows
//                                  with shared strings; the default), its .ods
//                                  copy or the same rows as .xls (N at most
//                                  65,536, by bench/xls_make_rows.pl) when
//                                  missing, and measures each
//   workbook_bench --large FOLDER  the same for 100,000 rows as .xlsx and .ods
//                                  and 65,536 as .xls, and tells whether the
//                                  .ods stays within 60 MB, the .xls 100 MB
//   workbook_bench --hostile FOLDER
//                                  makes ZIP, entity and nesting bombs and a
//                                  far-off cell as .xlsx and measures how
//                                  each is refused

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchUsage.h"
#include "bench/XlsxGenerator.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/TextWorkbookWriter.h"
#include "platform/workbook/Workbook.h"
#include "tests/support/OdsFiles.h"
#include "tests/support/Workbooks.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 36;
constexpr int kRefusedRows = 1000;

constexpr const char* kUsage =
    "Usage: workbook_bench [FOLDER]\n"
    "       workbook_bench --measure FILE\n"
    "       workbook_bench --write FILE\n"
    "       workbook_bench --rows N FOLDER [xlsx|ods|xls]...\n"
    "       workbook_bench --large FOLDER\n"
    "       workbook_bench --hostile FOLDER\n";
constexpr const char* kUnknown = "workbook_bench: cannot read the arguments: ";
constexpr const char* kBadRows =
    "workbook_bench: --rows takes a number of rows from 1 and the formats "
    "xlsx, ods or xls";

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

// Processor seconds so far (user and system): on a shared machine the wall
// clock says little.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int Measure(const std::string& path) {
  using Clock = std::chrono::steady_clock;
  std::vector<std::string> letters;
  for (int c = 1; c <= kColumns; ++c) letters.push_back(zrv::workbook::ColumnLetters(c));
  const auto start = Clock::now();
  std::unique_ptr<zrv::workbook::Worksheet> sheet;
  try {
    sheet = zrv::workbook::OpenFirstWorksheet(path);
  } catch (const zrv::workbook::WorkbookError& e) {
    std::printf("%-22s refused in %.1f s (cpu %.1f s), peak %ld MB: %s\n",
                std::filesystem::path(path).filename().c_str(),
                std::chrono::duration<double>(Clock::now() - start).count(), CpuSeconds(),
                PeakMegabytes(), e.what());
    return 0;
  }
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
  auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
  std::printf(
      "%-22s open %7.1f ms  read %6.1f ms  total %7.1f ms  rows %d  cells %zu  "
      "text %.1f MB  cpu %.1f s  peak %ld MB\n",
      std::filesystem::path(path).filename().c_str(), ms(opened - start), ms(done - opened),
      ms(done - start), sheet->UsedRowCount(), cells, bytes / 1048576.0, CpuSeconds(),
      PeakMegabytes());
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
    for (int c = 1; c <= kColumns; ++c) rows.back().push_back(sheet->CellText(r, c));
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

// The peak memory of the last process RunChild ran.
long lastChildPeakMb = 0;

int RunChild(const char* self, const char* mode, const std::string& path) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    execl("/proc/self/exe", self, mode, path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  lastChildPeakMb = usage.ru_maxrss / 1024;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Measures `path` in a process of its own, so each figure is its own peak.
bool MeasureApart(const char* self, const std::string& path) {
  return RunChild(self, "--measure", path) == 0;
}

// `times` copies of `unit` after `head`, given a megabyte at a time, then
// `tail`.
zrv::bench::PartProducer Repeat(std::string head, std::string unit, unsigned long long times,
                                std::string tail) {
  const unsigned long long perPiece = std::max<size_t>(1, (1 << 20) / unit.size());
  std::string block;
  for (unsigned long long i = 0; i < perPiece; ++i) block += unit;
  unsigned long long left = times;
  int stage = 0;
  return [=](std::string& piece) mutable {
    if (stage == 0) {
      stage = 1;
      piece = head;
      return true;
    }
    if (left > 0) {
      const unsigned long long n = std::min(left, perPiece);
      left -= n;
      piece.assign(block, 0, n * unit.size());
      return true;
    }
    if (stage == 1) {
      stage = 2;
      piece = tail;
      return true;
    }
    return false;
  };
}

constexpr const char* kSheetHead =
    "<worksheet "
    "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<sheetData>";
constexpr const char* kSheetTail = "</sheetData></worksheet>";
constexpr unsigned long long kGiB = 1ull << 30;

int MakeHostile(const char* self, const std::string& folder) {
  using zrv::bench::Fixed;
  using zrv::bench::WritePackage;
  const std::string cell = "<c r=\"A1\" t=\"s\"><v>0</v></c>";
  const std::string oneString = "<sst><si><t>Бомба</t></si></sst>";
  std::string laughs = "<!DOCTYPE worksheet [<!ENTITY l0 \"ха\">";
  for (int i = 1; i <= 9; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "\">";
  }
  laughs += "]>";
  struct Hostile {
    const char* name;
    std::vector<zrv::bench::GeneratedPart> parts;
  };
  std::vector<Hostile> files;
  files.push_back({"sheet-bomb.xlsx",
                   {{"xl/worksheets/sheet1.xml",
                     Repeat(std::string(kSheetHead) + "<row r=\"1\">", cell, 2 * kGiB / cell.size(),
                            std::string("</row>") + kSheetTail)},
                    {"xl/sharedStrings.xml", Fixed(oneString)}}});
  files.push_back({"strings-bomb.xlsx",
                   {{"xl/worksheets/sheet1.xml", Fixed(std::string(kSheetHead) + "<row r=\"1\">" +
                                                       cell + "</row>" + kSheetTail)},
                    {"xl/sharedStrings.xml",
                     Repeat("<sst>", "<si><t>Бомба</t></si>", 2 * kGiB / 24, "</sst>")}}});
  files.push_back({"styles-bomb.xlsx",
                   {{"xl/worksheets/sheet1.xml", Fixed(std::string(kSheetHead) + kSheetTail)},
                    {"xl/styles.xml", Repeat("<styleSheet><cellXfs>", "<xf numFmtId=\"14\"/>",
                                             kGiB / 20, "</cellXfs></styleSheet>")}}});
  files.push_back({"entity-bomb.xlsx",
                   {{"xl/worksheets/sheet1.xml", Fixed(laughs + kSheetHead +
                                                       "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\">"
                                                       "<is><t>&l9;</t></is></c></row>" +
                                                       kSheetTail)}}});
  files.push_back(
      {"entity-bomb-styles.xlsx",
       {{"xl/worksheets/sheet1.xml", Fixed(std::string(kSheetHead) + kSheetTail)},
        {"xl/styles.xml", Fixed(laughs + "<styleSheet><numFmts><numFmt numFmtId=\"164\" "
                                         "formatCode=\"&l9;\"/></numFmts></styleSheet>")}}});
  files.push_back({"nesting-bomb.xlsx",
                   {{"xl/worksheets/sheet1.xml", Repeat(kSheetHead, "<a>", 100'000'000, "")}}});
  files.push_back({"nesting-bomb-styles.xlsx",
                   {{"xl/worksheets/sheet1.xml", Fixed(std::string(kSheetHead) + kSheetTail)},
                    {"xl/styles.xml", Repeat("<styleSheet>", "<a>", 1'390'000, "")}}});
  files.push_back(
      {"far-cell.xlsx",
       {{"xl/worksheets/sheet1.xml",
         Fixed(std::string(kSheetHead) +
               "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>" + kSheetTail)}}});
  bool ok = true;
  for (auto& file : files) {
    const std::string path = folder + "/" + file.name;
    for (auto& part : file.parts) part.level = 9;  // as tight as an attacker
    if (!std::filesystem::exists(path)) {
      std::printf("making %s ...\n", path.c_str());
      std::fflush(stdout);
      WritePackage(path, std::move(file.parts));
    }
    ok = MeasureApart(self, path) && ok;
  }
  return ok ? 0 : 1;
}

// Shared strings of the generated contract sheet: the texts that repeat
// (3,600 of them and two rent kinds), then four texts of each row's own.
constexpr int kRepeated = 100 * kColumns + 2;

std::string RowString(int row, int which) {
  const std::string n = std::to_string(row);
  switch (which) {
    case 0:
      return n + "/2007";
    case 1:
      return "Наемател Иванов Петров " + n;
    case 2:
      return "ул. Александровска " + n;
    default:
      return "Представител " + n;
  }
}

// The same contract rows as ContractRow, as sheet XML with shared strings.
std::string SheetRow(int i) {
  const std::string r = std::to_string(i);
  const int own = kRepeated + 4 * (i - 1);
  auto shared = [&](int c, int index) {
    return "<c r=\"" + zrv::workbook::ColumnLetters(c + 1) + r + "\" t=\"s\"><v>" +
           std::to_string(index) + "</v></c>";
  };
  auto number = [&](int c, double value, int style) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return "<c r=\"" + zrv::workbook::ColumnLetters(c + 1) + r + "\" s=\"" + std::to_string(style) +
           "\"><v>" + text + "</v></c>";
  };
  std::string xml = "<row r=\"" + r + "\">";
  for (int c = 0; c < kColumns; ++c) {
    switch (c) {
      case 0:
        xml += shared(c, own);
        break;
      case 1:
        xml += number(c, 36526 + i % 7000, 2);
        break;
      case 2:
        xml += shared(c, i % 3 ? kRepeated - 2 : kRepeated - 1);
        break;
      case 3:
        xml += shared(c, own + 1);
        break;
      case 4:
        xml += number(c, 4101010000.0 + i, 1);
        break;
      case 7:
        xml += shared(c, own + 2);
        break;
      case 8:
        xml += shared(c, own + 3);
        break;
      case 18:
        xml += number(c, 20 + i % 500, 3);
        break;
      case 28:
        xml += number(c, 12 + i % 48, 5);
        break;
      case 29:
        xml += number(c, 100 + i * 1.25, 4);
        break;
      case 30:
        xml += number(c, 39083 + i % 365, 2);
        break;
      default:
        xml += shared(c, (i % 100) * kColumns + c);
    }
  }
  return xml + "</row>";
}

// Makes FOLDER/rows-N.xlsx when missing: N contract rows with shared strings.
std::string MakeRowsXlsx(int rows, const std::string& folder) {
  const std::string path = folder + "/rows-" + std::to_string(rows) + ".xlsx";
  if (!std::filesystem::exists(path)) {
    std::printf("making %s ...\n", path.c_str());
    std::fflush(stdout);
    int row = 0;
    auto sheet = [&, stage = 0](std::string& piece) mutable {
      if (stage == 2) return false;
      piece = stage == 0 ? kSheetHead : "";
      stage = 1;
      for (int k = 0; k < 1000 && row < rows; ++k) piece += SheetRow(++row);
      if (row == rows) {
        piece += kSheetTail;
        stage = 2;
      }
      return true;
    };
    int index = 0;
    const int strings = kRepeated + 4 * rows;
    auto sst = [&, started = false, ended = false](std::string& piece) mutable {
      if (ended) return false;
      piece = started ? "" : "<sst>";
      started = true;
      for (int k = 0; k < 4000 && index < strings; ++k, ++index) {
        std::string text;
        if (index < kRepeated - 2)
          text =
              "Текст " + std::to_string(index / kColumns) + "-" + std::to_string(index % kColumns);
        else if (index < kRepeated)
          text = index == kRepeated - 2 ? "Търговски обект" : "Жилище";
        else
          text = RowString(1 + (index - kRepeated) / 4, (index - kRepeated) % 4);
        piece += "<si><t>" + text + "</t></si>";
      }
      if (index == strings) {
        piece += "</sst>";
        ended = true;
      }
      return true;
    };
    zrv::bench::WritePackage(
        path, {{"xl/worksheets/sheet1.xml", sheet},
               {"xl/sharedStrings.xml", sst},
               {"xl/styles.xml",
                zrv::bench::Fixed("<styleSheet><numFmts><numFmt numFmtId=\"164\" "
                                  "formatCode=\"0000000000\"/><numFmt numFmtId=\"165\" "
                                  "formatCode=\"0.00&quot; квм&quot;\"/></numFmts><cellXfs>"
                                  "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/>"
                                  "<xf numFmtId=\"165\"/><xf numFmtId=\"4\"/><xf numFmtId=\"1\"/>"
                                  "</cellXfs></styleSheet>")}});
  }
  return path;
}

// Makes FOLDER/rows-N.ods when missing: the displayed texts of rows-N.xlsx
// (made first when missing), written a thousand rows at a time while libzip
// compresses them.
std::string MakeRowsOds(int rows, const std::string& folder) {
  const std::string path = folder + "/rows-" + std::to_string(rows) + ".ods";
  if (std::filesystem::exists(path)) return path;
  const auto sheet = zrv::workbook::OpenFirstWorksheet(MakeRowsXlsx(rows, folder));
  std::printf("making %s ...\n", path.c_str());
  std::fflush(stdout);
  int row = 0;
  auto content = [&, stage = 0](std::string& piece) mutable {
    if (stage == 2) return false;
    piece = stage == 0 ? zrv::test::OdsContentStart() : "";
    stage = 1;
    std::vector<std::string> texts(kColumns);
    for (int k = 0; k < 1000 && row < sheet->UsedRowCount(); ++k) {
      ++row;
      for (int c = 0; c < kColumns; ++c) texts[c] = sheet->CellText(row, c + 1);
      piece += zrv::test::OdsRow(texts);
    }
    if (row == sheet->UsedRowCount()) {
      piece += zrv::test::OdsContentEnd(row);
      stage = 2;
    }
    return true;
  };
  zrv::bench::WriteParts(
      path, {{"mimetype", zrv::bench::Fixed(zrv::test::kOdsMimeType)}, {"content.xml", content}});
  return path;
}

// Makes FOLDER/rows-N.xls when missing (N at most 65,536) with
// bench/xls_make_rows.pl: the contract rows of ContractRow.
std::string MakeRowsXls(int rows, const std::string& folder) {
  const std::string path = folder + "/rows-" + std::to_string(rows) + ".xls";
  if (std::filesystem::exists(path)) return path;
  std::printf("making %s ...\n", path.c_str());
  std::fflush(stdout);
  const std::string count = std::to_string(rows);
  const pid_t child = fork();
  if (child == 0) {
    execlp("perl", "perl", ZRV_SOURCE_DIR "/bench/xls_make_rows.pl", path.c_str(), count.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("bench/xls_make_rows.pl failed for " + path);
  return path;
}

// Runs `make` in a process of its own, so that the memory it takes is not
// counted in the figures of the processes measured after it.
bool MakeApart(const std::function<void()>& make) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    try {
      make();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      _exit(1);
    }
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Makes FOLDER/rows-N in each format (xlsx, ods, xls) and measures each.
int MakeRows(const char* self, int rows, const std::string& folder,
             const std::vector<std::string>& formats) {
  bool ok = true;
  for (const std::string& format : formats) {
    const bool made = MakeApart([&] {
      if (format == "xlsx") MakeRowsXlsx(rows, folder);
      if (format == "ods") MakeRowsOds(rows, folder);
      if (format == "xls") MakeRowsXls(rows, folder);
    });
    const std::string path = folder + "/rows-" + std::to_string(rows) + "." + format;
    ok = made && MeasureApart(self, path) && ok;
  }
  return ok ? 0 : 1;
}

// The sizes of the memory bounds: 100,000 rows as .xlsx and .ods, 65,536 (a
// whole .xls sheet) as .xls, each measured apart, with the peak each may
// reach.
int MeasureLarge(const char* self, const std::string& folder) {
  const struct {
    int rows;
    const char* format;
    long limitMb;  // 0: for comparison only
  } cases[] = {{100000, "xlsx", 0}, {100000, "ods", 60}, {65536, "xls", 100}};
  bool ok = true;
  for (const auto& c : cases) {
    if (MakeRows(self, c.rows, folder, {c.format}) != 0) return 1;
    const long peak = lastChildPeakMb;
    if (c.limitMb > 0) {
      std::printf("  %d rows x %d as .%s: peak %ld MB, bound %ld MB: %s\n", c.rows, kColumns,
                  c.format, peak, c.limitMb, peak <= c.limitMb ? "within" : "OVER");
      ok = ok && peak <= c.limitMb;
    }
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (zrv::bench::AsksForHelp(args)) return zrv::bench::ShowHelp(kUsage);
  const std::string mode = args.empty() ? "" : args[0];
  if (args.size() == 2 && mode == "--measure") return Measure(argv[2]);
  if (args.size() == 2 && mode == "--write") return MeasureWrite(argv[2]);
  if (args.size() == 2 && mode == "--hostile") {
    std::filesystem::create_directories(argv[2]);
    return MakeHostile(argv[0], argv[2]);
  }
  if (args.size() >= 3 && mode == "--rows") {
    std::vector<std::string> formats(args.begin() + 3, args.end());
    if (formats.empty()) formats.push_back("xlsx");
    int rows = 0;
    bool known = zrv::bench::ParseCount(args[1], 1, rows);
    for (const auto& format : formats)
      known = known && (format == "xlsx" || format == "ods" || format == "xls");
    if (!known) return zrv::bench::RefuseArgs(kUsage, kBadRows);
    std::filesystem::create_directories(args[2]);
    return MakeRows(argv[0], rows, args[2], formats);
  }
  if (args.size() == 2 && mode == "--large") {
    std::filesystem::create_directories(argv[2]);
    return MeasureLarge(argv[0], argv[2]);
  }
  // Anything else that starts with a dash is no folder: an option misspelt,
  // or one without its value.
  if (args.size() > 1 || mode.rfind("-", 0) == 0) {
    std::string given;
    for (const auto& arg : args) given += (given.empty() ? "" : " ") + arg;
    return zrv::bench::RefuseArgs(kUsage, kUnknown + given);
  }
  std::string folder = argc > 1 ? argv[1] : "";
  if (folder.empty()) {
    char pattern[] = "/tmp/zrv-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    folder = pattern;
  }
  std::filesystem::create_directories(folder);
  // Made apart: a measured process started from this one would count the
  // rows held here in its peak.
  const bool made = MakeApart([&folder] {
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
  });
  if (!made) return 1;
  for (const char* name : {"bench.xls", "bench.xlsx", "bench.ods"}) {
    if (RunChild(argv[0], "--measure", folder + "/" + name) != 0) return 1;
  }
  return RunChild(argv[0], "--write", folder + "/bench.xlsx");
}
