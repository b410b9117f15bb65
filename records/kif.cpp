// The KIF writer and the KIF reader (a line-by-line state machine over fixed byte columns).
#include "records/kif.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/cp932.h"
#include "records/kakinoki_header.h"
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

const KifTexts& Texts() {
  static const KifTexts texts = MakeTexts();
  return texts;
}

constexpr char kLineEnd[] = "\r\n";

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
  const KifTexts& x = Texts();
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
  const KifTexts& x = Texts();
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

std::string FormatKif(const GameRecord& record, bool store_times) {
  const KifTexts& x = Texts();
  const int handicap = HandicapIndexOf(record);
  std::string out;
  out.reserve(1024 + 40 * static_cast<std::size_t>(kMaxMoves));
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
  out += x.moves_header;
  out += kLineEnd;

  const int count = WritableMoveCount(record);
  const int end = record.StartIndex + count;
  Position pos = record.InitialPosition;
  int previous = 0;
  for (int i = record.StartIndex; i < end; ++i) {
    const MoveCode m = record.MoveList[i];
    AppendNumber(out, "%4d ", i - record.StartIndex + 1);
    out += FormatKifMove(m, pos, previous);
    if (store_times) {
      const int cumulative = record.MoveTimes[i];
      const int before = i - 2 >= record.StartIndex ? record.MoveTimes[i - 2] : 0;
      AppendTime(out, cumulative - before, cumulative);
    } else {
      out += "( 0:00/00:00:00)";
    }
    out += kLineEnd;
    ApplyMove(pos, m, SideOfPly(i));
    previous = DestinationOf(m);
  }

  // The end line carries the clock of the side to move, kept at the end marker's index.
  const int end_time = store_times && end < kMaxMoves ? record.MoveTimes[end] : 0;
  const std::string* column = nullptr;
  switch (record.ResultCode) {
    case kResultFirstWins:
    case kResultSecondWins:
      column = &x.resigned_column;
      break;
    case kResultRepetition:
      column = &x.repetition_column;
      break;
    case kResultImpasse:
    case kResultImpasseLater:
      column = &x.impasse_column;
      break;
    default:
      column = count > 0 ? &x.suspended_column : nullptr;
      break;
  }
  if (column != nullptr) {
    AppendNumber(out, "%4d ", count + 1);
    out += *column;
    AppendTime(out, 0, end_time);
    out += kLineEnd;
  }
  out += kLineEnd;
  if (record.ResultCode == kResultFirstWins || record.ResultCode == kResultSecondWins) {
    AppendNumber(out, "%3d", count);
    // The winner is the side that made the last move: the other one resigned.
    out += ((end - 1) & 1) == 0 ? x.sente_wins : x.gote_wins;
    out += kLineEnd;
  }
  return out;
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
  return line[0] == '#' || StartsWith(line, Texts().moves_start) || header.Take(line, malformed);
}

int ReadKifLines(LineReader& lines, KifSource source, GameRecord& record, std::string& message) {
  const KifTexts& x = Texts();
  GameRecord r;
  PrepareRecordForReading(record, r);
  KakinokiHeader header(r);
  bool first_line = true, in_moves = false, done = false, malformed = false;
  bool word_ended = false;  // a word we do not know stood where the next move would
  Position pos;             // the position before the next move
  int index = 0;
  int previous = 0;
  std::string_view line;
  std::string rebuilt;
  while (!done && lines.Next(line)) {
    if (first_line) {
      first_line = false;
      if (!IsKifFirstLine(line, header, malformed) || malformed) break;
      if (line[0] != '#' && !StartsWith(line, x.moves_start)) continue;  // taken as a header
    }
    if (!in_moves) {
      if (StartsWith(line, x.moves_start)) {
        if (!header.ReadyForMoves()) break;
        index = r.StartIndex;
        pos = r.InitialPosition;
        in_moves = true;
      } else if (header.Take(line, malformed); malformed) {
        break;
      }
      continue;
    }
    if (line.empty() || line[0] == '*' || line[0] == '#') continue;
    if (source == KifSource::kFile && line[0] == '&') continue;
    if (EndsMainLine(line, r.ResultCode)) {
      done = true;
      break;
    }
    line = NormalizeMoveLine(line, rebuilt);
    if (line.size() < 6) continue;
    // Only comments and the summary may follow a word that ended the game.
    if (word_ended) {
      malformed = true;
      break;
    }
    int seconds = 0;
    if (const int result = line.size() > 5 ? EndWordResult(line.substr(5), index) : -1;
        result >= 0) {
      r.ResultCode = result;
      // The end line's time is the clock of the side to move, kept at the end marker.
      if (ReadKifTime(line, seconds)) r.MoveTimes[index] = seconds;
      done = true;
      break;
    }
    MoveCode m;
    if (!ParseKifMove(line, previous, m)) {
      // A word on the last move line that is no move at all (one we do not know) ends the
      // game as it stands, with no result; a move we cannot read is damage.
      if (!IsEndWordLine(line)) {
        malformed = true;
        break;
      }
      word_ended = true;
      continue;
    }
    m = WithoutRedundantMark(pos, m);
    if (!IsPlayableMove(pos, SideOfPly(index), m)) {
      malformed = true;
      break;
    }
    ApplyMove(pos, m, SideOfPly(index));
    r.MoveList[index] = m;
    if (ReadKifTime(line, seconds)) r.MoveTimes[index] = seconds;
    previous = DestinationOf(m);
    ++index;
    if (index - r.StartIndex >= kKifMoveLimit) done = true;
  }
  // A record without an end line (or ended by a word we do not know) ends with its text,
  // unless the text broke off.
  if (in_moves && !malformed && !done) done = !lines.Failed();
  if (!in_moves || malformed || !done) {
    message = kMessageMalformed;
    return 1;
  }
  r.PlyCount = r.StartIndex;
  record = r;
  return 0;
}

}  // namespace

namespace {

int ReadKifText(ByteStream& stream, bool utf8_by_name, KifSource source, GameRecord& record,
                std::string& message) {
  Cp932TextStream text(stream, utf8_by_name);
  LineReader lines(text, kKifLineBytes, LineEnd::kLineFeed);
  return ReadKifLines(lines, source, record, message);
}

}  // namespace

int ReadKif(ByteStream& stream, GameRecord& record, std::string& message) {
  return ReadKifText(stream, false, KifSource::kFile, record, message);
}

int ReadKifUrl(ByteStream& stream, GameRecord& record, std::string& message) {
  return ReadKifText(stream, false, KifSource::kUrl, record, message);
}

int ReadKif(const std::string& path, GameRecord& record, std::string& message) {
  FileByteStream file;
  if (!OpenRecordFile(path, file, message)) return 1;
  return ReadKifText(file, NameSaysUtf8(path), KifSource::kFile, record, message);
}

}  // namespace shogi
