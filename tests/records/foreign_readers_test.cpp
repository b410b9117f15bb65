// The readers of other programs' records: a file of each, written from the layouts in the
// readers' files, and the files each reader refuses.
#include <gtest/gtest.h>

#include <vector>

#include "platform/cp932.h"
#include "records/record_format.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::Cp;
using test::Lines;
using test::TestDataPath;

constexpr const char* kEvenGame = "7g7f 3c3d 8h2b+ 3a2b B*4e";

struct FileCase {
  RecordFormat format;
  const char* file;  // below tests/data
  const char* moves;
  int result;
  const char *sente, *gote;  // UTF-8
  std::vector<int> times;    // empty: all 0
  int date = 0;              // YYYYMMDD of a format that carries it
};

// clang-format off
const FileCase kFiles[] = {
    {RecordFormat::kShotest, "shotest/game.log", kEvenGame, kResultFirstWins, "Shotest", "SPEAR", {12, 5, 42, 70, 75}},
    {RecordFormat::kShotest, "shotest/shocky.log", "7g7f 3c3d", kResultSecondWins, "Shocky", "Shocky", {}},
    {RecordFormat::kS1Log, "s1n/game.log", kEvenGame, kResultNone, "相手", "S1.6", {3, 10, 7, 12, 8}},
    {RecordFormat::kS1Log, "s1n/self_play.log", "7g7f 3c3d 8h2b+ 3a2b", kResultNone, "S1.7", "S1.7", {}},
    {RecordFormat::kFuku, "fuku/fuku_001.txt", kEvenGame, kResultFirstWins, "福将棋", "", {}},
    {RecordFormat::kKitaihei, "kitaihei/game.txt", kEvenGame, kResultFirstWins, "山田", "棋太平", {}},
    {RecordFormat::kMaruyama, "maruyama/game.txt", kEvenGame, kResultFirstWins, "丸山", "人間", {}},
    {RecordFormat::kNazoteki, "nazoteki/game.txt", kEvenGame, kResultFirstWins, "謎的電棋", "人間", {}},
    {RecordFormat::kOtsuki, "otsuki/game.dat", kEvenGame, kResultFirstWins, "大槻将棋", "", {3, 10, 7, 12, 8}},
    {RecordFormat::kShokidoki, "shokidoki/game.pgn", kEvenGame, kResultFirstWins, "Shokidoki", "GNU Shogi", {}, 19960503},
    {RecordFormat::kHShogi, "hshogi/game.hsg", kEvenGame, kResultFirstWins, "", "Ｈ将棋", {3, 10, 3, 10, 3}},
    {RecordFormat::kAmano, "amano/game.txt", kEvenGame, kResultFirstWins, "天野", "人間", {}},
    {RecordFormat::kAiShogi, "aishogi/game.dat", kEvenGame, kResultFirstWins, "AIPLAYER", "AIPLAYER", {}},
    {RecordFormat::kKanna, "kanna/game.txt", kEvenGame, kResultFirstWins, "", "神無 無段", {}},
    {RecordFormat::kOm1, "om1/game.txt", kEvenGame, kResultFirstWins, "", "ＯＭ－１", {}},
    {RecordFormat::kS1Year1996, "s1-1996/game.txt", kEvenGame, kResultFirstWins, "S1", "", {}},
    {RecordFormat::kSuperShogi, "super/game.txt", kEvenGame, kResultFirstWins, "スーパー将棋", "人間", {}},
    {RecordFormat::kSekita, "sekita/game.kif", kEvenGame, kResultFirstWins, "関田", "関田将棋", {}},
};
// clang-format on

TEST(ForeignReaders, ReadAFileOfEachFormat) {
  for (const FileCase& c : kFiles) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    ASSERT_EQ(ReadRecord(c.format, TestDataPath(c.file), r, message), 0) << c.file << message;
    EXPECT_EQ(r.InitialPosition, kInitialPosition) << c.file;
    EXPECT_EQ(r.StartIndex, 0) << c.file;
    EXPECT_EQ(r.PlyCount, 0) << c.file;
    EXPECT_EQ(test::UsiMoves(r), c.moves) << c.file;
    EXPECT_EQ(r.ResultCode, c.result) << c.file;
    EXPECT_EQ(Utf8(FieldText(r.FirstName)), c.sente) << c.file;
    EXPECT_EQ(Utf8(FieldText(r.SecondName)), c.gote) << c.file;
    for (int i = 0; i < RecordMoveCount(r); ++i)
      EXPECT_EQ(r.MoveTimes[i], c.times.empty() ? 0 : c.times[i]) << c.file << " " << i;
    EXPECT_EQ(FieldText(r.Tournament), "") << c.file;
    if (c.date != 0) {
      EXPECT_EQ(r.Year * 10000 + r.Month * 100 + r.Day, c.date) << c.file;
    }
  }
}

struct RefusedCase {
  RecordFormat format;
  std::string bytes;
  const char* why;
};

