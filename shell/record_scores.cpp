// The scores of the state and the record line they belong to.
#include "shell/record_scores.h"

#include <utility>
#include <vector>

namespace shogi {
namespace {

std::vector<MoveCode> RecordLine(const GameRecord& record) {
  const int end = RecordEndPly(record);
  return std::vector<MoveCode>(record.MoveList + record.StartIndex, record.MoveList + end);
}

}  // namespace

void KeepScores(ProgramState& state, RecordScores scores) {
  state.Scores = std::move(scores);
  state.ScoredStart = state.Record.InitialPosition;
  state.ScoredLine = RecordLine(state.Record);
  ++state.ScoresVersion;
}

bool ScoresFitRecord(const ProgramState& state) {
  return state.ScoredStart == state.Record.InitialPosition &&
         state.ScoredLine == RecordLine(state.Record);
}

void NoteAnalysisScore(ProgramState& state, int ply, const PlyAnalysis& analysis) {
  if (!ScoresFitRecord(state)) KeepScores(state, {});
  if (analysis.Score.Type == FirstScore::Kind::kNone) return;
  if (state.Scores.Has(ply) && state.Scores.At(ply).Score == analysis.Score) return;
  state.Scores.Set(ply) = analysis;
  ++state.ScoresVersion;
}

}  // namespace shogi
