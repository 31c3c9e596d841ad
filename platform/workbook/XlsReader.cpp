#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "platform/workbook/BiffScan.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/OleFile.h"
#include "platform/workbook/Readers.h"

namespace zrv::workbook {

namespace {

const char kPasswordProtected[] = "работната книга е защитена с парола";
const char kCannotOpen[] = "файлът не може да бъде отворен";

// The file in one string of its size (a stream buffer would hold it twice).
std::string ReadWholeFile(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  std::ifstream in(path, std::ios::binary);
  if (error || !in) throw WorkbookError(CannotRead(path, kCannotOpen));
  std::string content(size, '\0');
  in.read(content.data(), static_cast<std::streamsize>(size));
  content.resize(static_cast<size_t>(in.gcount()));
  return content;
}

}  // namespace

std::unique_ptr<SheetData> ReadXlsFile(const std::string& path) {
  return ReadXlsMemory(ReadWholeFile(path), path);
}

std::unique_ptr<SheetData> ReadXlsMemory(std::string_view file,
                                         const std::string& path) {
  BiffSheet biff;
  try {
    if (HasOleStream(file, "EncryptedPackage"))
      throw WorkbookError(CannotRead(path, kPasswordProtected));
    biff = ScanBiff(ReadOleStream(file, {"Workbook", "Book"}));
  } catch (const OleError& e) {
    throw WorkbookError(CannotRead(
        path, std::string("повреден .xls контейнер (") + e.what() + ")"));
  } catch (const BiffError& e) {
    throw WorkbookError(CannotRead(
        path, std::string("повредено .xls съдържание (") + e.what() + ")"));
  } catch (const std::bad_alloc&) {
    throw WorkbookError(CannotRead(path, "няма достатъчно памет"));
  }
  if (biff.encrypted) throw WorkbookError(CannotRead(path, kPasswordProtected));

  std::map<std::string, NumberFormat> byCode;
  std::vector<const NumberFormat*> formats;
  for (const std::string& code : biff.xfFormats)
    formats.push_back(&byCode.try_emplace(code, code).first->second);
  const NumberFormat general("General");

  auto sheet = std::make_unique<SheetData>();
  for (const BiffCell& cell : biff.cells) {
    const NumberFormat& format =
        cell.xf < formats.size() ? *formats[cell.xf] : general;
    std::string text;
    switch (cell.kind) {
      case BiffCell::Kind::Number:
        text = format.FormatNumber(cell.number, biff.date1904);
        break;
      case BiffCell::Kind::Text:
        text = format.FormatText(cell.text);
        break;
      case BiffCell::Kind::Boolean:
        text = BooleanText(cell.number != 0);
        break;
      case BiffCell::Kind::Error:
        break;
    }
    sheet->Set(cell.row + 1, cell.column + 1, std::move(text));
  }
  sheet->Finish();
  return sheet;
}

}  // namespace zrv::workbook
