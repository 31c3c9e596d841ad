#include "platform/workbook/BiffScan.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "common/Utf8.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/StringTable.h"

namespace zrv::workbook {

namespace {

enum Record : uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kDateMode = 0x0022,
  kFilePass = 0x002F,
  kContinue = 0x003C,
  kCodePage = 0x0042,
  kBoundSheet = 0x0085,
  kMulRk = 0x00BD,
  kRString = 0x00D6,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kRk = 0x027E,
  kFormat = 0x041E,
  kBof = 0x0809,
};

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kWorksheetType = 0x0010;

[[noreturn]] void TooShort() { throw BiffError("a record is shorter than its content"); }

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    uint32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// The single-byte code page of BIFF5 texts, converted with iconv. Without a
// conversion for the declared code page the bytes are read as Latin-1.
class CodePage {
 public:
  explicit CodePage(uint16_t number) {
    std::string name = "CP" + std::to_string(number);
    if (number == 367) name = "ASCII";
    if (number == 10000 || number == 32768) name = "MACINTOSH";
    if (number == 10007) name = "MACCYRILLIC";
    if (number == 32769) name = "CP1252";
    iconv_ = iconv_open("UTF-8", name.c_str());
  }
  ~CodePage() {
    if (iconv_ != reinterpret_cast<iconv_t>(-1)) iconv_close(iconv_);
  }
  CodePage(const CodePage&) = delete;
  CodePage& operator=(const CodePage&) = delete;

  std::string ToUtf8(std::string_view bytes) const {
    std::string out;
    if (iconv_ == reinterpret_cast<iconv_t>(-1)) {
      for (unsigned char c : bytes) AppendUtf8(out, c);
      return out;
    }
    iconv(iconv_, nullptr, nullptr, nullptr, nullptr);
    std::string input(bytes);
    char* in = input.data();
    size_t inLeft = input.size();
    std::string buffer(input.size() * 4 + 16, '\0');
    while (inLeft > 0) {
      char* outPtr = buffer.data();
      size_t outLeft = buffer.size();
      const size_t rc = iconv(iconv_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer.data(), buffer.size() - outLeft);
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
        out += '?';  // a byte the code page does not define
        ++in;
        --inLeft;
      }
    }
    return out;
  }

 private:
  iconv_t iconv_;
};

struct RecordView {
  uint16_t id;
  std::string_view data;
};

// The records of a workbook stream, read from it one at a time. A record's
// data stays valid until the next record is read.
class RecordReader {
 public:
  explicit RecordReader(const ByteSource& stream) : stream_(stream), size_(stream.Size()) {}

  uint64_t Size() const { return size_; }
  uint64_t Position() const { return pos_; }
  void Seek(uint64_t pos) { pos_ = pos; }
  uint16_t LastId() const { return last_; }

  RecordView Next() {
    if (pos_ > size_ || size_ - pos_ < 4)
      throw BiffError("the records end before their end-of-file record");
    char header[4];
    stream_.ReadAt(pos_, 4, header);
    const uint16_t id = Le16(header);
    const uint16_t length = Le16(header + 2);
    if (size_ - pos_ - 4 < length) throw BiffError("a record runs past the stream");
    data_.resize(length);
    stream_.ReadAt(pos_ + 4, length, data_.data());
    pos_ += 4 + length;
    last_ = id;
    return {id, data_};
  }

  // The id of the next record; kEof when no record can follow.
  uint16_t PeekId() const {
    if (pos_ > size_ || size_ - pos_ < 2) return kEof;
    char id[2];
    stream_.ReadAt(pos_, 2, id);
    return Le16(id);
  }

 private:
  static uint16_t Le16(const char* bytes) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1])
                                                                      << 8);
  }

  const ByteSource& stream_;
  uint64_t size_;
  uint64_t pos_ = 0;
  uint16_t last_ = 0;
  std::string data_;
};

// The bytes of a record and, when it is given the reader, of the CONTINUE
// records after it, read as one sequence. A BIFF8 string whose characters run
// into a continuation restarts there with a new flag byte.
class Pieces {
 public:
  explicit Pieces(std::string_view part, RecordReader* continues = nullptr)
      : part_(part), continues_(continues) {}

