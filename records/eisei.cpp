// The Eisei Meijin writer and reader.
#include "records/eisei.h"

#include <cstdio>

#include "platform/cp932.h"
#include "records/csa.h"
#include "records/notation.h"
#include "records/record_io.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr std::size_t kEiseiLineBytes = 255;
// Cumulative times are kept below 100 hours, as the other readers keep them.
// A drop is written with 8 - type in place of the origin: 飛 01 ... 歩 07.
constexpr int kDropNumberBase = 8;

void AppendHandLines(std::string& out, const Position& pos, Side side) {
  for (int type = kRook; type >= kPawn; --type) {
    for (int n = 0; n < pos.Hand[side][type] && n < kMaxHandCount; ++n) {
      out += side == kFirst ? "P+00" : "P-00";
      out += CsaPieceCode(type);
      out += kLineEnd;
    }
  }
}

void AppendName(std::string& out, const char* label, std::string_view name) {
  out += label;
  out += kLineEnd;
  out += CutName(name, kNameFieldSize);
  out += '\0';
  out += kLineEnd;
}

}  // namespace

std::string FormatEisei(const GameRecord& record, bool store_times) {
  std::string out;
  const Position& pos = record.InitialPosition;
  for (int rank = 1; rank <= 9; ++rank) {
    out += 'P';
    out += static_cast<char>('0' + rank);
    for (int file = 9; file >= 1; --file) {
      const int code = pos.Board[SquareOf(file, rank)];
      if (code == 0 || TypeOf(code) > 15) {
        out += " * ";
      } else {
        out += code > 0 ? '+' : '-';
        out += CsaPieceCode(TypeOf(code));
      }
    }
    out += kLineEnd;
  }
  AppendHandLines(out, pos, kSecond);
  AppendHandLines(out, pos, kFirst);
  out += record.StartIndex == 0 ? "+" : "-";
  out += kLineEnd;
  AppendName(out, "1 5", FieldText(record.FirstName));
  AppendName(out, "1 2", FieldText(record.SecondName));

  const int end = record.StartIndex + WritableMoveCount(record);
  char line[64];
  for (int i = record.StartIndex; i < end; ++i) {
    const MoveCode m = record.MoveList[i];
    const int to = DestinationOf(m);
    if (IsDrop(m)) {
      std::snprintf(line, sizeof line, "%02d%d%d ", kDropNumberBase - DroppedType(m.from),
                    FileOf(to), RankOf(to));
    } else {
      std::snprintf(line, sizeof line, "%d%d%d%d%c", FileOf(m.from), RankOf(m.from), FileOf(to),
                    RankOf(to), IsPromotion(m) ? 'N' : ' ');
    }
    out += line;
    out += kLineEnd;
    // The game's elapsed time: this mover's clock and the other side's after its last move.
    long elapsed = 0;
    if (store_times) {
      elapsed = record.MoveTimes[i];
      if (i - 1 >= record.StartIndex) elapsed += record.MoveTimes[i - 1];
    }
    std::snprintf(line, sizeof line, "%ld", elapsed);
    out += line;
    out += kLineEnd;
  }
  // The winner is written as it is stored; in the usual ending, where the side to move
  // resigned, this agrees with the parity of the list index after the last move.
  if (record.ResultCode == kResultFirstWins) {
    out += "S";
    out += kLineEnd;
  } else if (record.ResultCode == kResultSecondWins) {
    out += "G";
    out += kLineEnd;
  }
  return out;
}

int WriteEisei(const std::string& path, const GameRecord& record, bool store_times,
               std::string& message) {
  return WriteRecordFile(path, FormatEisei(record, store_times), message);
}

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}


bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsDigit(c)) return false;
  return true;
}

enum class EiseiState { kPosition, kSenteName, kGoteName, kMoves, kTime, kDone };

class EiseiReader {
 public:
  explicit EiseiReader(const GameRecord& current) { PrepareRecordForReading(current, r_); }

  bool Take(std::string_view line);
  bool Done() const { return state_ == EiseiState::kDone; }
  bool InMoves() const { return in_moves_; }
  // Whether the name lines ("1 5", "1 2"), which only this format has, were read.
  bool Marked() const { return named_; }
  GameRecord& Record() { return r_; }

 private:
  bool TakePosition(std::string_view line);
  bool TakeMove(std::string_view line);
  void TakeTime(std::string_view line);

  GameRecord r_;
  Position rows_{};
  Position pos_{};
  int row_count_ = 0;
  int index_ = 0;
  bool in_moves_ = false;
  bool named_ = false;
  EiseiState state_ = EiseiState::kPosition;
  EiseiState after_name_ = EiseiState::kMoves;
};

