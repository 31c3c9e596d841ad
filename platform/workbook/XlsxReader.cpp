#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <pugixml.hpp>

#include "common/Utf8.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/PackageErrors.h"
#include "platform/workbook/Readers.h"
#include "platform/workbook/SerialDates.h"
#include "platform/workbook/StreamedSheet.h"
#include "platform/workbook/StringTable.h"
#include "platform/workbook/XmlCursor.h"
#include "platform/workbook/ZipArchive.h"

namespace zrv::workbook {

namespace {

struct Relationship {
  std::string type;
  std::string target;  // part name inside the package, resolved
};

bool EndsWith(const std::string& text, const char* tail) {
  const size_t n = std::strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

const char* LocalName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon ? colon + 1 : name;
}

pugi::xml_node Child(pugi::xml_node node, const char* localName) {
  for (pugi::xml_node child : node.children()) {
    if (std::strcmp(LocalName(child.name()), localName) == 0) return child;
  }
  return {};
}

const char* AttributeValue(pugi::xml_node node, const char* localName) {
  for (pugi::xml_attribute a : node.attributes()) {
    if (std::strcmp(LocalName(a.name()), localName) == 0) return a.value();
  }
  return "";
}

bool ReadInt(std::string_view text, int& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  auto [next, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && next == text.data() + text.size() && !text.empty();
}

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
std::string RelationshipsPart(const std::string& part) {
  const size_t slash = part.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
  return folder + "_rels/" + file + ".rels";
}

// A relationship target read relative to the folder of the part that names it.
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
  std::string path;
  if (!target.empty() && target[0] == '/') {
    path = target.substr(1);
  } else {
    const size_t slash = sourcePart.rfind('/');
    path = (slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1)) + target;
  }
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string resolved;
  for (const auto& s : segments) resolved += (resolved.empty() ? "" : "/") + s;
  return resolved;
}

// Characters a package string cannot hold directly are written _xHHHH_ (UTF-16
// code units).
std::string DecodeEscapes(const std::string& text) {
  if (text.find("_x") == std::string::npos) return text;
  std::string out;
  unsigned highSurrogate = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned unit = 0;
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
      auto [next, ec] = std::from_chars(text.data() + i + 2, text.data() + i + 6, unit, 16);
      if (ec == std::errc() && next == text.data() + i + 6) {
        i += 6;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
          highSurrogate = unit;
          continue;
        }
        unsigned long code = unit;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
          code =
              highSurrogate ? 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00) : 0xFFFD;
        }
        highSurrogate = 0;
        AppendUtf8(out, static_cast<char32_t>(code == 0 ? 0xFFFD : code));
        continue;
      }
    }
    highSurrogate = 0;
    out += text[i];
  }
  return out;
}

constexpr uint64_t kMinStringLimit = 1u << 20;

// The package-wide state the cells need: the date system, the number formats
// of the cell styles and the shared strings.
class XlsxBook {
 public:
  explicit XlsxBook(const PartSource& parts) : parts_(&parts) {}

  // Reads everything but the cells and gives the first worksheet's part.
  std::string Load() {
    const std::string workbookPart = FindWorkbookPart();
    const auto rels = ReadRelationships(workbookPart);
    const std::string sheetPart = ReadWorkbook(workbookPart, rels);
    // A string no cell uses serves nothing, and each use takes some 20 bytes
    // of sheet XML: more strings than a sixteenth of the sheet's size (at
    // least a million) is a table blown up to fill memory.
    strings_ =
        StringTable(std::max<uint64_t>(kMinStringLimit, parts_->DeclaredSize(sheetPart) / 16));
    for (const auto& [id, rel] : rels) {
      if (EndsWith(rel.type, "/styles")) ReadStyles(rel.target);
      if (EndsWith(rel.type, "/sharedStrings")) ReadSharedStrings(rel.target);
    }
    return sheetPart;
  }

  // The displayed text of a cell of type `type` (the t attribute), raw value
  // `value` and style index `style`.
  std::string CellText(const std::string& type, const std::string& value, int style) const;

 private:
  pugi::xml_document Parse(const std::string& part) const {
    const std::string content = parts_->Read(part);
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(content.data(), content.size());
    if (!result) throw FormatError(part + ": " + result.description());
    return doc;
  }

  std::string FindWorkbookPart() const {
    if (parts_->Contains("_rels/.rels")) {
      for (const auto& [id, rel] : ReadRelationships("")) {
        if (EndsWith(rel.type, "/officeDocument")) return rel.target;
      }
    }
    return "xl/workbook.xml";
  }

  // The relationships of a part ("" for the package), by id; none when it has
  // no such part.
  std::map<std::string, Relationship> ReadRelationships(const std::string& part) const {
    std::map<std::string, Relationship> rels;
    const std::string relsPart = part.empty() ? "_rels/.rels" : RelationshipsPart(part);
    if (!parts_->Contains(relsPart)) return rels;
    const pugi::xml_document doc = Parse(relsPart);
    for (pugi::xml_node node : doc.document_element().children()) {
      if (std::strcmp(LocalName(node.name()), "Relationship") != 0) continue;
      if (std::strcmp(AttributeValue(node, "TargetMode"), "External") == 0) continue;
      rels[AttributeValue(node, "Id")] = {AttributeValue(node, "Type"),
                                          ResolveTarget(part, AttributeValue(node, "Target"))};
    }
    return rels;
  }

