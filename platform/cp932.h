// Code page 932 (Shift-JIS) text: conversion from and to UTF-8, and byte-field helpers that
// never split a two-byte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace shogi {

// A cp932 lead byte (0x81-0x9F, 0xE0-0xFC) takes the next byte with it.
constexpr bool IsCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Converts UTF-8 to cp932. Returns false and leaves `out` empty when the input is not valid
// UTF-8 or holds a character that cp932 cannot represent.
[[nodiscard]] bool Utf8ToCp932(std::string_view utf8, std::string& out);

// Converts cp932 to UTF-8. Returns false and leaves `out` empty on a byte sequence that is
// not valid cp932 (a lone lead byte at the end, an invalid trail byte, an unassigned code).
[[nodiscard]] bool Cp932ToUtf8(std::string_view cp932, std::string& out);

// The cp932 form of a text written in this program's UTF-8 sources. Only for texts known to
// be representable (piece names, fixed captions); an unrepresentable text gives "".
std::string Cp932(std::string_view utf8);

// The UTF-8 form of cp932 bytes for display; a byte that cannot be converted shows as '?'.
std::string Utf8(std::string_view cp932);

// The length of the longest prefix of `text` that has at most `max_bytes` bytes and does not
// end in the middle of a two-byte character.
std::size_t Cp932CutLength(std::string_view text, std::size_t max_bytes);

// The name at the front of `text`: at most `max_bytes` bytes, ending before the first
// control character, never splitting a two-byte character. Readers take names with it, and
// writers too, so that no stray line end inside a name can break a file's lines.
std::string_view CutName(std::string_view text, std::size_t max_bytes);

// Copies `text` into the fixed field `field` of `size` bytes: cut to at most size - 1 bytes
// without splitting a character, NUL-terminated, the rest of the field zeroed.
void CopyCp932Field(char* field, std::size_t size, std::string_view text);

// The text of a NUL-terminated fixed field (stops at the first NUL or at `size`).
std::string_view FieldText(const char* field, std::size_t size);

template <std::size_t N>
void CopyCp932Field(char (&field)[N], std::string_view text) {
  CopyCp932Field(field, N, text);
}
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

}  // namespace shogi
