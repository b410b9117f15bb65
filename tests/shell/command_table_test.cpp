// The command table walked without a window: every command's enabling in every interaction
// state, the check marks, the menu layout, and what a disabled command or a click pumped
// during the computer's thinking leaves alone.
#include "shell/command_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "records/record_format.h"
#include "shell/menu_layout.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

using test::ScriptedComputer;

// Where the shown position stands in a record of two moves.
enum Situation { kAtStart, kInMiddle, kAtEnd, kSituations };
constexpr const char* kSituationNames[] = {"at the start", "in the middle", "at the end"};

// What each of the two databases is in a situation: not chosen in this run, chosen, or
// chosen with a current game (one read or registered: CurrentRecordNo ≥ 1).
enum DatabaseLevel { kNoDatabase, kChosen, kCurrentGame };
struct DatabaseSituation {
  const char* Name;
  DatabaseLevel Kisen, Tarvel;
};
constexpr DatabaseSituation kDatabaseSituations[] = {
    {"no database chosen", kNoDatabase, kNoDatabase},
    {"both chosen", kChosen, kChosen},
    {"both with a current game", kCurrentGame, kCurrentGame},
    {"only Kisen, with a current game", kCurrentGame, kNoDatabase},
    {"only Tarvel, with a current game", kNoDatabase, kCurrentGame},
};

