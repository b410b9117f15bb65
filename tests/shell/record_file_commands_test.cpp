// The general open and save with the format list, the Kaya list and questions, the URL opens,
// the Palm commands and the time-used command, through the scripted person.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/cp932.h"
#include "records/kaya.h"
#include "shell/command_table.h"
#include "shell/maintenance_commands.h"
#include "shell/navigation.h"
#include "shell/record_commands.h"
#include "shell/record_notes.h"
#include "shell/view_scene.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/test_files.h"
#include "tests/support/test_http_server.h"

namespace shogi {
namespace {

using test::FileBytes;

std::string Data(const std::string& relative) {
  return std::string(SHOGI_TEST_DATA) + "/" + relative;
}

class RecordFileCommandsTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    LoadSettings(profile, dir_.Path(), settings);
  }
  // The next CSpecialFileDialog: OK with `path` and format `index` (and the check box).
  // The next file dialog: `path` with the format of list entry `index` picked (-1: none
  // picked).
  void Choose(const std::string& path, int index, bool store_times = true) {
    ui.RecordFileDialog.Answers.push_back([=](RecordFileRequest& r) {
      r.Path = path;
      r.FormatChosen = index >= 0;
      if (index >= 0) r.FormatIndex = index;
      r.StoreTimes = store_times;
      return true;
    });
  }
  // The next list: game `number` chosen after scrolling it to the top.
  void ChooseGame(int number) {
    ui.RecordListDialog.Answers.push_back([=](RecordListModel& list) {
      list.ScrollTo(number - 1);
      return list.ChooseShown(number - 1 - list.Top());
    });
  }
  RecordCommandResult Open() { return GeneralOpenCommand(ctx, profile, settings); }
  RecordCommandResult Save() { return GeneralSaveCommand(ctx, profile, settings); }

  MemoryProfile profile;
  ProgramSettings settings;
  test::TempFolder dir_;
};

// Without a pick in the combo, the file's extension chooses the format where it names one;
// else the remembered entry stands.
TEST_F(RecordFileCommandsTest, AnUnpickedFormatFollowsTheExtension) {
  const struct {
    const char* data;
    const char* name;
    int remembered;
    int read_as;
  } cases[] = {
      {"kif/even.kif", "game.KIF", 0, 1},
      {"csa/even.csa", "game.csa", 0, 5},
      {"csa/even.csa", "game.log", 5, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir_.Path() + c.name;
    std::filesystem::copy_file(Data(c.data), path,
                               std::filesystem::copy_options::overwrite_existing);
    settings.LoadFormat = c.remembered;
    Choose(path, -1);
    EXPECT_TRUE(Open().Loaded) << ui.LastMessage();
    EXPECT_EQ(profile.GetInt("種類", "ロード", -1), c.read_as);
  }
}

// Before the program ends, a record changed since it was read or written is offered to be
// saved; the answer decides whether the program ends.
TEST_F(RecordFileCommandsTest, ClosingAsksForAnUnsavedRecord) {
  const std::string read = dir_.Path() + "read.kif", saved = dir_.Path() + "saved.kif";
  std::filesystem::copy_file(Data("kif/even.kif"), read);
  enum Change { kNone, kRead, kPlayed, kPasted, kNavigated };
  const struct {
    Change change;
    std::vector<MessageAnswer> answers;  // to the question, if asked
    bool save_chosen;
    bool ends;
  } cases[] = {
      {kNone, {}, false, true},
      {kRead, {}, false, true},
      {kNavigated, {}, false, true},  // stepping through a read record changes nothing
      {kPlayed, {MessageAnswer::kNo}, false, true},
      {kPlayed, {MessageAnswer::kCancel}, false, false},
      {kPlayed, {MessageAnswer::kYes}, false, false},  // the save dialog cancelled
      {kPlayed, {MessageAnswer::kYes}, true, true},
      {kPasted, {MessageAnswer::kNo}, false, true},
  };
  CommandEnv env{ctx, profile, settings};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.change) * 10 + static_cast<int>(c.answers.size()));
    SetUp();
    std::filesystem::remove(saved);
    if (c.change != kNone && c.change != kPasted) {
      ui.FileAnswers.push_back({true, read, 0});
      RunCommand(env, kCmdReadKif);
    }
    if (c.change == kNavigated) RunCommand(env, kCmdToLast);
    if (c.change == kPlayed) {
      StartWith(kPersonPlayer, kPersonPlayer, false);
      PersonMoves("7g7f");
    }
    if (c.change == kPasted) {
      ui.ClipboardHoldsText = true;
      ui.Clipboard = "position startpos moves 7g7f";
      RunCommand(env, kCmdPasteRecord);
    }
    ui.Messages.clear();
    ui.MessageAnswers.assign(c.answers.begin(), c.answers.end());
    if (!c.answers.empty() && c.answers[0] == MessageAnswer::kYes) {
      ui.FileAnswers.push_back({c.save_chosen, saved, 0});
    }
    EXPECT_EQ(ConfirmClosing(ctx, profile, settings), c.ends);
    EXPECT_EQ(ui.Messages.size(), c.answers.size());
    EXPECT_EQ(std::filesystem::exists(saved), c.save_chosen);
    if (c.save_chosen) {
      EXPECT_TRUE(ConfirmClosing(ctx, profile, settings));  // asked once
    }
  }
}

