// Little-endian integer fields as they lie in the database files. The fields are byte
// arrays read and written through shifts, so the layouts are the same on every host and a
// record can be copied to and from the file as it is.
#pragma once

#include <cstdint>

namespace shogi {

// A signed 16-bit field.
struct Le16 {
  std::uint8_t Bytes[2];

  constexpr int Get() const {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Bytes[0] | Bytes[1] << 8));
  }
  // Stores the low 16 bits of `value`.
  constexpr void Set(int value) {
    const auto v = static_cast<std::uint32_t>(value);
    Bytes[0] = static_cast<std::uint8_t>(v);
    Bytes[1] = static_cast<std::uint8_t>(v >> 8);
  }
};
static_assert(sizeof(Le16) == 2 && alignof(Le16) == 1);

// An unsigned 32-bit field.
struct Le32 {
  std::uint8_t Bytes[4];

  constexpr std::uint32_t Get() const {
    return static_cast<std::uint32_t>(Bytes[0]) | static_cast<std::uint32_t>(Bytes[1]) << 8 |
           static_cast<std::uint32_t>(Bytes[2]) << 16 | static_cast<std::uint32_t>(Bytes[3]) << 24;
  }
  // Bytes 0-1 alone, as an unsigned 16-bit value.
  constexpr std::uint32_t Low16() const {
    return static_cast<std::uint32_t>(Bytes[0]) | static_cast<std::uint32_t>(Bytes[1]) << 8;
  }
  constexpr void Set(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) Bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
};
static_assert(sizeof(Le32) == 4 && alignof(Le32) == 1);

// An unsigned 64-bit field.
struct Le64 {
  std::uint8_t Bytes[8];

  constexpr std::uint64_t Get() const {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | Bytes[i];
    return value;
  }
  constexpr void Set(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) Bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
};
static_assert(sizeof(Le64) == 8 && alignof(Le64) == 1);

}  // namespace shogi
