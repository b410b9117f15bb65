// Fuzz target of the KIF reader, with the line rules of a file and of a URL stream.
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shogi::fuzz::CheckFormat(shogi::RecordFormat::kKif,
                           std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