// The states 0..5 in which a command is enabled, in each situation, as written in the menus'
// rules: "0" idle, "1" set-up, "2" a game, "3" the promotion choice, "4" a database command,
// "5" continuous replay. No command is enabled while busy (100 and above). A command of the
// database menus also needs its database to be at `Needs` at least.
struct Expectation {
  int Id;
  const char* Enabled[kSituations];
  DatabaseKind Database = DatabaseKind::kKisen;
  DatabaseLevel Needs = kNoDatabase;
};
constexpr const char* kAll = "012345";
const Expectation kExpected[] = {
    {kCmdReadKif, {"0", "0", "0"}},
    {kCmdReadKi2, {"0", "0", "0"}},
    {kCmdReadCsa, {"0", "0", "0"}},
    {kCmdSaveKif, {"0", "0", "0"}},
    {kCmdExit, {kAll, kAll, kAll}},
    {kCmdFlip, {"01245", "01245", "01245"}},
    {kCmdClockMinutes, {kAll, kAll, kAll}},
    {kCmdShowCoordinates, {kAll, kAll, kAll}},
    {kCmdShowLastMove, {kAll, kAll, kAll}},
    {kCmdShowPieceCounts, {kAll, kAll, kAll}},
    {kCmdShowTurn, {kAll, kAll, kAll}},
    {kCmdShowDestinations, {kAll, kAll, kAll}},
    {kCmdScale100, {kAll, kAll, kAll}},
    {kCmdScale150, {kAll, kAll, kAll}},
    {kCmdScale200, {kAll, kAll, kAll}},
    {kCmdShowExplorer, {kAll, kAll, kAll}},
    {kCmdKeepVariations, {kAll, kAll, kAll}},
    {kCmdShowNotes, {kAll, kAll, kAll}},
    {kCmdShowScoreGraph, {kAll, kAll, kAll}},
    {kCmdScaleFit, {kAll, kAll, kAll}},
    // The record here has no variation to go to or to make the main line.
    {kCmdPreviousVariation, {"", "", ""}},
    {kCmdNextVariation, {"", "", ""}},
    {kCmdMakeMainLine, {"", "", ""}},
    {kCmdWindowPosition, {kAll, kAll, kAll}},
    {kCmdStepForward, {"0", "0", ""}},
    {kCmdContinuousForward, {"0", "0", ""}},
    {kCmdToLast, {"0", "0", ""}},
    {kCmdStepBack, {"", "023", "023"}},
    {kCmdContinuousBack, {"", "0", "023"}},
    {kCmdToInitial, {"", "0", "0"}},
    {kCmdReplaySpeed, {"0", "0", "0"}},
    {kCmdStopReplay, {"23", "23", "23"}},
    {kCmdStartGame, {"0", "0", "0"}},
    {kCmdStartComputerGame, {"0", "0", "0"}},
    {kCmdSuspend, {"23", "23", "23"}},
    {kCmdResign, {"23", "23", "23"}},
    {kCmdConditions, {"023", "023", "023"}},
    {kCmdComputerConditions, {"23", "23", "23"}},
    {kCmdRepetitionCheck, {kAll, kAll, kAll}},
    {kCmdFirstToMove, {"01", "01", "01"}},
    {kCmdMateSetUp, {"01", "01", "01"}},
    {kCmdFreeSetUp, {"01", "01", "01"}},
    {kCmdEndSetUp, {"1", "1", "1"}},
    {kCmdMirror, {"01", "01", "01"}},
    {kCmdNewProblem, {"01", "01", "01"}},
    {kCmdEditProblem, {"01", "01", "01"}},
    {kCmdMate1, {"0", "0", "0"}},
    {kCmdMate2, {"0", "0", "0"}},
    {kCmdMate3, {"0", "0", "0"}},
    {kCmdMateDfpn, {"0", "0", "0"}},
    {kCmdMateInGame, {"0", "0", "0"}},
    {kCmdAbout, {kAll, kAll, kAll}},
    // The Bonanza menu's evaluation items look at the shown position when no set-up, database
    // command or replay changes it.
    {kCmdFvFile, {"023", "023", "023"}},
    {kCmdFvSum, {"023", "023", "023"}},
    {kCmdMaterial, {"023", "023", "023"}},
    {kCmdStaticEvaluation, {"023", "023", "023"}},
    {kCmdPieceValues, {"023", "023", "023"}},
    {kCmdBestMoves, {"023", "023", "023"}},
    // No database command runs while another one does (4). Choosing a database and opening a
    // list in the editor leave the game alone: every other state. The other items wait for
    // a database chosen in this run.
    {kCmdKisenFile, {"01235", "01235", "01235"}},
    {kCmdTarvelFile, {"01235", "01235", "01235"}},
    {kCmdTarvelFile2, {"01235", "01235", "01235"}},
    {kCmdKisenPlayers, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenTournaments, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenOpenings, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdTarvelPlayers, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelTournaments, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelOpenings, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    // Registering stores the record as it stands: a game's moves so far (with or without the
    // promotion choice open), the whole record during a replay; never in set-up, whose
    // position is not yet the record's start. 修正登録 needs a game to write over.
    {kCmdKisenRegister, {"0235", "0235", "0235"}, DatabaseKind::kKisen, kChosen},
    {kCmdTarvelRegister, {"0235", "0235", "0235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdKisenOverwrite, {"0235", "0235", "0235"}, DatabaseKind::kKisen, kCurrentGame},
    {kCmdTarvelOverwrite, {"0235", "0235", "0235"}, DatabaseKind::kTarvel, kCurrentGame},
    // A search and the list load a listed game over the record: as registration. The list's
    // order only changes the next list.
    {kCmdKisenSearch, {"0235", "0235", "0235"}, DatabaseKind::kKisen, kChosen},
    {kCmdTarvelSearch, {"0235", "0235", "0235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdKisenList, {"0235", "0235", "0235"}, DatabaseKind::kKisen, kChosen},
    {kCmdTarvelList, {"0235", "0235", "0235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdKisenReverse, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdTarvelReverse, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdKisenPositionIndex, {"0", "0", "0"}, DatabaseKind::kKisen, kChosen},
    {kCmdTarvelPositionIndex, {"0", "0", "0"}, DatabaseKind::kTarvel, kChosen},
    // The conversions and the book items ask for their own files: they only wait for another
    // database command to end.
    {kCmdKisenToTarvel, {"01235", "01235", "01235"}},
    {kCmdTarvelToKisen, {"01235", "01235", "01235"}},
    {kCmdTarvelToJsk, {"01235", "01235", "01235"}},
    {kCmdJskFile, {"01235", "01235", "01235"}},
    {kCmdBookLookup, {"01235", "01235", "01235"}},
    {kCmdBookFile, {"01235", "01235", "01235"}},
    {kCmdBuildBook, {"01235", "01235", "01235"}},
    // The whole-database items work on the chosen database as its lists do; ﾌｧｲﾙ削除 and
    // 将棋年鑑 ask for their own files.
    {kCmdKisenSort, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenDuplicates, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenMerge, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenMergeDistributed, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenRemove, {"01235", "01235", "01235"}},
    {kCmdKisenRenamePlayers, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenRenameTournaments, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdKisenRenameOpenings, {"01235", "01235", "01235"}, DatabaseKind::kKisen, kChosen},
    {kCmdTarvelSort, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelDuplicates, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelMerge, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelRemove, {"01235", "01235", "01235"}},
    {kCmdTarvelSwap, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelRenamePlayers, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelRenameTournaments, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdTarvelRenameOpenings, {"01235", "01235", "01235"}, DatabaseKind::kTarvel, kChosen},
    {kCmdYearbook, {"01235", "01235", "01235"}},
    // The outside engines: the list and 検討 (which also stops from any state) when idle.
    {kCmdEngines, {"0", "0", "0"}},
    {kCmdAnalysis, {"0", "0", "0"}},
    {kCmdRecordAnalysis, {"0", "0", "0"}},
    // Output and printing look at the shown game: idle or a game waiting for the person. No
    // output file is chosen here, which leaves the file-only texts disabled.
    {kCmdOutputFile, {"023", "023", "023"}},
    {kCmdStandardDiagram, {"023", "023", "023"}},
    {kCmdMailDiagram, {"023", "023", "023"}},
    {kCmdKayaDiagram, {"", "", ""}},
    {kCmdMergedDiagram, {"", "", ""}},
    {kCmdMoritaDiagram, {"", "", ""}},
    {kCmdStandardRecord, {"", "", ""}},
    {kCmdKayaRecord, {"", "", ""}},
    {kCmdRecordPrint, {"023", "023", "023"}},
    {kCmdDiagramPrint, {"023", "023", "023"}},
    {kCmdPrint, {"023", "023", "023"}},
    {kCmdPrintPreview, {"023", "023", "023"}},
    {kCmdPrintSetup, {"023", "023", "023"}},
    {kCmdProblemBitmap, {"023", "023", "023"}},
    // Copying reads the record and the shown position; a paste replaces the record as a read.
    {kCmdCopyKif, {"023", "023", "023"}},
    {kCmdCopySfen, {"023", "023", "023"}},
    {kCmdPasteRecord, {"0", "0", "0"}},
    {kCmdOpenRecord, {"0", "0", "0"}},
    {kCmdSaveRecord, {"0", "0", "0"}},
    {kCmdReadEisei, {"0", "0", "0"}},
    {kCmdUrlKif, {"0", "0", "0"}},
    {kCmdUrlCsa, {"0", "0", "0"}},
    {kCmdPalmRead, {"0", "0", "0"}},
    {kCmdPalmWrite, {"0", "0", "0"}},
    {kCmdTimeUsed, {"0", "0", "0"}},
};
// The presets and the 勝敗結果 items, whatever their number.
const Expectation kPresetExpected = {0, {"01", "01", "01"}};
const Expectation kResultExpected = {0, {kAll, kAll, kAll}};

const Expectation* ExpectationOf(const CommandRow& row) {
  if (row.Group == CommandGroup::kPresets) return &kPresetExpected;
  if (row.Group == CommandGroup::kResults) return &kResultExpected;
  for (const Expectation& e : kExpected) {
    if (e.Id == row.Id) return &e;
  }
  return nullptr;
}

constexpr int kBusyStates[] = {100, 101, 102, 103, 104, 105};

class CommandTableTest : public ShellFixture {
 protected:
  // The record "7g7f 3c3d" shown at ply 0, 1 or 2, in `interaction`, with the databases of
  // `databases`.
  void Situate(Situation where, int interaction,
               const DatabaseSituation& databases = kDatabaseSituations[0]) {
    InitProgramState(state);
    for (auto [selection, level] :
         {std::pair{&state.Kisen, databases.Kisen}, std::pair{&state.Tarvel, databases.Tarvel}}) {
      if (level >= kChosen) selection->Paths.Base = "/nowhere/games";
      if (level == kCurrentGame) selection->CurrentRecordNo = 3;
    }
    GameRecord& r = state.Record;
    ASSERT_TRUE(ParseUsiMove("7g7f", r.MoveList[0]));
    ASSERT_TRUE(ParseUsiMove("3c3d", r.MoveList[1]));
    r.MoveList[2] = MoveCode{};
    r.PlyCount = where == kAtStart ? 0 : where == kInMiddle ? 1 : 2;
    RebuildShown(state);
    state.InteractionState = interaction;
  }

  // What the commands may change, as one text.
  static std::string Fingerprint(const ProgramState& s) {
    const GameRecord& r = s.Record;
    std::ostringstream out;
    out << s.InteractionState << ' ' << r.StartIndex << ' ' << r.PlyCount << ' ' << r.ResultCode
        << ' ' << r.Clocks[0] << ' ' << r.Clocks[1] << ' ' << r.BoardFlipped << r.PlayerKind[0]
        << r.PlayerKind[1] << s.Settings.RepetitionCheck << s.Settings.ClockInMinutes << ' '
        << s.Settings.ReplayInterval << ' ' << s.Held.Active << ' ' << s.Message.Lines[0] << '|'
        << s.Message.Lines[1] << ' ' << r.FirstName << '|' << r.SecondName;
    for (const DatabaseSelection* d : {&s.Kisen, &s.Tarvel}) {
      out << " {" << d->Paths.Base << ' ' << d->CurrentRecordNo << ' ' << d->SearchCount << '}';
    }
    for (int i = 0; i < kMaxMoves && !IsEndMarker(r.MoveList[i]); ++i) {
      out << ' ' << FormatUsiMove(r.MoveList[i]);
    }
    for (const Position* p : {&s.Shown, &r.InitialPosition}) {
      out << " [" << ToSfen(*p, kFirst) << ' ' << int{p->King[0]} << ' ' << int{p->King[1]} << ']';
    }
    return out.str();
  }

  MemoryProfile profile;
  ProgramSettings settings;
  CommandEnv env{ctx, profile, settings};
};

TEST_F(CommandTableTest, EveryCommandIsEnabledAsTheMenusRulesSay) {
  for (const Expectation& e : kExpected) {
    // 読み込み（永世） is there only while its format has a reader.
    const bool absent =
        e.Id == kCmdReadEisei && RecordFormatRowOf(RecordFormat::kEisei).Read == nullptr;
    EXPECT_EQ(FindCommand(e.Id) == nullptr, absent) << e.Id;
  }
  for (const CommandRow& row : CommandTable()) {
    const Expectation* expected = ExpectationOf(row);
    ASSERT_NE(expected, nullptr) << row.Label << " has no expectation";
    for (int where = kAtStart; where < kSituations; ++where) {
      for (const DatabaseSituation& databases : kDatabaseSituations) {
        const DatabaseLevel level =
            expected->Database == DatabaseKind::kKisen ? databases.Kisen : databases.Tarvel;
        for (int s = 0; s <= 5; ++s) {
          Situate(static_cast<Situation>(where), s, databases);
          const bool enabled =
              std::strchr(expected->Enabled[where], '0' + s) != nullptr && level >= expected->Needs;
          EXPECT_EQ(CommandEnabled(state, row.Id), enabled)
              << row.Label << " in state " << s << ", " << kSituationNames[where] << ", "
              << databases.Name;
        }
        for (int s : kBusyStates) {
          Situate(static_cast<Situation>(where), s, databases);
          EXPECT_FALSE(CommandEnabled(state, row.Id)) << row.Label << " in state " << s;
        }
      }
    }
    // Nothing while a piece is being dragged (in set-up or in a game).
    for (int s : {kStateSetUp, kStateGame}) {
      Situate(kInMiddle, s);
      state.Held.Active = true;
      EXPECT_FALSE(CommandEnabled(state, row.Id)) << row.Label << " while dragging";
    }
  }
  EXPECT_FALSE(CommandEnabled(state, 0));
}

TEST_F(CommandTableTest, CheckMarksFollowTheState) {
  struct Case {
    const char* what;
    void (*arrange)(ProgramState&);
    std::set<int> checked;
  } cases[] = {
      {"start-up",
       [](ProgramState&) {},
       {kCmdRepetitionCheck, kCmdFirstToMove, ResultCommand(kResultNone), kCmdTarvelReverse,
        kCmdShowCoordinates, kCmdShowLastMove, kCmdShowPieceCounts, kCmdShowTurn, kCmdScale100,
        kCmdKeepVariations}},
      {"everything switched",
       [](ProgramState& s) {
         s.Record.BoardFlipped = true;
         s.Settings.ClockInMinutes = true;
         s.Settings.RepetitionCheck = false;
         s.Record.StartIndex = s.Record.PlyCount = 1;
         s.Record.ResultCode = kResultSecondWinsLater;
         s.Lists.Reverse[0] = true;
         s.Lists.Reverse[1] = false;
         s.Analysing = true;
         s.Display = {false, false, false, false, true, 200, false, true};
         s.ExplorerShown = true;
       },
       {kCmdFlip, kCmdClockMinutes, ResultCommand(kResultSecondWinsLater), kCmdKisenReverse,
        kCmdAnalysis, kCmdShowDestinations, kCmdScale200, kCmdShowExplorer, kCmdShowNotes}},
  };
  for (const Case& c : cases) {
    InitProgramState(state);
    c.arrange(state);
    for (const CommandRow& row : CommandTable()) {
      EXPECT_EQ(CommandChecked(state, row.Id), c.checked.count(row.Id) == 1)
          << row.Label << ", " << c.what;
    }
  }
}

// Every command has exactly one menu item, and every item and button names a command.
TEST_F(CommandTableTest, TheMenusPlaceEveryCommandOnce) {
  using namespace resources;
  std::multiset<int> placed;
  for (const MenuEntry& e : kMenuBar) {
    // Only the 永世 open may be left out of the table, while its format has no reader.
    if (e.Kind == MenuEntryKind::kCommand && FindCommand(e.Command) == nullptr) {
      EXPECT_EQ(e.Command, kCmdReadEisei);
      EXPECT_EQ(RecordFormatRowOf(RecordFormat::kEisei).Read, nullptr);
      continue;
    }
    if (e.Kind == MenuEntryKind::kCommand) placed.insert(e.Command);
    if (e.Kind != MenuEntryKind::kGroup) continue;
    for (const CommandRow& row : CommandTable()) {
      if (row.Group == e.Group) placed.insert(row.Id);
    }
  }
  for (const CommandRow& row : CommandTable()) {
    EXPECT_EQ(placed.count(row.Id), 1u) << row.Label;
  }
  EXPECT_EQ(placed.size(), CommandTable().size()) << "an item without a command";
  for (const ToolButton& b : kToolBar) {
    if (b.Command == 0) continue;
    const CommandRow* row = FindCommand(b.Command);
    ASSERT_NE(row, nullptr) << b.Command;
    EXPECT_NE(row->Prompt.find('\n'), std::string::npos) << row->Label << ": no tool tip";
  }
}

TEST_F(CommandTableTest, ADisabledCommandChangesNothingAndAsksNothing) {
  for (const CommandRow& row : CommandTable()) {
    for (int where = kAtStart; where < kSituations; ++where) {
      for (const DatabaseSituation& databases : kDatabaseSituations) {
        for (int s : {0, 1, 2, 3, 4, 5, 100, 102, 105}) {
          Situate(static_cast<Situation>(where), s, databases);
          if (CommandEnabled(state, row.Id)) continue;
          const std::string before = Fingerprint(state);
          const ViewUpdate u = RunCommand(env, row.Id);
          EXPECT_TRUE(u.Empty()) << row.Label << " in state " << s << ", " << databases.Name;
          EXPECT_EQ(Fingerprint(state), before) << row.Label << " in state " << s;
        }
      }
    }
  }
  EXPECT_TRUE(ui.Messages.empty());
  EXPECT_TRUE(ui.FileRequests.empty());
  EXPECT_TRUE(ui.ConditionsShown.empty());
  EXPECT_TRUE(ui.RecordFiles.empty());
  EXPECT_TRUE(ui.EditedFiles.empty());
  EXPECT_EQ(ui.CloseRequests, 0);
}

// A click pumped while the computer thinks reaches the menus; none of the commands may then
// act: the result items would mark a game that goes on, the others would change the game
// under the search. The computer's move is played as if nothing had been clicked.
TEST_F(CommandTableTest, APumpedClickWhileTheComputerThinksChangesNothing) {
  const int clicked[] = {ResultCommand(kResultFirstWins),
                         kCmdRepetitionCheck,
                         kCmdSuspend,
                         kCmdResign,
                         kCmdStepBack,
                         kCmdFirstToMove};
  for (int id : clicked) {
    InitProgramState(state);
    std::string during;
    computer.Replies.push_back(ScriptedComputer::Move("3c3d", [&] {
      during = Fingerprint(state);
      RunCommand(env, id);
      EXPECT_EQ(Fingerprint(state), during) << FindCommand(id)->Label;
    }));
    StartWith(kPersonPlayer, 1, true);
    PersonMove("7g7f");
    EXPECT_EQ(state.InteractionState, kStateGame) << FindCommand(id)->Label;
    EXPECT_EQ(Moves(), "7g7f 3c3d") << FindCommand(id)->Label;
    EXPECT_EQ(state.Record.ResultCode, kResultNone) << FindCommand(id)->Label;
    EXPECT_TRUE(state.Settings.RepetitionCheck) << FindCommand(id)->Label;
  }
}

// The commands that used to live in the window: their handlers need only the interface.
TEST_F(CommandTableTest, WindowCommandsGoThroughTheInterface) {
  const std::string kif = std::string(SHOGI_TEST_DATA) + "/kif/even.kif";
  const test::TempFolder folder;
  const std::string saved = folder.Path() + "saved.kif";
  ui.Placement = {123, 45};
  ui.FileAnswers = {{true, kif, 0}, {true, saved, 0}};
  ui.MessageAnswers = {MessageAnswer::kNo, MessageAnswer::kYes};

  RunCommand(env, kCmdWindowPosition);  // いいえ: nothing stored
  EXPECT_EQ(profile.GetInt(kSectionWindow, kKeyWindowX, -1), -1);
  RunCommand(env, kCmdWindowPosition);  // はい
  EXPECT_EQ(profile.GetInt(kSectionWindow, kKeyWindowX, -1), 123);
  EXPECT_EQ(profile.GetInt(kSectionWindow, kKeyWindowY, -1), 45);

  RunCommand(env, kCmdReadKif);
  ASSERT_EQ(ui.RecordFiles.size(), 1u) << ui.LastMessage();
  EXPECT_EQ(ui.RecordFiles[0].Path, kif);
  EXPECT_TRUE(ui.RecordFiles[0].Read);
  RunCommand(env, kCmdSaveKif);
  ASSERT_EQ(ui.RecordFiles.size(), 2u) << ui.LastMessage();
  EXPECT_EQ(ui.RecordFiles[1].Path, saved);
  EXPECT_FALSE(ui.RecordFiles[1].Read);

  RunCommand(env, kCmdAbout);
  EXPECT_EQ(ui.Messages.back().Caption, kAboutCaption);
  RunCommand(env, kCmdExit);
  EXPECT_EQ(ui.CloseRequests, 1);
}

}  // namespace
}  // namespace shogi
