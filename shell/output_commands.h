// The output menu (the output file, the text diagrams to the file or the clipboard), the print
// commands (棋譜印刷, 局面図印刷 and the framework's print, preview and printer set-up) and
// "詰将棋->BMP" with the UI-free side of its dialog.
#pragma once

#include <string>

#include "output/one_bit_picture.h"
#include "platform/profile.h"
#include "shell/command_row.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kOutputFileTitle = "出力ファイル名の設定";
inline constexpr const char* kOutputFileFilter =
    "出力ファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*||";
inline constexpr const char* kOutputFileCaption = "出力ファイル名設定";
inline constexpr const char* kClipboardMessage = "クリップボードに作成しました。";
inline constexpr const char* kClipboardFailedMessage = "クリップボードに作成できませんでした。";
inline constexpr const char* kProblemBitmapCaption = "詰将棋--->BMP";
inline constexpr const char* kProblemBitmapTitle = "BMPファイル名の設定";
inline constexpr const char* kProblemBitmapFilter =
    "BMPファイル(*.bmp)|*.bmp|全てのファイル(*.*)|*.*||";
inline constexpr const char* kProblemLabelMessage = "棋士名は6バイト以内で入力してください。";

// The texts of the output menu, by their captions.
enum class OutputText { kStandard, kMail, kKaya, kMerged, kMorita, kRecord };
// The menu label of a text, which also captions its messages ("標準局面図" …).
const char* OutputTextLabel(OutputText kind);

// The output commands look at the shown position: idle, or a game waiting for the person.
[[nodiscard]] bool OutputEnabled(const ProgramState& state);
// The commands that only write to the output file also need one chosen.
[[nodiscard]] bool OutputFileEnabled(const ProgramState& state);
// The print commands: the same, with at most 255 plies shown.
[[nodiscard]] bool PrintEnabled(const ProgramState& state);

// "ファイル名": the save dialog; an existing file is emptied only after the question of
// MayReplaceFile (いいえ changes nothing); the path is remembered under "出力", the file
// created to test it; success makes it the output file with the Morita counter at 0, failure
// clears it.
ViewUpdate ChooseOutputFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings);
// Builds a text of the shown position or game and appends it to the output file; the standard
// and mail diagrams go to the clipboard (CR LF line ends) when no output file is chosen.
ViewUpdate WriteOutputText(ShellContext& ctx, OutputText kind);

// "棋譜印刷": the record print, started at once.
// かや棋譜: appends the game to the output file as one Kaya record; a failure is shown
// captioned "かや棋譜出力".
ViewUpdate WriteKayaRecordOutput(ShellContext& ctx);
ViewUpdate PrintRecord(ShellContext& ctx);
// "局面図印刷": the title and comments prepared, CInsatsu shown, the print started on はい.
ViewUpdate PrintDiagram(ShellContext& ctx);
// "印刷開始", "印刷プレビュー", "プリンタの設定" of the last chosen print kind.
ViewUpdate RunPrintAction(ShellContext& ctx, PrintAction action);

// The dialog "詰将棋--->BMP": a copy of the shown position, the two labels (UTF-8, at most 6
// cp932 bytes each) and the output path; the dialog shows Picture() and calls the rest.
class ProblemBitmapSession {
 public:
  ProblemBitmapSession(ShellContext& ctx, Profile& profile, ProgramSettings& settings);

  std::string SenteLabel, GoteLabel, Path;

  // The picture of the position with the labels as they stand.
  OneBitPicture Picture() const;
  // Whether both labels hold at most 6 cp932 bytes; else false with the message shown.
  [[nodiscard]] bool CheckLabels();
  // "盤反転".
  void Flip();
  // "..." : the save dialog; the chosen path, once the question of MayReplaceFile allows an
  // existing file, is remembered and taken.
  void Browse();
  // "作成": checks the labels, remembers the path, writes the file and shows the outcome.
  void Write();

 private:
  ShellContext& ctx_;
  Profile& profile_;
  ProgramSettings& settings_;
  Position pos_;
};

// "詰将棋->BMP": opens the dialog.
ViewUpdate ShowProblemBitmap(ShellContext& ctx, Profile& profile, ProgramSettings& settings);

// The rows of the output and print commands and of 詰将棋->BMP, appended to the command table.
void AddOutputRows(std::vector<CommandRow>& rows);

}  // namespace shogi
