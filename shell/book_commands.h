// The Bonanza menu's book items: "Book検索" (the book moves of the shown position),
// "Bookﾌｧｲﾙ名" (the book file, profile key "BOOK") and "Tarvel->Book" (a book built from a
// Tarvel database with the builder dialog, whose last inputs the profile keeps). The book
// itself is analysis/book_lookup.h and analysis/book_builder.h, which shogi-tool book uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/book_builder.h"
#include "analysis/book_lookup.h"
#include "platform/profile.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kBookLookupCaption = "Book検索";
inline constexpr const char* kBookLookupDialogTitle = "Bonanza Book 検索";
inline constexpr const char* kBookFileTitle = "Bookファイル名の設定";
inline constexpr const char* kBookFileFilter =
    "Bookファイル(*.bin)|*.bin|全てのファイル(*.*)|*.*||";
inline constexpr const char* kBookBuildCaption = "Tarvel->Book";
inline constexpr const char* kBookBuildDialogTitle = "Tarvel->Bonanza book";
inline constexpr const char* kBookBuildProgress = "　Book作成中";
// The builder dialog's file dialogs ("..." beside each file field).
inline constexpr const char* kBookInputTitle = "SET Tarvel形式ファイル";
inline constexpr const char* kBookInputFilter =
    "Tarvel形式ファイル(*.mix)|*.mix|all files(*.*)|*.*||";
inline constexpr const char* kBookOutputTitle = "SET 定跡ファイル名";
inline constexpr const char* kBookOutputFilter = "定跡ファイル(*.bin)|*.bin|ALL FILES (*.*)|*.*||";
// "変換条件　：" entries, by JOKEN.
inline constexpr const char* kBookConditionNames[kBookConditionCount] = {
    "すべて", "勝ち将棋のみ", "以降、100手以内で負けた場合は未登録", "負け将棋を除く"};

// The profile section of the builder's last inputs: "INPUT", "OUTPUT", "TESU", "TORYO",
// "JOKEN". Missing or unusable values give the defaults (no database, "book.bin", 30 plies,
// no resign rule, "すべて").
inline constexpr const char* kBookBuildSection = "Tarvel->Book";
BookBuildOptions LoadBookBuildOptions(const Profile& profile);
void SaveBookBuildOptions(Profile& profile, const BookBuildOptions& options);

// What the "..." buttons ask, starting from the field's path.
FileDialogRequest BookInputFileRequest(const std::string& current);
FileDialogRequest BookOutputFileRequest(const std::string& current);

// The dialog's rows for the book moves of the shown position: each move in KI2 notation
// with the mover's mark, and its share.
std::vector<BookMoveRow> BookMoveRows(const ProgramState& state,
                                      const std::vector<BookMoveShare>& moves);

// "Book検索": the shown position looked up in the book of "BOOK"; the dialog on success, else
// the message in a plain box captioned "Book検索".
ViewUpdate LookUpBookCommand(ShellContext& ctx, const ProgramSettings& settings);
// "Bookﾌｧｲﾙ名": the file dialog from the current name; on OK the path is kept under "BOOK".
ViewUpdate ChooseBookFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings);
// "Tarvel->Book": the builder dialog; on "Tarvel->Book" its inputs are kept and the book is
// built in state 4; the report or the failure is shown captioned "Tarvel->Book".
ViewUpdate BuildBookCommand(ShellContext& ctx, Profile& profile);

}  // namespace shogi
