// The record tree beside the game record: the comment of every position and the other moves
// played from it (variations), each with its own continuation, nested to any depth. The game
// record keeps the main line as every other part of the program knows it; the tree repeats
// that line as the first moves from its root, so that a variation is one branch among the
// others. A record without comments and variations has an empty tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/game_record.h"

namespace shogi {

// One position of the tree, reached by `Move` from the position `Parent`.
struct RecordNode {
  MoveCode Move{};        // none at the root
  std::int32_t Time = 0;  // the mover's cumulative clock right after the move, as MoveTimes
  int Parent = -1;        // -1 at the root
  // The moves played from here: [0] continues the line this position is on, the others are
  // the variations in the order the file gave them; where the line ends here (`Ends`),
  // every one of them is a variation of the word that ended it.
  std::vector<int> Next;
  std::vector<std::string> Comment;  // its lines, cp932
  // The line ends here: on the main line its last position (the record's result is its
  // word), on a variation the position before its end word (投了 ...), whose ResultCode is
  // `Result`.
  bool Ends = false;
  int Result = -1;
};

class RecordTree {
 public:
  static constexpr int kRoot = 0;
  // A tree holds at most this many positions; a reader refuses a file that needs more.
  static constexpr std::size_t kMaxNodes = 200000;

  bool Empty() const { return nodes_.empty(); }
  void Clear() { nodes_.clear(); }
  int Size() const { return static_cast<int>(nodes_.size()); }

  // Makes the tree its root alone.
  void StartWithRoot() { nodes_.assign(1, RecordNode{}); }
  // Makes the tree the main line of `record`: the root and one position per move, with the
  // move's time, and nothing else.
  void StartFrom(const GameRecord& record);

  const RecordNode& Node(int id) const { return nodes_[static_cast<std::size_t>(id)]; }
  RecordNode& Node(int id) { return nodes_[static_cast<std::size_t>(id)]; }

  // The position after `parent` that `move` reaches, -1 when no move from there plays it.
  int FindChild(int parent, MoveCode move) const;
  // `move` from `parent`: the position it reaches already, or a new one after the others,
  // with `time`. -1 when the tree is full.
  int AddMove(int parent, MoveCode move, std::int32_t time);

  // The number of moves from the start to `id`.
  int Depth(int id) const;
  // Whether `id` is on the main line (the first moves from the root).
  bool OnMainLine(int id) const;
  // Whether a position has a comment or a variation: a tree without either says nothing
  // beyond the record, and the readers leave it empty.
  bool HasNotes() const;

  // Makes the line through `id` the main line: at every branching on the way from the root,
  // the branch toward `id` moves to the front and the line that was first becomes a
  // variation.
  void Promote(int id);
  // Removes `id` and every position after it (never the root). The position ids after it
  // change: `tracked`, an id of the tree, is given its new value, or the parent of `id` when
  // it was removed.
  void Remove(int id, int& tracked);

 private:
  std::vector<RecordNode> nodes_;
};

// The positions of the tree's main line by move: [0] the root, [k] the position after the
// k-th move, for as long as the tree's main line plays the record's moves (and goes on).
// Empty for an empty tree.
std::vector<int> MainLineNodes(const RecordTree& tree, const GameRecord& record);

// Makes the tree's main line play the record's moves with their times, for a tree that is
// not empty: where the record plays a move that a variation begins with, that variation
// becomes the main line (the old one a variation); a move the tree lacks is added as the
// main line; the main line ends at the record's last move (the tree's main line that went on
// is cut there, or with `keep_cut` kept as a variation of its end word; the variations that
// branched off there become variations of the end word). Writers conform a copy of the tree
// they are given, so that a file never branches off a move its main line lacks.
void ConformTree(RecordTree& tree, const GameRecord& record, bool keep_cut = false);

// The position after the moves from the root to `id`, from the record's initial position.
Position PositionOfNode(const RecordTree& tree, const GameRecord& record, int id);

// One line of the tree: its positions from `Nodes[0]` (the root for the main line, else the
// first move of a variation) following the first move from each up to where it ends.
struct TreeLine {
  std::vector<int> Nodes;
};

// The variations that branch off a line at its position `id`: the moves from `id` but the
// first, or all of them where the line ends there.
std::vector<int> BranchesFrom(const RecordTree& tree, int id);

// Every line of the tree in the order a KIF file lists them: the main line first; after
// each line, the variations that branch off it from its end back to its start, each followed
// at once by its own. Empty for an empty tree.
std::vector<TreeLine> TreeLines(const RecordTree& tree);

// The tree as text (UTF-8), one line each: "line N: USI USI ..." for every line in the order
// of TreeLines (N from 0; line 0 the main line; a variation with the moves from the start),
// then "comment N PLY: TEXT" for every comment line (N the first line through its position,
// PLY the number of moves from the start to it). An empty tree lists the record's main line.
std::string TreeListing(const GameRecord& record, const RecordTree& tree);

}  // namespace shogi
