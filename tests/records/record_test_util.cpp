// Helpers of the record-format tests.
#include "tests/records/record_test_util.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "rules/sfen.h"

namespace shogi::test {

std::string Cp(std::string_view utf8) {
  std::string out;
  EXPECT_TRUE(Utf8ToCp932(utf8, out)) << utf8;
  return out;
}

std::string Lines(std::initializer_list<std::string_view> utf8_lines) {
  std::string out;
  for (std::string_view line : utf8_lines) {
    out += Cp(line);
    out += "\r\n";
  }
  return out;
}

std::string TestDataPath(const std::string& relative) {
  return std::string(SHOGI_TEST_DATA) + "/" + relative;
}

std::string TestData(const std::string& relative) {
  std::string bytes = FileBytes(TestDataPath(relative));
  EXPECT_FALSE(bytes.empty()) << relative;
  return bytes;
}

GameRecord EvenGame() {
  GameRecord r = MakeRecord("startpos", "7g7f 3c3d 8h2b+ 3a2b B*4e", {10, 5, 30, 3725, 33});
  r.MoveTimes[5] = 3735;  // the clock of the side to move at the end
  r.ResultCode = kResultFirstWins;
  CopyCp932Field(r.FirstName, Cp("羽生善治"));
  CopyCp932Field(r.SecondName, Cp("谷川浩司"));
  return r;
}

std::string ChangedTestData(const std::string& relative, std::string_view from,
                            std::string_view to) {
  std::string text = TestData(relative);
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << relative << ": " << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

GameRecord SentinelRecord() {
  GameRecord r = MakeRecord("startpos", "2g2f 8c8d 2f2e", {7, 8, 9});
  CopyCp932Field(r.FirstName, "sentinel-first");
  CopyCp932Field(r.SecondName, "sentinel-second");
  CopyCp932Field(r.Tournament, "cup");
  CopyCp932Field(r.Opening, "opening");
  r.ResultCode = kResultRepetition;
  r.PlyCount = 2;
  return r;
}

void ExpectReadOutcome(int rc, const GameRecord& record, const std::string& message, int count,
                       const std::string& trace) {
  if (count >= 0) {
    ASSERT_EQ(rc, 0) << trace;
    EXPECT_EQ(RecordMoveCount(record), count) << trace;
  } else {
    EXPECT_EQ(rc, 1) << trace;
    EXPECT_EQ(message, "ファイルに異常があります。") << trace;
    EXPECT_TRUE(SameRecord(record, SentinelRecord())) << trace;
  }
}

}  // namespace shogi::test
