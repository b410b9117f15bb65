// The board view: painting, the mouse, the timers and the menu commands.
#include "shell/gui/shogi_view.h"
#include "shell/record_commands.h"

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>

#include "players/engine_player.h"
#include "players/inprocess_player.h"
#include "players/jsk_player_book.h"
#include "players/library_binding.h"
#include "shell/board_clicks.h"
#include "shell/board_setup.h"
#include "shell/engine_commands.h"
#include "shell/explorer_panel.h"
#include "shell/game_clock.h"
#include "shell/game_driver.h"
#include "shell/gui/engine_dialogs.h"
#include "shell/gui/explorer_window.h"
#include "shell/gui/notes_window.h"
#include "shell/navigation.h"
#include "shell/record_analysis_commands.h"
#include "shell/record_notes.h"
#include "shell/score_graph.h"
#include "shell/view_texts.h"

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

void CShogiView::PumpMessages() {
  if (MessagePump) {
    MessagePump();
    return;
  }
  // Yield refuses to nest, so a pump called from inside a pumped handler does nothing.
  if (wxTheApp) wxTheApp->Yield(true);
}

// --- construction ---

CShogiView::CShogiView(wxWindow* parent, const ViewOptions& options)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(kViewWidth, kViewHeight),
               wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      profile_(*options.Settings),
      folder_(options.ProgramFolder.empty() ? CurrentProgramFolder() : options.ProgramFolder),
      binding_(std::make_unique<LibraryBinding>()),
      window_dialogs_(parent, folder_),
      ctx_(state_, options.Dialogs ? *options.Dialogs : window_dialogs_, *this),
      env_{ctx_, profile_, settings_},
      clock_timer_(this, kClockTimerId),
      forward_timer_(this, kReplayForwardTimerId),
      back_timer_(this, kReplayBackTimerId),
      analysis_timer_(this, kAnalysisTimerId),
      record_timer_(this, kRecordAnalysisTimerId) {
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
  state_.Display = LoadDisplayOptions(profile_);
  state_.Marks = LoadMarkThresholds(profile_);
  // The pictures at the stored scale from the start (the frame sizes itself to it).
  scale_ = ViewScale{EffectivePercent()};
  static_key_.Scale = scale_.Percent;
  if (art_.ScalePercent() != scale_.Percent) art_ = Artwork(scale_.Percent);
  // The outside engines of the profile, as players and for 検討.
  engines_ = std::make_unique<EnginePlayer>(&state_.AbortFlag);
  engines_->SetList(LoadEngineList(profile_));
  ctx_.Engines = engines_.get();
  analysis_ = std::make_unique<EngineAnalysis>();
  ctx_.Analysis = analysis_.get();
  record_run_ = std::make_unique<RecordAnalysisSession>();
  ctx_.RecordRun = record_run_.get();
  explorer_ = std::make_unique<ExplorerPanel>(settings_.Folder);

  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!FitsWindow()) SetMinClientSize(ScaledSize());
  Bind(wxEVT_PAINT, &CShogiView::OnPaint, this);
  Bind(wxEVT_TIMER, &CShogiView::OnTimer, this);
  Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) { LeftDown(X(e), Y(e)); });
  Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) { LeftUp(X(e), Y(e)); });
  Bind(wxEVT_MOTION, [this](wxMouseEvent& e) { MouseMove(X(e), Y(e)); });
  Bind(wxEVT_RIGHT_DOWN, [this](wxMouseEvent& e) { RightDown(X(e), Y(e)); });
  Bind(wxEVT_RIGHT_UP, [this](wxMouseEvent&) { RightUp(); });
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { EndDrag(); });
  // Grown beyond the painted picture (the frame followed a new scale), or resized while the
  // view fits its window: painted afresh at the size it has now.
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    if (clean_.IsOk() &&
        (FitsWindow() || e.GetSize().x > clean_.GetWidth() || e.GetSize().y > clean_.GetHeight())) {
      clean_ = wxBitmap();
      shown_.reset();
      Refresh(false);
    }
    e.Skip();
  });
  Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& e) {
    Wheel(X(e), Y(e), e.GetWheelRotation(), e.GetWheelDelta());
  });
  Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
    if (!KeyDown(e.GetKeyCode())) e.Skip();
  });
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
  record_timer_.Stop();
  state_.RecordAnalysing = false;
  *record_run_ = RecordAnalysisSession{};
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
  ApplyUpdate(shogi::RunCommand(env_, id));
}

