// The program state at start-up and the message area's byte limit.
#include "shell/program_state.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace shogi {
namespace {

TEST(ProgramStateTest, StartsIdleWithTheStandardPositionAndDefaults) {
  ProgramState s;
  s.InteractionState = kStateGame;
  s.Settings.ReplayInterval = 5;
  InitProgramState(s);
  EXPECT_EQ(s.InteractionState, kStateIdle);
  EXPECT_EQ(s.Shown, kInitialPosition);
  EXPECT_EQ(s.Record.InitialPosition, kInitialPosition);
  EXPECT_TRUE(s.Settings.RepetitionCheck);
  EXPECT_EQ(s.Settings.ReplayInterval, 900);
  EXPECT_EQ(s.Clock.RunningSide, kNoRunningClock);
  EXPECT_EQ(s.AbortFlag, kAbortNone);
}

TEST(ProgramStateTest, MessageLinesAreCutAtTwentySevenCp932Bytes) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"あなたの番です。", "あなたの番です。"},
      // 14 full-width characters are 28 bytes: the 14th does not fit.
      {"一二三四五六七八九十一二三四", "一二三四五六七八九十一二三"},
      // Half-width katakana take one cp932 byte (three in UTF-8).
      {"ｺﾝﾋﾟｭｰﾀｺﾝﾋﾟｭｰﾀｺﾝﾋﾟｭｰﾀｺﾝﾋﾟｭｰﾀ", "ｺﾝﾋﾟｭｰﾀｺﾝﾋﾟｭｰﾀｺﾝﾋﾟｭｰﾀｺﾝﾋﾟｭｰ"},
      // 26 bytes of ASCII and then a two-byte character that would make 28.
      {"abcdefghijklmnopqrstuvwxyz歩", "abcdefghijklmnopqrstuvwxyz"},
  };
  for (const Case& c : cases) {
    MessageArea area;
    SetMessage(area, c.text, c.text);
    EXPECT_EQ(area.Lines[0], c.expected) << c.text;
    EXPECT_EQ(area.Lines[1], c.expected) << c.text;
    std::string cp;
    ASSERT_TRUE(Utf8ToCp932(area.Lines[0], cp));
    EXPECT_LE(cp.size(), kMessageLineBytes);
  }
}

}  // namespace
}  // namespace shogi
