// The record file commands; the readers and the writer come from the format table.
#include "shell/record_commands.h"

#include <filesystem>
#include <system_error>

namespace shogi {
namespace {

struct OpenCommand {
  RecordFormat Format;
  const char* ProfileKey;
  const char* Title;
  const char* Filter;
};
constexpr OpenCommand kOpenCommands[] = {
    {RecordFormat::kKif, "柿木", "柿木形式の棋譜を読み込む",
     "棋譜ファイル(*.kif)|*.kif|全てのファイル(*.*)|*.*||"},
    {RecordFormat::kKi2, "柿木2", "柿木形式(ki2)の棋譜を読み込む",
     "棋譜ファイル(*.ki2)|*.ki2|全てのファイル(*.*)|*.*||"},
    {RecordFormat::kCsa, "CSA", "CSA形式の棋譜を読み込む",
     "棋譜ファイル(*.csa)|*.csa|全てのファイル(*.*)|*.*||"},
};

constexpr const char* kSaveKey = "棋譜";
constexpr const char* kSaveTitle = "柿木形式で棋譜を書き込む";
constexpr const char* kSaveFilter = "棋譜ファイル(*.kif)|*.kif|全てのファイル(*.*)|*.*||";
constexpr const char* kOverwriteQuestion =
    "ファイルがすでに存在します。\n上書きしてもよろしいですか？";

const OpenCommand& CommandOf(RecordFormat format) {
  for (const OpenCommand& c : kOpenCommands) {
    if (c.Format == format) return c;
  }
  return kOpenCommands[0];
}

}  // namespace

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
  std::filesystem::path with(path);
  if (!with.has_extension()) with += "." + std::string(extension);
  return with.string();
}

bool RecordCommandsEnabled(const ProgramState& state) {
  return state.InteractionState == kStateIdle;
}

bool ReadRecordFile(ShellContext& ctx, RecordFormat format, const std::string& path,
                    ViewUpdate& update) {
  GameRecord read = ctx.State.Record;
  std::string message;
  if (ReadRecord(format, path, read, message) != 0) {
    ctx.Ui.ShowMessage(kReadCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  }
  InstallReadRecord(ctx, read, update);
  return true;
}

void InstallReadRecord(ShellContext& ctx, const GameRecord& read, ViewUpdate& update) {
  ProgramState& s = ctx.State;
  s.Record = read;
  s.Record.PlyCount = s.Record.StartIndex;
  s.Record.Clocks[0] = s.Record.Clocks[1] = 0;
  RebuildShown(s);
  s.InteractionState = kStateIdle;
  ClearMessage(s.Message);
  update.Redraw(kViewEverything | kViewFullRefresh);
}

RecordCommandResult ReadRecordCommand(ShellContext& ctx, Profile& profile,
                                      ProgramSettings& settings, RecordFormat format) {
  RecordCommandResult result;
  if (!RecordCommandsEnabled(ctx.State)) return result;
  const OpenCommand& command = CommandOf(format);
  FileDialogRequest request;
  request.Title = command.Title;
  request.Filters = ParseFilterText(command.Filter);
  const std::string* last = FileNameSlot(settings.Files, command.ProfileKey);
  request.InitialPath = last ? *last : settings.Folder;
  FileDialogResult chosen = ctx.Ui.ChooseOpenFile(request);
  if (!chosen.Chosen || chosen.Path.empty()) return result;
  RememberFileName(profile, settings, command.ProfileKey, chosen.Path);
  if (ReadRecordFile(ctx, format, chosen.Path, result.Update)) {
    result.Loaded = true;
    result.Path = chosen.Path;
  }
  return result;
}

RecordCommandResult SaveKifCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  RecordCommandResult result;
  if (!RecordCommandsEnabled(ctx.State)) return result;
  FileDialogRequest request;
  request.Title = kSaveTitle;
  request.Filters = ParseFilterText(kSaveFilter);
  request.InitialPath = settings.Files.Record;
  FileDialogResult chosen = ctx.Ui.ChooseSaveFile(request);
  if (!chosen.Chosen || chosen.Path.empty()) return result;
  const RecordFormatRow& kif = RecordFormatRowOf(RecordFormat::kKif);
  const std::string target = WithDefaultExtension(chosen.Path, kif.Extension);
  RememberFileName(profile, settings, kSaveKey, target);

  std::error_code error;
  if (std::filesystem::exists(target, error) &&
      !AskYesNo(ctx.Ui, kWriteCaption, kOverwriteQuestion)) {
    return result;
  }
  std::string message;
  if (WriteRecord(kif.Format, target, ctx.State.Record, true, message) != 0) {
    ctx.Ui.ShowMessage(kWriteCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return result;
  }
  result.Saved = true;
  result.Path = target;
  return result;
}

}  // namespace shogi
