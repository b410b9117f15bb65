// The record a foreign reader builds, and the KIF-like move text.
#include "records/foreign_game.h"

#include "platform/cp932.h"
#include "records/ki2_notation.h"
#include "records/notation.h"
#include "records/record_io.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

// Cumulative times are kept below 100 hours, as every reader keeps them.

long Capped(long seconds) {
  if (seconds < 0) return 0;
  return seconds > kMaxCumulativeSeconds ? kMaxCumulativeSeconds : seconds;
}

}  // namespace

ForeignGame::ForeignGame(const GameRecord& current, int move_limit) : limit_(move_limit) {
  PrepareRecordForReading(current, r_);
  pos_ = r_.InitialPosition;
  index_ = r_.StartIndex;
}

bool ForeignGame::Add(MoveCode m) {
  const Side side = ToMove();
  m = WithoutRedundantMark(pos_, m);
  if (Full() || !IsWellFormedMove(m) || !IsPlayableMove(pos_, side, m)) return false;
  ApplyMove(pos_, m, side);
  previous_ = DestinationOf(m);
  // Until a time is read, the mover's clock stands where its last move left it.
  r_.MoveTimes[index_] = index_ - 2 >= r_.StartIndex ? r_.MoveTimes[index_ - 2] : 0;
  r_.MoveList[index_++] = m;
  return true;
}

bool ForeignGame::AddKi2(std::string_view token) {
  if (Full()) return false;
  MoveCode m;
  Position before = pos_;
  int previous = previous_;
  if (!ParseKi2Move(token, before, ToMove(), previous, m)) return false;
  return Add(m);
}

void ForeignGame::AddSpentSeconds(long seconds) {
  if (MoveCount() == 0) return;
  const int i = index_ - 1;
  long previous = i - 2 >= r_.StartIndex ? r_.MoveTimes[i - 2] : 0;
  r_.MoveTimes[i] = static_cast<std::int32_t>(Capped(previous + Capped(seconds)));
}

void ForeignGame::SetCumulativeSeconds(long seconds) {
  if (MoveCount() == 0) return;
  r_.MoveTimes[index_ - 1] = static_cast<std::int32_t>(Capped(seconds));
}

void ForeignGame::EndByResignation() {
  r_.ResultCode = ToMove() == kSecond ? kResultFirstWins : kResultSecondWins;
}

void ForeignGame::SetName(Side side, std::string_view name) {
  CopyCp932Field(side == kFirst ? r_.FirstName : r_.SecondName, CutName(name));
}

void ForeignGame::TakeNameLine(std::string_view line, std::string_view sente_label,
                               std::string_view gote_label) {
  if (StartsWith(line, sente_label)) SetName(kFirst, line.substr(sente_label.size()));
  if (StartsWith(line, gote_label)) SetName(kSecond, line.substr(gote_label.size()));
}

int ForeignGame::Install(GameRecord& record, std::string& message) {
  if (MoveCount() == 0) {
    message = kMessageMalformed;
    return 1;
  }
  r_.PlyCount = r_.StartIndex;
  record = r_;
  return 0;
}

bool BeginsKifLikeMove(std::string_view line, std::size_t at) {
  const NotationTables& t = Notation();
  return at + 1 < line.size() &&
         (FileDigitValue(KanjiAt(line, at)) != 0 || KanjiAt(line, at) == t.same);
}

bool ReadKifLikeMove(std::string_view line, std::size_t at, const Position& pos, int previous,
                     MoveCode& move, std::size_t origin_at) {
  const NotationTables& t = Notation();
  std::size_t i = at;
  int to;
  if (KanjiIs(line, i, t.same)) {
    i += 2;
    if (KanjiIs(line, i, t.wide_space)) i += 2;
    if (!IsSquare(previous)) return false;
    to = previous;
  } else {
    if (i + 3 >= line.size()) return false;
    const int file = FileDigitValue(KanjiAt(line, i));
    int rank = NumeralValue(KanjiAt(line, i + 2));
    if (rank == 0) rank = FileDigitValue(KanjiAt(line, i + 2));
    if (file == 0 || rank == 0) return false;
    to = SquareOf(file, rank);
    i += 4;
  }
  const bool promoted_name = KanjiIs(line, i, t.promote_code);
  if (promoted_name) i += 2;
  if (i + 1 >= line.size()) return false;
  int type = LetterTypeOf(KanjiAt(line, i));
  if (type <= 0) return false;
  if (promoted_name) {
    if (!CanPromote(type)) return false;
    type = PromotedType(type);
  }
  i += 2;
  bool promote = false;
  if (KanjiIs(line, i, t.drop_code)) {
    if (type > kRook) return false;
    move = EncodeMove(DropOrigin(type), to, 0);
    return true;
  }
  if (KanjiIs(line, i, t.promote_code)) {
    promote = true;
    i += 2;
  } else if (KanjiIs(line, i, t.no_code) && KanjiIs(line, i + 2, t.promote_code)) {
    i += 4;
  }
  if (origin_at != std::string_view::npos) {
    i = origin_at;
  } else {
    while (i < line.size() && line[i] == ' ') ++i;
  }
  if (i + 3 >= line.size() || line[i] != '(' || line[i + 3] != ')') return false;
  const int file = line[i + 1] - '0', rank = line[i + 2] - '0';
  if (file < 1 || file > 9 || rank < 1 || rank > 9) return false;
  const int from = SquareOf(file, rank);
  if (TypeOf(pos.Board[from]) != type) return false;
  move = EncodeMove(from, to, promote ? 1 : 0);
  return true;
}

