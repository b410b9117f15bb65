// Moving pieces by two clicks as well as by dragging, the legal destinations of a picked
// piece, and what the display options add to the scene.
#include "shell/board_clicks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <set>

#include "platform/profile.h"
#include "shell/board_setup.h"
#include "shell/command_table.h"
#include "shell/view_scene.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

constexpr BoardSpot SpotAt(int file, int rank) {
  return {BoardArea::kBoard, SquareOf(file, rank)};
}

int TintedCount(const ViewScene& s) {
  return static_cast<int>(std::count_if(std::begin(s.Tints), std::end(s.Tints),
                                        [](std::uint8_t t) { return t != kTintNone; }));
}

class BoardClicksTest : public ShellFixture {
 public:
  using ShellFixture::ctx;
  using ShellFixture::state;
  void Click(BoardSpot spot) {
    PressSpot(ctx, spot);
    ReleaseSpot(ctx, spot);
  }
  void Clicks(std::initializer_list<BoardSpot> spots) {
    for (BoardSpot spot : spots) Click(spot);
  }
  void Drag(BoardSpot from, BoardSpot to) {
    PressSpot(ctx, from);
    ReleaseSpot(ctx, to);
  }
};

TEST_F(BoardClicksTest, ClickClickMovesAndEveryWayOfCancelling) {
  struct Case {
    const char* what;
    void (*act)(BoardClicksTest&);
    const char* moves;
    BoardSpot selected;
  } cases[] = {
      {"a click selects", [](BoardClicksTest& t) { t.Click(SpotAt(7, 7)); }, "", SpotAt(7, 7)},
      {"a second click on the destination moves",
       [](BoardClicksTest& t) {
         t.Clicks({SpotAt(7, 7), SpotAt(7, 6)});
       },
       "7g7f",
       {}},
      {"a second click on the piece cancels",
       [](BoardClicksTest& t) {
         t.Clicks({SpotAt(7, 7), SpotAt(7, 7)});
       },
       "",
       {}},
      {"an illegal destination cancels",
       [](BoardClicksTest& t) {
         t.Clicks({SpotAt(7, 7), SpotAt(5, 5)});
       },
       "",
       {}},
      {"another piece of the side takes over",
       [](BoardClicksTest& t) {
         t.Clicks({SpotAt(7, 7), SpotAt(2, 7), SpotAt(2, 6)});
       },
       "2g2f",
       {}},
      {"a press on another piece starts its drag",
       [](BoardClicksTest& t) {
         t.Click(SpotAt(7, 7));
         t.Drag(SpotAt(2, 7), SpotAt(2, 6));
       },
       "2g2f",
       {}},
      {"a drag still moves",
       [](BoardClicksTest& t) { t.Drag(SpotAt(7, 7), SpotAt(7, 6)); },
       "7g7f",
       {}},
      {"an opponent's piece is not selected",
       [](BoardClicksTest& t) { t.Click(SpotAt(3, 3)); },
       "",
       {}},
      {"the right button drops the selection",
       [](BoardClicksTest& t) {
         t.Click(SpotAt(7, 7));
         EXPECT_TRUE(DropSelection(t.state));
         EXPECT_FALSE(DropSelection(t.state));
         t.Click(SpotAt(7, 6));
       },
       "",
       {}},
      {"a command drops the selection",
       [](BoardClicksTest& t) {
         t.Click(SpotAt(7, 7));
         MemoryProfile profile;
         ProgramSettings settings;
         CommandEnv env{t.ctx, profile, settings};
         RunCommand(env, kCmdFlip);
         t.Click(SpotAt(7, 6));
       },
       "",
       {}},
  };
  for (const Case& c : cases) {
    SetUp();
    StartWith(0, 0, false);
    c.act(*this);
    EXPECT_EQ(Moves(), c.moves) << c.what;
    EXPECT_EQ(state.Selected, c.selected) << c.what;
    EXPECT_FALSE(state.Held.Active) << c.what;
    EXPECT_EQ(state.Shown.Board[SquareOf(7, 7)] != 0, std::string(c.moves) != "7g7f") << c.what;
  }
}

