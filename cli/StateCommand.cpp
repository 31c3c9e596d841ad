// zorvit state CONTRACT_ID [--date dd.mm.yyyy] [--format text|csv|json]:
// loads a stored contract and prints its state at the date (today by
// default): the schedule with what is paid, open and overdue, each period's
// VAT and late-payment interest, the payments, the payment history, the
// invoices waiting for payment, the interest explanation and the totals due.
//
// Loading deletes the contract's payments of pay type 1 that no invoice owns,
// as it does in the rental application, and the report says how many; nothing
// else is written. With --read-only nothing is: the contract is read as
// `zorvit debtors` reads it, and those payments are only left out of the
// computation.

#include <iostream>
#include <string>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "cli/StateFormats.h"
#include "state/StateReport.h"
#include "common/Dates.h"
#include "common/Error.h"
#include "common/Text.h"
#include "state/BaseRates.h"
#include "state/ContractStream.h"
#include "state/DocInfo.h"
#include "state/ReadingTransaction.h"
#include "state/StateTables.h"
#include "state/store/ContractNumberStore.h"
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

constexpr const char* kMsgBadId = "Невалиден номер на договор: ";
constexpr const char* kMsgBadDate = "Невалидна дата (очаква се дд.мм.гггг): ";
constexpr const char* kMsgBadFormat =
    "Невалиден вид на изхода (очаква се text, csv или json): ";
constexpr const char* kMsgNoContract = "Няма договор с номер %d.";
constexpr const char* kDeletedKey = "deleted_payments";
constexpr const char* kLeftOutKey = "unlinked_payments_left_out";
constexpr const char* kLeftOutLabel =
    "Плащания без фактура, неотчетени (не са изтрити)";

enum class Form { Text, Csv, Json };

bool ParseForm(const std::string& text, Form& form) {
  if (text == "text")
    form = Form::Text;
  else if (text == "csv")
    form = Form::Csv;
  else if (text == "json")
    form = Form::Json;
  else
    return false;
  return true;
}

// Loads the contract as `zorvit debtors` does, in a transaction that is rolled
// back: the payments the clean-up would delete are left out and counted in
// `leftOut`. False when the contract is gone.
bool LoadReadOnly(db::Connection& connection, int32_t id,
                  state::TDocInfo& info, int& leftOut) {
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
    if (item.key == kDeletedKey)
      item = {kLeftOutKey, kLeftOutLabel, std::to_string(leftOut), true};
  }
}

int RunState(const ParsedArgs& args) {
  TDate date = Today();
  if (args.Has("date") && !TryParseDate(args.Value("date"), date))
    throw UsageError(kMsgBadDate + args.Value("date"));
  Form form = Form::Text;
  if (args.Has("format") && !ParseForm(args.Value("format"), form))
    throw UsageError(kMsgBadFormat + args.Value("format"));
  int32_t id = 0;
  if (!TryParseInt(args.Operands()[0], id))
    throw UsageError(kMsgBadId + args.Operands()[0]);
  const ConnectOptions options = ReadConnectOptions(args);

  auto connection = Connect(options);
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
  if (form == Form::Csv) {
    WriteStateCsv(report, std::cout);
  } else if (form == Form::Json) {
    WriteStateJson(report, std::cout);
  } else {
    WriteStateText(report, std::cout);
  }
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const CommandRegistration kState{
    {.words = {"state"},
     .operands = "НОМЕР_НА_ДОГОВОР",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "показва погасителния план на договор с платеното, остатъка, "
                "ДДС и лихвата за забава, плащанията и дължимите суми към дата "
                "(днес по подразбиране)",
     .options = WithLoginOptions(
         {{"date", "дд.мм.гггг", "датата на състоянието"},
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
