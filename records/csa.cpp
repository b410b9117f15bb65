// The CSA writer and reader.
#include "records/csa.h"

#include <cstdio>

#include "platform/cp932.h"
#include "records/record_io.h"
#include "records/record_text.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

// Piece codes by type; types 0 and 13 have none.
constexpr const char* kCsaPieces[16] = {"  ", "FU", "KY", "KE", "GI", "KI", "KA", "HI",
                                        "OU", "TO", "NY", "NK", "NG", "  ", "UM", "RY"};
// A CSA line holds at most this many bytes.
constexpr std::size_t kCsaLineBytes = 255;
// Cumulative times are kept below 100 hours, the most the KIF time column shows.

const std::string& HandRefusedMessage() {
  static const std::string text = "持駒の存在する局面は、セーブ出来ません。";
  return text;
}

bool HasPiecesInHand(const Position& pos) {
  for (Side s : {kFirst, kSecond})
    for (int type = kPawn; type <= kRook; ++type)
      if (pos.Hand[s][type] != 0) return true;
  return false;
}

}  // namespace

namespace {

// A comment as CSA comment lines: "'*" and each line.
void AppendCsaComment(std::string& out, const RecordTree& tree, const std::vector<int>& notes,
                      std::size_t k) {
  if (k >= notes.size()) return;
  for (const std::string& line : tree.Node(notes[k]).Comment) {
    out += "'*";
    out += line;
    out += kLineEnd;
  }
}

}  // namespace

int FormatCsa(const GameRecord& record, bool store_times, std::string& out, std::string& message) {
  return FormatCsa(record, RecordTree{}, store_times, out, message);
}

int FormatCsa(const GameRecord& record, const RecordTree& given, bool store_times,
              std::string& out, std::string& message) {
  if (HasPiecesInHand(record.InitialPosition)) {
    message = HandRefusedMessage();
    return 1;
  }
  out.clear();
  out.reserve(512 + 24 * static_cast<std::size_t>(kMaxMoves));
  out += "N+";
  out += CutName(FieldText(record.FirstName), kNameFieldSize);
  out += kLineEnd;
  out += "N-";
  out += CutName(FieldText(record.SecondName), kNameFieldSize);
  out += kLineEnd;
  for (int rank = 1; rank <= 9; ++rank) {
    out += 'P';
    out += static_cast<char>('0' + rank);
    for (int file = 9; file >= 1; --file) {
      const int code = record.InitialPosition.Board[SquareOf(file, rank)];
      const int type = TypeOf(code);
      if (code == 0 || type > 15) {
        out += " * ";
      } else {
        out += code > 0 ? '+' : '-';
        out += CsaPieceCode(type);
      }
    }
    out += kLineEnd;
  }
  out += record.StartIndex == 0 ? "+" : "-";
  out += kLineEnd;

  RecordTree tree = given;
  ConformTree(tree, record);
  const std::vector<int> notes = MainLineNodes(tree, record);
  AppendCsaComment(out, tree, notes, 0);
  const int end = record.StartIndex + WritableMoveCount(record);
  Position pos = record.InitialPosition;
  char line[64];
  for (int i = record.StartIndex; i < end; ++i) {
    const MoveCode m = record.MoveList[i];
    const int to = DestinationOf(m);
    int type;
    int from_file = 0, from_rank = 0;
    if (IsDrop(m)) {
      type = DroppedType(m.from);
    } else {
      type = TypeOf(pos.Board[m.from]);
      if (IsPromotion(m)) type += kPromoteOffset;
      from_file = FileOf(m.from);
      from_rank = RankOf(m.from);
    }
    long spent = 0;
    if (store_times) {
      spent = record.MoveTimes[i];
      if (i - 2 >= record.StartIndex) spent -= record.MoveTimes[i - 2];
    }
    std::snprintf(line, sizeof line, "%c%d%d%d%d%s\r\nT%ld\r\n", (i & 1) ? '-' : '+', from_file,
                  from_rank, FileOf(to), RankOf(to), CsaPieceCode(type), spent);
    out += line;
    AppendCsaComment(out, tree, notes, static_cast<std::size_t>(i - record.StartIndex + 1));
    ApplyMove(pos, m, SideOfPly(i));
  }
  const bool resigned =
      record.ResultCode == kResultFirstWins || record.ResultCode == kResultSecondWins;
  out += resigned ? "%TORYO" : "%CHUDAN";
  out += kLineEnd;
  return 0;
}

