// The board view: painting, the mouse, the timers and the menu commands.
#include "shell/gui/shogi_view.h"

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>

#include "platform/message_pump.h"
#include "shell/board_setup.h"
#include "shell/engine_commands.h"
#include "shell/engine_player.h"
#include "shell/game_clock.h"
#include "shell/game_driver.h"
#include "shell/gui/engine_dialogs.h"
#include "shell/inprocess_player.h"
#include "shell/jsk_player_book.h"
#include "shell/library_binding.h"
#include "shell/navigation.h"

namespace shogi::gui {

namespace {

// The 検討 panel's timer: the engine's output is taken without blocking this often.
constexpr int kAnalysisTimerId = 400;
constexpr int kAnalysisTimerPeriod = 200;  // milliseconds

wxRect ToWx(const Rect& r) {
  return wxRect(r.X, r.Y, r.Width, r.Height);
}

// Fills `r` with copies of `tile` that start at the rectangle's corner.
void Tile(wxDC& dc, const wxBitmap& tile, const Rect& r) {
  wxDCClipper clip(dc, ToWx(r));
  for (int y = r.Y; y < r.Bottom(); y += tile.GetHeight()) {
    for (int x = r.X; x < r.Right(); x += tile.GetWidth()) dc.DrawBitmap(tile, x, y, true);
  }
}

constexpr const char* kSenteMarkUtf8 = "▲";
constexpr const char* kGoteMarkUtf8 = "△";

}  // namespace

void InstallWindowMessagePump() {
  // Yield refuses to nest, so a pump called from inside a pumped handler does nothing.
  SetMessagePump([] {
    if (wxTheApp) wxTheApp->Yield(true);
  });
}

// --- ViewUserInterface ---

MessageAnswer ViewUserInterface::ShowMessage(const std::string& caption, const std::string& text,
                                             MessageButtons buttons, MessageIcon icon) {
  return dialogs_.ShowMessage(caption, text, buttons, icon);
}
FileDialogResult ViewUserInterface::ChooseOpenFile(const FileDialogRequest& request) {
  return dialogs_.ChooseOpenFile(request);
}
FileDialogResult ViewUserInterface::ChooseSaveFile(const FileDialogRequest& request) {
  return dialogs_.ChooseSaveFile(request);
}
int ViewUserInterface::ChooseFromList(const std::string& title, const std::string& prompt,
                                      const std::vector<std::string>& items, int initial) {
  return dialogs_.ChooseFromList(title, prompt, items, initial);
}
bool ViewUserInterface::InputText(const std::string& title, const std::string& prompt,
                                  std::string& text) {
  return dialogs_.InputText(title, prompt, text);
}
void ViewUserInterface::SetStatusText(const std::string& text) {
  dialogs_.SetStatusText(text);
  view_.SetStatus(text);
}
bool ViewUserInterface::GetClipboardText(std::string& text) {
  wxClipboardLocker locker;
  if (!locker || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) return false;
  wxTextDataObject data;
  if (!wxTheClipboard->GetData(data)) return false;
  text = data.GetText().utf8_string();
  return true;
}
bool ViewUserInterface::SetClipboardText(const std::string& text) {
  wxClipboardLocker locker;
  if (!locker) return false;
  const bool done = wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text)));
  wxTheClipboard->Flush();  // the text stays when the program ends
  return done;
}
bool ViewUserInterface::EditDiagramPrint(PrintSettings& settings) {
  return dialogs_.EditDiagramPrint(settings);
}
void ViewUserInterface::RunPrint(PrintAction action, const ProgramState& state) {
  dialogs_.RunPrint(action, state);
}
void ViewUserInterface::ShowProblemBitmap(ProblemBitmapSession& session) {
  dialogs_.ShowProblemBitmap(session);
}
bool ViewUserInterface::EditGameConditions(GameConditions& conditions) {
  return dialogs_.EditGameConditions(conditions);
}
bool ViewUserInterface::EditReplaySpeed(int& interval_ms) {
  return dialogs_.EditReplaySpeed(interval_ms);
}
bool ViewUserInterface::EditMateStart(MateStartSettings& settings) {
  return dialogs_.EditMateStart(settings);
}
MateAttackerChoice ViewUserInterface::ChooseMateAttacker() {
  return dialogs_.ChooseMateAttacker();
}
bool ViewUserInterface::EditPieceValues(PieceValueTable& values) {
  return dialogs_.EditPieceValues(values);
}
void ViewUserInterface::ShowBestMoves(const std::vector<BestMoveRow>& rows) {
  dialogs_.ShowBestMoves(rows);
}
void ViewUserInterface::ShowBookMoves(const std::vector<BookMoveRow>& rows) {
  dialogs_.ShowBookMoves(rows);
}
bool ViewUserInterface::EditBookBuild(BookBuildOptions& options) {
  return dialogs_.EditBookBuild(options);
}
SortOrderChoice ViewUserInterface::ChooseSortOrder() {
  return dialogs_.ChooseSortOrder();
}
bool ViewUserInterface::EditSwapNumbers(SwapRequest& request) {
  return dialogs_.EditSwapNumbers(request);
}
bool ViewUserInterface::EditRenameNumbers(RenameNumbersRequest& request) {
  return dialogs_.EditRenameNumbers(request);
}
bool ViewUserInterface::EditRenameNames(RenameNamesRequest& request) {
  return dialogs_.EditRenameNames(request);
}
bool ViewUserInterface::EditYearbookImport(YearbookFiles& files) {
  return dialogs_.EditYearbookImport(files);
}
bool ViewUserInterface::EditSearchConditions(SearchConditions& conditions, SearchDates& dates,
                                             const SearchChoices& choices) {
  return dialogs_.EditSearchConditions(conditions, dates, choices);
}
void ViewUserInterface::ShowGameList(GameListSession& session) {
  dialogs_.ShowGameList(session);
}
bool ViewUserInterface::OpenInTextEditor(const std::string& path) {
  return dialogs_.OpenInTextEditor(path);
}
bool ViewUserInterface::EditEngineList(EngineList& list) {
  return dialogs_.EditEngineList(list);
}
void ViewUserInterface::ShowAnalysis(const AnalysisView* view) {
  view_.ShowAnalysis(view);
}
bool ViewUserInterface::ChooseRecordFile(RecordFileRequest& request) {
  return dialogs_.ChooseRecordFile(request);
}
KayaSaveChoice ViewUserInterface::AskKayaSave() {
  return dialogs_.AskKayaSave();
}
bool ViewUserInterface::ChooseListedRecord(RecordListModel& list) {
  return dialogs_.ChooseListedRecord(list);
}
bool ViewUserInterface::InputUrl(std::string& url) {
  return dialogs_.InputUrl(url);
}
bool ViewUserInterface::EditTimes(TimeEditor& editor) {
  return dialogs_.EditTimes(editor);
}
void ViewUserInterface::ApplyUpdate(const ViewUpdate& update) {
  view_.Apply(update);
}
void ViewUserInterface::EndProgram(int exit_code) {
  view_.EndProgram(exit_code);
}
void ViewUserInterface::ShowRecordFile(const std::string& path, bool read) {
  view_.ShowRecordFile(path, read);
}
WindowPlacement ViewUserInterface::FramePlacement() {
  const wxPoint p = wxGetTopLevelParent(&view_)->GetPosition();
  return {p.x, p.y};
}
void ViewUserInterface::CloseMainWindow() {
  wxGetTopLevelParent(&view_)->Close();
}

