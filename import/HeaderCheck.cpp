#include "import/HeaderCheck.h"

#include <cstdlib>
#include <optional>

#include "common/Text.h"
#include "platform/workbook/CellAddress.h"

namespace zrv::import {

namespace {

const char* const kIntro = "Заглавният ред (ред ";
const char* const kIntroEnd = ") не съвпада със заглавията на колоните, които програмата чете:";
const char* const kItem = "\n- ";
const char* const kTitleOfColumn = "заглавието на колона ";
const char* const kTitlesOfColumns = "заглавията на колони ";
const char* const kUpTo = " до ";
const char* const kIsInColumn = " е в колона ";
const char* const kAreShifted = " са с ";
const char* const kOneColumn = "една колона";
const char* const kColumns = " колони";
const char* const kToTheRight = " надясно";
const char* const kToTheLeft = " наляво";
const char* const kInColumns = ", в ";
const char* const kMissingOne = "липсва ";
const char* const kMissingMany = "липсват ";
const char* const kMore = "още ";
const char* const kMoreColumns = " колони не съвпадат";
const char* const kAdvice =
    "\nСтойностите се четат по буквата на колоната: проверете дали в "
    "работната книга не е вмъкната или изтрита колона.";
const char* const kOpenQuote = " („";
const char* const kCloseQuote = "“)";
// Findings named one by one; the rest are counted.
constexpr size_t kFindingsNamed = 6;

const std::vector<ColumnTitle> kTitles = {
    {"A", "№ на договор"},
    {"B", "Дата на съставяне"},
    {"C", "Вид наем"},
    {"D", "Наемател"},
    {"E", "ЕГН/Булстат на наемателя"},
    {"F", "ИН по ДДС на наемателя"},
    {"G", "Населено място на наемателя"},
    {"H", "Адрес на наемателя"},
    {"I", "Представител (МОЛ)"},
    {"J", "ЕГН на представителя"},
    {"K", "Лична карта на представителя"},
    {"N", "Телефон на представителя"},
    {"O", "Основание"},
    {"P", "Вид обект"},
    {"Q", "Коментар"},
    {"R", "Предназначение"},
    {"S", "Площ (квм, дка, хка)"},
    {"T", "Населено място на имота"},
    {"U", "Местност"},
    {"V", "Жилищен комплекс"},
    {"W", "Улица"},
    {"X", "Номер"},
    {"Y", "Адрес на имота"},
    {"Z", "№ на документ за имота"},
    {"AB", "Кадастрален идентификатор"},
    {"AC", "Срок (месеци)"},
    {"AD", "Месечна цена"},
    {"AE", "Начало (на договора или анекса)"},
    {"AF", "Край на анекса"},
    {"AG", "Дата на промяна на статуса"},
    {"AH", "Бележка към датата"},
    {"AI", "Статус (Д/Н)"},
    {"AJ", "Допълнителен текст"},
};

// Upper case, blanks (control characters and no-break spaces included)
// collapsed to one and trimmed at both ends.
std::string Normalized(const std::string& text) {
  std::string blanked;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
      blanked += ' ';
      ++i;
    } else {
      blanked += c <= ' ' ? ' ' : text[i];
    }
  }
  std::string collapsed;
  for (const char c : blanked) {
    if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed += c;
  }
  return UpperCase(Trim(collapsed));
}

// The whole title, or its first words.
bool Matches(const std::string& cell, const std::string& title) {
  if (cell.empty()) return false;
  return title == cell || (title.size() > cell.size() && title.compare(0, cell.size(), cell) == 0 &&
                           title[cell.size()] == ' ');
}

// Where one title was found: 0 in its column, else the columns to the right
// (negative: to the left); nullopt when nowhere.
using Shift = std::optional<int>;

struct Finding {
  size_t first;  // indexes into kTitles
  size_t last;
  Shift shift;  // never 0
};

std::string Named(const ColumnTitle& column) {
  return std::string(column.column) + kOpenQuote + column.title + kCloseQuote;
}

std::string ShiftWords(int shift) {
  const int columns = std::abs(shift);
  return (columns == 1 ? std::string(kOneColumn) : std::to_string(columns) + kColumns) +
         (shift > 0 ? kToTheRight : kToTheLeft);
}

std::string Letters(const ColumnTitle& column, int shift) {
  return workbook::ColumnLetters(workbook::ColumnNumber(column.column) + shift);
}

std::string Describe(const Finding& f) {
  const ColumnTitle& first = kTitles[f.first];
  const ColumnTitle& last = kTitles[f.last];
  const bool one = f.first == f.last;
  if (!f.shift) {
    return one ? kMissingOne + std::string(kTitleOfColumn) + Named(first)
               : kMissingMany + std::string(kTitlesOfColumns) + Named(first) + kUpTo + Named(last);
  }
  if (one) return kTitleOfColumn + Named(first) + kIsInColumn + Letters(first, *f.shift);
  return kTitlesOfColumns + Named(first) + kUpTo + Named(last) + kAreShifted +
         ShiftWords(*f.shift) + kInColumns + Letters(first, *f.shift) + kUpTo +
         Letters(last, *f.shift);
}

}  // namespace

const std::vector<ColumnTitle>& TemplateTitles() { return kTitles; }

std::string HeaderMismatch(const std::vector<std::string>& cells, int headerRow) {
  std::vector<std::string> row;
  for (const std::string& cell : cells) row.push_back(Normalized(cell));

  std::vector<Shift> shifts;
  size_t found = 0;
  for (const ColumnTitle& column : kTitles) {
    const std::string title = Normalized(column.title);
    const int home = workbook::ColumnNumber(column.column) - 1;
    const auto at = [&](int index) {
      return index >= 0 && index < static_cast<int>(row.size()) && Matches(row[index], title);
    };
    Shift shift;
    // The nearest column holding the title; to the right first, as columns
    // are more often inserted than deleted.
    for (int d = 0; !shift && d < static_cast<int>(row.size()); ++d) {
      if (at(home + d))
        shift = d;
      else if (at(home - d))
        shift = -d;
    }
    if (shift) ++found;
    shifts.push_back(shift);
  }
  if (found * 2 < kTitles.size()) return {};

  std::vector<Finding> findings;
  for (size_t i = 0; i < shifts.size(); ++i) {
    if (shifts[i] == Shift(0)) continue;
    if (!findings.empty() && findings.back().last + 1 == i && findings.back().shift == shifts[i])
      findings.back().last = i;
    else
      findings.push_back({i, i, shifts[i]});
  }
  if (findings.empty()) return {};

  std::string message = kIntro + std::to_string(headerRow) + kIntroEnd;
  size_t unnamed = 0;
  for (size_t i = 0; i < findings.size(); ++i) {
    if (i < kFindingsNamed)
      message += kItem + Describe(findings[i]);
    else
      unnamed += findings[i].last - findings[i].first + 1;
  }
  if (unnamed > 0) message += kItem + (kMore + std::to_string(unnamed)) + kMoreColumns;
  return message + kAdvice;
}

}  // namespace zrv::import
