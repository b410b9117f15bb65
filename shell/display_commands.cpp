// The 表示 menu's rows: the switches and the scales.
#include "shell/display_commands.h"

#include <iterator>
#include <string>

#include "shell/display_options.h"

namespace shogi {
namespace {

// The toggles find their member by the row's argument, an index into kDisplaySwitches.
ViewUpdate ToggleSwitch(CommandEnv& e, int index) {
  DisplayOptions& d = e.Ctx.State.Display;
  d.*kDisplaySwitches[index].Member = !(d.*kDisplaySwitches[index].Member);
  SaveDisplayOptions(e.UserProfile, d);
  ViewUpdate u;
  u.Redraw(kViewFullRefresh);
  return u;
}
bool SwitchOn(const ProgramState& s, int index) {
  return s.Display.*kDisplaySwitches[index].Member;
}

ViewUpdate ChooseScale(CommandEnv& e, int scale) {
  e.Ctx.State.Display.Scale = scale;
  SaveDisplayOptions(e.UserProfile, e.Ctx.State.Display);
  ViewUpdate u;
  u.Redraw(kViewFullRefresh);
  return u;
}
bool ScaleIs(const ProgramState& s, int scale) {
  return s.Display.Scale == scale;
}

}  // namespace

void AddDisplayRows(std::vector<CommandRow>& rows) {
  for (int i = 0; i < static_cast<int>(std::size(kDisplaySwitches)); ++i) {
    const DisplaySwitch& s = kDisplaySwitches[i];
    rows.push_back({s.Id, s.Label, s.Prompt, ToggleSwitch, i, AnyState, SwitchOn});
  }
  rows.push_back({kCmdScaleFit, "ウィンドウに合わせる",
                  "盤面をウィンドウの大きさに合わせて表示する。\nウィンドウに合わせる", ChooseScale,
                  kScaleFit, AnyState, ScaleIs});
  const int ids[3] = {kCmdScale100, kCmdScale150, kCmdScale200};
  for (int i = 0; i < 3; ++i) {
    const std::string label = std::to_string(kViewScales[i]) + "%";
    rows.push_back({ids[i], label, "盤面を" + label + "の大きさで表示する。\n" + label, ChooseScale,
                    kViewScales[i], AnyState, ScaleIs});
  }
}

}  // namespace shogi
