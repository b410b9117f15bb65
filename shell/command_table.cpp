// The command table and its dispatcher.
#include "shell/command_table.h"

#include <utility>

#include "shell/board_setup.h"
#include "shell/book_commands.h"
#include "shell/clipboard_commands.h"
#include "shell/conversion_commands.h"
#include "shell/database_commands.h"
#include "shell/dfpn_command.h"
#include "shell/display_commands.h"
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
    e.Ctx.View.ShowRecordFile(r.Path, r.Loaded);
    MarkRecordSaved(e.Ctx.State);
  }
  return r.Update;
}

ViewUpdate ReadRecordItem(Env& e, int format) {
  return ShowRecordResult(
      e, ReadRecordCommand(e.Ctx, e.UserProfile, e.Settings, static_cast<RecordFormat>(format)));
}

ViewUpdate SaveKifItem(Env& e, int) {
  return ShowRecordResult(e, SaveKifCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate OpenRecordItem(Env& e, int) {
  return ShowRecordResult(e, GeneralOpenCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate SaveRecordAsItem(Env& e, int) {
  return ShowRecordResult(e, GeneralSaveCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate OpenUrlItem(Env& e, int format) {
  return ShowRecordResult(
      e, UrlOpenCommand(e.Ctx, e.UserProfile, e.Settings, static_cast<RecordFormat>(format)));
}
ViewUpdate ReadPalmItem(Env& e, int) {
  return ShowRecordResult(e, PalmReadCommand(e.Ctx, e.UserProfile, e.Settings));
}
ViewUpdate WritePalmItem(Env& e, int) {
  return ShowRecordResult(e, PalmWriteCommand(e.Ctx, e.UserProfile, e.Settings));
}

ViewUpdate CloseProgram(Env& e, int) {
  e.Ctx.View.CloseMainWindow();
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
    SaveWindowPlacement(e.UserProfile, e.Ctx.View.FramePlacement());
  }
  return {};
}

ViewUpdate ShowAbout(Env& e, int) {
  ShowInformation(e.Ctx.Ui, kAboutCaption, kAboutText);
  return {};
}

// The database menus: the argument is the DatabaseKind (ﾌｧｲﾙ名２: the DatabaseFileItem).
DatabaseKind KindOf(int kind) {
  return static_cast<DatabaseKind>(kind);
}
ViewUpdate ChooseDatabaseItem(Env& e, int item) {
  return ChooseDatabaseFile(e.Ctx, e.UserProfile, e.Settings, static_cast<DatabaseFileItem>(item));
}
ViewUpdate ChooseKindFile(Env& e, int kind) {
  return ChooseDatabaseItem(e, static_cast<int>(MenuKindOf(KindOf(kind)).FileItem));
}
ViewUpdate RegisterNew(Env& e, int kind) {
  return RegisterNewGame(e.Ctx, e.Settings.Folder, KindOf(kind));
}
ViewUpdate RegisterOver(Env& e, int kind) {
  return RegisterOverCurrentGame(e.Ctx, e.Settings.Folder, KindOf(kind));
}
ViewUpdate SearchItem(Env& e, int kind) {
  return SearchDatabase(e.Ctx, e.Settings.Folder, KindOf(kind));
}
ViewUpdate ListGames(Env& e, int kind) {
  return OpenGameList(e.Ctx, e.Settings.Folder, KindOf(kind));
}
ViewUpdate ToggleReverse(Env& e, int kind) {
  return ToggleReverseList(e.Ctx, KindOf(kind));
}
template <NameList DatabaseFormat::*List>
ViewUpdate EditListItem(Env& e, int kind) {
  return EditNameList(e.Ctx, e.Settings.Folder, KindOf(kind), FormatOf(KindOf(kind)).*List);
}
ViewUpdate SortItem(Env& e, int kind) {
  return SortCommand(e.Ctx, KindOf(kind));
}
ViewUpdate DuplicatesItem(Env& e, int kind) {
  return DuplicateCheckCommand(e.Ctx, e.Settings.Folder, KindOf(kind));
}
ViewUpdate MergeItem(Env& e, int kind) {
  return MergeCommand(e.Ctx, e.Settings, KindOf(kind));
}
ViewUpdate RemoveItem(Env& e, int kind) {
  return RemoveDatabaseCommand(e.Ctx, e.Settings, KindOf(kind));
}
template <RenamedList List>
ViewUpdate RenameItem(Env& e, int kind) {
  return RenameNumbersCommand(e.Ctx, KindOf(kind), List);
}
ViewUpdate BuildIndexItem(Env& e, int kind) {
  return BuildIndexCommand(e.Ctx, KindOf(kind));
}

// An item both database menus have: its command in the kind's descriptor, its label, its
// prompt with "{}" for the database's name, its handler and rules; the argument is the kind.
struct DatabaseItem {
  int DatabaseMenuKind::*Command;
  const char* Label;
  const char* Prompt;
  ViewUpdate (*Run)(Env& e, int kind);
  EnableRule Enabled;
  bool (*Checked)(const ProgramState& state, int kind) = nullptr;
};
constexpr DatabaseItem kDatabaseItems[] = {
    {&DatabaseMenuKind::File, "ﾌｧｲﾙ名", "{}データベースのファイルを設定する。\n{}ﾌｧｲﾙ名",
     ChooseKindFile, DatabaseFileItemsEnabled},
    {&DatabaseMenuKind::Register, "新規登録",
     "表示中の棋譜を{}データベースに新規登録する。\n{}新規登録", RegisterNew,
     RegistrationEnabledFor},
    {&DatabaseMenuKind::Overwrite, "修正登録",
     "表示中の棋譜で{}データベースの現在の棋譜を置き換える。\n{}修正登録", RegisterOver,
     OverwriteEnabledFor},
    {&DatabaseMenuKind::Search, "検索条件", "{}データベースを条件で検索する。\n{}検索条件",
     SearchItem, RegistrationEnabledFor},
    {&DatabaseMenuKind::List, "一覧表", "{}データベースの棋譜の一覧を表示する。\n{}一覧表",
     ListGames, RegistrationEnabledFor},
    {&DatabaseMenuKind::Reverse, "逆順表示", "{}の一覧表を逆の順に表示する。\n{}逆順表示",
     ToggleReverse, ListsEnabledFor, ReverseListChecked},
    {&DatabaseMenuKind::EditPlayers, "棋士名変更",
     "{}の棋士名リストをテキストエディタで編集する。\n棋士名変更",
     EditListItem<&DatabaseFormat::PlayerList>, ListsEnabledFor},
    {&DatabaseMenuKind::EditTournaments, "棋戦名変更",
     "{}の棋戦名リストをテキストエディタで編集する。\n棋戦名変更",
     EditListItem<&DatabaseFormat::TournamentList>, ListsEnabledFor},
    {&DatabaseMenuKind::EditOpenings, "戦型名変更",
     "{}の戦型名リストをテキストエディタで編集する。\n戦型名変更",
     EditListItem<&DatabaseFormat::OpeningList>, ListsEnabledFor},
    {&DatabaseMenuKind::Sort, "ソート", "{}データベースを日付順に並べ替える。\nソート", SortItem,
     ListsEnabledFor},
    {&DatabaseMenuKind::Duplicates, "重複ﾁｪｯｸ", "{}データベースの重複した棋譜を探す。\n重複ﾁｪｯｸ",
     DuplicatesItem, ListsEnabledFor},
    {&DatabaseMenuKind::Merge, "ﾌｧｲﾙ合併", "別の{}データベースを追加する。\nﾌｧｲﾙ合併", MergeItem,
     ListsEnabledFor},
    {&DatabaseMenuKind::Remove, "ﾌｧｲﾙ削除", "{}データベースのファイルを削除する。\nﾌｧｲﾙ削除",
     RemoveItem, DatabaseFileItemsEnabled},
    {&DatabaseMenuKind::RenameTournaments, "棋戦一括変更",
     "棋戦番号を一括して変更する。\n棋戦一括変更", RenameItem<RenamedList::kTournaments>,
     ListsEnabledFor},
    {&DatabaseMenuKind::RenameOpenings, "戦型一括変更",
     "戦型番号を一括して変更する。\n戦型一括変更", RenameItem<RenamedList::kOpenings>,
     ListsEnabledFor},
    {&DatabaseMenuKind::PositionIndex, "局面インデックス作成",
     "{}データベースの局面インデックスを作成し、局面統計を速くする。\n{}局面インデックス作成",
     BuildIndexItem, IndexBuildEnabled},
};

// `pattern` with every "{}" replaced by `name`.
std::string WithName(std::string pattern, const std::string& name) {
  for (std::size_t at = pattern.find("{}"); at != std::string::npos; at = pattern.find("{}", at))
    pattern.replace(at, 2, name);
  return pattern;
}

// Both database menus' rows, and the items only one of them has.
void AddDatabaseMenuRows(std::vector<CommandRow>& rows) {
  for (DatabaseKind kind : kDatabaseKinds) {
    const DatabaseMenuKind& menu = MenuKindOf(kind);
    const std::string name = FormatOf(kind).Caption;  // "棋泉" / "Tarvel"
    for (const DatabaseItem& item : kDatabaseItems) {
      rows.push_back({menu.*item.Command, item.Label, WithName(item.Prompt, name), item.Run,
                      static_cast<int>(kind), item.Enabled, item.Checked});
    }
  }
  constexpr int kKisen = static_cast<int>(DatabaseKind::kKisen);
  constexpr int kTarvel = static_cast<int>(DatabaseKind::kTarvel);
  // clang-format off
  const CommandRow added[] = {
      {kCmdTarvelFile2, "ﾌｧｲﾙ名２", "２番目のTarvelデータベースのファイルを設定する。\nTarvelﾌｧｲﾙ名２",
       ChooseDatabaseItem, static_cast<int>(DatabaseFileItem::kTarvel2), DatabaseFileItemsEnabled},
      {kCmdKisenMergeDistributed, "配布ﾃﾞｰﾀ合併", "配布された棋泉データを合併する。\n配布ﾃﾞｰﾀ合併",
       [](Env& e, int) { return MergeDistributedCommand(e.Ctx, e.UserProfile, e.Settings); }, kKisen, ListsEnabledFor},
      {kCmdKisenRenamePlayers, "棋士一括変更", "棋士番号を一括して変更する。\n棋士一括変更",
       RenameItem<RenamedList::kPlayers>, kKisen, ListsEnabledFor},
      {kCmdTarvelSwap, "入れ換え", "２つの棋譜の順番を入れ換える。\n入れ換え",
       [](Env& e, int) { return SwapGamesCommand(e.Ctx); }, kTarvel, ListsEnabledFor},
      {kCmdTarvelRenamePlayers, "棋士一括変更", "棋士名を一括して変更する。\n棋士一括変更",
       [](Env& e, int) { return RenamePlayerNamesCommand(e.Ctx, e.Settings.Folder); }, kTarvel, ListsEnabledFor},
      {kCmdYearbook, "将棋年鑑", "将棋年鑑のデータをTarvelデータベースに変換する。\n将棋年鑑",
       [](Env& e, int) { return YearbookCommand(e.Ctx); }, 0, DatabaseFileItemsEnabled},
  };
  // clang-format on
  rows.insert(rows.end(), std::begin(added), std::end(added));
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
                  OpenRecordItem, 0, RecordCommandsEnabled});
  rows.push_back({kCmdSaveRecord, "書き込み", "棋譜ファイルを形式を選んで書き込む。\n書き込み",
                  SaveRecordAsItem, 0, RecordCommandsEnabled});
  if (RecordFormatRowOf(RecordFormat::kEisei).Read != nullptr)
    rows.push_back({kCmdReadEisei, "読み込み（永世）", "永世名人形式の棋譜を読み込む。\n読み込み（永世）",
                    ReadRecordItem, static_cast<int>(RecordFormat::kEisei), RecordCommandsEnabled});
  rows.push_back({kCmdUrlKif, "URL読み込み（柿木）", "URLから柿木形式の棋譜を読み込む。\nURL読み込み（柿木）",
                  OpenUrlItem, static_cast<int>(RecordFormat::kKif), RecordCommandsEnabled});
  rows.push_back({kCmdUrlCsa, "URL読み込み（CSA）", "URLからCSA形式の棋譜を読み込む。\nURL読み込み（CSA）",
                  OpenUrlItem, static_cast<int>(RecordFormat::kCsa), RecordCommandsEnabled});
  rows.push_back({kCmdPalmRead, "palm読込", "palm棋譜DBファイルから棋譜を読み込む。\npalm読込",
                  ReadPalmItem, 0, RecordCommandsEnabled});
  rows.push_back({kCmdPalmWrite, "palm書込", "palm棋譜DBファイルへ棋譜を書き込む。\npalm書込",
                  WritePalmItem, 0, RecordCommandsEnabled});
  rows.push_back({kCmdTimeUsed, "消費時間", "各指し手の消費時間を設定する。\n消費時間",
                  [](Env& e, int) { return TimeUsedCommand(e.Ctx); }, 0, Idle});
  // clang-format on
}

std::vector<CommandRow> BuildTable() {
  // clang-format off
  std::vector<CommandRow> rows = {
      {kCmdReadKif, "読み込み（柿木）", "柿木形式の棋譜を読み込む。\n読み込み（柿木）",
       ReadRecordItem, static_cast<int>(RecordFormat::kKif), RecordCommandsEnabled},
      {kCmdReadKi2, "読み込み（柿木2）平手のみ", "柿木形式(ki2)の棋譜を読み込む。\n読み込み（柿木2）",
       ReadRecordItem, static_cast<int>(RecordFormat::kKi2), RecordCommandsEnabled},
      {kCmdReadCsa, "読み込み(CSA)", "CSA形式の棋譜を読み込む。\n読み込み(CSA)",
       ReadRecordItem, static_cast<int>(RecordFormat::kCsa), RecordCommandsEnabled},
      {kCmdSaveKif, "書き込み（柿木）", "棋譜を柿木形式で書き込む。\n書き込み（柿木）",
       SaveKifItem, 0, RecordCommandsEnabled},
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
  return row->Enabled(state, row->Arg);
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
