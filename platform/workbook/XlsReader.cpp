// The .xls reader: the workbook stream of the OLE2 container read from the
// file as it is asked for, its globals (formats, shared strings, date system)
// held, its first worksheet scanned once to find the used range and where the
// records of each row lie. A row's cells are read from those records when the
// row is asked for, and the last few rows read are kept, so a sheet of 65,536
// rows costs little more memory than its shared strings.

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/workbook/BiffScan.h"
#include "platform/workbook/ByteSource.h"
#include "platform/workbook/CellAddress.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/OleFile.h"
#include "platform/workbook/Readers.h"
#include "platform/workbook/ZipArchive.h"

namespace zrv::workbook {

namespace {

const char kPasswordProtected[] = "работната книга е защитена с парола";
const char kCannotOpen[] = "файлът не може да бъде отворен";
const char kCannotRead[] = "файлът не може да бъде прочетен";
const char kDamagedContainer[] = "повреден .xls контейнер";
const char kDamagedContent[] = "повредено .xls съдържание";
const char kNoMemory[] = "няма достатъчно памет";
const char kChanged[] = "the records differ from when the file was opened";

// Runs `read` and turns the errors of reading an .xls file into WorkbookError
// naming the file.
template <typename Read>
auto Translate(const std::string& path, const Read& read) -> decltype(read()) {
  auto reason = [](const char* what, const std::exception& e) {
    return std::string(what) + " (" + e.what() + ")";
  };
  try {
    return read();
  } catch (const OleError& e) {
    throw WorkbookError(CannotRead(path, reason(kDamagedContainer, e)));
  } catch (const BiffError& e) {
    throw WorkbookError(CannotRead(path, reason(kDamagedContent, e)));
  } catch (const FileReadError& e) {
    throw WorkbookError(CannotRead(path, reason(kCannotRead, e)));
  } catch (const PartTooLarge& e) {
    throw WorkbookError(CannotRead(path, e.what()));
  } catch (const std::bad_alloc&) {
    throw WorkbookError(CannotRead(path, kNoMemory));
  }
}

class XlsSheet final : public Worksheet {
 public:
  XlsSheet(std::unique_ptr<const BiffBook> book, std::string path)
      : book_(std::move(book)), path_(std::move(path)) {
    for (const std::string& code : book_->XfFormats())
      formats_.push_back(&byCode_.try_emplace(code, code).first->second);
    Index();
  }

  int UsedRowCount() const override { return usedRows_; }
  int UsedColumnCount() const override { return usedColumns_; }

  std::string CellText(const std::string& cellName) const override {
    int row = 0;
    int column = 0;
    if (!ParseCellName(cellName, row, column)) return "";
    return CellText(row, column);
  }

  std::string CellText(int row, int column) const override {
    if (row < 1 || row > usedRows_ || column < 1 || column > usedColumns_) return "";
    try {
      const Row& cells =
          Translate(path_, [&]() -> const Row& { return ReadRow(static_cast<uint16_t>(row - 1)); });
      // Of two texts for one cell the later one counts.
      auto after =
          std::upper_bound(cells.begin(), cells.end(), column,
                           [](int c, const std::pair<int, std::string>& e) { return c < e.first; });
      return after != cells.begin() && (after - 1)->first == column ? (after - 1)->second : "";
    } catch (const WorkbookError& e) {
      throw SheetRereadError(e.what());
    }
  }

 private:
  // Records of one row that follow each other in the file (with records of
  // other rows or none between them), from the record at `first` through the
  // one at `last`. A sheet written row by row has one run per row.
  struct Run {
    uint32_t first;
    uint32_t last;
    uint16_t row;  // from 0
  };
  using Row = std::vector<std::pair<int, std::string>>;  // column, text

  // Rows read kept for asking again: the import reads a row, the one after it
  // and the annex rows below.
  static constexpr size_t kRowsKept = 8;

  // The displayed text of a cell; "" for one that shows nothing or lies past
  // the sheet's last column.
  std::string Text(const BiffCell& cell) const {
    if (cell.column >= kMaxColumns) return "";
    const NumberFormat& format = cell.xf < formats_.size() ? *formats_[cell.xf] : general_;
    switch (cell.kind) {
      case BiffCell::Kind::Number:
        return format.FormatNumber(cell.number, book_->Date1904());
      case BiffCell::Kind::Text:
        return format.FormatText(cell.text);
      case BiffCell::Kind::Boolean:
        return BooleanText(cell.number != 0);
      case BiffCell::Kind::Error:
        break;
    }
    return "";
  }