// --- construction ---

CShogiView::CShogiView(wxWindow* parent, const ViewOptions& options)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(kViewWidth, kViewHeight),
               wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      profile_(*options.Settings),
      folder_(options.ProgramFolder.empty() ? CurrentProgramFolder() : options.ProgramFolder),
      binding_(std::make_unique<LibraryBinding>()),
      window_dialogs_(parent, folder_),
      ui_(*this, options.Dialogs ? *options.Dialogs : window_dialogs_),
      ctx_{state_, ui_, nullptr, nullptr},
      env_{ctx_, profile_, settings_},
      clock_timer_(this, kClockTimerId),
      forward_timer_(this, kReplayForwardTimerId),
      back_timer_(this, kReplayBackTimerId),
      analysis_timer_(this, kAnalysisTimerId) {
  // The order of start-up: the program folder (above), the thinking library, the settings,
  // the initial state, the piece values (read with the settings).
  if (options.BindLibrary) binding_->Bind(folder_);
  ctx_.Library = &binding_->Player();
  // 思考ﾚﾍﾞﾙ1..9: the in-process player, reading the stop request from the state's AbortFlag.
  in_process_ = std::make_unique<InProcessPlayer>(&state_.AbortFlag);
  ctx_.InProcess = in_process_.get();
  LoadSettings(profile_, folder_, settings_);
  // Its opening book: the file 定跡 names, looked at again at every lookup.
  book_ = std::make_unique<JskPlayerBook>(&settings_.Files.Book);
  in_process_->SetBook(book_.get());
  InitProgramState(state_);
  // The outside engines of the profile, as players and for 検討.
  engines_ = std::make_unique<EnginePlayer>(&state_.AbortFlag);
  engines_->SetList(LoadEngineList(profile_));
  ctx_.Engines = engines_.get();
  analysis_ = std::make_unique<EngineAnalysis>();
  ctx_.Analysis = analysis_.get();

  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetMinClientSize(wxSize(kViewWidth, kViewHeight));
  Bind(wxEVT_PAINT, &CShogiView::OnPaint, this);
  Bind(wxEVT_TIMER, &CShogiView::OnTimer, this);
  Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) { LeftDown(e.GetX(), e.GetY()); });
  Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) { LeftUp(e.GetX(), e.GetY()); });
  Bind(wxEVT_MOTION, [this](wxMouseEvent& e) { MouseMove(e.GetX(), e.GetY()); });
  Bind(wxEVT_RIGHT_DOWN, [this](wxMouseEvent& e) { RightDown(e.GetX(), e.GetY()); });
  Bind(wxEVT_RIGHT_UP, [this](wxMouseEvent&) { RightUp(); });
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { EndDrag(); });
}

