// cp932 conversion and the byte-field helpers.
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <cstring>

namespace shogi {
namespace {

TEST(Cp932, ConvertsBothWays) {
  std::string sjis;
  ASSERT_TRUE(Utf8ToCp932("人間 abc ｺﾝﾋﾟｭｰﾀ", sjis));
  EXPECT_EQ(sjis.substr(0, 4), "\x90\x6c\x8a\xd4");
  EXPECT_EQ(sjis.substr(4, 5), " abc ");
  EXPECT_EQ(static_cast<unsigned char>(sjis[9]), 0xBA);  // half-width katakana: one byte
  std::string back;
  ASSERT_TRUE(Cp932ToUtf8(sjis, back));
  EXPECT_EQ(back, "人間 abc ｺﾝﾋﾟｭｰﾀ");
}

TEST(Cp932, RefusesInvalidInputClearly) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case utf8_cases[] = {
      {"stray continuation byte", "a\x80z"},
      {"truncated sequence", "\xe4\xba"},
      {"byte 0xff", "\xff"},
      {"not in the code page", "\xf0\x9f\x98\x80"},  // an emoji
  };
  for (const Case& c : utf8_cases) {
    std::string out = "unchanged";
    EXPECT_FALSE(Utf8ToCp932(c.bytes, out)) << c.name;
    EXPECT_TRUE(out.empty()) << c.name;
  }
  const Case cp932_cases[] = {
      {"lone lead byte at the end", "ab\x82"},
      {"invalid trail byte", "\x82\x0a"},
      {"undefined single byte", "\xa0"},
  };
  for (const Case& c : cp932_cases) {
    std::string out = "unchanged";
    EXPECT_FALSE(Cp932ToUtf8(c.bytes, out)) << c.name;
    EXPECT_TRUE(out.empty()) << c.name;
  }
  // For display a bad byte shows as '?' and the rest survives.
  EXPECT_EQ(Utf8("\x90\x6c\xa0"
                 "a\x82"),
            "人?a?");
}

TEST(Cp932, LeadBytes) {
  for (int c = 0; c < 256; ++c) {
    bool expected = (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
    EXPECT_EQ(IsCp932LeadByte(static_cast<unsigned char>(c)), expected) << c;
  }
}

TEST(Cp932, CutsWithoutSplittingCharacters) {
  const std::string text = Cp932("先手a後手");  // 2 + 2 + 1 + 2 + 2 bytes
  struct Case {
    std::size_t max;
    std::size_t expected;
  };
  const Case cases[] = {{0, 0}, {1, 0}, {2, 2}, {3, 2}, {4, 4},
                        {5, 5}, {6, 5}, {7, 7}, {9, 9}, {50, 9}};
  for (const Case& c : cases) EXPECT_EQ(Cp932CutLength(text, c.max), c.expected) << c.max;
  // A text that ends in a lone lead byte never yields half a character.
  EXPECT_EQ(Cp932CutLength("ab\x82", 10), 2u);
}

TEST(Cp932, FixedFieldsAreCutAndTerminated) {
  char field[6];
  std::memset(field, 'x', sizeof field);
  CopyCp932Field(field, Cp932("先手後手"));  // 8 bytes into 5 + terminator
  EXPECT_EQ(FieldText(field), Cp932("先手"));
  EXPECT_EQ(field[4], '\0');
  EXPECT_EQ(field[5], '\0');
  char full[3] = {'a', 'b', 'c'};  // no terminator: the text stops at the field's end
  EXPECT_EQ(FieldText(full), "abc");
}

}  // namespace
}  // namespace shogi
