// The command table and its dispatcher.
#include "shell/command_table.h"

#include <utility>

#include "shell/board_setup.h"
#include "shell/book_commands.h"
#include "shell/clipboard_commands.h"
#include "shell/conversion_commands.h"
#include "shell/database_commands.h"
#include "shell/dfpn_command.h"
#include "shell/display_options.h"
#include "shell/engine_commands.h"
#include "shell/record_analysis_commands.h"
#include "shell/evaluation_commands.h"
#include "shell/explorer_panel.h"
#include "shell/game_driver.h"
#include "shell/maintenance_commands.h"
#include "shell/mate_commands.h"
#include "shell/navigation.h"
#include "shell/output_commands.h"
#include "shell/record_commands.h"
#include "shell/record_notes.h"
#include "shell/search_commands.h"

namespace shogi {
namespace {

using Env = CommandEnv;

// --- handlers of the commands that belong to no other file ---

// ↑ and ↓ have a variation of the shown move to go to.
bool HasVariationBefore(const ProgramState& s) {
  return Idle(s) && VariationsOfShownMove(s, false).Current > 0;
}
bool HasVariationAfter(const ProgramState& s) {
  const ShownVariations v = VariationsOfShownMove(s, false);
  return Idle(s) && v.Current >= 0 && v.Current + 1 < static_cast<int>(v.Nodes.size());
}

// Shows the file's name in the title after a record command that read or wrote one; the
// record then counts as saved.
ViewUpdate ShowRecordResult(Env& e, const RecordCommandResult& r) {
  if (r.Loaded || r.Saved) {
    e.Ctx.Ui.ShowRecordFile(r.Path, r.Loaded);
    MarkRecordSaved(e.Ctx.State);
  }
  return r.Update;
}

ViewUpdate ReadRecord(Env& e, int format) {
  return ShowRecordResult(
      e, ReadRecordCommand(e.Ctx, e.UserProfile, e.Settings, static_cast<RecordFormat>(format)));
}

ViewUpdate SaveRecord(Env& e, int) {
  return ShowRecordResult(e, SaveKifCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate OpenRecord(Env& e, int) {
  return ShowRecordResult(e, GeneralOpenCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate SaveRecordAs(Env& e, int) {
  return ShowRecordResult(e, GeneralSaveCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate OpenUrl(Env& e, int format) {
  return ShowRecordResult(
      e, UrlOpenCommand(e.Ctx, e.UserProfile, e.Settings, static_cast<RecordFormat>(format)));
}
ViewUpdate ReadPalmFile(Env& e, int) {
  return ShowRecordResult(e, PalmReadCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate WritePalmFile(Env& e, int) {
  return ShowRecordResult(e, PalmWriteCommand(e.Ctx, e.UserProfile, e.Settings));
}

ViewUpdate CloseProgram(Env& e, int) {
  e.Ctx.Ui.CloseMainWindow();
  return {};
}

ViewUpdate ToggleBoardFlip(Env& e, int) {
  e.Ctx.State.Record.BoardFlipped = !e.Ctx.State.Record.BoardFlipped;
  ViewUpdate u;
  u.Redraw(kViewBoard);
  return u;
}

ViewUpdate ToggleClockInMinutes(Env& e, int) {
  e.Ctx.State.Settings.ClockInMinutes = !e.Ctx.State.Settings.ClockInMinutes;
  ViewUpdate u;
  u.Redraw(kViewClocks | kViewInfo);
  return u;
}

// "初期位置": the frame's present place becomes the place it opens at.
ViewUpdate StoreWindowPosition(Env& e, int) {
  if (e.Ctx.Ui.ShowMessage(kWindowPositionCaption, kWindowPositionQuestion, MessageButtons::kYesNo,
                           MessageIcon::kWarning) == MessageAnswer::kYes) {
    SaveWindowPlacement(e.UserProfile, e.Ctx.Ui.FramePlacement());
  }
  return {};
}

ViewUpdate ShowAbout(Env& e, int) {
  ShowInformation(e.Ctx.Ui, kAboutCaption, kAboutText);
  return {};
}

// The database menus: the argument is a DatabaseFileItem, a DatabaseKind or a NameList.
ViewUpdate ChooseDatabaseItem(Env& e, int item) {
  return ChooseDatabaseFile(e.Ctx, e.UserProfile, e.Settings, static_cast<DatabaseFileItem>(item));
}
ViewUpdate RegisterNew(Env& e, int kind) {
  return RegisterNewGame(e.Ctx, e.Settings.Folder, static_cast<DatabaseKind>(kind));
}
ViewUpdate RegisterOver(Env& e, int kind) {
  return RegisterOverCurrentGame(e.Ctx, e.Settings.Folder, static_cast<DatabaseKind>(kind));
}
ViewUpdate Search(Env& e, int kind) {
  return SearchDatabase(e.Ctx, e.Settings.Folder, static_cast<DatabaseKind>(kind));
}
ViewUpdate ListGames(Env& e, int kind) {
  return OpenGameList(e.Ctx, e.Settings.Folder, static_cast<DatabaseKind>(kind));
}
ViewUpdate ToggleReverse(Env& e, int kind) {
  return ToggleReverseList(e.Ctx, static_cast<DatabaseKind>(kind));
}
ViewUpdate EditKisenList(Env& e, int list) {
  return EditNameList(e.Ctx, e.Settings.Folder, DatabaseKind::kKisen, static_cast<NameList>(list));
}
ViewUpdate EditTarvelList(Env& e, int list) {
  return EditNameList(e.Ctx, e.Settings.Folder, DatabaseKind::kTarvel, static_cast<NameList>(list));
}

// The items both database menus have, and what tells them apart.
struct DatabaseMenu {
  DatabaseKind Kind;
  DatabaseFileItem FileItem;
  int File, Register, Overwrite, Players, Tournaments, Openings;  // the commands
  int SearchItem, ListItem, ReverseItem;
  EnableRule Registration, Overwriting, Lists, Searching;
  ViewUpdate (*EditList)(Env& e, int list);
};
constexpr DatabaseMenu kDatabaseMenus[] = {
    {DatabaseKind::kKisen, DatabaseFileItem::kKisen, kCmdKisenFile, kCmdKisenRegister,
     kCmdKisenOverwrite, kCmdKisenPlayers, kCmdKisenTournaments, kCmdKisenOpenings, kCmdKisenSearch,
     kCmdKisenList, kCmdKisenReverse, KisenRegistrationEnabled, KisenOverwriteEnabled,
     KisenListsEnabled, KisenSearchEnabled, EditKisenList},
    {DatabaseKind::kTarvel, DatabaseFileItem::kTarvel, kCmdTarvelFile, kCmdTarvelRegister,
     kCmdTarvelOverwrite, kCmdTarvelPlayers, kCmdTarvelTournaments, kCmdTarvelOpenings,
     kCmdTarvelSearch, kCmdTarvelList, kCmdTarvelReverse, TarvelRegistrationEnabled,
     TarvelOverwriteEnabled, TarvelListsEnabled, TarvelSearchEnabled, EditTarvelList},
};

void AddDatabaseMenuRows(std::vector<CommandRow>& rows) {
  for (const DatabaseMenu& m : kDatabaseMenus) {
    const DatabaseFormat& format = FormatOf(m.Kind);
    const std::string name = format.Caption;  // "棋泉" / "Tarvel"
    const int kind = static_cast<int>(m.Kind);
    rows.push_back({m.File, "ﾌｧｲﾙ名",
                    name + "データベースのファイルを設定する。\n" + name + "ﾌｧｲﾙ名",
                    ChooseDatabaseItem, static_cast<int>(m.FileItem), DatabaseFileItemsEnabled});
    rows.push_back({m.Register, "新規登録",
                    "表示中の棋譜を" + name + "データベースに新規登録する。\n" + name + "新規登録",
                    RegisterNew, kind, m.Registration});
    rows.push_back(
        {m.Overwrite, "修正登録",
         "表示中の棋譜で" + name + "データベースの現在の棋譜を置き換える。\n" + name + "修正登録",
         RegisterOver, kind, m.Overwriting});
    rows.push_back({m.SearchItem, "検索条件",
                    name + "データベースを条件で検索する。\n" + name + "検索条件", Search, kind,
                    m.Searching});
    rows.push_back({m.ListItem, "一覧表",
                    name + "データベースの棋譜の一覧を表示する。\n" + name + "一覧表", ListGames,
                    kind, m.Searching});
    rows.push_back({m.ReverseItem, "逆順表示",
                    name + "の一覧表を逆の順に表示する。\n" + name + "逆順表示", ToggleReverse,
                    kind, m.Lists, ReverseListChecked});
    const struct {
      int Id;
      NameList List;
      const char* Label;
      const char* What;
    } lists[] = {{m.Players, format.PlayerList, "棋士名変更", "棋士名"},
                 {m.Tournaments, format.TournamentList, "棋戦名変更", "棋戦名"},
                 {m.Openings, format.OpeningList, "戦型名変更", "戦型名"}};
    for (const auto& l : lists) {
      rows.push_back({l.Id, l.Label,
                      name + "の" + l.What + "リストをテキストエディタで編集する。\n" + l.Label,
                      m.EditList, static_cast<int>(l.List), m.Lists});
    }
  }
  rows.push_back({kCmdTarvelFile2, "ﾌｧｲﾙ名２",
                  "２番目のTarvelデータベースのファイルを設定する。\nTarvelﾌｧｲﾙ名２",
                  ChooseDatabaseItem, static_cast<int>(DatabaseFileItem::kTarvel2),
                  DatabaseFileItemsEnabled});
}

// The conversions of the Tarvel menu and the book items of the Bonanza menu. None runs during
// another database command; each asks for its own files.
void AddConversionAndBookRows(std::vector<CommandRow>& rows) {
  // clang-format off
  const CommandRow added[] = {
      {kCmdKisenToTarvel, "棋泉->Tarvel", "棋泉データベースをTarvelデータベースに変換する。\n棋泉->Tarvel",
       [](Env& e, int) { return ConvertDatabaseCommand(e.Ctx, e.Settings, kKisenToTarvel); }, 0,
       DatabaseFileItemsEnabled},
      {kCmdTarvelToKisen, "Tarvel->棋泉", "Tarvelデータベースを棋泉データベースに変換する。\nTarvel->棋泉",
       [](Env& e, int) { return ConvertDatabaseCommand(e.Ctx, e.Settings, kTarvelToKisen); }, 0,
       DatabaseFileItemsEnabled},
      {kCmdTarvelToJsk, "Tarvel->定跡", "Tarvelデータベースから定跡ファイルを作成する。\nTarvel->定跡",
       [](Env& e, int) { return WriteJskCommand(e.Ctx, e.Settings); }, 0, DatabaseFileItemsEnabled},
      {kCmdJskFile, "定跡ファイル", "コンピュータが使う定跡ファイルを設定する。\n定跡ファイル",
       [](Env& e, int) { return ChooseJskFile(e.Ctx, e.UserProfile, e.Settings); }, 0,
       DatabaseFileItemsEnabled},
      {kCmdBookLookup, "Book検索", "現在の局面をBonanzaのBookで検索する。\nBook検索",
       [](Env& e, int) { return LookUpBookCommand(e.Ctx, e.Settings); }, 0, DatabaseFileItemsEnabled},
      {kCmdBookFile, "Bookﾌｧｲﾙ名", "BonanzaのBookファイルを設定する。\nBookﾌｧｲﾙ名",
       [](Env& e, int) { return ChooseBookFile(e.Ctx, e.UserProfile, e.Settings); }, 0,
       DatabaseFileItemsEnabled},
      {kCmdBuildBook, "Tarvel->Book", "TarvelデータベースからBonanzaのBookを作成する。\nTarvel->Book",
       [](Env& e, int) { return BuildBookCommand(e.Ctx, e.UserProfile); }, 0, DatabaseFileItemsEnabled},
  };
  // clang-format on
  rows.insert(rows.end(), std::begin(added), std::end(added));
}

// The whole-database items of the two menus: the argument is the DatabaseKind, or for the bulk
// changes the RenamedList. Those on the chosen database are enabled as its lists; ﾌｧｲﾙ削除
// and 将棋年鑑 ask for their own files.
void AddMaintenanceRows(std::vector<CommandRow>& rows) {
  constexpr int kKisen = static_cast<int>(DatabaseKind::kKisen);
  constexpr int kTarvel = static_cast<int>(DatabaseKind::kTarvel);
  const auto sort = [](Env& e, int kind) {
    return SortCommand(e.Ctx, static_cast<DatabaseKind>(kind));
  };
  const auto dupes = [](Env& e, int kind) {
    return DuplicateCheckCommand(e.Ctx, e.Settings.Folder, static_cast<DatabaseKind>(kind));
  };
  const auto merge = [](Env& e, int kind) {
    return MergeCommand(e.Ctx, e.Settings, static_cast<DatabaseKind>(kind));
  };
  const auto remove = [](Env& e, int kind) {
    return RemoveDatabaseCommand(e.Ctx, e.Settings, static_cast<DatabaseKind>(kind));
  };
  const auto kisen_rename = [](Env& e, int list) {
    return RenameNumbersCommand(e.Ctx, DatabaseKind::kKisen, static_cast<RenamedList>(list));
  };
  const auto tarvel_rename = [](Env& e, int list) {
    return RenameNumbersCommand(e.Ctx, DatabaseKind::kTarvel, static_cast<RenamedList>(list));
  };
  constexpr int kPlayers = static_cast<int>(RenamedList::kPlayers);
  constexpr int kTournaments = static_cast<int>(RenamedList::kTournaments);
  constexpr int kOpenings = static_cast<int>(RenamedList::kOpenings);
  // clang-format off
  const CommandRow added[] = {
      {kCmdKisenSort, "ソート", "棋泉データベースを日付順に並べ替える。\nソート", sort, kKisen, KisenListsEnabled},
      {kCmdKisenDuplicates, "重複ﾁｪｯｸ", "棋泉データベースの重複した棋譜を探す。\n重複ﾁｪｯｸ", dupes, kKisen, KisenListsEnabled},
      {kCmdKisenMerge, "ﾌｧｲﾙ合併", "別の棋泉データベースを追加する。\nﾌｧｲﾙ合併", merge, kKisen, KisenListsEnabled},
      {kCmdKisenMergeDistributed, "配布ﾃﾞｰﾀ合併", "配布された棋泉データを合併する。\n配布ﾃﾞｰﾀ合併",
       [](Env& e, int) { return MergeDistributedCommand(e.Ctx, e.UserProfile, e.Settings); }, 0, KisenListsEnabled},
      {kCmdKisenRemove, "ﾌｧｲﾙ削除", "棋泉データベースのファイルを削除する。\nﾌｧｲﾙ削除", remove, kKisen, DatabaseFileItemsEnabled},
      {kCmdKisenRenamePlayers, "棋士一括変更", "棋士番号を一括して変更する。\n棋士一括変更", kisen_rename, kPlayers, KisenListsEnabled},
      {kCmdKisenRenameTournaments, "棋戦一括変更", "棋戦番号を一括して変更する。\n棋戦一括変更", kisen_rename, kTournaments, KisenListsEnabled},
      {kCmdKisenRenameOpenings, "戦型一括変更", "戦型番号を一括して変更する。\n戦型一括変更", kisen_rename, kOpenings, KisenListsEnabled},
      {kCmdTarvelSort, "ソート", "Tarvelデータベースを日付順に並べ替える。\nソート", sort, kTarvel, TarvelListsEnabled},
      {kCmdTarvelDuplicates, "重複ﾁｪｯｸ", "Tarvelデータベースの重複した棋譜を探す。\n重複ﾁｪｯｸ", dupes, kTarvel, TarvelListsEnabled},
      {kCmdTarvelMerge, "ﾌｧｲﾙ合併", "別のTarvelデータベースを追加する。\nﾌｧｲﾙ合併", merge, kTarvel, TarvelListsEnabled},
      {kCmdTarvelRemove, "ﾌｧｲﾙ削除", "Tarvelデータベースのファイルを削除する。\nﾌｧｲﾙ削除", remove, kTarvel, DatabaseFileItemsEnabled},
      {kCmdTarvelSwap, "入れ換え", "２つの棋譜の順番を入れ換える。\n入れ換え",
       [](Env& e, int) { return SwapGamesCommand(e.Ctx); }, 0, TarvelListsEnabled},
      {kCmdTarvelRenamePlayers, "棋士一括変更", "棋士名を一括して変更する。\n棋士一括変更",
       [](Env& e, int) { return RenamePlayerNamesCommand(e.Ctx, e.Settings.Folder); }, 0, TarvelListsEnabled},
      {kCmdTarvelRenameTournaments, "棋戦一括変更", "棋戦番号を一括して変更する。\n棋戦一括変更", tarvel_rename, kTournaments, TarvelListsEnabled},
      {kCmdTarvelRenameOpenings, "戦型一括変更", "戦型番号を一括して変更する。\n戦型一括変更", tarvel_rename, kOpenings, TarvelListsEnabled},
      {kCmdYearbook, "将棋年鑑", "将棋年鑑のデータをTarvelデータベースに変換する。\n将棋年鑑",
       [](Env& e, int) { return YearbookCommand(e.Ctx); }, 0, DatabaseFileItemsEnabled},
  };
  // clang-format on
  rows.insert(rows.end(), std::begin(added), std::end(added));
}

// --- check-mark rules ---

bool BoardFlipped(const ProgramState& s, int) {
  return s.Record.BoardFlipped;
}
bool ClockInMinutes(const ProgramState& s, int) {
  return s.Settings.ClockInMinutes;
}
bool RepetitionCheckOn(const ProgramState& s, int) {
  return s.Settings.RepetitionCheck;
}
bool FirstPlayerStarts(const ProgramState& s, int) {
  return s.Record.StartIndex == 0;
}
bool ResultIs(const ProgramState& s, int result_code) {
  return s.Record.ResultCode == result_code;
}

// The general open and save, the 永世 open (while the format table has its reader), the URL
// opens, the Palm file and the time-used editor.
void AddRecordFileRows(std::vector<CommandRow>& rows) {
  // clang-format off
  rows.push_back({kCmdOpenRecord, "読み込み", "棋譜ファイルを形式を選んで読み込む。\n読み込み",
                  OpenRecord, 0, RecordCommandsEnabled});
  rows.push_back({kCmdSaveRecord, "書き込み", "棋譜ファイルを形式を選んで書き込む。\n書き込み",
                  SaveRecordAs, 0, RecordCommandsEnabled});
  if (RecordFormatRowOf(RecordFormat::kEisei).Read != nullptr)
    rows.push_back({kCmdReadEisei, "読み込み（永世）", "永世名人形式の棋譜を読み込む。\n読み込み（永世）",
                    ReadRecord, static_cast<int>(RecordFormat::kEisei), RecordCommandsEnabled});
  rows.push_back({kCmdUrlKif, "URL読み込み（柿木）", "URLから柿木形式の棋譜を読み込む。\nURL読み込み（柿木）",
                  OpenUrl, static_cast<int>(RecordFormat::kKif), RecordCommandsEnabled});
  rows.push_back({kCmdUrlCsa, "URL読み込み（CSA）", "URLからCSA形式の棋譜を読み込む。\nURL読み込み（CSA）",
                  OpenUrl, static_cast<int>(RecordFormat::kCsa), RecordCommandsEnabled});
  rows.push_back({kCmdPalmRead, "palm読込", "palm棋譜DBファイルから棋譜を読み込む。\npalm読込",
                  ReadPalmFile, 0, RecordCommandsEnabled});
  rows.push_back({kCmdPalmWrite, "palm書込", "palm棋譜DBファイルへ棋譜を書き込む。\npalm書込",
                  WritePalmFile, 0, RecordCommandsEnabled});
  rows.push_back({kCmdTimeUsed, "消費時間", "各指し手の消費時間を設定する。\n消費時間",
                  [](Env& e, int) { return TimeUsedCommand(e.Ctx); }, 0, Idle});
  // clang-format on
}

std::vector<CommandRow> BuildTable() {
  // clang-format off
  std::vector<CommandRow> rows = {
      {kCmdReadKif, "読み込み（柿木）", "柿木形式の棋譜を読み込む。\n読み込み（柿木）",
       ReadRecord, static_cast<int>(RecordFormat::kKif), RecordCommandsEnabled},
      {kCmdReadKi2, "読み込み（柿木2）平手のみ", "柿木形式(ki2)の棋譜を読み込む。\n読み込み（柿木2）",
       ReadRecord, static_cast<int>(RecordFormat::kKi2), RecordCommandsEnabled},
      {kCmdReadCsa, "読み込み(CSA)", "CSA形式の棋譜を読み込む。\n読み込み(CSA)",
       ReadRecord, static_cast<int>(RecordFormat::kCsa), RecordCommandsEnabled},
      {kCmdSaveKif, "書き込み（柿木）", "棋譜を柿木形式で書き込む。\n書き込み（柿木）",
       SaveRecord, 0, RecordCommandsEnabled},
      {kCmdExit, "終了", "プログラムを終了する。\n終了", CloseProgram, 0, AnyState},
      {kCmdFlip, "反転表示", "盤面を後手側から表示する。\n反転表示",
       ToggleBoardFlip, 0, NoPromotionChoice, BoardFlipped},
      {kCmdClockMinutes, "時計（分単位）", "時計を分単位で表示する。\n時計（分単位）",
       ToggleClockInMinutes, 0, AnyState, ClockInMinutes},
      {kCmdWindowPosition, "初期位置", "画面の初期位置を設定する。\n初期位置",
       StoreWindowPosition, 0, AnyState},
      {kCmdStepForward, "１手進める", "１手進める。\n１手再現",
       [](Env& e, int) { return StepForward(e.Ctx.State); }, 0, IdleWithMoveAhead},
      {kCmdContinuousForward, "連続再現", "連続再現。\n連続再現",
       [](Env& e, int) { return StartContinuousForward(e.Ctx.State); }, 0, IdleWithMoveAhead},
      {kCmdToLast, "最終局面図", "最後の局面まで進める。\n最終局面図",
       [](Env& e, int) { return ToLastPosition(e.Ctx.State); }, 0, IdleWithMoveAhead},
      {kCmdStepBack, "１手戻す", "１手戻す。\n１手戻す",
       [](Env& e, int) { return StepBack(e.Ctx); }, 0, StepBackAllowed},
      {kCmdContinuousBack, "連続して戻す、または待った", "連続して戻す、または待った。\n連続して戻す、または待った",
       [](Env& e, int) { return ContinuousBack(e.Ctx); }, 0, ContinuousBackAllowed},
      {kCmdToInitial, "初期局面図", "初期の局面まで戻す。\n初期局面図",
       [](Env& e, int) { return ToInitialPosition(e.Ctx.State); }, 0, IdleWithMoveBehind},
      {kCmdReplaySpeed, "再現スピード", "再現のスピードを決める。\nスピード",
       [](Env& e, int) { return ChooseReplaySpeed(e.Ctx); }, 0, Idle},
      {kCmdStopReplay, "再現中断", "棋譜再現を中止する。\n再現中断",
       [](Env& e, int) { return StopReplayCommand(e.Ctx.State); }, 0, InGame},
      {kCmdPreviousVariation, "前の変化", "この手の前の変化を表示する。\n前の変化 (↑)",
       [](Env& e, int) { return StepVariation(e.Ctx.State, -1); }, 0, HasVariationBefore},
      {kCmdNextVariation, "次の変化", "この手の次の変化を表示する。\n次の変化 (↓)",
       [](Env& e, int) { return StepVariation(e.Ctx.State, 1); }, 0, HasVariationAfter},
      {kCmdMakeMainLine, "本譜にする", "表示している変化を本譜にする。\n本譜にする",
       [](Env& e, int) { return MakeShownLineMain(e.Ctx.State); }, 0,
       [](const ProgramState& s) { return Idle(s) && FollowsVariation(s); }},
      {kCmdStartGame, "対局開始", "対局を開始する。\n対局開始",
       [](Env& e, int) { return StartGame(e.Ctx, false); }, 0, Idle},
      {kCmdStartComputerGame, "ｺﾝﾋﾟｭｰﾀ対局", "コンピュータと対局する。\nｺﾝﾋﾟｭｰﾀ対局",
       [](Env& e, int) { return StartGame(e.Ctx, true); }, 0, Idle},
      {kCmdSuspend, "対局中断", "対局を中断する。\n対局中断",
       [](Env& e, int) { return SuspendGame(e.Ctx); }, 0, InGame},
      {kCmdResign, "投了", "手番の側が投了する。\n投了",
       [](Env& e, int) { return ResignGame(e.Ctx); }, 0, InGame},
      {kCmdConditions, "対局条件", "対局条件を設定する。\n対局条件",
       [](Env& e, int) { return EditConditions(e.Ctx, false); }, 0, IdleOrInGame},
      {kCmdComputerConditions, "ｺﾝﾋﾟｭｰﾀ対局条件", "対局中に対局者を変更する。\nｺﾝﾋﾟｭｰﾀ対局条件",
       [](Env& e, int) { return EditConditions(e.Ctx, true); }, 0, InGame},
      {kCmdRepetitionCheck, "千日手チェック", "千日手を判定する。\n千日手チェック",
       [](Env& e, int) { return ToggleRepetitionCheck(e.Ctx); }, 0, AnyState, RepetitionCheckOn},
      {kCmdFirstToMove, "先手番", "先手番と後手番を切り替える。\n先手番",
       [](Env& e, int) { return ToggleFirstToMove(e.Ctx.State); }, 0, IdleOrSettingUp, FirstPlayerStarts},
      {kCmdMateSetUp, "詰設定", "詰将棋の局面を設定する。\n詰設定",
       [](Env& e, int) { return StartMateSetUp(e.Ctx.State); }, 0, IdleOrSettingUp},
      {kCmdFreeSetUp, "自由設定", "現在の局面を自由に設定する。\n自由設定",
       [](Env& e, int) { return StartFreeSetUp(e.Ctx.State); }, 0, IdleOrSettingUp},
      {kCmdEndSetUp, "設定終了", "局面の設定を終了する。\n設定終了",
       [](Env& e, int) { return EndSetUp(e.Ctx.State); }, 0, SettingUp},
      {kCmdMirror, "反転局面", "先後を入れ替えた局面にする。\n反転局面",
       [](Env& e, int) { return MirrorPosition(e.Ctx.State); }, 0, IdleOrSettingUp},
      {kCmdNewProblem, "新規作成", "詰将棋の局面を設定する。\n新規作成",
       [](Env& e, int) { return StartMateSetUp(e.Ctx.State); }, 0, IdleOrSettingUp},
      {kCmdEditProblem, "問題修正", "現在の局面を自由に設定する。\n問題修正",
       [](Env& e, int) { return StartFreeSetUp(e.Ctx.State); }, 0, IdleOrSettingUp},
      {kCmdMate1, "詰将棋１", "詰将棋を解く。\n詰将棋１",
       [](Env& e, int) { return SolveMateProblem(e.Ctx, 1); }, 0, MateCommandEnabled},
      {kCmdMate2, "詰将棋２", "詰将棋を解く。\n詰将棋２",
       [](Env& e, int) { return SolveMateProblem(e.Ctx, 2); }, 0, MateCommandEnabled},
      {kCmdMate3, "詰将棋３", "開始手数を指定して詰将棋を解く。\n詰将棋３",
       [](Env& e, int) { return SolveMateProblemFrom(e.Ctx); }, 0, MateCommandEnabled},
      {kCmdMateDfpn, "詰将棋（df-pn）", "証明数探索で詰将棋を解く。\n詰将棋（df-pn）",
       [](Env& e, int) { return SolveMateByDfpn(e.Ctx, e.UserProfile); }, 0, MateCommandEnabled},
      {kCmdMateInGame, "実戦詰将棋", "現在の局面において、詰みがあるかどうか解析する。\n実戦詰将棋",
       [](Env& e, int) { return FindMateInGame(e.Ctx); }, 0, MateCommandEnabled},
      // The Bonanza menu's evaluation items look at the shown position: idle, or a game
      // waiting for the person.
      {kCmdFvFile, "fvﾌｧｲﾙ名", "評価関数ファイルを設定する。\nfvﾌｧｲﾙ名",
       [](Env& e, int) { return ChooseFvFile(e.Ctx, e.UserProfile, e.Settings); }, 0, IdleOrInGame},
      {kCmdFvSum, "fv計算", "現在の局面の評価関数値を計算する。\nfv計算",
       [](Env& e, int) { return ShowFvSum(e.Ctx, e.Settings); }, 0, IdleOrInGame},
      {kCmdMaterial, "駒の損得", "現在の局面の駒の損得を計算する。\n駒の損得",
       [](Env& e, int) { return ShowMaterial(e.Ctx, e.Settings); }, 0, IdleOrInGame},
      {kCmdStaticEvaluation, "静的評価", "現在の局面を静的に評価する。\n静的評価",
       [](Env& e, int) { return ShowStaticEvaluation(e.Ctx, e.Settings); }, 0, IdleOrInGame},
      {kCmdPieceValues, "駒の価値設定", "評価に使う駒の価値を設定する。\n駒の価値設定",
       [](Env& e, int) { return EditPieceValueSettings(e.Ctx, e.UserProfile, e.Settings); }, 0, IdleOrInGame},
      {kCmdBestMoves, "最善手検索", "現在の局面の指し手を静的評価の順に並べる。\n最善手検索",
       [](Env& e, int) { return SearchBestMoves(e.Ctx, e.Settings); }, 0, IdleOrInGame},
      {kCmdAbout, "バージョン情報", "プログラム情報、バージョン、著作権を表示する。\nバージョン情報",
       ShowAbout, 0, AnyState},
  };
  // clang-format on
  AddDatabaseMenuRows(rows);
  AddConversionAndBookRows(rows);
  AddMaintenanceRows(rows);
  AddEngineRows(rows);
  AddRecordAnalysisRows(rows);
  AddOutputRows(rows);
  AddClipboardRows(rows);
  AddDisplayRows(rows);
  AddExplorerRows(rows);
  AddRecordFileRows(rows);
  for (int preset = kPresetEven; preset < kPresetCount; ++preset) {
    rows.push_back({PresetCommand(preset), StartPresetName(preset), "",
                    [](Env& e, int p) { return LoadPreset(e.Ctx.State, p); }, preset,
                    IdleOrSettingUp, nullptr, CommandGroup::kPresets});
  }
  for (int code = 0; code < kResultCodeCount; ++code) {
    rows.push_back({ResultCommand(code), ResultMenuText(code), "",
                    [](Env& e, int c) { return ChooseResult(e.Ctx.State, c); }, code, AnyState,
                    ResultIs, CommandGroup::kResults});
  }
  return rows;
}

}  // namespace

int PresetCommand(int preset) {
  return kCmdFirstPreset + preset - kPresetEven;
}

int ResultCommand(int result_code) {
  return kCmdFirstResult + result_code;
}

const std::vector<CommandRow>& CommandTable() {
  static const std::vector<CommandRow> table = BuildTable();
  return table;
}

const CommandRow* FindCommand(int id) {
  for (const CommandRow& row : CommandTable()) {
    if (row.Id == id) return &row;
  }
  return nullptr;
}

bool CommandEnabled(const ProgramState& state, int id) {
  const CommandRow* row = FindCommand(id);
  if (!row || IsBusyState(state.InteractionState) || state.Held.Active) return false;
  return row->Enabled(state);
}

bool CommandChecked(const ProgramState& state, int id) {
  const CommandRow* row = FindCommand(id);
  return row && row->Checked && row->Checked(state, row->Arg);
}

ViewUpdate RunCommand(CommandEnv& env, int id) {
  if (!CommandEnabled(env.Ctx.State, id)) return {};
  const CommandRow* row = FindCommand(id);
  // A piece picked by a click waits no longer: the command may change the position.
  env.Ctx.State.Selected = {};
  // The tree of comments and variations sees the record as the command finds it.
  SyncNotes(env.Ctx.State);
  ViewUpdate update = row->Run(env, row->Arg);
  // A sort, a duplicate check or a bulk change asks for its database's list.
  for (const auto& [part, kind] : {std::pair{kViewOpenKisenList, DatabaseKind::kKisen},
                                   std::pair{kViewOpenTarvelList, DatabaseKind::kTarvel}}) {
    if (update.Parts & part) update.Merge(OpenGameList(env.Ctx, env.Settings.Folder, kind));
  }
  return update;
}

}  // namespace shogi
