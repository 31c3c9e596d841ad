#include "state/BaseRatesFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/Text.h"

namespace zrv::state {

namespace {

constexpr const char* kMsgFields =
    "Ред %d: очакват се от 3 до 5 полета (първи ден; последен ден; процент [; "
    "дневен коефициент [; дата на обявяване]]), а са %d.";
constexpr const char* kMsgDate = "Ред %d: „%s“ не е дата във вида дд.мм.гггг.";
constexpr const char* kMsgNumber = "Ред %d: „%s“ не е число.";
constexpr const char* kMsgRate = "Ред %d: процентът %s е извън границите от 0 до 100 %%.";
constexpr const char* kMsgDaily =
    "Ред %d: дневният коефициент %s е извън границите от 0 до %.7f (процент / "
    "36000); ако десетичният знак е запетая, разделяйте полетата с „;“.";
constexpr const char* kMsgReversed = "Ред %d: периодът %s - %s свършва преди да започне.";
constexpr const char* kMsgOverlap =
    "Ред %d: периодът %s - %s се застъпва с периода %s - %s от ред %d.";
constexpr const char* kMsgGap =
    "Ред %d: между периода %s - %s от ред %d и периода %s - %s има дни без "
    "лихвен процент.";
constexpr const char* kMsgEmpty = "Във файла няма нито един период.";
constexpr const char* kMsgQuote =
    "Ред %d: поле в кавички не е затворено или след кавичките следва текст.";

constexpr double kMaxRate = 100;
constexpr double kDaysOfRateYear = 36000;  // percent over a 360-day year

struct Row {
  int line = 0;
  BaseRatePeriod period;
};

bool HasDigit(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// dd.mm.yyyy (one-digit day and month allowed) or yyyy-mm-dd, nothing else.
bool ReadDate(const std::string& text, TDate& date) {
  int d = 0, m = 0, y = 0, used = 0;
  const char* s = text.c_str();
  const bool dotted = std::sscanf(s, "%2d.%2d.%4d%n", &d, &m, &y, &used) == 3 &&
                      used == static_cast<int>(text.size()) && text.size() >= 8 &&
                      text[text.size() - 5] == '.';
  const bool iso = !dotted && std::sscanf(s, "%4d-%2d-%2d%n", &y, &m, &d, &used) == 3 &&
                   used == 10 && text.size() == 10;
  return (dotted || iso) && y >= 1900 && TryEncodeDate(y, m, d, date);
}

// A number with a decimal point or comma, perhaps ending in "%".
bool ReadNumber(std::string text, double& value) {
  if (!text.empty() && text.back() == '%') text = Trim(text.substr(0, text.size() - 1));
  return !text.empty() && TryParseFloat(text, value);
}

// The trimmed fields of a row, empty fields at its end dropped (a spreadsheet
// writes them for empty columns).
std::vector<std::string> Fields(const csv::Record& record) {
  std::vector<std::string> fields;
  for (const std::string& f : record.fields) fields.push_back(Trim(f));
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

bool ReadRow(int line, const std::vector<std::string>& f, BaseRatePeriod& p, std::string& error) {
  const int n = static_cast<int>(f.size());
  if (n < 3 || n > 5) {
    error = Format(kMsgFields, line, n);
    return false;
  }
  for (int i : {0, 1}) {
    if (!ReadDate(f[i], i == 0 ? p.firstDay : p.lastDay)) {
      error = Format(kMsgDate, line, f[i].c_str());
      return false;
    }
  }
  if (!ReadNumber(f[2], p.ratePercent)) {
    error = Format(kMsgNumber, line, f[2].c_str());
    return false;
  }
  if (p.ratePercent < 0 || p.ratePercent > kMaxRate) {
    error = Format(kMsgRate, line, f[2].c_str());
    return false;
  }
  p.dailyFactor = p.ratePercent / kDaysOfRateYear;
  if (n > 3 && !f[3].empty()) {
    if (!ReadNumber(f[3], p.dailyFactor)) {
      error = Format(kMsgNumber, line, f[3].c_str());
      return false;
    }
    const double most = kMaxRate / kDaysOfRateYear;
    if (p.dailyFactor < 0 || p.dailyFactor > most * (1 + 1e-9)) {
      error = Format(kMsgDaily, line, f[3].c_str(), most);
      return false;
    }
  }
  p.issueDate = p.firstDay;
  if (n > 4 && !f[4].empty() && !ReadDate(f[4], p.issueDate)) {
    error = Format(kMsgDate, line, f[4].c_str());
    return false;
  }
  if (p.lastDay < p.firstDay) {
    error = Format(kMsgReversed, line, FormatDMY(p.firstDay).c_str(), FormatDMY(p.lastDay).c_str());
    return false;
  }
  return true;
}

// The periods in ascending order must follow one another day after day.
bool CheckSequence(const std::vector<Row>& rows, std::string& error) {
  for (size_t i = 1; i < rows.size(); ++i) {
    const Row& a = rows[i - 1];
    const Row& b = rows[i];
    const std::string a1 = FormatDMY(a.period.firstDay);
    const std::string a2 = FormatDMY(a.period.lastDay);
    const std::string b1 = FormatDMY(b.period.firstDay);
    const std::string b2 = FormatDMY(b.period.lastDay);
    if (b.period.firstDay <= a.period.lastDay) {
      error = Format(kMsgOverlap, b.line, b1.c_str(), b2.c_str(), a1.c_str(), a2.c_str(), a.line);
      return false;
    }
    if (b.period.firstDay != a.period.lastDay + 1) {
      error = Format(kMsgGap, b.line, a1.c_str(), a2.c_str(), a.line, b1.c_str(), b2.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadBaseRateRows(const std::vector<csv::Record>& records, BaseRateTable& table,
                      std::string& error) {
  std::vector<Row> rows;
  bool first = true;
  for (const csv::Record& record : records) {
    const std::vector<std::string> fields = Fields(record);
    if (fields.empty() || fields[0].starts_with('#')) continue;
    const bool header = first && !HasDigit(fields[0]);
    first = false;
    if (header) continue;
    Row row{record.line, {}};
    if (!ReadRow(record.line, fields, row.period, error)) return false;
    rows.push_back(row);
  }
  if (rows.empty()) {
    error = kMsgEmpty;
    return false;
  }
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return a.period.firstDay < b.period.firstDay;
  });
  if (!CheckSequence(rows, error)) return false;
  BaseRateTable result;
  for (const Row& row : rows) result.Add(row.period);
  table = result;
  return true;
}

bool ParseBaseRatesCsv(const std::string& text, BaseRateTable& table, std::string& error) {
  std::vector<csv::Record> records;
  int badLine = 0;
  if (!csv::Parse(text, csv::GuessSeparator(text), records, badLine)) {
    error = Format(kMsgQuote, badLine);
    return false;
  }
  return ReadBaseRateRows(records, table, error);
}

}  // namespace zrv::state
