/* A thinking library that exports sikou_ini and nothing else. */
#include "fake_sikou.h"

FAKE_SIKOU_API int32_t* sikou_ini(int32_t* abort_flag) {
  return abort_flag;
}
