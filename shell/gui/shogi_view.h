// CShogiView, the one view: it owns the program-wide state, the settings and the thinking
// library's binding, paints the board from the scene with caches so that a change repaints
// only what differs, maps the mouse to squares and slots, runs the view's timers and carries
// out the menu commands.
#pragma once

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "shell/command_table.h"
#include "shell/gui/artwork.h"
#include "shell/gui/window_dialogs.h"
#include "shell/program_state.h"
#include "shell/score_graph.h"
#include "shell/settings.h"
#include "shell/shell_context.h"
#include "shell/view_scene.h"

namespace shogi {
class InProcessPlayer;
class JskPlayerBook;
class LibraryBinding;
class EngineAnalysis;
class EnginePlayer;
struct RecordAnalysisSession;
class ExplorerPanel;
}  // namespace shogi

namespace shogi::gui {

class CAnalysisPanel;
class CExplorerPanel;
class CNotesWindow;
class CShogiView;


// One repaint that changed something: what it repainted and how long it took.
struct RepaintRecord {
  std::vector<SceneChange> Changes;
  long PictureMicroseconds = 0;  // the off-screen picture brought up to date
  long ScreenMicroseconds = 0;   // with the transfer to the screen (0 until it happened)
};

// How the view was created: where its settings live, which dialogs it uses, which program
// folder it binds the library from. Everything has a default for the real program.
struct ViewOptions {
  Profile* Settings = nullptr;      // required
  ShellDialogs* Dialogs = nullptr;  // null: the window's own dialogs
  std::string ProgramFolder;        // "" : the working directory at start-up
  bool BindLibrary = true;          // load sikou from the program folder
};

// The view is what the shell's commands see of the window besides the dialogs
// (ViewHooks): it shows what changed, the status bar, the clipboard, the file's name in the
// title, the frame's place, closing and the end of the program.
class CShogiView : public wxWindow, public ViewHooks {
 public:
  CShogiView(wxWindow* parent, const ViewOptions& options);
  ~CShogiView() override;

  // --- commands of the menus and the tool bar ---
  // Runs the command of the table if it is enabled and shows what it changed.
  void RunCommand(int id);

  // --- what the shell asks of the view ---
  // Stops and starts timers and repaints what the update names (promotion box included).
  void ApplyUpdate(const ViewUpdate& update) override;
  // The frame is closing: true when the close must wait for long work to end (a search is
  // asked to stop; a database command runs to its end).
  bool CloseRequested();
  // The question about an unsaved record before the program ends; false when it stays.
  bool ConfirmClose();
  void EndProgram(int exit_code) override;
  // Closes the frame once the work a close waited for has ended.
  void CloseWhenWorkEnded();
  void SetStatusText(const std::string& text) override;
  bool GetClipboardText(std::string& text) override;
  bool SetClipboardText(const std::string& text) override;
  void ShowRecordFile(const std::string& path, bool read) override;
  WindowPlacement FramePlacement() override;
  void CloseMainWindow() override;
  void PumpMessages() override;
  // Called when a command wants the frame's title to show a file.
  std::function<void(const std::string&)> OnDocumentName;
  // Called when a search ended because the program is closing (the frame keeps the code).
  std::function<void(int)> OnEndProgram;

  // --- drawing, also for tests ---
  // Brings the off-screen picture up to date; returns what it repainted. `full` repaints
  // everything from scratch (the caches are cleared first).
  std::vector<SceneChange> Redraw(bool full = false);
  // The last Redraw's changes and its time in microseconds.
  const std::vector<SceneChange>& LastChanges() const { return last_changes_; }
  long LastRedrawMicroseconds() const { return last_redraw_us_; }
  // The last Apply's time in microseconds: the repaint and its transfer to the screen.
  long LastApplyMicroseconds() const { return last_apply_us_; }
  // The repaints since the log was last cleared (at most the last 256).
  const std::vector<RepaintRecord>& RepaintLog() const { return repaint_log_; }
  void ClearRepaintLog() { repaint_log_.clear(); }
  // The view as it appears, overlays included (the dragged piece, the promotion box).
  wxBitmap Snapshot();
  // Whether a complete picture has been painted on the screen at least once.
  bool Painted() const { return painted_; }

