// The start positions of a game: the even game and the eleven handicaps, with the number
// each one has in the set-up menu, the conditions dialog, the KIF 手合割 line and the
// Kisen, Tarvel and Kaya files.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "rules/position.h"

namespace shogi {

// In the order of the set-up menu.
enum class Handicap : int {
  kEven,         // 平手
  kLance,        // 香落ち
  kBishop,       // 角落ち
  kRook,         // 飛落ち
  kRookLance,    // 飛香落ち
  kTwoPieces,    // 二枚落ち
  kFourPieces,   // 四枚落ち
  kSixPieces,    // 六枚落ち
  kEightPieces,  // 八枚落ち
  kTenPieces,    // 十枚落ち
  kThreePawns,   // 歩３
  kBareKing,     // 裸玉
};
constexpr int kHandicapCount = 12;

// The numbering schemes a start position is known by.
enum class HandicapScheme : int {
  kDialog,  // the conditions dialog's list, 1..10 (0 there keeps the current position)
  kKif,     // the KIF 手合割 index, 0..7 (8, a diagram, stands for every other position)
  kKisen,   // a Kisen game's code, 0..7
  kTarvel,  // a Tarvel game's code, 0..10
  kKaya,    // a Kaya record's "I:" code, 1..9 (the even game has none)
};
constexpr int kHandicapSchemeCount = 5;
constexpr int kNoHandicapNumber = -1;

// A set of squares 1..27 (the second player's three ranks) as bits 0..26.
constexpr std::uint32_t SquareSet(std::initializer_list<int> squares) {
  std::uint32_t set = 0;
  for (int s : squares) set |= 1u << (s - 1);
  return set;
}

struct HandicapRow {
  Handicap Id;
  const char* MenuName;              // the set-up menu and the conditions dialog (UTF-8)
  const char* RecordName;            // KIF 手合割 and the database listings; nullptr where none
  std::uint32_t Emptied;             // the second player's squares cleared from the even position
  int SecondHandPawns;               // pawns put into the second player's hand
  int Number[kHandicapSchemeCount];  // by HandicapScheme; kNoHandicapNumber where none
};

inline constexpr std::uint32_t kTenPiecesEmptied = SquareSet({1, 2, 3, 4, 6, 7, 8, 9, 11, 17});
inline constexpr std::uint32_t kBareKingEmptied =
    kTenPiecesEmptied | SquareSet({19, 20, 21, 22, 23, 24, 25, 26, 27});

//                                                             dialog KIF Kisen Tarvel Kaya
inline constexpr HandicapRow kHandicaps[kHandicapCount] = {
    {Handicap::kEven, "平手", "平手", 0, 0, {1, 0, 0, 0, -1}},
    {Handicap::kLance, "香落ち", "香落ち", SquareSet({1}), 0, {2, 1, 1, 1, 1}},
    {Handicap::kBishop, "角落ち", "角落ち", SquareSet({11}), 0, {3, 2, 2, 2, 2}},
    {Handicap::kRook, "飛落ち", "飛車落ち", SquareSet({17}), 0, {4, 3, 3, 3, 3}},
    {Handicap::kRookLance, "飛香落ち", "飛香落ち", SquareSet({17, 1}), 0, {5, 4, 4, 4, 4}},
    {Handicap::kTwoPieces, "二枚落ち", "二枚落ち", SquareSet({11, 17}), 0, {6, 5, 5, 5, 5}},
    {Handicap::kFourPieces, "四枚落ち", "四枚落ち", SquareSet({11, 17, 1, 9}), 0, {7, 6, 6, 6, 6}},
    {Handicap::kSixPieces,
     "六枚落ち",
     "六枚落ち",
     SquareSet({11, 17, 1, 9, 2, 8}),
     0,
     {8, 7, 7, 7, 7}},
    {Handicap::kEightPieces,
     "八枚落ち",
     "八枚落ち",
     SquareSet({11, 17, 1, 9, 2, 8, 3, 7}),
     0,
     {9, -1, -1, 8, 8}},
    {Handicap::kTenPieces, "十枚落ち", "十枚落ち", kTenPiecesEmptied, 0, {10, -1, -1, 9, 9}},
    {Handicap::kThreePawns, "歩３", nullptr, kBareKingEmptied, 3, {-1, -1, -1, -1, -1}},
    {Handicap::kBareKing, "裸玉", "裸玉", kBareKingEmptied, 0, {-1, -1, -1, 10, -1}},
};

constexpr const HandicapRow& HandicapRowOf(Handicap h) {
  return kHandicaps[static_cast<int>(h)];
}

// The number of `h` in `scheme`, kNoHandicapNumber where the scheme does not have it.
constexpr int HandicapNumber(Handicap h, HandicapScheme scheme) {
  return HandicapRowOf(h).Number[static_cast<int>(scheme)];
}

// The start position that has `number` in `scheme`; nothing for a number the scheme lacks.
[[nodiscard]] std::optional<Handicap> HandicapOfNumber(HandicapScheme scheme, int number);

// The position of `h`: the even position with the emptied squares cleared and the pawns in
// the second player's hand. Every handicap leaves the second player's king on 5一.
Position HandicapPosition(Handicap h);

// The ply a game from `h` starts at: 0 for the even game, 1 for a handicap (the handicap
// giver, the second player, moves first).
constexpr int HandicapStartIndex(Handicap h) {
  return h == Handicap::kEven ? 0 : 1;
}

// Which start position of `scheme` a record's initial position is, compared in all 100
// bytes: with StartIndex 0 only the even game is tried, with 1 every handicap the scheme
// numbers, in its order. Nothing when none matches.
[[nodiscard]] std::optional<Handicap> MatchHandicap(const Position& pos, int start_index,
                                                    HandicapScheme scheme);

}  // namespace shogi