CShogiView::~CShogiView() {
  state_.AbortFlag = kAbortClosing;
  clock_timer_.Stop();
  forward_timer_.Stop();
  back_timer_.Stop();
  // The engine of 検討 is ended here; its panel belongs to the frame, which destroys it.
  analysis_timer_.Stop();
  state_.Analysing = false;
  analysis_->Finish();
  ReleaseMouseIfHeld();
  binding_->Unload();
}

bool CShogiView::LibraryOffered() const {
  return binding_->Flags() != 0;
}

// --- commands ---

void CShogiView::ShowRecordFile(const std::string& path, bool read) {
  if (read) {
    next_moves_ = true;
    next_moves_ply_ = state_.Record.PlyCount;
    next_moves_position_ = state_.Shown;
  }
  if (OnDocumentName) OnDocumentName(path);
}

void CShogiView::RunCommand(int id) {
  Apply(shogi::RunCommand(env_, id));
}

// --- what the shell asks ---

void CShogiView::Apply(const ViewUpdate& u) {
  wxStopWatch watch;
  if (u.StopTimers & kTimerClock) clock_timer_.Stop();
  if (u.StopTimers & kTimerReplayForward) forward_timer_.Stop();
  if (u.StopTimers & kTimerReplayBack) back_timer_.Stop();
  const int interval = u.ReplayInterval > 0 ? u.ReplayInterval : state_.Settings.ReplayInterval;
  if (u.StartTimers & kTimerClock) clock_timer_.Start(kClockTimerPeriod);
  if (u.StartTimers & kTimerReplayForward) forward_timer_.StartOnce(interval);
  if (u.StartTimers & kTimerReplayBack) back_timer_.StartOnce(interval);

  if (u.Parts & kViewHidePromotion) ShowPromotionBox(false);
  // The scene is compared with what is on screen, so a redraw repaints only what differs,
  // whatever the update names.
  const std::size_t logged = repaint_log_.size();
  Redraw((u.Parts & kViewFullRefresh) != 0);
  const bool repainted = repaint_log_.size() != logged || logged == 256;
  if (u.Parts & kViewShowPromotion) ShowPromotionBox(true);
  if (promotion_open_ && state_.InteractionState != kStatePromotion) ShowPromotionBox(false);
  // Shown at once: the shell may block right after this (a box, the computer thinking).
  Update();
  last_apply_us_ = static_cast<long>(watch.TimeInMicro().GetValue());
  if (repainted && !last_changes_.empty()) repaint_log_.back().ScreenMicroseconds = last_apply_us_;
}

bool CShogiView::CloseRequested() {
  EndDrag();
  ReleaseMouseIfHeld();
  return NotifyClosing(state_);
}

void CShogiView::EndProgram(int exit_code) {
  closing_ = true;
  if (OnEndProgram) OnEndProgram(exit_code);
}

void CShogiView::SetStatus(const std::string& text) {
  if (auto* frame = dynamic_cast<wxFrame*>(wxGetTopLevelParent(this))) {
    if (frame->GetStatusBar()) frame->SetStatusText(wxString::FromUTF8(text), 0);
  }
}

