// The 編集 menu's clipboard commands with the scripted person's clipboard.
#include "shell/clipboard_commands.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "rules/sfen.h"
#include "shell/record_notes.h"
#include "tests/records/record_compare.h"
#include "tests/shell/shell_fixture.h"

namespace shogi {
namespace {

class ClipboardCommandsTest : public ShellFixture {};

TEST_F(ClipboardCommandsTest, CopiedKifPastesBackAsTheSameRecord) {
  LoadSfen(test::HandicapSfen(Handicap::kBishop), "3c3d 7g7f 4a3b", {5, 70, 9});
  CopyCp932Field(state.Record.FirstName, Cp932("下手"));
  state.Record.ResultCode = kResultSecondWins;
  state.Record.PlyCount = 2;
  RebuildShown(state);
  const GameRecord copied = state.Record;
  CopyKifCommand(ctx);
  ASSERT_TRUE(ui.ClipboardHoldsText);
  EXPECT_EQ(ui.Clipboard.find('\r'), std::string::npos);
  EXPECT_NE(ui.Clipboard.find("手合割：角落ち"), std::string::npos) << ui.Clipboard;

  LoadSfen("startpos", "2g2f");
  const ViewUpdate update = PasteRecordCommand(ctx);
  EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
  EXPECT_TRUE(update.Parts & kViewFullRefresh);
  EXPECT_EQ(Moves(), "3c3d 7g7f 4a3b");
  EXPECT_TRUE(state.Record.InitialPosition == copied.InitialPosition);
  EXPECT_EQ(state.Record.StartIndex, 1);
  EXPECT_EQ(state.Record.PlyCount, 1);  // shown at its start
  EXPECT_EQ(state.Record.ResultCode, kResultSecondWins);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(state.Record.MoveTimes[i], copied.MoveTimes[i]) << i;
  EXPECT_EQ(FieldText(state.Record.FirstName), FieldText(copied.FirstName));
}

// The comments and variations go through the clipboard with the record.
TEST_F(ClipboardCommandsTest, CopiedKifKeepsTheCommentsAndVariations) {
  LoadSfen("startpos", "7g7f 3c3d 2g2f");
  SyncNotes(state);
  state.Notes.Tree.AddMove(NodeOfPly(state, 1), test::UsiMove("8c8d"), 0);
  state.Record.PlyCount = 1;
  SetShownComment(state, "角道を開ける");
  CopyKifCommand(ctx);
  LoadSfen("startpos", "2g2f");
  PasteRecordCommand(ctx);
  EXPECT_EQ(TreeListing(state.Record, state.Notes.Tree),
            "line 0: 7g7f 3c3d 2g2f\nline 1: 7g7f 8c8d\ncomment 0 1: 角道を開ける\n");
}

TEST_F(ClipboardCommandsTest, CopiesTheShownPositionAsSfen) {
  LoadSfen("startpos", "7g7f 3c3d 8h2b+");
  state.Record.PlyCount = 2;
  RebuildShown(state);
  CopySfenCommand(ctx);
  EXPECT_EQ(ui.Clipboard, "lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 3");
  // Pasted back, it is a record of that position without moves.
  ASSERT_EQ(PasteRecordCommand(ctx).Parts & kViewFullRefresh, kViewFullRefresh);
  EXPECT_EQ(Moves(), "");
  EXPECT_TRUE(state.Record.InitialPosition == state.Shown);
}

TEST_F(ClipboardCommandsTest, PastesEachFormatAndRefusesWhatIsNoRecord) {
  struct Case {
    bool holds_text;
    const char* text;
    const char* moves;  // nullptr: refused, the record kept
  };
  const Case cases[] = {
      {true, "先手：a\n後手：b\n▲７六歩 △３四歩", "7g7f 3c3d"},
      {true, "N+a\nN-b\n+\n+7776FU,T3\n-3334FU\n%TORYO\n", "7g7f 3c3d"},
      {true, "position startpos moves 2g2f 8c8d", "2g2f 8c8d"},
      {true, "sfen lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", ""},
      {true, "手合割：平手\n手数----指手---------消費時間--\n1 ５六歩(57)", "5g5f"},
      {true, "hello", nullptr},
      {true, "position startpos moves 7g7e", nullptr},
      {false, "", nullptr},  // the clipboard holds no text
  };
  for (const Case& c : cases) {
    SetUp();
    LoadSfen("startpos", "1g1f");
    state.Record.PlyCount = 1;
    RebuildShown(state);
    const GameRecord before = state.Record;
    ui.Clipboard = c.text;
    ui.ClipboardHoldsText = c.holds_text;
    PasteRecordCommand(ctx);
    if (c.moves == nullptr) {
      EXPECT_TRUE(SameRecord(state.Record, before)) << c.text;
      ASSERT_EQ(ui.Messages.size(), 1u) << c.text;
      EXPECT_EQ(ui.Messages[0].Caption, "棋譜読み込み");
      continue;
    }
    EXPECT_TRUE(ui.Messages.empty()) << c.text << ui.LastMessage();
    EXPECT_EQ(Moves(), c.moves) << c.text;
  }
}

TEST_F(ClipboardCommandsTest, AClipboardThatRefusesTheTextIsReported) {
  class RefusingClipboard : public test::ScriptedUserInterface {
   public:
    bool SetClipboardText(const std::string&) override { return false; }
  } refusing;
  ShellContext refusing_ctx{state, refusing, &computer, &library};
  CopyKifCommand(refusing_ctx);
  CopySfenCommand(refusing_ctx);
  ASSERT_EQ(refusing.Messages.size(), 2u);
  EXPECT_EQ(refusing.Messages[0].Caption, "クリップボード");
  EXPECT_EQ(refusing.Messages[0].Text, "クリップボードにコピーできません。");
}

}  // namespace
}  // namespace shogi
