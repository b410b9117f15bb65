// The KI2 reader: names, then lines of "▲"/"△" tokens resolved against the position.
#include "records/ki2.h"

#include "platform/cp932.h"
#include "records/kakinoki_header.h"
#include "records/kakinoki_variations.h"
#include "records/ki2_notation.h"
#include "records/kif.h"
#include "records/notation.h"
#include "records/record_io.h"
#include "records/record_text.h"

namespace shogi {
namespace {

// A KI2 line holds at most this many bytes.
constexpr std::size_t kKi2LineBytes = 255;
// A token runs at most this many bytes past its side mark.
constexpr std::size_t kTokenBytes = 13;

// The side a token's mark names.
Side SideOfMark(std::string_view token) {
  return KanjiIs(token, 0, Notation().sente_mark_code) ? kFirst : kSecond;
}

int ReadKi2Lines(LineReader& lines, GameRecord& record, RecordTree& tree, std::string& message) {
  GameRecord r;
  PrepareRecordForReading(record, r);
  KakinokiHeader header(r);
  RecordTree notes_tree;
  KakinokiVariations notes(notes_tree, r, kKi2MoveLimit);
  Position pos;
  int index = 0;
  int previous = 0;
  bool in_moves = false, malformed = false;
  bool main_done = false;      // the main line ended; only comments and blocks are read now
  bool blocks = false;         // a variation block was read
  bool line_over = false;      // the line being read ended: its moves are skipped
  bool word_ended = false;     // a word we do not know stood where the next move would
  bool limit_reached = false;  // the main line stopped at the move limit
  std::string_view line;
  while (!malformed && lines.Next(line)) {
    // Comment lines often quote moves ("*▲７六歩が好手"); they are not moves. They belong to
    // the position before them: the start, before the first move.
    if (!line.empty() && line[0] == '*') {
      notes.AddComment(line.substr(1));
      continue;
    }
    if (!in_moves) {
      if (NextKi2Mark(line, 0) != 0) {
        (void)header.Take(line, malformed);
        continue;
      }
      // The names may be missing (mate problems and fragments have none); a diagram must be
      // whole.
      if (!header.ReadyForMoves()) {
        malformed = true;
        break;
      }
      in_moves = true;
      pos = r.InitialPosition;
      index = r.StartIndex;
    }
    if (!line.empty() && (line[0] == '#' || line[0] == '&')) continue;
    switch (notes.StartBlock(line)) {
      case KakinokiVariations::Block::kNone:
        break;
      case KakinokiVariations::Block::kStarted:
        pos = notes.CurrentPosition();
        index = notes.NextIndex();
        previous = notes.PreviousDestination();
        [[fallthrough]];
      case KakinokiVariations::Block::kSkipped:
        main_done = blocks = true;
        line_over = word_ended = false;
        continue;
      case KakinokiVariations::Block::kMalformed:
        malformed = true;
        continue;
    }
    if (!main_done && EndsMainLine(line, r.ResultCode)) {
      notes.EndLine(r.ResultCode);
      main_done = true;
      continue;
    }
    if (main_done && notes.InMainLine()) {
      if (limit_reached) notes.SkipRest();
      continue;
    }
    if (line_over || notes.Current() < 0) continue;
    // A line cut at the limit may end in half a move.
    if (lines.Cut() && NextKi2Mark(line, 0) != std::string_view::npos) {
      malformed = true;
      break;
    }
    for (std::size_t at = NextKi2Mark(line, 0); at != std::string_view::npos;) {
      const std::size_t next = NextKi2Mark(line, at + 2);
      std::size_t end = next == std::string_view::npos ? line.size() : next;
      if (end > at + 2 + kTokenBytes) end = at + 2 + kTokenBytes;
      const std::string_view token = line.substr(at, end - at);
      at = next;
      // A mark that disagrees with the side to move is refused, not played for the other side.
      if (SideOfMark(token) != SideOfPly(index)) {
        malformed = true;
        break;
      }
      if (const int result = EndWordResult(token.substr(2), index); result >= 0) {
        notes.EndLine(result);
        if (notes.InMainLine()) {
          r.ResultCode = result;
          main_done = true;
        } else {
          line_over = true;
        }
        break;
      }
      MoveCode m;
      if (word_ended || !ParseKi2Move(token, pos, SideOfPly(index), previous, m)) {
        // A word that is no move at all, as the last token, ends the line as it stands with
        // no result; any other token that is no move is damage.
        if (word_ended || !BeginsEndWordText(token, 2)) {
          malformed = true;
          break;
        }
        notes.EndLine(kResultNone);
        if (notes.InMainLine()) {
          word_ended = true;
        } else {
          line_over = true;
          break;
        }
        continue;
      }
      if (!notes.AddMove(m, 0)) {
        malformed = true;
        break;
      }
      if (notes.InMainLine()) {
        r.MoveList[index] = m;
        if (index + 1 - r.StartIndex >= kKi2MoveLimit) {
          main_done = limit_reached = true;
          break;
        }
      } else if (notes.Current() < 0) {
        break;  // past the move limit
      }
      ++index;
    }
  }
  // A file without a single marked line holds nothing of the format (a KIF file, say).
  if (!in_moves || malformed || ((!main_done || blocks) && lines.Failed())) {
    message = kMessageMalformed;
    return 1;
  }
  r.PlyCount = r.StartIndex;
  record = r;
  if (!notes_tree.HasNotes()) notes_tree.Clear();
  tree = std::move(notes_tree);
  return 0;
}

// The word that ends a line with `result`, as a token of the side to move.
const char* EndWord(int result) {
  switch (result) {
    case kResultFirstWins:
    case kResultSecondWins:
      return "投了";
    case kResultRepetition:
      return "千日手";
    case kResultImpasse:
    case kResultImpasseLater:
      return "持将棋";
    default:
      return "中断";
  }
}

// The text after "まで%d手で" that ends a KI2 file by the result; empty for none.
std::string SummaryWords(const GameRecord& record) {
  const bool handicap = record.StartIndex == 1 && record.InitialPosition != kInitialPosition;
  switch (record.ResultCode) {
    case kResultFirstWins:
      return handicap ? "下手の勝ち" : "先手の勝ち";
    case kResultSecondWins:
      return handicap ? "上手の勝ち" : "後手の勝ち";
    default:
      return EndWord(record.ResultCode);
  }
}

// Moves on a line of the file, each but the last padded to this many bytes.
constexpr int kMovesPerLine = 6;
constexpr std::size_t kMoveCellBytes = 12;

// Writes the moves of one line of the tree: six to a line, a line ending early where a
// comment follows a move.
class Ki2LineWriter {
 public:
  explicit Ki2LineWriter(std::string& out) : out_(out) {}
  void Move(std::string_view text) {
    if (count_ > 0) {
      out_.append(cell_ < kMoveCellBytes ? kMoveCellBytes - cell_ : 2, ' ');
    }
    out_ += text;
    cell_ = text.size();
    if (++count_ == kMovesPerLine) Break();
  }
  void Comment(const std::vector<std::string>& comment) {
    if (comment.empty()) return;
    Break();
    AppendKakinokiComment(out_, comment);
  }
  void Break() {
    if (count_ > 0) out_ += "\r\n";
    count_ = 0;
  }

