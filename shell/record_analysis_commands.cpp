// 棋譜解析's command, its run from the window's timer and the scores of the state.
#include "shell/record_analysis_commands.h"

#include <algorithm>
#include <cstdlib>

#include "players/engine_analysis.h"
#include "players/engine_player.h"
#include "shell/record_notes.h"
#include "shell/record_scores.h"

namespace shogi {
namespace {

constexpr const char* kTenthsKey = "AnalysisTenths";  // tenths of a second a position
constexpr const char* kLevelKey = "AnalysisLevel";
constexpr const char* kDoubtfulKey = "AnalysisDoubtful";
constexpr const char* kBadKey = "AnalysisBad";

// A whole number of `text` within [low, high].
bool ParseWhole(const std::string& text, int low, int high, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::atoi(text.c_str());
  return value >= low && value <= high;
}

// Seconds with at most one decimal ("2", "0.5") as tenths within 0.1 .. 60 s.
bool ParseTenths(const std::string& text, int& tenths) {
  const std::size_t dot = text.find('.');
  int whole = 0, tenth = 0;
  if (!ParseWhole(text.substr(0, dot), 0, 60, whole)) return false;
  if (dot != std::string::npos &&
      (text.size() != dot + 2 || !ParseWhole(text.substr(dot + 1), 0, 9, tenth)))
    return false;
  tenths = whole * 10 + tenth;
  return tenths >= 1 && tenths <= 600;
}

void Warn(ShellContext& ctx, const std::string& text) {
  ctx.Ui.ShowMessage(kRecordAnalysisCaption, text, MessageButtons::kOk, MessageIcon::kWarning);
}

// Asks `prompt` (the answer starting as `text`) until `accept` takes the answer, warning
// with `refusal` in between; false when the person cancels.
template <class Accept>
bool AskUntil(ShellContext& ctx, const char* prompt, std::string& text, const char* refusal,
              Accept accept) {
  while (true) {
    if (!ctx.Ui.InputText(kRecordAnalysisCaption, prompt, text)) return false;
    if (accept(text)) return true;
    Warn(ctx, refusal);
  }
}

// Starts the analyser the person chose; false (with the message shown) when it cannot.
bool StartAnalyser(ShellContext& ctx, Profile& profile, RecordAnalysisSession& session) {
  std::vector<std::string> names;
  if (ctx.Engines) names = ctx.Engines->Names();
  names.push_back(kInProcessAnalyserName);
  int n = static_cast<int>(names.size()) - 1;
  if (names.size() > 1) {
    n = ctx.Ui.ChooseFromList(kRecordAnalysisCaption, "解析に使うエンジン", names, 0);
    if (n < 0 || n >= static_cast<int>(names.size())) return false;
  }
  if (n == static_cast<int>(names.size()) - 1) {
    std::string text = std::to_string(profile.GetInt(kSectionSettings, kLevelKey, 3));
    int level = 0;
    if (!AskUntil(ctx, "内蔵思考のレベル（1～9）", text, "レベルは1から9までです。",
                  [&](const std::string& t) {
                    return ParseWhole(t, player::kMinLevel, player::kMaxLevel, level);
                  })) {
      return false;
    }
    profile.WriteInt(kSectionSettings, kLevelKey, level);
    session.Analyser = std::make_unique<InProcessPositionAnalyser>(level, &ctx.State.AbortFlag,
                                                                   WindowProgress(ctx.View));
    return true;
  }
  const EngineEntry& entry = ctx.Engines->List()[static_cast<std::size_t>(n)];
  session.Engine = std::make_unique<UsiEngine>();
  std::string message;
  if (session.Engine->Start(entry.Command, EngineStartOptions(entry), message) != 0 ||
      session.Engine->NewGame(message) != 0) {
    Warn(ctx, entry.Name + ": " + message);
    return false;
  }
  session.Analyser = std::make_unique<UsiPositionAnalyser>(*session.Engine);
  return true;
}

// Takes the run's new positions into the state's scores.
bool MergeRun(ProgramState& state, RecordAnalysisSession& session) {
  const RecordAnalysisRun& run = *session.Run;
  if (run.Done() == session.Merged) return false;
  for (int ply = 0; ply < static_cast<int>(run.Scores().ByPly.size()); ++ply) {
    if (run.Scores().Has(ply)) state.Scores.Set(ply) = run.Scores().At(ply);
  }
  session.Merged = run.Done();
  ++state.ScoresVersion;
  return true;
}

void ShowProgress(ShellContext& ctx, const RecordAnalysisRun& run) {
  ctx.View.SetStatusText("棋譜解析中 " + std::to_string(run.Done()) + "/" +
                       std::to_string(run.Total()) + "（右クリックで中止）");
}

// The end of a whole run: the person may have the analysis written into the record.
void OfferAnnotation(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  if (ctx.Ui.ShowMessage(kRecordAnalysisCaption,
                         "解析が終わりました。評価値と読み筋を棋譜のコメントに書き込みますか？",
                         MessageButtons::kYesNo, MessageIcon::kQuestion) != MessageAnswer::kYes) {
    return;
  }
  SyncNotes(s);
  if (!AnnotateTree(s.Notes.Tree, s.Record, s.Scores, s.Marks))
    Warn(ctx, "変化が多すぎるため、一部を書き込めませんでした。");
  MarkNotesChanged(s);
}

}  // namespace

bool ParseAnalysisRange(const std::string& text, const GameRecord& record, AnalysisRange& range) {
  const std::size_t dash = text.find('-');
  int first = 0, last = RecordEndPly(record);
  if (!ParseWhole(text.substr(0, dash), 0, kMaxMoves, first)) return false;
  if (dash != std::string::npos && !ParseWhole(text.substr(dash + 1), 0, kMaxMoves, last))
    return false;
  range.First = first;
  range.Last = last;
  return first <= last && ClampAnalysisRange(record, range) && range.First == first;
}

ViewUpdate ToggleRecordAnalysis(ShellContext& ctx, Profile& profile) {
  ViewUpdate u;
  ProgramState& s = ctx.State;
  if (s.RecordAnalysing) {
    StopRecordAnalysis(ctx);
    return u;
  }
  if (!ctx.RecordRun || !Idle(s) || s.Analysing) return u;
  if (RecordMoveCount(s.Record) == 0) {
    Warn(ctx, "棋譜に指し手がありません。");
    return u;
  }
  RecordAnalysisSession fresh;
  if (!StartAnalyser(ctx, profile, fresh)) return u;
  const int stored = std::clamp(profile.GetInt(kSectionSettings, kTenthsKey, 10), 1, 600);
  std::string seconds_text =
      std::to_string(stored / 10) + (stored % 10 ? "." + std::to_string(stored % 10) : "");
  int tenths = 0;
  if (!AskUntil(ctx, "1局面の秒数（0.1～60）", seconds_text, "秒数は0.1から60までです。",
                [&](const std::string& t) { return ParseTenths(t, tenths); })) {
    return u;
  }
  profile.WriteInt(kSectionSettings, kTenthsKey, tenths);
  AnalysisRange range;
  std::string range_text =
      std::to_string(s.Record.StartIndex) + "-" + std::to_string(RecordEndPly(s.Record));
  if (!AskUntil(ctx, "解析する手数（開始-終了）", range_text,
                "手数は棋譜の範囲で「開始-終了」と入力してください。",
                [&](const std::string& t) { return ParseAnalysisRange(t, s.Record, range); })) {
    return u;
  }
  std::string marks_text = MarkThresholdsText(s.Marks);
  if (!AskUntil(ctx, "疑問手・悪手とする評価値の損失（疑問手,悪手）", marks_text,
                "損失は「疑問手,悪手」の形で、0 < 疑問手 ≦ 悪手 ≦ 3000 と入力してください。",
                [&](const std::string& t) { return ParseMarkThresholds(t, s.Marks); })) {
    return u;
  }
  profile.WriteInt(kSectionSettings, kDoubtfulKey, s.Marks.Doubtful);
  profile.WriteInt(kSectionSettings, kBadKey, s.Marks.Bad);
  range.Seconds = tenths / 10.0;
  SyncNotes(s);
  if (!ScoresFitRecord(s)) KeepScores(s, {});
  *ctx.RecordRun = std::move(fresh);
  s.AbortFlag = kAbortNone;
  ctx.RecordRun->Run =
      std::make_unique<RecordAnalysisRun>(*ctx.RecordRun->Analyser, s.Record, range);
  s.RecordAnalysing = true;
  s.Display.ScoreGraph = true;
  ShowProgress(ctx, *ctx.RecordRun->Run);
  u.Redraw(kViewFullRefresh);
  u.Start(kTimerRecordAnalysis);
  return u;
}

void StopRecordAnalysis(ShellContext& ctx) {
  if (!ctx.State.RecordAnalysing) return;
  if (ctx.State.InteractionState == kStateRecordAnalysis) {
    // Asked while the in-process player thinks: it stops, and the run ends once its poll has
    // returned.
    if (ctx.State.AbortFlag == kAbortNone) ctx.State.AbortFlag = kAbortStop;
    return;
  }
  ctx.State.RecordAnalysing = false;
  if (ctx.RecordRun && ctx.RecordRun->Run) {
    ctx.RecordRun->Run->Stop();
    MergeRun(ctx.State, *ctx.RecordRun);
  }
  if (ctx.RecordRun) *ctx.RecordRun = RecordAnalysisSession{};  // the engine quits
  ctx.View.SetStatusText("棋譜解析を終了しました。");
}

ViewUpdate TickRecordAnalysis(ShellContext& ctx) {
  ViewUpdate u;
  ProgramState& s = ctx.State;
  if (s.InteractionState == kStateRecordAnalysis) return u;  // a tick while the player thinks
  if (!s.RecordAnalysing || !ctx.RecordRun || !ctx.RecordRun->Run) {
    u.Stop(kTimerRecordAnalysis);
    return u;
  }
  if (!Idle(s) || !ScoresFitRecord(s)) {
    StopRecordAnalysis(ctx);
    u.Stop(kTimerRecordAnalysis);
    return u;
  }
  RecordAnalysisRun& run = *ctx.RecordRun->Run;
  std::string message;
  // The in-process player thinks within the poll, taking the window's messages: the program
  // is busy meanwhile, so that nothing else starts and a stop or a close waits for it.
  s.InteractionState = kStateRecordAnalysis;
  const RecordAnalysisRun::State state = run.Poll(0, message);
  s.InteractionState = kStateIdle;
  if (s.AbortFlag != kAbortNone) {  // stopped, or the window closing: the scores so far kept
    StopRecordAnalysis(ctx);
    u.Stop(kTimerRecordAnalysis);
    return u;
  }
  if (MergeRun(s, *ctx.RecordRun)) {
    u.Redraw(kViewMovePanel);
    ShowProgress(ctx, run);
  }
  if (state == RecordAnalysisRun::State::kRunning) return u;
  u.Stop(kTimerRecordAnalysis);
  StopRecordAnalysis(ctx);
  if (state == RecordAnalysisRun::State::kFailed) {
    Warn(ctx, message);
  } else if (state == RecordAnalysisRun::State::kDone) {
    ctx.View.SetStatusText("棋譜解析が終わりました。");
    OfferAnnotation(ctx);
  }
  return u;
}

MarkThresholds LoadMarkThresholds(const Profile& profile) {
  const MarkThresholds stored{profile.GetInt(kSectionSettings, kDoubtfulKey, 0),
                              profile.GetInt(kSectionSettings, kBadKey, 0)};
  // Kept only when they make sense together.
  return stored.Valid() ? stored : MarkThresholds{};
}

void AddRecordAnalysisRows(std::vector<CommandRow>& rows) {
  using Env = CommandEnv;
  rows.push_back(
      {kCmdRecordAnalysis, kRecordAnalysisCaption,
       "棋譜の全局面をエンジンで解析し、評価値をグラフに表示する。\n棋譜解析",
       [](Env& e, int) { return ToggleRecordAnalysis(e.Ctx, e.UserProfile); }, 0,
       [](const ProgramState& s) { return s.RecordAnalysing || (Idle(s) && !s.Analysing); },
       [](const ProgramState& s, int) { return s.RecordAnalysing; }});
}

}  // namespace shogi
