// Deleting one game, removing a database's files and swapping two games (入れ換え), each as a
// whole rewrite; and the search list's renumbering after a deletion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/database_rewrite.h"
#include "database/game_list.h"
#include "database_files/database_format.h"

namespace shogi {

inline constexpr const char kMessageNothingSelected[] = "削除データが選択されてません。";
inline constexpr const char kQuestionDeleteGame[] = "%d番目を削除してよろしいでしょうか？";
inline constexpr const char kQuestionRemoveDatabase[] = "削除してよろしいですか？";
inline constexpr const char kSwapCaption[] = "入れ換え";
inline constexpr const char kMessageSameNumber[] = "同じ番号は、指定出来ません。";
inline constexpr const char kQuestionSwap[] = "%d番と%d番を入れ換えて宜しいですか？";

// The list's 削除 on the database side: after the question "%d番目を削除してよろしいでしょ
// うか？", game `number` leaves the database (count less one, the later games move up one).
// 0; or 1 with "番号が登録データ数を超してます。" (no such game), "ファイルが作成できません。",
// a message of GameDatabase::Open, or an empty message when the question was answered no.
[[nodiscard]] int DeleteGame(const DatabaseFormat& format, const DatabasePaths& paths, int number,
                             const CommandHooks& hooks, std::string& message);

// The search list at `path` (its first `length` entries) after game `deleted` left the
// database: its entry goes and every larger number is one less; `length` becomes the new
// length. When `list_top` + 20 then passes the list's end, the list top becomes length − 20,
// and not below 0. 0; or 1 with "ファイルが作成できません。" and the list file as it was.
[[nodiscard]] int RenumberListAfterDeletion(const std::string& path, int deleted, int& length,
                                            int& list_top, std::string& message);

// ﾌｧｲﾙ削除: the database chosen as `chosen` (a file name as the dialog gives it) loses both
// files together, after the question "削除してよろしいですか？". 0; or 1 with
// "ファイル名に異常があります。", format.MissingMessage, "ファイルが作成できません。" (the
// files could not be removed; they are then all there), or an empty message (answered no).
[[nodiscard]] int RemoveDatabase(const DatabaseFormat& format, std::string_view chosen,
                                 const CommandHooks& hooks, std::string& message);

// The checks of the 順番入れ換え dialog's OK, in their order: a number outside 1..count
// gives "番号が登録データ数を超してます。", two equal numbers "同じ番号は、指定出来ません。"
// (caption "入れ換え"). 0 when the two may be swapped.
[[nodiscard]] int CheckSwapNumbers(int a, int b, int count, std::string& message);

// 入れ換え: after the checks and the question "%d番と%d番を入れ換えて宜しいですか？", games a
// and b change places (index records and blocks). 0; or 1 with a message of the checks,
// "ファイルが作成できません。", a message of GameDatabase::Open, or an empty message (no).
[[nodiscard]] int SwapGames(const DatabaseFormat& format, const DatabasePaths& paths, int a, int b,
                            const CommandHooks& hooks, std::string& message);

}  // namespace shogi
