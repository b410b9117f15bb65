// The record tree: building, promoting and removing lines, and walking them.
#include "rules/record_tree.h"

#include <algorithm>

#include "platform/cp932.h"
#include "rules/sfen.h"

namespace shogi {

void RecordTree::StartFrom(const GameRecord& record) {
  StartWithRoot();
  int at = kRoot;
  const int end = RecordEndPly(record);
  for (int i = record.StartIndex; i < end && IsWellFormedMove(record.MoveList[i]); ++i)
    at = AddMove(at, record.MoveList[i], record.MoveTimes[i]);
  Node(at).Ends = true;
}

int RecordTree::FindChild(int parent, MoveCode move) const {
  for (int child : Node(parent).Next)
    if (Node(child).Move == move) return child;
  return -1;
}

int RecordTree::AddMove(int parent, MoveCode move, std::int32_t time) {
  if (const int found = FindChild(parent, move); found >= 0) return found;
  if (nodes_.size() >= kMaxNodes) return -1;
  RecordNode node;
  node.Move = move;
  node.Time = time;
  node.Parent = parent;
  nodes_.push_back(std::move(node));
  const int id = Size() - 1;
  Node(parent).Next.push_back(id);
  return id;
}

int RecordTree::Depth(int id) const {
  int depth = 0;
  for (int at = id; Node(at).Parent >= 0; at = Node(at).Parent) ++depth;
  return depth;
}

bool RecordTree::OnMainLine(int id) const {
  for (int at = id; Node(at).Parent >= 0; at = Node(at).Parent) {
    const RecordNode& parent = Node(Node(at).Parent);
    if (parent.Ends || parent.Next.front() != at) return false;
  }
  return true;
}

bool RecordTree::HasNotes() const {
  for (const RecordNode& node : nodes_)
    if (!node.Comment.empty() || node.Next.size() > 1) return true;
  return false;
}

void RecordTree::Promote(int id) {
  for (int at = id; Node(at).Parent >= 0; at = Node(at).Parent) {
    RecordNode& parent = Node(Node(at).Parent);
    const auto place = std::find(parent.Next.begin(), parent.Next.end(), at);
    std::rotate(parent.Next.begin(), place, place + 1);
    // A line that ended before this move goes on with it.
    parent.Ends = false;
    parent.Result = -1;
  }
}

void RecordTree::Remove(int id, int& tracked) {
  if (id == kRoot) return;
  std::vector<bool> removed(nodes_.size(), false);
  std::vector<int> stack{id};
  while (!stack.empty()) {
    const int at = stack.back();
    stack.pop_back();
    removed[static_cast<std::size_t>(at)] = true;
    for (int child : Node(at).Next) stack.push_back(child);
  }
  std::vector<int>& siblings = Node(Node(id).Parent).Next;
  siblings.erase(std::find(siblings.begin(), siblings.end(), id));
  if (removed[static_cast<std::size_t>(tracked)]) tracked = Node(id).Parent;
  // Ids shift down past every removed position.
  std::vector<int> new_id(nodes_.size(), -1);
  int kept = 0;
  for (std::size_t i = 0; i < nodes_.size(); ++i)
    if (!removed[i]) new_id[i] = kept++;
  std::vector<RecordNode> left;
  left.reserve(static_cast<std::size_t>(kept));
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (removed[i]) continue;
    RecordNode node = std::move(nodes_[i]);
    if (node.Parent >= 0) node.Parent = new_id[static_cast<std::size_t>(node.Parent)];
    for (int& child : node.Next) child = new_id[static_cast<std::size_t>(child)];
    left.push_back(std::move(node));
  }
  nodes_ = std::move(left);
  tracked = new_id[static_cast<std::size_t>(tracked)];
}

std::vector<int> MainLineNodes(const RecordTree& tree, const GameRecord& record) {
  std::vector<int> nodes;
  if (tree.Empty()) return nodes;
  nodes.push_back(RecordTree::kRoot);
  const int end = RecordEndPly(record);
  for (int i = record.StartIndex; i < end; ++i) {
    const RecordNode& node = tree.Node(nodes.back());
    if (node.Ends || node.Next.empty() || tree.Node(node.Next.front()).Move != record.MoveList[i])
      break;
    nodes.push_back(node.Next.front());
  }
  return nodes;
}

