// zorvit state CONTRACT_ID|--number NUMBER [--date dd.mm.yyyy]
// [--format text|csv|json]: loads a stored contract, named by its id or by
// its register number (doc_nomtxt), and prints its state at the date (today
// by default): the schedule with what is paid, open and overdue, each period's
// VAT and late-payment interest, the payments, the payment history, the
// invoices waiting for payment, the interest explanation and the totals due.
//
// Loading deletes the contract's payments of pay type 1 that no invoice owns,
// as it does in the rental application, and the report says how many; nothing
// else is written. With --read-only nothing is: the contract is read as
// `zorvit debtors` reads it, and those payments are only left out of the
// computation.
//
// A number two contracts share names neither: they are listed on standard
// error, each with its id, and the command ends with exit code 1, as it does
// for a number or an id no contract has.

#include <iostream>
#include <optional>
#include <string>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "cli/OutputForm.h"
#include "cli/StateFormats.h"
#include "common/Dates.h"
#include "common/Error.h"
#include "common/Text.h"
#include "state/BaseRates.h"
#include "state/ContractStream.h"
#include "state/DocInfo.h"
#include "state/ReadingTransaction.h"
#include "state/StateReport.h"
#include "state/StateTables.h"
#include "state/store/ContractNumberStore.h"
#include "state/store/ContractsByNumberStore.h"
#include "state/store/StateTablesStore.h"

