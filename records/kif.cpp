// The KIF writer and the KIF reader (a line-by-line state machine over fixed byte columns).
#include "records/kif.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/cp932.h"
#include "records/kakinoki_header.h"
#include "records/kakinoki_variations.h"
#include "records/notation.h"
#include "records/record_io.h"
#include "records/record_text.h"
#include "rules/handicap.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

// The 手合割 index of a position that is no handicap of the table: "その他", a diagram follows.
constexpr int kOtherHandicap = 8;
constexpr int kHandicapLines = kOtherHandicap + 1;
// Each name after "手合割：" is padded with full-width spaces to this many bytes; a reader
// compares only the bytes of the name itself.
constexpr std::size_t kHandicapNameBytes = 8;

// The texts of the format, in cp932.
struct KifTexts {
  std::string first_line = Cp932("## Kaelmo(Windows) Ver1.31 棋譜ファイル (柿木将棋互換)");
  std::string handicap_label = Cp932("手合割：");
  // By 手合割 index: the names of the handicap table, then "その他".
  std::string handicap_name[kHandicapLines];
  std::string gote_hand = Cp932("後手の持駒：");
  std::string sente_hand = Cp932("先手の持駒：");
  std::string file_labels = Cp932("  ９ ８ ７ ６ ５ ４ ３ ２ １");
  std::string border = "+---------------------------+";
  std::string empty_hand = Cp932("なし");
  std::string wide_space = Cp932("　");
  std::string gote_to_move = Cp932("後手番");
  std::string sente_label = Cp932("先手：");
  std::string gote_label = Cp932("後手：");
  std::string lower_label = Cp932("下手：");  // the first player of a handicap game
  std::string upper_label = Cp932("上手：");
  std::string moves_header = Cp932("手数----指手---------消費時間--");
  std::string moves_start = Cp932("手数-");
  std::string sente_wins = Cp932("手で先手の勝ち");
  std::string gote_wins = Cp932("手で後手の勝ち");
  // End lines, padded like a move column.
  std::string resigned_column = Cp932("投了         ");
  std::string repetition_column = Cp932("千日手       ");
  std::string impasse_column = Cp932("持将棋       ");
  std::string suspended_column = Cp932("中断         ");
};

KifTexts MakeTexts() {
  KifTexts x;
  for (int i = 0; i < kOtherHandicap; ++i) {
    const std::optional<Handicap> h = HandicapOfNumber(HandicapScheme::kKif, i);
    x.handicap_name[i] = Cp932(HandicapRowOf(*h).RecordName);
  }
  x.handicap_name[kOtherHandicap] = Cp932("その他");
  return x;
}

const KifTexts& KifText() {
  static const KifTexts texts = MakeTexts();
  return texts;
}


// The 手合割 index of a record. A record the first player starts can only be the even
// game; one the second player starts is looked up among the handicaps and, failing those,
// is an even game with the second player to move (written with "後手番").
int HandicapIndexOf(const GameRecord& record) {
  if (const std::optional<Handicap> h =
          MatchHandicap(record.InitialPosition, record.StartIndex, HandicapScheme::kKif)) {
    return HandicapNumber(*h, HandicapScheme::kKif);
  }
  return record.InitialPosition == kInitialPosition ? 0 : kOtherHandicap;
}

void AppendHand(std::string& out, const Position& pos, Side side) {
  const KifTexts& x = KifText();
  const NotationTables& t = Notation();
  bool any = false;
  for (int type = kRook; type >= kPawn; --type) {
    int n = pos.Hand[side][type];
    if (n <= 0) continue;
    any = true;
    out += t.piece_letter[type];
    AppendHandCount(out, n);
    out += x.wide_space;
  }
  if (!any) out += x.empty_hand;
  out += kLineEnd;
}