// --- what the shell asks ---

void CShogiView::ApplyUpdate(const ViewUpdate& u) {
  wxStopWatch watch;
  if (u.StopTimers & kTimerClock) clock_timer_.Stop();
  if (u.StopTimers & kTimerReplayForward) forward_timer_.Stop();
  if (u.StopTimers & kTimerReplayBack) back_timer_.Stop();
  const int interval = u.ReplayInterval > 0 ? u.ReplayInterval : state_.Settings.ReplayInterval;
  if (u.StartTimers & kTimerClock) clock_timer_.Start(kClockTimerPeriod);
  if (u.StartTimers & kTimerReplayForward) forward_timer_.StartOnce(interval);
  if (u.StartTimers & kTimerReplayBack) back_timer_.StartOnce(interval);
  if (u.StopTimers & kTimerRecordAnalysis) record_timer_.Stop();
  if (u.StartTimers & kTimerRecordAnalysis) record_timer_.Start(kRecordAnalysisTimerPeriod);

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
  UpdateNotesWindow();
  last_apply_us_ = static_cast<long>(watch.TimeInMicro().GetValue());
  if (repainted && !last_changes_.empty()) repaint_log_.back().ScreenMicroseconds = last_apply_us_;
  CloseWhenWorkEnded();
  // The panel follows once the command that changed the position has returned.
  if ((state_.ExplorerShown || explorer_panel_) && !explorer_pending_) {
    explorer_pending_ = true;
    CallAfter([this] { FollowExplorer(); });
  }
}

bool CShogiView::CloseRequested() {
  EndDrag();
  ReleaseMouseIfHeld();
  return NotifyClosing(state_);
}

bool CShogiView::ConfirmClose() {
  if (ConfirmClosing(ctx_, profile_, env_.Settings)) return true;
  state_.ClosePending = false;  // the person stays: the window is alive again
  return false;
}

void CShogiView::CloseWhenWorkEnded() {
  if (!state_.ClosePending || close_scheduled_ || IsBusyState(state_.InteractionState) ||
      state_.InteractionState == kStateDatabase) {
    return;
  }
  // After the handler that ran the work has returned: the frame is closed as the person
  // asked, with the question about an unsaved record.
  close_scheduled_ = true;
  CallAfter([this] {
    close_scheduled_ = false;
    wxGetTopLevelParent(this)->Close();
  });
}

void CShogiView::EndProgram(int exit_code) {
  state_.ClosePending = true;
  if (OnEndProgram) OnEndProgram(exit_code);
}

void CShogiView::SetStatusText(const std::string& text) {
  if (auto* frame = dynamic_cast<wxFrame*>(wxGetTopLevelParent(this))) {
    if (frame->GetStatusBar()) frame->SetStatusText(wxString::FromUTF8(text), 0);
  }
}

bool CShogiView::GetClipboardText(std::string& text) {
  wxClipboardLocker locker;
  if (!locker || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) return false;
  wxTextDataObject data;
  if (!wxTheClipboard->GetData(data)) return false;
  text = data.GetText().utf8_string();
  return true;
}

bool CShogiView::SetClipboardText(const std::string& text) {
  wxClipboardLocker locker;
  if (!locker) return false;
  const bool done = wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text)));
  wxTheClipboard->Flush();  // the text stays when the program ends
  return done;
}

WindowPlacement CShogiView::FramePlacement() {
  const wxPoint p = wxGetTopLevelParent(this)->GetPosition();
  return {p.x, p.y};
}

void CShogiView::CloseMainWindow() {
  wxGetTopLevelParent(this)->Close();
}

// --- drawing ---

wxRect CShogiView::Device(const Rect& r) const {
  return ToWx(scale_.Px(r));
}

int CShogiView::EffectivePercent() const {
  if (!FitsWindow()) return state_.Display.Scale;
  const wxSize client = GetClientSize();
  const GraphPlace place = GraphPlacement();
  return FitPercent(client.x, client.y, LayoutWidth(place), LayoutHeight(place));
}

wxSize CShogiView::ScaledSize() const {
  const ViewScale scale{EffectivePercent()};
  const GraphPlace place = GraphPlacement();
  return wxSize(scale.Px(LayoutWidth(place)), scale.Px(LayoutHeight(place)));
}

