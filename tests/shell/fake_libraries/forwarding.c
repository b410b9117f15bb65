/* A thinking library that hands each call of its three exports to the test's handler. */
#include <stddef.h>

#include "fake_sikou.h"
#define SIKOU_BUILDING
#include "sikou/sikou.h"

static fake_sikou_handler handler_;
static void* context_;

FAKE_SIKOU_API void fake_sikou_set_handler(fake_sikou_handler handler, void* context) {
  handler_ = handler;
  context_ = context;
}

static int32_t forward(const struct fake_sikou_call* call) {
  return handler_ ? handler_(context_, call) : 0;
}

SIKOU_API int32_t* SIKOU_CALL sikou_ini(int32_t* abort_flag) {
  struct fake_sikou_call call = {"sikou_ini", abort_flag, 0, NULL, NULL, NULL, NULL, NULL};
  forward(&call);
  return abort_flag;
}

SIKOU_API int32_t SIKOU_CALL sikou(int32_t move_count, const unsigned char* moves,
                             int32_t* elapsed_seconds, int32_t* from, int32_t* to,
                             int32_t* promote) {
  struct fake_sikou_call call = {"sikou",         NULL, move_count, moves,
                                 elapsed_seconds, from, to,         promote};
  return forward(&call);
}

SIKOU_API void SIKOU_CALL sikou_end(void) {
  struct fake_sikou_call call = {"sikou_end", NULL, 0, NULL, NULL, NULL, NULL, NULL};
  forward(&call);
}