TEST_F(RecordFileCommandsTest, TheComboNotTheNameChoosesTheReader) {
  const std::string path = dir_.Path() + "game.kif";
  std::filesystem::copy_file(Data("csa/even.csa"), path);
  Choose(path, 5);  // ＣＳＡ
  const RecordCommandResult r = Open();
  EXPECT_TRUE(r.Loaded) << ui.LastMessage();
  EXPECT_GT(RecordMoveCount(state.Record), 0);
  const RecordFileRequest& shown = ui.RecordFileDialog.Shown.back();
  EXPECT_FALSE(shown.Save);
  EXPECT_EQ(shown.Title, "棋譜ファイルの読み込み");
  ASSERT_EQ(shown.Formats.size(), 23u);
  EXPECT_EQ(shown.Formats[3], "かや");
  ASSERT_EQ(shown.Filters.size(), 6u);
  EXPECT_EQ(shown.Filters[3].Pattern, "dt*.sin");
  EXPECT_EQ(profile.GetInt("種類", "ロード", -1), 5);
  EXPECT_EQ(profile.GetString("ファイル名", "棋譜", ""), path);

  // The next open starts from the remembered choice; the same file read as KIF fails and
  // leaves the record.
  const GameRecord before = state.Record;
  Choose(path, 1);
  EXPECT_FALSE(Open().Loaded);
  EXPECT_EQ(ui.RecordFileDialog.Shown.back().FormatIndex, 5);
  EXPECT_EQ(ui.Messages.back().Caption, "棋譜読み込み");
  EXPECT_TRUE(std::memcmp(&before, &state.Record, sizeof before) == 0);
}

TEST_F(RecordFileCommandsTest, AKayaFileShowsItsListAndAsksAboutAStrangeFile) {
  Choose(Data("kaya/three.kaya"), 3);
  ChooseGame(3);
  ASSERT_TRUE(Open().Loaded) << ui.LastMessage();
  const RecordListModel& list = ui.RecordListDialog.Shown.back();
  EXPECT_EQ(list.Title(), "か　や　一　覧　表");
  EXPECT_EQ(list.RowCount(), 3);
  EXPECT_EQ(state.Record.ResultCode, kResultRepetition);
  EXPECT_EQ(state.Settings.KayaRecord, 3);

  // No "##" line: the question, and いいえ reads nothing.
  const std::string strange = dir_.Path() + "strange.kay";
  std::ofstream(strange) << "#:t\r\nK:7776 \r\n";
  Choose(strange, 3);
  ui.MessageAnswers.push_back(MessageAnswer::kNo);
  EXPECT_FALSE(Open().Loaded);
  EXPECT_EQ(ui.LastMessage(), "かやのファイルではありません。\n　無理やり読み込みますか？");
  Choose(strange, 3);
  ui.MessageAnswers.push_back(MessageAnswer::kYes);
  ChooseGame(1);
  EXPECT_TRUE(Open().Loaded);
  EXPECT_EQ(test::UsiMoves(state.Record), "7g7f");
}

