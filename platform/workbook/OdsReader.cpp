// The .ods reader: an OpenDocument spreadsheet package read through libzip, its
// content.xml through the forward-only XmlCursor. Only the first table is read.
//
// An .ods cell carries the text the spreadsheet application displayed (its
// <text:p> paragraphs) beside the typed value; the displayed text is used as it
// is, and the typed value is formatted only when a cell has no paragraph.
// Repeated rows and cells (number-rows-repeated, number-columns-repeated) are
// never expanded when empty, so the million empty rows LibreOffice writes at
// the end of a sheet cost nothing; repeated non-empty content is expanded up to
// a limit, so that a small file cannot claim gigabytes.
//
// The content is read as a stream of cells, one table row held at a time; a
// sheet of more than kCellsHeldInMemory cells is read again as it is asked for
// (HoldOrStream), as the .xlsx sheet is.

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/PackageErrors.h"
#include "platform/workbook/Readers.h"
#include "platform/workbook/SerialDates.h"
#include "platform/workbook/StreamedSheet.h"
#include "platform/workbook/XmlCursor.h"
#include "platform/workbook/ZipArchive.h"

namespace zrv::workbook {

namespace {

constexpr const char* kFormat = ".ods";  // in the messages of a damaged file
constexpr std::string_view kOdsMimeType = "application/vnd.oasis.opendocument.spreadsheet";
// Memory that repetition may claim: copies of repeated non-empty cells (their
// text and the cell's own entry) and the blanks of <text:s text:c="..."/>. Far
// more than any contract workbook needs (equal neighbouring cells are rare
// there); a file that repeats more is damaged or hostile. Cells and text
// written out one by one are bounded by the size of the part, as in .xlsx.
constexpr long long kMaxRepeatedBytes = 64ll << 20;
constexpr long long kCellEntryBytes = 48;

// A repeat count attribute; 1 when absent. Counts beyond the sheet are cut to
// it, since nothing past the last row or column is read anyway.
int RepeatCount(const XmlCursor& xml, std::string_view attribute, int limit) {
  std::string text;
  if (!xml.Attribute(attribute, text)) return 1;
  long long count = 0;
  auto [next, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (ec == std::errc::result_out_of_range && next == text.data() + text.size()) return limit;
  if (ec != std::errc() || next != text.data() + text.size() || count < 1)
    throw FormatError("bad repeat count \"" + text + "\"");
  return count > limit ? limit : static_cast<int>(count);
}

// "PT10H20M30S" (ODF durations; the time of a time cell) as a day fraction.
bool ParseDuration(const std::string& text, double& days) {
  if (text.size() < 3 || text.compare(0, 2, "PT") != 0) return false;
  double seconds = 0;
  size_t pos = 2;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
      ++end;
    double amount = 0;
    if (end == pos || end >= text.size() ||
        !ParseNumber(std::string_view(text).substr(pos, end - pos), amount))
      return false;
    switch (text[end]) {
      case 'H':
        seconds += amount * 3600;
        break;
      case 'M':
        seconds += amount * 60;
        break;
      case 'S':
        seconds += amount;
        break;
      default:
        return false;
    }
    pos = end + 1;
  }
  days = seconds / 86400;
  return true;
}

// What a spreadsheet shows for a formula that failed: "#DIV/0!", "#N/A",
// "Err:502" and the like.
bool IsErrorText(const std::string& text) {
  if (text.compare(0, 4, "Err:") == 0) return true;
  return text.size() >= 4 && text[0] == '#' &&
         (text.back() == '!' || text.back() == '?' || text == "#N/A");
}

// One cell as read from its start tag and content.
struct OdsCell {
  std::string valueType, value, dateValue, timeValue, booleanValue, stringValue;
  bool formula = false;
  bool hasParagraph = false;
  std::string text;  // the paragraphs, joined by line breaks
  bool lastWasSpace = false;

  void Clear() { *this = OdsCell(); }

  // Paragraph text: runs of white space count as one blank, as in any ODF
  // paragraph; blanks meant as such come as <text:s/>.
  void AppendText(const std::string& piece) {
    for (char c : piece) {
      const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
      if (space && lastWasSpace) continue;
      text += space ? ' ' : c;
      lastWasSpace = space;
    }
  }
  void AppendLiteral(const std::string& piece) {
    text += piece;
    lastWasSpace = false;
  }

