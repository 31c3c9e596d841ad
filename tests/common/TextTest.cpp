#include <gtest/gtest.h>

#include "common/Text.h"

namespace zrv {
namespace {

TEST(DoubleQuotes, EveryQuoteIsDoubled) {
  EXPECT_EQ(DoubleQuotes(""), "");
  EXPECT_EQ(DoubleQuotes("abc"), "abc");
  EXPECT_EQ(DoubleQuotes("\""), "\"\"");
  EXPECT_EQ(DoubleQuotes("ЕТ \"Изгрев\" ООД"), "ЕТ \"\"Изгрев\"\" ООД");
  EXPECT_EQ(DoubleQuotes("a'b"), "a'b");
}

TEST(Utf8, LengthCountsCharactersNotBytes) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("abc"), 3u);
  EXPECT_EQ(Utf8Length("Зорвит"), 6u);
  EXPECT_EQ(Utf8Length("a€𝄞"), 3u);
}

TEST(Utf8, LeftNeverSplitsACharacter) {
  EXPECT_EQ(Utf8Left("Зорвит", 3), "Зор");
  EXPECT_EQ(Utf8Left("Зорвит", 0), "");
  EXPECT_EQ(Utf8Left("Зорвит", 6), "Зорвит");
  EXPECT_EQ(Utf8Left("Зорвит", 60), "Зорвит");
  EXPECT_EQ(Utf8Left("a€𝄞b", 3), "a€𝄞");
  std::string sixty;
  for (int i = 0; i < 60; ++i) sixty += "ж";
  const std::string cut = Utf8Left(sixty, 50);
  EXPECT_EQ(cut.size(), 100u);
  EXPECT_EQ(Utf8Length(cut), 50u);
}

TEST(UpperCase, LatinAndCyrillicLikeTheDatabase) {
  EXPECT_EQ(UpperCase("abcdefghijklmnopqrstuvwxyz"), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(UpperCase("абвгдежзийклмнопрстуфхцчшщъыьэюя"), "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  EXPECT_EQ(UpperCase("ё"), "Ё");
  EXPECT_EQ(UpperCase("ул. \"Цар Симеон\" 12а"), "УЛ. \"ЦАР СИМЕОН\" 12А");
  // UPPER on the PXW_CYRL text columns keeps these letters: so must we.
  EXPECT_EQ(UpperCase("ђѓљњќћџўјґєїіѕ"), "ђѓљњќћџўјґєїіѕ");
  EXPECT_EQ(UpperCase("é№µ"), "é№µ");
  EXPECT_EQ(UpperCase(std::string("a\xFF"
                                  "b")),
            std::string("A\xFF"
                        "B"));
}

TEST(Trim, BlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(Trim(" \x01\x1f"), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim(" София "), "София");
}

TEST(Cp1251, RoundTripOfTheWholeCodePage) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b != 0x98) all += static_cast<char>(b);
  }
  std::string back;
  ASSERT_TRUE(TryUtf8ToCp1251(Cp1251ToUtf8(all), back));
  EXPECT_EQ(back, all);
}

TEST(Cp1251, KnownCharacters) {
  EXPECT_EQ(Cp1251ToUtf8("\xC0\xFF\xA8\xB8\xB9\x88"), "АяЁё№€");
  std::string out;
  ASSERT_TRUE(TryUtf8ToCp1251("Жълт ґ „х“", out));
  EXPECT_EQ(out, "\xC6\xFA\xEB\xF2 \xB4 \x84\xF5\x93");
}

TEST(Cp1251, UnconvertibleOrMalformedTextFailsAndLeavesOut) {
  for (const std::string& bad :
       {std::string("日本"), std::string("αβ"), std::string("a\xFF"), std::string("\xD0"),
        std::string("\xC0\x80"), std::string("\xED\xA0\x80"), std::string("\xEF\xBF\xBD")}) {
    std::string out = "keep";
    EXPECT_FALSE(TryUtf8ToCp1251(bad, out));
    EXPECT_EQ(out, "keep");
  }
}

}  // namespace
}  // namespace zrv