  // Scans the sheet once: the used range is that of the cells that show
  // something, and each such cell's record joins its row's runs.
  void Index() {
    bool sorted = true;
    book_->ScanSheet([&](const BiffCell& cell, uint64_t at) {
      if (Text(cell).empty()) return;
      if (at > UINT32_MAX) throw BiffError("the worksheet's records run past 4 GiB");
      usedRows_ = std::max(usedRows_, cell.row + 1);
      usedColumns_ = std::max(usedColumns_, cell.column + 1);
      if (!runs_.empty() && runs_.back().row == cell.row) {
        runs_.back().last = static_cast<uint32_t>(at);
        return;
      }
      if (!runs_.empty() && cell.row < runs_.back().row) sorted = false;
      runs_.push_back({static_cast<uint32_t>(at), static_cast<uint32_t>(at), cell.row});
    });
    if (!sorted) {
      // Stable: a row's runs stay in file order, so later texts still win.
      std::stable_sort(runs_.begin(), runs_.end(),
                       [](const Run& a, const Run& b) { return a.row < b.row; });
    }
    runs_.shrink_to_fit();
  }

  // The cells of a row that show something, by column, read from its runs.
  const Row& ReadRow(uint16_t row) const {
    for (auto kept = kept_.begin(); kept != kept_.end(); ++kept) {
      if (kept->first == row) {
        std::rotate(kept, kept + 1, kept_.end());  // now the latest
        return kept_.back().second;
      }
    }
    Row cells;
    const auto [begin, end] =
        std::equal_range(runs_.begin(), runs_.end(), Run{0, 0, row},
                         [](const Run& a, const Run& b) { return a.row < b.row; });
    for (auto run = begin; run != end; ++run) {
      bool found = false;
      book_->ScanRecords(run->first, run->last, [&](const BiffCell& cell, uint64_t at) {
        if (cell.row != row) return;
        found = found || at == run->first;
        std::string text = Text(cell);
        if (!text.empty()) cells.emplace_back(cell.column + 1, std::move(text));
      });
      // The run starts with a cell of this row: the file changed under the
      // same size and time if it does not.
      if (!found) throw FileReadError(kChanged);
    }
    std::stable_sort(cells.begin(), cells.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (kept_.size() == kRowsKept) kept_.erase(kept_.begin());
    kept_.emplace_back(row, std::move(cells));
    return kept_.back().second;
  }

  std::unique_ptr<const BiffBook> book_;
  std::string path_;
  std::map<std::string, NumberFormat> byCode_;
  std::vector<const NumberFormat*> formats_;  // by XF index
  const NumberFormat general_{"General"};
  std::vector<Run> runs_;  // by row, each row's in file order
  int usedRows_ = 0;
  int usedColumns_ = 0;
  mutable std::vector<std::pair<uint16_t, Row>> kept_;  // the latest last
};

std::unique_ptr<Worksheet> ReadXls(std::shared_ptr<const ByteSource> file,
                                   const std::string& path) {
  return Translate(path, [&]() -> std::unique_ptr<Worksheet> {
    const OleContainer container(std::move(file));
    if (container.Has("EncryptedPackage"))
      throw WorkbookError(CannotRead(path, kPasswordProtected));
    auto book = std::make_unique<const BiffBook>(container.Open({"Workbook", "Book"}));
    if (book->Encrypted()) throw WorkbookError(CannotRead(path, kPasswordProtected));
    return std::make_unique<XlsSheet>(std::move(book), path);
  });
}

}  // namespace

std::unique_ptr<Worksheet> ReadXlsFile(const std::string& path) {
  std::shared_ptr<const ByteSource> file;
  try {
    file = OpenFileBytes(path);
  } catch (const FileReadError&) {
    throw WorkbookError(CannotRead(path, kCannotOpen));
  }
  return ReadXls(std::move(file), path);
}

std::unique_ptr<Worksheet> ReadXlsMemory(std::string_view file, const std::string& name) {
  return ReadXls(CopyBytes(file), name);
}

}  // namespace zrv::workbook
