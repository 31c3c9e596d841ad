// The XML cursor read in pieces gives the same events as read whole, wherever
// the pieces happen to split the markup.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/workbook/XmlCursor.h"

namespace zrv::workbook {
namespace {

// Every event as a line; an error as its message.
std::string Events(XmlCursor& xml) {
  std::string out;
  try {
    for (auto e = xml.Next(); e != XmlCursor::Event::End; e = xml.Next()) {
      std::string attribute;
      if (e == XmlCursor::Event::StartElement)
        out += "<" + std::string(xml.Name()) +
               (xml.Attribute("a", attribute) ? " a=" + attribute : "") + "\n";
      if (e == XmlCursor::Event::EndElement) out += "/" + std::string(xml.Name()) + "\n";
      if (e == XmlCursor::Event::Text) out += "'" + xml.Text() + "'\n";
    }
  } catch (const XmlError& e) {
    out += std::string("error: ") + e.what();
  }
  return out;
}

TEST(XmlCursorPieces, ReadInPiecesGivesTheEventsOfTheWholeDocument) {
  const std::string documents[] = {
      "\xEF\xBB\xBF<?xml version=\"1.0\"?><!DOCTYPE r><r a=\"x>y\" "
      "b='q\"'><!-- c > d --><s>t &amp; &#x416;</s><![CDATA[<raw>]]>"
      "<e a='1'/>tail</r>",
      "<x:r xmlns:x=\"n\"><x:c a=\"&lt;\">" + std::string(70000, 'z') + "</x:c></x:r>",
      "<r><s></r>",    // mismatched: the same error either way
      "<r a=\"open>",  // unterminated
  };
  for (const std::string& doc : documents) {
    XmlCursor whole(doc);
    const std::string expected = Events(whole);
    for (size_t piece : {size_t{1}, size_t{3}, size_t{7}, size_t{4096}}) {
      size_t at = 0;
      XmlCursor pieces([&](char* buffer, size_t capacity) {
        const size_t n = std::min({piece, capacity, doc.size() - at});
        std::memcpy(buffer, doc.data() + at, n);
        at += n;
        return n;
      });
      EXPECT_EQ(Events(pieces), expected) << "pieces of " << piece;
    }
  }
}

}  // namespace
}  // namespace zrv::workbook