int CsaPieceType(char a, char b) {
  switch (a) {
    case 'G':
      return kSilver;
    case 'H':
      return b == 'U' ? kPawn : kRook;
    case 'F':
      return kPawn;
    case 'K':
      return b == 'E' ? kKnight : b == 'I' ? kGold : b == 'Y' ? kLance : kBishop;
    case 'N':
      return b == 'K' ? kPromotedKnight : b == 'Y' ? kPromotedLance : kPromotedSilver;
    case 'O':
      return kKing;
    case 'R':
      return kDragon;
    case 'T':
      return kPromotedPawn;
    case 'U':
      return kHorse;
    default:
      return 0;
  }
}

void ReadCsaBoardRow(std::string_view line, int rank, Position& pos) {
  std::size_t at = 2;
  for (int file = 9; file >= 1; --file) {
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size()) break;
    const char sign = line[at];
    if ((sign == '+' || sign == '-') && at + 2 < line.size()) {
      const int type = CsaPieceType(line[at + 1], line[at + 2]);
      pos.Board[SquareOf(file, rank)] = static_cast<std::int8_t>(sign == '+' ? type : -type);
      at += 3;
    } else if (sign == '*') {
      while (at < line.size() && line[at] == '*') ++at;
    } else {
      ++at;
    }
  }
}

const char* CsaPieceCode(int type) {
  return kCsaPieces[type >= 0 && type <= 15 ? type : 0];
}

int WriteCsa(const std::string& path, const GameRecord& record, bool store_times,
             std::string& message) {
  std::string bytes;
  if (FormatCsa(record, store_times, bytes, message) != 0) return 1;
  return WriteRecordFile(path, bytes, message);
}

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A square written as two digits, file then rank; 0 when either is not 1..9.
int CsaSquare(char file, char rank) {
  if (file < '1' || file > '9' || rank < '1' || rank > '9') return 0;
  return SquareOf(file - '0', rank - '0');
}

}  // namespace

bool ParseCsaMove(std::string_view line, const Position& board, Side side, MoveCode& m) {
  if (line.size() < 7) return false;
  const int code = CsaPieceType(line[5], line[6]);
  const int to = CsaSquare(line[3], line[4]);
  if (to == 0 || code == 0) return false;
  if (line[1] == '0' && line[2] == '0') {
    if (code > kRook) return false;
    m = EncodeMove(DropOrigin(code), to, 0);
  } else {
    // A board move promotes when the piece after it differs from the one on the origin.
    const int from = CsaSquare(line[1], line[2]);
    if (from == 0 || !BelongsTo(board.Board[from], side)) return false;
    const int type = TypeOf(board.Board[from]);
    bool promote = code != type;
    if (promote && !(CanPromote(type) && code == PromotedType(type))) return false;
    m = EncodeMove(from, to, promote ? 1 : 0);
  }
  return IsPlayableMove(board, side, m);
}