TEST_F(BoardClicksTest, ClicksDropFromTheHandPromoteAndEditTheSetUp) {
  // A pawn in hand, clicked and then its square.
  LoadSfen("4k4/9/9/9/9/9/9/9/4K4 b P 1");
  StartWith(0, 0, false);
  Click({BoardArea::kFirstHand, kPawn});
  EXPECT_EQ(state.Selected, (BoardSpot{BoardArea::kFirstHand, kPawn}));
  EXPECT_EQ(state.Shown.Hand[kFirst][kPawn], 1);  // drawn in the hand while selected
  const ViewScene selected = BuildScene(state, false);
  EXPECT_EQ(selected.PickedHand[kLowerHand], kPawn);  // and framed there
  state.Record.BoardFlipped = true;
  EXPECT_EQ(BuildScene(state, false).PickedHand[kUpperHand], kPawn);
  state.Record.BoardFlipped = false;
  Click(SpotAt(5, 5));
  EXPECT_EQ(Moves(), "P*5e");
  bool slot_repainted = false;
  for (const SceneChange& c : SceneChanges(&selected, BuildScene(state, false))) {
    slot_repainted |= c.Item == SceneItem::kHandSlot && c.Index == kPawn && c.Hand == kLowerHand;
  }
  EXPECT_TRUE(slot_repainted);

  // A move that may promote opens the choice.
  SetUp();
  LoadSfen("4k4/9/9/9/9/9/4S4/9/4K4 b - 1");
  StartWith(0, 0, false);
  Click(SpotAt(5, 7));
  PressSpot(ctx, SpotAt(5, 6));
  EXPECT_EQ(state.InteractionState, kStateGame);
  SetUp();
  LoadSfen("4k4/9/9/4S4/9/9/9/9/4K4 b - 1");
  StartWith(0, 0, false);
  Click(SpotAt(5, 4));
  PressSpot(ctx, SpotAt(5, 3));
  EXPECT_EQ(state.InteractionState, kStatePromotion);

  // In set-up a piece goes anywhere, from the box too.
  SetUp();
  StartMateSetUp(state);  // every piece in the second player's hand, the box empty
  Drag({BoardArea::kSecondHand, kGold}, {BoardArea::kPieceBox, 0});
  ASSERT_EQ(state.PieceBox[kGold], 1);
  Click({BoardArea::kPieceBox, kGold});
  EXPECT_EQ(BuildScene(state, false).PickedBox, kGold);
  Click(SpotAt(5, 2));
  EXPECT_EQ(state.Shown.Board[SquareOf(5, 2)], kGold);
  SetUp();
  StartFreeSetUp(state);
  Click(SpotAt(5, 9));
  Click(SpotAt(5, 5));
  EXPECT_EQ(state.Shown.Board[SquareOf(5, 5)], kKing);
  EXPECT_EQ(state.Shown.Board[SquareOf(5, 9)], 0);
}

TEST_F(BoardClicksTest, LegalDestinationsOfTheHeldOrSelectedPiece) {
  StartWith(0, 0, false);
  auto count = [&] {
    const std::array<bool, 82> marks = LegalDestinations(state);
    return static_cast<int>(std::count(marks.begin(), marks.end(), true));
  };
  EXPECT_EQ(count(), 0);
  Click(SpotAt(2, 8));  // the rook: 1八 and 3八..7八
  EXPECT_EQ(count(), 6);
  EXPECT_TRUE(LegalDestinations(state)[SquareOf(7, 8)]);
  DropSelection(state);
  PressSpot(ctx, SpotAt(7, 7));  // held: the square it left is in the position again
  EXPECT_TRUE(state.Held.Active);
  const std::array<bool, 82> marks = LegalDestinations(state);
  EXPECT_EQ(std::count(marks.begin(), marks.end(), true), 1);
  EXPECT_TRUE(marks[SquareOf(7, 6)]);
  ReleaseSpot(ctx, SpotAt(7, 6));
  // A pawn in hand never goes to a file that holds one of the side's pawns.
  SetUp();
  LoadSfen("4k4/9/9/9/9/9/4P4/9/4K4 b P 1");
  StartWith(0, 0, false);
  Click({BoardArea::kFirstHand, kPawn});
  const std::array<bool, 82> drops = LegalDestinations(state);
  for (int rank = 1; rank <= 9; ++rank) EXPECT_FALSE(drops[SquareOf(5, rank)]) << rank;
  EXPECT_TRUE(drops[SquareOf(4, 5)]);
  EXPECT_FALSE(drops[SquareOf(4, 1)]);  // a pawn cannot stand on the last rank
}

