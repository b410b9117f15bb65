// The menus and the tool bar of the window program: which command goes in which menu, the
// separators, the 勝敗結果 sub-menu, and the tool-bar buttons with their pictures. The
// commands themselves (labels, prompts, handlers) are the rows of shell/command_table.h.
#pragma once

#include "shell/command_table.h"

namespace shogi::resources {

enum class MenuEntryKind {
  kMenu,     // a menu of the menu bar begins: Title
  kCommand,  // Command
  kGroup,    // every row of Group, in table order
  kSeparator,
  kSubMenu,  // a sub-menu begins: Title
  kEndSubMenu,
};

struct MenuEntry {
  MenuEntryKind Kind;
  int Command = 0;
  CommandGroup Group = CommandGroup::kNone;
  const char* Title = nullptr;
};

constexpr MenuEntry Menu(const char* title) {
  return {MenuEntryKind::kMenu, 0, CommandGroup::kNone, title};
}
constexpr MenuEntry Item(int command) {
  return {MenuEntryKind::kCommand, command};
}
constexpr MenuEntry Group(CommandGroup group) {
  return {MenuEntryKind::kGroup, 0, group};
}
constexpr MenuEntry Separator() {
  return {MenuEntryKind::kSeparator};
}
constexpr MenuEntry SubMenu(const char* title) {
  return {MenuEntryKind::kSubMenu, 0, CommandGroup::kNone, title};
}
constexpr MenuEntry EndSubMenu() {
  return {MenuEntryKind::kEndSubMenu};
}

inline constexpr MenuEntry kMenuBar[] = {
    Menu("ファイル(&F)"),
    Item(kCmdOpenRecord),
    Item(kCmdSaveRecord),
    Separator(),
    Item(kCmdReadKif),
    Item(kCmdReadKi2),
    Item(kCmdReadEisei),
    Item(kCmdReadCsa),
    Item(kCmdUrlKif),
    Item(kCmdUrlCsa),
    Separator(),
    Item(kCmdSaveKif),
    Separator(),
    Item(kCmdPalmRead),
    Item(kCmdPalmWrite),
    Separator(),
    Item(kCmdExit),

    // Copy and paste stand where every program keeps them: a menu of their own after the
    // file menu.
    Menu("編集(&E)"),
    Item(kCmdCopyKif),
    Item(kCmdCopySfen),
    Separator(),
    Item(kCmdPasteRecord),

    Menu("表示(&V)"),
    Item(kCmdFlip),
    Item(kCmdClockMinutes),
    Separator(),
    Item(kCmdShowCoordinates),
    Item(kCmdShowLastMove),
    Item(kCmdShowPieceCounts),
    Item(kCmdShowTurn),
    Item(kCmdShowDestinations),
    Item(kCmdKeepVariations),
    Item(kCmdShowNotes),
    Item(kCmdShowScoreGraph),
    Separator(),
    Item(kCmdScaleFit),
    Item(kCmdScale100),
    Item(kCmdScale150),
    Item(kCmdScale200),
    Separator(),
    Item(kCmdShowExplorer),
    Separator(),
    Item(kCmdWindowPosition),

    Menu("再現(&R)"),
    Item(kCmdStepForward),
    Item(kCmdContinuousForward),
    Item(kCmdToLast),
    Separator(),
    Item(kCmdStepBack),
    Item(kCmdContinuousBack),
    Item(kCmdToInitial),
    Separator(),
    Item(kCmdReplaySpeed),
    Item(kCmdStopReplay),
    Separator(),
    Item(kCmdPreviousVariation),
    Item(kCmdNextVariation),
    Item(kCmdMakeMainLine),
    Separator(),
    SubMenu("勝敗結果"),
    Group(CommandGroup::kResults),
    EndSubMenu(),

    Menu("対局(&G)"),
    Item(kCmdStartGame),
    Item(kCmdStartComputerGame),
    Item(kCmdSuspend),
    Item(kCmdResign),
    Separator(),
    Item(kCmdConditions),
    Item(kCmdComputerConditions),
    Separator(),
    Item(kCmdRepetitionCheck),

    Menu("盤面設定(&S)"),
    Item(kCmdFirstToMove),
    Separator(),
    Item(kCmdMateSetUp),
    Item(kCmdFreeSetUp),
    Item(kCmdEndSetUp),
    Separator(),
    Group(CommandGroup::kPresets),
    Separator(),
    Item(kCmdMirror),

    Menu("詰将棋(&T)"),
    Item(kCmdNewProblem),
    Item(kCmdEditProblem),
    Separator(),
    Item(kCmdMate1),
    Item(kCmdMate2),
    Item(kCmdMate3),
    Item(kCmdMateDfpn),
    Separator(),
    Item(kCmdMateInGame),
    Separator(),
    Item(kCmdProblemBitmap),

    Menu("出力(&O)"),
    Item(kCmdOutputFile),
    Separator(),
    Item(kCmdStandardDiagram),
    Item(kCmdKayaDiagram),
    Item(kCmdMergedDiagram),
    Item(kCmdMoritaDiagram),
    Item(kCmdMailDiagram),
    Separator(),
    Item(kCmdStandardRecord),
    Item(kCmdKayaRecord),

    Menu("印刷(&P)"),
    Item(kCmdRecordPrint),
    Item(kCmdDiagramPrint),
    Separator(),
    Item(kCmdPrint),
    Item(kCmdPrintPreview),
    Item(kCmdPrintSetup),

    Menu("エンジン"),
    Item(kCmdEngines),
    Item(kCmdAnalysis),
    Item(kCmdRecordAnalysis),

    Menu("その他"),
    Item(kCmdTimeUsed),

    Menu("棋泉"),
    Item(kCmdKisenFile),
    Item(kCmdKisenRegister),
    Item(kCmdKisenOverwrite),
    Separator(),
    Item(kCmdKisenSearch),
    Item(kCmdKisenList),
    Item(kCmdKisenReverse),
    Item(kCmdKisenPositionIndex),
    Separator(),
    Item(kCmdKisenPlayers),
    Item(kCmdKisenTournaments),
    Item(kCmdKisenOpenings),
    Separator(),
    Item(kCmdKisenSort),
    Item(kCmdKisenDuplicates),
    Item(kCmdKisenMerge),
    Item(kCmdKisenMergeDistributed),
    Item(kCmdKisenRemove),
    Separator(),
    Item(kCmdKisenRenamePlayers),
    Item(kCmdKisenRenameTournaments),
    Item(kCmdKisenRenameOpenings),

    Menu("Tarvel"),
    Item(kCmdTarvelFile),
    Item(kCmdTarvelFile2),
    Item(kCmdTarvelRegister),
    Item(kCmdTarvelOverwrite),
    Separator(),
    Item(kCmdTarvelSearch),
    Item(kCmdTarvelList),
    Item(kCmdTarvelReverse),
    Item(kCmdTarvelPositionIndex),
    Separator(),
    Item(kCmdTarvelPlayers),
    Item(kCmdTarvelTournaments),
    Item(kCmdTarvelOpenings),
    Separator(),
    Item(kCmdTarvelSort),
    Item(kCmdTarvelDuplicates),
    Item(kCmdTarvelMerge),
    Item(kCmdTarvelRemove),
    Item(kCmdTarvelSwap),
    Separator(),
    Item(kCmdTarvelRenamePlayers),
    Item(kCmdTarvelRenameTournaments),
    Item(kCmdTarvelRenameOpenings),
    Separator(),
    Item(kCmdKisenToTarvel),
    Item(kCmdTarvelToKisen),
    Item(kCmdTarvelToJsk),
    Item(kCmdJskFile),
    Separator(),
    Item(kCmdYearbook),

    Menu("Bonanza"),
    Item(kCmdFvFile),
    Item(kCmdBookFile),
    Separator(),
    Item(kCmdFvSum),
    Item(kCmdMaterial),
    Item(kCmdStaticEvaluation),
    Item(kCmdPieceValues),
    Separator(),
    Item(kCmdBestMoves),
    Item(kCmdBookLookup),
    Separator(),
    Item(kCmdBuildBook),

    Menu("ヘルプ(&H)"),
    Item(kCmdAbout),
};

// The tool-bar pictures, 16 x 15.
enum class ToolIcon {
  kForward,
  kContinuousForward,
  kToLast,
  kSpeed,
  kToInitial,
  kContinuousBack,
  kBack,
  kStopReplay,
  kMateAnalysis,
  kAbout,
  kPrint,
};

// A button, or a separator where Command is 0.
struct ToolButton {
  int Command = 0;
  ToolIcon Icon = ToolIcon::kForward;
};

inline constexpr ToolButton kToolBar[] = {
    {kCmdStepForward, ToolIcon::kForward},
    {kCmdContinuousForward, ToolIcon::kContinuousForward},
    {kCmdToLast, ToolIcon::kToLast},
    {},
    {kCmdReplaySpeed, ToolIcon::kSpeed},
    {},
    {kCmdToInitial, ToolIcon::kToInitial},
    {kCmdContinuousBack, ToolIcon::kContinuousBack},
    {kCmdStepBack, ToolIcon::kBack},
    {},
    {kCmdStopReplay, ToolIcon::kStopReplay},
    {},
    {kCmdMateInGame, ToolIcon::kMateAnalysis},
    {},
    {kCmdPrint, ToolIcon::kPrint},
    {kCmdAbout, ToolIcon::kAbout},
};

}  // namespace shogi::resources
