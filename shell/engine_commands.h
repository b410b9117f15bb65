// The エンジン menu: the list of outside engines (register, options, remove) and 検討, the
// analysis of the shown position by one of them, which the window's timer keeps polling.
#pragma once

#include <vector>

#include "shell/command_row.h"

namespace shogi {

inline constexpr const char* kAnalysisCaption = "検討";
inline constexpr const char* kNoEngineMessage = "エンジンが登録されていません。";

// "エンジン登録": the list dialog over the registered engines; on OK the list goes into the
// profile and the engine players.
ViewUpdate ManageEngines(ShellContext& ctx, Profile& profile);
// "検討": starts an engine (the only one, or the one chosen) on the shown position, or stops
// the running analysis.
ViewUpdate ToggleAnalysis(ShellContext& ctx);
// Ends a running analysis and hides its panel.
void StopAnalysis(ShellContext& ctx);
// The window's analysis timer: takes the engine's output, restarts the search when the shown
// position changed, ends the analysis when the program leaves the idle state or the engine
// fails (with a message), and shows the panel.
void TickAnalysis(ShellContext& ctx);

// The menu's rows.
void AddEngineRows(std::vector<CommandRow>& rows);

}  // namespace shogi