  bool AtEnd() {
    while (pos_ >= part_.size()) {
      if (!NextPart()) return true;
    }
    return false;
  }
  uint8_t Byte() {
    if (AtEnd()) TooShort();
    return static_cast<uint8_t>(part_[pos_++]);
  }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
  uint32_t U32() { return static_cast<uint32_t>(U16()) | static_cast<uint32_t>(U16()) << 16; }
  double F64() {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(Byte()) << (8 * i);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  void Skip(size_t count) {
    while (count > 0) {
      if (AtEnd()) TooShort();
      const size_t step = std::min(count, part_.size() - pos_);
      pos_ += step;
      count -= step;
    }
  }
  std::string_view Bytes(size_t count) {
    if (AtEnd() || part_.size() - pos_ < count) TooShort();
    const std::string_view bytes = part_.substr(pos_, count);
    pos_ += count;
    return bytes;
  }

  // A BIFF8 string: character count (two bytes, or one in a few records),
  // flags, optional rich-text run count and phonetic size, the characters (one
  // or two bytes each), then the runs and the phonetic data, which are skipped.
  std::string UnicodeString(bool oneByteCount = false) {
    size_t remaining = oneByteCount ? Byte() : U16();
    uint8_t flags = Byte();
    const size_t runs = (flags & 0x08) ? U16() : 0;
    const size_t phonetic = (flags & 0x04) ? U32() : 0;
    std::vector<uint16_t> units;
    units.reserve(remaining);
    while (remaining > 0) {
      if (pos_ >= part_.size()) {
        // The characters continue in the next record, which starts with its own
        // flag byte.
        if (!NextPart()) TooShort();
        flags = Byte();
      }
      const bool wide = flags & 0x01;
      units.push_back(wide ? U16() : Byte());
      --remaining;
    }
    Skip(runs * 4);
    Skip(phonetic);
    return Utf16ToUtf8(units);
  }

 private:
  // Moves to the next CONTINUE record; false when none follows.
  bool NextPart() {
    if (continues_ == nullptr || continues_->PeekId() != kContinue) return false;
    part_ = continues_->Next().data;
    pos_ = 0;
    return true;
  }

  std::string_view part_;
  RecordReader* continues_;
  size_t pos_ = 0;
};

// An RK value: a 30-bit integer or the upper 30 bits of a double, optionally
// divided by 100.
double DecodeRk(uint32_t rk) {
  double value = 0;
  if (rk & 2) {
    value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 1) ? value / 100 : value;
}

// The workbook globals and a scan of the worksheet's cell records.
class Scanner {
 public:
  Scanner(const ByteSource& stream, BiffBook::Globals& globals)
      : records_(stream), globals_(globals) {}

  void ScanGlobals();
  // Scans from the worksheet's BOF record at `sheetOffset` to its EOF.
  void ScanSheet(uint64_t sheetOffset, const BiffBook::CellFn& emit);
  // Scans from the record at `from` up to and with the one at `through`.
  void ScanRecords(uint64_t from, uint64_t through, const BiffBook::CellFn& emit);

 private:
  // BIFF5 text: bytes in the workbook's code page (Windows-1252 when none is
  // declared).
  std::string ByteString(Pieces& data, size_t count);
  void ReadSharedStrings(std::string_view first);
  std::string CellString(Pieces& data);
  BiffCell Position(Pieces& data);
  std::string FormulaString();
  void ScanCell(const RecordView& r, uint64_t at, const BiffBook::CellFn& emit);
  // Reads records at depth 0 (charts embedded in the sheet have BOF ... EOF of
  // their own) until the sheet's EOF or past `through`.
  void ScanFrom(uint64_t through, const BiffBook::CellFn& emit);

  RecordReader records_;
  BiffBook::Globals& globals_;
};

}  // namespace

struct BiffBook::Globals {
  bool encrypted = false;
  bool date1904 = false;
  bool biff8 = true;
  uint64_t sheetOffset = 0;
  std::vector<std::string> xfFormats;
  std::unique_ptr<CodePage> codePage;
  StringTable strings;
};

