/* The thinking library's three exports, callable from C: start of game, move choice, end. */
#ifndef SIKOU_SIKOU_H_
#define SIKOU_SIKOU_H_

#include <stdint.h>

/* The exports use the C calling convention on every platform. */
#if defined(_WIN32)
#define SIKOU_CALL __cdecl
#else
#define SIKOU_CALL
#endif

#if defined(SIKOU_BUILDING) && defined(_WIN32)
#define SIKOU_API __declspec(dllexport)
#elif defined(SIKOU_BUILDING)
#define SIKOU_API __attribute__((visibility("default")))
#else
#define SIKOU_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Called when a game with the library starts. Keeps `abort_flag` (the caller's stop word,
   never read or written by the library) and returns it. */
SIKOU_API int32_t* SIKOU_CALL sikou_ini(int32_t* abort_flag);

/* Chooses the move of the side to move after `move_count` moves played from the standard
   initial position. `moves` holds two bytes a move: destination (+100 when promoting), then
   origin (or 100 + piece type for a drop); move i is the first player's when i is even.
   `elapsed_seconds` is not read. On a result above 0 the answer is written to `from` (square
   1..81 or 100 + type), `to` (1..81) and `promote` (0/1, always 0 for a drop):
     1, 3, 5  a mate in that many plies starts with the answer (1 also: the only candidate);
     2 or more  the number of candidates the answer was chosen from.
   Result 0 leaves the three outputs untouched: the side to move has no legal move, every
   move allows a mate within 5 plies, or the list is not one the library can replay (more
   than 1 499 moves, a square or piece out of range, a move of a piece that is not there). */
SIKOU_API int32_t SIKOU_CALL sikou(int32_t move_count, const unsigned char* moves,
                                   int32_t* elapsed_seconds, int32_t* from, int32_t* to,
                                   int32_t* promote);

/* Called when the game ends; there is nothing to release. */
SIKOU_API void SIKOU_CALL sikou_end(void);

/* The same three as function pointer types, for binding the library at run time. */
typedef int32_t*(SIKOU_CALL* sikou_ini_function)(int32_t*);
typedef int32_t(SIKOU_CALL* sikou_function)(int32_t, const unsigned char*, int32_t*, int32_t*,
                                            int32_t*, int32_t*);
typedef void(SIKOU_CALL* sikou_end_function)(void);

#ifdef __cplusplus
}
#endif

#endif /* SIKOU_SIKOU_H_ */
