#include "platform/workbook/BiffScan.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "common/Utf8.h"
#include "platform/workbook/NumberFormat.h"

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

[[noreturn]] void TooShort() {
  throw BiffError("a record is shorter than its content");
}

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    uint32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() &&
        units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
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

// The bytes of a record and of the CONTINUE records after it, read as one
// sequence. A BIFF8 string whose characters run into a continuation restarts
// there with a new flag byte.
class Pieces {
 public:
  explicit Pieces(std::vector<std::string_view> parts)
      : parts_(std::move(parts)) {}
  explicit Pieces(std::string_view part) : parts_{part} {}

  bool AtEnd() {
    while (part_ < parts_.size() && pos_ >= parts_[part_].size()) NextPart();
    return part_ >= parts_.size();
  }
  uint8_t Byte() {
    if (AtEnd()) TooShort();
    return static_cast<uint8_t>(parts_[part_][pos_++]);
  }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
  uint32_t U32() {
    return static_cast<uint32_t>(U16()) | static_cast<uint32_t>(U16()) << 16;
  }
  double F64() {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
      bits |= static_cast<uint64_t>(Byte()) << (8 * i);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  void Skip(size_t count) {
    while (count > 0) {
      if (AtEnd()) TooShort();
      const size_t step = std::min(count, parts_[part_].size() - pos_);
      pos_ += step;
      count -= step;
    }
  }
  std::string_view Bytes(size_t count) {
    if (AtEnd() || parts_[part_].size() - pos_ < count) TooShort();
    const std::string_view bytes = parts_[part_].substr(pos_, count);
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
      if (pos_ >= parts_[part_].size()) {
        // The characters continue in the next record, which starts with its own
        // flag byte.
        NextPart();
        if (part_ >= parts_.size()) TooShort();
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
  void NextPart() {
    ++part_;
    pos_ = 0;
  }

  std::vector<std::string_view> parts_;
  size_t part_ = 0;
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

struct RecordView {
  uint16_t id;
  std::string_view data;
};

class Scanner {
 public:
  explicit Scanner(std::string_view stream) : stream_(stream) {}

  BiffSheet Scan() {
    Pieces bof(Next().data);
    if (last_ != kBof)
      throw BiffError("the workbook stream does not start with a BOF record");
    biff8_ = bof.U16() == kBiff8;
    uint32_t sheetOffset = 0;
    bool haveSheet = false;
    std::map<uint16_t, std::string> codes;
    std::vector<uint16_t> xfFormatIds;
    for (RecordView r = Next(); r.id != kEof; r = Next()) {
      Pieces data(r.data);
      switch (r.id) {
        case kFilePass:
          sheet_.encrypted = true;
          return std::move(sheet_);
        case kDateMode:
          sheet_.date1904 = data.U16() == 1;
          break;
        case kCodePage:
          codePage_ = std::make_unique<CodePage>(data.U16());
          break;
        case kFormat: {
          const uint16_t id = data.U16();
          codes[id] =
              biff8_ ? data.UnicodeString() : ByteString(data, data.Byte());
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
      sheet_.xfFormats.push_back(code != codes.end() ? code->second
                                                     : BuiltinFormatCode(id));
    }
    ScanSheet(sheetOffset);
    return std::move(sheet_);
  }

 private:
  RecordView Next() {
    if (pos_ + 4 > stream_.size())
      throw BiffError("the records end before their end-of-file record");
    Pieces header(stream_.substr(pos_, 4));
    const uint16_t id = header.U16();
    const uint16_t length = header.U16();
    if (pos_ + 4 + length > stream_.size())
      throw BiffError("a record runs past the stream");
    RecordView r{id, stream_.substr(pos_ + 4, length)};
    pos_ += 4 + length;
    last_ = id;
    return r;
  }

  uint16_t PeekId() const {
    if (pos_ + 2 > stream_.size()) return kEof;
    return static_cast<uint16_t>(static_cast<uint8_t>(stream_[pos_]) |
                                 static_cast<uint8_t>(stream_[pos_ + 1]) << 8);
  }

  // A record with the CONTINUE records that follow it.
  std::vector<std::string_view> WithContinues(std::string_view first) {
    std::vector<std::string_view> parts{first};
    while (PeekId() == kContinue) parts.push_back(Next().data);
    return parts;
  }

  // BIFF5 text: bytes in the workbook's code page (Windows-1252 when none is
  // declared).
  std::string ByteString(Pieces& data, size_t count) {
    if (!codePage_) codePage_ = std::make_unique<CodePage>(1252);
    return codePage_->ToUtf8(data.Bytes(count));
  }

  void ReadSharedStrings(std::string_view first) {
    Pieces data(WithContinues(first));
    data.U32();  // strings in the workbook
    const uint32_t unique = data.U32();
    for (uint32_t i = 0; i < unique && !data.AtEnd(); ++i)
      strings_.push_back(data.UnicodeString());
  }

  std::string CellString(Pieces& data) {
    if (biff8_) return data.UnicodeString();
    const uint16_t count = data.U16();
    return ByteString(data, count);
  }

  // Reads the row, column and XF index that start every cell record.
  BiffCell Position(Pieces& data) {
    BiffCell cell;
    cell.row = data.U16();
    cell.column = data.U16();
    cell.xf = data.U16();
    return cell;
  }

  // The text result of a formula: the STRING record after it (and its
  // continuations), which may follow a shared-formula, array or table record.
  std::string FormulaString() {
    for (int skipped = 0; skipped < 4; ++skipped) {
      const uint16_t id = PeekId();
      if (id == kString) {
        Pieces data(WithContinues(Next().data));
        return CellString(data);
      }
      if (id == kEof || id == kFormula || id == kNumber || id == kRk ||
          id == kLabelSst)
        break;
      Next();
    }
    return "";
  }

  void ScanCell(const RecordView& r) {
    Pieces data(r.data);
    switch (r.id) {
      case kNumber: {
        BiffCell cell = Position(data);
        cell.number = data.F64();
        sheet_.cells.push_back(std::move(cell));
        break;
      }
      case kRk: {
        BiffCell cell = Position(data);
        cell.number = DecodeRk(data.U32());
        sheet_.cells.push_back(std::move(cell));
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
          sheet_.cells.push_back(std::move(cell));
        }
        break;
      }
      case kLabelSst: {
        BiffCell cell = Position(data);
        const uint32_t index = data.U32();
        cell.kind = BiffCell::Kind::Text;
        if (index < strings_.size()) cell.text = strings_[index];
        sheet_.cells.push_back(std::move(cell));
        break;
      }
      case kLabel:
      case kRString: {
        BiffCell cell = Position(data);
        cell.kind = BiffCell::Kind::Text;
        cell.text = CellString(data);
        sheet_.cells.push_back(std::move(cell));
        break;
      }
      case kBoolErr: {
        BiffCell cell = Position(data);
        const uint8_t value = data.Byte();
        const bool isError = data.Byte() != 0;
        cell.kind = isError ? BiffCell::Kind::Error : BiffCell::Kind::Boolean;
        cell.number = value != 0;
        sheet_.cells.push_back(std::move(cell));
        break;
      }
      case kFormula: {
        BiffCell cell = Position(data);
        const std::string_view result = data.Bytes(8);
        if (static_cast<uint8_t>(result[6]) != 0xFF ||
            static_cast<uint8_t>(result[7]) != 0xFF) {
          Pieces value(result);
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
        sheet_.cells.push_back(std::move(cell));
        break;
      }
      default:
        break;
    }
  }

  void ScanSheet(uint32_t offset) {
    if (offset >= stream_.size())
      throw BiffError("the worksheet lies outside the stream");
    pos_ = offset;
    Pieces bof(Next().data);
    bof.U16();
    if (last_ != kBof || bof.U16() != kWorksheetType)
      throw BiffError("the first worksheet has no BOF record");
    int depth =
        0;  // charts embedded in the sheet have BOF ... EOF of their own
    for (RecordView r = Next();; r = Next()) {
      if (r.id == kBof) {
        ++depth;
      } else if (r.id == kEof) {
        if (depth-- == 0) break;
      } else if (depth == 0) {
        ScanCell(r);
      }
    }
  }

  std::string_view stream_;
  size_t pos_ = 0;
  uint16_t last_ = 0;
  bool biff8_ = true;
  std::unique_ptr<CodePage> codePage_;
  std::vector<std::string> strings_;
  BiffSheet sheet_;
};

}  // namespace

BiffSheet ScanBiff(std::string_view stream) { return Scanner(stream).Scan(); }

}  // namespace zrv::workbook
