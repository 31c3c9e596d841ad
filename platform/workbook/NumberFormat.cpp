#include "platform/workbook/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/workbook/SerialDates.h"

namespace zrv::workbook {

namespace {

using Kind = FormatToken::Kind;

// More decimals than this are never shown; a spreadsheet application allows 30.
constexpr int kMaxDecimals = 30;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(text[pos + i]) != word[i]) return false;
  }
  return true;
}

// Length of the UTF-8 sequence that starts at text[pos] (1 for a stray byte).
size_t CharLength(std::string_view text, size_t pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  size_t n = 1;
  while (n < length && pos + n < text.size() &&
         (static_cast<unsigned char>(text[pos + n]) & 0xC0) == 0x80) {
    ++n;
  }
  return n;
}

// Splits a code into its sections at ';' outside quotes, brackets and escapes.
std::vector<std::string_view> SplitSections(std::string_view code) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  for (size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == '"') {
      const size_t close = code.find('"', i + 1);
      i = close == std::string_view::npos ? code.size() : close;
    } else if (c == '[') {
      const size_t close = code.find(']', i + 1);
      i = close == std::string_view::npos ? code.size() : close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == ';') {
      sections.push_back(code.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(code.substr(std::min(start, code.size())));
  return sections;
}

void AddLiteral(FormatSection& section, std::string_view text) {
  if (!section.tokens.empty() && section.tokens.back().kind == Kind::Literal &&
      section.tokens.back().symbol == 0) {
    section.tokens.back().literal += text;
    return;
  }
  FormatToken token;
  token.literal = std::string(text);
  section.tokens.push_back(std::move(token));
}

void AddToken(FormatSection& section, Kind kind, char symbol = 0) {
  FormatToken token;
  token.kind = kind;
  token.symbol = symbol;
  section.tokens.push_back(std::move(token));
}

// A ',' or '/' whose meaning depends on its neighbours: a Literal token holding
// the symbol.
void AddMarker(FormatSection& section, char symbol) {
  FormatToken token;
  token.symbol = symbol;
  token.literal = std::string(1, symbol);
  section.tokens.push_back(std::move(token));
}

bool AllOf(std::string_view text, char letter) {
  if (text.empty()) return false;
  for (char c : text) {
    if (Lower(c) != letter) return false;
  }
  return true;
}

void ReadBracket(std::string_view inside, FormatSection& section) {
  if (inside.empty()) return;
  const char first = inside[0];
  if (first == '<' || first == '>' || first == '=') {
    size_t opLength = (inside.size() > 1 && (inside[1] == '=' || inside[1] == '>')) ? 2 : 1;
    double operand = 0;
    const char* begin = inside.data() + opLength;
    const char* end = inside.data() + inside.size();
    while (begin < end && *begin == ' ') ++begin;
    auto [next, ec] = std::from_chars(begin, end, operand);
    if (ec != std::errc() || next == begin) return;
    section.hasCondition = true;
    section.conditionOp = std::string(inside.substr(0, opLength));
    section.conditionValue = operand;
  } else if (first == '$') {
    // "[$лв.-402]": a currency symbol and a locale; "[$-402]": a locale only.
    const size_t dash = inside.find('-');
    AddLiteral(section, inside.substr(1, dash == std::string_view::npos ? inside.npos : dash - 1));
  } else if (AllOf(inside, 'h')) {
    section.isDate = section.timePart = section.elapsedHours = true;
  } else if (AllOf(inside, 'm') || AllOf(inside, 's')) {
    section.isDate = section.timePart = true;
  }
  // Colours and other tags change nothing in the text.
}

// Reads one section. Date and time letters only mark the section: every date
// shows in one form.
FormatSection ReadSection(std::string_view text) {
  FormatSection section;
  std::string letters;  // the date and time letters in order, to tell months
                        // from minutes
  bool seenPoint = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char lower = Lower(c);
    if (c == '"') {
      size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) close = text.size();
      AddLiteral(section, text.substr(i + 1, close - i - 1));
      i = close;
    } else if (c == '\\' && i + 1 < text.size()) {
      const size_t n = CharLength(text, i + 1);
      AddLiteral(section, text.substr(i + 1, n));
      i += n;
    } else if (c == '_' && i + 1 < text.size()) {
      AddLiteral(section, " ");  // room as wide as the next character
      i += CharLength(text, i + 1);
    } else if (c == '*' && i + 1 < text.size()) {
      i += CharLength(text, i + 1);  // fills the column; shows nothing here
    } else if (c == '[') {
      size_t close = text.find(']', i + 1);
      if (close == std::string_view::npos) close = text.size();
      ReadBracket(text.substr(i + 1, close - i - 1), section);
      i = close;
    } else if (c == '0' || c == '#' || c == '?') {
      if (!section.isDate || letters.empty() || letters.back() != 's') {
        AddToken(section, Kind::Digit, c);
        section.hasDigits = true;
      }
    } else if (c == '.') {
      if (section.isDate || seenPoint) {
        AddLiteral(section, ".");
      } else {
        AddToken(section, Kind::Point);
        seenPoint = true;
      }
    } else if (c == ',' || c == '/') {
      AddMarker(section, c);
    } else if (c == '%') {
      AddToken(section, Kind::Percent);
      ++section.percent;
    } else if (lower == 'e' && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
      AddToken(section, Kind::Exponent, text[i + 1]);
      ++i;
    } else if (c == '@') {
      AddToken(section, Kind::Text);
      section.hasText = true;
    } else if (StartsWithNoCase(text, i, "general")) {
      AddToken(section, Kind::General);
      section.hasDigits = true;
      i += 6;
    } else if (StartsWithNoCase(text, i, "am/pm") || StartsWithNoCase(text, i, "a/p")) {
      section.isDate = section.timePart = true;
      i += StartsWithNoCase(text, i, "am/pm") ? 4 : 2;
    } else if (lower == 'y' || lower == 'd' || lower == 'm' || lower == 'h' || lower == 's' ||
               lower == 'e' || lower == 'g') {
      section.isDate = true;
      if (letters.empty() || letters.back() != lower) letters += lower;
    } else if (lower == 'b' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
      ++i;  // calendar choice
    } else {
      const size_t n = CharLength(text, i);
      AddLiteral(section, text.substr(i, n));
      i += n - 1;
    }
  }
  // 'm' next to an hour or a second is minutes; elsewhere it is the month.
  for (size_t i = 0; i < letters.size(); ++i) {
    const char l = letters[i];
    if (l == 'h' || l == 's') {
      section.timePart = true;
    } else if (l == 'm') {
      const bool minute =
          (i > 0 && letters[i - 1] == 'h') || (i + 1 < letters.size() && letters[i + 1] == 's');
      (minute ? section.timePart : section.datePart) = true;
    } else {
      section.datePart = true;
    }
  }
  // Commas between digit placeholders group thousands; after the last one they
  // scale.
  auto& tokens = section.tokens;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind != Kind::Literal || tokens[i].symbol == 0) continue;
    size_t next = i + 1;
    while (next < tokens.size() && tokens[next].kind == Kind::Literal && tokens[next].symbol == ',')
      ++next;
    const bool digitBefore = i > 0 && tokens[i - 1].kind == Kind::Digit;
    const bool digitAfter = next < tokens.size() && tokens[next].kind == Kind::Digit;
    if (tokens[i].symbol == '/') {
      if (!section.isDate && digitBefore && digitAfter) section.fraction = true;
      tokens[i].symbol = 0;
      continue;
    }
    if (digitBefore && digitAfter && next == i + 1) {
      section.grouping = true;
      tokens.erase(tokens.begin() + i--);
    } else if (digitBefore && !digitAfter) {
      section.thousandsScale += static_cast<int>(next - i);
      tokens.erase(tokens.begin() + i, tokens.begin() + next);
      --i;
    } else {
      tokens[i].symbol = 0;
    }
  }
  return section;
}