GraphPlace CShogiView::GraphPlacement() const {
  if (!state_.Display.ScoreGraph) return GraphPlace::kNone;
  if (!FitsWindow()) return GraphPlace::kBelow;
  const wxSize client = GetClientSize();
  return FitGraphPlace(client.x, client.y);
}

bool CShogiView::UpdateStaticPicture() {
  const DisplayOptions& d = state_.Display;
  const StaticKey key{EffectivePercent(), d.Coordinates,
                      d.Coordinates && state_.Record.BoardFlipped, GraphPlacement()};
  if (key == static_key_ && clean_.IsOk()) return false;
  const bool resized = key.Scale != static_key_.Scale || key.Place != static_key_.Place;
  static_key_ = key;
  if (resized) {
    scale_ = ViewScale{key.Scale};
    if (art_.ScalePercent() != key.Scale) art_ = Artwork(key.Scale);
    // A fixed scale asks the frame for the room it needs; a fitted view takes what it gets.
    SetMinClientSize(FitsWindow() ? wxSize(-1, -1) : ScaledSize());
    if (OnSizeChanged && !FitsWindow()) OnSizeChanged();
  }
  PaintStatic();
  return true;
}

void CShogiView::PaintStatic() {
  const wxSize client = GetClientSize();
  const wxSize size = ScaledSize();
  origin_ = FitsWindow() ? wxPoint(std::max(0, (client.x - size.x) / 2),
                                   std::max(0, (client.y - size.y) / 2))
                         : wxPoint(0, 0);
  const int w = std::max(client.x, size.x), h = std::max(client.y, size.y);
  clean_ = wxBitmap(w, h, 24);
  backing_ = wxBitmap(w, h, 24);
  wxMemoryDC dc(clean_);
  Tile(dc, art_.Image(kImageBackground), Rect{0, 0, w, h});
  AtOrigin(dc);
  const bool coordinates = state_.Display.Coordinates;
  const Rect board = coordinates ? kCoordinateBoardRect : kBoardPanelRect;
  // A dark edge around each panel sets it off from the cloth.
  dc.SetPen(wxPen(wxColour(28, 34, 26), 1));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  const Rect graph = ScoreGraphRect(static_key_.Place);
  for (const Rect& r : {board, kUpperHandRect, kLowerHandRect, kInfoPanelRect, kMessageRect,
                        kMovePanelRect, graph}) {
    if (r.Empty()) continue;
    const wxRect d = Device(r);
    dc.DrawRectangle(d.x - 1, d.y - 1, d.width + 2, d.height + 2);
  }
  if (!graph.Empty()) Tile(dc, art_.Image(kImagePanel), scale_.Px(graph));
  for (const Rect& r : {board, kUpperHandRect, kLowerHandRect}) {
    Tile(dc, art_.Image(kImageBoardTile), scale_.Px(r));
  }
  for (const Rect& r : {kInfoPanelRect, kMessageRect, kMovePanelRect}) {
    Tile(dc, art_.Image(kImagePanel), scale_.Px(r));
  }
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(wxColour(16, 12, 8)));
  const int grid = 9 * kCellWidth + kGridLineWidth, grid_h = 9 * kCellHeight + kGridLineWidth;
  for (int k = 0; k <= 9; ++k) {
    dc.DrawRectangle(Device(Rect{kGridLeft + kCellWidth * k, kGridTop, kGridLineWidth, grid_h}));
    dc.DrawRectangle(Device(Rect{kGridLeft, kGridTop + kCellHeight * k, grid, kGridLineWidth}));
  }
  for (const auto& star : kStarPoints) {
    dc.DrawBitmap(art_.Image(kImageStarPoint), scale_.Px(star[0]), scale_.Px(star[1]), true);
  }
  if (coordinates) PaintCoordinates(dc);
  dc.SelectObject(wxNullBitmap);
  PaintTintSources();
}

void CShogiView::PaintCoordinates(wxDC& dc) {
  const bool flipped = static_key_.Flipped;
  dc.SetFont(art_.SmallFont());
  dc.SetTextForeground(wxColour(40, 26, 12));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  auto centred = [&](const char* label, int centre_x, int top) {
    const wxString text = wxString::FromUTF8(label);
    dc.DrawText(text, scale_.Px(centre_x) - dc.GetTextExtent(text).x / 2, scale_.Px(top));
  };
  for (int file = 1; file <= 9; ++file) {
    centred(FileLabel(file, flipped), PieceLeft(file) + kCellWidth / 2 + 1, kFileLabelTop);
  }
  for (int rank = 1; rank <= 9; ++rank) {
    const int middle = PieceTop(SquareOf(1, rank)) + kCellHeight / 2 + 1;
    centred(RankLabel(rank, flipped), kRankLabelLeft + 5, middle - kSmallTextHeight / 2 - 1);
  }
}

