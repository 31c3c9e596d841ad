#include "tests/support/OdsFiles.h"

#include <zip.h>

#include <stdexcept>
#include <utility>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/Workbook.h"

namespace zrv::test {

namespace {

// Text as the paragraphs of a cell, written as LibreOffice writes it: a blank
// at the start or after another blank, a tab and a line break as their marks.
std::string Paragraphs(const std::string& text) {
  std::string out = "<text:p>";
  bool blankBefore = true;
  for (char c : text) {
    const bool blank = c == ' ';
    if (blank && blankBefore) {
      out += "<text:s/>";
    } else if (c == '\t') {
      out += "<text:tab/>";
    } else if (c == '\n') {
      out += "</text:p><text:p>";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
    blankBefore = blank || c == '\n';
  }
  return out + "</text:p>";
}

}  // namespace

void WriteOdsPackage(const std::string& path, const std::string& contentXml,
                     const std::string& mimeType) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (zip == nullptr) throw std::runtime_error("cannot create " + path);
  const std::pair<const char*, const std::string*> parts[] = {{"mimetype", &mimeType},
                                                              {"content.xml", &contentXml}};
  for (const auto& [name, text] : parts) {
    zip_source_t* source = zip_source_buffer(zip, text->data(), text->size(), 0);
    if (source == nullptr || zip_file_add(zip, name, source, 0) < 0) {
      zip_source_free(source);
      zip_discard(zip);
      throw std::runtime_error("cannot add " + std::string(name));
    }
  }
  if (zip_close(zip) != 0) {
    zip_discard(zip);
    throw std::runtime_error("cannot write " + path);
  }
}

std::string OdsContentStart() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<office:document-content "
         "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
         "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
         "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
         "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:"
         "xmlns:calcext:1.0\"><office:body><office:spreadsheet>"
         "<table:table table:name=\"Sheet1\">";
}

std::string OdsRow(const std::vector<std::string>& texts) {
  std::string row = "<table:table-row>";
  for (const std::string& text : texts) {
    if (text.empty()) {
      row += "<table:table-cell/>";
      continue;
    }
    row +=
        "<table:table-cell office:value-type=\"string\" "
        "calcext:value-type=\"string\">" +
        Paragraphs(text) + "</table:table-cell>";
  }
  return row + "</table:table-row>\n";
}

std::string OdsContentEnd(int rows) {
  return "<table:table-row table:number-rows-repeated=\"" +
         std::to_string(workbook::kMaxRows - rows) +
         "\"><table:table-cell table:number-columns-repeated=\"1024\"/>"
         "</table:table-row></table:table></office:spreadsheet>"
         "</office:body></office:document-content>";
}

std::string MakeOdsCopy(const std::string& workbook, const std::string& odsPath) {
  const auto sheet = workbook::OpenFirstWorksheet(workbook);
  std::string content = OdsContentStart();
  for (int r = 1; r <= sheet->UsedRowCount(); ++r) {
    std::vector<std::string> texts;
    for (int c = 1; c <= sheet->UsedColumnCount(); ++c) texts.push_back(sheet->CellText(r, c));
    content += OdsRow(texts);
  }
  content += OdsContentEnd(sheet->UsedRowCount());
  WriteOdsPackage(odsPath, content);
  return odsPath;
}

}  // namespace zrv::test
