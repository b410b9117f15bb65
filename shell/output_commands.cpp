// The output menu, the print commands and the problem bitmap dialog's actions.
#include "shell/output_commands.h"

#include "output/output_file.h"
#include "output/problem_bitmap.h"
#include "output/text_diagram.h"
#include "platform/cp932.h"
#include "records/kaya.h"
#include "shell/command_state.h"
#include "shell/file_dialogs.h"

namespace shogi {
namespace {

constexpr const char* kOutputKey = "出力";
constexpr const char* kBitmapKey = "BMP";

std::string BuildText(const ProgramState& state, OutputText kind) {
  const GameRecord& r = state.Record;
  switch (kind) {
    case OutputText::kStandard:
      return StandardDiagram(r);
    case OutputText::kMail:
      return MailDiagram(r);
    case OutputText::kKaya:
      return KayaDiagram(r);
    case OutputText::kMerged:
      return MergedDiagram(r);
    case OutputText::kMorita:
      return MoritaDiagram(r, state.Output.MoritaCount);
    case OutputText::kRecord:
      return StandardRecordText(r);
  }
  return "";
}

bool MayGoToClipboard(OutputText kind) {
  return kind == OutputText::kStandard || kind == OutputText::kMail;
}

bool LabelFits(const std::string& label) {
  std::string bytes;
  return Utf8ToCp932(label, bytes) && bytes.size() <= kProblemLabelBytes;
}

}  // namespace

const char* OutputTextLabel(OutputText kind) {
  switch (kind) {
    case OutputText::kStandard:
      return "標準局面図";
    case OutputText::kMail:
      return "メール局面図";
    case OutputText::kKaya:
      return "かや局面図";
    case OutputText::kMerged:
      return "併合局面図";
    case OutputText::kMorita:
      return "森田局面図";
    case OutputText::kRecord:
      return "標準棋譜";
  }
  return "";
}

bool OutputEnabled(const ProgramState& state) {
  return IdleOrInGame(state);
}

bool OutputFileEnabled(const ProgramState& state) {
  return OutputEnabled(state) && !state.Output.Path.empty();
}

bool PrintEnabled(const ProgramState& state) {
  return OutputEnabled(state) && state.Record.PlyCount <= kPrintPlyLimit;
}

ViewUpdate ChooseOutputFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  const FileDialogResult chosen = ctx.Ui.ChooseSaveFile(
      FileRequestOf(kOutputFileTitle, kOutputFileFilter, settings.Files.Output));
  if (!chosen.Chosen) return {};
  const std::string path = WithDefaultExtension(chosen.Path, "txt");
  // The file is emptied to test it: an existing one only after the person said so.
  if (!MayReplaceFile(ctx.Ui, kOutputFileCaption, path)) return {};
  RememberFileName(profile, settings, kOutputKey, path);
  OutputFileState& output = ctx.State.Output;
  std::string message;
  if (CreateOutputFile(path, message) != 0) {
    output.Path.clear();
    ctx.Ui.ShowMessage(kOutputFileCaption, message, MessageButtons::kOk, MessageIcon::kError);
    return {};
  }
  output.Path = path;
  output.MoritaCount = 0;
  return {};
}

ViewUpdate WriteOutputText(ShellContext& ctx, OutputText kind) {
  OutputFileState& output = ctx.State.Output;
  if (output.Path.empty() && !MayGoToClipboard(kind)) return {};
  const std::string text = BuildText(ctx.State, kind);
  if (output.Path.empty()) {
    const bool set = ctx.View.SetClipboardText(Utf8(WithCrLf(text)));
    ctx.Ui.ShowMessage(OutputTextLabel(kind), set ? kClipboardMessage : kClipboardFailedMessage);
    return {};
  }
  std::string message;
  if (AppendOutputText(output.Path, text, message) != 0) {
    ctx.Ui.ShowMessage(OutputTextLabel(kind), message, MessageButtons::kOk, MessageIcon::kError);
    return {};
  }
  if (kind == OutputText::kMorita) ++output.MoritaCount;
  return {};
}

// かや棋譜: the game appended to the output file as one Kaya record.
ViewUpdate WriteKayaRecordOutput(ShellContext& ctx) {
  std::string message;
  if (WriteKayaOutput(ctx.State.Output.Path, ctx.State.Record, message) != 0)
    ctx.Ui.ShowMessage("かや棋譜出力", message, MessageButtons::kOk, MessageIcon::kError);
  return {};
}

ViewUpdate PrintRecord(ShellContext& ctx) {
  ctx.State.Print.Kind = PrintKind::kRecord;
  ctx.Ui.RunPrint(PrintAction::kPrint, ctx.State);
  return {};
}

ViewUpdate PrintDiagram(ShellContext& ctx) {
  PrintSettings& print = ctx.State.Print;
  print.Kind = PrintKind::kDiagram;
  PrepareDiagramPrint(print, ctx.State.Record);
  PrintSettings edited = print;
  if (!ctx.Ui.EditDiagramPrint(edited)) return {};
  print = edited;
  ctx.Ui.RunPrint(PrintAction::kPrint, ctx.State);
  return {};
}

ViewUpdate RunPrintAction(ShellContext& ctx, PrintAction action) {
  ctx.Ui.RunPrint(action, ctx.State);
  return {};
}

ProblemBitmapSession::ProblemBitmapSession(ShellContext& ctx, Profile& profile,
                                           ProgramSettings& settings)
    : SenteLabel(kDefaultSenteLabel),
      GoteLabel(kDefaultGoteLabel),
      Path(settings.Files.Bitmap),
      ctx_(ctx),
      profile_(profile),
      settings_(settings),
      pos_(ctx.State.Shown) {}