void CShogiView::PaintTintSources() {
  // The grid's cells under each tint: the clean picture blended with the tint's colour.
  struct TintColour {
    unsigned char R, G, B;
    double Share;
  };
  static constexpr TintColour kColours[5] = {{0, 0, 0, 0},
                                             {255, 176, 64, 0.22},
                                             {255, 150, 40, 0.45},
                                             {70, 140, 255, 0.38},
                                             {60, 180, 70, 0.38}};
  tinted_area_ = Device(RectFromTo(kGridLeft, kGridTop, kGridLeft + 9 * kCellWidth + kGridLineWidth,
                                   kGridTop + 9 * kCellHeight + kGridLineWidth));
  const wxImage base = clean_.GetSubBitmap(AtOrigin(tinted_area_)).ConvertToImage();
  for (int t = kTintLastOrigin; t <= kTintDestination; ++t) {
    wxImage img = base.Copy();
    unsigned char* p = img.GetData();
    const TintColour& c = kColours[t];
    const std::size_t n = static_cast<std::size_t>(img.GetWidth()) * img.GetHeight();
    for (std::size_t i = 0; i < n; ++i, p += 3) {
      p[0] = static_cast<unsigned char>(p[0] + (c.R - p[0]) * c.Share);
      p[1] = static_cast<unsigned char>(p[1] + (c.G - p[1]) * c.Share);
      p[2] = static_cast<unsigned char>(p[2] + (c.B - p[2]) * c.Share);
    }
    tinted_[t] = wxBitmap(img);
  }
}

void CShogiView::DrawPiece(wxDC& dc, int code, int x, int y) {
  const wxBitmap& image = art_.Image(PieceImageId(code));
  if (image.IsOk()) dc.DrawBitmap(image, scale_.Px(x), scale_.Px(y), true);
}

void CShogiView::PaintCount(wxDC& dc, const PieceSlot& slot, int n) {
  const wxRect plate = Device(CountPlateRect(slot, n));
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(wxColour(40, 32, 24)));
  dc.DrawRoundedRectangle(plate, scale_.Px(3));
  dc.SetFont(art_.CountFont());
  dc.SetTextForeground(wxColour(255, 255, 255));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const wxString text = wxString::Format("%d", n);
  const wxSize extent = dc.GetTextExtent(text);
  dc.DrawText(text, plate.x + (plate.width - extent.x) / 2,
              plate.y + (plate.height - extent.y) / 2);
}

void CShogiView::FramePicked(wxDC& dc, const PieceSlot& slot, int n) {
  dc.SetPen(wxPen(wxColour(50, 110, 230), std::max(2, scale_.Px(2))));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRoundedRectangle(Device(Rect{SlotPieceLeft(slot, n - 1, n) + 1, slot.Y + 1,
                                      kPieceWidth - 2, kPieceHeight - 2}),
                          scale_.Px(3));
}

void CShogiView::DrawLine(wxDC& dc, int x, int y, const std::string& text, const Rect& clip) {
  wxDCClipper clipper(dc, Device(clip));
  std::string rest = text;
  for (const auto& [mark, image] :
       {std::pair{kSenteMarkUtf8, kImageSenteMark}, std::pair{kGoteMarkUtf8, kImageGoteMark}}) {
    if (rest.rfind(mark, 0) == 0) {
      dc.DrawBitmap(art_.Image(image), scale_.Px(x), scale_.Px(y), true);
      rest.erase(0, std::char_traits<char>::length(mark));
      x += kMarkSize;
      break;
    }
  }
  dc.SetFont(art_.TextFont());
  dc.SetTextForeground(wxColour(16, 16, 16));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawText(wxString::FromUTF8(rest), scale_.Px(x), scale_.Px(y));
}

