// File paths for the Windows API: the program's paths are UTF-8 text on every system; the
// wide-character API wants UTF-16.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>

namespace shogi {

inline std::wstring WidePath(const std::string& path) {
  const int size = static_cast<int>(path.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, path.data(), size, out.data(), n);
  return out;
}

// The UTF-8 form of a path the system gave.
inline std::string Utf8Path(const std::wstring& path) {
  const int size = static_cast<int>(path.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, path.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, path.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace shogi
#endif
