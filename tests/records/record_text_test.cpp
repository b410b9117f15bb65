// The UTF-8 rule of the record readers and the conversion of UTF-8 texts to cp932.
#include "records/record_text.h"

#include <gtest/gtest.h>

#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::Cp;

TEST(RecordText, DecidesUtf8ByTheOneRule) {
  const std::string bom = "\xEF\xBB\xBF";
  // "東京" in UTF-8 (E6 9D B1 E4 BA AC) happens to be valid cp932 as well.
  const std::string tokyo = "東京";
  struct Case {
    std::string text;
    bool by_name;
    bool utf8;
  };
  const Case cases[] = {
      {bom + "abc", false, true},
      {tokyo, false, false},  // valid in both: cp932
      {tokyo, true, true},    // ... unless the name says UTF-8
      {bom + tokyo, false, true},
      {"先手：東京", false, true},  // valid UTF-8, not valid cp932
      {Cp("先手：東京"), false, false},
      {Cp("先手：東京"), true, false},  // the name asks for UTF-8, the bytes are not
      {"#KIF version=2.0 encoding=UTF-8\r\n" + tokyo, false, true},
      {"#KIF version=2.0 encoding=UTF-8\r\n" + Cp("先手：東京"), false, false},  // re-saved
      {"'CSA encoding=UTF-8\n" + tokyo, false, true},
      {"'CSA encoding=SHIFT_JIS\n" + tokyo, false, false},
      {"abc\nencoding=UTF-8", false, false},         // only the first line declares
      {"N+encoding=UTF-8\n" + tokyo, false, false},  // a name declares nothing
      {"N+abc", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsUtf8Text(c.text, c.by_name), c.utf8) << c.text;
}

TEST(RecordText, NamesThatSayUtf8) {
  EXPECT_TRUE(NameSaysUtf8("a/game.kifu"));
  EXPECT_TRUE(NameSaysUtf8("GAME.KI2U"));
  EXPECT_FALSE(NameSaysUtf8("game.kif"));
  EXPECT_FALSE(NameSaysUtf8("kifu"));
  EXPECT_FALSE(NameSaysUtf8("game.kifu.csa"));
}

TEST(RecordText, ChecksUtf8StrictlyAndConvertsWhatCp932Holds) {
  EXPECT_TRUE(IsValidUtf8("a先手"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE5\x85"));          // cut short
  EXPECT_EQ(Utf8TextToCp932("\xEF\xBB\xBF先手：a"), Cp("先手：a"));
  // What cp932 lacks becomes "?", the rest of the line stays.
  EXPECT_EQ(Utf8TextToCp932("先手：\xF0\x9F\x98\x80太郎"), Cp("先手：?太郎"));
  EXPECT_EQ(Utf8TextToCp932("a\xFF"
                            "b"),
            "a?b");
}

TEST(RecordText, StreamsTheCp932FormOfEitherText) {
  for (const std::string& input : {std::string("先手：東京\n"), Cp("先手：東京\n")}) {
    MemoryByteStream source(input);
    Cp932TextStream text(source, false);
    std::string out;
    char buffer[3];
    while (const std::size_t n = text.Read(buffer, sizeof buffer)) out.append(buffer, n);
    EXPECT_EQ(out, Cp("先手：東京\n"));
    EXPECT_FALSE(text.Failed());
  }
}

}  // namespace
}  // namespace shogi