long ReadClockSeconds(std::string_view text) {
  long total = 0, part = 0;
  bool digits = false;
  for (std::size_t i = 0; i < text.size() && i < 16; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      part = part * 10 + (c - '0');
      digits = true;
    } else if (c == ':' && digits) {
      total = total * 60 + part;
      part = 0;
      digits = false;
    } else {
      break;
    }
  }
  return digits ? total * 60 + part : -1;
}

LineTaken TakeKi2Line(std::string_view line, ForeignGame& game, Kanji gote_mark) {
  static const std::string resigned = Cp932("投了"), mated = Cp932("詰み"),
                           suspended = Cp932("中断");
  // A token runs at most this many bytes past its side mark, as in KI2 files.
  constexpr std::size_t kTokenBytes = 13;
  LineTaken taken = LineTaken::kOther;
  for (std::size_t at = NextKi2Mark(line, 0, gote_mark); at != std::string_view::npos;) {
    const std::size_t next = NextKi2Mark(line, at + 2, gote_mark);
    std::size_t end = next == std::string_view::npos ? line.size() : next;
    if (end > at + 2 + kTokenBytes) end = at + 2 + kTokenBytes;
    const std::string_view text = line.substr(at + 2, end - at - 2);
    if (StartsWith(text, resigned) || StartsWith(text, mated)) {
      game.EndByResignation();
      return LineTaken::kEnd;
    }
    if (StartsWith(text, suspended)) return LineTaken::kEnd;
    if (!game.AddKi2(text)) return LineTaken::kMalformed;
    taken = LineTaken::kMove;
    if (game.Full()) break;
    at = next;
  }
  return taken;
}

bool ReadAllBytes(ByteStream& stream, std::string& bytes, std::size_t max_bytes) {
  bytes.clear();
  char buffer[16384];
  for (;;) {
    const std::size_t n = stream.Read(buffer, sizeof buffer);
    if (n == 0) return !stream.Failed();
    if (n > max_bytes - bytes.size()) return false;
    bytes.append(buffer, n);
  }
}

bool HasAt(std::string_view line, std::size_t at, std::string_view text) {
  return at <= line.size() && StartsWith(line.substr(at), text);
}

int ReadRecordLines(ByteStream& stream, std::size_t preamble_bytes, std::string& preamble,
                    ForeignGame& game, const std::function<LineTaken(std::string_view)>& take,
                    GameRecord& record, std::string& message) {
  preamble.assign(preamble_bytes, '\0');
  std::size_t got = 0;
  while (got < preamble_bytes) {
    const std::size_t n = stream.Read(preamble.data() + got, preamble_bytes - got);
    if (n == 0) break;
    got += n;
  }
  bool recognised = false, done = got < preamble_bytes;
  LineReader lines(stream, 255, LineEnd::kLineFeed);
  std::string_view line;
  while (!done && lines.Next(line)) {
    switch (take(line)) {
      case LineTaken::kOther:
        break;
      case LineTaken::kFormat:
        recognised = true;
        break;
      case LineTaken::kMove:
        // A line cut at the limit may have lost the moves after the cut, or half of one.
        if (lines.Cut()) {
          message = kMessageMalformed;
          return 1;
        }
        recognised = true;
        done = game.Full();
        break;
      case LineTaken::kEnd:
        recognised = done = true;
        break;
      case LineTaken::kMalformed:
        message = kMessageMalformed;
        return 1;
    }
  }
  if (!recognised || (!done && lines.Failed())) {
    message = kMessageMalformed;
    return 1;
  }
  return game.Install(record, message);
}

LineTaken TakeKifLikeLine(std::string_view line, std::size_t at, std::size_t end_at,
                          ForeignGame& game) {
  static const std::string made = Cp932("まで"), resigned = Cp932("投了");
  if (HasAt(line, end_at, made) || HasAt(line, end_at, resigned)) {
    game.EndByResignation();
    return LineTaken::kEnd;
  }
  MoveCode m;
  if (!ReadKifLikeMove(line, at, game.Pos(), game.PreviousDestination(), m))
    return BeginsKifLikeMove(line, at) ? LineTaken::kMalformed : LineTaken::kOther;
  return game.Add(m) ? LineTaken::kMove : LineTaken::kMalformed;
}

}  // namespace shogi