namespace {

void Scanner::ScanGlobals() {
  Pieces bof(records_.Next().data);
  if (records_.LastId() != kBof)
    throw BiffError("the workbook stream does not start with a BOF record");
  globals_.biff8 = bof.U16() == kBiff8;
  uint32_t sheetOffset = 0;
  bool haveSheet = false;
  std::map<uint16_t, std::string> codes;
  std::vector<uint16_t> xfFormatIds;
  for (RecordView r = records_.Next(); r.id != kEof; r = records_.Next()) {
    Pieces data(r.data);
    switch (r.id) {
      case kFilePass:
        globals_.encrypted = true;
        return;
      case kDateMode:
        globals_.date1904 = data.U16() == 1;
        break;
      case kCodePage:
        globals_.codePage = std::make_unique<CodePage>(data.U16());
        break;
      case kFormat: {
        const uint16_t id = data.U16();
        codes[id] = globals_.biff8 ? data.UnicodeString() : ByteString(data, data.Byte());
        break;
      }
      case kXf:
        data.U16();  // font
        xfFormatIds.push_back(data.U16());
        break;
      case kSst:
        ReadSharedStrings(r.data);
        break;
      case kBoundSheet: {
        const uint32_t offset = data.U32();
        data.Byte();  // visibility
        if (!haveSheet && data.Byte() == 0) {
          sheetOffset = offset;
          haveSheet = true;
        }
        break;
      }
      default:
        break;
    }
  }
  if (!haveSheet) throw BiffError("the workbook has no worksheet");
  for (uint16_t id : xfFormatIds) {
    auto code = codes.find(id);
    globals_.xfFormats.push_back(code != codes.end() ? code->second : BuiltinFormatCode(id));
  }
  globals_.sheetOffset = sheetOffset;
}

std::string Scanner::ByteString(Pieces& data, size_t count) {
  if (!globals_.codePage) globals_.codePage = std::make_unique<CodePage>(1252);
  return globals_.codePage->ToUtf8(data.Bytes(count));
}

void Scanner::ReadSharedStrings(std::string_view first) {
  Pieces data(first, &records_);
  data.U32();  // strings in the workbook
  const uint32_t unique = data.U32();
  for (uint32_t i = 0; i < unique && !data.AtEnd(); ++i) globals_.strings.Add(data.UnicodeString());
}

std::string Scanner::CellString(Pieces& data) {
  if (globals_.biff8) return data.UnicodeString();
  const uint16_t count = data.U16();
  return ByteString(data, count);
}

// Reads the row, column and XF index that start every cell record.
BiffCell Scanner::Position(Pieces& data) {
  BiffCell cell;
  cell.row = data.U16();
  cell.column = data.U16();
  cell.xf = data.U16();
  return cell;
}

// The text result of a formula: the STRING record after it (and its
// continuations), which may follow a shared-formula, array or table record.
std::string Scanner::FormulaString() {
  for (int skipped = 0; skipped < 4; ++skipped) {
    const uint16_t id = records_.PeekId();
    if (id == kString) {
      Pieces data(records_.Next().data, &records_);
      return CellString(data);
    }
    if (id == kEof || id == kFormula || id == kNumber || id == kRk || id == kLabelSst) break;
    records_.Next();
  }
  return "";
}

void Scanner::ScanCell(const RecordView& r, uint64_t at, const BiffBook::CellFn& emit) {
  Pieces data(r.data);
  switch (r.id) {
    case kNumber: {
      BiffCell cell = Position(data);
      cell.number = data.F64();
      emit(cell, at);
      break;
    }
    case kRk: {
      BiffCell cell = Position(data);
      cell.number = DecodeRk(data.U32());
      emit(cell, at);
      break;
    }
    case kMulRk: {
      const uint16_t row = data.U16();
      const uint16_t first = data.U16();
      const size_t count = r.data.size() >= 6 ? (r.data.size() - 6) / 6 : 0;
      for (size_t i = 0; i < count; ++i) {
        BiffCell cell;
        cell.row = row;
        cell.column = static_cast<uint16_t>(first + i);
        cell.xf = data.U16();
        cell.number = DecodeRk(data.U32());
        emit(cell, at);
      }
      break;
    }
    case kLabelSst: {
      BiffCell cell = Position(data);
      const uint32_t index = data.U32();
      cell.kind = BiffCell::Kind::Text;
      if (index < globals_.strings.size()) cell.text = std::string(globals_.strings[index]);
      emit(cell, at);
      break;
    }
    case kLabel:
    case kRString: {
      BiffCell cell = Position(data);
      cell.kind = BiffCell::Kind::Text;
      cell.text = CellString(data);
      emit(cell, at);
      break;
    }
    case kBoolErr: {
      BiffCell cell = Position(data);
      const uint8_t value = data.Byte();
      const bool isError = data.Byte() != 0;
      cell.kind = isError ? BiffCell::Kind::Error : BiffCell::Kind::Boolean;
      cell.number = value != 0;
      emit(cell, at);
      break;
    }
    case kFormula: {
      BiffCell cell = Position(data);
      // A copy: the record's data is gone once the STRING record is read.
      char result[8];
      std::memcpy(result, data.Bytes(8).data(), sizeof result);
      if (static_cast<uint8_t>(result[6]) != 0xFF || static_cast<uint8_t>(result[7]) != 0xFF) {
        Pieces value(std::string_view(result, sizeof result));
        cell.number = value.F64();
      } else if (result[0] == 0) {
        cell.kind = BiffCell::Kind::Text;
        cell.text = FormulaString();
      } else if (result[0] == 1) {
        cell.kind = BiffCell::Kind::Boolean;
        cell.number = result[2] != 0;
      } else if (result[0] == 3) {
        cell.kind = BiffCell::Kind::Text;  // the empty text
      } else {
        cell.kind = BiffCell::Kind::Error;
      }
      emit(cell, at);
      break;
    }
    default:
      break;
  }
}

void Scanner::ScanSheet(uint64_t sheetOffset, const BiffBook::CellFn& emit) {
  if (sheetOffset >= records_.Size()) throw BiffError("the worksheet lies outside the stream");
  records_.Seek(sheetOffset);
  Pieces bof(records_.Next().data);
  bof.U16();
  if (records_.LastId() != kBof || bof.U16() != kWorksheetType)
    throw BiffError("the first worksheet has no BOF record");
  ScanFrom(UINT64_MAX, emit);
}

void Scanner::ScanRecords(uint64_t from, uint64_t through, const BiffBook::CellFn& emit) {
  records_.Seek(from);
  ScanFrom(through, emit);
}

void Scanner::ScanFrom(uint64_t through, const BiffBook::CellFn& emit) {
  int depth = 0;
  while (records_.Position() <= through) {
    const uint64_t at = records_.Position();
    const RecordView r = records_.Next();
    if (r.id == kBof) {
      ++depth;
    } else if (r.id == kEof) {
      if (depth-- == 0) break;
    } else if (depth == 0) {
      ScanCell(r, at, emit);
    }
  }
}

}  // namespace