TEST_F(RecordFileCommandsTest, TheAkafujiChoiceOpensTheYearbookImportInYearbookMode) {
  settings.Yearbook = kYearbookModeValue;
  Choose(dir_.Path() + "dt01.sin", 4);
  ui.YearbookDialog.Answers.push_back([](YearbookFiles&) { return false; });
  Open();
  EXPECT_EQ(ui.YearbookDialog.Shown.size(), 1u);
  EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(RecordFileCommandsTest, TheSaveRefusesWhatAFormatCannotHoldAndAsksBeforeOverwriting) {
  LoadSfen("4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5b");
  Choose(dir_.Path() + "hand.csa", 4);
  EXPECT_FALSE(Save().Saved);
  EXPECT_EQ(ui.LastMessage(), "持駒の存在する局面は、セーブ出来ません。");
  EXPECT_EQ(ui.Messages.back().Caption, "棋譜書き込み");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "hand.csa"));
  const RecordFileRequest& shown = ui.RecordFileDialog.Shown.back();
  EXPECT_TRUE(shown.Save);
  EXPECT_EQ(shown.Formats, (std::vector<std::string>{"森田将棋・Ostel", "柿木将棋", "永世名人",
                                                     "かや", "ＣＳＡ", "JSON棋譜(JKF)"}));
  EXPECT_TRUE(shown.StoreTimes);  // on at the start

  Choose(dir_.Path() + "hand.kif", 1, false);
  EXPECT_TRUE(Save().Saved);
  EXPECT_FALSE(state.Settings.StoreTimes);
  EXPECT_EQ(profile.GetInt("種類", "セーブ", -1), 1);
  const std::string written = FileBytes(dir_.Path() + "hand.kif");

  // Over an existing file: いいえ leaves it untouched.
  LoadSfen("startpos", "7g7f");
  Choose(dir_.Path() + "hand.kif", 1);
  ui.MessageAnswers.push_back(MessageAnswer::kNo);
  EXPECT_FALSE(Save().Saved);
  EXPECT_EQ(ui.LastMessage(), "ファイルがすでに存在します。\n上書きしてもよろしいですか？");
  EXPECT_EQ(FileBytes(dir_.Path() + "hand.kif"), written);
}

