// Where the comments and moves of a KIF or KI2 file go in the record tree: comment lines ("*")
// to the position before them, the main line's moves first, then every "変化：N手" block as
// a variation of the line it branches off: the innermost line read so far that began before
// move N and reached it (or ended with a word just before it) — the block before it if that
// one did, else the line that one branched off, and so on out to the main line. Files list
// a line's variations from its last move back to its first, each followed by its own, so
// that the block before is the right one; the search outward also takes other orders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/record_tree.h"

namespace shogi {

class KakinokiVariations {
 public:
  // The tree starts with its root (the record's start); `move_limit` is the reader's: moves
  // of any line past it are left out.
  KakinokiVariations(RecordTree& tree, const GameRecord& record, int move_limit);

  // The position the next move of the current line is played from; -1 while the moves are
  // left out (past the limit, or in a block that branches off beyond it).
  int Current() const { return current_; }
  // Whether the moves read now are the main line's.
  bool InMainLine() const { return lines_.size() == 1; }

  // The next move of the current line, with its time. False when the tree is full.
  [[nodiscard]] bool AddMove(MoveCode move, std::int32_t time);
  // A comment line ("*" and its text: the text) of the current position.
  void AddComment(std::string_view text);
  // The line being read ended with a word: `result` is its ResultCode (kept for a
  // variation; the main line's is the record's). The moves after it are variations of it.
  // A block that is a word in place of its first move keeps nothing.
  void EndLine(int result);
  // From here on the moves of the current line are left out.
  void SkipRest() { current_ = -1; }

  enum class Block { kNone, kStarted, kSkipped, kMalformed };
  // A line that may begin a block: kNone when it does not begin with "変化：". kStarted: the
  // moves after it form a variation of move N, played from Current(). kSkipped: move N is
  // past the limit, and the block's moves are left out. kMalformed: not even the main line
  // reached move N (or N is no number from 1). The main line ends at the first block.
  Block StartBlock(std::string_view line);

  // The position at Current(), and the destination of the move that reached it (0 at the
  // start), which a "同" of the next move refers to.
  Position CurrentPosition() const;
  int PreviousDestination() const;
  // The list index of the next move.
  int NextIndex() const;

 private:
  // A line being read: Nodes[k] is its position after move number Start + k (the main line
  // starts at the root, move number 0; a block at its first move).
  struct OpenLine {
    int Start;
    std::vector<int> Nodes;
  };

  RecordTree& tree_;
  const GameRecord& record_;
  int move_limit_;
  std::vector<OpenLine> lines_;
  int current_ = RecordTree::kRoot;
};

// Writes `comment` as KIF and KI2 comment lines ("*" and a line) to `out`, CR LF after each.
void AppendKakinokiComment(std::string& out, const std::vector<std::string>& comment);

// The text of a "変化：N手" line with its line end.
std::string KakinokiBlockLine(int move_number);

}  // namespace shogi
