// The standard initial position, move applying, the position key and the 180-degree turn.
#include "position.h"

#include <initializer_list>

namespace thinking {

namespace {

constexpr Position MakeInitialPosition() {
  Position p{};
  constexpr int kBackRank[9] = {kLance, kKnight, kSilver, kGold, kKing,
                                kGold,  kSilver, kKnight, kLance};
  for (int file = 1; file <= 9; ++file) {
    p.Board[SquareOf(file, 1)] = static_cast<std::int8_t>(-kBackRank[file - 1]);
    p.Board[SquareOf(file, 3)] = -kPawn;
    p.Board[SquareOf(file, 7)] = kPawn;
    p.Board[SquareOf(file, 9)] = static_cast<std::int8_t>(kBackRank[file - 1]);
  }
  p.Board[SquareOf(2, 2)] = -kBishop;
  p.Board[SquareOf(8, 2)] = -kRook;
  p.Board[SquareOf(2, 8)] = kRook;
  p.Board[SquareOf(8, 8)] = kBishop;
  p.King[kFirst] = SquareOf(5, 9);
  p.King[kSecond] = SquareOf(5, 1);
  return p;
}

std::uint32_t WordAt(const Position& pos, int offset) {
  const std::uint8_t* b = pos.bytes() + offset;
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

constexpr std::uint32_t RotateLeft1(std::uint32_t k) {
  return k << 1 | k >> 31;
}

}  // namespace

const Position kInitialPosition = MakeInitialPosition();

void ApplyMove(Position& pos, const Move& m, Side s) {
  if (IsDrop(m)) {
    const int type = DropType(m);
    --pos.Hand[s][type];
    pos.Board[m.to] = static_cast<std::int8_t>(CodeOf(type, s));
    return;
  }
  const int captured = pos.Board[m.to];
  if (IsEnemy(captured, s)) ++pos.Hand[s][HandType(captured)];
  int code = pos.Board[m.from];
  if (m.promote) {
    code += s == kFirst ? kPromoteOffset : -kPromoteOffset;
  } else if (TypeOf(code) == kKing) {
    pos.King[s] = static_cast<std::int8_t>(m.to);
  }
  pos.Board[m.to] = static_cast<std::int8_t>(code);
  pos.Board[m.from] = 0;
}

std::uint32_t PositionKey(const Position& pos) {
  std::uint32_t k = WordAt(pos, 0);
  for (int offset = 4; offset <= 88; offset += 4) k = RotateLeft1(k) ^ WordAt(pos, offset);
  k = RotateLeft1(k);
  const std::uint8_t* b = pos.bytes();
  return k ^ (static_cast<std::uint32_t>(b[92]) | static_cast<std::uint32_t>(b[93]) << 8);
}

void TurnPosition(const Position& in, Position& out) {
  out.Board[0] = static_cast<std::int8_t>(-in.Board[0]);
  for (int sq = 1; sq <= kSquareCount; ++sq) {
    out.Board[82 - sq] = static_cast<std::int8_t>(-in.Board[sq]);
  }
  for (int type = 0; type <= 7; ++type) {
    out.Hand[kFirst][type] = static_cast<std::int8_t>(in.Hand[kSecond][type]);
    out.Hand[kSecond][type] = static_cast<std::int8_t>(in.Hand[kFirst][type]);
  }
  for (Side s : {kFirst, kSecond}) {
    const int king = in.KingSquare(Opponent(s));
    out.King[s] = king ? static_cast<std::int8_t>(82 - king) : kNoKing;
  }
}

}  // namespace thinking
