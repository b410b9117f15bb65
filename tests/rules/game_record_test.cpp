// The game record: reset, replay and the result texts.
#include "rules/game_record.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace shogi {
namespace {

TEST(GameRecord, ResetState) {
  GameRecord record;
  ResetGameRecord(record);
  EXPECT_EQ(record.InitialPosition, kInitialPosition);
  EXPECT_EQ(record.StartIndex, 0);
  EXPECT_EQ(RecordMoveCount(record), 0);
  EXPECT_EQ(Utf8(FieldText(record.FirstName)), "人間");
  EXPECT_EQ(Utf8(FieldText(record.SecondName)), "人間");
  EXPECT_EQ(FieldText(record.Tournament), "");
  EXPECT_GE(record.Year, 2024);
  EXPECT_TRUE(record.Month >= 1 && record.Month <= 12);
}

TEST(GameRecord, ReplayAndInstall) {
  GameRecord record;
  ResetGameRecord(record);
  record.MoveList[0] = EncodeMove(59, 50, 0);  // 5七 pawn to 5六
  record.MoveList[1] = EncodeMove(23, 32, 0);  // 5三 pawn to 5四
  Position pos;
  ReplayTo(record, pos, 0);
  EXPECT_EQ(pos, kInitialPosition);
  ReplayTo(record, pos, 2);
  EXPECT_EQ(pos.Board[50], kPawn);
  EXPECT_EQ(pos.Board[32], -kPawn);
  EXPECT_EQ(RecordMoveCount(record), 2);

  // n < 0 makes the given position the record's start.
  pos.Board[1] = 0;
  ReplayTo(record, pos, -1);
  EXPECT_EQ(record.InitialPosition.Board[1], 0);
  EXPECT_EQ(record.InitialPosition.Board[50], kPawn);
}

// A record the second player starts holds its first move at StartIndex 1: the replay begins
// there, with the second player's move, and never plays the move left in slot 0.
TEST(GameRecord, ReplayBeginsAtTheStartIndex) {
  GameRecord record{};
  record.InitialPosition = kInitialPosition;
  record.StartIndex = 1;
  record.MoveList[0] = record.MoveList[2] = EncodeMove(59, 50, 0);  // 5七 pawn to 5六
  record.MoveList[1] = EncodeMove(23, 32, 0);                       // 5三 pawn to 5四
  const struct {
    int ply;
    int on_32, on_50;  // the pieces on 5四 and 5六 after `ply` plies
  } cases[] = {{1, 0, 0}, {2, -kPawn, 0}, {3, -kPawn, kPawn}};
  for (const auto& c : cases) {
    const Position pos = PositionAt(record, c.ply);
    EXPECT_EQ(pos.Board[32], c.on_32) << c.ply;
    EXPECT_EQ(pos.Board[50], c.on_50) << c.ply;
  }
}

TEST(GameRecord, ReplayStopsAtDamagedMoves) {
  GameRecord record;
  ResetGameRecord(record);
  record.MoveList[0] = EncodeMove(59, 50, 0);
  record.MoveList[1] = MoveCode{90, 200};  // squares out of range
  record.MoveList[2] = EncodeMove(50, 41, 0);
  Position pos = PositionAt(record, 3);
  EXPECT_EQ(pos.Board[50], kPawn);  // the replay stopped before the damaged move
  EXPECT_EQ(pos.Board[41], 0);
}

TEST(GameRecord, ResultTexts) {
  struct Case {
    int code, start_index, ply;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, 0, ""},
      {0, 0, 5, "指し掛けです。"},
      {0, 1, 1, "指し掛けです。"},
      {1, 0, 9, "先手勝ちです。"},
      {1, 1, 9, "下手勝ちです。"},
      {2, 0, 9, "後手勝ちです。"},
      {2, 1, 9, "上手勝ちです。"},
      {3, 1, 9, " 千日手です。"},
      {4, 0, 9, " 持将棋です。"},
      {5, 0, 9, "以下先手勝ち。"},
      {5, 1, 9, "以下下手勝ち。"},
      {6, 0, 9, "以下後手勝ち。"},
      {6, 1, 9, "以下上手勝ち。"},
      {7, 0, 9, " 以下千日手。"},
      {8, 1, 9, " 以下持将棋。"},
  };
  for (const Case& c : cases) {
    GameRecord record;
    record.ResultCode = c.code;
    record.StartIndex = c.start_index;
    record.PlyCount = c.ply;
    EXPECT_EQ(ResultText(record), c.text) << c.code << "/" << c.start_index;
  }
  EXPECT_STREQ(ResultMenuText(7), "以下千日手");
  EXPECT_STREQ(ResultMenuText(9), "");
}

}  // namespace
}  // namespace shogi
