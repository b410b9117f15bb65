// The record tree beside the game record: fitting it to the record's main line, promoting and
// removing lines, and the order its lines are listed in.
#include "rules/record_tree.h"

#include <gtest/gtest.h>

#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::MakeRecord;
using test::SplitUsi;
using test::UsiMove;

// A tree of the lines `lines` (USI moves from the start, each a line of its own after the
// ones before it), with a comment "cN" on the last position of line N.
RecordTree TreeOf(std::initializer_list<std::string_view> lines) {
  RecordTree tree;
  tree.StartWithRoot();
  int n = 0;
  for (std::string_view line : lines) {
    int at = RecordTree::kRoot;
    for (const std::string& usi : SplitUsi(line)) at = tree.AddMove(at, UsiMove(usi), 0);
    tree.Node(at).Comment.push_back("c" + std::to_string(n++));
  }
  return tree;
}

// The three lines of the tests: a main line, a variation of its third move, one of its
// second move.
RecordTree ThreeLines() {
  return TreeOf({"7g7f 3c3d 2g2f 8c8d", "7g7f 3c3d 6g6f", "7g7f 4c4d"});
}

TEST(RecordTree, ListsVariationsFromTheLastMoveBackEachFollowedByItsOwn) {
  RecordTree tree = TreeOf({"7g7f 3c3d 2g2f", "7g7f 8c8d 2g2f", "7g7f 8c8d 6g6f", "7g7f 3c3d 5g5f",
                            "2g2f", "7g7f 3c3d 2g2f 4c4d"});
  tree.Node(tree.FindChild(RecordTree::kRoot, UsiMove("7g7f"))).Comment.push_back("x");
  EXPECT_EQ(TreeListing(MakeRecord("startpos", ""), tree),
            "line 0: 7g7f 3c3d 2g2f 4c4d\n"
            "line 1: 7g7f 3c3d 5g5f\n"
            "line 2: 7g7f 8c8d 2g2f\n"
            "line 3: 7g7f 8c8d 6g6f\n"  // a variation of line 2, right after it
            "line 4: 2g2f\n"
            "comment 0 1: x\n"
            "comment 0 3: c0\n"
            "comment 0 4: c5\n"
            "comment 1 3: c3\n"
            "comment 2 3: c1\n"
            "comment 3 3: c2\n"
            "comment 4 1: c4\n");
}

TEST(RecordTree, ConformsToTheRecordsMainLine) {
  const struct {
    const char* moves;  // the record's main line
    const char* listing;
  } cases[] = {
      // The same moves: nothing changes but the end of the main line.
      {"7g7f 3c3d 2g2f 8c8d",
       "line 0: 7g7f 3c3d 2g2f 8c8d\nline 1: 7g7f 3c3d 6g6f\nline 2: 7g7f 4c4d\n"},
      // A variation played: it becomes the main line, the old one a variation.
      {"7g7f 3c3d 6g6f",
       "line 0: 7g7f 3c3d 6g6f\nline 1: 7g7f 3c3d 2g2f 8c8d\nline 2: 7g7f 4c4d\n"},
      // A move the tree lacks goes first; the record ends before the tree's main line did,
      // and what came after is cut.
      {"7g7f 3c3d 5g5f",
       "line 0: 7g7f 3c3d 5g5f\nline 1: 7g7f 3c3d 2g2f 8c8d\nline 2: 7g7f 3c3d 6g6f\n"
       "line 3: 7g7f 4c4d\n"},
      // A record cut: the alternatives of the cut move stay as variations of its end.
      {"7g7f 3c3d", "line 0: 7g7f 3c3d\nline 1: 7g7f 3c3d 6g6f\nline 2: 7g7f 4c4d\n"},
      {"", "line 0:\n"},
  };
  for (const auto& c : cases) {
    RecordTree tree = ThreeLines();
    const GameRecord record = MakeRecord("startpos", c.moves, {});
    ConformTree(tree, record);
    std::string lines = TreeListing(record, tree);
    lines.erase(lines.find("comment") == std::string::npos ? lines.size() : lines.find("comment"));
    EXPECT_EQ(lines, c.listing) << c.moves;
    EXPECT_EQ(MainLineNodes(tree, record).size(), SplitUsi(c.moves).size() + 1) << c.moves;
  }
}

TEST(RecordTree, KeepsTheVariationsOfTheMainLinesEndWordAndTakesTheRecordsTimes) {
  RecordTree tree = ThreeLines();
  GameRecord record = MakeRecord("startpos", "7g7f 3c3d", {5, 7});
  ConformTree(tree, record);
  // A move from the main line's last position is a variation of its end word.
  const int end = MainLineNodes(tree, record).back();
  tree.AddMove(end, UsiMove("5g5f"), 0);
  ConformTree(tree, record);
  EXPECT_EQ(TreeListing(record, tree),
            "line 0: 7g7f 3c3d\nline 1: 7g7f 3c3d 6g6f\nline 2: 7g7f 3c3d 5g5f\n"
            "line 3: 7g7f 4c4d\ncomment 1 3: c1\ncomment 3 2: c2\n");
  EXPECT_EQ(tree.Node(end).Time, 7);
  // The record goes on with it: the main line does, and the end moves there.
  record = MakeRecord("startpos", "7g7f 3c3d 5g5f", {5, 7, 9});
  ConformTree(tree, record);
  EXPECT_FALSE(tree.Node(end).Ends);
  EXPECT_EQ(TreeListing(record, tree),
            "line 0: 7g7f 3c3d 5g5f\nline 1: 7g7f 3c3d 6g6f\nline 2: 7g7f 4c4d\n"
            "comment 1 3: c1\ncomment 2 2: c2\n");
}

TEST(RecordTree, PromotesALineAndRemovesOneKeepingATrackedPosition) {
  RecordTree tree = ThreeLines();
  const GameRecord none = MakeRecord("startpos", "");
  const int side =
      tree.FindChild(tree.FindChild(RecordTree::kRoot, UsiMove("7g7f")), UsiMove("3c3d"));
  const int deep = tree.FindChild(side, UsiMove("6g6f"));
  tree.Promote(deep);
  EXPECT_TRUE(tree.OnMainLine(deep));
  EXPECT_EQ(TreeListing(none, tree).substr(0, 24), "line 0: 7g7f 3c3d 6g6f\nl");

  int tracked = deep;
  tree.Remove(tree.FindChild(side, UsiMove("2g2f")), tracked);
  EXPECT_EQ(tree.Size(), 5);
  EXPECT_EQ(tree.Node(tracked).Move, UsiMove("6g6f"));
  tree.Remove(tracked, tracked);  // ids after a removed one have changed: `deep` has
  EXPECT_EQ(tracked, side);
  EXPECT_EQ(TreeListing(none, tree), "line 0: 7g7f 3c3d\nline 1: 7g7f 4c4d\ncomment 1 2: c2\n");
}

}  // namespace
}  // namespace shogi
