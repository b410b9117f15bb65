// The one program-wide state that the view owns and every command handler works on: the
// game record, the shown position, the clocks, the interaction state, the message area, the
// per-run settings, the set-up piece box and the two chosen databases.
#pragma once

#include <string>
#include <string_view>

#include "database/game_list.h"
#include "database/search_conditions.h"
#include "database_files/database_format.h"
#include "output/output_file.h"
#include "output/print_layout.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"
#include "shell/display_options.h"
#include "players/record_analysis.h"

namespace shogi {

// Values of InteractionState. 100 and above: busy (the computer thinking, or a mate
// analysis, which adds 100 to the state while it runs).
constexpr int kStateIdle = 0;       // browsing the record; board clicks do nothing
constexpr int kStateSetUp = 1;      // board set-up
constexpr int kStateGame = 2;       // a game waiting for a person's move
constexpr int kStatePromotion = 3;  // a game with the promotion choice on screen
constexpr int kStateDatabase = 4;   // a database command running
constexpr int kStateReplaying = 5;  // continuous replay
constexpr int kStateBusy = 100;
constexpr int kStateThinking = 102;  // the computer thinking in a game
// The in-process player analysing one position of 棋譜解析 (the window's messages taken).
constexpr int kStateRecordAnalysis = 103;
constexpr bool IsBusyState(int state) {
  return state >= kStateBusy;
}
// A game waiting for the person (with or without the promotion choice open).
constexpr bool IsGameState(int state) {
  return state == kStateGame || state == kStatePromotion;
}

// Values of AbortFlag, the stop request of a running search.
constexpr int kAbortNone = 0;
constexpr int kAbortStop = 100;      // the person confirmed that the computer shall stop
constexpr int kAbortClosing = -100;  // the main window or the view is being closed

constexpr int kNoRunningClock = -1;

// The running side of the clocks; the cumulative clocks themselves are GameRecord::Clocks.
struct ClockState {
  int RunningSide = kNoRunningClock;  // 0, 1 or -1 none
  int SubSecond = 0;  // milliseconds toward the next second; -100 right after a move
};

// The panel beside the board: two lines of at most 27 cp932 bytes each, kept as UTF-8.
constexpr std::size_t kMessageLineBytes = 27;
struct MessageArea {
  std::string Lines[2];
};
// Writes both lines, each cut to 27 cp932 bytes without splitting a character.
void SetMessage(MessageArea& area, std::string_view first, std::string_view second = {});
void ClearMessage(MessageArea& area);
// The longest prefix of the UTF-8 `text` whose cp932 form has at most `max_bytes` bytes
// (a character cp932 cannot hold counts as two bytes).
std::string CutToCp932Bytes(std::string_view text, std::size_t max_bytes);

// Settings that last for one run of the program (board flipped lives in the record).
struct RunSettings {
  bool RepetitionCheck = true;  // 千日手チェック
  int ReplayInterval = 900;     // ms between steps of a continuous replay
  bool ClockInMinutes = false;  // 時計（分単位）
  bool StoreTimes = true;  // the save dialog's "消費時間の格納": on at each start, not saved
  // The Kaya file a game was last read from or written to, and that game's number (0 none):
  // what the save's 修正登録 replaces.
  std::string KayaPath;
  int KayaRecord = 0;
};
constexpr int kReplayIntervalMin = 100;
constexpr int kReplayIntervalMax = 20000;

// Where on the board view a piece is taken from or put down. The view maps the mouse to
// these, flipped board included: the hand areas are named by owner, not by screen corner.
enum class BoardArea : int {
  kNone = 0,    // outside every area
  kBoard,       // index: square 1..81
  kFirstHand,   // index: piece type 1..7 of the first player's hand
  kSecondHand,  // index: piece type 1..7 of the second player's hand
  kPieceBox,    // index: 0 the kings, 1..7 the piece types
};
struct BoardSpot {
  BoardArea Area = BoardArea::kNone;
  int Index = 0;
  friend constexpr bool operator==(const BoardSpot&, const BoardSpot&) = default;
};
constexpr BoardArea HandAreaOf(Side side) {
  return side == kFirst ? BoardArea::kFirstHand : BoardArea::kSecondHand;
}

// The piece being dragged (in set-up or in a game); it has left its spot meanwhile.
struct HeldPiece {
  bool Active = false;
  BoardSpot From;
  int Code = 0;  // the PieceCode being dragged
};

// The open promotion choice of a person's move (state 3). The piece is back on its origin.
struct PromotionChoice {
  int Origin = 0;
  int Destination = 0;
  int PlainCode = 0;     // drawn on the left: the piece as it stands
  int PromotedCode = 0;  // drawn on the right
};

// Piece-box slots: index 0 the kings, 1..7 the piece types.
constexpr int kPieceBoxSlots = 8;

// The comments and variations beside the record (shell/record_notes.h works on them). The
// tree's main line is the line the record holds; while the record follows a variation, the
// file's main line is remembered by its moves, and a save puts it first again.
struct RecordNotesState {
  RecordTree Tree;  // empty until the record is first synchronised
  // The start the tree belongs to: a record with another start drops it.
  Position Root{};
  int RootStart = 0;
  std::vector<MoveCode> MainLine;  // the file's main line; empty: the record holds it
  bool Changed = false;            // a comment edited or a line made the main line since saved
  int Version = 0;                 // counts every change, for the window that shows them
  bool DatabaseTold = false;       // the window said once that a database keeps neither
};

struct ProgramState {
  GameRecord Record;
  RecordNotesState Notes;
  Position Shown;  // always the position after Record.PlyCount moves (while dragging: minus
                   // the held piece)
  ClockState Clock;
  int InteractionState = kStateIdle;
  int AbortFlag = kAbortNone;  // its address goes to the thinking library
  MessageArea Message;
  RunSettings Settings;
  int PieceBox[kPieceBoxSlots] = {};
  HeldPiece Held;
  // The piece picked by a click, waiting for the click on its destination (kNone: none).
  BoardSpot Selected;
  PromotionChoice Promotion;
  // The Kisen and the Tarvel database: none is chosen at start-up, and a choice lasts for
  // the run (only the file dialogs' starting paths are kept in the profile).
  DatabaseSelection Kisen;
  DatabaseSelection Tarvel;
  // The one of the two chosen last (what 局面統計 reads), and whether that panel is shown.
  DatabaseKind LastChosenDatabase = DatabaseKind::kKisen;
  bool ExplorerShown = false;
  // The search conditions (one set for both databases, the dates as the dialog's check gave
  // them) and the lists' column choices and 逆順表示 flags, kept for the run.
  SearchConditions Search;
  SearchDates SearchedDates;
  ListSettings Lists;
  bool Analysing = false;  // 検討 runs: the window's timer polls the engine
  // 棋譜解析 runs: the window's timer polls it (shell/record_analysis_commands.h).
  bool RecordAnalysing = false;
  // The scores of the record's positions (棋譜解析, 検討, the comments of a file read) for the
  // graph and the move list, and the moves they belong to: another record shows none.
  RecordScores Scores;
  Position ScoredStart{};
  std::vector<MoveCode> ScoredLine;
  int ScoresVersion = 0;  // counts every change, for the graph
  MarkThresholds Marks;   // 疑問手 and 悪手, from the profile
  // The output menu's file and Morita counter, and the print settings, kept for the run.
  OutputFileState Output;
  PrintSettings Print;
  DisplayOptions Display;  // the 表示 menu's switches and scale, from the profile
  // The record as last read from or written to a file (at start-up: the reset one), to tell
  // whether the person would lose something when the program ends.
  GameRecord SavedRecord;
  // A close was asked while long work ran: the program ends once the work has ended.
  bool ClosePending = false;
};

inline DatabaseSelection& SelectionOf(ProgramState& state, DatabaseKind kind) {
  return kind == DatabaseKind::kKisen ? state.Kisen : state.Tarvel;
}
inline const DatabaseSelection& SelectionOf(const ProgramState& state, DatabaseKind kind) {
  return kind == DatabaseKind::kKisen ? state.Kisen : state.Tarvel;
}

// The state at start-up: the reset record (standard position, both names "人間", today's
// date), the shown position, idle, 千日手チェック on, replay interval 900 ms, no clock running.
void InitProgramState(ProgramState& state);

// The side to move at the shown position.
inline Side SideToMove(const ProgramState& state) {
  return SideOfPly(state.Record.PlyCount);
}

// Rebuilds the shown position from the record (ReplayTo at PlyCount).
void RebuildShown(ProgramState& state);

// Puts the end marker at `ply` (the moves from there on are dropped); ply < kMaxMoves.
void CutRecordAt(GameRecord& record, int ply);

}  // namespace shogi
