// The record file commands; the readers and the writer come from the format table.
#include "shell/record_commands.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "database_files/database_format.h"
#include "platform/file_path.h"
#include "records/kaya.h"
#include "records/palm.h"
#include "shell/file_dialogs.h"
#include "shell/maintenance_commands.h"
#include "shell/navigation.h"
#include "shell/record_notes.h"

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
    {RecordFormat::kEisei, "永世", "永世名人形式の棋譜を読み込む",
     "棋譜ファイル(*.kif)|*.kif|全てのファイル(*.*)|*.*||"},
};

constexpr const char* kSaveKey = "棋譜";
constexpr const char* kSaveTitle = "柿木形式で棋譜を書き込む";
constexpr const char* kSaveFilter = "棋譜ファイル(*.kif)|*.kif|全てのファイル(*.*)|*.*||";
constexpr const char* kOpenTitle = "棋譜ファイルの読み込み";
constexpr const char* kOpenFilter =
    "棋譜ファイル(*.kif;*.csa;*.sho;*.pgn;*.rsk)|*.kif;*.csa;*.sho;*.pgn;*.rsk|CSAファイル(*.csa)|"
    "*.csa|ログファイル(*.log)|*.log|赤富士ファイル(dt*.sin)|dt*.sin|"
    "JSON棋譜ファイル(*.jkf;*.json)|*.jkf;*.json|全てのファイル(*.*)|*.*||";
constexpr const char* kGeneralSaveTitle = "棋譜ファイルの書き込み";
constexpr const char* kGeneralSaveFilter =
    "棋譜ファイル(*.kif;*.csa)|*.kif;*.csa|CSAファイル(*.csa)|*.csa|"
    "JSON棋譜ファイル(*.jkf)|*.jkf|全てのファイル(*.*)|*.*||";
constexpr const char* kKeyLoadFormat = "ロード";
constexpr const char* kKeySaveFormat = "セーブ";
constexpr const char* kPalmKey = "PALM";
constexpr const char* kPalmFilter = "palm棋譜DBファイル(*.PDB)|*.PDB|全てのファイル(*.*)|*.*||";
constexpr const char* kPalmExtension = "PDB";
constexpr const char* kPalmReadTitle = "palm棋譜DBファイルの読み込み";
constexpr const char* kPalmWriteTitle = "palm棋譜DBファイルへの書き込み";

// The combo's texts of a format list.
std::vector<std::string> ListTexts(const RecordFormatRow* (*row_of)(int), int count) {
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) texts.push_back(row_of(i)->ListText);
  return texts;
}

// Puts a record that was read in place of the shown one, at its start.
void InstallRecord(ProgramState& s, const GameRecord& read, ViewUpdate& update) {
  ClearNotes(s);
  s.Record = read;
  s.Record.PlyCount = s.Record.StartIndex;
  s.Record.Clocks[0] = s.Record.Clocks[1] = 0;
  RebuildShown(s);
  s.InteractionState = kStateIdle;
  ClearMessage(s.Message);
  update.Redraw(kViewEverything | kViewFullRefresh);
}

// A command's read of `path` succeeded: the record is installed and the result says so.
void InstallRead(ProgramState& s, const GameRecord& read, const std::string& path,
                 RecordCommandResult& result) {
  InstallRecord(s, read, result.Update);
  result.Loaded = true;
  result.Path = path;
}

void ShowWarning(ShellContext& ctx, const char* caption, const std::string& message) {
  ctx.Ui.ShowMessage(caption, message, MessageButtons::kOk, MessageIcon::kWarning);
}

// The writer of a format whose files take games in place, or nullptr.
auto WritesInPlace(const RecordFormatRow& row) -> decltype(RecordCollection::WriteGame) {
  return row.Collection != nullptr ? row.Collection->WriteGame : nullptr;
}

