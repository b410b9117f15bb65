// The record tree of a KIF or KI2 file, block by block.
#include "records/kakinoki_variations.h"

#include <cstdio>

#include "platform/cp932.h"
#include "records/record_io.h"

namespace shogi {
namespace {

const std::string& BlockLabel() {
  static const std::string label = Cp932("変化：");
  return label;
}

const std::string& MoveWord() {
  static const std::string word = Cp932("手");
  return word;
}

}  // namespace

KakinokiVariations::KakinokiVariations(RecordTree& tree, const GameRecord& record, int move_limit)
    : tree_(tree), record_(record), move_limit_(move_limit) {
  tree_.StartWithRoot();
  lines_.push_back({0, {RecordTree::kRoot}});
}

bool KakinokiVariations::AddMove(MoveCode move, std::int32_t time) {
  if (current_ < 0) return true;
  OpenLine& line = lines_.back();
  if (line.Start + static_cast<int>(line.Nodes.size()) > move_limit_) {
    current_ = -1;
    return true;
  }
  const int node = tree_.AddMove(current_, move, time);
  if (node < 0) return false;
  line.Nodes.push_back(node);
  current_ = node;
  return true;
}

void KakinokiVariations::AddComment(std::string_view text) {
  if (current_ >= 0) tree_.Node(current_).Comment.emplace_back(text);
}

void KakinokiVariations::EndLine(int result) {
  // A block that ends before its first move (a word in place of move N) has no position of
  // its own to hold that: the word is left out.
  if (current_ < 0 || (!InMainLine() && lines_.back().Nodes.empty())) return;
  RecordNode& node = tree_.Node(current_);
  node.Ends = true;
  if (!InMainLine()) node.Result = result;
}

KakinokiVariations::Block KakinokiVariations::StartBlock(std::string_view line) {
  if (!StartsWith(line, BlockLabel())) return Block::kNone;
  std::size_t at = BlockLabel().size();
  while (at < line.size() && line[at] == ' ') ++at;
  int number = 0;
  const std::size_t digits = at;
  while (at < line.size() && line[at] >= '0' && line[at] <= '9' && number <= kMaxMoves)
    number = number * 10 + (line[at++] - '0');
  if (at == digits || number < 1 || line.substr(at, MoveWord().size()) != MoveWord())
    return Block::kMalformed;
  if (InMainLine()) EndLine(kResultNone);
  // Whether a line has reached move `number`, or ended with a word just before it: a block
  // after an end word branches off that word, from the line's last position.
  const auto reaches = [&](const OpenLine& open) {
    const int offset = number - open.Start;
    const int size = static_cast<int>(open.Nodes.size());
    return offset >= 0 &&
           (offset < size || (offset == size && size > 0 && tree_.Node(open.Nodes.back()).Ends));
  };
  while (lines_.size() > 1 && (lines_.back().Start >= number || !reaches(lines_.back())))
    lines_.pop_back();
  const OpenLine& open = lines_.back();
  const bool reached = reaches(open);
  if (!reached && number <= move_limit_) return Block::kMalformed;
  if (reached) {
    const std::size_t offset = static_cast<std::size_t>(number - open.Start);
    current_ =
        offset < open.Nodes.size() ? tree_.Node(open.Nodes[offset]).Parent : open.Nodes.back();
  } else {
    current_ = -1;
  }
  lines_.push_back({number, {}});
  return reached ? Block::kStarted : Block::kSkipped;
}

Position KakinokiVariations::CurrentPosition() const {
  return PositionOfNode(tree_, record_, current_);
}

int KakinokiVariations::PreviousDestination() const {
  return current_ > RecordTree::kRoot ? DestinationOf(tree_.Node(current_).Move) : 0;
}

int KakinokiVariations::NextIndex() const {
  return record_.StartIndex + tree_.Depth(current_);
}

void AppendKakinokiComment(std::string& out, const std::vector<std::string>& comment) {
  for (const std::string& line : comment) {
    out += '*';
    out += line;
    out += "\r\n";
  }
}

std::string KakinokiBlockLine(int move_number) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", move_number);
  return BlockLabel() + number + MoveWord() + "\r\n";
}

}  // namespace shogi