OneBitPicture ProblemBitmapSession::Picture() const {
  return DrawProblem(pos_, SenteLabel, GoteLabel);
}

bool ProblemBitmapSession::CheckLabels() {
  if (LabelFits(SenteLabel) && LabelFits(GoteLabel)) return true;
  ctx_.Ui.ShowMessage(kProblemBitmapCaption, kProblemLabelMessage, MessageButtons::kOk,
                      MessageIcon::kWarning);
  return false;
}

void ProblemBitmapSession::Flip() {
  pos_ = FlipProblem(pos_);
}

void ProblemBitmapSession::Browse() {
  const FileDialogResult chosen =
      ctx_.Ui.ChooseSaveFile(FileRequestOf(kProblemBitmapTitle, kProblemBitmapFilter, Path));
  if (!chosen.Chosen) return;
  const std::string path = WithDefaultExtension(chosen.Path, "bmp");
  if (!MayReplaceFile(ctx_.Ui, kProblemBitmapCaption, path)) return;
  Path = path;
  RememberFileName(profile_, settings_, kBitmapKey, Path);
}

void ProblemBitmapSession::Write() {
  if (!CheckLabels()) return;
  RememberFileName(profile_, settings_, kBitmapKey, Path);
  std::string message;
  const int rc = WriteProblemBitmap(Path, Picture(), message);
  ctx_.Ui.ShowMessage(kProblemBitmapCaption, message, MessageButtons::kOk,
                      rc == 0 ? MessageIcon::kInformation : MessageIcon::kError);
}

void AddOutputRows(std::vector<CommandRow>& rows) {
  using Env = CommandEnv;
  const auto text = [](Env& e, int kind) {
    return WriteOutputText(e.Ctx, static_cast<OutputText>(kind));
  };
  const auto action = [](Env& e, int a) {
    return RunPrintAction(e.Ctx, static_cast<PrintAction>(a));
  };
  const auto row = [&](int id, OutputText kind, const char* prompt, EnableRule enabled) {
    const std::string label = OutputTextLabel(kind);
    rows.push_back(
        {id, label, prompt + std::string("\n") + label, text, static_cast<int>(kind), enabled});
  };
  rows.push_back({kCmdOutputFile, "ファイル名",
                  "局面図や棋譜を出力するファイルを設定する。\nファイル名",
                  [](Env& e, int) { return ChooseOutputFile(e.Ctx, e.UserProfile, e.Settings); }, 0,
                  OutputEnabled});
  row(kCmdStandardDiagram, OutputText::kStandard,
      "現在の局面を標準局面図で出力ファイルまたはクリップボードに出力する。", OutputEnabled);
  row(kCmdKayaDiagram, OutputText::kKaya, "現在の局面をかや局面図で出力ファイルに出力する。",
      OutputFileEnabled);
  row(kCmdMergedDiagram, OutputText::kMerged, "現在の局面を併合局面図で出力ファイルに出力する。",
      OutputFileEnabled);
  row(kCmdMoritaDiagram, OutputText::kMorita, "現在の局面を森田局面図で出力ファイルに出力する。",
      OutputFileEnabled);
  row(kCmdMailDiagram, OutputText::kMail,
      "現在の局面をメール局面図で出力ファイルまたはクリップボードに出力する。", OutputEnabled);
  row(kCmdStandardRecord, OutputText::kRecord, "棋譜全体を標準棋譜で出力ファイルに出力する。",
      OutputFileEnabled);
  rows.push_back({kCmdKayaRecord, "かや棋譜",
                  "棋譜全体をかや形式で出力ファイルに出力する。\nかや棋譜",
                  [](Env& e, int) { return WriteKayaRecordOutput(e.Ctx); }, 0, OutputFileEnabled});
  rows.push_back({kCmdRecordPrint, "棋譜印刷", "棋譜を印刷する。\n棋譜印刷",
                  [](Env& e, int) { return PrintRecord(e.Ctx); }, 0, PrintEnabled});
  rows.push_back({kCmdDiagramPrint, "局面図印刷", "現在の局面図を印刷する。\n局面図印刷",
                  [](Env& e, int) { return PrintDiagram(e.Ctx); }, 0, PrintEnabled});
  rows.push_back({kCmdPrint, "印刷開始", "棋譜または局面図を印刷する。\n印刷", action,
                  static_cast<int>(PrintAction::kPrint), PrintEnabled});
  rows.push_back({kCmdPrintPreview, "印刷プレビュー", "印刷イメージを表示する。\n印刷プレビュー",
                  action, static_cast<int>(PrintAction::kPreview), PrintEnabled});
  rows.push_back({kCmdPrintSetup, "プリンタの設定",
                  "プリンタと印刷オプションを設定する。\nプリンタの設定", action,
                  static_cast<int>(PrintAction::kSetup), PrintEnabled});
  rows.push_back({kCmdProblemBitmap, "詰将棋->BMP",
                  "現在の局面をBMPファイルに出力する。\n詰将棋->BMP",
                  [](Env& e, int) { return ShowProblemBitmap(e.Ctx, e.UserProfile, e.Settings); },
                  0, OutputEnabled});
}

ViewUpdate ShowProblemBitmap(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  ProblemBitmapSession session(ctx, profile, settings);
  ctx.Ui.ShowProblemBitmap(session);
  return {};
}

}  // namespace shogi
