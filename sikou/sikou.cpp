// The three exports: rebuild the game from the move list, look for a mate, else choose.
#include "sikou.h"

#include <initializer_list>

#include "choose.h"
#include "game.h"
#include "mate.h"

namespace {

// The caller's stop word, kept as the interface requires; the library never uses it.
int32_t* g_abort_flag = nullptr;

}  // namespace

extern "C" {

SIKOU_API int32_t* SIKOU_CALL sikou_ini(int32_t* abort_flag) {
  g_abort_flag = abort_flag;
  return g_abort_flag;
}

SIKOU_API int32_t SIKOU_CALL sikou(int32_t move_count, const unsigned char* moves,
                                   int32_t* /*elapsed_seconds*/, int32_t* from, int32_t* to,
                                   int32_t* promote) {
  using namespace thinking;
  if (!from || !to || !promote) return 0;
  Game game;
  if (!ReplayGame(moves, move_count, game)) return 0;
  const Side s = game.SideToMove();
  Move answer{};
  int result = 0;
  for (int depth : {1, 3, 5}) {
    if (FindMate(game.position, s, depth, answer)) {
      result = depth;
      break;
    }
  }
  if (!result) result = ChooseMove(game, answer);
  if (result > 0) {
    *from = answer.from;
    *to = answer.to;
    *promote = IsDrop(answer) ? 0 : answer.promote;
  }
  return result;
}

SIKOU_API void SIKOU_CALL sikou_end(void) {}

}  // extern "C"