// A game of a file of several games: the list, then the chosen game. False when nothing was
// read (a message was shown, or the person cancelled).
bool ReadListedRecord(ShellContext& ctx, const RecordFormatRow& row, const std::string& path,
                      ViewUpdate& update) {
  const RecordCollection& collection = *row.Collection;
  if (collection.HasOwnMark != nullptr && FileExists(path) && !collection.HasOwnMark(path) &&
      !AskYesNo(ctx.Ui, kReadCaption, collection.UnmarkedQuestion)) {
    return false;
  }
  std::string header, message;
  std::vector<std::string> rows;
  if (collection.List(path, header, rows, message) != 0) {
    ShowWarning(ctx, kReadCaption, message);
    return false;
  }
  RecordListModel list(collection.ListTitle, header, std::move(rows));
  if (!ctx.Ui.ChooseListedRecord(list) || list.Chosen() == 0) return false;
  GameRecord read = ctx.State.Record;
  if (collection.ReadNumber(path, list.Chosen(), read, message) != 0) {
    ShowWarning(ctx, kReadCaption, kMessageMalformed);
    return false;
  }
  InstallRecord(ctx.State, read, update);
  // The game read is the one a later save may replace in place.
  if (collection.WriteGame != nullptr) {
    ctx.State.Settings.KayaPath = path;
    ctx.State.Settings.KayaRecord = list.Chosen();
  }
  return true;
}

// Whether an existing `target` may be written, and for a file that takes games in place
// ("かや") how. False ends the command.
bool ConfirmSave(ShellContext& ctx, const RecordFormatRow& row, const std::string& target,
                 KayaWriteMode& mode) {
  mode = KayaWriteMode::kNew;
  if (WritesInPlace(row) == nullptr) return MayReplaceFile(ctx.Ui, kWriteCaption, target);
  if (!FileExists(target)) return true;
  switch (ctx.Ui.AskKayaSave()) {
    case KayaSaveChoice::kOverwrite:
      return true;
    case KayaSaveChoice::kAppend:
      mode = KayaWriteMode::kAppend;
      return true;
    case KayaSaveChoice::kReplace: {
      const RunSettings& run = ctx.State.Settings;
      std::error_code error;
      const bool same =
          run.KayaRecord > 0 && !run.KayaPath.empty() &&
          (run.KayaPath == target ||
           std::filesystem::equivalent(FilePath(run.KayaPath), FilePath(target), error));
      if (!same) {
        ShowWarning(ctx, kWriteCaption, kMessageNoReplace);
        return false;
      }
      mode = KayaWriteMode::kReplace;
      return true;
    }
    case KayaSaveChoice::kCancel:
      break;
  }
  return false;
}

const OpenCommand& CommandOf(RecordFormat format) {
  for (const OpenCommand& c : kOpenCommands) {
    if (c.Format == format) return c;
  }
  return kOpenCommands[0];
}

}  // namespace

bool RecordCommandsEnabled(const ProgramState& state) {
  return state.InteractionState == kStateIdle;
}

