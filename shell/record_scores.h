// The scores the graph and the move list show, kept with the record line they belong to.
#pragma once

#include "players/record_analysis.h"
#include "shell/program_state.h"

namespace shogi {

// The scores now belong to the record's moves as they stand.
void KeepScores(ProgramState& state, RecordScores scores);
// Whether the state's scores belong to the record (its start and moves).
bool ScoresFitRecord(const ProgramState& state);
// A score of 検討 for the position after `ply` plies (the graph follows it).
void NoteAnalysisScore(ProgramState& state, int ply, const PlyAnalysis& analysis);

}  // namespace shogi