namespace zrv::cli {

namespace {

constexpr const char* kDetails =
    "Показва състоянието на договор към дата (по подразбиране днес): "
    "погасителния план с платеното, остатъка, ДДС, падежа и лихвата за "
    "забава на всеки период, плащанията, историята на плащанията, чакащите "
    "плащане фактури, обяснението на лихвата и дължимите суми.\n"
    "Зареждането изтрива плащанията от вид 1 на договора, които не са свързани "
    "с фактура (както в програмата за наемите), и показва броя им; с "
    "--read-only те само не се отчитат и базата не се променя. Лихвата по "
    "основния лихвен процент се изчислява по периодите, заредени със „zorvit "
    "rates import“.\n";

constexpr const char* kMsgBadId =
    "Невалиден ИД на договор: %s (договорът с този номер се показва със "
    "„zorvit state --number %s“)";
constexpr const char* kMsgIdOrNumber = "дава се ИД на договор или --number НОМЕР, не и двете";
constexpr const char* kMsgNoIdNorNumber = "липсва ИД на договор или --number";
constexpr const char* kMsgNoNumber = "Няма договор с номер %s.";
constexpr const char* kMsgSharedNumber = "%zu договора имат номер %s; посочете единия с ИД:\n";
constexpr const char* kMsgCandidate = "  zorvit state %d";
constexpr const char* kFrom = "от ";
constexpr const char* kUntil = "до ";
constexpr const char* kTenantSeparator = ", ";
constexpr const char* kMsgBadDate = "Невалидна дата (очаква се дд.мм.гггг): ";
constexpr const char* kMsgBadFormat = "Невалиден вид на изхода (очаква се text, csv или json): ";
constexpr const char* kMsgNoContract = "Няма договор с ИД %d.";
constexpr const char* kDeletedKey = "deleted_payments";
constexpr const char* kLeftOutKey = "unlinked_payments_left_out";
constexpr const char* kLeftOutLabel = "Плащания без фактура, неотчетени (не са изтрити)";

// Loads the contract as `zorvit debtors` does, in a transaction that is rolled
// back: the payments the clean-up would delete are left out and counted in
// `leftOut`. False when the contract is gone.
bool LoadReadOnly(db::Connection& connection, int32_t id, state::TDocInfo& info, int& leftOut) {
  state::ContractSelection one;
  one.contractId = id;
  state::ContractStream stream(connection, one);
  state::ContractFacts facts;
  if (!stream.Next(info, facts)) return false;
  leftOut = facts.unlinkedPayments;
  return true;
}

// The header of a read-only report: nothing was deleted, and so many payments
// were left out.
void ReportLeftOut(state::StateReport& report, int leftOut) {
  for (state::ReportItem& item : report.header) {
    if (item.key == kDeletedKey) item = {kLeftOutKey, kLeftOutLabel, std::to_string(leftOut), true};
  }
}

// "  zorvit state 14  (от 01.01.2008 до 31.12.2008, Иван Петров)": the
// command that shows the contract, and what tells it from the others; a date
// or a tenant the contract lacks is left out.
std::string CandidateLine(const state::ContractWithNumber& c) {
  std::string known;
  if (c.start != 0) known = kFrom + FormatDMY(c.start);
  if (c.stop != 0) known += std::string(known.empty() ? "" : " ") + kUntil + FormatDMY(c.stop);
  if (!c.tenant.empty()) known += (known.empty() ? "" : kTenantSeparator) + c.tenant;
  return Format(kMsgCandidate, c.id) + (known.empty() ? "" : "  (" + known + ")") + "\n";
}

// The id of the one contract with `number`. Nullopt, with the reason on
// standard error, when no contract or more than one has it.
std::optional<int32_t> OnlyContractWithNumber(db::Connection& connection,
                                              const std::string& number) {
  const auto found = state::FindContractsByNumber(connection, number);
  if (found.size() == 1) return found[0].id;
  if (found.empty()) {
    std::cerr << Format(kMsgNoNumber, number.c_str()) << "\n";
    return std::nullopt;
  }
  std::cerr << Format(kMsgSharedNumber, found.size(), number.c_str());
  for (const state::ContractWithNumber& c : found) {
    std::cerr << CandidateLine(c);
  }
  return std::nullopt;
}

int RunState(const ParsedArgs& args) {
  TDate date = Today();
  if (args.Has("date") && !TryParseDate(args.Value("date"), date))
    throw UsageError(kMsgBadDate + args.Value("date"));
  const OutputForm form =
      ReadOutputForm(args, {OutputForm::kText, OutputForm::kCsv, OutputForm::kJson}, kMsgBadFormat);
  const bool byNumber = args.Has("number");
  const std::string givenNumber = Trim(args.Value("number"));
  if (byNumber && !args.Operands().empty()) throw UsageError(kMsgIdOrNumber);
  if (byNumber ? givenNumber.empty() : args.Operands().empty()) throw UsageError(kMsgNoIdNorNumber);
  int32_t id = 0;
  if (!byNumber && !TryParseInt(args.Operands()[0], id)) {
    const std::string& given = args.Operands()[0];
    throw UsageError(Format(kMsgBadId, given.c_str(), given.c_str()));
  }
  const ConnectOptions options = ReadConnectOptions(args);

  auto connection = Connect(options);
  if (byNumber) {
    const std::optional<int32_t> only = OnlyContractWithNumber(*connection, givenNumber);
    if (!only) return kExitFailed;
    id = *only;
  }
  std::string number;
  if (!state::FindContractNumber(*connection, id, number)) {
    std::cerr << Format(kMsgNoContract, id) << "\n";
    return kExitFailed;
  }
  state::StateTables tables;
  state::TDocInfo info(*connection, tables);
  int leftOut = 0;
  if (args.Has("read-only")) {
    // The tables and the contract are read in one transaction that is rolled
    // back.
    state::ReadingTransaction reading(*connection);
    tables = state::LoadStateTables(*connection);
    if (!LoadReadOnly(*connection, id, info, leftOut)) {
      std::cerr << Format(kMsgNoContract, id) << "\n";
      return kExitFailed;
    }
  } else {
    tables = state::LoadStateTables(*connection);
    info.LoadContract(id);
  }
  info.ComputeState(true, true, date, date);

  state::StateReport report = state::BuildStateReport(info, number, tables.baseRates);
  if (args.Has("read-only")) ReportLeftOut(report, leftOut);
  if (form == OutputForm::kCsv) {
    WriteStateCsv(report, std::cout);
  } else if (form == OutputForm::kJson) {
    WriteStateJson(report, std::cout);
  } else {
    WriteStateText(report, std::cout);
  }
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const CommandRegistration kState{
    {.words = {"state"},
     .operands = "[ИД_НА_ДОГОВОР]",
     .minOperands = 0,
     .maxOperands = 1,
     .summary = "показва погасителния план на договор с платеното, остатъка, "
                "ДДС и лихвата за забава, плащанията и дължимите суми към дата "
                "(днес по подразбиране)",
     .options = WithLoginOptions(
         {{"number", "НОМЕР", "договорът с този номер (както е в регистъра), вместо ИД"},
          {"date", "дд.мм.гггг", "датата на състоянието"},
          {"format", "text|csv|json",
           "вид на изхода (text по подразбиране; csv по RFC 4180 в UTF-8 и "
           "json са за програми)"},
          {"read-only", "",
           "не променя базата данни: плащанията от вид 1 без фактура само не "
           "се отчитат"}}),
     .details = kDetails,
     .run = &RunState}};

}  // namespace

}  // namespace zrv::cli
