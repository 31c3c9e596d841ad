// Displayed text of numbers under number format codes, dates under date codes,
// and the cell names the readers and the import use.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/workbook/CellAddress.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/SerialDates.h"

namespace zrv::workbook {
namespace {

struct Case {
  const char* code;
  double value;
  const char* shown;
};

void ExpectShown(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(NumberFormat(c.code).FormatNumber(c.value, false), c.shown)
        << "code " << c.code << ", value " << c.value;
  }
}

TEST(GeneralFormat, FifteenSignificantDigitsWithoutExponentForOrdinarySizes) {
  ExpectShown({
      {"General", 1234.5, "1234.5"},
      {"General", 0.1, "0.1"},
      {"General", 7501010010, "7501010010"},
      {"General", 0.1 + 0.2, "0.3"},
      {"General", -3, "-3"},
      {"General", 0, "0"},
      {"General", 0.00001, "0.00001"},
      {"General", 123456789012345, "123456789012345"},
      {"General", 1234567890123456789.0, "1.23456789012346E+18"},
      {"General", 1e15, "1E+15"},
      {"General", 1.5e-7, "1.5E-07"},
      {"", 2.5, "2.5"},
  });
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(FormatGeneral(std::nan("")), "");
}

TEST(NumberFormat, DecimalsGroupingPaddingPercentAndLiterals) {
  ExpectShown({
      {"0.00", 1234.5, "1234.50"},
      {"0.00", 2.675, "2.68"},  // rounded on 15 digits first, as the binary
                                // value is 2.67499...
      {"0.00", 0.125, "0.13"},
      {"0", 2.5, "3"},
      {"#,##0.00", 1234.5, "1 234.50"},
      {"#,##0", 1234567, "1 234 567"},
      {"#,##0", 999, "999"},
      {"#,##0", 0, "0"},
      {"0000000000", 41010101, "0041010101"},
      {"0000000000", 7501010010, "7501010010"},
      {"000-000", 123456, "123-456"},
      {"0%", 0.25, "25%"},
      {"0.00%", 0.12345, "12.35%"},
      {"0.00\" лв.\"", 12, "12.00 лв."},
      {"#,##0.00\\ \"лв.\"", 1500, "1 500.00 лв."},
      {"[$лв.-402] #,##0.00", 5, "лв. 5.00"},
      {"#,##0,", 1234567, "1 235"},
      {"0.00E+00", 12345, "1.23E+04"},
      {"0.00E+00", 0.000123, "1.23E-04"},
      {"##0.0E+0", 12345, "12.3E+3"},
      {"#.##", 5, "5."},
      {".00", 0.5, ".50"},
      {"0.0#", 1.25, "1.25"},
      {"0.0#", 1.2, "1.2"},
      {"[Red]0.00", -5, "-5.00"},
      {"0", 1e20, "100000000000000000000"},
      {"0%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%"
       "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%"
       "%%%%%%%%%%%%%%%%%%%%",
       1, ""},  // too large to show
  });
}

TEST(NumberFormat, SectionsAndConditionsChooseTheTextOfTheValue) {
  const char* accounting = "_-* #,##0.00 лв_-;-* #,##0.00 лв_-;_-* \"-\"?? лв_-;_-@_-";
  ExpectShown({
      {"#,##0.00 \"лв.\";-#,##0.00 \"лв.\"", -1234.5, "-1 234.50 лв."},
      {"0;(0)", -5, "(5)"},
      {"0;(0);\"нула\"", 0, "нула"},
      {"0;(0)", 0, "0"},
      {"0;-0;;@", 0, ""},
      {"[>=100]0;0.00", 150, "150"},
      {"[>=100]0;0.00", 5, "5.00"},
      {accounting, 1234.5, " 1 234.50 лв "},
      {accounting, -5, "-5.00 лв "},
      {accounting, 0, " -   лв "},
      {"@", 12.5, "12.5"},  // a number under the text format shows as General
  });
  EXPECT_EQ(NumberFormat("0;-0;0;\"Текст: \"@").FormatText("abc"), "Текст: abc");
  EXPECT_EQ(NumberFormat("0.00").FormatText(" abc "), " abc ");
  EXPECT_EQ(NumberFormat("@").FormatText("007"), "007");
}

TEST(NumberFormat, EveryDateCodeShowsDayFirst) {
  ExpectShown({
      {"dd.mm.yyyy", 39156, "15.03.2007"},
      {"m/d/yyyy", 39156, "15.03.2007"},
      {"d/m/yy", 39156, "15.03.2007"},
      {"yyyy-mm-dd", 39156, "15.03.2007"},
      {"mmmm d, yyyy", 39156, "15.03.2007"},
      {"[$-402]d mmmm yyyy \"г.\"", 39156, "15.03.2007"},
      {"dd.mm.yyyy", 39156.75, "15.03.2007"},
      {"dd/mm/yyyy hh:mm:ss", 39156.43090277778, "15.03.2007 10:20:30"},
      {"dd.mm.yyyy h:mm", 39156.5, "15.03.2007 12:00:00"},
      {"h:mm", 0.5, "12:00:00"},
      {"hh:mm:ss AM/PM", 0.75, "18:00:00"},
      {"[h]:mm:ss", 1.5, "36:00:00"},
      {"mm:ss", 1.0 / 1440, "00:01:00"},  // minutes, not the month
      {"dd.mm.yyyy", -1, ""},
      {"dd.mm.yyyy", 2958466, ""},  // after 31.12.9999
  });
  EXPECT_TRUE(NumberFormat("d-mmm-yy").IsDate());
  EXPECT_FALSE(NumberFormat("0.00\" d\"").IsDate());  // letters in quotes are text
  EXPECT_EQ(BuiltinFormatCode(14), "dd.mm.yyyy");
  EXPECT_EQ(BuiltinFormatCode(49), "@");
  EXPECT_EQ(BuiltinFormatCode(200), "General");
}

TEST(SerialDates, TheNineteenHundredSystemAndItsFalseLeapDay) {
  EXPECT_EQ(FormatSerial(1, false, DateShape::Date), "01.01.1900");
  EXPECT_EQ(FormatSerial(59, false, DateShape::Date), "28.02.1900");
  EXPECT_EQ(FormatSerial(60, false, DateShape::Date), "29.02.1900");
  EXPECT_EQ(FormatSerial(61, false, DateShape::Date), "01.03.1900");
  EXPECT_EQ(FormatSerial(0, false, DateShape::Date), "00.01.1900");
  EXPECT_EQ(FormatSerial(0, true, DateShape::Date), "01.01.1904");
  EXPECT_EQ(FormatSerial(37694, true, DateShape::Date), "15.03.2007");
  EXPECT_EQ(FormatSerial(2958465, false, DateShape::Date), "31.12.9999");
  // 23:59:59.6 rounds to the next day.
  EXPECT_EQ(FormatSerial(39156 + 86399.6 / 86400, false, DateShape::DateTime),
            "16.03.2007 00:00:00");
  EXPECT_EQ(FormatSerial(std::nan(""), false, DateShape::Date), "");

  double serial = 0;
  ASSERT_TRUE(ParseIsoSerial("2007-03-15", serial));
  EXPECT_EQ(serial, 39156);
  ASSERT_TRUE(ParseIsoSerial("1900-02-28", serial));
  EXPECT_EQ(serial, 59);
  ASSERT_TRUE(ParseIsoSerial("2007-03-15T10:20:30", serial));
  EXPECT_EQ(FormatSerial(serial, false, DateShape::DateTime), "15.03.2007 10:20:30");
  ASSERT_TRUE(ParseIsoSerial("06:00:00", serial));
  EXPECT_DOUBLE_EQ(serial, 0.25);
  EXPECT_FALSE(ParseIsoSerial("2007-02-30", serial));
  EXPECT_FALSE(ParseIsoSerial("15.03.2007", serial));
  EXPECT_FALSE(ParseIsoSerial("2007-03-15 25:00:00", serial));
}

TEST(CellAddress, NamesAndLettersBothWays) {
  EXPECT_EQ(ColumnLetters(1), "A");
  EXPECT_EQ(ColumnLetters(26), "Z");
  EXPECT_EQ(ColumnLetters(27), "AA");
  EXPECT_EQ(ColumnLetters(36), "AJ");
  EXPECT_EQ(ColumnLetters(16384), "XFD");
  EXPECT_EQ(ColumnLetters(0), "");
  EXPECT_EQ(ColumnLetters(16385), "");
  for (int c = 1; c <= 800; ++c) EXPECT_EQ(ColumnNumber(ColumnLetters(c)), c);

  int row = 0, column = 0;
  ASSERT_TRUE(ParseCellName("AE17", row, column));
  EXPECT_EQ(row, 17);
  EXPECT_EQ(column, 31);
  ASSERT_TRUE(ParseCellName("XFD1048576", row, column));
  for (const char* bad :
       {"", "A", "17", "A0", "A01", "a1", "A-1", "A1 ", "XFE1", "AAAA1", "A1048577", "A1B"}) {
    EXPECT_FALSE(ParseCellName(bad, row, column)) << bad;
  }
}

}  // namespace
}  // namespace zrv::workbook
