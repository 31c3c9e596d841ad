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

#include <cctype>
#include <charconv>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/PackageErrors.h"
#include "platform/workbook/Readers.h"
#include "platform/workbook/SerialDates.h"
#include "platform/workbook/XmlCursor.h"
#include "platform/workbook/ZipArchive.h"

namespace zrv::workbook {

namespace {

constexpr const char* kFormat = ".ods";  // in the messages of a damaged file
constexpr std::string_view kOdsMimeType =
    "application/vnd.oasis.opendocument.spreadsheet";
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
  auto [next, ec] =
      std::from_chars(text.data(), text.data() + text.size(), count);
  if (ec == std::errc::result_out_of_range && next == text.data() + text.size())
    return limit;
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
           (std::isdigit(static_cast<unsigned char>(text[end])) ||
            text[end] == '.'))
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
      return ParseNumber(value, number) ? FormatGeneral(number * 100) + "%"
                                        : "";
    }
    if (valueType == "date") {
      if (!ParseIsoSerial(dateValue, number)) return "";
      return FormatSerial(number, false,
                          dateValue.find('T') == std::string::npos
                              ? DateShape::Date
                              : DateShape::DateTime);
    }
    if (valueType == "time") {
      return ParseDuration(timeValue, number)
                 ? FormatSerial(number, false, DateShape::ElapsedTime)
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

// Reads the first table of an OpenDocument content.xml into a sheet.
class OdsContent {
 public:
  explicit OdsContent(std::string_view xml) : xml_(xml) {}
  explicit OdsContent(XmlSource source) : xml_(std::move(source)) {}

  std::unique_ptr<SheetData> Read() {
    auto sheet = std::make_unique<SheetData>();
    bool found = false;
    for (auto event = xml_.Next(); event != XmlCursor::Event::End;
         event = xml_.Next()) {
      if (event == XmlCursor::Event::StartElement && xml_.Name() == "table") {
        found = true;
        ReadTable(*sheet);
        break;
      }
    }
    if (!found) throw FormatError("the workbook has no worksheet");
    sheet->Finish();
    return sheet;
  }

 private:
  // Reads from just after the table's start tag to its end tag. `depth` counts
  // the elements open inside the table.
  void ReadTable(SheetData& sheet) {
    int depth = 0, rowDepth = -1, cellDepth = -1, paragraphDepth = -1;
    int rowRepeat = 1, cellRepeat = 1, column = 0;
    std::vector<std::pair<int, std::string>> rowCells;  // column, text
    OdsCell cell;
    for (auto event = xml_.Next();; event = xml_.Next()) {
      if (event == XmlCursor::Event::End)
        throw FormatError("the table is not closed");
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
          column = 0;
          rowCells.clear();
        } else if (rowDepth >= 0 && cellDepth < 0 &&
                   (name == "table-cell" || name == "covered-table-cell")) {
          cellDepth = depth;
          cellRepeat =
              RepeatCount(xml_, "number-columns-repeated", kMaxColumns);
          ReadCellAttributes(cell);
        } else if (cellDepth >= 0 && paragraphDepth < 0 && name == "p" &&
                   depth == cellDepth + 1) {
          paragraphDepth = depth;
          if (cell.hasParagraph) cell.AppendLiteral("\n");
          cell.hasParagraph = true;
        } else if (paragraphDepth >= 0) {
          ReadParagraphMark(name, cell);
        }
        continue;
      }
      // An end tag.
      if (depth == 0) break;  // the table's own end
      if (depth == paragraphDepth) {
        paragraphDepth = -1;
      } else if (depth == cellDepth) {
        std::string text = cell.Displayed();
        if (!text.empty() && column < kMaxColumns) {
          for (int i = 0; i < cellRepeat && column + i < kMaxColumns; ++i) {
            if (i > 0) CountRepeated(kCellEntryBytes + text.size());
            rowCells.emplace_back(column + i + 1, text);
          }
        }
        column = column + cellRepeat > kMaxColumns ? kMaxColumns
                                                   : column + cellRepeat;
        cellDepth = -1;
        cell.Clear();
      } else if (depth == rowDepth) {
        StoreRows(sheet, rowCells, rowRepeat);
        rowDepth = -1;
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

  // The row just read, once or as many times as it is repeated.
  void StoreRows(SheetData& sheet,
                 const std::vector<std::pair<int, std::string>>& cells,
                 int repeat) {
    for (int i = 0; i < repeat && row_ < kMaxRows; ++i) {
      ++row_;
      if (cells.empty()) {
        row_ += repeat - 1 - i;  // empty rows only move the row number
        break;
      }
      if (i > 0) {
        for (const auto& entry : cells)
          CountRepeated(kCellEntryBytes + entry.second.size());
      }
      for (const auto& [column, text] : cells) sheet.Set(row_, column, text);
    }
    if (row_ > kMaxRows) row_ = kMaxRows;
  }

  void CountRepeated(long long bytes) {
    repeatedBytes_ += bytes;
    if (repeatedBytes_ > kMaxRepeatedBytes)
      throw FormatError("too many repeated cells");
  }

  XmlCursor xml_;
  int row_ = 0;  // the last row read
  long long repeatedBytes_ = 0;
};

}  // namespace

bool IsOdsPackage(const PartSource& parts) {
  try {
    if (!parts.Contains("mimetype")) return false;
    std::string type = parts.Read("mimetype");
    while (!type.empty() &&
           (type.back() == '\n' || type.back() == '\r' || type.back() == ' '))
      type.pop_back();
    return type == kOdsMimeType;
  } catch (const ZipError&) {
    return false;  // the .xlsx reader tells what is wrong with the archive
  }
}

std::unique_ptr<SheetData> ReadOdsPackage(const PartSource& package,
                                          const std::string& name) {
  return TranslatePackageErrors(name, kFormat, [&] {
    // Read as it unzips, like the .xlsx sheet: content.xml holds the whole
    // document and may well be larger than a part read whole may be.
    const std::unique_ptr<PartStream> content = package.Open("content.xml");
    return OdsContent(XmlSource([&content](char* buffer, size_t capacity) {
             return content->Read(buffer, capacity);
           }))
        .Read();
  });
}

std::unique_ptr<SheetData> ReadOdsContent(std::string_view contentXml,
                                          const std::string& name) {
  return TranslatePackageErrors(name, kFormat,
                                [&] { return OdsContent(contentXml).Read(); });
}

}  // namespace zrv::workbook
