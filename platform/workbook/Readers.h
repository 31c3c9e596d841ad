#pragma once
// The readers behind OpenFirstWorksheet. Each reads the first worksheet of a
// file and throws WorkbookError, with a message naming the file, when it
// cannot. The .xlsx and .ods readers hold a sheet of up to kCellsHeldInMemory
// cells in memory and read a larger one from the file again as it is asked
// for; the .xls reader keeps where each row's records lie in the file and
// reads a row's cells from there when they are asked for.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/workbook/SheetData.h"

namespace zrv::workbook {

class PartSource;

// .xls, BIFF5 or BIFF8 in an OLE2 container. The file stays open for as long
// as the sheet lives; the memory form reads a copy of `file` and names it
// `name` in messages.
std::unique_ptr<Worksheet> ReadXlsFile(const std::string& path);
std::unique_ptr<Worksheet> ReadXlsMemory(std::string_view file, const std::string& name);

// About 15 MB of cells held in memory (some 7,000 rows of the contract
// layout); a larger sheet is read again as it is asked for, which keeps a
// million-row sheet to a few rows in memory.
inline constexpr size_t kCellsHeldInMemory = 250000;

// A ZIP package file (.xlsx or .ods), opened once for telling its kind and
// reading it. Throws WorkbookError naming the file when it is no readable ZIP
// archive.
std::shared_ptr<const PartSource> OpenPackageFile(const std::string& path);

// .xlsx through libzip and pugixml, from an open package that the sheet keeps
// for as long as it reads from it; the memory form reads a package held in
// `data` (which must outlive the sheet) and names it `name` in messages.
std::unique_ptr<Worksheet> ReadXlsxPackage(std::shared_ptr<const PartSource> package,
                                           const std::string& name);
std::unique_ptr<Worksheet> ReadXlsxMemory(const void* data, size_t size, const std::string& name,
                                          size_t cellsHeldInMemory = kCellsHeldInMemory);
// The same from parts given by name (for reading the package's XML without a
// ZIP archive); `parts` must outlive the sheet.
std::unique_ptr<Worksheet> ReadXlsxParts(const PartSource& parts, const std::string& name,
                                         size_t cellsHeldInMemory = kCellsHeldInMemory);

// .ods (OpenDocument spreadsheet) from an open package IsOdsPackage accepts,
// which the sheet keeps for as long as it reads from it, named `name` in
// messages. The parts form reads the part content.xml of `parts`, which must
// outlive the sheet.
std::unique_ptr<Worksheet> ReadOdsPackage(std::shared_ptr<const PartSource> package,
                                          const std::string& name);
std::unique_ptr<Worksheet> ReadOdsParts(const PartSource& parts, const std::string& name,
                                        size_t cellsHeldInMemory = kCellsHeldInMemory);
// True when a ZIP package is an OpenDocument spreadsheet (its part "mimetype"
// says so); false as well when that part cannot be read.
bool IsOdsPackage(const PartSource& parts);

// The message of a file that cannot be read: the file's name and the reason.
std::string CannotRead(const std::string& path, const std::string& reason);

}  // namespace zrv::workbook
