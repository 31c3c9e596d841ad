#pragma once
// The errors of reading a ZIP package (.xlsx, .ods) and their translation into
// WorkbookError naming the file, shared by the two package readers.

#include <new>
#include <stdexcept>
#include <string>

#include "platform/workbook/Readers.h"
#include "platform/workbook/Workbook.h"
#include "platform/workbook/XmlCursor.h"
#include "platform/workbook/ZipArchive.h"

namespace zrv::workbook {

// Content that is well-formed XML but not what the format prescribes.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs `read` and turns the package's errors into WorkbookError naming the
// file; `format` names the format in the message (".xlsx", ".ods").
template <typename Read>
auto TranslatePackageErrors(const std::string& name, const char* format, const Read& read)
    -> decltype(read()) {
  try {
    return read();
  } catch (const PartTooLarge& e) {
    throw WorkbookError(CannotRead(name, e.what()));
  } catch (const ZipError& e) {
    throw WorkbookError(
        CannotRead(name, std::string("не е четим ") + format + " пакет (" + e.what() + ")"));
  } catch (const XmlError& e) {
    throw WorkbookError(
        CannotRead(name, std::string("повредено ") + format + " съдържание (" + e.what() + ")"));
  } catch (const FormatError& e) {
    throw WorkbookError(
        CannotRead(name, std::string("повредено ") + format + " съдържание (" + e.what() + ")"));
  } catch (const std::bad_alloc&) {
    throw WorkbookError(CannotRead(name, "няма достатъчно памет"));
  }
}

}  // namespace zrv::workbook
