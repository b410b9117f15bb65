// The presets, handicap detection, the piece box and set-up editing.
#include "shell/board_setup.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/cp932.h"
#include "shell/command_table.h"
#include "shell/navigation.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

class BoardSetupTest : public ShellFixture {};

// Each preset of the menu, in the order of the handicaps, sets up its position as the start.
TEST_F(BoardSetupTest, PresetsSetUpTheirPositionsAndAreRecognised) {
  for (int preset = kPresetEven; preset < kPresetCount; ++preset) {
    SCOPED_TRACE(StartPresetName(preset));
    SetUp();
    state.InteractionState = kStateSetUp;
    LoadPreset(state, preset);
    const test::SfenPosition expected =
        test::FromSfen(test::HandicapSfen(static_cast<Handicap>(preset - 1)));
    const GameRecord& r = state.Record;
    EXPECT_EQ(state.InteractionState, kStateIdle);
    EXPECT_EQ(state.Shown, expected.pos);
    EXPECT_EQ(r.StartIndex, expected.side);
    EXPECT_EQ(r.PlyCount, r.StartIndex);
    EXPECT_EQ(r.InitialPosition, state.Shown);
    EXPECT_EQ(DetectHandicap(r, state.Shown),
              preset <= kLastDialogPreset ? preset : kPresetCurrent);
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

// 先手番 starts the record afresh at the shown position with the other side to move.
TEST_F(BoardSetupTest, FirstToMoveMakesTheShownPositionTheStart) {
  LoadSfen("startpos", "7g7f 3c3d 2g2f", {10, 20, 30});
  state.Record.ResultCode = kResultFirstWins;
  StepForward(state);
  StepForward(state);
  ASSERT_EQ(state.Record.Clocks[0] + state.Record.Clocks[1], 30);
  SetMessage(state.Message, "指し掛けです。");
  const Position shown = state.Shown;
  ToggleFirstToMove(state);
  const GameRecord& r = state.Record;
  EXPECT_EQ(r.StartIndex, 1);
  EXPECT_EQ(r.PlyCount, 1);
  EXPECT_EQ(r.InitialPosition, shown);
  EXPECT_EQ(state.Shown, shown);
  EXPECT_EQ(Moves(), "");
  EXPECT_EQ(r.Clocks[0], 0);
  EXPECT_EQ(r.Clocks[1], 0);
  EXPECT_EQ(r.ResultCode, kResultNone);
  EXPECT_EQ(state.Message.Lines[0], "");
  EXPECT_FALSE(CommandChecked(state, kCmdFirstToMove));
  ToggleFirstToMove(state);
  EXPECT_EQ(r.StartIndex, 0);
  EXPECT_EQ(r.PlyCount, 0);
  EXPECT_EQ(state.Shown, shown);
}

// 反転局面: the board turned round with the colours exchanged, the hands exchanged, the other
// side to move (from the record's start or from the middle of a game) and the names exchanged;
// twice gives everything back.
TEST_F(BoardSetupTest, MirrorTurnsTheBoardAndExchangesHandsSidesAndNames) {
  struct Case {
    const char* sfen;
    const char* moves;  // played by persons before the mirror
    const char* mirrored;
  } cases[] = {
      {"lnsgk4/9/9/9/9/9/9/9/4K4 b RP2p 1", "", "4k4/9/9/9/9/9/9/9/4KGSNL w 2Prp 1"},
      // A mate problem: the missing king of the first player becomes the second player's.
      {"4k4/9/9/9/9/9/9/9/9 w 2G 1", "", "9/9/9/9/9/9/9/9/4K4 b 2g 1"},
      // The bishop exchange half done: the first player holds the bishop, the second is to move.
      {"startpos", "7g7f 3c3d 8h2b+",
       "lnsgkgsnl/1r7/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1+b5R1/LNSGKGSNL b b 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sfen);
    SetUp();
    LoadSfen(c.sfen);
    CopyCp932Field(state.Record.FirstName, Cp932("先手の人"));
    CopyCp932Field(state.Record.SecondName, Cp932("後手"));
    if (*c.moves) {
      StartWith(0, 0, false);
      PersonMoves(c.moves);
      SuspendGame(ctx);
    }
    const Position before = state.Shown;
    const Side side = SideToMove(state);

    MirrorPosition(state);
    const test::SfenPosition expected = test::FromSfen(c.mirrored);
    EXPECT_EQ(ToSfen(state.Shown, SideToMove(state)), c.mirrored);
    EXPECT_EQ(state.Shown, expected.pos);  // the king squares too
    EXPECT_EQ(SideToMove(state), expected.side);
    EXPECT_EQ(state.Record.StartIndex, state.Record.PlyCount);
    EXPECT_EQ(state.Record.InitialPosition, state.Shown);
    EXPECT_EQ(Moves(), "");
    EXPECT_EQ(Utf8(FieldText(state.Record.FirstName)), "後手");
    EXPECT_EQ(Utf8(FieldText(state.Record.SecondName)), "先手の人");

    MirrorPosition(state);
    EXPECT_EQ(state.Shown, before);
    EXPECT_EQ(SideToMove(state), side);
    EXPECT_EQ(Utf8(FieldText(state.Record.FirstName)), "先手の人");
  }
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

// A side with two kings after editing: the first one found, in square order, is its king.
TEST_F(BoardSetupTest, EndingSetUpTakesTheFirstKingOfASide) {
  struct Case {
    Square turned;  // the king that changes sides with the right button, 0 none
    int first_king, second_king;
  } cases[] = {
      {0, 77, 5},
      {5, 5, kNoKing},   // kings of the first player on 5一 and 5九
      {77, kNoKing, 5},  // kings of the second player on 5一 and 5九
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.turned);
    SetUp();
    StartFreeSetUp(state);
    if (c.turned) SetUpCyclePiece(state, {BoardArea::kBoard, c.turned});
    EndSetUp(state);
    EXPECT_EQ(state.Record.InitialPosition.King[kFirst], c.first_king);
    EXPECT_EQ(state.Record.InitialPosition.King[kSecond], c.second_king);
  }
}

// Set-up edits of a record shown in its middle: a piece put down throws away the moves, the
// clocks and the result; the right button the moves and the clocks; a refused put-down or
// no edit at all changes nothing, and ending set-up then leaves the record's start alone.
TEST_F(BoardSetupTest, EditsThrowTheRecordAwayAsFarAsTheyGo) {
  auto move_piece = [this](BoardSpot from, BoardSpot to) {
    return [this, from, to] {
      SetUpPickUp(state, from);
      ASSERT_TRUE(state.Held.Active);
      SetUpPutDown(state, to);
    };
  };
  const BoardSpot kFreeSquare{BoardArea::kBoard, SquareOf(5, 5)};
  struct Case {
    const char* name;
    std::function<void()> edit;
    bool moves_gone, result_gone;
  } cases[] = {
      {"square to square", move_piece({BoardArea::kBoard, SquareOf(7, 6)}, kFreeSquare), true,
       true},
      {"square to hand",
       move_piece({BoardArea::kBoard, SquareOf(9, 3)}, {BoardArea::kFirstHand, 1}), true, true},
      {"box to square", move_piece({BoardArea::kPieceBox, kLance}, kFreeSquare), true, true},
      {"hand to box", move_piece({BoardArea::kFirstHand, kPawn}, {BoardArea::kPieceBox, 0}), true,
       true},
      {"right button",
       [this] {
         SetUpCyclePiece(state, {BoardArea::kBoard, SquareOf(7, 6)});
       },
       true, false},
      {"king onto a hand",
       move_piece({BoardArea::kBoard, SquareOf(5, 9)}, {BoardArea::kSecondHand, kPawn}), false,
       false},
      {"no edit", [] {}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    LoadSfen("lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w P 1", "3c3d 7g7f",
             {5, 8});
    const Position start = state.Record.InitialPosition;
    state.Record.ResultCode = kResultSecondWins;
    ToLastPosition(state);
    StartFreeSetUp(state);
    c.edit();
    const GameRecord& r = state.Record;
    EXPECT_FALSE(state.Held.Active);
    EXPECT_EQ(r.PlyCount, c.moves_gone ? 1 : 3);
    EXPECT_EQ(Moves(), c.moves_gone ? "" : "3c3d 7g7f");
    EXPECT_EQ(r.Clocks[kFirst] + r.Clocks[kSecond], c.moves_gone ? 0 : 13);
    EXPECT_EQ(r.ResultCode, c.result_gone ? kResultNone : kResultSecondWins);
    EXPECT_EQ(state.Message.Lines[0], c.result_gone ? "" : "上手勝ちです。");
    const Position shown = state.Shown;
    EndSetUp(state);
    EXPECT_EQ(r.InitialPosition, c.moves_gone ? shown : start);
  }
}

}  // namespace
}  // namespace shogi
