// Positions, records and games built from SFEN and USI moves.
#include "tests/support/game_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace shogi::test {
SfenPosition FromSfen(std::string_view sfen) {
  SfenPosition out;
  int number;
  std::string message;
  EXPECT_EQ(ParseSfen(sfen, out.pos, out.side, number, message), 0) << sfen << ": " << message;
  return out;
}

const char* HandicapSfen(Handicap h) {
  static const char* const kSfen[kHandicapCount] = {
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",  // 平手
      "lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",  // 香落ち
      "lnsgkgsnl/1r7/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",    // 角落ち
      "lnsgkgsnl/7b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",    // 飛落ち
      "lnsgkgsn1/7b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",    // 飛香落ち
      "lnsgkgsnl/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",      // 二枚落ち
      "1nsgkgsn1/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",      // 四枚落ち
      "2sgkgs2/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",        // 六枚落ち
      "3gkg3/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",          // 八枚落ち
      "4k4/9/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",            // 十枚落ち
      "4k4/9/9/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w 3p 1",                   // 歩３
      "4k4/9/9/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1",                    // 裸玉
  };
  return kSfen[static_cast<int>(h)];
}

std::vector<std::string> SplitUsi(std::string_view usi) {
  std::istringstream in{std::string(usi)};
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

MoveCode UsiMove(std::string_view usi) {
  MoveCode m;
  if (!ParseUsiMove(usi, m)) {
    ADD_FAILURE() << "malformed USI move: " << usi;
    return MoveCode{};
  }
  return m;
}

GameRecord RecordAt(const Position& pos, Side side) {
  GameRecord r;
  ResetGameRecord(r);
  r.InitialPosition = pos;
  r.StartIndex = r.PlyCount = side;
  return r;
}

GameRecord MakeRecord(std::string_view sfen, std::string_view usi, const std::vector<int>& times) {
  const SfenPosition start = FromSfen(sfen);
  GameRecord r = RecordAt(start.pos, start.side);
  int ply = r.StartIndex;
  for (const std::string& word : SplitUsi(usi)) r.MoveList[ply++] = UsiMove(word);
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

Game::Game(std::string_view sfen) {
  const SfenPosition start = FromSfen(sfen);
  record = RecordAt(start.pos, start.side);
  pos = start.pos;
}

std::vector<MoveCode> Game::LegalMoves() const {
  static LegalMoveList list;
  const int n = shogi::LegalMoves(record, pos, list);
  std::vector<MoveCode> out;
  for (int i = 0; i < n; ++i) out.push_back(list.Move(i));
  return out;
}

std::vector<std::string> Game::Legal() const {
  std::vector<std::string> out;
  for (MoveCode m : LegalMoves()) out.push_back(FormatUsiMove(m));
  return out;
}

bool Game::IsLegal(MoveCode move) const {
  const std::vector<MoveCode> moves = LegalMoves();
  return std::find(moves.begin(), moves.end(), move) != moves.end();
}

bool Game::IsLegal(std::string_view usi) const {
  MoveCode m;
  return ParseUsiMove(usi, m) && IsLegal(m);
}

bool Game::TryMove(MoveCode move) {
  if (record.PlyCount + 1 >= kMaxMoves || !IsLegal(move)) return false;
  ApplyMove(pos, move, ToMove());
  record.MoveList[record.PlyCount] = move;
  record.MoveList[record.PlyCount + 1] = MoveCode{};
  ++record.PlyCount;
  return true;
}

bool Game::Play(std::string_view usi) {
  for (const std::string& word : SplitUsi(usi)) {
    MoveCode m;
    if (!ParseUsiMove(word, m) || !TryMove(m)) {
      ADD_FAILURE() << word << " cannot be played at ply " << record.PlyCount << " of "
                    << ToSfen(record.InitialPosition, SideOfPly(record.StartIndex)) << " "
                    << UsiMoves(record) << " (position " << ToSfen(pos, ToMove()) << ")";
      return false;
    }
  }
  return true;
}

}  // namespace shogi::test
