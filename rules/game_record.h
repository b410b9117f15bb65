// The one game the program holds: initial position, moves, times, header and result.
#pragma once

#include <cstdint>
#include <string>

#include "rules/position.h"

namespace shogi {

constexpr int kMaxMoves = 512;      // entries of the move arrays (room for the end marker)
constexpr int kGamePlyLimit = 256;  // a game being played ends at this ply
constexpr int kNameFieldSize = 28;  // names, tournament, opening: 27 bytes and a terminator
constexpr int kCommentFieldSize = 34;

// ResultCode: 0 none or suspended, 1 first player won, 2 second player won, 3 repetition,
// 4 impasse, 5..8 the same four with the record cut off before the end (以下...).
enum ResultCode : int {
  kResultNone = 0,
  kResultFirstWins = 1,
  kResultSecondWins = 2,
  kResultRepetition = 3,
  kResultImpasse = 4,
  kResultFirstWinsLater = 5,
  kResultSecondWinsLater = 6,
  kResultRepetitionLater = 7,
  kResultImpasseLater = 8,
};
constexpr int kResultCodeCount = 9;

// PlayerKind: 0 a person, 1..9 the in-process computer at that strength, negative the
// thinking library.
constexpr int kPersonPlayer = 0;
constexpr int kLibraryPlayer = -1;
constexpr bool IsComputerPlayer(int kind) {
  return kind != kPersonPlayer;
}
constexpr bool IsLibraryPlayer(int kind) {
  return kind < 0;
}

// Header texts are cp932 byte strings in NUL-terminated fixed fields.
struct GameRecord {
  Position InitialPosition;
  int StartIndex = 0;  // 0 when the first player moves first, 1 when the second does
  int PlyCount = 0;    // ply of the shown position
  MoveCode MoveList[kMaxMoves] = {};
  // Entry i: cumulative clock (seconds) of the player of move i right after it; at a game's
  // end the entry at the final PlyCount holds the clock of the player to move.
  std::int32_t MoveTimes[kMaxMoves] = {};
  std::int32_t Clocks[2] = {0, 0};  // cumulative time of each side at the shown position
  int ResultCode = kResultNone;
  char FirstName[kNameFieldSize] = {};
  char SecondName[kNameFieldSize] = {};
  char Tournament[kNameFieldSize] = {};
  int GameNumber = 0;  // 0 none, else 1..9
  int Year = 0, Month = 0, Day = 0;
  char Opening[kNameFieldSize] = {};
  char Comment[kCommentFieldSize] = {};
  bool BoardFlipped = false;
  int PlayerKind[2] = {kPersonPlayer, kPersonPlayer};
};

// The state at start-up: the standard position, no moves, both names "人間", today's date
// (UTC+9) and empty texts.
void ResetGameRecord(GameRecord& record);

// The number of moves stored from StartIndex up to the end marker (or the array's end).
int RecordMoveCount(const GameRecord& record);

// The ply of the end marker: StartIndex + RecordMoveCount.
inline int RecordEndPly(const GameRecord& record) {
  return record.StartIndex + RecordMoveCount(record);
}

// Whether a move of the record follows the shown position (PlyCount).
bool MoveFollows(const GameRecord& record);

// n >= 0: `pos` = the initial position with plies StartIndex..n-1 applied (no legality
// check; the replay stops early at an end marker or a move whose squares are out of range,
// so that a damaged record cannot write outside the position).
// n < 0: the record's initial position becomes `pos` (a set-up position becomes the start).
void ReplayTo(GameRecord& record, Position& pos, int n);
// The position after n plies, as ReplayTo with n >= 0 builds it.
Position PositionAt(const GameRecord& record, int n);

// Whether a move code names squares and pieces inside their ranges (1..81, drops 101..107).
// Inline: replays of whole databases test every move.
constexpr bool IsWellFormedMove(MoveCode m) {
  if (!IsSquare(DestinationOf(m))) return false;
  if (IsDrop(m)) return m.from <= DropOrigin(kRook) && !IsPromotion(m);
  return IsSquare(m.from);
}

// Today's date at UTC+9 (the clock plus 32 400 seconds, split as universal time).
void TodayInJapan(int& year, int& month, int& day);

// The text shown when the last move of the record is reached (UTF-8), e.g. "先手勝ちです。",
// "下手勝ちです。" when StartIndex is 1; result 0 gives "指し掛けです。" unless PlyCount is 0.
std::string ResultText(const GameRecord& record);

// The menu item text of each result code (勝敗結果 sub-menu), UTF-8.
const char* ResultMenuText(int result_code);

}  // namespace shogi
