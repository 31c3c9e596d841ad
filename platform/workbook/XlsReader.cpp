#include <freexl.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "platform/workbook/BiffScan.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/OleFile.h"
#include "platform/workbook/Readers.h"

namespace zrv::workbook {

namespace {

const char kPasswordProtected[] = "the workbook is protected by a password";

std::string Reason(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND: return "the file does not exist or cannot be opened";
    case FREEXL_INSUFFICIENT_MEMORY: return "not enough memory";
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND: return "the file holds no .xls workbook";
    case FREEXL_UNSUPPORTED_CHARSET: return "the workbook's code page is not supported";
    case FREEXL_INVALID_CHARACTER: return "the workbook holds text that cannot be converted";
    default: return "damaged .xls content (FreeXL error " + std::to_string(code) + ")";
  }
}

// An open FreeXL workbook, closed however the reading ends.
struct CloseFreeXl {
  void operator()(const void* handle) const { freexl_close(handle); }
};
using FreeXlHandle = std::unique_ptr<const void, CloseFreeXl>;

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw WorkbookError(CannotRead(path, "the file does not exist or cannot be opened"));
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// FreeXL checks the container and the BIFF records against damaged and crafted files and tells
// whether the workbook is protected by a password. The cells come from the record scan, because
// FreeXL leaves out number formats and formula results and gives up on texts that span more than
// two continuation records.
void CheckWithFreeXl(const std::string& path) {
  // A failed open leaves the handle variable set to memory FreeXL has already released.
  const void* opened = nullptr;
  const int rc = freexl_open(path.c_str(), &opened);
  if (rc != FREEXL_OK) throw WorkbookError(CannotRead(path, Reason(rc)));
  const FreeXlHandle handle(opened);
  unsigned int info = 0;
  if (freexl_get_info(opened, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
    throw WorkbookError(CannotRead(path, kPasswordProtected));
  }
}

}  // namespace

std::unique_ptr<SheetData> ReadXlsFile(const std::string& path) {
  const std::string file = ReadWholeFile(path);
  // The scan runs first so that a password is named as such even where FreeXL only sees damage.
  BiffSheet biff;
  std::string damage;
  try {
    if (HasOleStream(file, "EncryptedPackage")) throw WorkbookError(CannotRead(path, kPasswordProtected));
    biff = ScanBiff(ReadOleStream(file, {"Workbook", "Book"}));
  } catch (const OleError& e) {
    damage = e.what();
  } catch (const BiffError& e) {
    damage = e.what();
  }
  if (biff.encrypted) throw WorkbookError(CannotRead(path, kPasswordProtected));
  CheckWithFreeXl(path);
  if (!damage.empty()) throw WorkbookError(CannotRead(path, "damaged .xls content (" + damage + ")"));

  std::map<std::string, NumberFormat> byCode;
  std::vector<const NumberFormat*> formats;
  for (const std::string& code : biff.xfFormats) formats.push_back(&byCode.try_emplace(code, code).first->second);
  const NumberFormat general("General");

  auto sheet = std::make_unique<SheetData>();
  for (const BiffCell& cell : biff.cells) {
    const NumberFormat& format = cell.xf < formats.size() ? *formats[cell.xf] : general;
    std::string text;
    switch (cell.kind) {
      case BiffCell::Kind::Number: text = format.FormatNumber(cell.number, biff.date1904); break;
      case BiffCell::Kind::Text: text = format.FormatText(cell.text); break;
      case BiffCell::Kind::Boolean: text = BooleanText(cell.number != 0); break;
      case BiffCell::Kind::Error: break;
    }
    sheet->Set(cell.row + 1, cell.column + 1, std::move(text));
  }
  sheet->Finish();
  return sheet;
}

}  // namespace zrv::workbook
