#include "platform/workbook/BiffScan.h"

#include <cstring>
#include <map>

#include "common/Text.h"
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
constexpr uint16_t kCodePageUtf16 = 1200;
constexpr uint16_t kCodePageCyrillic = 1251;

uint16_t U16(std::string_view d, size_t at) {
  if (at + 2 > d.size()) throw BiffError("record too short");
  return static_cast<uint16_t>(static_cast<unsigned char>(d[at]) | static_cast<unsigned char>(d[at + 1]) << 8);
}

uint32_t U32(std::string_view d, size_t at) {
  return static_cast<uint32_t>(U16(d, at)) | static_cast<uint32_t>(U16(d, at + 2)) << 16;
}

double F64(std::string_view d, size_t at) {
  if (at + 8 > d.size()) throw BiffError("record too short");
  double value = 0;
  std::memcpy(&value, d.data() + at, sizeof value);  // little-endian IEEE, as the machine's
  return value;
}

// An RK value: a 30-bit integer or the upper 30 bits of a double, optionally divided by 100.
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

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    uint32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

struct RecordView {
  uint16_t id;
  std::string_view data;
};

class Scanner {
 public:
  explicit Scanner(std::string_view stream) : stream_(stream) {}

  BiffSheet Scan() {
    RecordView bof = Next();
    if (bof.id != kBof) throw BiffError("the workbook stream does not start with a BOF record");
    biff8_ = U16(bof.data, 0) == kBiff8;
    uint32_t sheetOffset = 0;
    bool haveSheet = false;
    std::map<uint16_t, std::string> codes;
    std::vector<uint16_t> xfFormatIds;
    for (RecordView r = Next(); r.id != kEof; r = Next()) {
      switch (r.id) {
        case kFilePass: sheet_.encrypted = true; return std::move(sheet_);
        case kDateMode: sheet_.date1904 = U16(r.data, 0) == 1; break;
        case kCodePage: codePage_ = U16(r.data, 0); break;
        case kFormat: codes[U16(r.data, 0)] = biff8_ ? UnicodeString(r.data, 2, {}) : ByteString(r.data, 2, false); break;
        case kXf: xfFormatIds.push_back(U16(r.data, 2)); break;
        case kBoundSheet:
          if (!haveSheet && r.data.size() > 5 && static_cast<unsigned char>(r.data[5]) == 0) {
            sheetOffset = U32(r.data, 0);
            haveSheet = true;
          }
          break;
        default: break;
      }
    }
    if (!haveSheet) throw BiffError("the workbook has no worksheet");
    for (uint16_t id : xfFormatIds) {
      auto code = codes.find(id);
      sheet_.xfFormats.push_back(code != codes.end() ? code->second : BuiltinFormatCode(id));
    }
    ScanSheet(sheetOffset);
    return std::move(sheet_);
  }

 private:
  RecordView Next() {
    if (pos_ + 4 > stream_.size()) throw BiffError("the records end before their end-of-file record");
    const uint16_t id = U16(stream_, pos_);
    const uint16_t length = U16(stream_, pos_ + 2);
    if (pos_ + 4 + length > stream_.size()) throw BiffError("a record runs past the stream");
    RecordView r{id, stream_.substr(pos_ + 4, length)};
    pos_ += 4 + length;
    return r;
  }

  RecordView Peek() {
    const size_t saved = pos_;
    RecordView r = Next();
    pos_ = saved;
    return r;
  }

  // A BIFF5 byte string with a one-byte (or two-byte) length, in the workbook's code page.
  std::string ByteString(std::string_view d, size_t at, bool twoByteLength) {
    if (at >= d.size()) throw BiffError("record too short");
    const size_t count = twoByteLength ? U16(d, at) : static_cast<unsigned char>(d[at]);
    const size_t start = at + (twoByteLength ? 2 : 1);
    const std::string bytes(d.substr(std::min(start, d.size()), count));
    if (codePage_ == kCodePageCyrillic) return Cp1251ToUtf8(bytes);
    std::string out;
    for (unsigned char c : bytes) AppendUtf8(out, c);  // Latin-1 for the other code pages
    return out;
  }

