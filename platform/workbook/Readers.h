#pragma once
// The readers behind OpenFirstWorksheet. Each reads the whole first
// worksheet of a file into memory and throws WorkbookError, with a message
// naming the file, when it cannot.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/workbook/SheetData.h"

namespace zrv::workbook {

// .xls, BIFF5 or BIFF8 in an OLE2 container; the memory form reads a file held
// in `file` and names it `name` in messages.
std::unique_ptr<SheetData> ReadXlsFile(const std::string& path);
std::unique_ptr<SheetData> ReadXlsMemory(std::string_view file,
                                         const std::string& name);

// .xlsx through libzip and pugixml; the memory form reads a package held in
// `data` and names it `name` in messages.
std::unique_ptr<SheetData> ReadXlsxFile(const std::string& path);
std::unique_ptr<SheetData> ReadXlsxMemory(const void* data, size_t size,
                                          const std::string& name);
// The same from parts given by name (for reading the package's XML without a
// ZIP archive).
class PartSource;
std::unique_ptr<SheetData> ReadXlsxParts(const PartSource& parts,
                                         const std::string& name);

// .ods (OpenDocument spreadsheet) through libzip; the memory form reads a
// package held in `data`, the content form the package's content.xml alone.
std::unique_ptr<SheetData> ReadOdsFile(const std::string& path);
std::unique_ptr<SheetData> ReadOdsMemory(const void* data, size_t size,
                                         const std::string& name);
std::unique_ptr<SheetData> ReadOdsContent(std::string_view contentXml,
                                          const std::string& name);
// True when a ZIP package is an OpenDocument spreadsheet (its part "mimetype"
// says so); false as well for a file that is no readable ZIP archive.
bool IsOdsPackage(const PartSource& parts);
bool IsOdsFile(const std::string& path);

// The message of a file that cannot be read: the file's name and the reason.
std::string CannotRead(const std::string& path, const std::string& reason);

}  // namespace zrv::workbook
