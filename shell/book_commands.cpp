// The handlers of the Bonanza menu's book items.
#include "shell/book_commands.h"

#include "platform/cp932.h"
#include "records/ki2_notation.h"
#include "records/notation.h"
#include "shell/database_command_scope.h"
#include "shell/database_commands.h"
#include "shell/file_dialogs.h"

namespace shogi {
namespace {

constexpr const char* kDefaultBook = "book.bin";

}  // namespace

BookBuildOptions LoadBookBuildOptions(const Profile& profile) {
  BookBuildOptions o;
  o.Input = profile.GetString(kBookBuildSection, "INPUT", "");
  o.Output = profile.GetString(kBookBuildSection, "OUTPUT", kDefaultBook);
  const int plies = profile.GetInt(kBookBuildSection, "TESU", o.Plies);
  if (plies >= 0 && plies <= kMaxBookPlies) o.Plies = plies;
  o.ResignRule = profile.GetInt(kBookBuildSection, "TORYO", 0) != 0;
  const int condition = profile.GetInt(kBookBuildSection, "JOKEN", kBookAllMoves);
  if (condition >= 0 && condition < kBookConditionCount) o.Condition = condition;
  return o;
}

void SaveBookBuildOptions(Profile& profile, const BookBuildOptions& options) {
  profile.WriteString(kBookBuildSection, "INPUT", options.Input);
  profile.WriteString(kBookBuildSection, "OUTPUT", options.Output);
  profile.WriteInt(kBookBuildSection, "TESU", options.Plies);
  profile.WriteInt(kBookBuildSection, "TORYO", options.ResignRule ? 1 : 0);
  profile.WriteInt(kBookBuildSection, "JOKEN", options.Condition);
}

FileDialogRequest BookInputFileRequest(const std::string& current) {
  return FileRequestOf(kBookInputTitle, kBookInputFilter, current);
}

FileDialogRequest BookOutputFileRequest(const std::string& current) {
  FileDialogRequest request = FileRequestOf(kBookOutputTitle, kBookOutputFilter, current);
  request.MayBeNew = true;
  return request;
}

std::vector<BookMoveRow> BookMoveRows(const ProgramState& state,
                                      const std::vector<BookMoveShare>& moves) {
  const GameRecord& r = state.Record;
  const Side side = SideToMove(state);
  const int previous =
      r.PlyCount > r.StartIndex ? DestinationOf(r.MoveList[r.PlyCount - 1]) : kNoSquare;
  const NotationTables& n = Notation();
  std::vector<BookMoveRow> rows;
  for (const BookMoveShare& m : moves) {
    const std::string text = FormatKi2Move(m.Move, state.Shown, side, previous,
                                           side == kFirst ? n.sente_mark : n.gote_mark);
    rows.push_back({Utf8(TrimRight(text)), m.Share});
  }
  return rows;
}

ViewUpdate LookUpBookCommand(ShellContext& ctx, const ProgramSettings& settings) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  std::vector<BookMoveShare> moves;
  std::string message;
  if (LookUpBook(settings.Files.BonanzaBook, ctx.State.Shown, SideToMove(ctx.State), moves,
                 message) != 0) {
    ctx.Ui.ShowMessage(kBookLookupCaption, message);
    return {};
  }
  ctx.Ui.ShowBookMoves(BookMoveRows(ctx.State, moves));
  return {};
}

ViewUpdate ChooseBookFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  const FileDialogResult answer = ctx.Ui.ChooseOpenFile(
      FileRequestOf(kBookFileTitle, kBookFileFilter, settings.Files.BonanzaBook));
  if (answer.Chosen) RememberFileName(profile, settings, "BOOK", answer.Path);
  return {};
}

ViewUpdate BuildBookCommand(ShellContext& ctx, Profile& profile) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  BookBuildOptions options = LoadBookBuildOptions(profile);
  if (!ctx.Ui.EditBookBuild(options)) return {};
  SaveBookBuildOptions(profile, options);
  BookBuildResult result;
  std::string message;
  int failed = 0;
  {
    DatabaseCommandScope running(ctx.State, ctx.View, kBookBuildProgress);
    failed = BuildBook(options, result, WindowProgress(ctx.View), message);
  }
  ctx.Ui.ShowMessage(kBookBuildCaption, failed ? message : BookBuiltMessage(result),
                     MessageButtons::kOk,
                     failed ? MessageIcon::kWarning : MessageIcon::kInformation);
  return {};
}

}  // namespace shogi
