// Opening a text file in the desktop's text editor: the editor runs on its own, and the
// program goes on without waiting for it.
#pragma once

#include <string>

namespace shogi {

// Starts the desktop's editor on the file at `path` (in the file system's own encoding):
// "notepad.exe" through the shell's "open" on Windows, `xdg-open PATH` elsewhere, started
// detached with the path as its one argument (never through a shell). False when the editor
// could not be started; whether it then opens the file is the editor's affair.
[[nodiscard]] bool OpenInTextEditor(const std::string& path);

}  // namespace shogi
