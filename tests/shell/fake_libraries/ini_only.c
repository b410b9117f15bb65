/* A thinking library that exports sikou_ini and nothing else. */
#include "fake_sikou.h"
#define SIKOU_BUILDING
#include "sikou/sikou.h"

SIKOU_API int32_t* SIKOU_CALL sikou_ini(int32_t* abort_flag) {
  return abort_flag;
}
