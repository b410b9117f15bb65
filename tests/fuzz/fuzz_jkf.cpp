// Fuzz target of the JKF reader: the record, its comments and its variations.
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shogi::fuzz::CheckFormat(shogi::RecordFormat::kJkf,
                           std::string_view(reinterpret_cast<const char*>(data), size), nullptr,
                           true);
  return 0;
}
