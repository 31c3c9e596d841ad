#include "platform/workbook/XmlCursor.h"

#include <algorithm>
#include <charconv>

#include "common/Utf8.h"

namespace zrv::workbook {

namespace {

// Deeper nesting than this is no workbook part; refusing it bounds memory and
// time.
constexpr size_t kMaxDepth = 256;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view LocalName(std::string_view name) {
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// A character reference's code point; one that no character has becomes U+FFFD.
void AppendReference(std::string& out, unsigned long code) {
  if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = 0xFFFD;
  AppendUtf8(out, static_cast<char32_t>(code));
}

}  // namespace

std::string DecodeXmlText(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  size_t i = 0;
  while (i < raw.size()) {
    const size_t amp = raw.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(i));
      break;
    }
    out.append(raw.substr(i, amp - i));
    const size_t semi = raw.find(';', amp);
    if (semi == std::string_view::npos || semi - amp > 12) throw XmlError("bad entity reference");
    const std::string_view ref = raw.substr(amp + 1, semi - amp - 1);
    if (ref == "lt") {
      out += '<';
    } else if (ref == "gt") {
      out += '>';
    } else if (ref == "amp") {
      out += '&';
    } else if (ref == "quot") {
      out += '"';
    } else if (ref == "apos") {
      out += '\'';
    } else if (ref.size() > 1 && ref[0] == '#') {
      const bool hex = ref[1] == 'x';
      const std::string_view digits = ref.substr(hex ? 2 : 1);
      unsigned long code = 0;
      auto [next, ec] =
          std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
      if (digits.empty() || ec != std::errc() || next != digits.data() + digits.size()) {
        throw XmlError("bad character reference");
      }
      AppendReference(out, code);
    } else {
      throw XmlError("unknown entity &" + std::string(ref) + ";");
    }
    i = semi + 1;
  }
  return out;
}

XmlCursor::XmlCursor(std::string_view document) : doc_(document) { Begin(); }

XmlCursor::XmlCursor(XmlSource source) : source_(std::move(source)), sourceEnded_(false) {
  Begin();
}

