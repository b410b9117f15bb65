// Loading the evaluation file.
#include "analysis/fv_table.h"

#include <bit>
#include <utility>

#include "platform/record_file.h"

namespace shogi {

std::string FvUnreadableMessage(const std::string& path) {
  return path + "が読み込めません。";
}

bool FvTable::AllocateZeroed() {
  Unload();
  // calloc hands large blocks out as fresh zero pages: untouched parts cost no memory.
  heap_.reset(static_cast<std::int16_t*>(std::calloc(kFvElements, sizeof(std::int16_t))));
  elements_ = heap_.get();
  return elements_ != nullptr;
}

void FvTable::Unload() {
  elements_ = nullptr;
  mapped_.Close();
  heap_.reset();
}

int FvTable::Load(const std::string& path, std::string& message) {
  Unload();
  // The numbers are little-endian: a little-endian machine uses the file's bytes as they lie.
  if constexpr (std::endian::native == std::endian::little) {
    if (mapped_.Open(path, kFvFileBytes)) {
      elements_ = reinterpret_cast<const std::int16_t*>(mapped_.Data());
      return 0;
    }
  }
  RecordFile file;
  std::uint64_t size = 0;
  if (!file.Open(path, RecordFile::Mode::kRead) || !file.Size(size) || !AllocateZeroed()) {
    Unload();
    message = FvUnreadableMessage(path);
    return 1;
  }
  // A short file fills what it holds, byte for byte; the rest stays 0.
  const std::size_t bytes = size < kFvFileBytes ? static_cast<std::size_t>(size) : kFvFileBytes;
  if (bytes > 0 && !file.ReadAt(0, heap_.get(), bytes)) {
    Unload();
    message = FvUnreadableMessage(path);
    return 1;
  }
  if constexpr (std::endian::native != std::endian::little) {
    for (std::size_t i = 0; i < (bytes + 1) / 2; ++i) {
      const auto u = static_cast<std::uint16_t>(heap_[i]);
      heap_[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>((u >> 8) | (u << 8)));
    }
  }
  return 0;
}

}  // namespace shogi
