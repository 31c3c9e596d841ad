#include "state/StateReport.h"

#include <algorithm>
#include <cmath>

#include "common/Rounding.h"
#include "common/Text.h"
#include "schedule/RoundMoney.h"
#include "state/Interest.h"

namespace zrv::state {

namespace {

constexpr const char* kNoteNoRates =
    "Внимание: не са заредени основни лихвени проценти; лихвата по основния "
    "лихвен процент е изчислена с 0.00 % (заредете ги със „zorvit rates "
    "import“).";
constexpr const char* kNoteRatesEnd = "Основните лихвени проценти са заредени до %s";
constexpr const char* kInitial = "начално";
constexpr const char* kRegular = "плащане";
constexpr const char* kReversalOf = "сторно на № %d";
constexpr const char* kAdvance = "аванс";
constexpr const char* kYes = "да";
constexpr const char* kNo = "не";
constexpr const char* kHistoryKinds[] = {"", "приложено", "сторнирано", "сторно"};

std::string Money(double amount) { return AmountText(schedule::RoundMoney(amount)); }
std::string Date(TDate date) { return date != 0 ? FormatDMY(date) : ""; }
std::string Period(int year, int month) { return Format("%04d-%02d", year, month); }

bool AnyAnnexUsesBaseRates(const TDocInfo& info) {
  for (int i = 0; i < info.Annexes.Count(); ++i) {
    if (UsesBaseRates(info.Annexes.At(i).AN_LType)) return true;
  }
  return false;
}

std::vector<ReportItem> Header(const TDocInfo& info, const std::string& number) {
  // An unknown currency code has no name: the code itself is shown.
  const std::string currency =
      info.CurrencyText.empty() ? std::to_string(info.Currency) : Trim(info.CurrencyText);
  std::vector<ReportItem> items = {
      {"number", "Договор №", number},
      {"id", "Id", std::to_string(info.ContractId), true},
      {"type", "Тип", std::to_string(info.ContractType), true},
      {"type_text", "Вид", info.TypeText},
      {"start", "Начало", Date(info.Start)},
      {"stop", "Край", Date(info.Stop)},
      {"currency", "Валута", currency},
      {"initial_sum", "Начална сума", Money(info.InitSum), true},
  };
  if (info.TerminationDate != 0)
    items.push_back({"terminated", "Прекратен на", Date(info.TerminationDate)});
  if (info.InterestStop != 0) {
    items.push_back({"interest_stop", "Лихва не се начислява след", Date(info.InterestStop)});
  }
  items.push_back({"state_date", "Състояние към", Date(info.StateDate)});
  items.push_back({"interest_date", "Лихва до", Date(info.InterestDate)});
  items.push_back({"deleted_payments", "Изтрити плащания без фактура",
                   std::to_string(info.DeletedPayments), true});
  return items;
}

std::vector<std::string> Notes(const TDocInfo& info, const BaseRateTable& rates) {
  std::vector<std::string> notes;
  if (rates.Empty()) {
    if (AnyAnnexUsesBaseRates(info)) notes.push_back(kNoteNoRates);
  } else {
    const TDate last = rates.At(rates.Count() - 1).lastDay;
    if (last < std::trunc(info.StateDate))
      notes.push_back(Format(kNoteRatesEnd, FormatDMY(last).c_str()));
  }
  return notes;
}

ReportTable Periods(const TDocInfo& info) {
  ReportTable t{"periods",
                "Погасителен план",
                {{"period", "Период"},
                 {"price", "Цена", true},
                 {"paid", "Платено", true},
                 {"remaining", "Остатък", true},
                 {"vat_paid", "ДДС пл.", true},
                 {"vat_remaining", "ДДС ост.", true},
                 {"due_date", "Падеж"},
                 {"overdue_days", "Дни", true},
                 {"interest", "Лихва", true},
                 {"interest_paid", "Пл. лихва", true},
                 {"interest_paid_to", "Лихва платена до"}},
                {}};
  for (int i = 0; i < info.Rents.Count(); ++i) {
    const schedule::TRentRow& r = *info.Rents.At(i);
    t.rows.push_back({Period(r.RI_YEAR, r.RI_MONTH), Money(r.RI_PRICE), Money(r.RI_CARRIED),
                      Money(r.Remaining), Money(r.VatOfPaid), Money(r.VatOfRemaining),
                      Date(r.DueDate), std::to_string(r.OverdueDays), Money(r.Interest),
                      Money(r.InterestPaid), r.PaidToText});
  }
  return t;
}

ReportTable Payments(const TDocInfo& info) {
  ReportTable t{"payments",
                "Плащания",
                {{"number", "№", true},
                 {"date", "Дата"},
                 {"amount", "Сума", true},
                 {"interest", "Лихва", true},
                 {"vat", "ДДС", true},
                 {"interest_paid_to", "Лихва платена до"},
                 {"kind", "Вид"},
                 {"invoice", "Фактура"},
                 {"counted", "Отчетено"}},
                {}};
  for (int i = 0; i < info.Payments.Count(); ++i) {
    const TPaymentRow& p = info.Payments.At(i);
    const std::string kind = p.number == 0                  ? kInitial
                             : p.status == kPaymentReversal ? Format(kReversalOf, p.masterNumber)
                                                            : kRegular;
    t.rows.push_back({std::to_string(p.number), Date(p.date), Money(p.amount), Money(p.interest),
                      Money(p.vat), p.interestDate != 0 ? Date(p.interestDate - 1) : "", kind,
                      p.invoiceLink != 0 ? std::to_string(p.invoiceLink) : "",
                      p.counted ? kYes : kNo});
  }
  return t;
}

ReportTable History(const TDocInfo& info) {
  ReportTable t{"history",
                "История на плащанията",
                {{"payment", "Плащане №", true},
                 {"period", "Период"},
                 {"amount", "Сума", true},
                 {"kind", "Вид"}},
                {}};
  for (int i = 0; i < info.History.Count(); ++i) {
    const TPayHistoryItem& h = info.History.At(i);
    const int kind = std::clamp<int>(h.kind, 0, 3);
    t.rows.push_back({std::to_string(h.paymentNumber),
                      h.advance ? kAdvance : Period(h.year, h.month), Money(h.amount),
                      kHistoryKinds[kind]});
  }
  return t;
}

ReportTable WaitingInvoices(const TDocInfo& info) {
  ReportTable t{"invoices",
                "Чакащи плащане фактури",
                {{"period", "Период"},
                 {"invoice", "Фактура №"},
                 {"sum", "Сума", true},
                 {"vat", "ДДС", true},
                 {"state", "Състояние", true},
                 {"waiting", "Чака", true}},
                {}};
  for (int i = 0; i < info.WaitPayments.Count(); ++i) {
    const TWaitPaymentRow& w = info.WaitPayments.At(i);
    t.rows.push_back({Period(w.year, w.month), Format("%.0f", w.invoiceNumber),
                      Money(w.invoiceClearSum), Money(w.invoiceVat), std::to_string(w.state),
                      std::to_string(w.invoiceWaiting)});
  }
  return t;
}

// The explanation's lines without the blank ones between periods.
std::vector<std::string> Explanation(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
      if (!Trim(line).empty()) lines.push_back(line);
      line.clear();
    } else {
      line += text[i];
    }
  }
  return lines;
}