 private:
  std::string& out_;
  int count_ = 0;
  std::size_t cell_ = 0;
};

// The KI2 text of the move of `node` from `pos` at list index `index`, without its padding.
std::string MoveText(const RecordTree& tree, int node, const Position& pos, int index,
                     int previous) {
  const NotationTables& t = Notation();
  std::string text = FormatKi2Move(tree.Node(node).Move, pos, SideOfPly(index), previous,
                                   SideOfPly(index) == kFirst ? t.sente_mark : t.gote_mark);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// One line of the tree from `nodes[from]` on, played from `pos` at `index`.
void AppendKi2Line(std::string& out, const RecordTree& tree, const std::vector<int>& nodes,
                   std::size_t from, Position pos, int index, int previous) {
  Ki2LineWriter writer(out);
  for (std::size_t k = from; k < nodes.size(); ++k) {
    const RecordNode& node = tree.Node(nodes[k]);
    if (!IsWellFormedMove(node.Move) || index + 1 >= kMaxMoves) break;
    writer.Move(MoveText(tree, nodes[k], pos, index, previous));
    writer.Comment(node.Comment);
    ApplyMove(pos, node.Move, SideOfPly(index));
    previous = DestinationOf(node.Move);
    ++index;
  }
  writer.Break();
}

}  // namespace

std::string FormatKi2(const GameRecord& record, const RecordTree& given) {
  RecordTree tree = given;
  if (tree.Empty()) {
    tree.StartFrom(record);
  } else {
    ConformTree(tree, record);
  }
  std::string out = FormatKifHeader(record);
  AppendKakinokiComment(out, tree.Node(RecordTree::kRoot).Comment);
  const std::vector<TreeLine> lines = TreeLines(tree);
  const std::vector<int>& main = lines.front().Nodes;
  AppendKi2Line(out, tree, main, 1, record.InitialPosition, record.StartIndex, 0);
  const int count = static_cast<int>(main.size()) - 1;
  if (count > 0) {
    out += Cp932("まで" + std::to_string(count) + "手で" + SummaryWords(record));
  } else {
    // Without a move a marked line must still begin the moves: the end as a word of the side
    // to move, a win or loss by default where there is a winner.
    const Side mover = SideOfPly(record.StartIndex);
    const bool won = record.ResultCode == (mover == kFirst ? kResultFirstWins : kResultSecondWins);
    const bool lost = record.ResultCode == (mover == kFirst ? kResultSecondWins : kResultFirstWins);
    out += mover == kFirst ? Notation().sente_mark : Notation().gote_mark;
    out += Cp932(won ? "不戦勝" : lost ? "不戦敗" : EndWord(record.ResultCode));
  }
  out += "\r\n";
  for (std::size_t l = 1; l < lines.size(); ++l) {
    const std::vector<int>& nodes = lines[l].Nodes;
    const int parent = tree.Node(nodes.front()).Parent;
    const int depth = tree.Depth(parent);
    out += "\r\n";
    out += KakinokiBlockLine(depth + 1);
    AppendKi2Line(out, tree, nodes, 0, PositionOfNode(tree, record, parent),
                  record.StartIndex + depth,
                  parent > RecordTree::kRoot ? DestinationOf(tree.Node(parent).Move) : 0);
    const RecordNode& last = tree.Node(nodes.back());
    if (last.Result >= 0) {
      const int index = record.StartIndex + depth + static_cast<int>(nodes.size());
      out += SideOfPly(index) == kFirst ? Notation().sente_mark : Notation().gote_mark;
      out += Cp932(EndWord(last.Result));
      out += "\r\n";
    }
  }
  return out;
}

int ReadKi2(ByteStream& stream, bool utf8_by_name, GameRecord& record, RecordTree& tree,
            std::string& message) {
  Cp932TextStream text(stream, utf8_by_name);
  LineReader lines(text, kKi2LineBytes, LineEnd::kLineFeed);
  return ReadKi2Lines(lines, record, tree, message);
}

int ReadKi2(ByteStream& stream, GameRecord& record, std::string& message) {
  RecordTree tree;
  return ReadKi2(stream, false, record, tree, message);
}

int ReadKi2(const std::string& path, GameRecord& record, std::string& message) {
  FileByteStream file;
  if (OpenRecordFile(path, file, message) != 0) return 1;
  RecordTree tree;
  return ReadKi2(file, NameSaysUtf8(path), record, tree, message);
}

}  // namespace shogi