void CShogiView::PaintChange(wxDC& dc, const SceneChange& c, const ViewScene& scene) {
  const wxRect area = Device(c.Area);
  const int tint = c.Item == SceneItem::kCell ? scene.Tints[c.Index] : 0;
  if (tint != kTintNone && tinted_[tint].IsOk()) {
    wxMemoryDC source(tinted_[tint]);
    dc.Blit(area.x, area.y, area.width, area.height, &source, area.x - tinted_area_.x,
            area.y - tinted_area_.y);
  } else {
    wxMemoryDC clean(clean_);
    AtOrigin(clean);
    dc.Blit(area.x, area.y, area.width, area.height, &clean, area.x, area.y);
  }
  switch (c.Item) {
    case SceneItem::kCell:
      if (scene.Cells[c.Index] != 0) {
        wxDCClipper clip(dc, area);
        DrawPiece(dc, scene.Cells[c.Index], PieceLeft(c.Index), PieceTop(c.Index));
      }
      break;
    case SceneItem::kHandSlot: {
      const auto hand = static_cast<ScreenHand>(c.Hand);
      const int n = scene.Hands[hand][c.Index];
      const PieceSlot slot = HandSlot(hand, c.Index);
      const int code = hand == kLowerHand ? c.Index : -c.Index;
      const int drawn = PiecesDrawn(n, scene.Counts);
      for (int k = 0; k < drawn; ++k) DrawPiece(dc, code, SlotPieceLeft(slot, k, drawn), slot.Y);
      if (scene.PickedHand[hand] == c.Index && n > 0) FramePicked(dc, slot, drawn);
      if (scene.Counts && n >= 2) PaintCount(dc, slot, n);
      break;
    }
    case SceneItem::kBoxSlot: {
      const int n = scene.Box[c.Index];
      const PieceSlot slot = BoxSlot(c.Index);
      const int code = c.Index == 0 ? kKing : c.Index;
      const int drawn = PiecesDrawn(n, scene.Counts);
      for (int k = 0; k < drawn; ++k) DrawPiece(dc, code, SlotPieceLeft(slot, k, drawn), slot.Y);
      if (scene.PickedBox == c.Index && n > 0) FramePicked(dc, slot, drawn);
      if (scene.Counts && n >= 2) PaintCount(dc, slot, n);
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
      if (const auto mark = static_cast<MoveMark>(scene.Marks[c.Index]); mark != MoveMark::kNone) {
        // 疑 / 悪 at the line's right end, orange and red.
        dc.SetFont(art_.TextFont());
        dc.SetTextForeground(mark == MoveMark::kBad ? wxColour(200, 20, 20)
                                                    : wxColour(210, 120, 0));
        const wxString text = wxString::FromUTF8(mark == MoveMark::kBad ? "悪" : "疑");
        dc.DrawText(text, area.GetRight() - dc.GetTextExtent(text).x - scale_.Px(3),
                    scale_.Px(MoveLineTop(c.Index)));
      }
      break;
    case SceneItem::kMovePanel:
      if (scene.SetUp && scene.Counts) {
        DrawLine(dc, kBoxLabelLeft, kBoxLabelTop, "駒箱", c.Area);
      }
      break;
  }
}

std::vector<SceneChange> CShogiView::Redraw(bool full) {
  wxStopWatch watch;
  if (UpdateStaticPicture()) full = true;
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
    AtOrigin(dc);
    for (const SceneChange& c : changes) PaintChange(dc, c, scene);
  }
  if (PaintGraph(!shown_) && shown_) RefreshArea(ScoreGraphRect(static_key_.Place));
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

bool CShogiView::PaintGraph(bool full) {
  if (!state_.Display.ScoreGraph) return false;
  const GraphKey key{state_.ScoresVersion, state_.Record.PlyCount, RecordEndPly(state_.Record),
                     ScoresFitRecord(state_)};
  if (key == graph_key_ && !full) return false;
  graph_key_ = key;
  const ScoreGraph g = BuildScoreGraph(state_, static_key_.Place);
  wxMemoryDC dc(backing_);
  AtOrigin(dc);
  const wxRect area = Device(ScoreGraphRect(static_key_.Place));
  {
    wxMemoryDC clean(clean_);
    AtOrigin(clean);
    dc.Blit(area.x, area.y, area.width, area.height, &clean, area.x, area.y);
  }
  wxDCClipper clip(dc, area);
  const int line = std::max(1, scale_.Px(1));
  dc.SetPen(wxPen(wxColour(150, 140, 120), line));
  dc.DrawLine(area.x, scale_.Px(g.ZeroY), area.GetRight(), scale_.Px(g.ZeroY));
  // The shown ply.
  dc.SetPen(wxPen(wxColour(50, 110, 230), line));
  dc.DrawLine(scale_.Px(g.ShownX), area.y, scale_.Px(g.ShownX), area.GetBottom());
  dc.SetPen(wxPen(wxColour(30, 30, 30), std::max(1, scale_.Px(2))));
  for (std::size_t i = 1; i < g.Points.size(); ++i) {
    const GraphPoint& a = g.Points[i - 1];
    const GraphPoint& b = g.Points[i];
    if (b.Ply == a.Ply + 1)
      dc.DrawLine(scale_.Px(a.X), scale_.Px(a.Y), scale_.Px(b.X), scale_.Px(b.Y));
  }
  const int dot = std::max(2, scale_.Px(2));
  for (const GraphPoint& p : g.Points) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(p.Mate ? wxColour(200, 20, 20) : wxColour(30, 30, 30)));
    dc.DrawCircle(scale_.Px(p.X), scale_.Px(p.Y), p.Mate ? dot + 1 : dot);
  }
  return true;
}

