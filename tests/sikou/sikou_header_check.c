/* Compiled as C: binds the library through the types of sikou.h and asks for a first move. */
#include <dlfcn.h>
#include <stddef.h>
#include <string.h>

#include "sikou.h"

/* Called by the C++ tests. */
int sikou_c_first_move(const char* path, int32_t* from, int32_t* to, int32_t* promote);

/* dlsym's object pointer as a function pointer: ISO C has no cast between the two, POSIX
   guarantees the representation, so the bytes are copied. */
static void* symbol(void* handle, const char* name, void* function_pointer) {
  void* p = dlsym(handle, name);
  memcpy(function_pointer, &p, sizeof p);
  return p;
}

int sikou_c_first_move(const char* path, int32_t* from, int32_t* to, int32_t* promote) {
  /* The prototypes themselves must be valid C; sizeof does not call anything. */
  (void)sizeof(sikou(0, NULL, NULL, NULL, NULL, NULL));
  (void)sizeof(sikou_ini(NULL));

  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!handle) return -1;
  sikou_ini_function ini;
  sikou_function think;
  sikou_end_function end;
  symbol(handle, "sikou_ini", &ini);
  symbol(handle, "sikou", &think);
  symbol(handle, "sikou_end", &end);
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
  dlclose(handle);
  return result;
}
