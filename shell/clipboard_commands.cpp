// Copying the record and the position to the clipboard, and pasting a record from it.
#include "shell/clipboard_commands.h"

#include "platform/cp932.h"
#include "records/kif.h"
#include "records/usi_text.h"
#include "rules/sfen.h"
#include "shell/record_commands.h"
#include "shell/record_notes.h"

namespace shogi {
namespace {

ViewUpdate CopyText(ShellContext& ctx, const std::string& text) {
  if (!ctx.View.SetClipboardText(text)) {
    ctx.Ui.ShowMessage(kClipboardCaption, kClipboardFailed, MessageButtons::kOk,
                       MessageIcon::kWarning);
  }
  return {};
}

}  // namespace

std::string KifClipboardText(const GameRecord& record, const RecordTree& tree) {
  const std::string utf8 = Utf8(FormatKif(record, tree, true));
  std::string text;
  text.reserve(utf8.size());
  for (char c : utf8)
    if (c != '\r') text += c;
  return text;
}

std::string SfenClipboardText(const ProgramState& state) {
  const GameRecord& r = state.Record;
  return ToSfen(state.Shown, SideOfPly(r.PlyCount), r.PlyCount - r.StartIndex + 1);
}

ViewUpdate CopyKifCommand(ShellContext& ctx) {
  if (!IdleOrInGame(ctx.State)) return {};
  GameRecord record;
  RecordTree tree;
  FileRecord(ctx.State, record, tree);
  return CopyText(ctx, KifClipboardText(record, tree));
}

ViewUpdate CopySfenCommand(ShellContext& ctx) {
  if (!IdleOrInGame(ctx.State)) return {};
  return CopyText(ctx, SfenClipboardText(ctx.State));
}

ViewUpdate PasteRecordCommand(ShellContext& ctx) {
  ViewUpdate update;
  if (!RecordCommandsEnabled(ctx.State)) return update;
  std::string text, message;
  GameRecord read = ctx.State.Record;
  RecordTree tree;
  if (!ctx.View.GetClipboardText(text)) text.clear();
  if (ReadPastedRecord(text, read, tree, message) != 0) {
    ctx.Ui.ShowMessage(kReadCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return update;
  }
  InstallReadRecord(ctx, read, update);
  InstallNotes(ctx.State, std::move(tree));
  return update;
}

void AddClipboardRows(std::vector<CommandRow>& rows) {
  rows.push_back({kCmdCopyKif, "棋譜をKIF形式でコピー",
                  "棋譜を柿木形式のテキストでクリップボードにコピーする。\n棋譜をKIF形式でコピー",
                  [](CommandEnv& e, int) { return CopyKifCommand(e.Ctx); }, 0, IdleOrInGame});
  rows.push_back({kCmdCopySfen, "局面をSFEN形式でコピー",
                  "表示中の局面をSFEN形式でクリップボードにコピーする。\n局面をSFEN形式でコピー",
                  [](CommandEnv& e, int) { return CopySfenCommand(e.Ctx); }, 0, IdleOrInGame});
  rows.push_back({kCmdPasteRecord, "棋譜の貼り付け",
                  "クリップボードの棋譜(KIF,KI2,CSA,SFEN,USI)を読み込む。\n棋譜の貼り付け",
                  [](CommandEnv& e, int) { return PasteRecordCommand(e.Ctx); }, 0,
                  RecordCommandsEnabled});
}

}  // namespace shogi
