// The Morita writer and reader.
//
// Layout of the compact board rows that the reader accepts besides the "|" rows (the
// writer never writes them): ":" and then nine cells for files 9 down to 1, each either one
// ASCII character or one two-byte piece letter ("・歩香桂銀金角飛玉と杏圭全金馬龍", "竜"):
//
// | cell                         | square                                  |
// |------------------------------|-----------------------------------------|
// | " " or "." or "・"           | empty                                   |
// | P L N S G B R K              | sente's 歩 香 桂 銀 金 角 飛 玉         |
// | T Q V W H D                  | sente's と 成香 成桂 成銀 馬 龍         |
// | the same letters lower-case  | gote's piece of that type               |
// | a two-byte letter            | sente's piece of that letter            |
#include "records/morita.h"

#include <cstdio>

#include "platform/cp932.h"
#include "records/csa.h"
#include "records/ki2_notation.h"
#include "records/notation.h"
#include "records/record_date.h"
#include "records/record_io.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

// A Morita line holds at most this many bytes.
constexpr std::size_t kMoritaLineBytes = 255;
// The comment keeps at most this many bytes; the tournament and the opening fill their field.
constexpr std::size_t kCommentBytes = 32;
constexpr std::size_t kTextBytes = kNameFieldSize - 1;
// The time of a move follows its 16-byte move text, or two bytes later.
constexpr std::size_t kTimeColumn = 16;
constexpr std::size_t kLateTimeColumn = 18;
// Cumulative times are kept below 100 hours, the most the time column shows.
// ASCII cells of a compact board row by piece type (sente's; gote's are lower-case).
constexpr char kCompactLetters[] = " PLNSGBRKTQVW HD";

struct MoritaTexts {
  std::string title = Cp932("表題：");
  std::string tournament = Cp932("棋戦名：");
  std::string date_labels[3] = {Cp932("対局日："), Cp932("日付："), Cp932("開始日付：")};
  std::string opening = Cp932("戦型名：");
  std::string comment = Cp932("ｺﾒﾝﾄ：");
  std::string sente = Cp932("先手：");
  std::string lower = Cp932("下手：");
  std::string gote = Cp932("後手：");
  std::string upper = Cp932("上手：");
  std::string side_labels[2] = {Cp932("手番："), Cp932("先番：")};
  std::string sente_to_move = Cp932("手番：先手番");
  std::string gote_to_move = Cp932("手番：後手番");
  std::string gote_sides[2] = {Cp932("後手番"), Cp932("上手番")};
  std::string not_flipped = Cp932("反転：OFF");
  std::string sente_hand = Cp932("先手持駒：");
  std::string lower_hand = Cp932("下手持駒：");
  std::string gote_hand = Cp932("後手持駒：");
  std::string resigned = Cp932("投了");
  std::string date_format = Cp932("日付：%d 年 %d 月 %d 日");
  std::string later[4] = {Cp932("*以下先手勝ち"), Cp932("*以下後手勝ち"), Cp932("*以下千日手"),
                          Cp932("*以下持将棋")};
  Kanji middle_dot = KanjiAt(Cp932("・"), 0);
};

const MoritaTexts& MoritaText() {
  static const MoritaTexts texts;
  return texts;
}

void AppendHand(std::string& out, const Position& pos, Side side) {
  const NotationTables& t = Notation();
  for (int type = kPawn; type <= kRook; ++type) {
    const int n = pos.Hand[side][type];
    if (n <= 0) continue;
    out += t.piece_letter[type];
    AppendHandCount(out, n);
  }
  out += kLineEnd;
}

void AppendText(std::string& out, const std::string& label, std::string_view text,
                std::size_t max_bytes) {
  out += label;
  out += CutName(text, max_bytes);
  out += kLineEnd;
}

}  // namespace

