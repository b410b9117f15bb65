// 棋譜解析's run over the positions of a record and its two analysers.
#include "players/analysis_run.h"

#include <algorithm>

#include "analysis/player_tables.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

// Whether `move` may be played after `ply` plies of `record` (an engine is not trusted).
bool LegalAt(const GameRecord& record, int ply, MoveCode move) {
  auto game = std::make_unique<GameRecord>(record);
  Position pos;
  ReplayTo(*game, pos, ply);
  game->PlyCount = ply;
  game->MoveList[ply] = MoveCode{};
  return IsLegalMove(*game, pos, move);
}

}  // namespace

int UsiPositionAnalyser::Begin(const GameRecord& record, int ply, double seconds,
                               std::string& message) {
  *record_ = record;
  ply_ = ply;
  UsiGo go;
  go.Kind = UsiGo::Mode::kMoveTime;
  go.MoveTimeMs = std::max(1, static_cast<int>(seconds * 1000));
  return engine_.BeginGo(
      UsiPositionCommand(record.InitialPosition, record.StartIndex, record.MoveList, ply), go,
      SideOfPly(ply) == kFirst, message);
}

PositionAnalyser::Step UsiPositionAnalyser::Poll(double wait, PlyAnalysis& result,
                                                 std::string& message) {
  MoveCode move;
  const UsiEngine::Answer a = engine_.Poll(wait, move, message);
  switch (a) {
    case UsiEngine::Answer::kPending:
      return Step::kPending;
    case UsiEngine::Answer::kError:
      return Step::kFailed;
    case UsiEngine::Answer::kMove:
      if (!LegalAt(*record_, ply_, move)) {
        message = "エンジンが反則手 " + FormatUsiMove(move) + " を指しました。";
        return Step::kFailed;
      }
      result.Best = FormatUsiMove(move);
      break;
    case UsiEngine::Answer::kResign:
      result.Best = "resign";
      break;
    case UsiEngine::Answer::kWin:
      result.Best = "win";
      break;
  }
  const UsiInfo& info = engine_.Info();
  result.Score = FirstScoreOf(info, SideOfPly(ply_) == kFirst);
  result.Depth = info.Depth;
  result.Pv = info.Pv;
  // The line is the best move's: an info from before the last change of mind is dropped.
  if (result.Pv.empty() || result.Pv[0] != result.Best) {
    result.Pv.clear();
    if (a == UsiEngine::Answer::kMove) result.Pv.push_back(result.Best);
  }
  return Step::kDone;
}

void UsiPositionAnalyser::Cancel() {
  if (!engine_.Searching()) return;
  engine_.Stop();
  MoveCode move;
  std::string ignored;
  while (engine_.Poll(1, move, ignored) == UsiEngine::Answer::kPending) {
  }
}

int InProcessPositionAnalyser::Begin(const GameRecord& record, int ply, double seconds,
                                     std::string& message) {
  if (ply < record.StartIndex || ply >= kMaxMoves) {
    message = "棋譜にその局面がありません。";
    return 1;
  }
  *record_ = record;
  record_->PlyCount = ply;
  record_->MoveList[ply] = MoveCode{};
  seconds_ = seconds;
  pending_ = true;
  return 0;
}

PositionAnalyser::Step InProcessPositionAnalyser::Poll(double, PlyAnalysis& result,
                                                       std::string& message) {
  if (!pending_) return Step::kPending;
  pending_ = false;
  Position shown;
  ReplayTo(*record_, shown, record_->PlyCount);
  player::ThinkEnvironment env;
  env.abort_flag = abort_flag_;
  env.progress = progress_;
  env.budget_cap = seconds_;
  thinker_.NewGame();  // no book: every position is searched
  const player::ThinkOutcome out = thinker_.Think(level_, *record_, shown, env);
  const bool first = SideOfPly(record_->PlyCount) == kFirst;
  if (out.aborted) {
    message = "解析を中止しました。";
    return Step::kFailed;
  }
  if (out.result == 0) {
    // No move: the mover resigns (a stop is seen by the run's owner).
    result.Best = "resign";
    result.Score = FirstScore{FirstScore::Kind::kMate, 0, 0, !first};
    return Step::kDone;
  }
  result.Best = FormatUsiMove(out.move);
  result.Pv = {result.Best};
  if (out.source == player::MoveSource::kMate) {
    result.Score = FirstScore{FirstScore::Kind::kMate, 0, 0, first};
  } else {
    const int cp = out.best_score * 100 / player::kCaptureValue[kPawn];
    result.Score = FirstScore{FirstScore::Kind::kCp, first ? cp : -cp, 0, false};
  }
  return Step::kDone;
}

bool ClampAnalysisRange(const GameRecord& record, AnalysisRange& range) {
  range.First = std::max(range.First, record.StartIndex);
  range.Last = std::min(range.Last, RecordEndPly(record));
  return range.First <= range.Last;
}

RecordAnalysisRun::RecordAnalysisRun(PositionAnalyser& analyser, const GameRecord& record,
                                     const AnalysisRange& range)
    : analyser_(analyser), record_(std::make_unique<GameRecord>(record)), range_(range) {
  if (!ClampAnalysisRange(*record_, range_)) state_ = State::kDone;
  ply_ = range_.First;
}

RecordAnalysisRun::State RecordAnalysisRun::Poll(double wait, std::string& message) {
  if (state_ != State::kRunning) return state_;
  if (!begun_) {
    if (analyser_.Begin(*record_, ply_, range_.Seconds, message) != 0)
      return state_ = State::kFailed;
    begun_ = true;
  }
  PlyAnalysis result;
  switch (analyser_.Poll(wait, result, message)) {
    case PositionAnalyser::Step::kPending:
      return state_;
    case PositionAnalyser::Step::kFailed:
      return state_ = State::kFailed;
    case PositionAnalyser::Step::kDone:
      break;
  }
  scores_.Set(ply_) = std::move(result);
  ++done_;
  last_finished_ = ply_;
  begun_ = false;
  if (ply_ == range_.Last) return state_ = State::kDone;
  ++ply_;
  return state_;
}

void RecordAnalysisRun::Stop() {
  if (state_ != State::kRunning) return;
  if (begun_) analyser_.Cancel();
  begun_ = false;
  state_ = State::kStopped;
}

RecordAnalysisRun::State RunToEnd(RecordAnalysisRun& run, const AnalysisProgress& progress,
                                  std::string& message, double poll_seconds) {
  while (run.Current() == RecordAnalysisRun::State::kRunning) {
    const int done = run.Done();
    run.Poll(poll_seconds, message);
    const bool finished = run.Done() > done;
    if (progress && !progress(run, finished)) run.Stop();
  }
  return run.Current();
}

}  // namespace shogi
