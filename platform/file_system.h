// The few file-system calls that the crash-safe writers (ReplacingFile, FileTransaction) are
// built on, for POSIX systems and for Windows: files created new and written through a handle,
// flushed to the disk, renamed over others in one step; folders made, synced and removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace shogi::file_system {

using Handle = std::intptr_t;  // a descriptor, or a HANDLE on Windows
constexpr Handle kNoHandle = -1;

enum class CreateResult { kCreated, kNameTaken, kFailed };

// Creates the file `path` for writing; a file that is already there is never opened
// (kNameTaken). The new file gets the permissions of `like` when that is a file.
CreateResult CreateNew(const std::string& path, const std::string& like, Handle& handle);

// Writes all of `bytes` at the file's end, or at `offset`.
bool WriteAll(Handle handle, std::string_view bytes);
bool WriteAllAt(Handle handle, std::uint64_t offset, std::string_view bytes);
// Waits until what was written is on the disk.
bool FlushToDisk(Handle handle);
bool Close(Handle handle);

// Renames `from` over `to` in one step (the old `to` goes in the same step) and makes the
// change durable. False when the rename did not happen.
bool MoveOver(const std::string& from, const std::string& to);
// Removes a file; false when it is still there.
bool RemoveFile(const std::string& path);

bool MakeFolder(const std::string& path);
bool RemoveFolder(const std::string& path);  // an empty folder
// Makes the entries of folder `path` durable (nothing to do on Windows).
void SyncFolder(const std::string& path);
// The folder of `path` ("." for a bare name).
std::string FolderOf(const std::string& path);

enum class Kind { kMissing, kFile, kFolder, kOther };
Kind KindOf(const std::string& path);

// Whether `a` and `b` name one and the same existing file (device and file number on POSIX,
// volume and file index on Windows), however their paths are written.
bool SameFile(const std::string& a, const std::string& b);

int ProcessId();

}  // namespace shogi::file_system