std::string FormatMorita(const GameRecord& record, bool store_times) {
  const MoritaTexts& x = MoritaText();
  const NotationTables& t = Notation();
  std::string out;
  AppendText(out, x.title, FieldText(record.Tournament), kTextBytes);
  AppendText(out, x.comment, FieldText(record.Comment), kCommentBytes);
  AppendText(out, x.sente, FieldText(record.FirstName), kTextBytes);
  AppendText(out, x.gote, FieldText(record.SecondName), kTextBytes);
  char line[96];
  std::snprintf(line, sizeof line, x.date_format.c_str(), record.Year, record.Month, record.Day);
  out += line;
  out += kLineEnd;
  out += record.StartIndex == 0 ? x.sente_to_move : x.gote_to_move;
  out += kLineEnd;
  out += x.not_flipped;
  out += kLineEnd;
  out += kLineEnd;
  const Position& pos = record.InitialPosition;
  for (int rank = 1; rank <= 9; ++rank) {
    out += '|';
    for (int file = 9; file >= 1; --file) {
      const int code = pos.Board[SquareOf(file, rank)];
      const int type = TypeOf(code);
      out += code < 0 ? 'v' : ' ';
      out += t.piece_letter[type <= 15 ? type : 0];
    }
    out += kLineEnd;
  }
  out += x.sente_hand;
  AppendHand(out, pos, kFirst);
  out += x.gote_hand;
  AppendHand(out, pos, kSecond);
  out += kLineEnd;

  const int end = record.StartIndex + WritableMoveCount(record);
  for (int i = record.StartIndex; i < end; ++i) {
    std::string text = FormatKi2Move(record, i, (i & 1) ? t.gote_mark : t.sente_mark);
    if (store_times) {
      const long seconds = record.MoveTimes[i] < 0 ? 0 : record.MoveTimes[i];
      std::snprintf(line, sizeof line, "(%02ld:%02ld:%02ld)", seconds / 3600, seconds / 60 % 60,
                    seconds % 60);
      text += line;
    } else {
      text.resize(text.find(' ') == std::string::npos ? text.size() : text.find(' '));
    }
    out += text;
    out += kLineEnd;
  }
  // k is the list index after the last move: odd when sente moved last, so that gote is to
  // move. MAKE says the side to move lost, KINTE that it won.
  const bool k_odd = (end & 1) != 0;
  const char* end_word = "BREAK";
  switch (record.ResultCode) {
    case kResultFirstWins:
      end_word = k_odd ? "MAKE" : "KINTE";
      break;
    case kResultSecondWins:
      end_word = k_odd ? "KINTE" : "MAKE";
      break;
    case kResultRepetition:
      end_word = "SENNITITE";
      break;
    case kResultImpasse:
      end_word = "JISHOUGI";
      break;
    case kResultFirstWinsLater:
    case kResultSecondWinsLater:
    case kResultRepetitionLater:
    case kResultImpasseLater: {
      static constexpr const char* kLaterWords[] = {"BREAK", "MAKE", "SENNITITE", "JISHOUGI"};
      const int later = record.ResultCode - kResultFirstWinsLater;
      out += x.later[later];
      out += kLineEnd;
      end_word = kLaterWords[later];
      break;
    }
    default:
      break;
  }
  out += end_word;
  out += kLineEnd;
  return out;
}

int WriteMorita(const std::string& path, const GameRecord& record, bool store_times,
                std::string& message) {
  return WriteRecordFile(path, FormatMorita(record, store_times), message);
}

namespace {

// The text after `label` when `line` begins with it.
bool AfterLabel(std::string_view line, const std::string& label, std::string_view& rest) {
  if (!StartsWith(line, label)) return false;
  rest = line.substr(label.size());
  return true;
}

template <std::size_t N>
bool AfterAnyLabel(std::string_view line, const std::string (&labels)[N], std::string_view& rest) {
  for (const std::string& label : labels)
    if (AfterLabel(line, label, rest)) return true;
  return false;
}

// A compact board row: ":" and nine cells (see the table at the top).
bool ReadCompactRank(std::string_view line, int rank, Position& pos) {
  std::size_t at = 1;
  for (int file = 9; file >= 1; --file) {
    if (at >= line.size()) return false;
    const unsigned char c = static_cast<unsigned char>(line[at]);
    int code;
    if (IsCp932LeadByte(c)) {
      if (at + 1 >= line.size()) return false;
      const int type = LetterTypeOf(KanjiAt(line, at));
      if (type < 0) return false;
      code = type;
      at += 2;
    } else {
      if (c == ' ' || c == '.') {
        code = 0;
      } else {
        const char upper = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        const char* found =
            upper == ' ' ? nullptr : std::char_traits<char>::find(kCompactLetters, 16, upper);
        if (found == nullptr) return false;
        const int type = static_cast<int>(found - kCompactLetters);
        code = c >= 'a' && c <= 'z' ? -type : type;
      }
      ++at;
    }
    pos.Board[SquareOf(file, rank)] = static_cast<std::int8_t>(code);
  }
  return true;
}

// "(hh:mm:ss)" at byte `at` of `line`: the cumulative seconds, capped; false when absent.
bool ReadMoveTime(std::string_view line, std::size_t at, long& seconds) {
  if (at >= line.size() || line[at] != '(') return false;
  long parts[3] = {0, 0, 0};
  std::size_t i = at + 1;
  for (int p = 0; p < 3; ++p) {
    std::size_t digits = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && digits < 6) {
      parts[p] = parts[p] * 10 + (line[i] - '0');
      ++i;
      ++digits;
    }
    if (digits == 0 || i >= line.size() || line[i] != (p < 2 ? ':' : ')')) return false;
    ++i;
  }
  seconds = parts[0] * 3600 + parts[1] * 60 + parts[2];
  if (seconds > kMaxCumulativeSeconds) seconds = kMaxCumulativeSeconds;
  return true;
}


