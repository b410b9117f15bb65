// Test helpers: records set up from SFEN, moves played in USI notation.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi::testing {

// A record whose initial position is `sfen`, with the side to move's ply as StartIndex.
struct Game {
  GameRecord record;
  Position pos;

  explicit Game(const std::string& sfen) {
    Side side;
    int number;
    std::string message;
    Position start;
    EXPECT_TRUE(ParseSfen(sfen, start, side, number, message)) << sfen << ": " << message;
    ResetGameRecord(record);
    record.InitialPosition = start;
    record.StartIndex = record.PlyCount = side;
    pos = start;
  }

  std::vector<std::string> Legal() const {
    static LegalMoveList list;
    int n = LegalMoves(record, pos, list);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(FormatUsiMove(list.Move(i)));
    return out;
  }

  bool IsLegal(const std::string& usi) const {
    auto moves = Legal();
    return std::find(moves.begin(), moves.end(), usi) != moves.end();
  }

  // Plays USI moves, each of which must be legal.
  void Play(const std::vector<std::string>& moves) {
    for (const std::string& usi : moves) {
      ASSERT_TRUE(IsLegal(usi)) << usi << " at ply " << record.PlyCount;
      MoveCode m;
      ASSERT_TRUE(ParseUsiMove(usi, m));
      ApplyMove(pos, m, SideOfPly(record.PlyCount));
      record.MoveList[record.PlyCount] = m;
      record.MoveList[record.PlyCount + 1] = MoveCode{};
      ++record.PlyCount;
    }
  }
};

}  // namespace shogi::testing