// The end statements and what they say about the side to move ("%TIME_UP": it ran out of
// time and lost; "%KACHI": it declared a win). Statements not in the table keep the old
// rule: a second character "T" or "M" is a loss of the side to move, anything else no result.
int CsaEndResult(std::string_view statement, int index) {
  enum Outcome { kMoverLoses, kMoverWins, kFirstWins, kSecondWins, kDraw, kRepetition, kImpasse };
  struct End {
    std::string_view word;
    Outcome outcome;
  };
  static constexpr End kEnds[] = {
      {"%TORYO", kMoverLoses},
      {"%TSUMI", kMoverLoses},
      {"%TIME_UP", kMoverLoses},
      {"%ILLEGAL_MOVE", kMoverLoses},
      {"%+ILLEGAL_ACTION", kSecondWins},
      {"%-ILLEGAL_ACTION", kFirstWins},
      {"%KACHI", kMoverWins},
      {"%SENNICHITE", kRepetition},
      {"%JISHOGI", kImpasse},
      {"%HIKIWAKE", kDraw},
      {"%MAX_MOVES", kDraw},
      {"%CHUDAN", kDraw},
      {"%FUZUMI", kDraw},
  };
  // A statement cut short by a fixed field of at least this many bytes still names its word.
  constexpr std::size_t kShortestCut = 7;
  const bool first_to_move = SideOfPly(index) == kFirst;
  const int mover_loses = first_to_move ? kResultSecondWins : kResultFirstWins;
  for (const End& end : kEnds) {
    if (!StartsWith(statement, end.word) &&
        !(statement.size() >= kShortestCut && StartsWith(end.word, statement)))
      continue;
    switch (end.outcome) {
      case kMoverLoses:
        return mover_loses;
      case kMoverWins:
        return first_to_move ? kResultFirstWins : kResultSecondWins;
      case kFirstWins:
        return kResultFirstWins;
      case kSecondWins:
        return kResultSecondWins;
      case kDraw:
        return kResultNone;
      case kRepetition:
        return kResultRepetition;
      case kImpasse:
        return kResultImpasse;
    }
  }
  if (statement.size() >= 2 && (statement[1] == 'T' || statement[1] == 'M')) return mover_loses;
  return StartsWith(statement.substr(1), "SENNICHITE") ? kResultRepetition : kResultNone;
}

namespace {

// The seconds of a time "T<digits>" at the front of `text`, capped.
long ReadSeconds(std::string_view text) {
  long seconds = 0;
  for (std::size_t i = 1; i < text.size() && IsDigit(text[i]); ++i) {
    seconds = seconds * 10 + (text[i] - '0');
    if (seconds > kMaxCumulativeSeconds) return kMaxCumulativeSeconds;
  }
  return seconds;
}

// The reader's state across the lines of one file.
class CsaReader {
 public:
  explicit CsaReader(const GameRecord& current) { PrepareRecordForReading(current, r_); }

  // Takes one non-empty line. False when the file is malformed.
  bool Take(std::string_view line);
  // A comment line ("'" and its text) after the statements read so far.
  void TakeComment(std::string_view line);
  // The comments of the start ([0]) and of each move read, in `tree`.
  void NoteComments(const GameRecord& record, RecordTree& tree) const;
  bool Done() const { return done_; }
  // Whether the moves section was reached, which makes the read a success.
  bool InMoves() const { return in_moves_; }
  // Whether an end statement closed the record, which only a CSA file has.
  bool Marked() const { return ended_; }
  GameRecord& Record() { return r_; }

 private:
  void ReadRow(std::string_view line);
  bool ReadRemovedPieces(std::string_view line);
  bool ReadPlacedPieces(std::string_view line);
  bool TakeEndLine(std::string_view line);
  void TakeHeaderLine(std::string_view line);
  void EndPosition(Side side_to_move);
  bool TakeMove(std::string_view line);
  void SetTime(int index, long seconds);
  void SetResultOfResignation() {
    // The side to move at the end resigned (or was mated).
    r_.ResultCode = (index_ & 1) ? kResultFirstWins : kResultSecondWins;
    done_ = ended_ = true;
  }