bool ReadRecordFile(ShellContext& ctx, RecordFormat format, const std::string& path,
                    ViewUpdate& update) {
  GameRecord read = ctx.State.Record;
  RecordTree tree;
  std::string message;
  if (ReadRecord(format, path, read, tree, message) != 0) {
    ctx.Ui.ShowMessage(kReadCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return false;
  }
  InstallRecord(ctx.State, read, update);
  InstallNotes(ctx.State, std::move(tree));
  return true;
}

void InstallReadRecord(ShellContext& ctx, const GameRecord& read, ViewUpdate& update) {
  InstallRecord(ctx.State, read, update);
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
  if (ReadRecordFile(ctx, format, chosen.Path, result.Update)) {
    RememberFileName(profile, settings, command.ProfileKey, chosen.Path);
    result.Loaded = true;
    result.Path = chosen.Path;
  }
  return result;
}

namespace {

// The KIF save dialog and the write, in any state.
RecordCommandResult SaveAsKif(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  RecordCommandResult result;
  FileDialogRequest request;
  request.Title = kSaveTitle;
  request.Filters = ParseFilterText(kSaveFilter);
  request.InitialPath = settings.Files.Record;
  FileDialogResult chosen = ctx.Ui.ChooseSaveFile(request);
  if (!chosen.Chosen || chosen.Path.empty()) return result;
  const RecordFormatRow& kif = RecordFormatRowOf(RecordFormat::kKif);
  const std::string target = WithDefaultExtension(chosen.Path, kif.Extension);
  RememberFileName(profile, settings, kSaveKey, target);

  if (!MayReplaceFile(ctx.Ui, kWriteCaption, target)) return result;
  std::string message;
  GameRecord record;
  RecordTree tree;
  FileRecord(ctx.State, record, tree);
  if (WriteRecord(kif.Format, target, record, tree, true, message) != 0) {
    ctx.Ui.ShowMessage(kWriteCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return result;
  }
  result.Saved = true;
  result.Path = target;
  return result;
}

}  // namespace

RecordCommandResult SaveKifCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  if (!RecordCommandsEnabled(ctx.State)) return {};
  return SaveAsKif(ctx, profile, settings);
}

bool ConfirmClosing(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  if (!RecordUnsaved(ctx.State)) return true;
  switch (ctx.Ui.ShowMessage(kClosingCaption, kUnsavedQuestion, MessageButtons::kYesNoCancel,
                             MessageIcon::kQuestion)) {
    case MessageAnswer::kNo:
      return true;
    case MessageAnswer::kYes:
      if (!SaveAsKif(ctx, profile, settings).Saved) return false;
      MarkRecordSaved(ctx.State);
      return true;
    default:
      return false;
  }
}

RecordCommandResult GeneralOpenCommand(ShellContext& ctx, Profile& profile,
                                       ProgramSettings& settings) {
  RecordCommandResult result;
  if (!RecordCommandsEnabled(ctx.State)) return result;
  RecordFileRequest request;
  request.Title = kOpenTitle;
  request.Filters = ParseFilterText(kOpenFilter);
  request.InitialPath = settings.Files.Record;
  request.Formats = ListTexts(OpenListRow, OpenListSize());
  request.FormatIndex = OpenListRow(settings.LoadFormat) ? settings.LoadFormat : 0;
  if (!ctx.Ui.ChooseRecordFile(request) || request.Path.empty()) return result;
  // A format the person did not pick follows the file's extension, where one names it.
  if (!request.FormatChosen && OpenListIndexForPath(request.Path) >= 0) {
    request.FormatIndex = OpenListIndexForPath(request.Path);
  }
  RememberFileName(profile, settings, kSaveKey, request.Path);
  settings.LoadFormat = request.FormatIndex;
  profile.WriteInt(kSectionKinds, kKeyLoadFormat, request.FormatIndex);

  const RecordFormatRow* row = OpenListRow(request.FormatIndex);
  if (row != nullptr && row->Collection != nullptr && row->Collection->YearbookData &&
      YearbookModeOn(settings)) {
    result.Update = YearbookCommand(ctx);
    return result;
  }
  if (row == nullptr) {
    ShowWarning(ctx, kReadCaption, kMessageUnsupportedFormat);
    return result;
  }
  // A format without a reader answers "この棋譜形式はサポートしてません。".
  const bool read = row->Collection != nullptr
                        ? ReadListedRecord(ctx, *row, request.Path, result.Update)
                        : ReadRecordFile(ctx, row->Format, request.Path, result.Update);
  if (read) {
    result.Loaded = true;
    result.Path = request.Path;
  }
  return result;
}

RecordCommandResult GeneralSaveCommand(ShellContext& ctx, Profile& profile,
                                       ProgramSettings& settings) {
  RecordCommandResult result;
  if (!RecordCommandsEnabled(ctx.State)) return result;
  RunSettings& run = ctx.State.Settings;
  RecordFileRequest request;
  request.Save = true;
  request.Title = kGeneralSaveTitle;
  request.Filters = ParseFilterText(kGeneralSaveFilter);
  request.InitialPath = settings.Files.Record;
  request.Formats = ListTexts(SaveListRow, SaveListSize());
  request.FormatIndex = SaveListRow(settings.SaveFormat) ? settings.SaveFormat : 0;
  request.StoreTimes = run.StoreTimes;
  if (!ctx.Ui.ChooseRecordFile(request) || request.Path.empty()) return result;
  const RecordFormatRow* row = SaveListRow(request.FormatIndex);
  const std::string target = row != nullptr && row->Extension[0] != '\0'
                                 ? WithDefaultExtension(request.Path, row->Extension)
                                 : request.Path;
  RememberFileName(profile, settings, kSaveKey, target);
  settings.SaveFormat = request.FormatIndex;
  profile.WriteInt(kSectionKinds, kKeySaveFormat, request.FormatIndex);
  run.StoreTimes = request.StoreTimes;
  if (row == nullptr || row->Write == nullptr) {
    ShowWarning(ctx, kWriteCaption, kMessageUnsupportedFormat);
    return result;
  }

  KayaWriteMode mode = KayaWriteMode::kNew;
  if (!ConfirmSave(ctx, *row, target, mode)) return result;
  std::string message;
  GameRecord record;
  RecordTree tree;
  FileRecord(ctx.State, record, tree);
  const auto write_game = WritesInPlace(*row);
  const int failed = write_game != nullptr
                         ? write_game(target, record, mode, run.KayaRecord, message)
                         : WriteRecord(row->Format, target, record, tree, run.StoreTimes, message);
  if (failed != 0) {
    ShowWarning(ctx, kWriteCaption, message);
    return result;
  }
  if (write_game != nullptr) {
    run.KayaPath = target;
    if (mode != KayaWriteMode::kReplace) run.KayaRecord = 1;
  }
  result.Saved = true;
  result.Path = target;
  return result;
}

namespace {

// The progress box's text for `download`.
std::string DownloadProgressText(const std::string& url, const HttpDownload& download) {
  char text[128];
  if (download.Received() == 0)
    std::snprintf(text, sizeof text, "%s", kUrlConnecting);
  else if (download.Expected() >= 0)
    std::snprintf(text, sizeof text, kUrlReceivingOf, download.Received(), download.Expected());
  else
    std::snprintf(text, sizeof text, kUrlReceiving, download.Received());
  return url + "\n" + text;
}

// Downloads `url` while the window's messages are taken between short polls, with the
// progress box up until it ends; the person's キャンセル ends it at once.
DownloadState DownloadWithProgress(ShellContext& ctx, const std::string& url,
                                   const HttpLimits& limits, std::string& body) {
  HttpDownload download;
  if (!download.Start(url, limits)) return download.State();
  while (download.State() == DownloadState::kRunning) {
    if (!ctx.Ui.ShowProgress(kUrlCaption, DownloadProgressText(url, download))) {
      download.Cancel();
      break;
    }
    if (download.Poll(kDownloadPollMs) == DownloadState::kRunning) ctx.View.PumpMessages();
  }
  ctx.Ui.EndProgress();
  body = download.Body();
  return download.State();
}

}  // namespace

RecordCommandResult UrlOpenCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings,
                                   RecordFormat format, const HttpLimits& limits) {
  RecordCommandResult result;
  if (!RecordCommandsEnabled(ctx.State)) return result;
  const bool kif = format == RecordFormat::kKif;
  std::string& last = kif ? settings.UrlKakinoki : settings.UrlCsa;
  std::string url = last;
  if (!ctx.Ui.InputUrl(url)) return result;
  last = url;
  profile.WriteString(kSectionUrl, kif ? "柿木" : "CSA", url);

  std::string body;
  const DownloadState state = DownloadWithProgress(ctx, url, limits, body);
  if (state != DownloadState::kDone) {
    if (state != DownloadState::kCancelled) ShowWarning(ctx, kUrlCaption, UrlFailureMessage(state));
    return result;
  }
  MemoryByteStream stream(body);
  GameRecord read = ctx.State.Record;
  RecordTree tree;
  std::string message;
  const RecordFormatRow& row = RecordFormatRowOf(format);
  // The comments and variations come along where the format keeps them.
  const int failed = row.Notes != nullptr && row.Notes->ReadUrl != nullptr
                         ? row.Notes->ReadUrl(stream, false, read, tree, message)
                         : row.ReadUrl(stream, read, message);
  if (failed != 0) {
    ShowWarning(ctx, kUrlCaption, message);
    return result;
  }
  InstallRead(ctx.State, read, url, result);
  InstallNotes(ctx.State, std::move(tree));
  return result;
}

