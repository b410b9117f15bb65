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
    p.cell[SquareOf(file, 1)] = static_cast<std::int8_t>(-kBackRank[file - 1]);
    p.cell[SquareOf(file, 3)] = -kPawn;
    p.cell[SquareOf(file, 7)] = kPawn;
    p.cell[SquareOf(file, 9)] = static_cast<std::int8_t>(kBackRank[file - 1]);
  }
  p.cell[SquareOf(2, 2)] = -kBishop;
  p.cell[SquareOf(8, 2)] = -kRook;
  p.cell[SquareOf(2, 8)] = kRook;
  p.cell[SquareOf(8, 8)] = kBishop;
  p.cell[Position::KingOffset(kFirst)] = SquareOf(5, 9);
  p.cell[Position::KingOffset(kSecond)] = SquareOf(5, 1);
  return p;
}

std::uint32_t WordAt(const Position& pos, int offset) {
  const auto* b = reinterpret_cast<const std::uint8_t*>(pos.cell) + offset;
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

constexpr std::uint32_t RotateLeft1(std::uint32_t k) {
  return k << 1 | k >> 31;
}

}  // namespace

const Position kInitialPosition = MakeInitialPosition();

void ApplyMove(Position& pos, Side s, const Move& m) {
  if (IsDrop(m)) {
    const int type = DropType(m);
    --pos.HandSlot(s, type);
    pos.cell[m.to] = static_cast<std::int8_t>(CodeOf(s, type));
    return;
  }
  const int captured = pos.cell[m.to];
  if (IsEnemy(captured, s)) ++pos.HandSlot(s, BaseType(captured));
  int code = pos.cell[m.from];
  if (m.promote) {
    code += s == kFirst ? kPromotion : -kPromotion;
  } else if (TypeOf(code) == kKing) {
    pos.cell[Position::KingOffset(s)] = static_cast<std::int8_t>(m.to);
  }
  pos.cell[m.to] = static_cast<std::int8_t>(code);
  pos.cell[m.from] = 0;
}

std::uint32_t PositionKey(const Position& pos) {
  std::uint32_t k = WordAt(pos, 0);
  for (int offset = 4; offset <= 88; offset += 4) k = RotateLeft1(k) ^ WordAt(pos, offset);
  k = RotateLeft1(k);
  const auto* b = reinterpret_cast<const std::uint8_t*>(pos.cell);
  return k ^ (static_cast<std::uint32_t>(b[92]) | static_cast<std::uint32_t>(b[93]) << 8);
}

void TurnPosition(const Position& in, Position& out) {
  out.cell[0] = static_cast<std::int8_t>(-in.cell[0]);
  for (int sq = 1; sq <= kSquareCount; ++sq) {
    out.cell[82 - sq] = static_cast<std::int8_t>(-in.cell[sq]);
  }
  for (int type = 0; type <= 7; ++type) {
    out.HandSlot(kFirst, type) = static_cast<std::int8_t>(in.Hand(kSecond, type));
    out.HandSlot(kSecond, type) = static_cast<std::int8_t>(in.Hand(kFirst, type));
  }
  for (Side s : {kFirst, kSecond}) {
    const int king = in.King(Opponent(s));
    out.cell[Position::KingOffset(s)] = king ? static_cast<std::int8_t>(82 - king) : kNoKing;
  }
}

}  // namespace thinking