  std::string Displayed() const {
    if (hasParagraph) return formula && IsErrorText(text) ? "" : text;
    double number = 0;
    if (valueType == "float" || valueType == "currency")
      return ParseNumber(value, number) ? FormatGeneral(number) : "";
    if (valueType == "percentage") {
      return ParseNumber(value, number) ? FormatGeneral(number * 100) + "%" : "";
    }
    if (valueType == "date") {
      if (!ParseIsoSerial(dateValue, number)) return "";
      return FormatSerial(
          number, false,
          dateValue.find('T') == std::string::npos ? DateShape::Date : DateShape::DateTime);
    }
    if (valueType == "time") {
      return ParseDuration(timeValue, number) ? FormatSerial(number, false, DateShape::ElapsedTime)
                                              : "";
    }
    if (valueType == "boolean") {
      if (booleanValue.empty()) return "";
      return BooleanText(booleanValue == "true");
    }
    if (valueType == "string") return stringValue;
    return "";
  }
};

// The cells of the first table of an OpenDocument content.xml, in sheet order,
// read one table row at a time: only the row being given out is held, with
// its repetitions given from it.
class OdsCells final : public CellStream {
 public:
  OdsCells(std::unique_ptr<PartStream> content, std::string name)
      : content_(std::move(content)),
        name_(std::move(name)),
        xml_([this](char* buffer, size_t capacity) { return content_->Read(buffer, capacity); }) {}

  bool Next(StreamCell& cell) override {
    return TranslatePackageErrors(name_, kFormat, [&] { return ReadNext(cell); });
  }

 private:
  bool ReadNext(StreamCell& cell) {
    for (;;) {
      if (next_ < rowCells_.size()) {
        const auto& [column, text] = rowCells_[next_++];
        cell = {row_, column, text};
        return true;
      }
      if (copiesLeft_ > 0 && row_ < kMaxRows) {
        // Another copy of a repeated row.
        --copiesLeft_;
        ++row_;
        for (const auto& entry : rowCells_) CountRepeated(kCellEntryBytes + entry.second.size());
        next_ = 0;
        continue;
      }
      if (!ReadRow()) return false;
    }
  }

  // Reads the next table row into rowCells_ and moves row_ to its first copy;
  // false after the table's end.
  bool ReadRow() {
    rowCells_.clear();
    next_ = 0;
    copiesLeft_ = 0;
    if (state_ == State::Ended) return false;
    if (state_ == State::Start) {
      FindTable();
      state_ = State::InTable;
    }
    int repeat = 1;
    if (!ReadRowCells(repeat)) {
      state_ = State::Ended;
      return false;
    }
    if (row_ >= kMaxRows) {
      rowCells_.clear();  // rows past the sheet's last are not read
      return true;
    }
    if (rowCells_.empty()) {
      // Empty rows only move the row number.
      row_ = std::min(kMaxRows, row_ + repeat);
      return true;
    }
    ++row_;
    copiesLeft_ = repeat - 1;
    return true;
  }

  void FindTable() {
    for (auto event = xml_.Next(); event != XmlCursor::Event::End; event = xml_.Next()) {
      if (event == XmlCursor::Event::StartElement && xml_.Name() == "table") return;
    }
    throw FormatError("the workbook has no worksheet");
  }

  // Reads from inside the table up to the end of its next row, collecting the
  // row's cells and its repeat count; false at the table's end tag. `depth_`
  // counts the elements open inside the table (rows may stand in groups).
  bool ReadRowCells(int& rowRepeat) {
    int& depth = depth_;
    int rowDepth = -1, cellDepth = -1, paragraphDepth = -1;
    int cellRepeat = 1, column = 0;
    OdsCell cell;
    for (auto event = xml_.Next();; event = xml_.Next()) {
      if (event == XmlCursor::Event::End) throw FormatError("the table is not closed");
      if (event == XmlCursor::Event::Text) {
        if (paragraphDepth >= 0) cell.AppendText(xml_.Text());
        continue;
      }
      const std::string_view name = xml_.Name();
      if (event == XmlCursor::Event::StartElement) {
        ++depth;
        if (rowDepth < 0 && name == "table-row") {
          rowDepth = depth;
          rowRepeat = RepeatCount(xml_, "number-rows-repeated", kMaxRows);
        } else if (rowDepth >= 0 && cellDepth < 0 &&
                   (name == "table-cell" || name == "covered-table-cell")) {
          cellDepth = depth;
          cellRepeat = RepeatCount(xml_, "number-columns-repeated", kMaxColumns);
          ReadCellAttributes(cell);
        } else if (cellDepth >= 0 && paragraphDepth < 0 && name == "p" && depth == cellDepth + 1) {
          paragraphDepth = depth;
          if (cell.hasParagraph) cell.AppendLiteral("\n");
          cell.hasParagraph = true;
        } else if (paragraphDepth >= 0) {
          ReadParagraphMark(name, cell);
        }
        continue;
      }
      // An end tag.
      if (depth == 0) return false;  // the table's own end
      if (depth == paragraphDepth) {
        paragraphDepth = -1;
      } else if (depth == cellDepth) {
        std::string text = cell.Displayed();
        if (!text.empty() && column < kMaxColumns) {
          for (int i = 0; i < cellRepeat && column + i < kMaxColumns; ++i) {
            if (i > 0) CountRepeated(kCellEntryBytes + text.size());
            rowCells_.emplace_back(column + i + 1, text);
          }
        }
        column = column + cellRepeat > kMaxColumns ? kMaxColumns : column + cellRepeat;
        cellDepth = -1;
        cell.Clear();
      } else if (depth == rowDepth) {
        --depth;
        return true;
      }
      --depth;
    }
  }

