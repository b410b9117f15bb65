// The handlers of the Tarvel menu's conversion items.
#include "shell/conversion_commands.h"

#include <filesystem>
#include <system_error>

#include "database/jsk_book.h"
#include "platform/file_path.h"
#include "shell/database_command_scope.h"
#include "shell/database_commands.h"
#include "shell/file_dialogs.h"

namespace shogi {
namespace {

void ShowWarning(ShellContext& ctx, const char* caption, const std::string& text) {
  ctx.Ui.ShowMessage(caption, text, MessageButtons::kOk, MessageIcon::kWarning);
}

// The source database a conversion item's dialog chose: false when cancelled or refused
// (the refusal shown with `caption`).
bool ChooseSource(ShellContext& ctx, ProgramSettings& settings, const DatabaseFormat& format,
                  const char* title, const char* file_key, const char* caption,
                  DatabasePaths& paths) {
  const std::optional<std::string> chosen =
      AskDatabaseFileName(ctx, settings, MenuKindOf(format.Kind).Dialog, title, file_key);
  if (!chosen) return false;
  std::string message;
  if (DatabasePathsOf(*chosen, paths, message) != 0) {
    ShowWarning(ctx, caption, message);
    return false;
  }
  return true;
}

}  // namespace

ViewUpdate ConvertDatabaseCommand(ShellContext& ctx, ProgramSettings& settings,
                                  const DatabaseConversion& conversion) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  DatabasePaths paths;
  if (!ChooseSource(ctx, settings, *conversion.From, conversion.DialogTitle,
                    conversion.SourceFileKey, conversion.Caption, paths))
    return {};
  GameDatabase source;
  std::string message;
  if (OpenConversionSource(conversion, paths, source, message) != 0) {
    ShowWarning(ctx, conversion.Caption, message);
    return {};
  }
  if (ConversionTargetExists(conversion, paths) &&
      !AskYesNo(ctx.Ui, conversion.Caption, kConvertOverwriteQuestion))
    return {};
  {
    DatabaseCommandScope running(ctx.State, ctx.View, kConvertingProgress);
    int games = 0;
    if (ConvertDatabase(conversion, source, paths, settings.Folder, games, WindowProgress(ctx.View),
                        message) != 0) {
      ShowWarning(ctx, conversion.Caption, message);
      return {};
    }
  }
  ForgetRewrittenDatabase(ctx.State, *conversion.To, paths);
  if (!conversion.AsksForLists) return {};
  for (const ConvertedList& list : kConvertedLists) {
    if (AskYesNo(ctx.Ui, conversion.Caption, list.Question) &&
        WriteConvertedList(list, settings.Folder, message) != 0)
      ShowWarning(ctx, conversion.Caption, message);
  }
  return {};
}

ViewUpdate WriteJskCommand(ShellContext& ctx, ProgramSettings& settings) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  DatabasePaths paths;
  if (!ChooseSource(ctx, settings, kTarvelFormat, kJskDialogTitle, "Tarvel", kJskCaption, paths))
    return {};
  GameDatabase source;
  std::string message;
  if (OpenJskSource(paths, source, message) != 0) {
    ShowWarning(ctx, kJskCaption, message);
    return {};
  }
  const std::string book = paths.WithExtension("JSK");
  if (FileExists(book) && !AskYesNo(ctx.Ui, kJskCaption, kJskOverwriteQuestion)) return {};
  DatabaseCommandScope running(ctx.State, ctx.View, kConvertingProgress);
  if (WriteJskBook(source, book, WindowProgress(ctx.View), message) != 0)
    ShowWarning(ctx, kJskCaption, message);
  return {};
}

ViewUpdate ChooseJskFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  FileDialogRequest request;
  request.Title = kJskFileTitle;
  request.Filters = ParseFilterText(kJskFileFilter);
  request.InitialPath = settings.Files.Book;
  const FileDialogResult answer = ctx.Ui.ChooseOpenFile(request);
  if (answer.Chosen) RememberFileName(profile, settings, "定跡", answer.Path);
  return {};
}

}  // namespace shogi
