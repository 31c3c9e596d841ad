#pragma once
// What FreeXL leaves out of an .xls workbook, read from its BIFF5 or BIFF8 records: the number
// format of every cell (through its XF record), the cached results of formula cells, booleans
// and error values, and the date system. Texts of text cells stay FreeXL's; the scan only notes
// where they are and which format they carry.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zrv::workbook {

class BiffError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BiffCell {
  enum class Kind {
    Number,       // `number`: a number cell or a formula's numeric result
    Text,         // a text cell; its text is FreeXL's
    FormulaText,  // `text`: a formula's text result
    Boolean,      // `number` 0 or 1: a boolean cell or a formula's boolean result
    Error,        // an error value, shown as nothing
  };
  uint16_t row = 0;     // from 0
  uint16_t column = 0;  // from 0
  uint16_t xf = 0;
  Kind kind = Kind::Number;
  double number = 0;
  std::string text;
};

struct BiffSheet {
  bool encrypted = false;  // the workbook is protected by a password; nothing else was read
  bool date1904 = false;
  std::vector<std::string> xfFormats;  // format code of every XF record, by XF index
  std::vector<BiffCell> cells;         // of the first worksheet, in file order
};

// Scans the workbook stream ("Workbook" or "Book") of an .xls file. Throws BiffError when the
// records are damaged or the file has no worksheet.
BiffSheet ScanBiff(std::string_view stream);

}  // namespace zrv::workbook