  // A BIFF8 string with a two-byte character count, continued into `more` records when it does
  // not fit: each continuation starts with its own flag byte.
  std::string UnicodeString(std::string_view d, size_t at, const std::vector<std::string_view>& more) {
    size_t remaining = U16(d, at);
    if (at + 2 >= d.size()) throw BiffError("record too short");
    unsigned char flags = static_cast<unsigned char>(d[at + 2]);
    size_t pos = at + 3;
    if (flags & 0x08) pos += 2;  // rich text runs, after the characters
    if (flags & 0x04) pos += 4;  // phonetic data, after the characters
    std::vector<uint16_t> units;
    size_t segment = 0;
    std::string_view data = d;
    while (remaining > 0) {
      const size_t width = (flags & 0x01) ? 2 : 1;
      while (remaining > 0 && pos + width <= data.size()) {
        units.push_back(width == 2 ? U16(data, pos) : static_cast<unsigned char>(data[pos]));
        pos += width;
        --remaining;
      }
      if (remaining == 0 || segment >= more.size()) break;
      data = more[segment++];
      if (data.empty()) break;
      flags = static_cast<unsigned char>(data[0]);
      pos = 1;
    }
    return Utf16ToUtf8(units);
  }

  void Add(std::string_view d, BiffCell::Kind kind, double number = 0, std::string text = {}) {
    BiffCell cell;
    cell.row = U16(d, 0);
    cell.column = U16(d, 2);
    cell.xf = U16(d, 4);
    cell.kind = kind;
    cell.number = number;
    cell.text = std::move(text);
    sheet_.cells.push_back(std::move(cell));
  }

  // The text result of a formula: the STRING record after it (and its continuations), which
  // may follow a shared-formula, array or table record.
  std::string FormulaString() {
    for (int skipped = 0; pos_ < stream_.size() && skipped < 4; ++skipped) {
      const RecordView r = Peek();
      if (r.id == kString) {
        Next();
        std::vector<std::string_view> more;
        while (pos_ < stream_.size() && Peek().id == kContinue) more.push_back(Next().data);
        return biff8_ ? UnicodeString(r.data, 0, more) : ByteString(r.data, 0, true);
      }
      if (r.id == kEof || r.id == kFormula || r.id == kNumber || r.id == kRk) break;
      Next();
    }
    return "";
  }

  void ScanSheet(uint32_t offset) {
    if (offset >= stream_.size()) throw BiffError("the worksheet lies outside the stream");
    pos_ = offset;
    const RecordView bof = Next();
    if (bof.id != kBof || U16(bof.data, 2) != kWorksheetType) throw BiffError("the first worksheet has no BOF record");
    int depth = 0;  // charts embedded in the sheet have BOF ... EOF of their own
    for (RecordView r = Next();; r = Next()) {
      if (r.id == kBof) {
        ++depth;
        continue;
      }
      if (r.id == kEof) {
        if (depth-- == 0) break;
        continue;
      }
      if (depth > 0) continue;
      const std::string_view d = r.data;
      switch (r.id) {
        case kNumber: Add(d, BiffCell::Kind::Number, F64(d, 6)); break;
        case kRk: Add(d, BiffCell::Kind::Number, DecodeRk(U32(d, 6))); break;
        case kMulRk: {
          if (d.size() < 6) throw BiffError("record too short");
          const uint16_t row = U16(d, 0);
          const uint16_t first = U16(d, 2);
          const size_t count = (d.size() - 6) / 6;
          for (size_t i = 0; i < count; ++i) {
            BiffCell cell;
            cell.row = row;
            cell.column = static_cast<uint16_t>(first + i);
            cell.xf = U16(d, 4 + i * 6);
            cell.number = DecodeRk(U32(d, 6 + i * 6));
            sheet_.cells.push_back(std::move(cell));
          }
          break;
        }
        case kLabelSst:
        case kLabel:
        case kRString: Add(d, BiffCell::Kind::Text); break;
        case kBoolErr:
          if (d.size() < 8) throw BiffError("record too short");
          if (d[7] != 0) {
            Add(d, BiffCell::Kind::Error);
          } else {
            Add(d, BiffCell::Kind::Boolean, d[6] != 0 ? 1 : 0);
          }
          break;
        case kFormula: {
          if (d.size() < 14) throw BiffError("record too short");
          if (U16(d, 12) != 0xFFFF) {
            Add(d, BiffCell::Kind::Number, F64(d, 6));
            break;
          }
          switch (static_cast<unsigned char>(d[6])) {
            case 0: Add(d, BiffCell::Kind::FormulaText, 0, FormulaString()); break;
            case 1: Add(d, BiffCell::Kind::Boolean, d[8] != 0 ? 1 : 0); break;
            case 3: Add(d, BiffCell::Kind::FormulaText); break;
            default: Add(d, BiffCell::Kind::Error); break;
          }
          break;
        }
        default: break;
      }
    }
  }

  std::string_view stream_;
  size_t pos_ = 0;
  bool biff8_ = true;
  uint16_t codePage_ = kCodePageUtf16;
  BiffSheet sheet_;
};

}  // namespace

BiffSheet ScanBiff(std::string_view stream) { return Scanner(stream).Scan(); }

}  // namespace zrv::workbook
