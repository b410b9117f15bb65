// 棋譜解析 in the window: the choices (engine or the in-process player and its level, seconds
// a position, the plies), the run polled from the window's timer with its progress in the
// status bar, the scores kept for the graph and the move list, and the analysis written into
// the record's comments at the end when the person wants it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "players/analysis_run.h"
#include "shell/command_row.h"
#include "shell/record_scores.h"

namespace shogi {

inline constexpr const char* kRecordAnalysisCaption = "棋譜解析";
inline constexpr const char* kInProcessAnalyserName = "内蔵思考";

// What the window keeps of a running 棋譜解析.
struct RecordAnalysisSession {
  std::unique_ptr<UsiEngine> Engine;
  std::unique_ptr<PositionAnalyser> Analyser;
  std::unique_ptr<RecordAnalysisRun> Run;
  int Merged = 0;  // positions of the run already in the state's scores
};

// The plies typed as "FIRST-LAST" (or one number: from there to the end) within `record`;
// false for anything else or a range that holds no position of the record.
[[nodiscard]] bool ParseAnalysisRange(const std::string& text, const GameRecord& record,
                                      AnalysisRange& range);

// "棋譜解析": asks for the engine, the seconds and the plies, and starts; or stops the run.
ViewUpdate ToggleRecordAnalysis(ShellContext& ctx, Profile& profile);
// Ends a running 棋譜解析 where it is (the scores so far kept).
void StopRecordAnalysis(ShellContext& ctx);
// The window's timer: takes what the analyser has, shows the progress, ends the run when the
// program leaves the idle state or the record changed, and at the end offers to write the
// analysis into the record.
ViewUpdate TickRecordAnalysis(ShellContext& ctx);

// "評価値グラフ" is shown by the display options; the thresholds come from the profile.
MarkThresholds LoadMarkThresholds(const Profile& profile);

void AddRecordAnalysisRows(std::vector<CommandRow>& rows);

}  // namespace shogi