bool EiseiReader::TakePosition(std::string_view line) {
  if (line.size() >= 2 && line[0] == 'P' && line[1] >= '1' && line[1] <= '9') {
    if (row_count_ >= 9) return false;
    ReadCsaBoardRow(line, ++row_count_, rows_);
    return true;
  }
  if (line.size() >= 2 && line[0] == 'P' && (line[1] == '+' || line[1] == '-')) {
    const Side side = line[1] == '+' ? kFirst : kSecond;
    for (std::size_t at = 2; at + 3 < line.size() && line.compare(at, 2, "00") == 0; at += 4) {
      const int type = CsaPieceType(line[at + 2], line[at + 3]);
      if (type < kPawn || type > kRook) return false;
      if (rows_.Hand[side][type] < kMaxHandCount) ++rows_.Hand[side][type];
    }
    return true;
  }
  if (line[0] == '+' || line[0] == '-') {
    if (row_count_ > 0 && row_count_ < 9) return false;
    if (row_count_ == 0) {
      // No board lines: the even game, with any hand lines read.
      for (int s = 1; s <= kSquareCount; ++s) rows_.Board[s] = kInitialPosition.Board[s];
    }
    r_.InitialPosition = rows_;
    FindKingSquares(r_.InitialPosition);
    pos_ = r_.InitialPosition;
    r_.StartIndex = index_ = line[0] == '+' ? 0 : 1;
    in_moves_ = true;
    state_ = EiseiState::kMoves;
    return true;
  }
  return true;  // other lines before the side line are not the reader's
}

// "ffrr" and " " or "N": origin and destination; "0n" and "rr": a drop of 8 - n.
bool EiseiReader::TakeMove(std::string_view line) {
  if (line.size() < 4 || !IsDigit(line[0]) || !IsDigit(line[1]) || SquareDigit(line[2]) == 0 ||
      SquareDigit(line[3]) == 0)
    return false;
  const int to = SquareOf(SquareDigit(line[2]), SquareDigit(line[3]));
  MoveCode m;
  if (line[0] == '0') {
    const int type = kDropNumberBase - (line[1] - '0');
    if (type < kPawn || type > kRook) return false;
    m = EncodeMove(DropOrigin(type), to, 0);
  } else {
    if (SquareDigit(line[1]) == 0) return false;
    const bool promote = line.size() > 4 && line[4] == 'N';
    m = EncodeMove(SquareOf(SquareDigit(line[0]), SquareDigit(line[1])), to, promote ? 1 : 0);
  }
  const Side side = SideOfPly(index_);
  m = WithoutRedundantMark(pos_, m);
  if (!IsPlayableMove(pos_, side, m)) return false;
  ApplyMove(pos_, m, side);
  r_.MoveList[index_++] = m;
  state_ = EiseiState::kTime;
  return true;
}

// The game's elapsed seconds after the last move: its mover's clock is what the other side's
// clock leaves of it.
void EiseiReader::TakeTime(std::string_view line) {
  long elapsed = 0;
  for (std::size_t i = 0; i < line.size() && i < 9; ++i) elapsed = elapsed * 10 + (line[i] - '0');
  const int i = index_ - 1;
  if (i - 1 >= r_.StartIndex) elapsed -= r_.MoveTimes[i - 1];
  if (elapsed < 0) elapsed = 0;
  if (elapsed > kMaxCumulativeSeconds) elapsed = kMaxCumulativeSeconds;
  r_.MoveTimes[i] = static_cast<std::int32_t>(elapsed);
}

bool EiseiReader::Take(std::string_view line) {
  switch (state_) {
    case EiseiState::kPosition:
      if (line.empty()) return true;
      return TakePosition(line);
    case EiseiState::kSenteName:
    case EiseiState::kGoteName:
      CopyCp932Field(state_ == EiseiState::kSenteName ? r_.FirstName : r_.SecondName,
                     CutName(line));
      state_ = after_name_;
      return true;
    case EiseiState::kTime:
      state_ = EiseiState::kMoves;
      if (AllDigits(line)) {
        TakeTime(line);
        return true;
      }
      [[fallthrough]];
    case EiseiState::kMoves:
      if (index_ - r_.StartIndex >= kEiseiMoveLimit) {
        state_ = EiseiState::kDone;
        return true;
      }
      if (line.empty()) return true;
      if (line == "1 5" || line == "1 2") {
        named_ = true;
        after_name_ = EiseiState::kMoves;
        state_ = line == "1 5" ? EiseiState::kSenteName : EiseiState::kGoteName;
        return true;
      }
      if (line[0] == 'S' || line[0] == 'G') {
        r_.ResultCode = line[0] == 'S' ? kResultFirstWins : kResultSecondWins;
        state_ = EiseiState::kDone;
        return true;
      }
      return TakeMove(line);
    case EiseiState::kDone:
      return true;
  }
  return true;
}

}  // namespace

int ReadEisei(ByteStream& stream, GameRecord& record, std::string& message) {
  EiseiReader reader(record);
  LineReader lines(stream, kEiseiLineBytes, LineEnd::kLineFeed);
  std::string_view line;
  while (!reader.Done() && lines.Next(line)) {
    if (!reader.Take(line)) {
      message = kMessageMalformed;
      return 1;
    }
  }
  return FinishStatementRead(reader, lines, record, message);
}

int ReadEisei(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadEisei, record, message);
}

}  // namespace shogi
