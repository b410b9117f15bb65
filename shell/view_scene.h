// What the board view shows, as plain data: the drawn squares, both hands, the piece box and
// every text line. Comparing the scene on screen with the next one tells which squares,
// slots and lines a change repaints.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/program_state.h"
#include "shell/view_layout.h"

namespace shogi {

// The colour under a drawn square.
enum CellTint : std::uint8_t {
  kTintNone = 0,
  kTintLastOrigin,       // where the last move came from (lighter)
  kTintLastDestination,  // where the last move went
  kTintPicked,           // the piece selected by a click stands here
  kTintDestination,      // a legal destination of the picked piece
};

struct ViewScene {
  std::int8_t Cells[82] = {};    // the code drawn on each drawn square (flip applied)
  std::uint8_t Tints[82] = {};   // CellTint of each drawn square
  std::int8_t Hands[2][8] = {};  // [ScreenHand][type]: counts
  bool SetUp = false;            // the piece box takes the move list's place
  std::int8_t Box[kPieceBoxSlots] = {};
  bool Counts = false;  // numerals beside the kinds held twice or more; the box labelled
  // The slot of a piece selected by a click in a hand (its type, 0 none) or in the box (its
  // index, -1 none): its top piece is framed.
  std::int8_t PickedHand[2] = {};
  std::int8_t PickedBox = -1;
  std::array<std::string, kInfoLineCount> Info;  // names, clocks, counter, last move
  std::array<std::string, 2> Message;
  std::array<std::string, kMoveListLines> Moves;
  // The 疑問手 / 悪手 mark of each line's move (MoveMark), from the record's scores.
  std::array<std::uint8_t, kMoveListLines> Marks{};
};

// The information panel's lines.
enum InfoLine : int {
  kInfoFirstName = 0,
  kInfoFirstClock = 1,
  kInfoSecondName = 2,
  kInfoSecondClock = 3,
  kInfoCounter = 4,
  kInfoLastMove = 5,
};

// The scene of `state`; `next_moves` lists the next ten moves instead of the last ten
// (right after a record was loaded). The display options add the tints, the counts and,
// where the message area is empty, whose turn it is in a game of two persons or the
// result at the end of a record.
ViewScene BuildScene(const ProgramState& state, bool next_moves);

// One thing to repaint.
enum class SceneItem : int {
  kCell,       // Index: drawn square 1..81
  kHandSlot,   // Hand: ScreenHand, Index: type 1..7
  kBoxSlot,    // Index: 0..7
  kInfoLine,   // Index: InfoLine
  kMessage,    // the whole message area
  kMoveLine,   // Index: 0..9
  kMovePanel,  // the whole move-list / piece-box panel (the set-up mode changed)
};
struct SceneChange {
  SceneItem Item;
  int Index = 0;
  int Hand = 0;
  Rect Area;  // the pixels it repaints
};

// What differs between `shown` (null: nothing is on screen yet, everything differs) and
// `next`, in drawing order. When the panel mode changes, the panel comes as one change
// followed by each of its slots or lines that has content.
std::vector<SceneChange> SceneChanges(const ViewScene* shown, const ViewScene& next);

}  // namespace shogi