TEST_F(RecordFileCommandsTest, TheKayaSaveAppendsAndReplacesOnlyTheGameItRead) {
  const std::string path = dir_.Path() + "games.kay";
  std::filesystem::copy_file(Data("kaya/three.kaya"), path);
  LoadSfen("startpos", "2g2f 3c3d");
  std::string header, message;
  std::vector<std::string> rows;

  // 修正登録 of a file no game was read from.
  Choose(path, 3);
  ui.KayaSaveAnswers.push_back(KayaSaveChoice::kReplace);
  EXPECT_FALSE(Save().Saved);
  EXPECT_EQ(ui.LastMessage(), "修正登録は、出来ません。");

  Choose(path, 3);
  ui.KayaSaveAnswers.push_back(KayaSaveChoice::kAppend);
  EXPECT_TRUE(Save().Saved) << ui.LastMessage();
  ASSERT_EQ(ListKayaRecords(path, header, rows, message), 0);
  EXPECT_EQ(rows.size(), 4u);
  EXPECT_EQ(state.Settings.KayaRecord, 1);

  // Read game 3, change it, put it back in its place.
  Choose(path, 3);
  ChooseGame(3);
  ASSERT_TRUE(Open().Loaded);
  LoadSfen("startpos", "5g5f");
  Choose(path, 3);
  ui.KayaSaveAnswers.push_back(KayaSaveChoice::kReplace);
  EXPECT_TRUE(Save().Saved) << ui.LastMessage();
  EXPECT_EQ(state.Settings.KayaRecord, 3);
  GameRecord read;
  ResetGameRecord(read);
  ASSERT_EQ(ReadKayaRecord(path, 3, read, message), 0);
  EXPECT_EQ(test::UsiMoves(read), "5g5f");
  ASSERT_EQ(ListKayaRecords(path, header, rows, message), 0);
  EXPECT_EQ(rows.size(), 4u);

  // キャンセル writes nothing.
  const std::string before = FileBytes(path);
  Choose(path, 3);
  ui.KayaSaveAnswers.push_back(KayaSaveChoice::kCancel);
  EXPECT_FALSE(Save().Saved);
  EXPECT_EQ(FileBytes(path), before);
}

TEST_F(RecordFileCommandsTest, AUrlIsReadByTheFormatsUrlReader) {
  test::TestHttpServer server({{"/game.kif", FileBytes(Data("kif/variations.kif"))},
                                       {"/game.csa", FileBytes(Data("csa/comments.csa"))}});
  for (RecordFormat format : {RecordFormat::kKif, RecordFormat::kCsa}) {
    InitProgramState(state);
    const std::string url = server.Url(format == RecordFormat::kKif ? "/game.kif" : "/game.csa");
    ui.UrlDialog.Answers.push_back([=](std::string& u) {
      u = url;
      return true;
    });
    EXPECT_TRUE(UrlOpenCommand(ctx, profile, settings, format).Loaded) << ui.LastMessage();
    EXPECT_GT(RecordMoveCount(state.Record), 0);
    EXPECT_TRUE(state.Notes.Tree.HasNotes());  // the comments come along
    EXPECT_EQ(profile.GetString("URL", format == RecordFormat::kKif ? "柿木" : "CSA", ""), url);
  }
  // The dialog starts from the last URL; a missing path, no server or a server that never
  // answers in time leaves the record, each with its message.
  const GameRecord before = state.Record;
  test::TestHttpServer silent({}, test::TestHttpServer::Answer::kNever);
  HttpLimits quick;
  quick.TotalTimeoutMs = 300;
  const struct {
    std::string url;
    const char* message;
  } failures[] = {
      {server.Url("/missing.csa"), "指定URLが存在しません。"},
      {test::TestHttpServer::RefusingUrl(), "指定URLが存在しません。"},
      {silent.Url("/game.csa"), "指定URLから時間内に応答がありません。"},
  };
  for (const auto& f : failures) {
    ui.UrlDialog.Answers.push_back([=](std::string& u) {
      u = f.url;
      return true;
    });
    EXPECT_FALSE(UrlOpenCommand(ctx, profile, settings, RecordFormat::kCsa, quick).Loaded);
    EXPECT_EQ(ui.Messages.back().Caption, "URL棋譜読み込み");
    EXPECT_EQ(ui.LastMessage(), f.message) << f.url;
    EXPECT_TRUE(std::memcmp(&before, &state.Record, sizeof before) == 0);
  }
  EXPECT_EQ(ui.UrlDialog.Shown[2], server.Url("/game.csa"));
  EXPECT_EQ(ui.ProgressEnds, 5);
}

