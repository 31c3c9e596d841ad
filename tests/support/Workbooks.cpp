#include "tests/support/Workbooks.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

extern char** environ;

namespace zrv::test {

namespace {

const char kScript[] = ZRV_SOURCE_DIR "/tests/fixtures/make_workbook.pl";

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return buf;
}

std::string TwoDigits(int value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", value);
  return buf;
}

int ColumnIndex(const std::string& letters) {
  int index = 0;
  for (char c : letters) {
    if (c < 'A' || c > 'Z') throw std::invalid_argument("bad column letters: " + letters);
    index = index * 26 + (c - 'A' + 1);
  }
  if (index == 0) throw std::invalid_argument("empty column letters");
  return index - 1;
}

}  // namespace

Cell Cell::Number(double value, std::string format) {
  Cell cell(value);
  cell.format_ = std::move(format);
  return cell;
}

Cell Cell::Date(int year, int month, int day, std::string format) {
  Cell cell;
  cell.kind_ = Kind::Date;
  cell.text_ = std::to_string(year) + "-" + TwoDigits(month) + "-" + TwoDigits(day);
  cell.format_ = std::move(format);
  return cell;
}

Cell Cell::DateTime(int year, int month, int day, int hour, int minute, int second,
                    std::string format) {
  Cell cell = Date(year, month, day, std::move(format));
  cell.time_ = TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
  return cell;
}

Cell Cell::Formula(std::string formula, double cached, std::string format) {
  Cell cell;
  cell.kind_ = Kind::Formula;
  cell.text_ = std::move(formula);
  cell.number_ = cached;
  cell.format_ = std::move(format);
  return cell;
}

Cell Cell::FormulaText(std::string formula, std::string cached) {
  Cell cell;
  cell.kind_ = Kind::Formula;
  cell.text_ = std::move(formula);
  cell.time_ = std::move(cached);
  cell.cachedText_ = true;
  return cell;
}

Cell Cell::Blank(std::string format) {
  Cell cell;
  cell.kind_ = Kind::Blank;
  cell.format_ = std::move(format);
  return cell;
}

Cell Cell::WithFormat(std::string format) const {
  Cell cell = *this;
  cell.format_ = std::move(format);
  return cell;
}

std::string Cell::ToJson() const {
  std::string body;
  switch (kind_) {
    case Kind::Empty:
      return "null";
    case Kind::Text:
      body = "\"text\":" + JsonString(text_);
      break;
    case Kind::Number:
      body = "\"number\":" + JsonNumber(number_);
      break;
    case Kind::Date:
      body = "\"date\":" + JsonString(text_);
      if (!time_.empty()) body += ",\"time\":" + JsonString(time_);
      break;
    case Kind::Formula:
      body = "\"formula\":" + JsonString(text_) +
             ",\"value\":" + (cachedText_ ? JsonString(time_) : JsonNumber(number_));
      break;
    case Kind::Blank:
      body = "\"blank\":true";
      break;
  }
  if (!format_.empty()) body += ",\"format\":" + JsonString(format_);
  return "{" + body + "}";
}

Row Lettered(std::initializer_list<std::pair<std::string, Cell>> cells) {
  Row row;
  for (const auto& [letters, cell] : cells) {
    const size_t index = ColumnIndex(letters);
    if (row.size() <= index) row.resize(index + 1);
    row[index] = cell;
  }
  return row;
}

void RunFixtureScript(const std::string& jsonPath, const std::string& outputPath) {
  std::vector<std::string> words = {"perl", kScript, jsonPath, outputPath};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "perl", nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start perl for the fixture script");
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("fixture script failed for " + outputPath);
  }
}

std::string MakeWorkbook(const std::string& folder, const std::string& name,
                         const std::vector<Row>& rows,
                         const std::vector<std::string>& otherSheets) {
  const std::string output = folder + "/" + name;
  const std::string json = output + ".json";
  {
    std::ofstream out(json, std::ios::binary);
    out << "{\"sheets\":[\"Sheet1\"";
    for (const auto& sheet : otherSheets) out << "," << JsonString(sheet);
    out << "],\"rows\":[\n";
    for (size_t r = 0; r < rows.size(); ++r) {
      out << (r ? ",\n[" : "[");
      for (size_t c = 0; c < rows[r].size(); ++c) out << (c ? "," : "") << rows[r][c].ToJson();
      out << "]";
    }
    out << "]}\n";
    if (!out) throw std::runtime_error("cannot write " + json);
  }
  RunFixtureScript(json, output);
  return output;
}

}  // namespace zrv::test
