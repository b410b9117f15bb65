// The interface through which command handlers talk to the person: message boxes, file
// dialogs, list and text choices, the status bar, the dialogs that fill plain structs, and
// the view hooks (show what changed so far, end the program).
#pragma once

#include <string>
#include <vector>

namespace shogi {

// Parts of the board view that an operation changed and the view has to redraw.
enum ViewPart : unsigned {
  kViewBoard = 1u << 0,          // the squares and both hands
  kViewClocks = 1u << 1,         // the two clock lines of the information panel
  kViewInfo = 1u << 2,           // names, move counter and last move of the information panel
  kViewMovePanel = 1u << 3,      // the ten moves, or the piece box while setting up
  kViewMessage = 1u << 4,        // the two lines of the message area
  kViewFullRefresh = 1u << 5,    // clear every cache and repaint the whole view
  kViewShowPromotion = 1u << 6,  // open the promotion choice box (pointer into the box)
  kViewHidePromotion = 1u << 7,  // close it and restore what was under it
  kViewEverything = kViewBoard | kViewClocks | kViewInfo | kViewMovePanel | kViewMessage,
};

// The view's timers, as bits; the window maps them to its timer ids.
enum ViewTimer : unsigned {
  kTimerClock = 1u << 0,          // timer 100, every 100 ms: GameClockTick
  kTimerReplayForward = 1u << 1,  // timer 200, fires once after the replay interval
  kTimerReplayBack = 1u << 2,     // timer 300, fires once after the replay interval
};
constexpr int kClockTimerId = 100;
constexpr int kReplayForwardTimerId = 200;
constexpr int kReplayBackTimerId = 300;
constexpr int kClockTimerPeriod = 100;  // milliseconds

// What an operation asks of the view once it returns: parts to redraw and timers to start
// or stop. Starting a running timer restarts it; the view applies the stops first.
struct ViewUpdate {
  unsigned Parts = 0;
  unsigned StartTimers = 0;
  unsigned StopTimers = 0;
  int ReplayInterval = 0;  // period in ms of a replay timer being started

  void Redraw(unsigned parts) { Parts |= parts; }
  void Start(unsigned timers) {
    StartTimers |= timers;
    StopTimers &= ~timers;
  }
  void Stop(unsigned timers) {
    StopTimers |= timers;
    StartTimers &= ~timers;
  }
  // Adds a later update to this one (later timer requests win).
  void Merge(const ViewUpdate& later) {
    Parts |= later.Parts;
    if (later.Parts & kViewShowPromotion) Parts &= ~kViewHidePromotion;
    if (later.Parts & kViewHidePromotion) Parts &= ~kViewShowPromotion;
    Stop(later.StopTimers);
    Start(later.StartTimers);
    if (later.ReplayInterval) ReplayInterval = later.ReplayInterval;
  }
  bool Empty() const { return Parts == 0 && StartTimers == 0 && StopTimers == 0; }
};

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageIcon { kNone, kInformation, kQuestion, kWarning, kError };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

// One entry of a file dialog's type list: the caption shown and the pattern ("*.kif").
struct FileFilter {
  std::string Caption;
  std::string Pattern;
};

struct FileDialogRequest {
  std::string Title;  // UTF-8
  std::vector<FileFilter> Filters;
  int FilterIndex = 0;      // the entry selected at first (the record formats' list)
  std::string InitialPath;  // a path in the file system's own encoding
};

struct FileDialogResult {
  bool Chosen = false;  // false: the person cancelled
  std::string Path;
  int FilterIndex = 0;  // the entry of the type list chosen
};

// The game-conditions dialog's data ("対局条件設定"). The texts are cp932 bytes exactly as the
// game record holds them; the dialog converts them for display and back.
struct GameConditions {
  // Given to the dialog.
  bool ComputerMode = false;    // player fields choose a player kind instead of a name
  bool StartEditable = false;   // the start position may be chosen (the start of a game)
  bool LibraryOffered = false;  // "CSA将棋(DLL)" is in the player list
  bool StandardStart = false;   // the record starts from the standard position, first to move
  // Given and returned.
  std::string FirstPlayer;  // name, or in computer mode the text of the chosen player
  std::string SecondPlayer;
  std::string Tournament;
  std::string GameNumber;  // "" or one digit "1".."9"
  int Year = 0, Month = 0, Day = 0;
  std::string Opening;
  std::string Comment;
  int StartPosition = 0;  // 0 "現在の局面", 1 "平手" .. 10 "十枚落ち"
  bool BoardFlipped = false;
  // Returned: 0 a person, 1..9 the in-process computer, -1 the thinking library.
  int PlayerKind[2] = {0, 0};
};

// The "詰将棋３" dialog's data: "開始手数：" (the text of the field), the check boxes "ﾏﾙﾁﾀｽｸ"
// (message pumping during the search) and "ﾒﾓﾘﾁｪｯｸ" (the memory question).
struct MateStartSettings {
  std::string StartDepth = "1";
  bool Multitask = false;
  bool MemoryCheck = false;
};

// The answer of the "実戦詰将棋" dialog.
enum class MateAttackerChoice { kCancel, kFirst, kSecond };  // "キャンセル", "先手番", "後手番"

// Implemented by the window (real dialogs) and by tests (scripted answers). All texts are
// UTF-8 unless a field says otherwise. Every call is modal: it returns when the person has
// answered.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  virtual MessageAnswer ShowMessage(const std::string& caption, const std::string& text,
                                    MessageButtons buttons = MessageButtons::kOk,
                                    MessageIcon icon = MessageIcon::kNone) = 0;
  virtual FileDialogResult ChooseOpenFile(const FileDialogRequest& request) = 0;
  virtual FileDialogResult ChooseSaveFile(const FileDialogRequest& request) = 0;
  // Index of the chosen item, or -1 when cancelled.
  virtual int ChooseFromList(const std::string& title, const std::string& prompt,
                             const std::vector<std::string>& items, int initial) = 0;
  // A line of text; false when cancelled (`text` holds the initial value on entry).
  virtual bool InputText(const std::string& title, const std::string& prompt,
                         std::string& text) = 0;
  // The status bar's text (progress words such as "　ソート中"); "" clears it.
  virtual void SetStatusText(const std::string& text) = 0;

  // The game-conditions dialog; false on "キャンセル".
  virtual bool EditGameConditions(GameConditions& conditions) = 0;
  // The replay-speed dialog "再現スピード" (100..20 000 ms); false on cancel.
  virtual bool EditReplaySpeed(int& interval_ms) = 0;
  // The "詰将棋３" dialog; true on "開始", false on "中止". On "開始" the dialog checks the
  // start depth with CheckMateStartDepth (shell/mate_commands.h) and stays open on an error.
  // Without an implementation the dialog counts as cancelled.
  virtual bool EditMateStart(MateStartSettings&) { return false; }
  // The "実戦詰将棋" dialog: which side attacks.
  virtual MateAttackerChoice ChooseMateAttacker() { return MateAttackerChoice::kCancel; }

  // Shows at once what an operation changed so far; called before it blocks (a message box,
  // the computer's thinking), so that the person sees the move before the answer.
  virtual void ApplyUpdate(const ViewUpdate& update) = 0;
  // Ends the program with `exit_code` (the window closes while a search was running). The
  // caller returns straight away after this call.
  virtual void EndProgram(int exit_code) = 0;
};

// A Yes/No question with the question icon; true on "はい".
bool AskYesNo(UserInterface& ui, const std::string& caption, const std::string& text);
// An information box with only "OK".
void ShowInformation(UserInterface& ui, const std::string& caption, const std::string& text);

}  // namespace shogi