void AppendDiagram(std::string& out, const Position& pos) {
  const KifTexts& x = KifText();
  const NotationTables& t = Notation();
  out += x.gote_hand;
  AppendHand(out, pos, kSecond);
  out += x.file_labels;
  out += kLineEnd;
  out += x.border;
  out += kLineEnd;
  for (int rank = 1; rank <= 9; ++rank) {
    out += '|';
    for (int file = 9; file >= 1; --file) {
      int code = pos.Board[SquareOf(file, rank)];
      int type = TypeOf(code);
      out += code < 0 ? 'v' : ' ';
      out += t.piece_letter[type <= 15 ? type : 0];
    }
    out += '|';
    out += t.rank_numeral[rank];
    out += kLineEnd;
  }
  out += x.border;
  out += kLineEnd;
  out += x.sente_hand;
  AppendHand(out, pos, kFirst);
}

void AppendTime(std::string& out, int spent, int cumulative) {
  if (spent < 0) spent = 0;
  if (cumulative < 0) cumulative = 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "(%2d:%02d/%02d:%02d:%02d)", spent / 60, spent % 60,
                cumulative / 3600, cumulative / 60 % 60, cumulative % 60);
  out += buffer;
}

void AppendNumber(std::string& out, const char* format, int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, n);
  out += buffer;
}

}  // namespace

std::string FormatKifHeader(const GameRecord& record) {
  const KifTexts& x = KifText();
  const int handicap = HandicapIndexOf(record);
  std::string out;
  out += x.first_line;
  out += kLineEnd;
  out += x.handicap_label;
  out += x.handicap_name[handicap];
  for (std::size_t n = x.handicap_name[handicap].size(); n < kHandicapNameBytes; n += 2)
    out += x.wide_space;
  out += kLineEnd;
  if (handicap == kOtherHandicap) AppendDiagram(out, record.InitialPosition);
  if ((handicap == 0 || handicap == kOtherHandicap) && record.StartIndex == 1) {
    out += x.gote_to_move;
    out += kLineEnd;
  }
  const bool lower_upper = handicap >= 1 && handicap <= 7;
  out += lower_upper ? x.lower_label : x.sente_label;
  out += CutName(FieldText(record.FirstName), kNameFieldSize);
  out += kLineEnd;
  out += lower_upper ? x.upper_label : x.gote_label;
  out += CutName(FieldText(record.SecondName), kNameFieldSize);
  out += kLineEnd;
  return out;
}

namespace {

// The column of an end line by the ResultCode that ended the line: 投了 for a win, 千日手,
// 持将棋, and 中断 for everything else.
const std::string& EndColumn(int result) {
  const KifTexts& x = KifText();
  switch (result) {
    case kResultFirstWins:
    case kResultSecondWins:
      return x.resigned_column;
    case kResultRepetition:
      return x.repetition_column;
    case kResultImpasse:
    case kResultImpasseLater:
      return x.impasse_column;
    default:
      return x.suspended_column;
  }
}

// One move line: number, move column, time (zeros without `store_times`), and the "+" that
// tells other programs a variation branches off here.
void AppendMoveLine(std::string& out, int number, MoveCode m, const Position& before, int previous,
                    const int* times, bool branches) {
  AppendNumber(out, "%4d ", number);
  out += FormatKifMove(m, before, previous);
  if (times != nullptr) {
    AppendTime(out, times[0] - times[1], times[0]);
  } else {
    out += "( 0:00/00:00:00)";
  }
  if (branches) out += '+';
  out += kLineEnd;
}

// Whether a block of another move in place of `id` follows in the file: "+" on its line.
bool HasLaterAlternative(const RecordTree& tree, int id) {
  const std::vector<int>& siblings = tree.Node(tree.Node(id).Parent).Next;
  return siblings.back() != id;
}

// The variation blocks: each line of the tree after the main one, with the move numbers of
// its moves, their comments and the word that ended it.
void AppendVariations(std::string& out, const GameRecord& record, const RecordTree& tree,
                      bool store_times) {
  const std::vector<TreeLine> lines = TreeLines(tree);
  for (std::size_t l = 1; l < lines.size(); ++l) {
    const std::vector<int>& nodes = lines[l].Nodes;
    const int parent = tree.Node(nodes.front()).Parent;
    int depth = tree.Depth(parent);
    Position pos = PositionOfNode(tree, record, parent);
    int previous = parent > RecordTree::kRoot ? DestinationOf(tree.Node(parent).Move) : 0;
    out += kLineEnd;
    out += KakinokiBlockLine(depth + 1);
    for (std::size_t k = 0; k < nodes.size(); ++k) {
      const RecordNode& node = tree.Node(nodes[k]);
      const int index = record.StartIndex + depth;
      if (!IsWellFormedMove(node.Move) || index + 1 >= kMaxMoves) break;
      // The same side's previous clock is the one two moves up, none for a side's first move.
      const int times[2] = {node.Time,
                            depth >= 2 ? tree.Node(tree.Node(node.Parent).Parent).Time : 0};
      AppendMoveLine(out, depth + 1, node.Move, pos, previous, store_times ? times : nullptr,
                     HasLaterAlternative(tree, nodes[k]));
      AppendKakinokiComment(out, node.Comment);
      ApplyMove(pos, node.Move, SideOfPly(index));
      previous = DestinationOf(node.Move);
      ++depth;
      if (k + 1 == nodes.size() && node.Result >= 0) {
        AppendNumber(out, "%4d ", depth + 1);
        out += EndColumn(node.Result);
        AppendTime(out, 0, 0);
        out += kLineEnd;
      }
    }
  }
}

}  // namespace