// A download keeps the window's messages going with the progress box up; キャンセル ends it at
// once, with no box after it.
TEST_F(RecordFileCommandsTest, AUrlDownloadsWhileTheWindowRunsAndStopsOnCancel) {
  const std::string csa = FileBytes(Data("csa/even.csa"));
  test::TestHttpServer slow({{"/game.csa", csa}},
                                    test::TestHttpServer::Answer::kSlowly);
  test::TestHttpServer silent({}, test::TestHttpServer::Answer::kNever);
  int pumps = 0;
  ui.OnPump = [&] { ++pumps; };
  const auto open = [&](const std::string& url) {
    ui.UrlDialog.Answers.push_back([=](std::string& u) {
      u = url;
      return true;
    });
    return UrlOpenCommand(ctx, profile, settings, RecordFormat::kCsa).Loaded;
  };
  EXPECT_TRUE(open(slow.Url("/game.csa"))) << ui.LastMessage();
  EXPECT_GT(pumps, 5);
  ASSERT_FALSE(ui.ProgressTexts.empty());
  EXPECT_EQ(ui.ProgressTexts[0], slow.Url("/game.csa") + "\n接続しています…");
  const std::string whole = "／" + std::to_string(csa.size()) + "バイト";
  EXPECT_TRUE(std::any_of(ui.ProgressTexts.begin(), ui.ProgressTexts.end(), [&](auto& t) {
    return t.find("受信しています…") != std::string::npos && t.find(whole) != std::string::npos;
  }));

  const GameRecord before = state.Record;
  ui.ProgressAnswer = [](const std::string&) { return false; };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(open(silent.Url("/game.csa")));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(ui.Messages.empty()) << ui.LastMessage();
  EXPECT_EQ(ui.ProgressEnds, 2);
  EXPECT_TRUE(std::memcmp(&before, &state.Record, sizeof before) == 0);
  ui.OnPump = nullptr;
}

TEST_F(RecordFileCommandsTest, ThePalmCommandsWriteAndReadTheGame) {
  LoadSfen("startpos", "7g7f 3c3d");
  const std::string path = dir_.Path() + "game";
  ui.FileAnswers.push_back({true, path, 0});
  EXPECT_TRUE(PalmWriteCommand(ctx, profile, settings).Saved);
  EXPECT_EQ(ui.Messages.back().Caption, "PALM");
  EXPECT_EQ(ui.FileRequests.back().Title, "palm棋譜DBファイルへの書き込み");
  EXPECT_EQ(profile.GetString("ファイル名", "PALM", ""), path + ".PDB");
  EXPECT_EQ(std::filesystem::file_size(path + ".PDB"), 752u);

  InitProgramState(state);
  ui.FileAnswers.push_back({true, path + ".PDB", 0});
  EXPECT_TRUE(PalmReadCommand(ctx, profile, settings).Loaded);
  EXPECT_EQ(test::UsiMoves(state.Record), "7g7f 3c3d");
  ui.FileAnswers.push_back({true, dir_.Path() + "none.PDB", 0});
  EXPECT_FALSE(PalmReadCommand(ctx, profile, settings).Loaded);
  EXPECT_EQ(ui.Messages.back().Caption, "PALM");
  EXPECT_EQ(ui.LastMessage(), "ファイルが開けません。");
}

TEST_F(RecordFileCommandsTest, TimeUsedClearedThenOkZeroesEveryTime) {
  LoadSfen("startpos", "7g7f 3c3d 2g2f", {90, 30, 200});
  state.Record.PlyCount = 3;
  ui.TimeEditorDialog.Answers.push_back([](TimeEditor& editor) {
    editor.ClearAll();
    return true;
  });
  state.Record.Clocks[0] = 200;
  TimeUsedCommand(ctx);
  ASSERT_EQ(ui.TimeEditorDialog.Shown.size(), 1u);
  EXPECT_EQ(ui.TimeEditorDialog.Shown[0].Minutes()[2], 1);  // 200 s after 90 s
  for (int ply = 0; ply < 3; ++ply) EXPECT_EQ(state.Record.MoveTimes[ply], 0);
  EXPECT_EQ(state.Record.Clocks[0] + state.Record.Clocks[1], 0);  // taken from the new times

  // キャンセル changes nothing.
  LoadSfen("startpos", "7g7f", {90});
  ui.TimeEditorDialog.Answers.push_back([](TimeEditor& editor) {
    editor.ClearAll();
    return false;
  });
  TimeUsedCommand(ctx);
  EXPECT_EQ(state.Record.MoveTimes[0], 90);
}

}  // namespace
}  // namespace shogi