std::vector<ReportItem> Totals(const TDocInfo& info) {
  const TSummarySet& s = info.Summary;
  // Money paid for later periods can exceed what is due: then nothing is due
  // and the rest shows as paid ahead.
  const double due = schedule::RoundMoney(s.Due);
  return {
      {"periods_due", "Дължими периоди", std::to_string(s.PeriodsDue), true},
      {"due", "Дължимо", Money(std::max(due, 0.0)), true},
      {"paid_ahead", "Платено напред", Money(std::max(-due, 0.0)), true},
      {"vat_due", "ДДС", Money(s.VatDue), true},
      {"interest_due", "Лихва на дължимите периоди", Money(s.InterestDue), true},
      {"carry", "Пренос", Money(s.Carry), true},
      {"interest_total", "Лихва общо с преноса", Money(s.InterestTotal), true},
      {"interest_base", "Основа на лихвата", Money(s.InterestBase), true},
      {"advance", "Аванс", Money(s.Advance), true},
      {"periods_paid_ahead", "Периоди, платени напред", std::to_string(s.PeriodsPaidAhead), true},
      {"due_bgn", "Дължимо в лева", Money(std::max(s.DueConverted, 0.0)), true},
      {"vat_bgn", "ДДС в лева", Money(s.VatConverted), true},
      {"interest_bgn", "Лихва в лева", Money(s.InterestConverted), true},
  };
}

}  // namespace

StateReport BuildStateReport(const TDocInfo& info, const std::string& number,
                             const BaseRateTable& rates) {
  StateReport report;
  report.header = Header(info, number);
  report.notes = Notes(info, rates);
  report.tables = {Periods(info), Payments(info), History(info), WaitingInvoices(info)};
  report.explanation = Explanation(info.Summary.Explanation);
  report.totals = Totals(info);
  return report;
}

}  // namespace zrv::state