// The digits of x >= 0 rounded half away from zero to `decimals` places, after
// rounding to 15 significant digits as spreadsheet applications do: the integer
// digits without leading zeros
// ("" for zero) and exactly `decimals` fraction digits.
void RoundDigits(double x, int decimals, std::string& integer, std::string& fraction) {
  integer.clear();
  fraction.assign(decimals, '0');
  if (x == 0) return;
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
  std::string_view sci(buf, result.ptr - buf);  // d.dddddddddddddde±x
  const size_t e = sci.find('e');
  std::string digits = std::string(1, sci[0]) + std::string(sci.substr(2, e - 2));
  int point = std::atoi(std::string(sci.substr(e + 1)).c_str()) + 1;  // digits before the point
  const int keep = point + decimals;
  if (keep < 0) return;
  if (keep < static_cast<int>(digits.size())) {
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
      int i = keep - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits.insert(digits.begin(), '1');
        ++point;
      }
    }
  }
  for (int i = 0; i < point; ++i) {
    integer += i < static_cast<int>(digits.size()) ? digits[i] : '0';
  }
  for (int i = 0; i < decimals; ++i) {
    const int pos = point + i;
    if (pos >= 0 && pos < static_cast<int>(digits.size())) fraction[i] = digits[pos];
  }
  const size_t nonZero = integer.find_first_not_of('0');
  integer.erase(0, nonZero == std::string::npos ? integer.size() : nonZero);
}

