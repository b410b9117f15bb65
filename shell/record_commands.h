// The file menu's record commands for the formats at hand: reading a Kakinoki KIF, a KI2 or
// a CSA record with their own file dialogs, and saving the record as KIF. Each remembers its
// last path in the profile and reports failures in a box captioned "棋譜読み込み" or
// "棋譜書き込み".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/http_client.h"
#include "platform/profile.h"
#include "platform/user_interface.h"
#include "records/record_format.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kReadCaption = "棋譜読み込み";
inline constexpr const char* kWriteCaption = "棋譜書き込み";
inline constexpr const char* kUrlCaption = "URL棋譜読み込み";
// The progress box of a download: the URL, then how far it has come.
inline constexpr const char kUrlConnecting[] = "接続しています…";
inline constexpr const char kUrlReceiving[] = "受信しています… %zuバイト";
inline constexpr const char kUrlReceivingOf[] = "受信しています… %zu／%lldバイト";
// How often a download is polled between two turns of the window's messages.
constexpr int kDownloadPollMs = 50;
inline constexpr const char kMessageNoReplace[] = "修正登録は、出来ません。";
inline constexpr const char kKayaSaveQuestion[] =
    "ファイルがすでに存在します。\n処理を選択してください。";

// What a record command did; the window shows `Path` in its title after a read or a save.
struct RecordCommandResult {
  ViewUpdate Update;
  bool Loaded = false;  // a record was read and installed
  bool Saved = false;
  std::string Path;
};

// Whether the record commands may run: only while idle (never in a game, in set-up, during
// a replay or while the computer thinks).
[[nodiscard]] bool RecordCommandsEnabled(const ProgramState& state);

// "読み込み（柿木）", "読み込み（柿木2）平手のみ", "読み込み(CSA)": the file dialog with the
// format's filter and title, starting from the last path of that format; on OK the file is
// read, and once it was, the path is remembered and the read record replaces the shown one
// at its start.
RecordCommandResult ReadRecordCommand(ShellContext& ctx, Profile& profile,
                                      ProgramSettings& settings, RecordFormat format);

// Installs a record a reader filled: shown at its start with both clocks 0, the program
// idle, the message area cleared.
void InstallReadRecord(ShellContext& ctx, const GameRecord& read, ViewUpdate& update);

// Reads `path` in `format` and installs it; false (record unchanged) with the reader's
// message shown captioned "棋譜読み込み".
[[nodiscard]] bool ReadRecordFile(ShellContext& ctx, RecordFormat format, const std::string& path,
                                  ViewUpdate& update);

// The KIF save: the save dialog starting from the last path of the own format ("棋譜"),
// ".kif" added to a name without an extension, a question before an existing file is
// replaced, the consumed times stored.
RecordCommandResult SaveKifCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings);

// Before the program ends: a record with changes never read from or written to a file (a
// game played, moves entered, a record pasted) is offered to be saved: "はい" the KIF save
// dialog, "いいえ" end without it, "キャンセル" stay. False when the program stays, also when
// the save was cancelled or failed.
inline constexpr const char* kClosingCaption = "終了";
inline constexpr const char* kUnsavedQuestion = "棋譜が保存されていません。\n保存しますか？";
[[nodiscard]] bool ConfirmClosing(ShellContext& ctx, Profile& profile, ProgramSettings& settings);

// "読み込み": CSpecialFileDialog with the 22 read formats; on OK the path ("棋譜") and the
// format index ("種類" / "ロード") are remembered, then the chosen format's reader runs (the
// combo, never the name or the contents, chooses it). A file of several games shows its list
// first ("かや" asks before a file without its "##" line); "赤富士" with the yearbook mode
// on opens the yearbook import instead.
RecordCommandResult GeneralOpenCommand(ShellContext& ctx, Profile& profile,
                                       ProgramSettings& settings);

// "書き込み": CSpecialFileDialog with the 5 write formats and "消費時間の格納"; the path, the
// format index ("セーブ") and the check box are remembered (the check box for the run only).
// An existing file is overwritten only after the question; for "かや" the four-way question,
// whose 修正登録 replaces the game last read from or written to this very file.
RecordCommandResult GeneralSaveCommand(ShellContext& ctx, Profile& profile,
                                       ProgramSettings& settings);

// "URL読み込み（柿木）" and "URL読み込み（CSA）": CUrlDlg over the last URL of the format
// (section "URL"), the download within `limits`, the format's URL reader. The download goes
// on while the window's messages are taken, with the progress box showing the bytes come so
// far; its キャンセル ends the download at once and the command with no further box. A
// download that runs out of time shows "指定URLから時間内に応答がありません。", any other
// failure "指定URLが存在しません。", captioned "URL棋譜読み込み"; the record stays.
RecordCommandResult UrlOpenCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings,
                                   RecordFormat format, const HttpLimits& limits = {});

// "palm読込" and "palm書込": the file dialog, the Palm file read or written with the Tarvel
// lists of the program folder (an existing file written only after the question of
// MayReplaceFile), the path remembered under "PALM" once read or written; messages
// captioned "PALM" (the write's always).
RecordCommandResult PalmReadCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings);
RecordCommandResult PalmWriteCommand(ShellContext& ctx, Profile& profile,
                                     ProgramSettings& settings);

// "消費時間": the time-used editor over the shown record; on ＯＫ the move times are rebuilt
// and the clocks taken from them.
ViewUpdate TimeUsedCommand(ShellContext& ctx);

}  // namespace shogi
