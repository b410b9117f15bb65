// The thinking library's stubs and the computer side that calls its entry points.
#include "players/library_player.h"

#include <cstddef>
#include <type_traits>

#include "rules/game_record.h"

namespace shogi {
namespace {

// The driver's ints and move codes cross into the library as they are: its 32-bit ints and
// its two-byte moves (destination byte first) must be ours.
static_assert(std::is_same_v<int, std::int32_t>);
static_assert(sizeof(MoveCode) == 2 && offsetof(MoveCode, to) == 0 &&
              offsetof(MoveCode, from) == 1);

std::int32_t* SIKOU_CALL StubIni(std::int32_t* abort_flag) {
  return abort_flag;
}

std::int32_t SIKOU_CALL StubThink(std::int32_t, const unsigned char*, std::int32_t*, std::int32_t*,
                                  std::int32_t*, std::int32_t*) {
  return 0;
}

void SIKOU_CALL StubEnd() {}

}  // namespace

SikouEntryPoints StubEntryPoints() {
  return SikouEntryPoints{StubIni, StubThink, StubEnd, 0};
}

void LibraryPlayer::BeginGame(int* abort_flag) {
  entries_.Ini(abort_flag);
}

int LibraryPlayer::Think(const ThinkRequest& request, ComputerAnswer& answer) {
  // The library reads 2 x PlyCount bytes of the list; a count the record cannot hold would
  // send it past the record's end, so such a request resigns instead.
  if (!request.MoveList || request.PlyCount < 0 || request.PlyCount >= kMaxMoves) return 0;
  std::int32_t unused_clock = 0;
  std::int32_t* clock = request.MoverClock ? request.MoverClock : &unused_clock;
  return entries_.Think(request.PlyCount, reinterpret_cast<const unsigned char*>(request.MoveList),
                        clock, answer.Origin, answer.Destination, answer.Promote);
}

void LibraryPlayer::EndGame() {
  entries_.End();
}

}  // namespace shogi