std::string FormatKif(const GameRecord& record, const RecordTree& given, bool store_times) {
  const KifTexts& x = KifText();
  RecordTree tree = given;
  ConformTree(tree, record);
  std::string out = FormatKifHeader(record);
  out.reserve(1024 + 40 * static_cast<std::size_t>(kMaxMoves));
  out += x.moves_header;
  out += kLineEnd;

  const std::vector<int> notes = MainLineNodes(tree, record);
  const auto note = [&](int k) -> const RecordNode* {
    return k < static_cast<int>(notes.size()) ? &tree.Node(notes[static_cast<std::size_t>(k)])
                                              : nullptr;
  };
  if (const RecordNode* root = note(0)) AppendKakinokiComment(out, root->Comment);
  const int count = WritableMoveCount(record);
  const int end = record.StartIndex + count;
  Position pos = record.InitialPosition;
  int previous = 0;
  for (int i = record.StartIndex; i < end; ++i) {
    const MoveCode m = record.MoveList[i];
    const int k = i - record.StartIndex + 1;
    const int times[2] = {record.MoveTimes[i],
                          i - 2 >= record.StartIndex ? record.MoveTimes[i - 2] : 0};
    AppendMoveLine(
        out, k, m, pos, previous, store_times ? times : nullptr,
        note(k) != nullptr && HasLaterAlternative(tree, notes[static_cast<std::size_t>(k)]));
    if (const RecordNode* after = note(k)) AppendKakinokiComment(out, after->Comment);
    ApplyMove(pos, m, SideOfPly(i));
    previous = DestinationOf(m);
  }

  // The end line carries the clock of the side to move, kept at the end marker's index.
  const int end_time = store_times && end < kMaxMoves ? record.MoveTimes[end] : 0;
  const bool has_end_line =
      record.ResultCode == kResultFirstWins || record.ResultCode == kResultSecondWins ||
      record.ResultCode == kResultRepetition || record.ResultCode == kResultImpasse ||
      record.ResultCode == kResultImpasseLater || count > 0;
  if (has_end_line) {
    AppendNumber(out, "%4d ", count + 1);
    out += EndColumn(record.ResultCode);
    AppendTime(out, 0, end_time);
    if (!notes.empty() && !tree.Node(notes.back()).Next.empty()) out += '+';
    out += kLineEnd;
  }
  out += kLineEnd;
  if (record.ResultCode == kResultFirstWins || record.ResultCode == kResultSecondWins) {
    AppendNumber(out, "%3d", count);
    // The winner is the side that made the last move: the other one resigned.
    out += ((end - 1) & 1) == 0 ? x.sente_wins : x.gote_wins;
    out += kLineEnd;
  }
  if (!notes.empty()) AppendVariations(out, record, tree, store_times);
  return out;
}