// A four-character move: destination (file, rank), then the origin with "N" for a
// promotion, or a CSA piece code for a drop. False when it is none.
bool ReadAsciiMove(std::string_view line, MoveCode& m) {
  if (line.size() < 4 || SquareDigit(line[0]) == 0 || SquareDigit(line[1]) == 0) return false;
  const int to = SquareOf(SquareDigit(line[0]), SquareDigit(line[1]));
  if (SquareDigit(line[2]) != 0 && SquareDigit(line[3]) != 0) {
    const bool promote = line.size() > 4 && line[4] == 'N';
    m = EncodeMove(SquareOf(SquareDigit(line[2]), SquareDigit(line[3])), to, promote ? 1 : 0);
    return true;
  }
  const int type = CsaPieceType(line[2], line[3]);
  if (type < kPawn || type > kRook) return false;
  m = EncodeMove(DropOrigin(type), to, 0);
  return true;
}

enum class EndWord { kNone, kMake, kKinte, kBreak, kRepetition, kImpasse };

EndWord EndWordOf(std::string_view line) {
  if (StartsWith(line, "MAKE") || StartsWith(line, MoritaText().resigned)) return EndWord::kMake;
  if (StartsWith(line, "KINTE")) return EndWord::kKinte;
  if (StartsWith(line, "BREAK")) return EndWord::kBreak;
  if (StartsWith(line, "SENNITITE")) return EndWord::kRepetition;
  if (StartsWith(line, "JISHOUGI")) return EndWord::kImpasse;
  return EndWord::kNone;
}

class MoritaReader {
 public:
  explicit MoritaReader(const GameRecord& current) {
    PrepareRecordForReading(current, r_);
    pos_ = r_.InitialPosition;
  }

  // Takes one line; false when the file is malformed.
  bool Take(std::string_view line);
  // Whether the file ends, and whether anything of the format was recognised.
  bool Done() const { return done_; }
  bool Recognised() const { return recognised_; }
  // Whether a board was begun but not finished.
  bool BoardIncomplete() const { return ranks_ > 0 && ranks_ < 9; }
  // Whether a move or an end word was read. Without either, the file gave header lines at
  // most, which a KIF file shares with this format (先手：, a board).
  bool HoldsGame() const { return ended_ || index_ > r_.StartIndex; }
  // The record read, its start position completed when no move came.
  GameRecord& Finish() {
    StartMoves();
    return r_;
  }

 private:
  bool TakeHeader(std::string_view line);
  bool TakeBoardRow(std::string_view line);
  bool TakeMove(std::string_view line);
  void End(EndWord word);
  void StartMoves() {
    if (in_moves_) return;
    in_moves_ = true;
    if (ranks_ == 9) FindKingSquares(r_.InitialPosition);
    pos_ = r_.InitialPosition;
    index_ = r_.StartIndex;
  }

  GameRecord r_;
  Position pos_;  // the position before the next move
  int ranks_ = 0;
  int index_ = 0;
  int previous_ = 0;  // the destination of the last move, for 同
  bool in_moves_ = false;
  bool recognised_ = false;
  bool ended_ = false;
  bool done_ = false;
};

bool MoritaReader::TakeHeader(std::string_view line) {
  const MoritaTexts& x = MoritaText();
  std::string_view rest;
  if (AfterLabel(line, x.title, rest) || AfterLabel(line, x.tournament, rest)) {
    CopyCp932Field(r_.Tournament, CutName(rest, kTextBytes));
  } else if (AfterAnyLabel(line, x.date_labels, rest)) {
    int y, m, d;
    if (ReadJapaneseDate(rest, y, m, d)) {
      r_.Year = y;
      r_.Month = m;
      r_.Day = d;
    }
  } else if (AfterLabel(line, x.opening, rest)) {
    CopyCp932Field(r_.Opening, CutName(rest, kTextBytes));
  } else if (AfterLabel(line, x.comment, rest)) {
    CopyCp932Field(r_.Comment, CutName(rest, kCommentBytes));
  } else if (AfterLabel(line, x.sente, rest) || AfterLabel(line, x.lower, rest)) {
    CopyCp932Field(r_.FirstName, CutName(rest));
  } else if (AfterLabel(line, x.gote, rest) || AfterLabel(line, x.upper, rest)) {
    CopyCp932Field(r_.SecondName, CutName(rest));
  } else if (AfterAnyLabel(line, x.side_labels, rest)) {
    r_.StartIndex = StartsWith(rest, x.gote_sides[0]) || StartsWith(rest, x.gote_sides[1]);
  } else if (AfterLabel(line, x.sente_hand, rest) || AfterLabel(line, x.lower_hand, rest)) {
    ReadHandText(rest, r_.InitialPosition.Hand[kFirst]);
  } else if (AfterLabel(line, x.gote_hand, rest)) {
    ReadHandText(rest, r_.InitialPosition.Hand[kSecond]);
  } else {
    return false;
  }
  return true;
}