  GameRecord r_;
  Position rows_{};      // the board lines read so far
  bool pi_ = false;      // the board came from a "PI" line
  bool placed_ = false;  // "P+" / "P-" lines placed pieces
  int rest_to_ = -1;     // the side that "00AL" gives every piece not placed, -1 for none
  Position board_{};     // the reader's own copy of the board, moved along with the moves
  int row_count_ = 0;
  bool in_moves_ = false;
  bool times_off_ = false;
  bool done_ = false;
  bool ended_ = false;  // an end statement was read
  int index_ = 0;       // the list index of the next move
  int moves_ = 0;
  std::vector<std::vector<std::string>> comments_;  // by the number of moves read before them
};

void CsaReader::TakeComment(std::string_view line) {
  // "'*" begins the comments other programs write, "'**" their engines' output, kept with
  // its "*"; before the first move only these belong to the game, the rest are remarks
  // about the file (its encoding, the program that wrote it).
  const bool marked = line.size() >= 2 && line[1] == '*';
  if (moves_ == 0 && !marked) return;
  const std::size_t slot = static_cast<std::size_t>(moves_);
  if (comments_.size() <= slot) comments_.resize(slot + 1);
  comments_[slot].emplace_back(line.substr(marked ? 2 : 1));
}

void CsaReader::NoteComments(const GameRecord& record, RecordTree& tree) const {
  tree.Clear();
  if (comments_.empty()) return;
  tree.StartFrom(record);
  const std::vector<int> nodes = MainLineNodes(tree, record);
  for (std::size_t k = 0; k < comments_.size() && k < nodes.size(); ++k)
    tree.Node(nodes[k]).Comment = comments_[k];
  if (!tree.HasNotes()) tree.Clear();
}

void CsaReader::ReadRow(std::string_view line) {
  if (row_count_ >= 9) return;
  ReadCsaBoardRow(line, ++row_count_, rows_);
}

void CsaReader::EndPosition(Side side_to_move) {
  if (row_count_ == 0 && !pi_ && !placed_) {
    r_.InitialPosition = kInitialPosition;
  } else {
    if (rest_to_ >= 0) {
      // "00AL": every piece of the set that is neither on the board nor in a hand.
      static constexpr int kSet[8] = {0, 18, 4, 4, 4, 4, 2, 2};
      int left[8];
      for (int type = kPawn; type <= kRook; ++type)
        left[type] = kSet[type] - rows_.Hand[kFirst][type] - rows_.Hand[kSecond][type];
      for (Square s = 1; s <= 81; ++s) {
        const int type = TypeOf(rows_.Board[s]);
        if (type != 0 && type != kKing) --left[type > kKing ? type - kPromoteOffset : type];
      }
      for (int type = kPawn; type <= kRook; ++type)
        if (left[type] > 0) rows_.Hand[rest_to_][type] = static_cast<std::int8_t>(left[type]);
    }
    r_.InitialPosition = rows_;
    FindKingSquares(r_.InitialPosition);
  }
  board_ = r_.InitialPosition;
  r_.StartIndex = side_to_move;
  index_ = side_to_move;
  in_moves_ = true;
}

void CsaReader::SetTime(int index, long seconds) {
  if (times_off_) return;
  long cumulative = seconds;
  if (index - 2 >= r_.StartIndex) cumulative += r_.MoveTimes[index - 2];
  if (cumulative > kMaxCumulativeSeconds) cumulative = kMaxCumulativeSeconds;
  r_.MoveTimes[index] = static_cast<std::int32_t>(cumulative);
}

// A move statement: sign, four digits and a piece code (a time after a comma comes as a
// statement of its own).
bool CsaReader::TakeMove(std::string_view line) {
  const Side side = line[0] == '+' ? kFirst : kSecond;
  if (!in_moves_) EndPosition(side);
  if (line.compare(1, 4, "0000") == 0) {
    SetResultOfResignation();
    return true;
  }
  if (moves_ == 0) {
    // The first move's sign decides who starts, whatever the side line said.
    r_.StartIndex = index_ = side;
  } else if (SideOfPly(index_) != side) {
    // Two moves of one side in a row would leave an empty slot that ends the record there.
    return false;
  }
  MoveCode m;
  if (!ParseCsaMove(line, board_, side, m)) return false;
  r_.MoveList[index_] = m;
  ApplyMove(board_, m, side);
  SetTime(index_, 0);  // a move without a time statement took no time
  ++index_;
  ++moves_;
  if (moves_ >= kCsaMoveLimit) done_ = true;  // stops with no result
  return true;
}

bool CsaReader::Take(std::string_view line) {
  const char c = line[0];
  if (c == 'N' && line.size() >= 2 && (line[1] == '+' || line[1] == '-')) {
    std::string_view name = CutName(line.substr(2));
    // Gekisashi writes its own name in EUC-JP (激指 is B7 E3 BB D8 there).
    if (name == "\xB7\xE3\xBB\xD8") {
      static const std::string gekisashi = Cp932("激指");
      name = gekisashi;
    }
    CopyCp932Field(line[1] == '+' ? r_.FirstName : r_.SecondName, name);
    return true;
  }
  if (c == 'T') {
    if (moves_ == 0) {
      times_off_ = true;  // a time before the first move: the file's times are not trusted
    } else {
      SetTime(index_ - 1, ReadSeconds(line));
    }
    return true;
  }
  if (c == '%') return TakeEndLine(line);
  if (c == '/') {
    done_ = true;  // a file of several records: the first one is read
    return true;
  }
  if (c == '$') {
    TakeHeaderLine(line);
    return true;
  }
  if (c == '+' || c == '-') {
    const bool move_like = line.size() >= 5 && IsDigit(line[1]) && IsDigit(line[2]) &&
                           IsDigit(line[3]) && IsDigit(line[4]);
    if (move_like) return TakeMove(line);
    if (!in_moves_) EndPosition(c == '+' ? kFirst : kSecond);
    return true;
  }
  if (c == 'P' && !in_moves_ && line.size() >= 2) {
    if (line[1] == 'I') return ReadRemovedPieces(line);
    if (line[1] == '+' || line[1] == '-') return ReadPlacedPieces(line);
    if (line[1] < '1' || line[1] > '9') return true;
    ReadRow(line);
  }
  return true;
}

// The exact piece type of a two-letter code ("FU" .. "RY"), 0 for anything else.
int ExactPieceType(std::string_view code) {
  for (int type = kPawn; type <= kDragon; ++type)
    if (code == kCsaPieces[type] && type != 13) return type;
  return 0;
}

// "PI" and the pieces taken from the even position, each as square and code ("PI82HI22KA":
// the rook and the bishop of the second player). A piece that is not on its square is
// refused.
bool CsaReader::ReadRemovedPieces(std::string_view line) {
  rows_ = kInitialPosition;
  pi_ = true;
  for (std::size_t at = 2; at < line.size(); at += 4) {
    if (at + 4 > line.size()) return false;
    const int square = CsaSquare(line[at], line[at + 1]);
    const int type = ExactPieceType(line.substr(at + 2, 2));
    if (square == 0 || type == 0 || TypeOf(rows_.Board[square]) != type) return false;
    rows_.Board[square] = 0;
  }
  return true;
}

// "P+" or "P-" and pieces of that side, each as square and code: a square "00" puts an
// unpromoted piece in the hand, and "00AL" gives the side every piece not placed elsewhere.
bool CsaReader::ReadPlacedPieces(std::string_view line) {
  const Side side = line[1] == '+' ? kFirst : kSecond;
  placed_ = true;
  for (std::size_t at = 2; at < line.size(); at += 4) {
    if (at + 4 > line.size()) return false;
    const std::string_view code = line.substr(at + 2, 2);
    if (line.compare(at, 2, "00") == 0) {
      if (code == "AL") {
        rest_to_ = side;
        continue;
      }
      const int type = ExactPieceType(code);
      if (type < kPawn || type > kRook || rows_.Hand[side][type] >= 18) return false;
      ++rows_.Hand[side][type];
      continue;
    }
    const int square = CsaSquare(line[at], line[at + 1]);
    const int type = ExactPieceType(code);
    if (square == 0 || type == 0) return false;
    rows_.Board[square] = static_cast<std::int8_t>(side == kFirst ? type : -type);
  }
  return true;
}

bool CsaReader::TakeEndLine(std::string_view line) {
  done_ = true;  // the record ends here; before the moves section the read fails
  if (!in_moves_) return true;
  ended_ = true;
  r_.ResultCode = CsaEndResult(line, index_);
  return true;
}

// The "$" lines that have a field in the record: the tournament, the date, the opening.
void CsaReader::TakeHeaderLine(std::string_view line) {
  const auto value = [&](std::string_view key) {
    return CutName(line.substr(key.size()), kNameFieldSize - 1);
  };
  if (StartsWith(line, "$EVENT:")) {
    CopyCp932Field(r_.Tournament, value("$EVENT:"));
  } else if (StartsWith(line, "$OPENING:")) {
    CopyCp932Field(r_.Opening, value("$OPENING:"));
  } else if (StartsWith(line, "$START_TIME:")) {
    ReadSlashDate(line.substr(12), r_);
  }
}

int ReadCsaLines(LineReader& lines, GameRecord& record, RecordTree& tree, std::string& message) {
  CsaReader reader(record);
  std::string_view line;
  while (!reader.Done() && lines.Next(line)) {
    // "'" lines are comments (the encoding line among them); any other line may hold several
    // statements separated by commas.
    if (line.empty()) continue;
    if (line[0] == '\'') {
      reader.TakeComment(line);
      continue;
    }
    // A line of statements cut at the limit may end in half a move or a time.
    if (lines.Cut() && (line[0] == '+' || line[0] == '-' || line[0] == 'T' ||
                        line.find(',') != std::string_view::npos)) {
      message = kMessageMalformed;
      return 1;
    }
    for (std::size_t begin = 0; begin <= line.size() && !reader.Done();) {
      std::size_t end = line.find(',', begin);
      if (end == std::string_view::npos) end = line.size();
      const std::string_view statement = line.substr(begin, end - begin);
      if (!statement.empty() && !reader.Take(statement)) {
        message = kMessageMalformed;
        return 1;
      }
      begin = end + 1;
    }
  }
  // The comments right after the end statement (and its time) are the last move's.
  while (reader.Marked() && lines.Next(line)) {
    if (line.empty() || line[0] == 'T') continue;
    if (line[0] != '\'') break;
    reader.TakeComment(line);
  }
  if (FinishStatementRead(reader, lines, record, message) != 0) return 1;
  reader.NoteComments(record, tree);
  return 0;
}

}  // namespace

int ReadCsa(ByteStream& stream, bool /*utf8_by_name*/, GameRecord& record, RecordTree& tree,
            std::string& message) {
  Cp932TextStream text(stream, false);
  LineReader lines(text, kCsaLineBytes, LineEnd::kCarriageReturnOrLineFeed);
  return ReadCsaLines(lines, record, tree, message);
}

int ReadCsa(ByteStream& stream, GameRecord& record, std::string& message) {
  RecordTree tree;
  return ReadCsa(stream, false, record, tree, message);
}

int ReadCsaUrl(ByteStream& stream, bool /*utf8_by_name*/, GameRecord& record, RecordTree& tree,
               std::string& message) {
  Cp932TextStream text(stream, false);
  LineReader lines(text, kCsaLineBytes, LineEnd::kLineFeed);
  return ReadCsaLines(lines, record, tree, message);
}

int ReadCsaUrl(ByteStream& stream, GameRecord& record, std::string& message) {
  RecordTree tree;
  return ReadCsaUrl(stream, false, record, tree, message);
}

int ReadCsa(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadCsa, record, message);
}

}  // namespace shogi
