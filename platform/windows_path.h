// File paths for the Windows API: the program's paths are in the ANSI code page, as the C
// runtime takes them; the wide-character API wants UTF-16.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>

namespace shogi {

inline std::wstring WidePath(const std::string& path) {
  const int n =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), out.data(), n);
  return out;
}

}  // namespace shogi
#endif