void CShogiView::UpdateMoveTip(int x, int y) {
  const int line = state_.InteractionState == kStateIdle ? MoveLineAt(x, y) : -1;
  const int ply = line >= 0 ? MoveListPly(state_.Record, next_moves_, line) : -1;
  if (ply == tip_ply_) return;
  tip_ply_ = ply;
  std::string text;
  if (ply > state_.Record.StartIndex && ScoresFitRecord(state_))
    text = MoveAnalysisText(state_.Record, state_.Scores, ply - 1, state_.Marks);
  if (text.empty()) {
    UnsetToolTip();
  } else {
    SetToolTip(wxString::FromUTF8(text));
  }
}

void CShogiView::RefreshArea(const Rect& r) {
  RefreshRect(AtOrigin(Device(r)), false);
}

Rect CShogiView::DraggedRect() const {
  return DraggedPieceRect(scale_.Layout(drag_x_), scale_.Layout(drag_y_));
}

void CShogiView::DrawOverlays(wxDC& dc) {
  const bool flipped = state_.Record.BoardFlipped;
  if (promotion_open_) {
    dc.DrawBitmap(art_.Image(kImagePromotionBox), scale_.Px(kPromotionRect.X),
                  scale_.Px(kPromotionRect.Y), true);
    const PromotionChoice& p = state_.Promotion;
    DrawPiece(dc, flipped ? -p.PlainCode : p.PlainCode, kPromotionPlainLeft, kPromotionPieceTop);
    DrawPiece(dc, flipped ? -p.PromotedCode : p.PromotedCode, kPromotionPromotedLeft,
              kPromotionPieceTop);
  }
  if (dragging_ && state_.Held.Active) {
    // Centred on the pointer at any scale.
    const wxBitmap& image =
        art_.Image(PieceImageId(flipped ? -state_.Held.Code : state_.Held.Code));
    if (image.IsOk()) {
      dc.DrawBitmap(image, drag_x_ - image.GetWidth() / 2, drag_y_ - image.GetHeight() / 2, true);
    }
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
  AtOrigin(dc);
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
  AtOrigin(dc);
  DrawOverlays(dc);
  dc.SelectObject(wxNullBitmap);
  return picture;
}

// --- timers ---

void CShogiView::OnTimer(wxTimerEvent& event) {
  switch (event.GetId()) {
    case kClockTimerId:
      ApplyUpdate(GameClockTick(state_));
      break;
    case kReplayForwardTimerId:
      ApplyUpdate(ReplayForwardTimer(state_));
      break;
    case kReplayBackTimerId:
      ApplyUpdate(ReplayBackTimer(state_));
      break;
    case kAnalysisTimerId:
      TickAnalysis(ctx_);
      Redraw();  // the graph follows 検討
      break;
    case kRecordAnalysisTimerId:
      ApplyUpdate(TickRecordAnalysis(ctx_));
      break;
    default:
      break;
  }
}

// --- 検討 ---

void CShogiView::UpdateNotesWindow() {
  if (!state_.Display.NotesWindow) {
    if (notes_window_) notes_window_->Destroy();
    notes_window_ = nullptr;
    return;
  }
  if (!notes_window_) {
    notes_window_ = new CNotesWindow(wxGetTopLevelParent(this));
    // Closed by its own box: the switch goes off.
    notes_window_->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { RunCommand(kCmdShowNotes); });
    notes_window_->OnFollow = [this](int index) { FollowVariation(index); };
    notes_window_->OnMakeMain = [this] { RunCommand(kCmdMakeMainLine); };
    notes_window_->OnComment = [this](const std::string& text) {
      if (state_.InteractionState == kStateIdle) SetShownComment(state_, text);
    };
    // Beside the frame, on its right, as far as the screen lets it.
    const wxWindow* frame = wxGetTopLevelParent(this);
    wxPoint at = frame->GetScreenPosition() + wxPoint(frame->GetSize().x, 0);
    const int display = wxDisplay::GetFromWindow(frame);
    if (display != wxNOT_FOUND) {
      const wxRect area = wxDisplay(static_cast<unsigned>(display)).GetClientArea();
      at.x = std::max(area.x, std::min(at.x, area.GetRight() + 1 - notes_window_->GetSize().x));
    }
    notes_window_->SetPosition(at);
    notes_window_->Show();
  }
  notes_window_->ShowState(state_);
}

