// The evaluation items of the Bonanza menu.
#include "shell/evaluation_commands.h"

#include <cstdio>

#include "analysis/move_ranking.h"
#include "shell/view_texts.h"

namespace shogi {
namespace {

// The Bonanza menu's messages stand in a plain box without caption.
void ShowPlain(ShellContext& ctx, const std::string& text) {
  ctx.Ui.ShowMessage("", text, MessageButtons::kOk, MessageIcon::kNone);
}

// The loaded table, or nullptr after the message of a file that cannot be read.
const FvTable* LoadedTable(ShellContext& ctx, const ProgramSettings& settings) {
  std::string message;
  if (EnsureEvaluationLoaded(settings, message) != 0) {
    ShowPlain(ctx, message);
    return nullptr;
  }
  return &EvaluationTable();
}

// Whether the shown position can be evaluated; if not, its message has been shown.
bool Evaluable(ShellContext& ctx) {
  std::string message;
  if (CheckEvaluable(ctx.State.Shown, message) == 0) return true;
  ShowPlain(ctx, message);
  return false;
}

}  // namespace

FvTable& EvaluationTable() {
  static FvTable table;
  return table;
}

int EnsureEvaluationLoaded(const ProgramSettings& settings, std::string& message) {
  FvTable& table = EvaluationTable();
  return table.Loaded() ? 0 : table.Load(settings.Files.EvaluationFile, message);
}

std::string FvSumText(int fv) {
  return "fv計算は、" + std::to_string(fv) + "点でした。";
}

std::string MaterialText(int material) {
  return "駒の損得は、" + std::to_string(material) + "点でした。";
}

std::string StaticEvaluationText(const Evaluation& e) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%d点(%d,%d,%d)", e.Static(), e.Fine(), e.Material, e.Fv);
  return std::string("静的評価は、") + numbers + "でした。";
}

int ParsePieceValueFields(const std::array<std::string, kValuedPieceCount>& texts,
                          PieceValueTable& values, int& bad_field, std::string& message) {
  PieceValueTable read = values;
  for (int i = 0; i < kValuedPieceCount; ++i) {
    const std::string& text = texts[i];
    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    int value = -1;
    if (begin == std::string::npos ||
        !ParseProfileInt(std::string_view(text).substr(begin, end - begin + 1), value) ||
        !IsPieceValue(value)) {
      bad_field = i;
      message = kPieceValueRangeMessage;
      return 1;
    }
    read[kValuedPieceTypes[i]] = value;
  }
  values = read;
  return 0;
}

ViewUpdate ChooseFvFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  FileDialogRequest request;
  request.Title = kFvFileDialogTitle;
  request.Filters = {{"Fvファイル(*.bin)", "*.bin"}, {"全てのファイル(*.*)", "*.*"}};
  request.InitialPath = settings.Files.EvaluationFile;
  const FileDialogResult chosen = ctx.Ui.ChooseOpenFile(request);
  if (!chosen.Chosen) return {};
  RememberFileName(profile, settings, "FV", chosen.Path);
  std::string message;
  if (EvaluationTable().Load(chosen.Path, message) != 0) ShowPlain(ctx, message);
  return {};
}

ViewUpdate ShowFvSum(ShellContext& ctx, const ProgramSettings& settings) {
  const FvTable* table = LoadedTable(ctx, settings);
  if (table && Evaluable(ctx)) ShowPlain(ctx, FvSumText(FvSum(*table, ctx.State.Shown)));
  return {};
}

ViewUpdate ShowMaterial(ShellContext& ctx, const ProgramSettings& settings) {
  ShowPlain(ctx, MaterialText(MaterialBalance(ctx.State.Shown, settings.PieceValues)));
  return {};
}

ViewUpdate ShowStaticEvaluation(ShellContext& ctx, const ProgramSettings& settings) {
  const FvTable* table = LoadedTable(ctx, settings);
  if (table && Evaluable(ctx)) {
    ShowPlain(ctx, StaticEvaluationText(Evaluate(*table, settings.PieceValues, ctx.State.Shown)));
  }
  return {};
}

ViewUpdate EditPieceValueSettings(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  PieceValueTable values = settings.PieceValues;
  if (ctx.Ui.EditPieceValues(values)) SavePieceValues(profile, settings, values);
  return {};
}

ViewUpdate SearchBestMoves(ShellContext& ctx, const ProgramSettings& settings) {
  const FvTable* table = LoadedTable(ctx, settings);
  if (!table) return {};
  const ProgramState& s = ctx.State;
  MoveRanking ranking;
  std::string message;
  if (RankMoves(s.Record, s.Shown, *table, settings.PieceValues, ranking, message) != 0) {
    ShowPlain(ctx, message);
    return {};
  }
  std::vector<BestMoveRow> rows;
  for (int i = 0; i < ranking.Count; ++i) {
    const RankedMove& m = ranking.Moves[i];
    rows.push_back({MoveTextFrom(s.Record, s.Shown, SideToMove(s), m.Move()), m.Score});
  }
  ctx.Ui.ShowBestMoves(rows);
  return {};
}

}  // namespace shogi