  void ReadCellAttributes(OdsCell& cell) const {
    cell.Clear();
    std::string ignored;
    xml_.Attribute("value-type", cell.valueType);
    xml_.Attribute("value", cell.value);
    xml_.Attribute("date-value", cell.dateValue);
    xml_.Attribute("time-value", cell.timeValue);
    xml_.Attribute("boolean-value", cell.booleanValue);
    xml_.Attribute("string-value", cell.stringValue);
    cell.formula = xml_.Attribute("formula", ignored);
  }

  // Elements inside a paragraph that stand for characters.
  void ReadParagraphMark(std::string_view name, OdsCell& cell) {
    if (name == "s") {
      const int count = RepeatCount(xml_, "c", kMaxColumns);
      CountRepeated(count);
      cell.AppendLiteral(std::string(static_cast<size_t>(count), ' '));
    } else if (name == "tab") {
      cell.AppendLiteral("\t");
    } else if (name == "line-break") {
      cell.AppendLiteral("\n");
    }
  }

  void CountRepeated(long long bytes) {
    repeatedBytes_ += bytes;
    if (repeatedBytes_ > kMaxRepeatedBytes) throw FormatError("too many repeated cells");
  }

  enum class State { Start, InTable, Ended };

  std::unique_ptr<PartStream> content_;
  std::string name_;
  XmlCursor xml_;
  State state_ = State::Start;
  int depth_ = 0;                                      // elements open inside the table
  std::vector<std::pair<int, std::string>> rowCells_;  // column, text
  size_t next_ = 0;                                    // the next of rowCells_ to give
  int copiesLeft_ = 0;                                 // copies of the row still to give
  int row_ = 0;  // the row being given; the last row read before
  long long repeatedBytes_ = 0;
};

// The package's content.xml read as it unzips, like the .xlsx sheet: it holds
// the whole document and may well be larger than a part read whole may be.
std::unique_ptr<Worksheet> ReadContent(std::shared_ptr<const PartSource> package,
                                       const std::string& name, size_t cellsHeldInMemory) {
  auto open = [package, name]() -> std::unique_ptr<CellStream> {
    return TranslatePackageErrors(name, kFormat, [&] {
      return std::make_unique<OdsCells>(package->Open("content.xml"), name);
    });
  };
  return HoldOrStream(std::move(open), name, cellsHeldInMemory);
}

}  // namespace

bool IsOdsPackage(const PartSource& parts) {
  try {
    if (!parts.Contains("mimetype")) return false;
    std::string type = parts.Read("mimetype");
    while (!type.empty() && (type.back() == '\n' || type.back() == '\r' || type.back() == ' '))
      type.pop_back();
    return type == kOdsMimeType;
  } catch (const ZipError&) {
    return false;  // the .xlsx reader tells what is wrong with the archive
  }
}

std::unique_ptr<Worksheet> ReadOdsPackage(std::shared_ptr<const PartSource> package,
                                          const std::string& name) {
  return ReadContent(std::move(package), name, kCellsHeldInMemory);
}

std::unique_ptr<Worksheet> ReadOdsParts(const PartSource& parts, const std::string& name,
                                        size_t cellsHeldInMemory) {
  // The caller keeps the parts for as long as the sheet lives.
  return ReadContent(std::shared_ptr<const PartSource>(&parts, [](const PartSource*) {}), name,
                     cellsHeldInMemory);
}

}  // namespace zrv::workbook
