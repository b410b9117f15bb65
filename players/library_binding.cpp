// The thinking library's binding.
#include "players/library_binding.h"

#include <filesystem>
#include <system_error>

#include "platform/file_path.h"

namespace shogi {
namespace {

bool IsRootDirectory(std::string_view dir, char separator) {
  if (dir.size() == 1) return dir[0] == separator;
  // A drive root: a letter, a colon and the separator. On Windows no other working
  // directory has three characters or ends in a separator.
  return dir.size() == 3 && dir[1] == ':' && dir[2] == separator;
}

bool HasDirectoryPart(const std::string& path) {
#ifdef _WIN32
  return path.find_first_of("\\/:") != std::string::npos;
#else
  return path.find('/') != std::string::npos;
#endif
}

}  // namespace

std::string ProgramFolderFrom(std::string_view working_directory, char separator) {
  if (working_directory.empty() || working_directory.size() > kProgramFolderMaxLength) {
    return std::string(1, '.') + separator;
  }
  std::string folder(working_directory);
  if (!IsRootDirectory(folder, separator)) folder += separator;
  return folder;
}

std::string CurrentProgramFolder() {
  std::error_code error;
  const std::filesystem::path cwd = std::filesystem::current_path(error);
  return ProgramFolderFrom(error ? std::string() : PathText(cwd));
}

std::string LibraryPathIn(std::string_view program_folder) {
  std::string path =
      program_folder.empty() ? std::string(1, '.') + kPathSeparator : std::string(program_folder);
  return path + "sikou" + kSharedLibrarySuffix;
}

LibraryBinding::LibraryBinding() : entries_(StubEntryPoints()) {}

int LibraryBinding::Bind(std::string_view program_folder) {
  return BindFile(LibraryPathIn(program_folder));
}

int LibraryBinding::BindFile(const std::string& path) {
  Unload();
  const std::string file =
      HasDirectoryPart(path) ? path : std::string(1, '.') + kPathSeparator + path;
  if (library_.Load(file, load_message_) != 0) return 0;
  load_message_.clear();
  int flags = 0;
  if (void* ini = library_.Symbol("sikou_ini")) {
    entries_.Ini = reinterpret_cast<sikou_ini_function>(ini);
    flags += kBoundSikouIni;
  }
  if (void* think = library_.Symbol("sikou")) {
    entries_.Think = reinterpret_cast<sikou_function>(think);
    flags += kBoundSikou;
  }
  if (void* end = library_.Symbol("sikou_end")) {
    entries_.End = reinterpret_cast<sikou_end_function>(end);
    flags += kBoundSikouEnd;
  }
  entries_.Flags = flags;
  return flags;
}

void LibraryBinding::Unload() {
  // The stubs come back before the library goes, so no call can reach unmapped code.
  entries_ = StubEntryPoints();
  library_.Unload();
}

}  // namespace shogi
