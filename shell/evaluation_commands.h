// The evaluation items of the Bonanza menu: "fvﾌｧｲﾙ名" (choose and load the evaluation
// file), "fv計算", "駒の損得" and "静的評価" (the scores of the shown position), "駒の価値設定"
// (the piece values) and "最善手検索" (the legal moves ranked by the static evaluation).
#pragma once

#include <array>
#include <string>

#include "analysis/evaluation.h"
#include "platform/profile.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kFvFileDialogTitle = "Fvファイル名の設定";
inline constexpr const char* kPieceValueCaption = "駒の価値";
inline constexpr const char* kPieceValueRangeMessage = "0～32767の範囲の整数を入力してください。";
// The labels of the "駒の価値" fields, in the order of kValuedPieceTypes.
inline constexpr const char* kPieceValueLabels[kValuedPieceCount] = {
    "歩", "香", "桂", "銀", "金", "角", "飛", "と", "成香", "成桂", "成銀", "馬", "龍"};

// The evaluation file of the program: loaded on first use, kept until another file is chosen.
FvTable& EvaluationTable();
// Loads the file named in the settings unless a table is loaded: 0, or 1 with
// "%sが読み込めません。".
[[nodiscard]] int EnsureEvaluationLoaded(const ProgramSettings& settings, std::string& message);

// "fv計算は、%d点でした。", "駒の損得は、%d点でした。", "静的評価は、%d点(%d,%d,%d)でした。"
// (material + fv / 32, 32 x material + fv, material, fv).
std::string FvSumText(int fv);
std::string MaterialText(int material);
std::string StaticEvaluationText(const Evaluation& e);

// The checks of the "駒の価値" dialog: every field a whole number 0..32767 (spaces around it
// allowed). 0 with `values` holding them at their types; otherwise nonzero, `bad_field` the
// first field refused and `message` the text to show with the caption "駒の価値".
[[nodiscard]] int ParsePieceValueFields(const std::array<std::string, kValuedPieceCount>& texts,
                                        PieceValueTable& values, int& bad_field,
                                        std::string& message);

ViewUpdate ChooseFvFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings);
ViewUpdate ShowFvSum(ShellContext& ctx, const ProgramSettings& settings);
ViewUpdate ShowMaterial(ShellContext& ctx, const ProgramSettings& settings);
ViewUpdate ShowStaticEvaluation(ShellContext& ctx, const ProgramSettings& settings);
ViewUpdate EditPieceValueSettings(ShellContext& ctx, Profile& profile, ProgramSettings& settings);
ViewUpdate SearchBestMoves(ShellContext& ctx, const ProgramSettings& settings);

}  // namespace shogi
