// The time-used editor: minutes from the cumulative times, the pages, ０クリア and the times
// rebuilt on ＯＫ.
#include "shell/time_editor.h"

#include <gtest/gtest.h>

#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::MakeRecord;

constexpr const char kSixMoves[] = "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e";

TEST(TimeEditor, TakesMinutesFromTheCumulativeTimesAndRebuildsThem) {
  // Sente's clock after moves 1, 3, 5: 90, 200, 320 s; gote's: 30, 59, 179 s.
  GameRecord r = MakeRecord("startpos", kSixMoves, {90, 30, 200, 59, 320, 179});
  const TimeEditor editor(r);
  EXPECT_EQ(editor.Minutes(), (std::vector<int>{1, 0, 1, 0, 2, 2, 0, 0, 0, 0}));
  editor.Apply(r);
  for (int ply : {0, 1, 2, 3, 4, 5}) {
    const int expected[] = {60, 0, 120, 0, 240, 120};
    EXPECT_EQ(r.MoveTimes[ply], expected[ply]) << ply;
  }
}

TEST(TimeEditor, ShowsTenMovesAPageInPairs) {
  struct Case {
    int moves;
    int pages;
    const char* last_page_first;  // the label of the last page's first move
    int labelled;                 // labelled moves on the last page
  };
  const std::string twenty =
      "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d 8e8f 8g8f 8b8f 2d3d 2b8h+ 7i8h "
      "8f8h+ 3d3b+ 3a3b";
  const Case cases[] = {{10, 1, "▲７六歩", 10}, {11, 2, "▲同　飛", 1}, {20, 2, "▲同　飛", 10}};
  for (const Case& c : cases) {
    const std::vector<std::string> words = test::SplitUsi(twenty);
    std::string usi;
    for (int i = 0; i < c.moves; ++i) usi += words[i] + " ";
    GameRecord r = MakeRecord("startpos", usi);
    TimeEditor editor(r);
    EXPECT_EQ(editor.PageCount(), c.pages) << c.moves;
    EXPECT_EQ(editor.PageLabel(), "(1/" + std::to_string(c.pages) + ")");
    editor.NextPage();
    editor.NextPage();  // stays on the last page
    EXPECT_EQ(editor.PageLabel(),
              "(" + std::to_string(c.pages) + "/" + std::to_string(c.pages) + ")");
    EXPECT_EQ(editor.MoveLabel(0), c.last_page_first) << c.moves;
    int labelled = 0;
    for (int k = 0; k < kTimeEditorFields; ++k) labelled += editor.MoveLabel(k).empty() ? 0 : 1;
    EXPECT_EQ(labelled, c.labelled) << c.moves;
    editor.PreviousPage();
    editor.PreviousPage();
    EXPECT_EQ(editor.Page(), 1);
    EXPECT_EQ(editor.MoveLabel(1), "△３四歩");
  }
}

TEST(TimeEditor, KeepsTheFieldsOfEveryPageAndClearsThemAll) {
  const std::string usi =
      "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d 8e8f";  // 12 moves
  GameRecord r =
      MakeRecord("startpos", usi, {60, 60, 120, 120, 180, 180, 240, 240, 300, 300, 360, 360});
  TimeEditor editor(r);
  editor.TakeFields({5, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  editor.NextPage();
  EXPECT_EQ(editor.Field(0), 1);
  editor.TakeFields({0, 7, 3, 3, 3, 3, 3, 3, 3, 3});  // fields past the last move are ignored
  editor.PreviousPage();
  EXPECT_EQ(editor.Field(0), 5);
  EXPECT_EQ(editor.Field(2), 0);
  editor.Apply(r);
  EXPECT_EQ(r.MoveTimes[0], 300);  // sente: 5 minutes on move 1, then none
  EXPECT_EQ(r.MoveTimes[10], 300);
  EXPECT_EQ(r.MoveTimes[11], 420);  // gote: 7 minutes on move 12 only
  EXPECT_EQ(r.MoveTimes[12], 0);    // nothing after the last move

  editor.ClearAll();
  editor.Apply(r);
  for (int ply = 0; ply < 12; ++ply) EXPECT_EQ(r.MoveTimes[ply], 0) << ply;
}

TEST(TimeEditor, AGameGoteStartsAndALongRecordKeepEveryMove) {
  GameRecord handicap =
      MakeRecord(test::HandicapSfen(Handicap::kLance), "3c3d 7g7f 4c4d", {61, 122, 185});
  TimeEditor editor(handicap);
  EXPECT_EQ(editor.MoveLabel(0), "△３四歩");
  EXPECT_EQ(editor.Minutes()[2], 2);  // 185 - 61 s
  editor.Apply(handicap);
  EXPECT_EQ(handicap.MoveTimes[3], 180);

  std::string moves;
  for (int i = 0; i < 80; ++i) moves += "2h3h 8b7b 3h2h 7b8b ";  // 320 moves
  GameRecord long_game = MakeRecord("startpos", moves);
  for (int ply = 0; ply < 320; ++ply) long_game.MoveTimes[ply] = (ply / 2 + 1) * 60;
  TimeEditor all(long_game);
  EXPECT_EQ(all.PageCount(), 32);
  EXPECT_EQ(all.Minutes()[319], 1);
  all.Apply(long_game);
  EXPECT_EQ(long_game.MoveTimes[319], 160 * 60);
}

}  // namespace
}  // namespace shogi
