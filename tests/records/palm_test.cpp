// The Palm file: the header of a new file against the bytes written out by hand, the kept
// header and trailer of an existing file, the Tarvel cut, and the refusals.
#include "records/palm.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"
#include "rules/handicap.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::Cp;
using test::FileBytes;
using test::MakeRecord;

// The 96 header bytes of a new file, from the layout.
std::string NewHeaderBytes() {
  std::string h = std::string("KaelmoDB") + '\0' + std::string(23, 'Y');
  h += std::string("\x00\x80\x00\x00", 4);          // attributes, version
  h += "\xB9\x98\x26\x75\xB9\x98\x26\x75";          // creation, modification dates
  h += std::string("\x00\x00\x00\x00", 4);          // last backup
  h += std::string("\x00\x00\x00\x04", 4);          // modification number
  h += std::string(8, '\0');                        // application and sort information
  h += "DATAQZRVYYYY";                              // type, creator, unique-ID seed
  h += std::string("\x00\x00\x00\x00\x00\x01", 6);  // next record list, one record
  h += std::string("\x00\x00\x00\x58\x40\x88\xB0\x01\x00\x00", 10);
  h += std::string("DBLK\x00\x00\x02\x3C", 8);
  return h;
}

GameRecord Game(const char* sfen = "startpos", const char* moves = "7g7f 3c3d 2g2f") {
  GameRecord r = MakeRecord(sfen, moves);
  CopyCp932Field(r.FirstName, Cp("先手の長い名前です"));  // 18 bytes: cut to 12
  CopyCp932Field(r.SecondName, Cp("後手"));
  r.Year = 2026, r.Month = 12, r.Day = 8;
  r.GameNumber = 3;
  r.ResultCode = kResultFirstWins;
  return r;
}

class PalmFileTest : public ::testing::Test {
 protected:
  void TearDown() override { SetReplaceFaultHook(nullptr); }
  test::TempFolder dir_;
  DatabaseNames names_;
  std::string path_ = dir_.Path() + "KaelmoDB.PDB";
};

TEST_F(PalmFileTest, ANewFileHasTheHeaderOfTheTableAndReadsBack) {
  std::string message;
  ASSERT_EQ(WritePalm(path_, names_, Game(), message), 0);
  EXPECT_EQ(message,
            "新規に書き込みました。\nPALM上で内部パラメータが初期に戻りますので注意してください。");
  const std::string bytes = FileBytes(path_);
  ASSERT_EQ(bytes.size(), 752u);
  EXPECT_EQ(bytes.substr(0, 96), NewHeaderBytes());
  EXPECT_EQ(bytes.substr(648, 28), std::string("/palm/programs/kifu") + std::string(9, '\0'));
  EXPECT_EQ(bytes.substr(676, 12), std::string("CLIE") + std::string(8, '\0'));
  // The Tarvel block: 7g7f is destination 7六 (52), then origin 7七 (61).
  EXPECT_EQ(bytes.substr(96, 2), "\x34\x3D");

  GameRecord read = test::SentinelRecord();
  ASSERT_EQ(ReadPalm(path_, names_, read, message), 0) << message;
  EXPECT_EQ(test::UsiMoves(read), "7g7f 3c3d 2g2f");
  EXPECT_EQ(Utf8(FieldText(read.FirstName)), "先手の長い名");
  EXPECT_EQ(Utf8(FieldText(read.SecondName)), "後手");
  EXPECT_EQ(read.GameNumber, 3);
  EXPECT_EQ(read.Year * 10000 + read.Month * 100 + read.Day, 20261208);
  EXPECT_EQ(read.ResultCode, kResultFirstWins);
  EXPECT_EQ(read.MoveTimes[0], 0);
}

TEST_F(PalmFileTest, AnExistingFileKeepsItsHeaderAndTrailer) {
  std::string message;
  ASSERT_EQ(WritePalm(path_, names_, Game(), message), 0);
  // The handheld changed the header and the device parameters.
  std::string bytes = FileBytes(path_);
  bytes[51] = 9;
  bytes[700] = 'Z';
  ASSERT_EQ(WriteRecordFile(path_, bytes, message), 0);
  const GameRecord handicap = Game(test::HandicapSfen(Handicap::kRook), "3c3d 7g7f");
  ASSERT_EQ(WritePalm(path_, names_, handicap, message), 0);
  EXPECT_EQ(message, "正常に書き込みました。");
  const std::string again = FileBytes(path_);
  ASSERT_EQ(again.size(), 752u);
  EXPECT_EQ(again.substr(0, 96), bytes.substr(0, 96));
  EXPECT_EQ(again.substr(648), bytes.substr(648));
  GameRecord read;
  ResetGameRecord(read);
  ASSERT_EQ(ReadPalm(path_, names_, read, message), 0);
  EXPECT_EQ(read.StartIndex, 1);
  EXPECT_TRUE(read.InitialPosition == HandicapPosition(Handicap::kRook));
  EXPECT_EQ(test::UsiMoves(read), "3c3d 7g7f");
}

