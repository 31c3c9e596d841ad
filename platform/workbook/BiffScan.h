#pragma once
// The cells of the first worksheet of an .xls workbook, read from its BIFF5 or
// BIFF8 records: values with the number format of every cell (through its XF
// record), texts from the shared string table or the cell records in the code
// page the workbook declares, the cached results of formula cells, booleans and
// error values, and the date system. Every length and offset is checked against
// the records, so damaged records give an error, never a read outside them.
//
// BiffBook reads the workbook globals once and scans the worksheet's records
// from the stream whenever asked, the whole sheet or a stretch of it, so that
// the cells need not be held.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/ByteSource.h"

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

class BiffBook {
 public:
  // Reads the globals of the workbook stream `stream` (kept by the book).
  // Throws BiffError when the records are damaged or the workbook has no
  // worksheet, PartTooLarge when its shared strings pass StringTable's
  // limits, FileReadError when the stream cannot be read.
  explicit BiffBook(std::shared_ptr<const ByteSource> stream);
  ~BiffBook();
  BiffBook(const BiffBook&) = delete;
  BiffBook& operator=(const BiffBook&) = delete;

  // The workbook is protected by a password; nothing else was read and there
  // are no cells to scan.
  bool Encrypted() const;
  bool Date1904() const;
  // The format code of every XF record, by XF index.
  const std::vector<std::string>& XfFormats() const;

  // A cell and the offset in the stream of the record it comes from.
  using CellFn = std::function<void(const BiffCell& cell, uint64_t record)>;
  // Gives every cell of the first worksheet, in file order. Throws as the
  // constructor does.
  void ScanSheet(const CellFn& cell) const;
  // Gives the cells of the worksheet's records from the record at `from`
  // through the one at `through`, offsets of cell records ScanSheet gave, just
  // as ScanSheet gave them.
  void ScanRecords(uint64_t from, uint64_t through, const CellFn& cell) const;

  struct Globals;  // what the globals say, kept for reading the cells

 private:
  std::shared_ptr<const ByteSource> stream_;
  std::unique_ptr<Globals> globals_;
};

// What ScanBiff finds, all at once.
struct BiffSheet {
  bool encrypted = false;  // the workbook is protected by a password; nothing else was read
  bool date1904 = false;
  std::vector<std::string> xfFormats;  // format code of every XF record, by XF index
  std::vector<BiffCell> cells;         // of the first worksheet, in file order
};

// Scans the workbook stream ("Workbook" or "Book") of an .xls file held in
// memory. Throws BiffError when the records are damaged or the file has no
// worksheet.
BiffSheet ScanBiff(std::string_view stream);

}  // namespace zrv::workbook