// Writes `digits` into the digit placeholders `symbols` from the right: '0'
// pads with a zero,
// '?' with a blank, '#' with nothing; digits beyond the placeholders go to the
// first one.
std::vector<std::string> FillInteger(const std::string& digits, const std::string& symbols) {
  const size_t n = symbols.size();
  std::vector<std::string> fill(n);
  for (size_t j = 0; j < n; ++j) {
    const size_t k = n - 1 - j;
    if (j < digits.size()) {
      fill[k] = digits[digits.size() - 1 - j];
    } else if (symbols[k] == '0') {
      fill[k] = "0";
    } else if (symbols[k] == '?') {
      fill[k] = " ";
    }
  }
  if (n > 0 && digits.size() > n) fill[0] = digits.substr(0, digits.size() - n) + fill[0];
  return fill;
}

// A blank before every digit that has a positive multiple of three digits after
// it.
std::string Group(const std::string& text) {
  size_t remaining = 0;
  for (char c : text) remaining += (c >= '0' && c <= '9');
  std::string out;
  for (char c : text) {
    out += c;
    if (c >= '0' && c <= '9' && --remaining > 0 && remaining % 3 == 0) out += ' ';
  }
  return out;
}

// The text of x >= 0 under a number section.
std::string RenderNumber(const FormatSection& section, double x) {
  if (section.fraction) return FormatGeneral(x);
  x *= std::pow(100.0, section.percent);
  x /= std::pow(1000.0, section.thousandsScale);
  if (!std::isfinite(x)) return "";  // too large to show, as a spreadsheet shows "####"
  const auto& tokens = section.tokens;
  if (std::any_of(tokens.begin(), tokens.end(),
                  [](const FormatToken& t) { return t.kind == Kind::General; })) {
    // "General" with literal text around it; digit placeholders beside it show
    // nothing.
    std::string out;
    for (const auto& t : tokens) {
      if (t.kind == Kind::General) out += FormatGeneral(x);
      if (t.kind == Kind::Literal) out += t.literal;
      if (t.kind == Kind::Percent) out += '%';
    }
    return out;
  }
  // Placeholders of the integer part, the decimals and the exponent.
  std::string intSymbols, fracSymbols, expSymbols;
  char expSign = 0;
  int part = 0;  // 0 integer, 1 decimals, 2 exponent
  for (const auto& t : tokens) {
    if (t.kind == Kind::Point && part == 0) part = 1;
    if (t.kind == Kind::Exponent) {
      part = 2;
      expSign = t.symbol;
    }
    if (t.kind == Kind::Digit)
      (part == 0 ? intSymbols : part == 1 ? fracSymbols : expSymbols) += t.symbol;
  }
  const int decimals = std::min(static_cast<int>(fracSymbols.size()), kMaxDecimals);
  int exponent = 0;
  if (expSign != 0 && x != 0) {
    const int width = std::max<int>(1, static_cast<int>(intSymbols.size()));
    const bool engineering = intSymbols.find('#') != std::string::npos && width > 1;
    const int magnitude = static_cast<int>(std::floor(std::log10(x)));
    exponent = engineering
                   ? static_cast<int>(std::floor(magnitude / static_cast<double>(width))) * width
                   : magnitude - width + 1;
  }
  const double mantissa = expSign ? x / std::pow(10.0, exponent) : x;
  if (!std::isfinite(mantissa)) return "";
  std::string integer, fraction;
  RoundDigits(mantissa, decimals, integer, fraction);
  if (expSign && x != 0 && integer.size() > std::max<size_t>(1, intSymbols.size())) {
    exponent += 1;  // rounding carried into one more digit
    RoundDigits(x / std::pow(10.0, exponent), decimals, integer, fraction);
  }
  const auto intFill = FillInteger(integer, intSymbols);
  size_t lastSignificant = fraction.find_last_not_of('0');

  std::string out;
  std::string intText;  // the integer part with its literals, grouped when it
                        // is complete
  size_t intIndex = 0, fracIndex = 0;
  part = 0;
  auto flushInteger = [&] {
    // Without integer placeholders the integer digits still show, unless the
    // section shows no number at all (literal text only, or nothing: "0;-0;;@"
    // hides zeros).
    if (intSymbols.empty() && section.hasDigits) intText += integer;
    out += section.grouping ? Group(intText) : intText;
    intText.clear();
  };
  for (const auto& t : tokens) {
    switch (t.kind) {
      case Kind::Digit:
        if (part == 0) {
          intText += intFill[intIndex++];
        } else if (part == 1) {
          const size_t i = fracIndex++;
          if (lastSignificant != std::string::npos && i <= lastSignificant) {
            out += fraction[i];
          } else if (t.symbol == '0') {
            out += '0';
          } else if (t.symbol == '?') {
            out += ' ';
          }
        }
        break;
      case Kind::Point:
        if (part == 0) {
          flushInteger();
          part = 1;
        }
        out += '.';
        break;
      case Kind::Exponent: {
        if (part == 0) flushInteger();
        part = 2;
        out += 'E';
        if (exponent < 0) {
          out += '-';
        } else if (expSign == '+') {
          out += '+';
        }
        std::string digits = std::to_string(std::abs(exponent));
        const size_t zeros = std::count(expSymbols.begin(), expSymbols.end(), '0');
        if (digits.size() < zeros) digits.insert(0, zeros - digits.size(), '0');
        out += digits;
        break;
      }
      case Kind::Percent:
        (part == 0 ? intText : out) += '%';
        break;
      case Kind::General:
      case Kind::Text:
        break;
      case Kind::Literal:
        (part == 0 ? intText : out) += t.literal;
        break;
    }
  }
  if (part == 0) flushInteger();
  return out;
}

}  // namespace