// --- drawing ---

void CShogiView::PaintStatic() {
  const wxSize client = GetClientSize();
  const int w = std::max(client.x, kViewWidth), h = std::max(client.y, kViewHeight);
  clean_ = wxBitmap(w, h, 24);
  backing_ = wxBitmap(w, h, 24);
  wxMemoryDC dc(clean_);
  Tile(dc, art_.Image(kImageBackground), Rect{0, 0, w, h});
  // A dark edge around each panel sets it off from the cloth.
  dc.SetPen(wxPen(wxColour(28, 34, 26), 1));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  for (const Rect& r : {kBoardPanelRect, kUpperHandRect, kLowerHandRect, kInfoPanelRect,
                        kMessageRect, kMovePanelRect}) {
    dc.DrawRectangle(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2);
  }
  for (const Rect& r : {kBoardPanelRect, kUpperHandRect, kLowerHandRect}) {
    Tile(dc, art_.Image(kImageBoardTile), r);
  }
  for (const Rect& r : {kInfoPanelRect, kMessageRect, kMovePanelRect}) {
    Tile(dc, art_.Image(kImagePanel), r);
  }
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(wxColour(16, 12, 8)));
  const int grid = 9 * kCellWidth + kGridLineWidth, grid_h = 9 * kCellHeight + kGridLineWidth;
  for (int k = 0; k <= 9; ++k) {
    dc.DrawRectangle(kGridLeft + kCellWidth * k, kGridTop, kGridLineWidth, grid_h);
    dc.DrawRectangle(kGridLeft, kGridTop + kCellHeight * k, grid, kGridLineWidth);
  }
  for (const auto& star : kStarPoints) {
    dc.DrawBitmap(art_.Image(kImageStarPoint), star[0], star[1], true);
  }
  dc.SelectObject(wxNullBitmap);
}

void CShogiView::DrawPiece(wxDC& dc, int code, int x, int y) {
  const wxBitmap& image = art_.Image(PieceImageId(code));
  if (image.IsOk()) dc.DrawBitmap(image, x, y, true);
}

void CShogiView::DrawLine(wxDC& dc, int x, int y, const std::string& text, const Rect& clip) {
  wxDCClipper clipper(dc, ToWx(clip));
  std::string rest = text;
  for (const auto& [mark, image] :
       {std::pair{kSenteMarkUtf8, kImageSenteMark}, std::pair{kGoteMarkUtf8, kImageGoteMark}}) {
    if (rest.rfind(mark, 0) == 0) {
      dc.DrawBitmap(art_.Image(image), x, y, true);
      rest.erase(0, std::char_traits<char>::length(mark));
      x += kMarkSize;
      break;
    }
  }
  dc.SetFont(art_.TextFont());
  dc.SetTextForeground(wxColour(16, 16, 16));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawText(wxString::FromUTF8(rest), x, y);
}

void CShogiView::PaintChange(wxDC& dc, const SceneChange& c, const ViewScene& scene) {
  {
    wxMemoryDC clean(clean_);
    dc.Blit(c.Area.X, c.Area.Y, c.Area.Width, c.Area.Height, &clean, c.Area.X, c.Area.Y);
  }
  switch (c.Item) {
    case SceneItem::kCell:
      if (scene.Cells[c.Index] != 0) {
        wxDCClipper clip(dc, ToWx(c.Area));
        DrawPiece(dc, scene.Cells[c.Index], PieceLeft(c.Index), PieceTop(c.Index));
      }
      break;
    case SceneItem::kHandSlot: {
      const auto hand = static_cast<ScreenHand>(c.Hand);
      const int n = scene.Hands[hand][c.Index];
      const PieceSlot slot = HandSlot(hand, c.Index);
      const int code = hand == kLowerHand ? c.Index : -c.Index;
      for (int k = 0; k < n; ++k) DrawPiece(dc, code, SlotPieceLeft(slot, k, n), slot.Y);
      break;
    }
    case SceneItem::kBoxSlot: {
      const int n = scene.Box[c.Index];
      const PieceSlot slot = BoxSlot(c.Index);
      const int code = c.Index == 0 ? kKing : c.Index;
      for (int k = 0; k < n; ++k) DrawPiece(dc, code, SlotPieceLeft(slot, k, n), slot.Y);
      break;
    }
    case SceneItem::kInfoLine:
      DrawLine(dc, kInfoTextLeft, InfoLineTop(c.Index), scene.Info[c.Index], c.Area);
      break;
    case SceneItem::kMessage:
      if (scene.Message[1].empty()) {
        DrawLine(dc, kMessageTextLeft, kMessageSingleLineTop, scene.Message[0], c.Area);
      } else {
        DrawLine(dc, kMessageTextLeft, kMessageLineTops[0], scene.Message[0], c.Area);
        DrawLine(dc, kMessageTextLeft, kMessageLineTops[1], scene.Message[1], c.Area);
      }
      break;
    case SceneItem::kMoveLine:
      DrawLine(dc, kMoveListTextLeft, MoveLineTop(c.Index), scene.Moves[c.Index], c.Area);
      break;
    case SceneItem::kMovePanel:
      break;
  }
}