void ConformTree(RecordTree& tree, const GameRecord& record, bool keep_cut) {
  if (tree.Empty()) return;
  int at = RecordTree::kRoot;
  const int end = RecordEndPly(record);
  for (int i = record.StartIndex; i < end && IsWellFormedMove(record.MoveList[i]); ++i) {
    const int next = tree.AddMove(at, record.MoveList[i], record.MoveTimes[i]);
    if (next < 0) break;  // a full tree notes no more of the record's moves
    tree.Node(next).Time = record.MoveTimes[i];
    RecordNode& node = tree.Node(at);
    const auto place = std::find(node.Next.begin(), node.Next.end(), next);
    std::rotate(node.Next.begin(), place, place + 1);
    node.Ends = false;
    node.Result = -1;
    at = next;
  }
  // The main line that went on past the record's end is cut (or kept as a variation of its
  // end); the variations that branched off there stay as variations of the end.
  if (!tree.Node(at).Ends && !tree.Node(at).Next.empty() && !keep_cut)
    tree.Remove(tree.Node(at).Next.front(), at);
  tree.Node(at).Ends = true;
  tree.Node(at).Result = -1;
}

Position PositionOfNode(const RecordTree& tree, const GameRecord& record, int id) {
  std::vector<MoveCode> path;
  for (int at = id; tree.Node(at).Parent >= 0; at = tree.Node(at).Parent)
    path.push_back(tree.Node(at).Move);
  Position pos = record.InitialPosition;
  int ply = record.StartIndex;
  for (auto m = path.rbegin(); m != path.rend(); ++m) {
    if (!IsWellFormedMove(*m)) break;
    ApplyMove(pos, *m, SideOfPly(ply++));
  }
  return pos;
}

std::vector<int> BranchesFrom(const RecordTree& tree, int id) {
  const RecordNode& node = tree.Node(id);
  if (node.Ends) return node.Next;
  if (node.Next.size() <= 1) return {};
  return std::vector<int>(node.Next.begin() + 1, node.Next.end());
}

std::vector<TreeLine> TreeLines(const RecordTree& tree) {
  std::vector<TreeLine> lines;
  if (tree.Empty()) return lines;
  // The first positions of the lines still to be listed, the next one on top.
  std::vector<int> pending{RecordTree::kRoot};
  while (!pending.empty()) {
    TreeLine line;
    for (int at = pending.back();;) {
      line.Nodes.push_back(at);
      const RecordNode& node = tree.Node(at);
      if (node.Ends || node.Next.empty()) break;
      at = node.Next.front();
    }
    pending.pop_back();
    // The branches at the line's start go on the pile first, so that they come out last;
    // the branches at one position keep their order.
    for (int at : line.Nodes) {
      const std::vector<int> branches = BranchesFrom(tree, at);
      pending.insert(pending.end(), branches.rbegin(), branches.rend());
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string TreeListing(const GameRecord& record, const RecordTree& given) {
  RecordTree tree = given;
  if (tree.Empty()) tree.StartFrom(record);
  const std::vector<TreeLine> lines = TreeLines(tree);
  std::string text;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::vector<MoveCode> moves;
    for (int at = tree.Node(lines[n].Nodes.front()).Parent; at > RecordTree::kRoot;
         at = tree.Node(at).Parent)
      moves.insert(moves.begin(), tree.Node(at).Move);
    for (int at : lines[n].Nodes)
      if (at != RecordTree::kRoot) moves.push_back(tree.Node(at).Move);
    text += "line " + std::to_string(n) + ":";
    for (MoveCode m : moves) text += " " + FormatUsiMove(m);
    text += "\n";
  }
  for (std::size_t n = 0; n < lines.size(); ++n) {
    for (int at : lines[n].Nodes) {
      for (const std::string& line : tree.Node(at).Comment) {
        text += "comment " + std::to_string(n) + " " + std::to_string(tree.Depth(at)) + ": " +
                Utf8(line) + "\n";
      }
    }
  }
  return text;
}

}  // namespace shogi