  ProgramState& State() { return state_; }
  ProgramSettings& Settings() { return settings_; }
  ShellContext& Context() { return ctx_; }
  const Artwork& Art() const { return art_; }
  bool Dragging() const { return dragging_; }
  bool PromotionOpen() const { return promotion_open_; }
  bool LibraryOffered() const;
  // The computer player of 思考ﾚﾍﾞﾙ1..9 (tests cap its thinking time through it).
  InProcessPlayer& InProcess() { return *in_process_; }
  // The registered outside engines as players (kept in the profile).
  EnginePlayer& Engines() { return *engines_; }
  // The 検討 panel while the analysis runs, else nullptr; ShowAnalysis shows or hides it.
  CAnalysisPanel* AnalysisPanel() { return analysis_panel_; }
  void ShowAnalysis(const AnalysisView* view) override;
  // The 局面統計 panel while 表示 局面統計 is on, else nullptr. After every update the view
  // shows or hides it and brings it to the shown position.
  CExplorerPanel* Explorer() { return explorer_panel_; }
  void FollowExplorer();
  // The window of the variations and the comment while "変化とコメント" is on, else nullptr.
  CNotesWindow* NotesWindow() { return notes_window_; }
  // Follows variation `index` of the shown move (the notes window's list).
  void FollowVariation(int index);

  // The mouse handlers with picture coordinates, the window's less Origin() (the events call
  // them; tests may too).
  void LeftDown(int x, int y);
  void LeftUp(int x, int y);
  void MouseMove(int x, int y);
  void RightDown(int x, int y);
  void RightUp();
  // The wheel turned by `rotation` (wxWidgets' units, `delta` a notch) over (x, y): over the
  // board or the move list, one move per notch (towards the user: forward).
  void Wheel(int x, int y, int rotation, int delta);
  // A key: ← / → one move, Home / End to the record's ends, ↑ / ↓ the variations of the
  // shown move, as the menu commands allow.
  bool KeyDown(int key_code);

  // The scale the view is drawn at and its size there (the layout's 640 x 388, with the score
  // graph below or beside it, scaled). "ウィンドウに合わせる" scales it to the view's own size.
  const ViewScale& Scale() const { return scale_; }
  // Where the picture's top-left corner is in the window: a view that fits its window is
  // centred in it, a fixed scale starts at the corner. Mouse points are taken relative to it.
  wxPoint Origin() const { return origin_; }
  wxSize ScaledSize() const;
  int EffectivePercent() const;
  // Where the score graph is drawn (kNone while it is off); below the board at a fixed scale.
  GraphPlace GraphPlacement() const;
  bool FitsWindow() const { return state_.Display.Scale == kScaleFit; }
  // Called when the scale changed the view's size (the frame fits itself to it).
  std::function<void()> OnSizeChanged;
  // What long loops run to take the window's pending events (the clock timer, paints, the
  // right-click stop request) while they work: wxWidgets' Yield unless replaced (tests).
  std::function<void()> MessagePump;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnTimer(wxTimerEvent& event);
  void PaintStatic();
  void PaintCoordinates(wxDC& dc);
  // The score graph's contents, when what it shows changed (or `full`); true when painted.
  bool PaintGraph(bool full);
  // The tooltip of the move-list line under (x, y), from the record's scores.
  void UpdateMoveTip(int x, int y);
  void PaintTintSources();
  void PaintCount(wxDC& dc, const PieceSlot& slot, int n);
  // The frame around the top piece of a slot whose piece is selected by a click.
  void FramePicked(wxDC& dc, const PieceSlot& slot, int n);
  // Brings the artwork and the static picture up to the display options; true when it did.
  bool UpdateStaticPicture();
  wxRect Device(const Rect& r) const;
  Rect DraggedRect() const;
  void PaintChange(wxDC& dc, const SceneChange& change, const ViewScene& scene);
  void DrawLine(wxDC& dc, int x, int y, const std::string& text, const Rect& clip);
  void DrawPiece(wxDC& dc, int code, int x, int y);
  void DrawOverlays(wxDC& dc);
  void RefreshArea(const Rect& r);
  void StartDrag(int x, int y);
  void EndDrag();
  void ReleaseMouseIfHeld();
  void CapturePointer();
  void ShowPromotionBox(bool show);
  // Opens, closes and refreshes the notes window as "変化とコメント" and the state say.
  void UpdateNotesWindow();

