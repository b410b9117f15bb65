// A shared library loaded at run time by path, with its exports looked up by name.
#pragma once

#include <string>

namespace shogi {

// The file-name suffix of a shared library on this platform (".dll" on Windows, ".so"
// elsewhere): the program's documents name the thinking library "sikou.dll" and every other
// platform puts its own suffix in the place of ".dll".
#ifdef _WIN32
inline constexpr const char* kSharedLibrarySuffix = ".dll";
#else
inline constexpr const char* kSharedLibrarySuffix = ".so";
#endif

// Owns one loaded library; unloading (or destruction) releases it. Moving hands the handle
// on; copying is not allowed, since two owners would unload it twice.
class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary() { Unload(); }
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept : handle_(other.handle_) {
    other.handle_ = nullptr;
  }
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

  // Loads the library at `path` (in the file system's own encoding; cp932 on Windows),
  // releasing any library held before. A path without a directory part is searched for the
  // way the platform searches for libraries, so callers that mean a file pass a directory.
  // Nonzero with the system's reason in `message` when the file is missing or not a library.
  [[nodiscard]] int Load(const std::string& path, std::string& message);

  // The address of the export `name`, or nullptr when the library has none of that name (or
  // nothing is loaded).
  void* Symbol(const char* name) const;

  bool Loaded() const { return handle_ != nullptr; }

  // Releases the library; every address taken from it is dangling afterwards.
  void Unload();

 private:
  void* handle_ = nullptr;
};

}  // namespace shogi
