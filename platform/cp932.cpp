// cp932 conversion through iconv, or the code-page API on Windows.
#include "platform/cp932.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <cstring>

namespace shogi {
namespace {

#ifdef _WIN32

constexpr UINT kCp932 = 932;

// `in` in the code page `from` as UTF-16; false on an invalid sequence.
bool ToWide(UINT from, std::string_view in, std::wstring& out) {
  out.clear();
  if (in.empty()) return true;
  const int size = static_cast<int>(in.size());
  const int n = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (n <= 0) return false;
  out.resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, in.data(), size, out.data(), n) == n;
}

// UTF-16 in the code page `to`; false when a character has no place in it.
bool FromWide(UINT to, const std::wstring& in, std::string& out) {
  out.clear();
  if (in.empty()) return true;
  const int size = static_cast<int>(in.size());
  // The UTF-8 conversion refuses lone surrogates; cp932 reports a character it lacks.
  const DWORD flags = to == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* used_default = to == CP_UTF8 ? nullptr : &defaulted;
  const int n = WideCharToMultiByte(to, flags, in.data(), size, nullptr, 0, nullptr, used_default);
  if (n <= 0 || defaulted) return false;
  out.resize(static_cast<std::size_t>(n));
  return WideCharToMultiByte(to, flags, in.data(), size, out.data(), n, nullptr, used_default) ==
             n &&
         !defaulted;
}

bool Convert(UINT to, UINT from, std::string_view in, std::string& out) {
  std::wstring wide;
  std::string result;
  if (!ToWide(from, in, wide) || !FromWide(to, wide, result)) {
    out.clear();
    return false;
  }
  out = std::move(result);
  return true;
}

}  // namespace

bool Utf8ToCp932(std::string_view utf8, std::string& out) {
  return Convert(kCp932, CP_UTF8, utf8, out);
}

bool Cp932ToUtf8(std::string_view cp932, std::string& out) {
  return Convert(CP_UTF8, kCp932, cp932, out);
}

#else

// Converts with iconv; false on any invalid or unconvertible input.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out) {
  out.clear();
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string result(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = result.data();
  std::size_t dst_left = result.size();
  bool ok = true;
  while (src_left > 0) {
    if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1)) {
      ok = false;  // EILSEQ, EINVAL (truncated character) or, impossibly, E2BIG
      break;
    }
  }
  if (ok && iconv(cd, nullptr, nullptr, &dst, &dst_left) == static_cast<std::size_t>(-1)) {
    ok = false;
  }
  iconv_close(cd);
  if (!ok) return false;
  result.resize(result.size() - dst_left);
  out = std::move(result);
  return true;
}

}  // namespace

bool Utf8ToCp932(std::string_view utf8, std::string& out) {
  return Convert("CP932", "UTF-8", utf8, out);
}

bool Cp932ToUtf8(std::string_view cp932, std::string& out) {
  return Convert("UTF-8", "CP932", cp932, out);
}

#endif

std::string Cp932(std::string_view utf8) {
  std::string out;
  if (!Utf8ToCp932(utf8, out)) out.clear();
  return out;
}

std::string Utf8(std::string_view cp932) {
  std::string out;
  if (Cp932ToUtf8(cp932, out)) return out;
  // Convert character by character so that one bad byte does not lose the whole text.
  out.clear();
  std::size_t i = 0;
  while (i < cp932.size()) {
    unsigned char c = static_cast<unsigned char>(cp932[i]);
    std::size_t n = (IsCp932LeadByte(c) && i + 1 < cp932.size()) ? 2 : 1;
    std::string piece;
    if (Cp932ToUtf8(cp932.substr(i, n), piece)) {
      out += piece;
    } else {
      out += '?';
    }
    i += n;
  }
  return out;
}

std::size_t Cp932CutLength(std::string_view text, std::size_t max_bytes) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + n > max_bytes || i + n > text.size()) break;
    i += n;
  }
  return i;
}

std::string_view CutName(std::string_view text, std::size_t max_bytes) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) break;
    std::size_t n = 1;
    if (IsCp932LeadByte(c)) {
      if (i + 1 >= text.size() || static_cast<unsigned char>(text[i + 1]) < 0x20) break;
      n = 2;
    }
    if (i + n > max_bytes) break;
    i += n;
  }
  return text.substr(0, i);
}

void CopyCp932Field(char* field, std::size_t size, std::string_view text) {
  if (size == 0) return;
  std::memset(field, 0, size);
  std::size_t n = Cp932CutLength(text, size - 1);
  std::memcpy(field, text.data(), n);
}

std::string_view FieldText(const char* field, std::size_t size) {
  std::size_t n = 0;
  while (n < size && field[n] != '\0') ++n;
  return std::string_view(field, n);
}

}  // namespace shogi