bool FormatSection::Matches(double value) const {
  if (!hasCondition) return true;
  const double v = conditionValue;
  if (conditionOp == "<") return value < v;
  if (conditionOp == "<=") return value <= v;
  if (conditionOp == ">") return value > v;
  if (conditionOp == ">=") return value >= v;
  if (conditionOp == "<>") return value != v;
  return value == v;
}

std::string BooleanText(bool value) { return value ? "ИСТИНА" : "НЕИСТИНА"; }

std::string BuiltinFormatCode(int id) {
  switch (id) {
    case 1:
      return "0";
    case 2:
      return "0.00";
    case 3:
      return "#,##0";
    case 4:
      return "#,##0.00";
    case 5:
    case 6:
    case 37:
    case 38:
      return "#,##0;-#,##0";
    case 7:
    case 8:
    case 39:
    case 40:
      return "#,##0.00;-#,##0.00";
    case 9:
      return "0%";
    case 10:
      return "0.00%";
    case 11:
      return "0.00E+00";
    case 12:
      return "# ?/?";
    case 13:
      return "# ?\?/??";
    case 14:
      return "dd.mm.yyyy";
    case 15:
      return "d-mmm-yy";
    case 16:
      return "d-mmm";
    case 17:
      return "mmm-yy";
    case 18:
      return "h:mm AM/PM";
    case 19:
      return "h:mm:ss AM/PM";
    case 20:
      return "h:mm";
    case 21:
      return "h:mm:ss";
    case 22:
      return "dd.mm.yyyy h:mm";
    case 41:
    case 42:
      return "_-* #,##0_-;-* #,##0_-;_-* \"-\"_-;_-@_-";
    case 43:
    case 44:
      return "_-* #,##0.00_-;-* #,##0.00_-;_-* \"-\"??_-;_-@_-";
    case 45:
      return "mm:ss";
    case 46:
      return "[h]:mm:ss";
    case 47:
      return "mm:ss.0";
    case 48:
      return "##0.0E+0";
    case 49:
      return "@";
    default:
      break;
  }
  // East Asian date and time formats, whose codes depend on the installation.
  if ((id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 58)) return "dd.mm.yyyy";
  if (id >= 32 && id <= 35) return "h:mm:ss";
  return "General";
}

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) return "";
  if (value == 0) return "0";
  char buf[64];
  auto result =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  std::string_view sci(buf, result.ptr - buf);
  const size_t e = sci.find('e');
  std::string digits = std::string(1, sci[0]) + std::string(sci.substr(2, e - 2));
  const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
  digits.erase(digits.find_last_not_of('0') + 1);
  std::string out = value < 0 ? "-" : "";
  if (exponent >= -5 && exponent < 15) {
    if (exponent < 0) {
      out += "0." + std::string(-exponent - 1, '0') + digits;
    } else if (static_cast<int>(digits.size()) <= exponent + 1) {
      out += digits + std::string(exponent + 1 - digits.size(), '0');
    } else {
      out += digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) out += "." + digits.substr(1);
  const std::string power = std::to_string(std::abs(exponent));
  out += std::string("E") + (exponent < 0 ? "-" : "+") + (power.size() < 2 ? "0" : "") + power;
  return out;
}

