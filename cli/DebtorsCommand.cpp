// zorvit debtors [--date dd.mm.yyyy] [--min-due AMOUNT] [--format
// text|csv|json|xlsx] [--output FILE] [--municipality NAME] [--tenant TEXT]
// [--type TYPE]: the month's debtors, one line per contract with something
// due or paid ahead at the date, the largest amount due first, with totals.
//
// Nothing in the database changes: the contracts are read in one transaction
// that is rolled back, and the payments the state's loading would delete are
// only left out of the computation.

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "cli/DebtorsFormats.h"
#include "cli/OutputForm.h"
#include "common/Dates.h"
#include "common/Error.h"
#include "common/SystemErrorText.h"
#include "common/Text.h"
#include "state/DebtorList.h"
#include "state/DebtorTable.h"

namespace zrv::cli {

namespace {

constexpr const char* kDetails =
    "Изчислява състоянието на всички избрани договори към датата (както "
    "„zorvit state“ за всеки от тях) и показва по един ред за всеки договор с "
    "дължимо или платено напред: наемателя, имота, дължимите периоди, "
    "дължимото, ДДС, лихвата, лихвата с преноса, аванса и сумите в лева, "
    "подредени по дължимото (най-голямото първо), с общите суми.\n"
    "Базата данни не се променя: договорите се четат в една транзакция, "
    "която се отменя, а плащанията от вид 1 без фактура, които „zorvit "
    "state“ изтрива, само не се отчитат.\n";
constexpr const char* kMsgBadDate = "Невалидна дата (очаква се дд.мм.гггг): ";
constexpr const char* kMsgBadAmount = "Невалидна сума: ";
constexpr const char* kMsgBadFormat =
    "Невалиден вид на изхода (очаква се text, csv, json или xlsx): ";
constexpr const char* kMsgXlsxNeedsFile =
    "Работната книга (--format xlsx) се записва във файл: дайте --output "
    "ФАЙЛ";
constexpr const char* kMsgCannotWrite = "Файлът %s не може да бъде записан";
constexpr const char* kProgress = "\rДоговори: %d от %d";
constexpr const char* kWritten = "Списъкът е записан в %s.";
constexpr const char* kStandardOutput = "-";
constexpr const char* kTemporaryWorkbook = "zorvit-debtors-XXXXXX.xlsx";
constexpr int kXlsxSuffixLength = 5;
// A progress line at most this often.
constexpr auto kProgressEvery = std::chrono::milliseconds(200);

// "Договори: N от M" on standard error, over itself, when it is a terminal.
class ProgressLine {
 public:
  ProgressLine() : shown_(isatty(STDERR_FILENO) == 1) {}
  ~ProgressLine() {
    if (written_) std::fputs("\n", stderr);
  }
  void Show(int done, int total) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done != total && written_ && now - last_ < kProgressEvery) return;
    last_ = now;
    written_ = true;
    std::fputs(Format(kProgress, done, total).c_str(), stderr);
    std::fflush(stderr);
  }

 private:
  bool shown_;
  bool written_ = false;
  std::chrono::steady_clock::time_point last_;
};

// The workbook written to a temporary file (the writer needs a file it can
// seek in) and copied to standard output. The file is made by mkstemps, under
// a name no other user can guess or take first.
void WorkbookToStandardOutput(const state::DebtorList& list) {
  std::string path = (std::filesystem::temp_directory_path() / kTemporaryWorkbook).string();
  const int made = mkstemps(path.data(), kXlsxSuffixLength);
  if (made < 0)
    throw Error(Format(kMsgCannotWrite, path.c_str()) + " (" + SystemErrorText(errno) + ")");
  close(made);
  struct Removed {
    std::string path;
    ~Removed() {
      std::error_code ignored;
      std::filesystem::remove(path, ignored);
    }
  } removed{path};
  state::WriteDebtorsWorkbook(list, path);
  std::ifstream in(path, std::ios::binary);
  std::cout << in.rdbuf();
  std::cout.flush();
}

void WriteList(const state::DebtorList& list, OutputForm form, std::ostream& out) {
  if (form == OutputForm::kCsv) {
    WriteDebtorsCsv(list, out);
  } else if (form == OutputForm::kJson) {
    WriteDebtorsJson(list, out);
  } else {
    WriteDebtorsText(list, out);
  }
}

int RunDebtors(const ParsedArgs& args) {
  state::DebtorOptions options;
  options.date = Today();
  if (args.Has("date") && !TryParseDate(args.Value("date"), options.date))
    throw UsageError(kMsgBadDate + args.Value("date"));
  if (args.Has("min-due") &&
      (!TryParseFloat(args.Value("min-due"), options.minDue) || options.minDue < 0))
    throw UsageError(kMsgBadAmount + args.Value("min-due"));
  const OutputForm form = ReadOutputForm(
      args, {OutputForm::kText, OutputForm::kCsv, OutputForm::kJson, OutputForm::kXlsx},
      kMsgBadFormat);
  const std::string output = args.Value("output");
  if (form == OutputForm::kXlsx && output.empty()) throw UsageError(kMsgXlsxNeedsFile);
  options.selection.municipality = args.Value("municipality");
  options.selection.tenant = args.Value("tenant");
  options.selection.type = args.Value("type");
  const ConnectOptions connect = ReadConnectOptions(args);

  auto connection = Connect(connect);
  state::DebtorList list;
  {
    ProgressLine progress;
    list = state::ReadDebtors(*connection, options,
                              [&progress](int done, int total) { progress.Show(done, total); });
  }
  if (form == OutputForm::kXlsx && output == kStandardOutput) {
    WorkbookToStandardOutput(list);
    return std::cout ? kExitOk : kExitFailed;
  }
  if (form == OutputForm::kXlsx) {
    state::WriteDebtorsWorkbook(list, output);
    std::cout << Format(kWritten, output.c_str()) << "\n";
    return kExitOk;
  }
  if (output.empty() || output == kStandardOutput) {
    WriteList(list, form, std::cout);
    std::cout.flush();
    return std::cout ? kExitOk : kExitFailed;
  }
  std::ofstream file(output, std::ios::binary);
  if (file) WriteList(list, form, file);
  file.close();
  if (!file)
    throw Error(Format(kMsgCannotWrite, output.c_str()) + " (" + SystemErrorText(errno) + ")");
  return kExitOk;
}

const CommandRegistration kDebtors{
    {.words = {"debtors"},
     .summary = "длъжниците към дата: по един ред за всеки договор с дължимо "
                "или платено напред, с лихвата за забава и общите суми; "
                "базата данни не се променя",
     .options = WithLoginOptions(
         {{"date", "дд.мм.гггг", "датата на състоянието (днес по подразбиране)"},
          {"min-due", "СУМА", "само договорите с дължимо поне СУМА"},
          {"format", "text|csv|json|xlsx",
           "вид на изхода (text по подразбиране; csv по RFC 4180 в UTF-8 и "
           "json са за програми; xlsx е работна книга и иска --output)"},
          {"output", "ФАЙЛ",
           "записва списъка във файла вместо на екрана (\"-\": на "
           "стандартния изход, и работната книга)"},
          {"municipality", "ОБЩИНА", "само имотите в общината"},
          {"tenant", "ЕГН|ИМЕ", "само наемателят с този ЕГН/ЕИК или с тази част от името"},
          {"type", "ВИД",
           "само договорите с този вид наем (или тип на договора, когато е "
           "число)"}}),
     .details = kDetails,
     .run = &RunDebtors}};

}  // namespace

}  // namespace zrv::cli
