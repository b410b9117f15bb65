// The presets, handicap detection, the piece box and set-up editing.
#include "shell/board_setup.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/cp932.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

class BoardSetupTest : public ShellFixture {};

TEST_F(BoardSetupTest, PresetsEmptyTheirSquaresAndAreRecognised) {
  struct Case {
    int preset;
    int start_index;
    std::vector<int> emptied;  // squares of the second player's that the preset clears
    int pawns_in_hand;
  } cases[] = {
      {kPresetEven, 0, {}, 0},
      {kPresetLance, 1, {1}, 0},
      {kPresetBishop, 1, {11}, 0},
      {kPresetRook, 1, {17}, 0},
      {kPresetRookLance, 1, {1, 17}, 0},
      {kPresetTwoPieces, 1, {11, 17}, 0},
      {kPresetFourPieces, 1, {1, 9, 11, 17}, 0},
      {kPresetSixPieces, 1, {1, 2, 8, 9, 11, 17}, 0},
      {kPresetEightPieces, 1, {1, 2, 3, 7, 8, 9, 11, 17}, 0},
      {kPresetTenPieces, 1, {1, 2, 3, 4, 6, 7, 8, 9, 11, 17}, 0},
      {kPresetThreePawns,
       1,
       {1, 2, 3, 4, 6, 7, 8, 9, 11, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27},
       3},
      {kPresetBareKing, 1, {1, 2, 3, 4, 6, 7, 8, 9, 11, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StartPresetName(c.preset));
    SetUp();
    state.InteractionState = kStateSetUp;
    LoadPreset(state, c.preset);
    const GameRecord& r = state.Record;
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(r.StartIndex, c.start_index);
    EXPECT_EQ(r.PlyCount, c.start_index);
    EXPECT_EQ(r.InitialPosition, state.Shown);
    Position expected = kInitialPosition;
    for (int s : c.emptied) expected.Board[s] = 0;
    expected.Hand[kSecond][kPawn] = static_cast<std::int8_t>(c.pawns_in_hand);
    EXPECT_EQ(state.Shown, expected);
    const int detected = c.preset <= kLastDialogPreset ? c.preset : kPresetCurrent;
    EXPECT_EQ(DetectHandicap(r, state.Shown), detected);
  }
}

TEST_F(BoardSetupTest, LanceHandicapWithTheFirstPlayerToMoveIsNotDetected) {
  LoadPreset(state, kPresetLance);
  ToggleFirstToMove(state);
  EXPECT_EQ(state.Record.StartIndex, 0);
  EXPECT_EQ(state.Record.PlyCount, 0);
  EXPECT_EQ(DetectHandicap(state.Record, state.Shown), kPresetCurrent);
  ToggleFirstToMove(state);
  EXPECT_EQ(DetectHandicap(state.Record, state.Shown), kPresetLance);
}

TEST_F(BoardSetupTest, MirrorTwiceRestoresPositionSideAndNames) {
  CopyCp932Field(state.Record.FirstName, Cp932("先手の人"));
  CopyCp932Field(state.Record.SecondName, Cp932("後手"));
  StartWith(0, 0, false);
  for (const char* m : {"7g7f", "3c3d", "8h2b+"}) PersonMove(m);  // a capture: both hands differ
  SuspendGame(ctx);
  const Position before = state.Shown;
  const Side side = SideToMove(state);

  MirrorPosition(state);
  EXPECT_EQ(SideToMove(state), Opponent(side));
  EXPECT_EQ(Utf8(FieldText(state.Record.FirstName)), "後手");
  EXPECT_EQ(state.Shown.Board[1], -before.Board[81]);
  EXPECT_EQ(state.Shown.Hand[kSecond][kBishop], before.Hand[kFirst][kBishop]);
  EXPECT_EQ(state.Shown.King[kFirst], 82 - before.King[kSecond]);
  EXPECT_EQ(state.Record.InitialPosition, state.Shown);
  EXPECT_EQ(Moves(), "");

  MirrorPosition(state);
  EXPECT_EQ(state.Shown, before);
  EXPECT_EQ(SideToMove(state), side);
  EXPECT_EQ(Utf8(FieldText(state.Record.FirstName)), "先手の人");
  EXPECT_EQ(Utf8(FieldText(state.Record.SecondName)), "後手");
}

TEST_F(BoardSetupTest, MateSetUpPutsEverythingInTheSecondPlayersHand) {
  StartMateSetUp(state);
  EXPECT_EQ(state.InteractionState, kStateSetUp);
  for (int slot = 0; slot < kPieceBoxSlots; ++slot) EXPECT_EQ(state.PieceBox[slot], 0) << slot;
  EXPECT_EQ(state.Shown.King[kFirst], kNoKing);
  EXPECT_EQ(state.Shown.King[kSecond], 5);
  EXPECT_EQ(state.Shown.Board[5], -kKing);
  const int hand[8] = {0, 18, 4, 4, 4, 4, 2, 2};
  for (int t = kPawn; t <= kRook; ++t) EXPECT_EQ(state.Shown.Hand[kSecond][t], hand[t]);
  EXPECT_EQ(state.Record.StartIndex, 0);
}

TEST_F(BoardSetupTest, KingPutOntoAHandGoesBack) {
  StartFreeSetUp(state);
  const Square king = SquareOf(5, 9);
  SetUpPickUp(state, {BoardArea::kBoard, king});
  ASSERT_TRUE(state.Held.Active);
  EXPECT_EQ(state.Shown.Board[king], 0);
  for (BoardArea hand : {BoardArea::kFirstHand, BoardArea::kSecondHand}) {
    SetUpPutDown(state, {hand, kPawn});
    EXPECT_FALSE(state.Held.Active);
    EXPECT_EQ(state.Shown.Board[king], kKing);
    EXPECT_EQ(state.Shown.Hand[kFirst][0] + state.Shown.Hand[kSecond][0], 0);
    SetUpPickUp(state, {BoardArea::kBoard, king});
  }
  // An occupied square refuses it too.
  SetUpPutDown(state, {BoardArea::kBoard, SquareOf(5, 1)});
  EXPECT_EQ(state.Shown.Board[king], kKing);
  EXPECT_EQ(state.Shown, kInitialPosition);
}

TEST_F(BoardSetupTest, EditingMovesPiecesBetweenBoardHandsAndBox) {
  // A promoted piece put into a hand becomes its base type of that hand's side.
  StartFreeSetUp(state);
  SetUpCyclePiece(state, {BoardArea::kBoard, SquareOf(2, 8)});  // the rook promotes
  EXPECT_EQ(state.Shown.Board[SquareOf(2, 8)], kDragon);
  SetUpPickUp(state, {BoardArea::kBoard, SquareOf(2, 8)});
  SetUpPutDown(state, {BoardArea::kSecondHand, kPawn});
  EXPECT_EQ(state.Shown.Hand[kSecond][kRook], 1);

  // A piece from the box goes to the side drawn at the bottom.
  for (bool flipped : {false, true}) {
    SetUp();
    LoadPreset(state, kPresetLance);
    state.Record.BoardFlipped = flipped;
    StartFreeSetUp(state);
    ASSERT_EQ(state.PieceBox[kLance], 1);
    SetUpPickUp(state, {BoardArea::kPieceBox, kLance});
    SetUpPutDown(state, {BoardArea::kBoard, SquareOf(5, 5)});
    EXPECT_EQ(state.Shown.Board[SquareOf(5, 5)], flipped ? -kLance : kLance);
    EXPECT_EQ(state.PieceBox[kLance], 0);
    EXPECT_EQ(state.Record.PlyCount, state.Record.StartIndex);
  }
}

TEST_F(BoardSetupTest, RightButtonCyclesThePiece) {
  struct Case {
    int start;
    std::vector<int> cycle;
  } cases[] = {
      {kPawn, {kPromotedPawn, -kPawn, -kPromotedPawn, kPawn}},
      {-kBishop, {-kHorse, kBishop, kHorse, -kBishop}},
      {kGold, {-kGold, kGold}},
      {kKing, {-kKing, kKing}},
  };
  const Square sq = SquareOf(5, 5);
  for (const Case& c : cases) {
    SetUp();
    StartFreeSetUp(state);
    state.Shown.Board[sq] = static_cast<std::int8_t>(c.start);
    for (int expected : c.cycle) {
      SetUpCyclePiece(state, {BoardArea::kBoard, sq});
      EXPECT_EQ(state.Shown.Board[sq], expected) << c.start;
    }
  }
}

TEST_F(BoardSetupTest, EndingSetUpFindsTheKingsAndMakesTheStart) {
  StartWith(0, 0, false);
  PersonMove("7g7f");
  SuspendGame(ctx);
  StartFreeSetUp(state);
  SetUpPickUp(state, {BoardArea::kBoard, SquareOf(5, 9)});
  SetUpPutDown(state, {BoardArea::kBoard, SquareOf(5, 8)});
  // The edited position starts the record; the first player moves first (先手番 is on).
  EXPECT_EQ(state.Record.PlyCount, 0);
  EXPECT_EQ(Moves(), "");
  EndSetUp(state);
  EXPECT_EQ(state.InteractionState, kStateIdle);
  EXPECT_EQ(state.Record.InitialPosition.King[kFirst], SquareOf(5, 8));
  EXPECT_EQ(state.Record.InitialPosition.Board[SquareOf(7, 6)], kPawn);
  EXPECT_EQ(state.Record.InitialPosition, state.Shown);
}

}  // namespace
}  // namespace shogi
