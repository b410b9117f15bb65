// Helpers of the record-format tests.
#include "tests/records/record_test_util.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

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

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string TestData(const std::string& relative) {
  std::string bytes = FileBytes(std::string(SHOGI_TEST_DATA) + "/" + relative);
  EXPECT_FALSE(bytes.empty()) << relative;
  return bytes;
}

GameRecord MakeRecord(std::string_view sfen, std::string_view usi, const std::vector<int>& times) {
  GameRecord r;
  ResetGameRecord(r);
  Position pos;
  Side side;
  int number;
  std::string message;
  EXPECT_TRUE(ParseSfen(sfen, pos, side, number, message)) << sfen << ": " << message;
  r.InitialPosition = pos;
  r.StartIndex = r.PlyCount = side;
  std::istringstream words{std::string(usi)};
  std::string word;
  int i = r.StartIndex;
  while (words >> word) {
    MoveCode m;
    EXPECT_TRUE(ParseUsiMove(word, m)) << word;
    r.MoveList[i++] = m;
  }
  for (std::size_t k = 0; k < times.size(); ++k) r.MoveTimes[r.StartIndex + k] = times[k];
  return r;
}

std::string UsiMoves(const GameRecord& record) {
  std::string out;
  for (int i = record.StartIndex; i < RecordEndPly(record); ++i) {
    if (!out.empty()) out += ' ';
    out += FormatUsiMove(record.MoveList[i]);
  }
  return out;
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

bool SameRecord(const GameRecord& a, const GameRecord& b) {
  return a.InitialPosition == b.InitialPosition && a.StartIndex == b.StartIndex &&
         a.PlyCount == b.PlyCount &&
         std::equal(std::begin(a.MoveList), std::end(a.MoveList), std::begin(b.MoveList)) &&
         std::equal(std::begin(a.MoveTimes), std::end(a.MoveTimes), std::begin(b.MoveTimes)) &&
         a.Clocks[0] == b.Clocks[0] && a.Clocks[1] == b.Clocks[1] && a.ResultCode == b.ResultCode &&
         FieldText(a.FirstName) == FieldText(b.FirstName) &&
         FieldText(a.SecondName) == FieldText(b.SecondName) &&
         FieldText(a.Tournament) == FieldText(b.Tournament) && a.GameNumber == b.GameNumber &&
         a.Year == b.Year && a.Month == b.Month && a.Day == b.Day &&
         FieldText(a.Opening) == FieldText(b.Opening) &&
         FieldText(a.Comment) == FieldText(b.Comment) && a.BoardFlipped == b.BoardFlipped &&
         a.PlayerKind[0] == b.PlayerKind[0] && a.PlayerKind[1] == b.PlayerKind[1];
}

std::string TempDir() {
  std::string pattern = ::testing::TempDir() + "records_XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const char* dir = mkdtemp(buffer.data());
  EXPECT_NE(dir, nullptr);
  return dir != nullptr ? std::string(dir) + "/" : std::string("./");
}

}  // namespace shogi::test