std::vector<SceneChange> CShogiView::Redraw(bool full) {
  wxStopWatch watch;
  if (!clean_.IsOk()) {
    PaintStatic();
    full = true;
  }
  if (next_moves_ &&
      (state_.Record.PlyCount != next_moves_ply_ || !(state_.Shown == next_moves_position_))) {
    next_moves_ = false;
  }
  ViewScene scene = BuildScene(state_, next_moves_);
  if (full) shown_.reset();
  std::vector<SceneChange> changes = SceneChanges(shown_ ? &*shown_ : nullptr, scene);
  if (!changes.empty()) {
    wxMemoryDC dc(backing_);
    if (!shown_) {
      wxMemoryDC clean(clean_);
      dc.Blit(0, 0, clean_.GetWidth(), clean_.GetHeight(), &clean, 0, 0);
    }
    for (const SceneChange& c : changes) PaintChange(dc, c, scene);
  }
  if (!shown_) {
    Refresh(false);
  } else {
    for (const SceneChange& c : changes) RefreshArea(c.Area);
  }
  shown_ = std::move(scene);
  last_changes_ = changes;
  last_redraw_us_ = static_cast<long>(watch.TimeInMicro().GetValue());
  if (!changes.empty()) {
    if (repaint_log_.size() >= 256) repaint_log_.erase(repaint_log_.begin());
    repaint_log_.push_back({changes, last_redraw_us_, 0});
  }
  return changes;
}

void CShogiView::RefreshArea(const Rect& r) {
  RefreshRect(ToWx(r), false);
}

void CShogiView::DrawOverlays(wxDC& dc) {
  const bool flipped = state_.Record.BoardFlipped;
  if (promotion_open_) {
    dc.DrawBitmap(art_.Image(kImagePromotionBox), kPromotionRect.X, kPromotionRect.Y, true);
    const PromotionChoice& p = state_.Promotion;
    DrawPiece(dc, flipped ? -p.PlainCode : p.PlainCode, kPromotionPlainLeft, kPromotionPieceTop);
    DrawPiece(dc, flipped ? -p.PromotedCode : p.PromotedCode, kPromotionPromotedLeft,
              kPromotionPieceTop);
  }
  if (dragging_ && state_.Held.Active) {
    const Rect r = DraggedPieceRect(drag_x_, drag_y_);
    DrawPiece(dc, flipped ? -state_.Held.Code : state_.Held.Code, r.X, r.Y);
  }
}

void CShogiView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  if (!backing_.IsOk() || !shown_) Redraw(true);
  {
    wxMemoryDC source(backing_);
    for (wxRegionIterator it(GetUpdateRegion()); it; ++it) {
      const wxRect r = it.GetRect();
      dc.Blit(r.x, r.y, r.width, r.height, &source, r.x, r.y);
    }
  }
  DrawOverlays(dc);
  painted_ = true;
}

wxBitmap CShogiView::Snapshot() {
  if (!shown_) Redraw(true);
  wxBitmap picture(backing_.GetWidth(), backing_.GetHeight(), 24);
  wxMemoryDC dc(picture);
  {
    wxMemoryDC source(backing_);
    dc.Blit(0, 0, backing_.GetWidth(), backing_.GetHeight(), &source, 0, 0);
  }
  DrawOverlays(dc);
  dc.SelectObject(wxNullBitmap);
  return picture;
}

// --- timers ---

void CShogiView::OnTimer(wxTimerEvent& event) {
  switch (event.GetId()) {
    case kClockTimerId:
      Apply(GameClockTick(state_));
      break;
    case kReplayForwardTimerId:
      Apply(ReplayForwardTimer(state_));
      break;
    case kReplayBackTimerId:
      Apply(ReplayBackTimer(state_));
      break;
    case kAnalysisTimerId:
      TickAnalysis(ctx_);
      break;
    default:
      break;
  }
}

