#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Csv.h"

namespace zrv::csv {
namespace {

using Fields = std::vector<std::string>;

TEST(Csv, ReadsWhatItWritesWithEachSeparator) {
  const Fields fields = {"plain", "a;b,c", "say \"hi\"", "two\r\nlines", ""};
  for (char separator : {',', ';', '\t'}) {
    const std::string text = "\xEF\xBB\xBF" + Line(fields, separator) + "\r\nx" + separator + "y\n";
    std::vector<Record> records;
    int bad = -1;
    ASSERT_TRUE(Parse(text, separator, records, bad)) << separator;
    ASSERT_EQ(records.size(), 2u) << separator;
    EXPECT_EQ(records[0].fields, fields) << separator;
    EXPECT_EQ(records[1].fields, (Fields{"x", "y"})) << separator;
    EXPECT_EQ(records[1].line, 3) << separator;  // the quoted line break counts
    EXPECT_EQ(GuessSeparator(text), separator);
  }
}

TEST(Csv, RefusesQuotesItCannotReadAndNamesTheLine) {
  struct Case {
    const char* text;
    int line;
  };
  for (const Case& c : {Case{"a,b\n\"open,c\n", 2}, Case{"a\n\n\"x\"y,z\n", 3}}) {
    std::vector<Record> records;
    int bad = 0;
    EXPECT_FALSE(Parse(c.text, ',', records, bad)) << c.text;
    EXPECT_EQ(bad, c.line) << c.text;
  }
  EXPECT_EQ(Field("a,b;c", ';'), "\"a,b;c\"");
  EXPECT_EQ(Field("a,b", ';'), "a,b");
}

}  // namespace
}  // namespace zrv::csv
