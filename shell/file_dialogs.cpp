// The file dialogs' shared helpers.
#include "shell/file_dialogs.h"

#include <filesystem>

#include "platform/file_path.h"

namespace shogi {
namespace {

constexpr const char* kOverwriteQuestion =
    "ファイルがすでに存在します。\n上書きしてもよろしいですか？";

}  // namespace

bool MayReplaceFile(UserInterface& ui, const char* caption, const std::string& path) {
  return !FileExists(path) || AskYesNo(ui, caption, kOverwriteQuestion);
}

FileDialogRequest FileRequestOf(const char* title, const char* filter, const std::string& current) {
  FileDialogRequest request;
  request.Title = title;
  request.Filters = ParseFilterText(filter);
  request.InitialPath = current;
  return request;
}

std::vector<FileFilter> ParseFilterText(std::string_view text) {
  std::vector<FileFilter> filters;
  while (!text.empty()) {
    std::size_t bar = text.find('|');
    if (bar == 0 || bar == std::string_view::npos) break;
    std::string_view caption = text.substr(0, bar);
    text.remove_prefix(bar + 1);
    bar = text.find('|');
    std::string_view pattern = text.substr(0, bar);
    filters.push_back({std::string(caption), std::string(pattern)});
    if (bar == std::string_view::npos) break;
    text.remove_prefix(bar + 1);
  }
  return filters;
}

std::string WithDefaultExtension(const std::string& path, std::string_view extension) {
  std::filesystem::path with = FilePath(path);
  if (!with.has_extension()) with += "." + std::string(extension);
  return PathText(with);
}

}  // namespace shogi
