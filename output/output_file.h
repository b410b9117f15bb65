// The output text file of the output menu: chosen once, tested by creating it, then every
// diagram and record is appended to it as cp932 text with CR LF line ends.
#pragma once

#include <string>

namespace shogi {

inline constexpr const char* kOutputCreateMessage = "ファイルが作成出来ません。";
inline constexpr const char* kOutputAppendMessage = "ファイルに書き込めません。";

// What the output commands keep for the run: the chosen file ("" none) and the number of
// Morita diagrams written to it since it was chosen.
struct OutputFileState {
  std::string Path;
  int MoritaCount = 0;
};

// Creates (truncates) the file at `path` to test it: 0, or 1 with kOutputCreateMessage (UTF-8).
[[nodiscard]] int CreateOutputFile(const std::string& path, std::string& message);

// Appends the cp932 `text` ("\n" line ends) to the file at `path` with CR LF line ends: 0, or 1
// with kOutputAppendMessage when the file cannot be opened or written.
[[nodiscard]] int AppendOutputText(const std::string& path, const std::string& text,
                                   std::string& message);

}  // namespace shogi