  // Reads the date system and gives the part of the first worksheet.
  std::string ReadWorkbook(const std::string& part,
                           const std::map<std::string, Relationship>& rels) {
    const pugi::xml_document doc = Parse(part);
    const pugi::xml_node root = doc.document_element();
    const std::string date1904 = AttributeValue(Child(root, "workbookPr"), "date1904");
    date1904_ = date1904 == "1" || date1904 == "true";
    for (pugi::xml_node sheet : Child(root, "sheets").children()) {
      if (std::strcmp(LocalName(sheet.name()), "sheet") != 0) continue;
      auto rel = rels.find(AttributeValue(sheet, "id"));
      if (rel != rels.end() && EndsWith(rel->second.type, "/worksheet")) return rel->second.target;
    }
    throw FormatError("the workbook has no worksheet");
  }

  void ReadStyles(const std::string& part) {
    const pugi::xml_document doc = Parse(part);
    const pugi::xml_node root = doc.document_element();
    std::map<int, std::string> codes;
    for (pugi::xml_node f : Child(root, "numFmts").children()) {
      int id = 0;
      if (ReadInt(AttributeValue(f, "numFmtId"), id)) codes[id] = AttributeValue(f, "formatCode");
    }
    for (pugi::xml_node xf : Child(root, "cellXfs").children()) {
      if (std::strcmp(LocalName(xf.name()), "xf") != 0) continue;
      int id = 0;
      if (!ReadInt(AttributeValue(xf, "numFmtId"), id)) id = 0;
      auto format = formats_.find(id);
      if (format == formats_.end()) {
        auto code = codes.find(id);
        const std::string text = code != codes.end() ? code->second : BuiltinFormatCode(id);
        format = formats_.emplace(id, NumberFormat(text)).first;
      }
      styles_.push_back(&format->second);
    }
  }

  void ReadSharedStrings(const std::string& part) {
    const std::unique_ptr<PartStream> stream = parts_->Open(part);
    XmlCursor xml(
        [&stream](char* buffer, size_t capacity) { return stream->Read(buffer, capacity); });
    std::string current;
    bool inItem = false, inText = false;
    int phonetic = 0;  // inside <rPh>, the reading aid that is not part of the text
    for (auto event = xml.Next(); event != XmlCursor::Event::End; event = xml.Next()) {
      if (event == XmlCursor::Event::StartElement) {
        if (xml.Name() == "si") {
          inItem = true;
          current.clear();
        } else if (xml.Name() == "rPh") {
          ++phonetic;
        } else if (xml.Name() == "t") {
          inText = inItem && phonetic == 0;
        }
      } else if (event == XmlCursor::Event::Text) {
        if (inText) current += xml.Text();
      } else if (xml.Name() == "t") {
        inText = false;
      } else if (xml.Name() == "rPh") {
        --phonetic;
      } else if (xml.Name() == "si") {
        strings_.Add(DecodeEscapes(current));
        inItem = false;
      }
    }
  }

  const NumberFormat& FormatOf(int style) const {
    return style >= 0 && static_cast<size_t>(style) < styles_.size() ? *styles_[style] : general_;
  }

  const PartSource* parts_;
  bool date1904_ = false;
  StringTable strings_;
  std::map<int, NumberFormat> formats_;      // by number format id
  std::vector<const NumberFormat*> styles_;  // by cell style index
  NumberFormat general_{"General"};
};

std::string XlsxBook::CellText(const std::string& type, const std::string& value, int style) const {
  const NumberFormat& format = FormatOf(style);
  if (type == "s") {
    int index = 0;
    if (!ReadInt(value, index) || index < 0 || static_cast<size_t>(index) >= strings_.size())
      return "";
    return format.FormatText(strings_[index]);
  }
  if (type == "str" || type == "inlineStr") return format.FormatText(DecodeEscapes(value));
  if (type == "b") return value.empty() ? "" : BooleanText(value == "1" || value == "true");
  if (type == "e") return "";
  double number = 0;
  if (type == "d") {
    if (!ParseIsoSerial(value, number)) return "";
    return format.IsDate()
               ? format.FormatNumber(number, false)
               : FormatSerial(number, false,
                              number == static_cast<long long>(number) ? DateShape::Date
                                                                       : DateShape::DateTime);
  }
  if (!ParseNumber(value, number)) return "";
  return format.FormatNumber(number, date1904_);
}

// Translates the errors of reading a package into WorkbookError naming the
// file.
template <typename Read>
auto Translate(const std::string& name, const Read& read) -> decltype(read()) {
  return TranslatePackageErrors(name, ".xlsx", read);
}