void CShogiView::FollowVariation(int index) {
  if (state_.ClosePending || dragging_) return;
  if (!shogi::FollowVariation(state_, index)) {
    if (notes_window_) notes_window_->ShowState(state_);
    return;
  }
  ViewUpdate u;
  u.Redraw(kViewBoard | kViewClocks | kViewInfo | kViewMovePanel | kViewMessage);
  ApplyUpdate(u);
}

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

// --- 局面統計 ---

void CShogiView::FollowExplorer() {
  explorer_pending_ = false;
  if (!state_.ExplorerShown) {
    if (explorer_panel_) explorer_panel_->Destroy();
    explorer_panel_ = nullptr;
    return;
  }
  if (!explorer_panel_) {
    wxWindow* frame = wxGetTopLevelParent(this);
    explorer_panel_ = new CExplorerPanel(frame);
    // Beside the frame at its top: on its right, else on its left, else at the screen's
    // right edge.
    const wxRect r = frame->GetScreenRect();
    const int display = wxDisplay::GetFromWindow(frame);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetClientArea();
    const int width = explorer_panel_->GetSize().x;
    int x = r.GetRight() + 4;
    if (x + width > screen.GetRight()) x = r.GetLeft() - 4 - width;
    if (x < screen.GetLeft()) x = screen.GetRight() - width;
    explorer_panel_->Move(x, r.GetTop());
    explorer_panel_->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
      state_.ExplorerShown = false;
      FollowExplorer();
    });
    explorer_panel_->OnMove = [this](int row) { ApplyUpdate(explorer_->PlayMove(ctx_, row)); };
    explorer_panel_->OnGame = [this](int row) { ApplyUpdate(explorer_->LoadGame(ctx_, row)); };
    explorer_panel_->Show();
    explorer_->Forget();
    explorer_panel_->ShowView(explorer_->View());
  }
  if (explorer_->Follow(ctx_) && explorer_panel_) explorer_panel_->ShowView(explorer_->View());
}

// --- the mouse and the keys ---

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
  RefreshArea(DraggedRect());
}

void CShogiView::EndDrag() {
  if (!dragging_) return;
  RefreshArea(DraggedRect());
  dragging_ = false;
  SetCursor(wxNullCursor);
}

void CShogiView::ShowPromotionBox(bool show) {
  if (promotion_open_ == show) return;
  promotion_open_ = show;
  RefreshArea(kPromotionRect);
  if (show) {
    // The choice cannot be left: the pointer goes into the box and stays there.
    WarpPointer(origin_.x + scale_.Px(kPromotionPointerX),
                origin_.y + scale_.Px(kPromotionPointerY));
    CapturePointer();
  }
}

void CShogiView::LeftDown(int x, int y) {
  if (state_.ClosePending) return;
  SetFocus();  // the keys step through the record once the board was clicked
  const int s = state_.InteractionState;
  const int lx = scale_.Layout(x), ly = scale_.Layout(y);
  const BoardSpot spot = shogi::HitTest(lx, ly, state_.Record.BoardFlipped);
  if (s == kStatePromotion) {
    // A box may follow (the move ended the game): the mouse is let go first.
    ReleaseMouseIfHeld();
    ApplyUpdate(ChoosePromotion(ctx_, lx > kPromotionMiddle));
    return;
  }
  if (s == kStateIdle) {
    // A move of the list: the position after it.
    const int line = MoveLineAt(lx, ly);
    if (line >= 0) ApplyUpdate(ShowPly(state_, MoveListPly(state_.Record, next_moves_, line)));
    // A point of the score graph: the position of its ply.
    const int ply = GraphPlyAt(state_, static_key_.Place, lx, ly);
    if (ply >= 0) ApplyUpdate(ShowPly(state_, ply));
    return;
  }
  if (s != kStateSetUp && s != kStateGame) return;
  // The second click of a move may let the computer think: the mouse is free meanwhile.
  if (state_.Selected.Area != BoardArea::kNone) ReleaseMouseIfHeld();
  const ViewUpdate u = PressSpot(ctx_, spot);
  if (state_.Held.Active) StartDrag(x, y);
  ApplyUpdate(u);
}

