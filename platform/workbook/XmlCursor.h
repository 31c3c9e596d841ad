#pragma once
// A forward-only reader of an XML document, held in memory or read in pieces.
// The worksheet and the shared strings of a large workbook are read through it
// element by element, because a tree of them would cost several times the
// text, and read in pieces, because the text alone of a million-row sheet runs
// to gigabytes; the small parts go through pugixml.
//
// Understands elements, attributes, text with the five named entities and
// character references, CDATA, comments, processing instructions and a document
// type declaration without an internal subset. Element and attribute names are
// reported without their namespace prefix.

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zrv::workbook {

class XmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fills `buffer` with up to `capacity` next bytes of a document and gives how
// many; 0 at the end. Throws when the document cannot be read.
using XmlSource = std::function<size_t(char* buffer, size_t capacity)>;

class XmlCursor {
 public:
  enum class Event { StartElement, EndElement, Text, End };

  // One piece of markup or text longer than this is refused: it bounds the
  // memory a document read in pieces can take.
  static constexpr size_t kMaxPiece = 16u << 20;

  // The cursor reads `document` in place; the text must outlive the cursor.
  explicit XmlCursor(std::string_view document);
  // The cursor reads the document from `source` in pieces, holding only the
  // piece of markup or text it is at.
  explicit XmlCursor(XmlSource source);
  XmlCursor(const XmlCursor&) = delete;
  XmlCursor& operator=(const XmlCursor&) = delete;

  // Moves to the next event. An empty element gives a start and an end. Throws
  // XmlError when the document is not well-formed; End comes once the root
  // element is closed.
  Event Next();

  // Local name of the element of the current start or end event.
  std::string_view Name() const { return name_; }
  // The decoded value of the current start element's attribute with that local
  // name; false when the element has none.
  bool Attribute(std::string_view localName, std::string& value) const;
  // The decoded text of the current text event (one piece; text may come in
  // several).
  const std::string& Text() const { return text_; }

 private:
  void Begin();
  bool More();
  size_t MarkupEnd() const;
  void ReadStartTag();
  void ReadEndTag();
  void SkipPast(std::string_view terminator);
  [[noreturn]] void Fail(const std::string& what) const;

  XmlSource source_;    // empty for a document held in memory
  std::string buffer_;  // the unread rest of a document read in pieces
  bool sourceEnded_ = true;
  size_t dropped_ = 0;  // bytes dropped from the buffer's front, for messages
  std::string_view doc_;
  size_t pos_ = 0;
  std::vector<std::string> open_;  // names of the open elements, with prefixes
  std::vector<std::pair<std::string_view, std::string_view>> attributes_;  // local name, raw value
  std::string_view name_;
  std::string text_;
  bool pendingEnd_ = false;  // the current start element was written <empty/>
  bool rootClosed_ = false;
};

// Decodes entity and character references of raw XML text; throws XmlError on a
// malformed one.
std::string DecodeXmlText(std::string_view raw);

}  // namespace zrv::workbook
