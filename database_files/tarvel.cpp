// The Tarvel layouts at work: the header count, the block encoding both ways and the index
// fields.
#include "database_files/tarvel.h"

#include <cstring>
#include <string_view>

#include "database_files/block_walk.h"
#include "platform/cp932.h"

namespace shogi {
namespace {

// The highest list number a Tarvel registration stores.
constexpr int kTarvelHighestNumber = 99;

// Move-code bytes above 81 (promotions and drops) are stored 28 higher; stored bytes above
// 100 are read 28 lower.
constexpr std::uint8_t Stored(std::uint8_t b) {
  return b > kSquareCount ? static_cast<std::uint8_t>(b + kTarvelFlagShift) : b;
}
constexpr std::uint8_t Unstored(std::uint8_t b) {
  return b > kDropBase ? static_cast<std::uint8_t>(b - kTarvelFlagShift) : b;
}

// The move code of a stored slot: bytes above 100 are read 28 lower; a zero byte 0 gives the
// end marker. Nothing is checked (the position and side are not needed).
bool TarvelSlotMove(MoveCode slot, const Position&, Side, MoveCode& m) {
  m = IsEndMarker(slot) ? MoveCode{} : MoveCode{Unstored(slot.to), Unstored(slot.from)};
  return true;
}

}  // namespace

void SetTarvelName(char* field, std::string_view name) {
  std::memset(field, 0, kTarvelNameBytes);
  std::memcpy(field, name.data(), Cp932CutLength(name, kTarvelNameBytes));
}

std::string_view TarvelNameOf(const char* field) {
  const std::string_view stored(field, strnlen(field, kTarvelNameBytes));
  return CutName(stored, kTarvelNameBytes);
}

std::uint32_t TarvelGameCount(const TarvelHeader& header) {
  return header.Count.Get();
}

int DecodeTarvelBlock(const TarvelMoveBlock& block, Handicap start, MoveCode (&moves)[kMaxMoves]) {
  const int end = WalkGame(
      start, kBlockSlots,
      [&](int ply, const Position& pos, Side side, MoveCode& m) {
        return TarvelSlotMove(block.Slots[ply], pos, side, m);
      },
      [&](int ply, const Position&, Side, MoveCode m) { moves[ply] = m; });
  moves[end] = MoveCode{};
  return end;
}

int EncodeTarvelBlock(const MoveCode (&moves)[kMaxMoves], Handicap start, int handicap_code,
                      TarvelMoveBlock& block) {
  block = TarvelMoveBlock{};
  if (HandicapStartIndex(start) == 1)
    block.Slots[0] = {kTarvelHandicapMark, static_cast<std::uint8_t>(handicap_code)};
  return WalkGame(
      start, kBlockSlots,
      [&](int ply, const Position&, Side, MoveCode& m) {
        m = moves[ply];
        return true;
      },
      [&](int ply, const Position&, Side, MoveCode m) {
        block.Slots[ply] = {Stored(m.to), Stored(m.from)};
      });
}

int FindTarvelPosition(const std::uint8_t* block, Handicap start, const PositionPattern& pattern) {
  // A lambda, not the function's address, so that the slot's decoding is inlined.
  return FindInBlock(block, start, pattern,
                     [](MoveCode slot, const Position& pos, Side side, MoveCode& m) {
                       return TarvelSlotMove(slot, pos, side, m);
                     });
}

int ReplayTarvelQuickly(const std::uint8_t* block, Handicap start, int last,
                        QuickReplayVisitor& visitor) {
  return QuickReplay(block, start, last, visitor,
                     [](MoveCode slot, const Position& pos, Side side, MoveCode& m) {
                       return TarvelSlotMove(slot, pos, side, m);
                     });
}

IndexFields TarvelIndexFields(const TarvelIndexRecord& index, const DatabaseNames& names) {
  IndexFields f;
  f.FirstPlayer = TarvelNameOf(index.FirstName);
  f.SecondPlayer = TarvelNameOf(index.SecondName);
  ReadSharedFields(index, names, f);
  return f;
}

void WriteTarvelIndex(const GameRecord& record, int handicap_code, int result,
                      const DatabaseNames& names, TarvelIndexRecord& index) {
  SetTarvelName(index.FirstName, FieldText(record.FirstName));
  SetTarvelName(index.SecondName, FieldText(record.SecondName));
  WriteSharedNumbers(record, handicap_code, result, index);
  index.Tournament.Set(ExactNameLookup(names.Tournaments, FieldText(record.Tournament),
                                       kTarvelHighestNumber));
  index.Opening.Set(
      ExactNameLookup(names.Openings, FieldText(record.Opening), kTarvelHighestNumber));
}

}  // namespace shogi
