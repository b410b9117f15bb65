// The list's 新規作成: the listed games written into a new database.
#pragma once

#include <string>
#include <string_view>

#include "database/database_rewrite.h"
#include "database_files/database_format.h"

namespace shogi {

inline constexpr const char kQuestionDatabaseExists[] =
    "すでに棋譜ファイルが存在します。\n上書きしてよろしいでしょうか？　";

// Writes the games listed in the first `count` entries of the search list at `list_path`
// (index record and move block each, in the list file's order) from the database at
// `source` as the database named `chosen` (a file name as the save dialog gives it). When
// its index exists, the question "すでに棋譜ファイルが存在します。\n上書きしてよろしいでしょ
// うか？　" comes first. The new pair is written whole beside the target and replaces it only
// once complete. 0; or 1 with "ファイル名に異常があります。", "ファイルが作成できません。"
// (the files cannot be written, the target is the source itself, or a move file without
// its index stands there), "番号が登録データ数を超してます。" (a number outside the
// source's whole games), "ファイルに異常があります。" (the list cannot be read), a message of
// GameDatabase::Open, or an empty message when the question was answered no.
[[nodiscard]] int ExtractGames(const DatabaseFormat& format, const DatabasePaths& source,
                               const std::string& list_path, int count, std::string_view chosen,
                               const CommandHooks& hooks, std::string& message);

}  // namespace shogi