void CShogiView::LeftUp(int x, int y) {
  if (state_.ClosePending) return;
  EndDrag();
  // Boxes and the computer's thinking may follow: the mouse is let go before them; the
  // promotion choice takes it again.
  ReleaseMouseIfHeld();
  const BoardSpot spot =
      shogi::HitTest(scale_.Layout(x), scale_.Layout(y), state_.Record.BoardFlipped);
  ApplyUpdate(ReleaseSpot(ctx_, spot));
}

void CShogiView::MouseMove(int x, int y) {
  UpdateMoveTip(scale_.Layout(x), scale_.Layout(y));
  if (dragging_) {
    RefreshArea(DraggedRect());
    drag_x_ = x;
    drag_y_ = y;
    RefreshArea(DraggedRect());
    return;
  }
  if (promotion_open_) {
    int cx = scale_.Layout(x), cy = scale_.Layout(y);
    KeepInPromotionBox(cx, cy);
    if (cx != scale_.Layout(x) || cy != scale_.Layout(y)) {
      WarpPointer(origin_.x + scale_.Px(cx), origin_.y + scale_.Px(cy));
    }
  }
}

void CShogiView::RightDown(int x, int y) {
  if (state_.ClosePending) return;
  const int s = state_.InteractionState;
  // 棋譜解析 stops without a question, also while the in-process player thinks for it.
  if (state_.RecordAnalysing && (s == kStateRecordAnalysis || !IsBusyState(s))) {
    StopRecordAnalysis(ctx_);
    ApplyUpdate(ViewUpdate{kViewMovePanel, 0, kTimerRecordAnalysis});
    return;
  }
  if (IsBusyState(s)) {
    RequestStop(ctx_);
    return;
  }
  if (s == kStatePromotion) {
    ReleaseMouseIfHeld();
    ApplyUpdate(CancelPromotion(ctx_));
    return;
  }
  if (DropSelection(state_)) {
    ApplyUpdate(ViewUpdate{kViewBoard});
  } else if (s == kStateReplaying) {
    ApplyUpdate(StopContinuousReplay(state_));
  } else if (s == kStateSetUp && !state_.Held.Active) {
    ApplyUpdate(SetUpCyclePiece(
        state_, shogi::HitTest(scale_.Layout(x), scale_.Layout(y), state_.Record.BoardFlipped)));
  }
  if (!dragging_) CapturePointer();
}

void CShogiView::RightUp() {
  if (!dragging_ && !promotion_open_) ReleaseMouseIfHeld();
}

void CShogiView::Wheel(int x, int y, int rotation, int delta) {
  if (state_.ClosePending || delta <= 0) return;
  const int lx = scale_.Layout(x), ly = scale_.Layout(y);
  if (!kBoardPanelRect.Contains(lx, ly) && !kMovePanelRect.Contains(lx, ly)) return;
  wheel_rest_ += rotation;
  // Turned away from the user (positive): back; towards: forward.
  while (wheel_rest_ >= delta) {
    wheel_rest_ -= delta;
    RunCommand(kCmdStepBack);
  }
  while (wheel_rest_ <= -delta) {
    wheel_rest_ += delta;
    RunCommand(kCmdStepForward);
  }
}

bool CShogiView::KeyDown(int key_code) {
  if (state_.ClosePending) return false;
  int id;
  switch (key_code) {
    case WXK_LEFT:
      id = kCmdStepBack;
      break;
    case WXK_RIGHT:
      id = kCmdStepForward;
      break;
    case WXK_HOME:
      id = kCmdToInitial;
      break;
    case WXK_END:
      id = kCmdToLast;
      break;
    case WXK_UP:
      id = kCmdPreviousVariation;
      break;
    case WXK_DOWN:
      id = kCmdNextVariation;
      break;
    default:
      return false;
  }
  RunCommand(id);
  return true;
}

}  // namespace shogi::gui