class DisplaySceneTest : public ShellFixture {};

TEST_F(DisplaySceneTest, LastMoveTintsFollowTheShownPlyAndTheFlip) {
  StartWith(0, 0, false);
  EXPECT_EQ(TintedCount(BuildScene(state, false)), 0);
  PersonMoves("7g7f 3c3d 8h2b+ 3a2b B*4e");
  ViewScene s = BuildScene(state, false);
  EXPECT_EQ(s.Tints[SquareOf(4, 5)], kTintLastDestination);
  EXPECT_EQ(std::count(std::begin(s.Tints), std::end(s.Tints), kTintLastOrigin), 0);  // a drop
  state.Record.PlyCount = 4;
  RebuildShown(state);
  state.Record.BoardFlipped = true;
  s = BuildScene(state, false);
  EXPECT_EQ(s.Tints[82 - SquareOf(2, 2)], kTintLastDestination);
  EXPECT_EQ(s.Tints[82 - SquareOf(3, 1)], kTintLastOrigin);
  state.Display.LastMove = false;
  s = BuildScene(state, false);
  EXPECT_EQ(s.Tints[82 - SquareOf(2, 2)], kTintNone);
  // Back at the start nothing is tinted.
  state.Display.LastMove = true;
  state.Record.PlyCount = 0;
  RebuildShown(state);
  s = BuildScene(state, false);
  EXPECT_EQ(TintedCount(s), 0);
}

TEST_F(DisplaySceneTest, TheMessageAreaTellsWhoseTurnAndKeepsTheResult) {
  struct Case {
    const char* what;
    int second_kind;
    const char* moves;
    bool resign;
    bool option;
    const char* message;
  } cases[] = {
      {"persons, first to move", 0, "", false, true, "先手の番です。"},
      {"persons, second to move", 0, "7g7f", false, true, "後手の番です。"},
      {"the option off", 0, "7g7f", false, false, kYourTurnMessage},
      {"against the computer", 1, "", false, true, ""},
      {"after a resignation", 0, "7g7f", true, true, "先手勝ちです。"},
  };
  for (const Case& c : cases) {
    SetUp();
    state.Display.TurnMessage = c.option;
    StartWith(0, c.second_kind, c.second_kind != 0);
    if (c.second_kind != 0) {
      EXPECT_EQ(BuildScene(state, false).Message[0], kYourTurnMessage) << c.what;
      ClearMessage(state.Message);
    }
    PersonMoves(c.moves);
    if (c.resign) {
      ResignGame(ctx);
      ClearMessage(state.Message);
    }
    EXPECT_EQ(BuildScene(state, false).Message[0], c.message) << c.what;
  }
  // A message of the program's own stands.
  SetMessage(state.Message, "詰みです。");
  EXPECT_EQ(BuildScene(state, false).Message[0], "詰みです。");
}

TEST_F(DisplaySceneTest, SelectionAndDestinationsAreTintedAndRepainted) {
  state.Display.Destinations = true;
  StartWith(0, 0, false);
  const ViewScene before = BuildScene(state, false);
  PressSpot(ctx, SpotAt(7, 7));
  ReleaseSpot(ctx, SpotAt(7, 7));
  const ViewScene selected = BuildScene(state, false);
  EXPECT_EQ(selected.Tints[SquareOf(7, 7)], kTintPicked);
  EXPECT_EQ(selected.Tints[SquareOf(7, 6)], kTintDestination);
  std::set<int> cells;
  for (const SceneChange& c : SceneChanges(&before, selected)) {
    if (c.Item == SceneItem::kCell) cells.insert(c.Index);
  }
  EXPECT_EQ(cells, (std::set<int>{SquareOf(7, 7), SquareOf(7, 6)}));
}

}  // namespace
}  // namespace shogi
