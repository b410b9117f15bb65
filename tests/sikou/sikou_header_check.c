/* Compiled as C: binds the library through the types of sikou.h and asks for a first move. */
#include <stddef.h>

#include "library_loading.h"
#include "sikou.h"

/* Called by the C++ tests. */
int sikou_c_first_move(const char* path, int32_t* from, int32_t* to, int32_t* promote);

int sikou_c_first_move(const char* path, int32_t* from, int32_t* to, int32_t* promote) {
  /* The prototypes themselves must be valid C; sizeof does not call anything. */
  (void)sizeof(sikou(0, NULL, NULL, NULL, NULL, NULL));
  (void)sizeof(sikou_ini(NULL));

  void* handle = sikou_test_open(path);
  if (!handle) return -1;
  sikou_ini_function ini;
  sikou_function think;
  sikou_end_function end;
  sikou_test_symbol(handle, "sikou_ini", &ini);
  sikou_test_symbol(handle, "sikou", &think);
  sikou_test_symbol(handle, "sikou_end", &end);
  int32_t result = -2;
  if (ini && think && end) {
    int32_t abort_flag = 0;
    int32_t elapsed = 0;
    if (ini(&abort_flag) == &abort_flag) {
      result = think(0, NULL, &elapsed, from, to, promote);
    } else {
      result = -3;
    }
    end();
  }
  sikou_test_close(handle);
  return result;
}
