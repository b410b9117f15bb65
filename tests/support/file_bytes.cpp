// A file's bytes for the tests and the fuzz targets.
#include "tests/support/file_bytes.h"

#include <fstream>
#include <sstream>

#include "platform/file_path.h"

namespace shogi::test {

std::string FileBytes(const std::string& path) {
  std::ifstream in(FilePath(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void PutFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(FilePath(path), std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace shogi::test
