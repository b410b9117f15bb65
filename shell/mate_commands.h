// The mate-solver commands "詰将棋１", "詰将棋２", "詰将棋３" and "実戦詰将棋": the checks before
// solving, the deepening with its messages, the memory question, the solution played into
// the record, and the stop.
#pragma once

#include <string>

#include "analysis/mate_table.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kMateCaption = "詰将棋";
inline constexpr const char* kMateInGameCaption = "実戦詰将棋";
inline constexpr const char* kMateStartDepthCaption = "開始手数";
inline constexpr const char* kMateStartDepthMessage = "1～49の範囲の奇数を入力してください。";
inline constexpr const char* kMateFoundMessage = "詰みました(^_^)";
inline constexpr const char* kNoMateMessage = "詰みません。";
inline constexpr const char* kMateGiveUpMessage = "解析断念します。";
inline constexpr const char* kMateStoppedMessage = "　 解析中止。";
inline constexpr const char* kMateMemoryQuestion = "メモリが不足してます。\n解析を続けますか？";
inline constexpr const char* kMateRecordFullMessage = "棋譜が一杯で、詰み手順を書き込めません。";

// "%d手詰解析中", "%d手詰まで解析。", "%d手で詰みます。".
std::string MateSearchingText(int depth);
std::string MateSearchedUpToText(int depth);
std::string MateInText(int depth);

// The check of the 詰将棋３ dialog's "開始手数": 0 and `depth` set when `text` is an odd
// whole number 1..49 (ASCII or full-width digits); otherwise nonzero and `message` =
// "1～49の範囲の奇数を入力してください。" (shown with the caption "開始手数").
[[nodiscard]] int ParseMateStartDepth(const std::string& text, int& depth, std::string& message);

// Plays a mate's moves into the record at the shown position; false (nothing written) when
// the record has no room for all of them.
[[nodiscard]] bool WriteMateSolution(ProgramState& s, const MoveCode* moves, int count);

// The position table of the mate commands: allocated by the first solving command, kept
// between commands, freed when the program abandons a search.
MateTable& MateCommandTable();

// Whether the mate commands can run: only while idle.
bool MateCommandEnabled(const ProgramState& state);

// "詰将棋１" (solver 1) and "詰将棋２" (solver 2): the side to move attacks, from depth 1,
// with message pumping and the memory question. A mate is played into the record at the
// shown position and the game marked as won by the attacker.
ViewUpdate SolveMateProblem(ShellContext& ctx, int solver);

// "詰将棋３": solver 2 with the start depth, pumping and memory question of its dialog.
ViewUpdate SolveMateProblemFrom(ShellContext& ctx);

// "実戦詰将棋": the dialog chooses the attacker; solver 2 from depth 1 with pumping; a full
// table stops the analysis. A mate is announced by its first move and length; the record
// is not changed.
ViewUpdate FindMateInGame(ShellContext& ctx);

}  // namespace shogi
