#include "schedule/BaseRatesStore.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "common/Text.h"
#include "platform/db/Transaction.h"

namespace zrv::schedule {

namespace {

constexpr const char* kSelectRates =
    "select BR_FIRSTDAY, BR_LASTDAY, BR_RATE, BR_DAILY, BR_ISSUED from "
    "BASERATES "
    "order by BR_FIRSTDAY";
constexpr const char* kDeleteRates = "delete from BASERATES";
constexpr const char* kInsertRate =
    "insert into BASERATES (BR_FIRSTDAY, BR_LASTDAY, BR_RATE, BR_DAILY, "
    "BR_ISSUED) "
    "values (:first, :last, :rate, :daily, :issued)";

std::vector<std::string> SplitFields(const std::string& line) {
  const char separator = line.find(';') != std::string::npos ? ';' : ',';
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, separator)) fields.push_back(Trim(field));
  return fields;
}

bool ParseLine(const std::vector<std::string>& f, BaseRatePeriod& p,
               std::string& problem) {
  if (f.size() < 3 || f.size() > 5) {
    problem = "очакват се от 3 до 5 полета";
    return false;
  }
  if (!TryParseDate(f[0], p.firstDay) || !TryParseDate(f[1], p.lastDay)) {
    problem = "датите трябва да са във вида дд.мм.гггг";
    return false;
  }
  if (!TryParseFloat(f[2], p.ratePercent)) {
    problem = "процентът не е число";
    return false;
  }
  p.dailyFactor = p.ratePercent / 36000;
  if (f.size() > 3 && !f[3].empty() && !TryParseFloat(f[3], p.dailyFactor)) {
    problem = "дневният множител не е число";
    return false;
  }
  p.issueDate = p.firstDay;
  if (f.size() > 4 && !f[4].empty() && !TryParseDate(f[4], p.issueDate)) {
    problem = "датата на обнародване трябва да е във вида дд.мм.гггг";
    return false;
  }
  return true;
}

}  // namespace

void LoadBaseRates(db::Connection& connection, BaseRateTable& table) {
  table.Clear();
  auto q = connection.NewQuery();
  q->SetSQL(kSelectRates);
  q->Open();
  for (; !q->Eof(); q->Next()) {
    BaseRatePeriod p;
    p.firstDay = q->FieldByName("BR_FIRSTDAY").AsDateTime();
    p.lastDay = q->FieldByName("BR_LASTDAY").AsDateTime();
    p.ratePercent = q->FieldByName("BR_RATE").AsFloat();
    p.dailyFactor = q->FieldByName("BR_DAILY").AsFloat();
    p.issueDate = q->FieldByName("BR_ISSUED").AsDateTime();
    table.Add(p);
  }
}

void StoreBaseRates(db::Connection& connection, const BaseRateTable& table) {
  db::OwnTransaction tx(connection);
  auto q = connection.NewQuery();
  q->SetSQL(kDeleteRates);
  q->Execute();
  q->SetSQL(kInsertRate);
  for (const BaseRatePeriod& p : table.Entries()) {
    q->SetDateTime("first", p.firstDay);
    q->SetDateTime("last", p.lastDay);
    q->SetFloat("rate", p.ratePercent);
    q->SetFloat("daily", p.dailyFactor);
    q->SetDateTime("issued", p.issueDate);
    q->Execute();
  }
  tx.Commit();
}

bool ParseBaseRatesCsv(const std::string& text, BaseRateTable& table,
                       std::string& error) {
  std::vector<BaseRatePeriod> periods;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = SplitFields(line);
    TDate ignored = 0;
    if (periods.empty() && number == 1 && !TryParseDate(fields[0], ignored))
      continue;
    BaseRatePeriod p;
    std::string problem;
    if (!ParseLine(fields, p, problem)) {
      error = Format("Ред %d: %s.", number, problem.c_str());
      return false;
    }
    periods.push_back(p);
  }
  std::sort(periods.begin(), periods.end(),
            [](const BaseRatePeriod& a, const BaseRatePeriod& b) {
              return a.firstDay < b.firstDay;
            });
  BaseRateTable result;
  try {
    for (const BaseRatePeriod& p : periods) result.Add(p);
  } catch (const Error& e) {
    error = e.what();
    return false;
  }
  table = result;
  return true;
}

}  // namespace zrv::schedule