TEST(ForeignReaders, RefuseFilesTheyCannotRead) {
  const RefusedCase cases[] = {
      {RecordFormat::kShotest, "", "nothing of the format"},
      {RecordFormat::kShotest, "Black: a\nP7g-7e\n", "not a move of the pawn"},
      {RecordFormat::kShotest, "Black: a\nB7g-7f\n", "no bishop on the origin"},
      {RecordFormat::kS1Log, "hello\n", "nothing of the format"},
      {RecordFormat::kS1Log, "/p (" + std::string(40, ' ') + "77   75\n", "a pawn's two steps"},
      {RecordFormat::kFuku, Lines({"  1: ７六歩"}), "no origin"},
      {RecordFormat::kFuku, Lines({"header"}), "no moves"},
      {RecordFormat::kKitaihei, Lines({"先手：a", "後手：b"}), "no moves"},
      {RecordFormat::kKitaihei, Lines({"▲７五歩"}), "no pawn can go there"},
      {RecordFormat::kMaruyama, Lines({"後手：a", "先手：b"}), "names in the wrong order"},
      {RecordFormat::kMaruyama, Lines({"先手：a", "後手：b", " 1７六歩(78)"}), "empty origin"},
      {RecordFormat::kNazoteki, Lines({"先手:a", "後手:b"}), "no moves"},
      {RecordFormat::kNazoteki, Lines({"   1 : ▲７七歩     "}), "a pawn onto a pawn"},
      {RecordFormat::kOtsuki, std::string(128, '0') + "P+\r-7776FU\r", "gote's sign first"},
      {RecordFormat::kOtsuki, std::string(128, '0') + "+7776FU\r", "no P+ record"},
      {RecordFormat::kShokidoki, Lines({"[Black \"a\"]", "1. P7g-7e"}), "not a pawn's step"},
      {RecordFormat::kShokidoki, "", "nothing of the format"},
      {RecordFormat::kHShogi, Cp("Ｈ将棋") + std::string(122, ' ') + "+7775FU ", "two steps"},
      {RecordFormat::kAmano, Lines({" 手  合  割 ：香落ち", " 手数----", "▲７六歩"}),
       "a handicap game"},
      {RecordFormat::kAmano, Lines({" 先      手 ：a"}), "no moves"},
      {RecordFormat::kAiShogi, std::string(800, ' ') + std::string(14, '\0'), "no marker"},
      {RecordFormat::kAiShogi,
       std::string(126, ' ') + "AI Shogi" + std::string(666, ' ') + std::string("\x73\x53") +
           std::string(12, '\0'),
       "no piece on 7g's neighbour"},
      {RecordFormat::kKanna, std::string(128, ' ') + "  1: ７五歩(77)\r\n", "two steps"},
      {RecordFormat::kKanna, std::string(100, ' '), "shorter than the preamble"},
      {RecordFormat::kOm1, std::string(128, ' ') + Lines({"hello"}), "nothing of the format"},
      {RecordFormat::kS1Year1996, std::string(128, ' ') + Lines({"   1 ７六歩(76)"}),
       "an empty origin"},
      {RecordFormat::kSuperShogi, std::string(128, ' ') + Lines({"  1  ７六金(77)"}),
       "a pawn named a gold"},
      {RecordFormat::kSekita, Lines({"手合割: 平手", "手数----", "    1 ７六歩(77)"}), "no # line"},
      {RecordFormat::kSekita, Lines({"#", "手合割: 香落ち", "手数----", "    1 ７六歩(77)"}),
       "a handicap game"},
  };
  for (const RefusedCase& c : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    MemoryByteStream stream(c.bytes);
    const int rc = RecordFormatRowOf(c.format).ReadStream(stream, r, message);
    test::ExpectReadOutcome(rc, r, message, -1, c.why);
  }
}

TEST(ForeignReaders, AnHShogiFileWithoutItsHeaderIsNamedSo) {
  for (const std::string& bytes :
       {std::string(), std::string(200, ' '), Cp("Ｈ将棋") + std::string(100, ' ')}) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    MemoryByteStream stream(bytes);
    EXPECT_EQ(RecordFormatRowOf(RecordFormat::kHShogi).ReadStream(stream, r, message), 1);
    EXPECT_EQ(message, "Ｈ将棋形式ではありません。");
    EXPECT_TRUE(SameRecord(r, test::SentinelRecord()));
  }
}

// The Ｈ将棋 results, words of CSA cut to the 8-byte record, mean what they mean in CSA.
TEST(ForeignReaders, HShogiResultsAreReadAsCsaReadsThem) {
  const std::pair<const char*, int> cases[] = {
      {"%TORYO  ", kResultFirstWins},  {"%KACHI  ", kResultSecondWins},
      {"%ILLEGAL", kResultFirstWins},  {"%+ILLEGA", kResultSecondWins},
      {"%-ILLEGA", kResultFirstWins},  {"%JISHOGI", kResultImpasse},
      {"%SENNICH", kResultRepetition}, {"%CHUDAN ", kResultNone},
  };
  for (const auto& [end, result] : cases) {
    const std::string bytes = Cp("Ｈ将棋") + std::string(122, ' ') + "+7776FU " + end;
    GameRecord r;
    std::string message;
    MemoryByteStream stream(bytes);
    ASSERT_EQ(RecordFormatRowOf(RecordFormat::kHShogi).ReadStream(stream, r, message), 0) << end;
    EXPECT_EQ(r.ResultCode, result) << end;
  }
}

}  // namespace
}  // namespace shogi