BiffBook::BiffBook(std::shared_ptr<const ByteSource> stream)
    : stream_(std::move(stream)), globals_(std::make_unique<Globals>()) {
  Scanner(*stream_, *globals_).ScanGlobals();
}

BiffBook::~BiffBook() = default;

bool BiffBook::Encrypted() const { return globals_->encrypted; }
bool BiffBook::Date1904() const { return globals_->date1904; }
const std::vector<std::string>& BiffBook::XfFormats() const { return globals_->xfFormats; }

void BiffBook::ScanSheet(const CellFn& cell) const {
  if (globals_->encrypted) return;
  Scanner(*stream_, *globals_).ScanSheet(globals_->sheetOffset, cell);
}

void BiffBook::ScanRecords(uint64_t from, uint64_t through, const CellFn& cell) const {
  if (globals_->encrypted) return;
  Scanner(*stream_, *globals_).ScanRecords(from, through, cell);
}

BiffSheet ScanBiff(std::string_view stream) {
  const BiffBook book(std::make_shared<ViewBytes>(stream));
  BiffSheet sheet;
  sheet.encrypted = book.Encrypted();
  if (sheet.encrypted) return sheet;
  sheet.date1904 = book.Date1904();
  sheet.xfFormats = book.XfFormats();
  book.ScanSheet([&sheet](const BiffCell& cell, uint64_t) { sheet.cells.push_back(cell); });
  return sheet;
}

}  // namespace zrv::workbook
