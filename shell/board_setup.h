// Board set-up and handicaps: the start-position presets, handicap detection, the piece
// box, the 盤面設定 commands and the set-up editing done with the mouse.
#pragma once

#include "shell/program_state.h"
#include "shell/view_update.h"

namespace shogi {

// Start positions. 0..10 are the entries of the conditions dialog's list; the last two exist
// only as menu items. 1..12 follow the order of the handicap table (rules/handicap.h).
enum StartPreset : int {
  kPresetCurrent = 0,      // "現在の局面": keep the current position
  kPresetEven = 1,         // "平手"
  kPresetLance = 2,        // "香落ち"
  kPresetBishop = 3,       // "角落ち"
  kPresetRook = 4,         // "飛落ち"
  kPresetRookLance = 5,    // "飛香落ち"
  kPresetTwoPieces = 6,    // "二枚落ち"
  kPresetFourPieces = 7,   // "四枚落ち"
  kPresetSixPieces = 8,    // "六枚落ち"
  kPresetEightPieces = 9,  // "八枚落ち"
  kPresetTenPieces = 10,   // "十枚落ち"
  kPresetThreePawns = 11,  // "歩３"
  kPresetBareKing = 12,    // "裸玉"
};
constexpr int kPresetCount = 13;
constexpr int kLastDialogPreset = kPresetTenPieces;
constexpr bool IsPreset(int preset) {
  return preset >= kPresetEven && preset < kPresetCount;
}

// The menu / list text of a preset ("現在の局面" for 0), UTF-8; "" out of range.
const char* StartPresetName(int preset);

// The position of preset 1..12 and the ply its record starts at (0 for 平手, else 1: the
// handicap giver, the second player, moves first).
void MakePresetPosition(int preset, Position& pos, int& start_index);

// Which preset the shown position is, given PlyCount = StartIndex: 1 for the standard
// position at ply 0, 2..10 for a handicap at ply 1, else 0 (現在の局面).
int DetectHandicap(const GameRecord& record, const Position& shown);

// The pieces that are neither on the board nor in a hand: slot 0 the kings (2), slot t the
// pieces of type t (18 pawns, 4 lances, knights, silvers and golds, 2 bishops and rooks),
// promoted pieces counted as their base type. Never below 0.
void ComputePieceBox(const Position& pos, int box[kPieceBoxSlots]);

// Gives the record the preset as its initial position: StartIndex = PlyCount = its start
// ply, no moves, clocks 0, result 0; the shown position follows.
void SetRecordToPreset(ProgramState& state, int preset);

// --- the 盤面設定 commands (each refuses quietly where its menu item is disabled) ---

// One of the twelve presets (1..12); idle or in set-up; leaves the state idle.
ViewUpdate LoadPreset(ProgramState& state, int preset);
// "先手番": switches the side that moves first; idle or in set-up.
ViewUpdate ToggleFirstToMove(ProgramState& state);
// "詰設定": a mate problem: the second player's king on 5一, every other piece in the second
// player's hand, no first-player king; enters set-up.
ViewUpdate StartMateSetUp(ProgramState& state);
// "自由設定": set-up with the current position.
ViewUpdate StartFreeSetUp(ProgramState& state);
// "設定終了": finds the kings and, if nothing was played from the edited position, makes it
// the record's initial position; back to idle.
ViewUpdate EndSetUp(ProgramState& state);
// "反転局面": the board turned round with the colours exchanged, the other side to move and
// the names exchanged; idle or in set-up.
ViewUpdate MirrorPosition(ProgramState& state);

// --- set-up editing with the mouse (state set-up) ---

// Left button down: takes one piece from a hand, a square or the box.
ViewUpdate SetUpPickUp(ProgramState& state, BoardSpot spot);
// Left button up: puts the held piece on an empty square, into a hand (not a king) or into
// the box; anywhere else it goes back where it came from.
ViewUpdate SetUpPutDown(ProgramState& state, BoardSpot spot);
// Right button on a square: t -> promoted -> the other side's t -> its promoted -> t; golds
// and kings only change sides.
ViewUpdate SetUpCyclePiece(ProgramState& state, BoardSpot spot);

// Puts a held piece back where it was taken from (set-up or game); no-op when none is held.
void ReturnHeldPiece(ProgramState& state);

}  // namespace shogi
