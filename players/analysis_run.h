// 棋譜解析: every position of a record (or of a range of plies) analysed in turn for a fixed
// time, by an outside USI engine or by the in-process player at a level. Nothing blocks for
// long: the caller polls the run (the window from its timer, the tool in a loop with a
// progress callback that may stop it) and reads the scores as they come.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "analysis/player_think.h"
#include "platform/progress.h"
#include "players/record_analysis.h"
#include "players/usi_engine.h"

namespace shogi {

// One position at a time.
class PositionAnalyser {
 public:
  enum class Step { kPending, kDone, kFailed };
  virtual ~PositionAnalyser() = default;
  // Starts on the position after `ply` plies of `record` for `seconds`. Nonzero with a
  // message when it cannot.
  [[nodiscard]] virtual int Begin(const GameRecord& record, int ply, double seconds,
                                  std::string& message) = 0;
  // Takes what came within `wait` seconds; kDone with `result` filled.
  virtual Step Poll(double wait, PlyAnalysis& result, std::string& message) = 0;
  // Ends a running analysis.
  virtual void Cancel() = 0;
};

// An outside engine the caller has started: "go movetime", its last info and "bestmove"; a
// best move that is not legal there fails the run.
class UsiPositionAnalyser : public PositionAnalyser {
 public:
  explicit UsiPositionAnalyser(UsiEngine& engine) : engine_(engine) {}
  int Begin(const GameRecord& record, int ply, double seconds, std::string& message) override;
  Step Poll(double wait, PlyAnalysis& result, std::string& message) override;
  void Cancel() override;

 private:
  UsiEngine& engine_;
  std::unique_ptr<GameRecord> record_ = std::make_unique<GameRecord>();
  int ply_ = 0;
};

// The in-process player of a level with its time capped: its move and the move's score (a
// mate it found counts as a mate). It thinks within Poll, so one Poll takes the whole time;
// `progress` is told from time to time while it thinks (the window takes its messages
// there) and stops it with false, as the word at `abort_flag` does once it is not 0.
class InProcessPositionAnalyser : public PositionAnalyser {
 public:
  InProcessPositionAnalyser(int level, const int* abort_flag, LoopProgress progress = nullptr)
      : level_(level), abort_flag_(abort_flag), progress_(std::move(progress)) {}
  int Begin(const GameRecord& record, int ply, double seconds, std::string& message) override;
  Step Poll(double wait, PlyAnalysis& result, std::string& message) override;
  void Cancel() override { pending_ = false; }

 private:
  int level_;
  const int* abort_flag_;
  LoopProgress progress_;
  std::unique_ptr<GameRecord> record_ = std::make_unique<GameRecord>();
  double seconds_ = 1;
  bool pending_ = false;
  player::Thinker thinker_;
};

// The plies a run covers and the time of each.
struct AnalysisRange {
  int First = 0;  // plies before the first position analysed
  int Last = 0;   // plies before the last
  double Seconds = 1;
};
// Holds `range` within the record (StartIndex .. its end); false when nothing is left.
bool ClampAnalysisRange(const GameRecord& record, AnalysisRange& range);

class RecordAnalysisRun {
 public:
  enum class State { kRunning, kDone, kStopped, kFailed };

  // `analyser` outlives the run. Its first position is begun at the first Poll.
  RecordAnalysisRun(PositionAnalyser& analyser, const GameRecord& record,
                    const AnalysisRange& range);

  // Takes what came within `wait` seconds, stores a finished position's analysis and begins
  // the next. kFailed with a message when the analyser failed (the scores so far kept).
  State Poll(double wait, std::string& message);
  // Ends the run where it is.
  void Stop();

  State Current() const { return state_; }
  // Positions finished, of how many, and the one being analysed.
  int Done() const { return done_; }
  int Total() const { return range_.Last - range_.First + 1; }
  int Ply() const { return ply_; }
  // The position finished last (-1 before the first).
  int LastFinished() const { return last_finished_; }
  const RecordScores& Scores() const { return scores_; }

 private:
  PositionAnalyser& analyser_;
  std::unique_ptr<GameRecord> record_;
  AnalysisRange range_;
  RecordScores scores_;
  State state_ = State::kRunning;
  int ply_ = 0;
  bool begun_ = false;
  int done_ = 0;
  int last_finished_ = -1;
};

// Runs `run` to its end, calling `progress` after every poll (and once more for each
// finished position, with `finished` true): false from it stops the run.
using AnalysisProgress = std::function<bool(const RecordAnalysisRun& run, bool finished)>;
RecordAnalysisRun::State RunToEnd(RecordAnalysisRun& run, const AnalysisProgress& progress,
                                  std::string& message, double poll_seconds = 0.05);

}  // namespace shogi