bool MoritaReader::TakeBoardRow(std::string_view line) {
  if (ranks_ >= 9) return false;  // a tenth row
  if (ranks_ == 0) {
    for (int s = 1; s <= kSquareCount; ++s) r_.InitialPosition.Board[s] = 0;
  }
  ++ranks_;
  return line[0] == '|' ? ReadDiagramRank(line, ranks_, r_.InitialPosition)
                        : ReadCompactRank(line, ranks_, r_.InitialPosition);
}

void MoritaReader::End(EndWord word) {
  // k, the list index after the last move, is odd when gote is to move; MAKE says the side
  // to move lost. (The parity of the count of moves read would name the wrong winner in a
  // record that gote starts.)
  const bool k_odd = (index_ & 1) != 0;
  switch (word) {
    case EndWord::kMake:
      r_.ResultCode = k_odd ? kResultFirstWins : kResultSecondWins;
      break;
    case EndWord::kKinte:
      r_.ResultCode = k_odd ? kResultSecondWins : kResultFirstWins;
      break;
    case EndWord::kRepetition:
      r_.ResultCode = kResultRepetition;
      break;
    case EndWord::kImpasse:
      r_.ResultCode = kResultImpasse;
      break;
    default:
      r_.ResultCode = kResultNone;
      break;
  }
  done_ = ended_ = true;
}

bool MoritaReader::TakeMove(std::string_view line) {
  const NotationTables& t = Notation();
  const Side side = SideOfPly(index_);
  MoveCode m;
  if (KanjiIs(line, 0, t.sente_mark_code) || KanjiIs(line, 0, t.gote_mark_code) ||
      KanjiIs(line, 0, MoritaText().middle_dot)) {
    std::string_view token = line.substr(2, kTimeColumn - 2);
    const std::size_t cut = token.find_first_of(" (");
    if (cut != std::string_view::npos) token = token.substr(0, cut);
    if (StartsWith(token, MoritaText().resigned)) {
      End(EndWord::kMake);
      return true;
    }
    if (!ParseKi2Move(token, pos_, side, previous_, m)) return false;
  } else {
    if (!ReadAsciiMove(line, m)) return false;
    m = WithoutRedundantMark(pos_, m);
    if (!IsPlayableMove(pos_, side, m)) return false;
    ApplyMove(pos_, m, side);
    previous_ = DestinationOf(m);
  }
  long seconds = 0;
  if (ReadMoveTime(line, kTimeColumn, seconds) || ReadMoveTime(line, kLateTimeColumn, seconds))
    r_.MoveTimes[index_] = static_cast<std::int32_t>(seconds);
  r_.MoveList[index_++] = m;
  if (index_ - r_.StartIndex >= kMoritaMoveLimit) done_ = true;
  return true;
}

bool MoritaReader::Take(std::string_view line) {
  if (line.empty() || line[0] == '*') return true;
  if (const EndWord word = EndWordOf(line); word != EndWord::kNone) {
    StartMoves();
    End(word);
    recognised_ = true;
    return true;
  }
  const NotationTables& t = Notation();
  const bool ki2 = KanjiIs(line, 0, t.sente_mark_code) || KanjiIs(line, 0, t.gote_mark_code) ||
                   KanjiIs(line, 0, MoritaText().middle_dot);
  if (ki2 || (line.size() >= 4 && SquareDigit(line[0]) != 0 && SquareDigit(line[1]) != 0)) {
    StartMoves();
    recognised_ = true;
    return TakeMove(line);
  }
  if (in_moves_) return true;  // other lines between the moves are ignored
  if (line[0] == '|' || line[0] == ':') {
    recognised_ = true;
    return TakeBoardRow(line);
  }
  if (TakeHeader(line)) recognised_ = true;
  return true;
}

}  // namespace

int ReadMorita(ByteStream& stream, GameRecord& record, std::string& message) {
  MoritaReader reader(record);
  LineReader lines(stream, kMoritaLineBytes, LineEnd::kLineFeed);
  std::string_view line;
  while (!reader.Done() && lines.Next(line)) {
    if (!reader.Take(line)) {
      message = kMessageMalformed;
      return 1;
    }
  }
  if (!reader.Recognised() || !reader.HoldsGame() || reader.BoardIncomplete() ||
      (!reader.Done() && lines.Failed())) {
    message = kMessageMalformed;
    return 1;
  }
  GameRecord& r = reader.Finish();
  r.PlyCount = r.StartIndex;
  record = r;
  return 0;
}

int ReadMorita(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadMorita, record, message);
}

}  // namespace shogi