  Profile& profile_;
  std::string folder_;
  std::unique_ptr<LibraryBinding> binding_;
  std::unique_ptr<InProcessPlayer> in_process_;
  std::unique_ptr<JskPlayerBook> book_;
  std::unique_ptr<EnginePlayer> engines_;
  std::unique_ptr<EngineAnalysis> analysis_;
  std::unique_ptr<RecordAnalysisSession> record_run_;
  // What the graph on screen shows: the scores' version, the shown ply and the record's end.
  struct GraphKey {
    int Version = -1, Ply = -1, End = -1;
    bool Fits = false;
    friend bool operator==(const GraphKey&, const GraphKey&) = default;
  };
  GraphKey graph_key_;
  int tip_ply_ = -1;
  CAnalysisPanel* analysis_panel_ = nullptr;
  std::unique_ptr<ExplorerPanel> explorer_;
  CExplorerPanel* explorer_panel_ = nullptr;
  bool explorer_pending_ = false;  // a FollowExplorer waits for the event loop
  CNotesWindow* notes_window_ = nullptr;
  ProgramSettings settings_;
  ProgramState state_;
  WindowDialogs window_dialogs_;
  ShellContext ctx_;
  CommandEnv env_;
  Artwork art_;

  ViewScale scale_;
  wxPoint origin_;
  void AtOrigin(wxDC& dc) const { dc.SetDeviceOrigin(origin_.x, origin_.y); }
  wxRect AtOrigin(wxRect r) const {
    r.Offset(origin_);
    return r;
  }
  int X(const wxMouseEvent& e) const { return e.GetX() - origin_.x; }
  int Y(const wxMouseEvent& e) const { return e.GetY() - origin_.y; }
  // What the static picture was painted for: the scale, the coordinates and their flip.
  struct StaticKey {
    int Scale = 0;
    bool Coordinates = false;
    bool Flipped = false;
    GraphPlace Place = GraphPlace::kNone;
    friend bool operator==(const StaticKey&, const StaticKey&) = default;
  };
  StaticKey static_key_;
  int wheel_rest_ = 0;  // the part of a notch the wheel has turned so far
  wxBitmap clean_;      // everything that never changes: background, panels, grid, stars
  wxBitmap backing_;    // the picture as shown, without the overlays
  // The board's grid in each tint (index CellTint; 0 unused), taken from clean_.
  wxBitmap tinted_[5];
  wxRect tinted_area_;
  std::optional<ViewScene> shown_;
  std::vector<SceneChange> last_changes_;
  long last_redraw_us_ = 0;
  long last_apply_us_ = 0;
  std::vector<RepaintRecord> repaint_log_;
  bool painted_ = false;

  // The move list shows the next ten moves right after a record was read, until the shown
  // position changes.
  bool next_moves_ = false;
  int next_moves_ply_ = 0;
  Position next_moves_position_{};

  bool dragging_ = false;
  int drag_x_ = 0, drag_y_ = 0;
  bool promotion_open_ = false;
  bool close_scheduled_ = false;  // a close waits for the handler that ran the work

  wxTimer clock_timer_;
  wxTimer forward_timer_;
  wxTimer back_timer_;
  wxTimer analysis_timer_;  // polls the 検討 engine
  wxTimer record_timer_;    // polls 棋譜解析
};

}  // namespace shogi::gui
