// Shared-library loading: dlopen/dlsym, or LoadLibrary/GetProcAddress on Windows.
#include "platform/dynamic_library.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_path.h"
#else
#include <dlfcn.h>
#endif

namespace shogi {

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

#ifdef _WIN32

int DynamicLibrary::Load(const std::string& path, std::string& message) {
  Unload();
  // No "cannot find the library" box from the system: a missing library is a normal case
  // that the caller handles.
  const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryW(WidePath(path).c_str());
  const DWORD error = module ? 0 : GetLastError();
  SetErrorMode(old_mode);
  if (!module) {
    message = "cannot load " + path + " (system error " + std::to_string(error) + ")";
    return 1;
  }
  handle_ = module;
  return 0;
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void DynamicLibrary::Unload() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

#else

int DynamicLibrary::Load(const std::string& path, std::string& message) {
  Unload();
  // RTLD_NOW: a library with unresolved references fails here, not in the middle of a game.
  // RTLD_LOCAL: its exports do not leak into later lookups of other libraries.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    message = reason ? reason : "cannot load " + path;
    return 1;
  }
  handle_ = handle;
  return 0;
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (!handle_) return nullptr;
  dlerror();  // a stale error must not be mistaken for this lookup's
  return dlsym(handle_, name);
}

void DynamicLibrary::Unload() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

#endif

}  // namespace shogi
