// What the commands share around the platform's file dialogs: a filter list from its text
// form, a dialog's request, the default extension of a chosen name and the question before a
// file is written over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/user_interface.h"

namespace shogi {

// The filter list of a file dialog from its text form "caption|pattern|...||".
std::vector<FileFilter> ParseFilterText(std::string_view text);

// A file dialog's request: its title, its filter list from the text form, the path it starts at.
FileDialogRequest FileRequestOf(const char* title, const char* filter, const std::string& current);

// A path chosen in a file dialog, with "." + `extension` added when its name has none (the
// dialogs' default extension).
std::string WithDefaultExtension(const std::string& path, std::string_view extension);

// Whether the file at `path` may be written over: true when there is none, else the person's
// answer to "ファイルがすでに存在します。\n上書きしてもよろしいですか？" captioned `caption`.
// Every command that writes a file chosen in a save dialog asks it before the file is touched.
[[nodiscard]] bool MayReplaceFile(UserInterface& ui, const char* caption, const std::string& path);

}  // namespace shogi