namespace {

// The Palm commands' file dialog, from the path kept under "PALM"; false when the person
// cancelled, or declined to write over an existing file.
bool ChoosePalmFile(ShellContext& ctx, const ProgramSettings& settings, bool save,
                    std::string& path) {
  FileDialogRequest request;
  request.Title = save ? kPalmWriteTitle : kPalmReadTitle;
  request.Filters = ParseFilterText(kPalmFilter);
  request.InitialPath = settings.Files.Palm;
  const FileDialogResult chosen =
      save ? ctx.Ui.ChooseSaveFile(request) : ctx.Ui.ChooseOpenFile(request);
  if (!chosen.Chosen || chosen.Path.empty()) return false;
  path = save ? WithDefaultExtension(chosen.Path, kPalmExtension) : chosen.Path;
  return !save || MayReplaceFile(ctx.Ui, kPalmCaption, path);
}

// The Tarvel lists of the program folder, which name the Palm game's tournament and opening.
DatabaseNames PalmNames(const ProgramSettings& settings) {
  DatabaseNames names;
  LoadDatabaseNames(kTarvelFormat, settings.Folder, names);
  return names;
}

}  // namespace

RecordCommandResult PalmReadCommand(ShellContext& ctx, Profile& profile,
                                    ProgramSettings& settings) {
  RecordCommandResult result;
  std::string path;
  if (!RecordCommandsEnabled(ctx.State) || !ChoosePalmFile(ctx, settings, false, path))
    return result;
  GameRecord read = ctx.State.Record;
  std::string message;
  if (ReadPalm(path, PalmNames(settings), read, message) != 0) {
    ShowWarning(ctx, kPalmCaption, message);
    return result;
  }
  RememberFileName(profile, settings, kPalmKey, path);
  InstallRead(ctx.State, read, path, result);
  return result;
}

RecordCommandResult PalmWriteCommand(ShellContext& ctx, Profile& profile,
                                     ProgramSettings& settings) {
  RecordCommandResult result;
  std::string path;
  if (!RecordCommandsEnabled(ctx.State) || !ChoosePalmFile(ctx, settings, true, path))
    return result;
  RememberFileName(profile, settings, kPalmKey, path);
  std::string message;
  const int failed = WritePalm(path, PalmNames(settings), ctx.State.Record, message);
  ctx.Ui.ShowMessage(kPalmCaption, message, MessageButtons::kOk,
                     failed ? MessageIcon::kWarning : MessageIcon::kInformation);
  result.Saved = failed == 0;
  if (result.Saved) result.Path = path;
  return result;
}

ViewUpdate TimeUsedCommand(ShellContext& ctx) {
  return EditTimeUsed(ctx, [&ctx](GameRecord& record) {
    TimeEditor editor(record);
    if (!ctx.Ui.EditTimes(editor)) return false;
    editor.Apply(record);
    return true;
  });
}

}  // namespace shogi
