// The output text file: creating it to test the choice, appending diagrams to it.
#include "output/output_file.h"

#include <cstdio>

#include "output/text_diagram.h"
#include "platform/file_path.h"

namespace shogi {

int CreateOutputFile(const std::string& path, std::string& message) {
  std::FILE* f = path.empty() ? nullptr : OpenFile(path, "wb");
  if (f == nullptr || std::fclose(f) != 0) {
    message = kOutputCreateMessage;
    return 1;
  }
  return 0;
}

int AppendOutputText(const std::string& path, const std::string& text, std::string& message) {
  std::FILE* f = path.empty() ? nullptr : OpenFile(path, "ab");
  if (f == nullptr) {
    message = kOutputAppendMessage;
    return 1;
  }
  const std::string bytes = WithCrLf(text);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !written) {
    message = kOutputAppendMessage;
    return 1;
  }
  return 0;
}

}  // namespace shogi
