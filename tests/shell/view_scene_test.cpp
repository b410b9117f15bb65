// The view's texts and which squares, slots and lines a change repaints.
#include "shell/view_scene.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/cp932.h"
#include "shell/board_setup.h"
#include "shell/view_texts.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

TEST(ViewTextsTest, ClockTextsInBothModes) {
  EXPECT_EQ(ClockText(3900, false), "(01:05:00)");
  EXPECT_EQ(ClockText(3900, true), "(1:05)     ");
  EXPECT_EQ(ClockText(59, false), "(00:00:59)");
  EXPECT_EQ(ClockText(100 * 3600 + 61, false), "(00:01:01)");  // hours modulo 100
  EXPECT_EQ(ClockText(100 * 3600 + 61, true), "(100:01)     ");
}

TEST(ViewTextsTest, PlayerLinesAreCutAtFourteenBytes) {
  EXPECT_EQ(PlayerLine(true, Cp932("人間")), "▲人間");
  // "▲" and six kanji make 14 bytes; a seventh does not fit.
  EXPECT_EQ(PlayerLine(false, Cp932("一二三四五六七")), "△一二三四五六");
  // A half-width letter after six kanji would leave a half character: cut before it.
  EXPECT_EQ(PlayerLine(true, Cp932("ab一二三四五六")), "▲ab一二三四五");
}

class ViewSceneTest : public ShellFixture {
 protected:
  std::set<std::pair<int, int>> Changed(const ViewScene& before, const ViewScene& after) {
    std::set<std::pair<int, int>> out;
    for (const SceneChange& c : SceneChanges(&before, after)) {
      out.insert({static_cast<int>(c.Item) * 100 + c.Hand * 10, c.Index});
    }
    return out;
  }
  static constexpr int kCell = static_cast<int>(SceneItem::kCell) * 100;
  static constexpr int kInfo = static_cast<int>(SceneItem::kInfoLine) * 100;
  static constexpr int kMoveLine = static_cast<int>(SceneItem::kMoveLine) * 100;
  static constexpr int kMessage = static_cast<int>(SceneItem::kMessage) * 100;
  static constexpr int kLowerSlot = static_cast<int>(SceneItem::kHandSlot) * 100;
};

TEST_F(ViewSceneTest, MoveCounterAddsTheMinutesOfTheLastMove) {
  StartWith(0, 0, false);
  state.Record.Clocks[kFirst] = 150;
  PersonMoves("7g7f");
  state.Record.Clocks[kSecond] = 30;
  PersonMoves("3c3d");
  state.Record.Clocks[kFirst] = 400;
  PersonMoves("2g2f");
  const GameRecord& r = state.Record;
  EXPECT_EQ(MoveCounterText(r, false), "3手目");
  EXPECT_EQ(MoveCounterText(r, true), "3手目(4)");  // (400 - 150) / 60
  state.Record.PlyCount = 2;
  EXPECT_EQ(MoveCounterText(r, true), "2手目");  // 30 s: 0 minutes shows nothing
  state.Record.PlyCount = 1;
  EXPECT_EQ(MoveCounterText(r, true), "1手目(2)");
  EXPECT_EQ(LastMoveText(r), "▲７六歩");
  state.Record.PlyCount = 0;
  EXPECT_EQ(LastMoveText(r), "");
}