namespace shogi {
namespace {

// The lines and comments of a KIF file as `read --variations` lists them.
std::string KifListing(const std::string& path) {
  GameRecord record;
  RecordTree tree;
  std::string message;
  EXPECT_EQ(ReadRecord(RecordFormat::kKif, path, record, tree, message), 0) << message;
  return TreeListing(record, tree);
}

// Following a variation is no change to the file; making it the main line is, and the file
// then lists it first.
TEST_F(RecordFileCommandsTest, AVariationIsFollowedAndMadeTheMainLine) {
  Choose(Data("kif/variations.kif"), 1);
  ASSERT_TRUE(Open().Loaded);
  MarkRecordSaved(state);
  ShowPly(state, 3);
  const ShownVariations v = VariationsOfShownMove(state);
  EXPECT_EQ(v.Texts, (std::vector<std::string>{"▲２六歩", "▲２二角成"}));
  EXPECT_EQ(v.Current, 0);
  EXPECT_EQ(BuildScene(state, false).Moves[2], "▲２六歩+");
  Choose(dir_.Path() + "before.kif", 1);
  ASSERT_TRUE(Save().Saved);

  StepVariation(state, 1);
  EXPECT_EQ(Moves(), "7g7f 3c3d 8h2b+ 3a2b B*4e");
  EXPECT_EQ(state.Record.PlyCount, 3);
  EXPECT_FALSE(RecordUnsaved(state));
  Choose(dir_.Path() + "followed.kif", 1);
  ASSERT_TRUE(Save().Saved);
  EXPECT_EQ(FileBytes(dir_.Path() + "followed.kif"), FileBytes(dir_.Path() + "before.kif"));

  MakeShownLineMain(state);
  EXPECT_TRUE(RecordUnsaved(state));
  Choose(dir_.Path() + "main.kif", 1);
  ASSERT_TRUE(Save().Saved);
  const std::string listing = KifListing(dir_.Path() + "main.kif");
  EXPECT_EQ(listing.substr(0, listing.find('\n')), "line 0: 7g7f 3c3d 8h2b+ 3a2b B*4e");
  EXPECT_NE(listing.find("line 2: 7g7f 3c3d 2g2f 8c8d 2f2e 8d8e\n"), std::string::npos);
}

// A game started at a past position keeps the moves that followed as a variation while
// "変化を残す" is on, and cuts them when it is off; a comment typed at the shown position is
// saved with the record.
TEST_F(RecordFileCommandsTest, AGameAtAPastPositionKeepsTheOldMovesAsAVariation) {
  for (const bool keep : {true, false}) {
    SetUp();
    state.Display.KeepVariations = keep;
    LoadSfen("startpos", "7g7f 3c3d 2g2f 8c8d");
    SyncNotes(state);
    ShowPly(state, 2);
    ui.MessageAnswers.push_back(MessageAnswer::kNo);  // from here, not from the start
    StartGame(ctx, false);
    PersonMoves("6g6f");
    SuspendGame(ctx);
    SetShownComment(state, "新手\n");
    const std::string path = dir_.Path() + (keep ? "kept.kif" : "cut.kif");
    Choose(path, 1);
    ASSERT_TRUE(Save().Saved);
    EXPECT_EQ(KifListing(path), std::string("line 0: 7g7f 3c3d 6g6f\n") +
                                    (keep ? "line 1: 7g7f 3c3d 2g2f 8c8d\n" : "") +
                                    "comment 0 3: 新手\n")
        << keep;
  }
}

}  // namespace
}  // namespace shogi