// The file is known by its creator: a longer one is read, and written with what follows
// its 752 bytes kept; a handicap code that names no start position is refused.
TEST_F(PalmFileTest, ALongerFileIsReadAndAnUnknownHandicapRefused) {
  std::string message;
  ASSERT_EQ(WritePalm(path_, names_, Game(), message), 0);
  const std::string bytes = FileBytes(path_) + "tail";
  ASSERT_EQ(WriteRecordFile(path_, bytes, message), 0);
  GameRecord read = test::SentinelRecord();
  ASSERT_EQ(ReadPalm(path_, names_, read, message), 0) << message;
  EXPECT_EQ(test::UsiMoves(read), "7g7f 3c3d 2g2f");
  ASSERT_EQ(WritePalm(path_, names_, Game("startpos", "2g2f"), message), 0);
  EXPECT_EQ(FileBytes(path_).substr(752), "tail");

  std::string unknown = bytes;
  unknown[96] = '\xFF';
  unknown[97] = 99;
  ASSERT_EQ(WriteRecordFile(path_, unknown, message), 0);
  read = test::SentinelRecord();
  EXPECT_EQ(ReadPalm(path_, names_, read, message), 1);
  EXPECT_EQ(message, "ファイル形式が異なります。");
  EXPECT_TRUE(SameRecord(read, test::SentinelRecord()));
}

TEST_F(PalmFileTest, ALongGameIsCutAsTheTarvelWriterCutsIt) {
  std::string moves;
  for (int i = 0; i < 75; ++i) moves += "2h3h 8b7b 3h2h 7b8b ";
  moves.pop_back();
  std::string message;
  ASSERT_EQ(WritePalm(path_, names_, Game("startpos", moves.c_str()), message), 0);
  GameRecord read;
  ResetGameRecord(read);
  ASSERT_EQ(ReadPalm(path_, names_, read, message), 0);
  EXPECT_EQ(RecordMoveCount(read), 256);
  EXPECT_EQ(read.ResultCode, kResultFirstWinsLater);  // the record stops before the end
}

TEST_F(PalmFileTest, RefusalsLeaveFilesAlone) {
  std::string message;
  // A start position that has no Tarvel code.
  EXPECT_EQ(WritePalm(path_, names_, Game("4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5b"), message), 1);
  EXPECT_EQ(message, "セーブ対象の棋譜ではありません。");
  EXPECT_FALSE(std::filesystem::exists(path_));
  // A file that is not a Palm game file is not overwritten, nor read.
  const std::string other = dir_.Path() + "other.PDB";
  ASSERT_EQ(WriteRecordFile(other, std::string(752, 'x'), message), 0);
  EXPECT_EQ(WritePalm(other, names_, Game(), message), 1);
  EXPECT_EQ(message, "ファイル形式が異なります。");
  EXPECT_EQ(FileBytes(other), std::string(752, 'x'));
  GameRecord r = test::SentinelRecord();
  EXPECT_EQ(ReadPalm(other, names_, r, message), 1);
  EXPECT_EQ(message, "ファイル形式が異なります。");
  ASSERT_EQ(WritePalm(path_, names_, Game(), message), 0);
  ASSERT_EQ(WriteRecordFile(other, FileBytes(path_).substr(0, 700), message), 0);
  EXPECT_EQ(ReadPalm(other, names_, r, message), 1);  // cut short
  EXPECT_EQ(ReadPalm(dir_.Path() + "none.PDB", names_, r, message), 1);
  EXPECT_EQ(message, "ファイルが開けません。");
  EXPECT_TRUE(SameRecord(r, test::SentinelRecord()));
  // The new file cannot take the old one's place.
  const std::string before = FileBytes(path_);
  SetReplaceFaultHook([](ReplaceStep step) { return step != ReplaceStep::kRename; });
  EXPECT_EQ(WritePalm(path_, names_, Game("startpos", "2g2f"), message), 1);
  EXPECT_EQ(message, path_ + "が作成出来ません。");
  EXPECT_EQ(FileBytes(path_), before);
}

}  // namespace
}  // namespace shogi