TEST_F(ViewSceneTest, MoveListShowsTheLastTenOrTheNextTen) {
  StartWith(0, 0, false);
  PersonMoves("7g7f 3c3d 8h2b+ 3a2b 2g2f 8c8d 2f2e 8d8e 2e2d 2c2d 2h2d 8e8f");
  auto last = MoveListLines(state.Record, false);
  EXPECT_EQ(last[0], "▲２二角成");
  EXPECT_EQ(last[1], "△同　銀");
  EXPECT_EQ(last[9], "△８六歩");
  state.Record.PlyCount = 2;
  auto next = MoveListLines(state.Record, true);
  EXPECT_EQ(next[0], "▲２二角成");
  EXPECT_EQ(next[9], "△８六歩");
  auto few = MoveListLines(state.Record, false);
  EXPECT_EQ(few[1], "△３四歩");
  EXPECT_EQ(few[2], "");
  state.Record.PlyCount = 9;
  next = MoveListLines(state.Record, true);
  EXPECT_EQ(next[0], "△同　歩");  // 同 refers to the move before the list
  EXPECT_EQ(next[1], "▲同　飛");
  EXPECT_EQ(next[2], "△８六歩");
  EXPECT_EQ(next[3], "");
}

TEST_F(ViewSceneTest, AMoveRepaintsOnlyItsSquaresHandsAndLines) {
  // The plain view, and with the display options on: the last move's tints move too.
  for (const bool options : {false, true}) {
    SetUp();
    if (!options) state.Display = {false, false, false, false, false, 100};
    StartWith(0, 0, false);
    PersonMoves("7g7f");
    PersonMoves("3c3d");
    ViewScene before = BuildScene(state, false);
    PersonMoves("8h2b+");  // a capture: two squares, the mover's hand, counter, last move, list
    ViewScene after = BuildScene(state, false);
    std::set<std::pair<int, int>> expected;
    expected.insert({kCell, SquareOf(8, 8)});
    expected.insert({kCell, SquareOf(2, 2)});
    expected.insert({kLowerSlot + 10 * kLowerHand, kBishop});
    expected.insert({kInfo, kInfoCounter});
    expected.insert({kInfo, kInfoLastMove});
    expected.insert({kMoveLine, 2});
    if (options) {
      expected.insert({kCell, SquareOf(3, 3)});
      expected.insert({kCell, SquareOf(3, 4)});
      expected.insert({kMessage, 0});  // whose turn
    }
    EXPECT_EQ(Changed(before, after), expected) << options;

    // With the board flipped the same change lands on the turned squares and the upper hand.
    state.Record.BoardFlipped = true;
    before = BuildScene(state, false);
    PersonMoves("3a2b");
    after = BuildScene(state, false);
    std::set<std::pair<int, int>> flipped = {
        {kCell, 82 - SquareOf(3, 1)},
        {kCell, 82 - SquareOf(2, 2)},
        {kLowerSlot + 10 * kLowerHand, kBishop},  // the second player's hand is at the bottom
        {kInfo, kInfoCounter},
        {kInfo, kInfoLastMove},
        {kMoveLine, 3},
    };
    if (options) flipped.insert({{kCell, 82 - SquareOf(8, 8)}, {kMessage, 0}});
    EXPECT_EQ(Changed(before, after), flipped) << options;
  }
}

TEST_F(ViewSceneTest, ClockTickRepaintsOneLineAndSetUpSwapsThePanel) {
  ViewScene before = BuildScene(state, false);
  state.Record.Clocks[kSecond] = 1;
  ViewScene after = BuildScene(state, false);
  EXPECT_EQ(Changed(before, after), (std::set<std::pair<int, int>>{{kInfo, kInfoSecondClock}}));

  StartMateSetUp(state);
  ViewScene setup = BuildScene(state, false);
  std::vector<SceneChange> changes = SceneChanges(&after, setup);
  bool panel = false;
  for (const SceneChange& c : changes) panel |= c.Item == SceneItem::kMovePanel;
  EXPECT_TRUE(panel);
  EXPECT_EQ(setup.Hands[kUpperHand][kPawn], 18);
  EXPECT_EQ(SceneChanges(&setup, setup).size(), 0u);
  // From nothing: the cells, the hand slots, the info lines, the panel and the message (the
  // box of a mate set-up is empty).
  EXPECT_EQ(SceneChanges(nullptr, setup).size(), 81u + 14 + 6 + 1 + 1);
}

}  // namespace
}  // namespace shogi
