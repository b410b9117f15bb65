/* Stand-ins for the thinking library, for the binding tests: the forwarding library hands
   every call of its three exports to a handler that the test installs. */
#ifndef TESTS_SHELL_FAKE_LIBRARIES_FAKE_SIKOU_H_
#define TESTS_SHELL_FAKE_LIBRARIES_FAKE_SIKOU_H_

#include <stdint.h>

#if defined(_WIN32)
#define FAKE_SIKOU_API __declspec(dllexport)
#else
#define FAKE_SIKOU_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One call as the library received it; the fields that the export has no argument for are
   null or 0. */
struct fake_sikou_call {
  const char* name; /* "sikou_ini", "sikou" or "sikou_end" */
  int32_t* abort_flag;
  int32_t move_count;
  const unsigned char* moves;
  int32_t* elapsed_seconds;
  int32_t* from;
  int32_t* to;
  int32_t* promote;
};

/* Gets every call; its result is what sikou returns (ignored for the other two). */
typedef int32_t (*fake_sikou_handler)(void* context, const struct fake_sikou_call* call);

/* Installs the handler (null: sikou answers 0 and the calls go nowhere). */
typedef void (*fake_sikou_set_handler_function)(fake_sikou_handler handler, void* context);
FAKE_SIKOU_API void fake_sikou_set_handler(fake_sikou_handler handler, void* context);

#ifdef __cplusplus
}
#endif

#endif /* TESTS_SHELL_FAKE_LIBRARIES_FAKE_SIKOU_H_ */
