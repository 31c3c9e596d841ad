#pragma once
// The cells of the first worksheet of an .xls workbook, read from its BIFF5 or
// BIFF8 records: values with the number format of every cell (through its XF
// record), texts from the shared string table or the cell records in the code
// page the workbook declares, the cached results of formula cells, booleans and
// error values, and the date system. Every length and offset is checked against
// the records, so damaged records give an error, never a read outside them.

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
    Number,   // `number`: a number cell or a formula's numeric result
    Text,     // `text`: a text cell or a formula's text result
    Boolean,  // `number` 0 or 1: a boolean cell or a formula's boolean result
    Error,    // an error value, shown as nothing
  };
  uint16_t row = 0;     // from 0
  uint16_t column = 0;  // from 0
  uint16_t xf = 0;
  Kind kind = Kind::Number;
  double number = 0;
  std::string text;
};

struct BiffSheet {
  bool encrypted =
      false;  // the workbook is protected by a password; nothing else was read
  bool date1904 = false;
  std::vector<std::string>
      xfFormats;                // format code of every XF record, by XF index
  std::vector<BiffCell> cells;  // of the first worksheet, in file order
};

// Scans the workbook stream ("Workbook" or "Book") of an .xls file. Throws
// BiffError when the records are damaged or the file has no worksheet.
BiffSheet ScanBiff(std::string_view stream);

}  // namespace zrv::workbook
