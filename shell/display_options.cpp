// The display options: their profile keys and their menu rows.
#include "shell/display_options.h"

#include <algorithm>
#include <iterator>

#include "shell/command_table.h"
#include "shell/settings.h"

namespace shogi {
namespace {

constexpr const char* kScaleKey = "ViewScale";

bool ValidScale(int scale) {
  return scale == kScaleFit ||
         std::find(std::begin(kViewScales), std::end(kViewScales), scale) != std::end(kViewScales);
}

// One switch: its menu item, its profile key, its label and prompt, its member.
struct SwitchRow {
  int Id;
  const char* Key;
  const char* Label;
  const char* Prompt;
  bool DisplayOptions::*Member;
};
constexpr SwitchRow kSwitchRows[] = {
    {kCmdShowCoordinates, "ShowCoordinates", "座標", "盤の上に筋、右に段の座標を表示する。\n座標",
     &DisplayOptions::Coordinates},
    {kCmdShowLastMove, "ShowLastMove", "最終手", "最後に指した手の升に色を付ける。\n最終手",
     &DisplayOptions::LastMove},
    {kCmdShowPieceCounts, "ShowPieceCounts", "持駒数",
     "持駒と駒箱の駒の数を数字で表示する。\n持駒数", &DisplayOptions::PieceCounts},
    {kCmdShowTurn, "ShowTurn", "手番", "対局中の手番と終局後の結果を表示する。\n手番",
     &DisplayOptions::TurnMessage},
    {kCmdShowDestinations, "ShowDestinations", "移動先",
     "持ち上げた駒の動ける升に印を付ける。\n移動先", &DisplayOptions::Destinations},
    {kCmdKeepVariations, "KeepVariations", "変化を残す",
     "途中の局面から対局すると、それまでの指し手を変化として残す。\n変化を残す",
     &DisplayOptions::KeepVariations},
    {kCmdShowScoreGraph, "ShowScoreGraph", "評価値グラフ",
     "盤の下に棋譜の評価値のグラフを表示する。\n評価値グラフ", &DisplayOptions::ScoreGraph},
    {kCmdShowNotes, "ShowNotes", "変化とコメント",
     "指し手の変化と局面のコメントのウィンドウを表示する。\n変化とコメント",
     &DisplayOptions::NotesWindow},
};

// The toggles find their member by the row's argument, an index into kSwitchRows.
ViewUpdate ToggleSwitch(CommandEnv& e, int index) {
  DisplayOptions& d = e.Ctx.State.Display;
  d.*kSwitchRows[index].Member = !(d.*kSwitchRows[index].Member);
  SaveDisplayOptions(e.UserProfile, d);
  ViewUpdate u;
  u.Redraw(kViewFullRefresh);
  return u;
}
bool SwitchOn(const ProgramState& s, int index) {
  return s.Display.*kSwitchRows[index].Member;
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

DisplayOptions LoadDisplayOptions(const Profile& profile) {
  DisplayOptions d;
  for (const SwitchRow& k : kSwitchRows) {
    d.*k.Member = profile.GetInt(kSectionSettings, k.Key, d.*k.Member ? 1 : 0) != 0;
  }
  const int scale = profile.GetInt(kSectionSettings, kScaleKey, d.Scale);
  if (ValidScale(scale)) d.Scale = scale;
  return d;
}

void SaveDisplayOptions(Profile& profile, const DisplayOptions& d) {
  for (const SwitchRow& k : kSwitchRows)
    profile.WriteInt(kSectionSettings, k.Key, d.*k.Member ? 1 : 0);
  profile.WriteInt(kSectionSettings, kScaleKey, d.Scale);
}

void AddDisplayRows(std::vector<CommandRow>& rows) {
  for (int i = 0; i < static_cast<int>(std::size(kSwitchRows)); ++i) {
    const SwitchRow& s = kSwitchRows[i];
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