bool ParseNumber(std::string_view text, double& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '+')) text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  auto [next, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && next == text.data() + text.size() && !text.empty();
}

NumberFormat::NumberFormat(std::string_view code) {
  if (code.find_first_not_of(' ') == std::string_view::npos) code = "General";
  for (std::string_view text : SplitSections(code)) {
    if (sections_.size() == 4) break;
    sections_.push_back(ReadSection(text));
  }
  const int last = static_cast<int>(sections_.size()) - 1;
  if (last == 3 || (sections_[last].hasText && !sections_[last].hasDigits)) textSection_ = last;
}

bool NumberFormat::IsDate() const { return sections_[0].isDate; }

const FormatSection* NumberFormat::ChooseSection(double value, bool& showMinus) const {
  const int count = textSection_ >= 0 ? textSection_ : static_cast<int>(sections_.size());
  showMinus = value < 0;
  if (count == 0) return nullptr;
  const bool conditional = sections_[0].hasCondition || (count > 1 && sections_[1].hasCondition);
  if (conditional) {
    for (int i = 0; i < count; ++i) {
      if (sections_[i].Matches(value)) return &sections_[i];
    }
    return nullptr;
  }
  if (count == 1 || value > 0 || (value == 0 && count == 2)) return &sections_[0];
  if (value < 0) {
    showMinus = false;  // the negative section writes its own sign, if any
    return &sections_[1];
  }
  return &sections_[2];
}

std::string NumberFormat::FormatNumber(double value, bool date1904) const {
  if (!std::isfinite(value)) return "";
  if (value == 0) value = 0;  // no "-0"
  bool showMinus = false;
  const FormatSection* section = ChooseSection(value, showMinus);
  if (section == nullptr) return FormatGeneral(value);
  if (section->isDate) {
    const DateShape shape = section->datePart
                                ? (section->timePart ? DateShape::DateTime : DateShape::Date)
                            : section->elapsedHours ? DateShape::ElapsedTime
                                                    : DateShape::Time;
    return FormatSerial(value, date1904, shape);
  }
  if (!section->hasDigits && section->hasText) return FormatGeneral(value);
  const std::string text = RenderNumber(*section, std::fabs(value));
  return showMinus ? "-" + text : text;
}

std::string NumberFormat::FormatText(std::string_view text) const {
  if (textSection_ < 0) return std::string(text);
  std::string out;
  for (const auto& t : sections_[textSection_].tokens) {
    if (t.kind == Kind::Text) out += text;
    if (t.kind == Kind::Literal) out += t.literal;
  }
  return out;
}

}  // namespace zrv::workbook
