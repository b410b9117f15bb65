// The computer side of a game: what the game driver asks of the in-process player and of
// the thinking library, and the moments at which it tells them that a game begins or ends.
#pragma once

#include <cstdint>
#include <string>

#include "rules/game_record.h"

namespace shogi {

// Room of each of the three answer lists; only entry 0 is read.
constexpr int kComputerAnswerSize = 1280;

// The three result lists: entry 0 holds the move (origin 1..81 or 100 + type, destination
// 1..81 without the promotion 100, promotion 0/1).
struct ComputerAnswer {
  std::int32_t Origin[kComputerAnswerSize];
  std::int32_t Destination[kComputerAnswerSize];
  std::int32_t Promote[kComputerAnswerSize];
};

// PlayerKinds from here on name the registered outside engines (0, 1, ... of the list).
constexpr int kFirstEnginePlayer = 100;
constexpr bool IsEnginePlayer(int kind) {
  return kind >= kFirstEnginePlayer;
}

// What the mover gets when asked for a move.
struct ThinkRequest {
  int Strength = 0;                    // the mover's PlayerKind: 1..9, or negative for the library
  Position Shown;                      // a copy of the shown position
  Position Initial;                    // the record's initial position (the game's start)
  const MoveCode* MoveList = nullptr;  // the record's MoveList (512 entries, from ply 0)
  int StartIndex = 0;
  int PlyCount = 0;                    // the ply to be played; the side is PlyCount mod 2
  std::int32_t* MoverClock = nullptr;  // the mover's cumulative clock in seconds; the clock
                                       // timer keeps counting it while pumped messages run
};

// The game of a request as the rules see it: start, start index, the moves up to PlyCount
// (the end marker after them) and PlyCount. The request must have passed the range checks
// (StartIndex <= PlyCount < kMaxMoves, a move list).
inline void GameOfRequest(const ThinkRequest& request, GameRecord& record) {
  record.InitialPosition = request.Initial;
  record.StartIndex = request.StartIndex;
  record.PlyCount = request.PlyCount;
  for (int i = 0; i < request.PlyCount; ++i)
    record.MoveList[i] = i >= request.StartIndex ? request.MoveList[i] : MoveCode{};
  record.MoveList[request.PlyCount] = MoveCode{};
}

// Whether a request names a game the rules can replay: a move list, a start index of 0 or 1
// and a ply between it and the end of the record.
inline bool RequestInRange(const ThinkRequest& request) {
  return request.MoveList != nullptr && (request.StartIndex == 0 || request.StartIndex == 1) &&
         request.PlyCount >= request.StartIndex && request.PlyCount < kMaxMoves;
}

// A computer side. The driver holds one for positive PlayerKinds (the in-process player)
// and one for negative kinds (the thinking library) and calls:
//   PrepareGame     in computer mode at the start of a game, before the end checks;
//   BeginGame       on the library, when a game in which a side is the library starts:
//                   after the clock has started, before the first computer move (sikou_ini);
//   EnableMessagePump  on the in-process player each time computer turns begin;
//   Think           each time a side of this kind is to move;
//   EndGame         on the library, whenever a game with a library side ends through the
//                   driver: after a computer move ended it, on a computer resignation, on
//                   対局中断 and 投了, after a stop request, when the program closes during
//                   thinking (sikou_end); not when a person's move ends it;
//   ReleaseMemory   on the in-process player when the program closes during a search.
class ComputerPlayer {
 public:
  virtual ~ComputerPlayer() = default;

  virtual void PrepareGame(int start_index) { (void)start_index; }
  virtual void BeginGame(int* abort_flag) { (void)abort_flag; }
  virtual void EnableMessagePump() {}
  // Blocks until a move is chosen; returns the number of moves offered (> 0: entry 0 of
  // `answer` is the move), 0 or less to resign. A search may pump messages, during which
  // AbortFlag can change; the driver reads it after the call.
  virtual int Think(const ThinkRequest& request, ComputerAnswer& answer) = 0;
  // Why the last Think could not answer, when the side failed rather than resigned (an
  // outside engine that ended or broke the rules); "" otherwise. Taking it clears it. The
  // driver then suspends the game and shows it.
  virtual std::string TakeFailure() { return {}; }
  virtual void EndGame() {}
  virtual void ReleaseMemory() {}
  // Whether the conditions dialog offers this player (the library: at least one export
  // was bound).
  virtual bool Offered() const { return true; }
};

}  // namespace shogi