// The cells of the worksheet part in the order of the file, each with its
// displayed text; cells that show nothing are left out.
class XlsxCellStream final : public CellStream {
 public:
  XlsxCellStream(std::shared_ptr<const XlsxBook> book, std::unique_ptr<PartStream> part,
                 std::string name)
      : book_(std::move(book)),
        part_(std::move(part)),
        name_(std::move(name)),
        xml_([this](char* buffer, size_t capacity) { return part_->Read(buffer, capacity); }) {}

  bool Next(StreamCell& cell) override {
    return Translate(name_, [&] { return ReadNext(cell); });
  }

 private:
  bool ReadNext(StreamCell& cell) {
    if (ended_) return false;
    for (auto event = xml_.Next(); event != XmlCursor::Event::End; event = xml_.Next()) {
      if (event == XmlCursor::Event::Text) {
        if (inValue_ || inText_) value_ += xml_.Text();
        continue;
      }
      const std::string_view name = xml_.Name();
      if (event == XmlCursor::Event::StartElement) {
        if (name == "sheetData") {
          inData_ = true;
        } else if (!inData_) {
          continue;
        } else if (name == "row") {
          if (xml_.Attribute("r", attribute_)) {
            if (!ReadInt(attribute_, row_) || row_ < 1 || row_ > kMaxRows) {
              throw FormatError("bad row number \"" + attribute_ + "\"");
            }
          } else if (++row_ > kMaxRows) {
            throw FormatError("a row past the sheet's last");
          }
          column_ = 0;
        } else if (name == "c") {
          if (xml_.Attribute("r", attribute_)) {
            if (!ParseCellName(attribute_, row_, column_))
              throw FormatError("bad cell reference \"" + attribute_ + "\"");
          } else if (++column_ > kMaxColumns || row_ < 1) {
            throw FormatError("a cell outside the sheet");
          }
          if (!xml_.Attribute("t", type_)) type_.clear();
          if (!xml_.Attribute("s", attribute_) || !ReadInt(attribute_, style_)) style_ = 0;
          value_.clear();
          inCell_ = true;
        } else if (inCell_ && name == "v") {
          inValue_ = true;
        } else if (inCell_ && name == "is") {
          inInline_ = true;
        } else if (name == "rPh") {
          ++phonetic_;
        } else if (inInline_ && name == "t") {
          inText_ = phonetic_ == 0;
        }
      } else if (name == "v") {
        inValue_ = false;
      } else if (name == "t") {
        inText_ = false;
      } else if (name == "rPh") {
        --phonetic_;
      } else if (name == "is") {
        inInline_ = false;
      } else if (name == "c" && inCell_) {
        inCell_ = false;
        std::string text = book_->CellText(type_, value_, style_);
        if (!text.empty()) {
          cell = {row_, column_, std::move(text)};
          return true;
        }
      } else if (name == "sheetData") {
        break;  // nothing after the cells matters here
      }
    }
    ended_ = true;
    return false;
  }

  std::shared_ptr<const XlsxBook> book_;
  std::unique_ptr<PartStream> part_;
  std::string name_;
  XmlCursor xml_;
  bool ended_ = false, inData_ = false, inCell_ = false, inValue_ = false, inInline_ = false,
       inText_ = false;
  int phonetic_ = 0;
  int row_ = 0, column_ = 0, style_ = 0;
  std::string type_, value_, attribute_;
};

// Reads the first worksheet: held in memory or read again as it is asked for
// (HoldOrStream).
std::unique_ptr<Worksheet> ReadFirstWorksheet(std::shared_ptr<const PartSource> parts,
                                              const std::string& name, size_t cellsHeldInMemory) {
  auto book = std::make_shared<XlsxBook>(*parts);
  const std::string sheetPart = Translate(name, [&] { return book->Load(); });
  auto open = [parts, book = std::shared_ptr<const XlsxBook>(book), sheetPart,
               name]() -> std::unique_ptr<CellStream> {
    return Translate(
        name, [&] { return std::make_unique<XlsxCellStream>(book, parts->Open(sheetPart), name); });
  };
  return HoldOrStream(std::move(open), name, cellsHeldInMemory);
}

}  // namespace

std::shared_ptr<const PartSource> OpenPackageFile(const std::string& path) {
  return Translate(path, [&] { return ZipArchive::OpenFile(path); });
}

std::unique_ptr<Worksheet> ReadXlsxPackage(std::shared_ptr<const PartSource> package,
                                           const std::string& name) {
  return ReadFirstWorksheet(std::move(package), name, kCellsHeldInMemory);
}

std::unique_ptr<Worksheet> ReadXlsxMemory(const void* data, size_t size, const std::string& name,
                                          size_t cellsHeldInMemory) {
  std::shared_ptr<const PartSource> archive =
      Translate(name, [&] { return ZipArchive::OpenMemory(data, size); });
  return ReadFirstWorksheet(std::move(archive), name, cellsHeldInMemory);
}

std::unique_ptr<Worksheet> ReadXlsxParts(const PartSource& parts, const std::string& name,
                                         size_t cellsHeldInMemory) {
  // The caller keeps the parts for as long as the sheet lives.
  return ReadFirstWorksheet(std::shared_ptr<const PartSource>(&parts, [](const PartSource*) {}),
                            name, cellsHeldInMemory);
}

}  // namespace zrv::workbook
