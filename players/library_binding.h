// The thinking library's binding: the program folder, loading sikou from it at start-up,
// the binding flags, the stubs, and unloading when the view goes away.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/dynamic_library.h"
#include "players/library_player.h"

namespace shogi {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The longest working directory (in bytes) that the program folder is built from.
constexpr std::size_t kProgramFolderMaxLength = 199;

// The program folder made from a working directory: the directory with the separator
// appended, except for a root that already ends in one (a three-character drive root such
// as "C:\", or "/"). A directory that is empty or longer than 199 bytes gives "." and the
// separator, a relative name of the same directory, rather than a cut-off name of another.
std::string ProgramFolderFrom(std::string_view working_directory, char separator = kPathSeparator);

// The program folder of the current working directory (taken once, at start-up).
std::string CurrentProgramFolder();

// Where the library is looked for: the folder, "sikou" and the platform's suffix (".dll" on
// Windows, ".so" elsewhere).
std::string LibraryPathIn(std::string_view program_folder);

// What the view owns: created with the stubs in place, bound once at start-up, unloaded at
// destruction (or by Unload, after which the stubs are back and the flags 0). Player() is
// the computer side for ShellContext::Library; it stays valid for the binding's lifetime and
// always calls the entry points bound at the moment.
class LibraryBinding {
 public:
  LibraryBinding();
  ~LibraryBinding() { Unload(); }
  LibraryBinding(const LibraryBinding&) = delete;
  LibraryBinding& operator=(const LibraryBinding&) = delete;

  // Loads LibraryPathIn(program_folder) and binds "sikou_ini", "sikou" and "sikou_end"; each
  // one found replaces its stub and adds its flag (1, 4, 2). Returns the flags: 0 when the
  // library could not be loaded (LoadMessage() says why), the stubs then remain.
  int Bind(std::string_view program_folder);
  // The same for a library file given by path; a bare file name means the file in the
  // working directory, not one found along the system's library path.
  int BindFile(const std::string& path);

  int Flags() const { return entries_.Flags; }
  bool Loaded() const { return library_.Loaded(); }
  const std::string& LoadMessage() const { return load_message_; }

  const SikouEntryPoints& EntryPoints() const { return entries_; }
  ComputerPlayer& Player() { return player_; }

  void Unload();

 private:
  DynamicLibrary library_;
  SikouEntryPoints entries_;
  LibraryPlayer player_{entries_};
  std::string load_message_;
};

}  // namespace shogi