// --- 検討 ---

void CShogiView::ShowAnalysis(const AnalysisView* view) {
  if (!view) {
    analysis_timer_.Stop();
    if (analysis_panel_) analysis_panel_->Destroy();
    analysis_panel_ = nullptr;
    return;
  }
  if (!analysis_panel_) {
    analysis_panel_ = new CAnalysisPanel(wxGetTopLevelParent(this));
    analysis_panel_->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { StopAnalysis(ctx_); });
    analysis_panel_->Show();
    analysis_timer_.Start(kAnalysisTimerPeriod);
  }
  analysis_panel_->ShowView(*view);
}

// --- the mouse ---

void CShogiView::CapturePointer() {
  if (!HasCapture()) CaptureMouse();
}

void CShogiView::ReleaseMouseIfHeld() {
  if (HasCapture()) ReleaseMouse();
}

void CShogiView::StartDrag(int x, int y) {
  dragging_ = true;
  drag_x_ = x;
  drag_y_ = y;
  SetCursor(wxCursor(wxCURSOR_BLANK));
  CapturePointer();
  RefreshArea(DraggedPieceRect(x, y));
}

void CShogiView::EndDrag() {
  if (!dragging_) return;
  RefreshArea(DraggedPieceRect(drag_x_, drag_y_));
  dragging_ = false;
  SetCursor(wxNullCursor);
}

void CShogiView::ShowPromotionBox(bool show) {
  if (promotion_open_ == show) return;
  promotion_open_ = show;
  RefreshArea(kPromotionRect);
  if (show) {
    // The choice cannot be left: the pointer goes into the box and stays there.
    WarpPointer(kPromotionPointerX, kPromotionPointerY);
    CapturePointer();
  }
}

void CShogiView::LeftDown(int x, int y) {
  if (closing_) return;
  const int s = state_.InteractionState;
  const BoardSpot spot = shogi::HitTest(x, y, state_.Record.BoardFlipped);
  ViewUpdate u;
  if (s == kStatePromotion) {
    // A box may follow (the move ended the game): the mouse is let go first.
    ReleaseMouseIfHeld();
    Apply(ChoosePromotion(ctx_, x > kPromotionMiddle));
    return;
  }
  if (s == kStateSetUp) {
    u = SetUpPickUp(state_, spot);
  } else if (s == kStateGame) {
    u = GamePickUp(ctx_, spot);
  } else {
    return;
  }
  if (state_.Held.Active) StartDrag(x, y);
  Apply(u);
}

void CShogiView::LeftUp(int x, int y) {
  if (closing_) return;
  const int s = state_.InteractionState;
  EndDrag();
  // Boxes and the computer's thinking may follow: the mouse is let go before them; the
  // promotion choice takes it again.
  ReleaseMouseIfHeld();
  const BoardSpot spot = shogi::HitTest(x, y, state_.Record.BoardFlipped);
  if (s == kStateSetUp) {
    Apply(SetUpPutDown(state_, spot));
  } else if (s == kStateGame) {
    Apply(GameRelease(ctx_, spot));
  }
}

void CShogiView::MouseMove(int x, int y) {
  if (dragging_) {
    RefreshArea(DraggedPieceRect(drag_x_, drag_y_));
    drag_x_ = x;
    drag_y_ = y;
    RefreshArea(DraggedPieceRect(x, y));
    return;
  }
  if (promotion_open_) {
    int cx = x, cy = y;
    KeepInPromotionBox(cx, cy);
    if (cx != x || cy != y) WarpPointer(cx, cy);
  }
}

void CShogiView::RightDown(int x, int y) {
  if (closing_) return;
  const int s = state_.InteractionState;
  if (IsBusyState(s)) {
    RequestStop(ctx_);
    return;
  }
  if (s == kStatePromotion) {
    ReleaseMouseIfHeld();
    Apply(CancelPromotion(ctx_));
    return;
  }
  if (s == kStateReplaying) {
    Apply(StopContinuousReplay(state_));
  } else if (s == kStateSetUp && !state_.Held.Active) {
    Apply(SetUpCyclePiece(state_, shogi::HitTest(x, y, state_.Record.BoardFlipped)));
  }
  if (!dragging_) CapturePointer();
}

void CShogiView::RightUp() {
  if (!dragging_ && !promotion_open_) ReleaseMouseIfHeld();
}

}  // namespace shogi::gui
