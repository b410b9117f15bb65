/* Loading the thinking library by path for the tests, in C and C++: dlopen, or LoadLibrary on
   Windows, where the library is sikou.dll. */
#ifndef SHOGI_TESTS_SIKOU_LIBRARY_LOADING_H_
#define SHOGI_TESTS_SIKOU_LIBRARY_LOADING_H_

#include <string.h>

#ifdef _WIN32
#include <windows.h>
#define SIKOU_TEST_LIBRARY_PATH SHOGI_BIN_DIR "/sikou.dll"
#else
#include <dlfcn.h>
#define SIKOU_TEST_LIBRARY_PATH SHOGI_BIN_DIR "/sikou.so"
#endif

/* The library at `path`, or NULL. */
static inline void* sikou_test_open(const char* path) {
#ifdef _WIN32
  return (void*)LoadLibraryA(path);
#else
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
}

/* The export `name` copied into the function pointer at `function_pointer` (ISO C has no cast
   between object and function pointers; both systems guarantee the representation); the
   address, or NULL when there is none. */
static inline void* sikou_test_symbol(void* handle, const char* name, void* function_pointer) {
#ifdef _WIN32
  FARPROC p = GetProcAddress((HMODULE)handle, name);
#else
  void* p = dlsym(handle, name);
#endif
  void* address;
  memcpy(function_pointer, &p, sizeof p);
  memcpy(&address, &p, sizeof p);
  return address;
}

static inline void sikou_test_close(void* handle) {
#ifdef _WIN32
  FreeLibrary((HMODULE)handle);
#else
  dlclose(handle);
#endif
}

#endif /* SHOGI_TESTS_SIKOU_LIBRARY_LOADING_H_ */