void XmlCursor::Begin() {
  while (doc_.size() < 3 && More()) {
  }
  if (doc_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  if (doc_.substr(0, 2) == "\xFF\xFE" || doc_.substr(0, 2) == "\xFE\xFF") {
    Fail("UTF-16 text is not supported");
  }
}

// Reads the next piece of a document read in pieces onto the buffer, after
// dropping what has been read. False at the end (and always for a document held
// in memory). Invalidates the views into the buffer.
bool XmlCursor::More() {
  if (sourceEnded_) return false;
  buffer_.erase(0, pos_);
  dropped_ += pos_;
  pos_ = 0;
  name_ = {};
  attributes_.clear();
  const size_t held = buffer_.size();
  if (held > kMaxPiece) Fail("a piece of markup or text is too long");
  // Twice the buffer at each call, so a long piece is searched a few times, not
  // once per block.
  const size_t want = std::max<size_t>(64 * 1024, held);
  buffer_.resize(held + want);
  const size_t got = source_(buffer_.data() + held, want);
  buffer_.resize(held + std::min(got, want));
  doc_ = buffer_;
  if (got == 0) sourceEnded_ = true;
  return got > 0;
}

// The end of the markup at the cursor, or npos when the buffer does not hold
// all of it yet.
size_t XmlCursor::MarkupEnd() const {
  const std::string_view rest = doc_.substr(pos_);
  if (rest.size() < 9 && !sourceEnded_) return std::string_view::npos;
  auto past = [&rest](std::string_view terminator, size_t from) {
    const size_t end = rest.find(terminator, from);
    return end == std::string_view::npos ? end : end + terminator.size();
  };
  if (rest.starts_with("<!--")) return past("-->", 4);
  if (rest.starts_with("<![CDATA[")) return past("]]>", 9);
  if (rest.starts_with("<?")) return past("?>", 2);
  char quote = 0;
  for (size_t i = 1; i < rest.size(); ++i) {
    const char c = rest[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

void XmlCursor::Fail(const std::string& what) const {
  throw XmlError(what + " at byte " + std::to_string(dropped_ + pos_));
}

void XmlCursor::SkipPast(std::string_view terminator) {
  const size_t end = doc_.find(terminator, pos_);
  if (end == std::string_view::npos) Fail("unterminated markup");
  pos_ = end + terminator.size();
}

XmlCursor::Event XmlCursor::Next() {
  if (pendingEnd_) {
    pendingEnd_ = false;
    if (open_.empty()) rootClosed_ = true;
    return Event::EndElement;
  }
  while (pos_ < doc_.size() || More()) {
    if (doc_[pos_] != '<') {
      size_t lt = doc_.find('<', pos_);
      while (lt == std::string_view::npos && More()) lt = doc_.find('<', pos_);
      const size_t end = lt == std::string_view::npos ? doc_.size() : lt;
      const std::string_view raw = doc_.substr(pos_, end - pos_);
      pos_ = end;
      if (open_.empty()) {
        for (char c : raw) {
          if (!IsSpace(c)) Fail("text outside the root element");
        }
        continue;
      }
      text_ = DecodeXmlText(raw);
      return Event::Text;
    }
    while (MarkupEnd() == std::string_view::npos && More()) {
    }
    const std::string_view rest = doc_.substr(pos_);
    if (rest.substr(0, 4) == "<!--") {
      SkipPast("-->");
    } else if (rest.substr(0, 9) == "<![CDATA[") {
      if (open_.empty()) Fail("CDATA outside the root element");
      const size_t start = pos_ + 9;
      pos_ = start;
      SkipPast("]]>");
      text_.assign(doc_.substr(start, pos_ - 3 - start));
      return Event::Text;
    } else if (rest.substr(0, 2) == "<?") {
      SkipPast("?>");
    } else if (rest.substr(0, 2) == "<!") {
      if (rest.substr(0, 9) != "<!DOCTYPE" || !open_.empty()) Fail("unexpected declaration");
      const size_t end = doc_.find('>', pos_);
      if (end == std::string_view::npos) Fail("unterminated markup");
      if (doc_.substr(pos_, end - pos_).find('[') != std::string_view::npos) {
        Fail("a document type with an internal subset is not supported");
      }
      pos_ = end + 1;
    } else if (rest.substr(0, 2) == "</") {
      ReadEndTag();
      return Event::EndElement;
    } else {
      if (rootClosed_) Fail("a second root element");
      ReadStartTag();
      return Event::StartElement;
    }
  }
  if (!open_.empty() || !rootClosed_) Fail("the document ends inside an element");
  return Event::End;
}

void XmlCursor::ReadStartTag() {
  ++pos_;  // '<'
  const size_t nameStart = pos_;
  while (pos_ < doc_.size() && !IsSpace(doc_[pos_]) && doc_[pos_] != '/' && doc_[pos_] != '>')
    ++pos_;
  const std::string_view qname = doc_.substr(nameStart, pos_ - nameStart);
  if (qname.empty()) Fail("an element without a name");
  attributes_.clear();
  for (;;) {
    while (pos_ < doc_.size() && IsSpace(doc_[pos_])) ++pos_;
    if (pos_ >= doc_.size()) Fail("unterminated start tag");
    const char c = doc_[pos_];
    if (c == '>') {
      ++pos_;
      break;
    }
    if (c == '/') {
      if (pos_ + 1 >= doc_.size() || doc_[pos_ + 1] != '>') Fail("bad empty-element tag");
      pos_ += 2;
      pendingEnd_ = true;
      break;
    }
    const size_t attrStart = pos_;
    while (pos_ < doc_.size() && !IsSpace(doc_[pos_]) && doc_[pos_] != '=' && doc_[pos_] != '>' &&
           doc_[pos_] != '/') {
      ++pos_;
    }
    const std::string_view attrName = doc_.substr(attrStart, pos_ - attrStart);
    while (pos_ < doc_.size() && IsSpace(doc_[pos_])) ++pos_;
    if (attrName.empty() || pos_ >= doc_.size() || doc_[pos_] != '=') Fail("bad attribute");
    ++pos_;
    while (pos_ < doc_.size() && IsSpace(doc_[pos_])) ++pos_;
    if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\''))
      Fail("bad attribute value");
    const char quote = doc_[pos_++];
    const size_t close = doc_.find(quote, pos_);
    if (close == std::string_view::npos) Fail("unterminated attribute value");
    const std::string_view value = doc_.substr(pos_, close - pos_);
    if (value.find('<') != std::string_view::npos) Fail("'<' in an attribute value");
    attributes_.emplace_back(LocalName(attrName), value);
    pos_ = close + 1;
  }
  name_ = LocalName(qname);
  if (!pendingEnd_) {
    if (open_.size() >= kMaxDepth) Fail("elements nested too deeply");
    open_.emplace_back(qname);
  }
}

void XmlCursor::ReadEndTag() {
  pos_ += 2;  // "</"
  const size_t nameStart = pos_;
  while (pos_ < doc_.size() && !IsSpace(doc_[pos_]) && doc_[pos_] != '>') ++pos_;
  const std::string_view qname = doc_.substr(nameStart, pos_ - nameStart);
  while (pos_ < doc_.size() && IsSpace(doc_[pos_])) ++pos_;
  if (pos_ >= doc_.size() || doc_[pos_] != '>') Fail("unterminated end tag");
  ++pos_;
  if (open_.empty() || open_.back() != qname)
    Fail("mismatched end tag </" + std::string(qname) + ">");
  open_.pop_back();
  if (open_.empty()) rootClosed_ = true;
  name_ = LocalName(qname);
}

bool XmlCursor::Attribute(std::string_view localName, std::string& value) const {
  for (const auto& [name, raw] : attributes_) {
    if (name == localName) {
      value = DecodeXmlText(raw);
      return true;
    }
  }
  return false;
}

}  // namespace zrv::workbook
