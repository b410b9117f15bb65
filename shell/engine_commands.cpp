// The エンジン menu's commands.
#include "shell/engine_commands.h"

#include "players/engine_analysis.h"
#include "players/engine_player.h"
#include "shell/record_analysis_commands.h"

namespace shogi {
namespace {

void ShowFailure(ShellContext& ctx, const std::string& message) {
  ctx.Ui.ShowMessage(kAnalysisCaption, std::string(kEngineFailurePrefix) + "\n" + message,
                     MessageButtons::kOk, MessageIcon::kWarning);
}

bool Analysing(const ProgramState& state, int) {
  return state.Analysing;
}

}  // namespace

ViewUpdate ManageEngines(ShellContext& ctx, Profile& profile) {
  if (!ctx.Engines || !Idle(ctx.State)) return {};
  EngineList list = ctx.Engines->List();
  if (!ctx.Ui.EditEngineList(list)) return {};
  StopAnalysis(ctx);
  ctx.Engines->SetList(list);
  if (!SaveEngineList(profile, list)) {
    ctx.Ui.ShowMessage("エンジン登録", "設定を保存できませんでした。", MessageButtons::kOk,
                       MessageIcon::kWarning);
  }
  return {};
}

void StopAnalysis(ShellContext& ctx) {
  if (!ctx.State.Analysing) return;
  ctx.State.Analysing = false;
  if (ctx.Analysis) ctx.Analysis->Finish();
  ctx.View.ShowAnalysis(nullptr);
}

ViewUpdate ToggleAnalysis(ShellContext& ctx) {
  if (ctx.State.Analysing) {
    StopAnalysis(ctx);
    return {};
  }
  if (!ctx.Engines || !ctx.Analysis || !Idle(ctx.State) || ctx.State.RecordAnalysing) return {};
  const EngineList& list = ctx.Engines->List();
  if (list.empty()) {
    ctx.Ui.ShowMessage(kAnalysisCaption, kNoEngineMessage);
    return {};
  }
  int n = 0;
  if (list.size() > 1) {
    n = ctx.Ui.ChooseFromList(kAnalysisCaption, "検討に使うエンジン", ctx.Engines->Names(), 0);
    if (n < 0 || n >= static_cast<int>(list.size())) return {};
  }
  std::string message;
  if (ctx.Analysis->Start(list[n], message) != 0) {
    ShowFailure(ctx, list[n].Name + ": " + message);
    return {};
  }
  ctx.State.Analysing = true;
  TickAnalysis(ctx);
  return {};
}

void TickAnalysis(ShellContext& ctx) {
  ProgramState& s = ctx.State;
  if (!s.Analysing || !ctx.Analysis) return;
  if (!Idle(s)) {
    StopAnalysis(ctx);
    return;
  }
  std::string message;
  const bool moved =
      ctx.Analysis->Ply() != s.Record.PlyCount || !(ctx.Analysis->AnalysedPosition() == s.Shown);
  const int failed = moved ? ctx.Analysis->Analyse(s.Record, s.Record.PlyCount, message)
                           : ctx.Analysis->Poll(message);
  if (failed != 0) {
    StopAnalysis(ctx);
    ShowFailure(ctx, message);
    return;
  }
  const AnalysisView view = ctx.Analysis->View();
  ctx.View.ShowAnalysis(&view);
  // The graph follows the search.
  PlyAnalysis scored;
  const UsiInfo& info = ctx.Analysis->Info();
  scored.Score = FirstScoreOf(info, SideOfPly(ctx.Analysis->Ply()) == kFirst);
  scored.Pv = info.Pv;
  if (!info.Pv.empty()) scored.Best = info.Pv[0];
  scored.Depth = info.Depth;
  NoteAnalysisScore(s, ctx.Analysis->Ply(), scored);
}

void AddEngineRows(std::vector<CommandRow>& rows) {
  using Env = CommandEnv;
  rows.push_back({kCmdEngines, "エンジン登録", "USIエンジンを登録、設定、削除する。\nエンジン登録",
                  [](Env& e, int) { return ManageEngines(e.Ctx, e.UserProfile); }, 0, Idle});
  rows.push_back(
      {kCmdAnalysis, "検討", "表示中の局面をエンジンで検討する。\n検討",
       [](Env& e, int) { return ToggleAnalysis(e.Ctx); }, 0,
       [](const ProgramState& s) { return s.Analysing || (Idle(s) && !s.RecordAnalysing); },
       Analysing});
}

}  // namespace shogi
