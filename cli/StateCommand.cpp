// zorvit state CONTRACT_ID [--date dd.mm.yyyy]: loads a stored contract and
// prints its state at the date (today by default): every period with its price,
// what is paid and open, its due date and late-payment interest, the interest
// explanation and the totals due.
//
// Loading deletes the contract's payments of pay type 1 that no invoice owns,
// as it does in the rental application; nothing else is written.

#include <iostream>
#include <string>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "common/Dates.h"
#include "common/Error.h"
#include "common/Text.h"
#include "schedule/DocInfo.h"
#include "schedule/DocInfoSettings.h"
#include "schedule/RoundMoney.h"
#include "schedule/StateTables.h"

namespace zrv::cli {

namespace {

constexpr const char* kSelectNumber =
    "select doc_nomtxt from documents where doc_id = %d";

constexpr const char* kMsgBadId = "Невалиден номер на договор: ";
constexpr const char* kMsgBadDate = "Невалидна дата (очаква се дд.мм.гггг): ";
constexpr const char* kMsgNoContract = "Няма договор с номер %d.";

using schedule::TDocInfo;
using schedule::TRentRow;

std::string Money(double amount) {
  return FormatAmount(schedule::RoundMoney(amount));
}

// The text padded with blanks to `width` characters (not bytes), on the left or
// the right.
std::string Pad(const std::string& text, size_t width, bool right = false) {
  const size_t length = Utf8Length(text);
  const std::string blanks(length < width ? width - length : 0, ' ');
  return right ? blanks + text : text + blanks;
}

// Line ends as a terminal wants them.
std::string Lines(std::string text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

// The contract's number as the register shows it; false when no such contract
// exists.
bool FindContract(db::Connection& connection, int32_t id, std::string& number) {
  auto q = connection.NewQuery();
  q->SetSQL(Format(kSelectNumber, id));
  q->Open();
  if (q->Eof()) return false;
  number = q->FieldAt(0).AsString();
  return true;
}

void PrintHeader(const TDocInfo& info, const std::string& number) {
  std::cout << "Договор № " << number << " (id " << info.ContractId << "), тип "
            << info.ContractType;
  if (!info.TypeText.empty()) std::cout << " " << info.TypeText;
  std::cout << "\nСрок: " << FormatDMY(info.Start) << " - "
            << FormatDMY(info.Stop) << ", валута:" << info.CurrencyText
            << ", начална сума: " << Money(info.InitSum) << "\n";
  if (info.TerminationDate != 0) {
    std::cout << "Прекратен на: " << FormatDMY(info.TerminationDate) << "\n";
  }
  if (info.InterestStop != 0) {
    std::cout << "Лихва не се начислява след: " << FormatDMY(info.InterestStop)
              << "\n";
  }
  std::cout << "Състояние към " << FormatDMY(info.StateDate) << ", лихва до "
            << FormatDMY(info.InterestDate) << "\n\n";
}

void PrintSchedule(const TDocInfo& info) {
  std::cout << Pad("Период", 9) << Pad("Цена", 11, true)
            << Pad("Платено", 11, true) << Pad("Остатък", 11, true) << "  "
            << Pad("Падеж", 11) << Pad("Дни", 5, true) << Pad("Лихва", 10, true)
            << Pad("Пл. лихва", 11, true) << "  Платено до\n";
  for (int i = 0; i < info.Rents.Count(); ++i) {
    const TRentRow& row = *info.Rents.At(i);
    std::cout << Pad(Format("%04d-%02d", row.RI_YEAR, row.RI_MONTH), 9)
              << Pad(Money(row.RI_PRICE), 11, true)
              << Pad(Money(row.RI_CARRIED), 11, true)
              << Pad(Money(row.Remaining), 11, true) << "  "
              << Pad(FormatDMY(row.DueDate), 11)
              << Pad(std::to_string(row.OverdueDays), 5, true)
              << Pad(Money(row.Interest), 10, true)
              << Pad(Money(row.InterestPaid), 11, true) << "  "
              << row.PaidToText << "\n";
  }
  if (info.Rents.Count() == 0) std::cout << "(няма погасителен план)\n";
}

void PrintSummary(const TDocInfo& info) {
  const schedule::TSummarySet& s = info.Summary;
  if (!s.Explanation.empty()) {
    std::cout << "\nОбяснение на лихвата (последният период е първи):\n"
              << Lines(s.Explanation);
  }
  auto line = [](const std::string& label, const std::string& value) {
    std::cout << Pad(label, 34) << Pad(value, 12, true) << "\n";
  };
  std::cout << "\n";
  line("Дължими периоди:", std::to_string(s.PeriodsDue));
  line("Дължимо:", Money(s.Due));
  line("ДДС:", Money(s.VatDue));
  line("Лихва на дължимите периоди:", Money(s.InterestDue));
  line("Пренос:", Money(s.Carry));
  line("Лихва общо с преноса:", Money(s.InterestTotal));
  line("Основа на лихвата:", Money(s.InterestBase));
  line("Аванс:", Money(s.Advance));
  line("Периоди, платени напред:", std::to_string(s.PeriodsPaidAhead));
  line("Дължимо в лева:", Money(s.DueConverted));
  line("ДДС в лева:", Money(s.VatConverted));
  line("Лихва в лева:", Money(s.InterestConverted));
}

int RunState(const ParsedArgs& args) {
  TDate date = Today();
  if (args.Has("date") && !TryParseDate(args.Value("date"), date))
    throw UsageError(kMsgBadDate + args.Value("date"));
  int32_t id = 0;
  if (!TryParseInt(args.Operands()[0], id))
    throw UsageError(kMsgBadId + args.Operands()[0]);
  const ConnectOptions options = ReadConnectOptions(args);

  auto connection = Connect(options);
  std::string number;
  if (!FindContract(*connection, id, number)) {
    std::cerr << Format(kMsgNoContract, id) << "\n";
    return kExitFailed;
  }
  // No stored-setting reader: the schedule module's setting is not needed here,
  // and reading it would store its default.
  schedule::DocInfoSettings::Init(*connection, nullptr);
  schedule::LoadStateTables(*connection);
  TDocInfo info;
  info.LoadContract(id);
  info.ComputeState(true, true, date, date);

  PrintHeader(info, number);
  PrintSchedule(info);
  PrintSummary(info);
  return kExitOk;
}

const CommandRegistration kState{
    {.words = {"state"},
     .operands = "НОМЕР_НА_ДОГОВОР",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "извежда погасителния план на договор с платеното, "
                "остатъка и просрочието, лихвата за забава и дължимите "
                "суми към дата (по подразбиране днес)",
     .options =
         WithLoginOptions({{"date", "дд.мм.гггг", "датата на състоянието"}}),
     .run = &RunState}};

}  // namespace

}  // namespace zrv::cli
