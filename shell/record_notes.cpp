// The record's comments and variations in the window.
#include "shell/record_notes.h"

#include <algorithm>
#include <cstring>

#include "platform/cp932.h"
#include "shell/command_state.h"
#include "shell/game_clock.h"
#include "shell/record_scores.h"
#include "shell/view_texts.h"

namespace shogi {
namespace {

// Redrawn when the record takes another line: the board, the clocks, the texts, the list.
constexpr unsigned kLineRedraw =
    kViewBoard | kViewClocks | kViewInfo | kViewMovePanel | kViewMessage;

// The moves of the tree's main line.
std::vector<MoveCode> MainLineMoves(const RecordTree& tree) {
  std::vector<MoveCode> moves;
  for (int at = RecordTree::kRoot;;) {
    const RecordNode& node = tree.Node(at);
    if (node.Ends || node.Next.empty()) break;
    at = node.Next.front();
    moves.push_back(tree.Node(at).Move);
  }
  return moves;
}

// The last position of the tree's main line.
int MainLineEnd(const RecordTree& tree) {
  int at = RecordTree::kRoot;
  while (!tree.Node(at).Ends && !tree.Node(at).Next.empty()) at = tree.Node(at).Next.front();
  return at;
}

// Makes `record` the tree's main line: its moves and times, and the result of its end (none
// where the tree keeps none). The header and the start stay.
void TakeMainLine(RecordTree& tree, GameRecord& record) {
  int ply = record.StartIndex;
  int at = RecordTree::kRoot;
  while (!tree.Node(at).Ends && !tree.Node(at).Next.empty() && ply + 1 < kMaxMoves) {
    at = tree.Node(at).Next.front();
    record.MoveList[ply] = tree.Node(at).Move;
    record.MoveTimes[ply] = tree.Node(at).Time;
    ++ply;
  }
  CutRecordAt(record, ply);
  RecordNode& end = tree.Node(at);
  record.ResultCode = end.Result >= 0 ? end.Result : kResultNone;
  end.Ends = true;
  end.Result = -1;
}

// The tree's main line is put aside as a variation: its end keeps the record's result.
void KeepResultAtEnd(RecordTree& tree, const GameRecord& record) {
  RecordNode& end = tree.Node(MainLineEnd(tree));
  end.Ends = true;
  end.Result = record.ResultCode;
}

}  // namespace

void MarkNotesChanged(ProgramState& state) {
  state.Notes.Changed = true;
  ++state.Notes.Version;
}

void ClearNotes(ProgramState& state) {
  const int version = state.Notes.Version;
  const bool told = state.Notes.DatabaseTold;
  state.Notes = RecordNotesState{};
  state.Notes.Version = version + 1;
  state.Notes.DatabaseTold = told;
}

void InstallNotes(ProgramState& state, RecordTree tree) {
  ClearNotes(state);
  state.Notes.Tree = std::move(tree);
  state.Notes.Root = state.Record.InitialPosition;
  state.Notes.RootStart = state.Record.StartIndex;
  SyncNotes(state);
  // The scores other programs keep in comments fill the graph.
  RecordScores scores = ScoresFromComments(state.Notes.Tree, state.Record);
  if (!scores.Empty()) KeepScores(state, std::move(scores));
}

void SyncNotes(ProgramState& state) {
  RecordNotesState& n = state.Notes;
  const GameRecord& r = state.Record;
  if (!n.Tree.Empty() && (!(n.Root == r.InitialPosition) || n.RootStart != r.StartIndex))
    ClearNotes(state);
  if (n.Tree.Empty()) {
    n.Tree.StartFrom(r);
    n.Root = r.InitialPosition;
    n.RootStart = r.StartIndex;
    return;
  }
  // With "変化を残す" nothing the tree holds is lost when the record is cut (a take-back
  // too): the moves past the record's end stay as a variation of it.
  ConformTree(n.Tree, r, state.Display.KeepVariations);
}

void CutShownLine(ProgramState& state) {
  GameRecord& r = state.Record;
  SyncNotes(state);
  const bool goes_on = RecordEndPly(r) > r.PlyCount;
  if (goes_on) KeepResultAtEnd(state.Notes.Tree, r);
  CutRecordAt(r, r.PlyCount);
  if (r.PlyCount <= r.StartIndex) {
    ClearNotes(state);
    SyncNotes(state);
    return;
  }
  ConformTree(state.Notes.Tree, r, state.Display.KeepVariations);
  if (goes_on) ++state.Notes.Version;
}

int NodeOfPly(const ProgramState& state, int ply) {
  const std::vector<int> nodes = MainLineNodes(state.Notes.Tree, state.Record);
  const int index = ply - state.Record.StartIndex;
  return index >= 0 && index < static_cast<int>(nodes.size()) ? nodes[index] : -1;
}

ShownVariations VariationsOfShownMove(const ProgramState& state, bool texts) {
  ShownVariations v;
  const int shown = NodeOfPly(state, state.Record.PlyCount);
  if (shown <= RecordTree::kRoot) return v;
  const RecordTree& tree = state.Notes.Tree;
  const int parent = tree.Node(shown).Parent;
  // In the order they came, whichever the record follows.
  v.Nodes = tree.Node(parent).Next;
  std::sort(v.Nodes.begin(), v.Nodes.end());
  v.Current = static_cast<int>(std::find(v.Nodes.begin(), v.Nodes.end(), shown) - v.Nodes.begin());
  if (!texts) return v;
  // The texts are the moves from the position before the shown move.
  GameRecord before = state.Record;
  before.PlyCount = state.Record.PlyCount - 1;
  Position pos;
  ReplayTo(before, pos, before.PlyCount);
  for (int node : v.Nodes)
    v.Texts.push_back(MoveTextFrom(before, pos, SideOfPly(before.PlyCount), tree.Node(node).Move));
  return v;
}

bool MoveHasVariations(const ProgramState& state, int ply) {
  const int node = NodeOfPly(state, ply);
  return node > RecordTree::kRoot &&
         state.Notes.Tree.Node(state.Notes.Tree.Node(node).Parent).Next.size() > 1;
}

bool FollowVariation(ProgramState& state, int index) {
  if (!Idle(state)) return false;
  SyncNotes(state);
  const ShownVariations v = VariationsOfShownMove(state, false);
  if (index < 0 || index >= static_cast<int>(v.Nodes.size()) || index == v.Current) return false;
  RecordNotesState& n = state.Notes;
  if (n.MainLine.empty()) n.MainLine = MainLineMoves(n.Tree);
  KeepResultAtEnd(n.Tree, state.Record);
  n.Tree.Promote(v.Nodes[static_cast<std::size_t>(index)]);
  TakeMainLine(n.Tree, state.Record);
  if (MainLineMoves(n.Tree) == n.MainLine) n.MainLine.clear();
  ++n.Version;
  SetClocksAtPly(state.Record, state.Record.PlyCount);
  RebuildShown(state);
  ClearMessage(state.Message);
  return true;
}

ViewUpdate StepVariation(ProgramState& state, int step) {
  const ShownVariations v = VariationsOfShownMove(state, false);
  ViewUpdate u;
  if (v.Current >= 0 && FollowVariation(state, v.Current + step)) u.Redraw(kLineRedraw);
  return u;
}

bool FollowsVariation(const ProgramState& state) {
  return !state.Notes.MainLine.empty();
}

ViewUpdate MakeShownLineMain(ProgramState& state) {
  ViewUpdate u;
  if (!Idle(state) || !FollowsVariation(state)) return u;
  state.Notes.MainLine.clear();
  MarkNotesChanged(state);
  u.Redraw(kViewMovePanel);
  return u;
}

std::string ShownComment(const ProgramState& state) {
  const int node = NodeOfPly(state, state.Record.PlyCount);
  if (node < 0) return {};
  std::string text;
  for (const std::string& line : state.Notes.Tree.Node(node).Comment) {
    if (!text.empty()) text += "\n";
    text += Utf8(line);
  }
  return text;
}

void SetShownComment(ProgramState& state, const std::string& utf8) {
  SyncNotes(state);
  const int node = NodeOfPly(state, state.Record.PlyCount);
  if (node < 0 || ShownComment(state) == utf8) return;
  std::vector<std::string> lines;
  for (std::size_t from = 0; from <= utf8.size();) {
    std::size_t to = utf8.find('\n', from);
    if (to == std::string::npos) to = utf8.size();
    std::string line = utf8.substr(from, to - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(Cp932(line));
    from = to + 1;
  }
  // Empty lines at the end say nothing.
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  state.Notes.Tree.Node(node).Comment = std::move(lines);
  state.Notes.Changed = true;
}

void FileRecord(const ProgramState& state, GameRecord& record, RecordTree& tree) {
  record = state.Record;
  tree = state.Notes.Tree;
  if (tree.Empty()) return;
  // Following variations moved them to the front: the file lists every position's moves in
  // the order they came (the ids' order), its main line first.
  int tip = MainLineEnd(tree);
  if (FollowsVariation(state)) {
    KeepResultAtEnd(tree, record);
    tip = RecordTree::kRoot;
    for (MoveCode move : state.Notes.MainLine) {
      const int next = tree.FindChild(tip, move);
      if (next < 0) break;
      tip = next;
    }
  }
  for (int id = 0; id < tree.Size(); ++id)
    std::sort(tree.Node(id).Next.begin(), tree.Node(id).Next.end());
  tree.Promote(tip);
  if (FollowsVariation(state)) {
    TakeMainLine(tree, record);
    record.PlyCount = std::min(record.PlyCount, RecordEndPly(record));
  }
  if (!tree.HasNotes()) tree.Clear();
}

void TellNotesNotStored(ShellContext& ctx, const char* caption) {
  SyncNotes(ctx.State);
  if (ctx.State.Notes.DatabaseTold || !ctx.State.Notes.Tree.HasNotes()) return;
  ctx.State.Notes.DatabaseTold = true;
  ctx.Ui.ShowMessage(caption, kNotesNotStoredMessage, MessageButtons::kOk,
                     MessageIcon::kInformation);
}

bool RecordUnsaved(const ProgramState& state) {
  if (state.Notes.Changed) return true;
  // A variation the record follows is no change: the file keeps its main line.
  GameRecord file;
  if (FollowsVariation(state)) {
    RecordTree tree;
    FileRecord(state, file, tree);
  }
  const GameRecord& a = FollowsVariation(state) ? file : state.Record;
  const GameRecord& b = state.SavedRecord;
  const int end = RecordEndPly(a);
  if (!(a.InitialPosition == b.InitialPosition) || a.StartIndex != b.StartIndex ||
      end != RecordEndPly(b) || a.ResultCode != b.ResultCode || a.GameNumber != b.GameNumber ||
      a.Year != b.Year || a.Month != b.Month || a.Day != b.Day) {
    return true;
  }
  const int stored = std::min(end + 1, kMaxMoves);  // the times keep the end's entry too
  for (int i = a.StartIndex; i < stored; ++i) {
    if ((i < end && !(a.MoveList[i] == b.MoveList[i])) || a.MoveTimes[i] != b.MoveTimes[i]) {
      return true;
    }
  }
  auto same = [](const auto& x, const auto& y) { return std::memcmp(x, y, sizeof x) == 0; };
  return !same(a.FirstName, b.FirstName) || !same(a.SecondName, b.SecondName) ||
         !same(a.Tournament, b.Tournament) || !same(a.Opening, b.Opening) ||
         !same(a.Comment, b.Comment);
}

void MarkRecordSaved(ProgramState& state) {
  RecordTree tree;
  FileRecord(state, state.SavedRecord, tree);
  state.Notes.Changed = false;
}

}  // namespace shogi