std::string FormatKif(const GameRecord& record, bool store_times) {
  return FormatKif(record, RecordTree{}, store_times);
}

int WriteKif(const std::string& path, const GameRecord& record, bool store_times,
             std::string& message) {
  return WriteRecordFile(path, FormatKif(record, store_times), message);
}

namespace {

// Where KIF lines come from: a file skips comment lines beginning with "*" and lines
// beginning with "&"; a URL download skips only the "*" lines.
enum class KifSource { kFile, kUrl };

// A KIF line holds at most this many bytes; the rest of a longer one comes as the next line.
constexpr std::size_t kKifLineBytes = 2047;

bool Digits2(std::string_view line, std::size_t at, int& value) {
  char a = line[at], b = line[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return false;
  value = (a - '0') * 10 + (b - '0');
  return true;
}

// The cumulative time of a move line "(m:ss/hh:mm:ss)", taken only when every separator
// stands in its column: "/" at byte 24, ":" at 27 and 30, ")" at 33. A minutes field wider
// than two digits (a move of 100 minutes or more) shifts the columns after it; that shift
// is followed so that the time of a long think is not lost.
bool ReadKifTime(std::string_view line, int& seconds) {
  for (std::size_t shift = 0; shift <= 3; ++shift) {
    if (shift > 0) {
      if (line.size() < 22 + shift || line[18] != '(' || line[21 + shift] != ':') return false;
      for (std::size_t i = 19; i < 21 + shift; ++i)
        if (line[i] < '0' || line[i] > '9') return false;
    }
    if (line.size() < 34 + shift) return false;
    if (line[24 + shift] != '/' || line[27 + shift] != ':' || line[30 + shift] != ':' ||
        line[33 + shift] != ')')
      continue;
    int h, m, s;
    if (!Digits2(line, 25 + shift, h) || !Digits2(line, 28 + shift, m) ||
        !Digits2(line, 31 + shift, s))
      return false;
    seconds = h * 3600 + m * 60 + s;
    return true;
  }
  return false;
}

// A move line as other programs write it, rebuilt into our layout: the number right-aligned
// in four columns and a space, the move column with "同" followed by its full-width space and
// without "不成" (no promotion is the default), padded to 13 bytes, then the rest of the line
// from its first non-space byte. A line already in our layout is kept as it is, so that its
// time is read by the columns alone.
std::string_view NormalizeMoveLine(std::string_view line, std::string& rebuilt) {
  const NotationTables& t = Notation();
  std::size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  const std::size_t digits_begin = i;
  int number = 0;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9' && i - digits_begin < 6)
    number = number * 10 + (line[i++] - '0');
  if (i == digits_begin || i >= line.size() || line[i] != ' ') return line;
  const bool number_in_place = i == 4;
  while (i < line.size() && line[i] == ' ') ++i;
  std::size_t token_end = i;
  while (token_end < line.size() && line[token_end] != ' ' && line[token_end] != '\t')
    token_end += IsCp932LeadByte(static_cast<unsigned char>(line[token_end])) ? 2 : 1;
  token_end = std::min(token_end, line.size());
  std::string token(line.substr(i, token_end - i));
  bool changed = !number_in_place || i != 5 || token.size() > kKifMoveColumnWidth;
  if (KanjiIs(token, 0, t.same) && !KanjiIs(token, 2, t.wide_space)) {
    token.insert(2, t.same_square.substr(2));
    changed = true;
  }
  for (std::size_t k = 0; k + 3 < token.size();
       k += IsCp932LeadByte(static_cast<unsigned char>(token[k])) ? 2 : 1) {
    if (token.compare(k, t.no_promote.size(), t.no_promote) == 0) {
      token.erase(k, t.no_promote.size());
      changed = true;
      break;
    }
  }
  if (!changed) return line;
  std::size_t rest = token_end;
  while (rest < line.size() && (line[rest] == ' ' || line[rest] == '\t')) ++rest;
  char head[16];
  std::snprintf(head, sizeof head, "%4d ", number % 10000);
  rebuilt = head;
  rebuilt += token;
  if (rest < line.size()) {
    if (token.size() < kKifMoveColumnWidth) rebuilt.append(kKifMoveColumnWidth - token.size(), ' ');
    rebuilt += line.substr(rest);
  }
  return rebuilt;
}

// Whether a move line in our layout holds a word where the move would be: a move number
// (four columns of spaces and digits, then a space), then a word (BeginsEndWordText).
bool IsEndWordLine(std::string_view line) {
  if (line.size() < 7 || line[4] != ' ' || line[3] < '0' || line[3] > '9') return false;
  for (std::size_t i = 0; i < 3; ++i)
    if (line[i] != ' ' && (line[i] < '0' || line[i] > '9')) return false;
  return BeginsEndWordText(line, 5);
}

// Whether the first line of a text can begin a KIF file: a "#" line, a header line or the
// head of the move list.
bool IsKifFirstLine(std::string_view line, KakinokiHeader& header, bool& malformed) {
  if (line.empty()) return false;
  return line[0] == '#' || StartsWith(line, KifText().moves_start) || header.Take(line, malformed);
}

// Where the moves being read stand: the position before the next one, its list index and
// the destination of the move before it.
struct MoveCursor {
  Position pos;
  int index = 0;
  int previous = 0;
};

// What a move line gave.
enum class LineKind {
  kMove,       // `move`, with the time when the line has one
  kEnd,        // an end word: `result`, with the time (the clock of the side to move)
  kWord,       // a word that is no move and no end word we know: the line ends as it stands
  kShort,      // too short to be a move line: skipped
  kMalformed,  // a move that cannot be read or played
};

LineKind ReadMoveLine(std::string_view line, std::string& rebuilt, const MoveCursor& at,
                      MoveCode& move, int& result, int& seconds) {
  seconds = 0;
  line = NormalizeMoveLine(line, rebuilt);
  if (line.size() < 6) return LineKind::kShort;
  result = EndWordResult(line.substr(5), at.index);
  if (result >= 0) {
    if (!ReadKifTime(line, seconds)) seconds = -1;
    return LineKind::kEnd;
  }
  if (!ParseKifMove(line, at.previous, move)) {
    // A word on the last move line that is no move at all (one we do not know) ends the
    // line as it stands, with no result; a move we cannot read is damage.
    return IsEndWordLine(line) ? LineKind::kWord : LineKind::kMalformed;
  }
  move = WithoutRedundantMark(at.pos, move);
  if (!IsPlayableMove(at.pos, SideOfPly(at.index), move)) return LineKind::kMalformed;
  if (!ReadKifTime(line, seconds)) seconds = 0;
  return LineKind::kMove;
}

int ReadKifLines(LineReader& lines, KifSource source, GameRecord& record, RecordTree& tree,
                 std::string& message) {
  const KifTexts& x = KifText();
  GameRecord r;
  PrepareRecordForReading(record, r);
  KakinokiHeader header(r);
  RecordTree notes_tree;
  KakinokiVariations notes(notes_tree, r, kKifMoveLimit);
  bool first_line = true, in_moves = false, malformed = false;
  bool main_done = false;   // the main line ended; only comments and blocks are read now
  bool blocks = false;      // a variation block was read
  bool line_over = false;   // the line being read ended: its move lines are skipped
  bool word_ended = false;  // a word we do not know stood where the main line's next move would
  bool limit_reached = false;
  MoveCursor at;
  std::string_view line;
  std::string rebuilt;
  while (!malformed && lines.Next(line)) {
    if (first_line) {
      first_line = false;
      if (!IsKifFirstLine(line, header, malformed) || malformed) {
        malformed = true;
        break;
      }
      // Taken as a header, unless it is a comment.
      if (line[0] != '#' && line[0] != '*' && !StartsWith(line, x.moves_start)) continue;
    }
    // A comment belongs to the position before it: the start, before the first move.
    if (!line.empty() && line[0] == '*') {
      notes.AddComment(line.substr(1));
      continue;
    }
    if (!in_moves) {
      if (StartsWith(line, x.moves_start)) {
        if (!header.ReadyForMoves()) {
          malformed = true;
          break;
        }
        at.index = r.StartIndex;
        at.pos = r.InitialPosition;
        in_moves = true;
      } else if (header.Take(line, malformed); malformed) {
        break;
      }
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    if (source == KifSource::kFile && line[0] == '&') continue;
    switch (notes.StartBlock(line)) {
      case KakinokiVariations::Block::kNone:
        break;
      case KakinokiVariations::Block::kStarted:
        at.pos = notes.CurrentPosition();
        at.index = notes.NextIndex();
        at.previous = notes.PreviousDestination();
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
      // The summary and what follows the end; past the move limit, moves we leave out and
      // their comments.
      if (limit_reached) notes.SkipRest();
      continue;
    }
    if (line_over || notes.Current() < 0) continue;
    MoveCode m;
    int result = 0, seconds = 0;
    const LineKind kind = ReadMoveLine(line, rebuilt, at, m, result, seconds);
    if (kind == LineKind::kShort) continue;
    // Only comments and the summary may follow a word that ended the game.
    if (word_ended || kind == LineKind::kMalformed) {
      malformed = true;
      break;
    }
    if (kind == LineKind::kWord || kind == LineKind::kEnd) {
      if (kind == LineKind::kWord) result = kResultNone;
      notes.EndLine(result);
      if (!notes.InMainLine()) {
        line_over = true;
      } else if (kind == LineKind::kWord) {
        word_ended = true;
      } else {
        r.ResultCode = result;
        if (seconds >= 0) r.MoveTimes[at.index] = seconds;
        main_done = true;
      }
      continue;
    }
    if (!notes.AddMove(m, seconds)) {
      malformed = true;
      break;
    }
    ApplyMove(at.pos, m, SideOfPly(at.index));
    if (notes.InMainLine()) {
      r.MoveList[at.index] = m;
      r.MoveTimes[at.index] = seconds;
      if (at.index + 1 - r.StartIndex >= kKifMoveLimit) main_done = limit_reached = true;
    }
    at.previous = DestinationOf(m);
    ++at.index;
  }
  // A record without an end line (or ended by a word we do not know) ends with its text,
  // unless the text broke off; so does one whose variations broke off.
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

}  // namespace

namespace {

int ReadKifText(ByteStream& stream, bool utf8_by_name, KifSource source, GameRecord& record,
                RecordTree& tree, std::string& message) {
  Cp932TextStream text(stream, utf8_by_name);
  LineReader lines(text, kKifLineBytes, LineEnd::kLineFeed);
  return ReadKifLines(lines, source, record, tree, message);
}

}  // namespace

int ReadKif(ByteStream& stream, bool utf8_by_name, GameRecord& record, RecordTree& tree,
            std::string& message) {
  return ReadKifText(stream, utf8_by_name, KifSource::kFile, record, tree, message);
}

int ReadKif(ByteStream& stream, GameRecord& record, std::string& message) {
  RecordTree tree;
  return ReadKifText(stream, false, KifSource::kFile, record, tree, message);
}

int ReadKifUrl(ByteStream& stream, GameRecord& record, std::string& message) {
  RecordTree tree;
  return ReadKifText(stream, false, KifSource::kUrl, record, tree, message);
}

int ReadKifUrl(ByteStream& stream, bool utf8_by_name, GameRecord& record, RecordTree& tree,
               std::string& message) {
  return ReadKifText(stream, utf8_by_name, KifSource::kUrl, record, tree, message);
}

int ReadKif(const std::string& path, GameRecord& record, std::string& message) {
  FileByteStream file;
  if (OpenRecordFile(path, file, message) != 0) return 1;
  RecordTree tree;
  return ReadKifText(file, NameSaysUtf8(path), KifSource::kFile, record, tree, message);
}

}  // namespace shogi
