// The Kisen layouts at work: the header count, drop ordinals, the block encoding both ways
// and the index fields.
#include "database_files/kisen.h"

#include "database_files/block_walk.h"
#include "platform/cp932.h"

namespace shogi {
namespace {

// Kisen registration looks up tournaments and openings among the first 30 list numbers.
constexpr int kHighestPlayer = 999;
constexpr int kKisenHighestNumber = 30;

// A slot whose destination (byte 0 without the promotion 100) is 0 ends the game.
constexpr bool IsEndSlot(MoveCode slot) {
  return slot.to % kPromoteFlag == 0;
}

// The move code of a stored slot, played by `side` in `pos`: a drop ordinal becomes the
// dropped type (false when it names no piece in hand); an end slot (destination 0) gives the
// end marker. Nothing else is checked.
bool KisenSlotMove(MoveCode slot, const Position& pos, Side side, MoveCode& m) {
  m = slot;
  if (IsEndSlot(m)) {
    m = MoveCode{};
  } else if (m.from > kDropBase) {
    const int type = DroppedTypeOfOrdinal(pos, side, m.from);
    if (type == 0) return false;
    m.from = static_cast<std::uint8_t>(DropOrigin(type));
  }
  return true;
}

}  // namespace

std::uint32_t KisenGameCount(const KisenHeader& header, std::uint64_t index_bytes) {
  return index_bytes <= kKisenNarrowCountBytes ? header.Count.Low16() : header.Count.Get();
}

int DropOrdinal(const Position& pos, Side side, int type) {
  int ordinal = kDropBase + 1;
  for (int t = type + 1; t <= kRook; ++t) ordinal += pos.Hand[side][t];
  return ordinal;
}

int DecodeKisenBlock(const KisenMoveBlock& block, Handicap start, MoveCode (&moves)[kMaxMoves]) {
  const int end = WalkGame(
      start, kBlockSlots,
      [&](int ply, const Position& pos, Side side, MoveCode& m) {
        return KisenSlotMove(block.Slots[ply], pos, side, m);
      },
      [&](int ply, const Position&, Side, MoveCode m) { moves[ply] = m; });
  moves[end] = MoveCode{};
  return end;
}

int EncodeKisenBlock(const MoveCode (&moves)[kMaxMoves], Handicap start, KisenMoveBlock& block) {
  block = KisenMoveBlock{};
  if (HandicapStartIndex(start) == 1) block.Slots[0] = {kHandicapSlotMark, kHandicapSlotMark};
  return WalkGame(
      start, kBlockSlots,
      [&](int ply, const Position&, Side, MoveCode& m) {
        m = moves[ply];
        return true;
      },
      [&](int ply, const Position& pos, Side side, MoveCode m) {
        if (IsDrop(m))
          m.from = static_cast<std::uint8_t>(DropOrdinal(pos, side, DroppedType(m.from)));
        block.Slots[ply] = m;
      });
}

int FindKisenPosition(const std::uint8_t* block, Handicap start, const PositionPattern& pattern) {
  // A lambda, not the function's address, so that the slot's decoding is inlined.
  return FindInBlock(block, start, pattern,
                     [](MoveCode slot, const Position& pos, Side side, MoveCode& m) {
                       return KisenSlotMove(slot, pos, side, m);
                     });
}

int ReplayKisenQuickly(const std::uint8_t* block, Handicap start, int last,
                       QuickReplayVisitor& visitor) {
  return QuickReplay(block, start, last, visitor,
                     [](MoveCode slot, const Position& pos, Side side, MoveCode& m) {
                       return KisenSlotMove(slot, pos, side, m);
                     });
}

IndexFields KisenIndexFields(const KisenIndexRecord& index, const DatabaseNames& names) {
  IndexFields f;
  f.FirstPlayer = names.PlayerTable[index.FirstPlayer.Get()];
  f.SecondPlayer = names.PlayerTable[index.SecondPlayer.Get()];
  ReadSharedFields(index, names, f);
  return f;
}

void WriteKisenIndex(const GameRecord& record, int handicap_code, int result,
                     const DatabaseNames& names, KisenIndexRecord& index) {
  index.FirstPlayer.Set(
      KisenNameLookup(names.Players, FieldText(record.FirstName), kHighestPlayer));
  index.SecondPlayer.Set(
      KisenNameLookup(names.Players, FieldText(record.SecondName), kHighestPlayer));
  index.Tournament.Set(KisenNameLookup(names.Tournaments, FieldText(record.Tournament),
                                       kKisenHighestNumber));
  index.Opening.Set(
      KisenNameLookup(names.Openings, FieldText(record.Opening), kKisenHighestNumber));
  WriteSharedNumbers(record, handicap_code, result, index);
}

}  // namespace shogi
