// Merging into the current database: another database appended (ﾌｧｲﾙ合併), and the newer
// data distributed by the Kisen data association put in place of a date range (配布ﾃﾞｰﾀ合併).
#pragma once

#include <string>
#include <string_view>

#include "database/database_rewrite.h"
#include "database_files/database_format.h"

namespace shogi {

inline constexpr const char kQuestionMerge[] = "合併してよろしいですか？";
inline constexpr const char kStatusMerging[] = "　  合併中";
// Merging a database into itself would only double it here, but no user asks for that:
// the two paths naming one file are refused.
inline constexpr const char kMessageSameDatabase[] = "同じ棋譜ファイルは合併出来ません。";

inline constexpr const char kStatusCheckingDistributed[] = "ﾃﾞｰﾀ確認作業中";
inline constexpr const char kStatusMergingDistributed[] = "配布ﾃﾞｰﾀ合併中";
inline constexpr const char kDistributedCaption[] = "配布データ合併";
inline constexpr const char kMessageChooseDistributed[] =
    "棋譜データベースの会から配布されたフロッピーの棋譜ファイルを指定してください。";
inline constexpr const char kMessageDistributedUnopenable[] = "配布データがオープン出来ません。";
inline constexpr const char kMessageDistributedEmpty[] = "配布データに棋譜データがありません。";
inline constexpr const char kMessageDistributedTooOld[] = "配布データの先頭が1990年以前です。";
inline constexpr const char kMessageDistributedTooNew[] = "配布データの最後が2050年以降です。";
inline constexpr const char kMessageDistributedUnsorted[] = "配布データがソートされていません。";
inline constexpr const char kMessageCurrentUnopenable[] = "元の棋譜データがオープン出来ません。";
inline constexpr const char kMessageCurrentUnsorted[] = "元の棋譜データがソートされていません。";
inline constexpr const char kMessageNothingKept[] =
    "元の棋譜データがすべてなくなる為、合併出来ません。";
inline constexpr const char kMessageDistributedMerged[] = "配布データ合併は終了しました。";

// The warning shown before the source is chosen (format.MergeWarning with the base path).
std::string MergeWarning(const DatabaseFormat& format, const DatabasePaths& paths);

// ﾌｧｲﾙ合併: the database chosen as `source` (a file name as the dialog gives it) is appended
// to the database at `paths`: the count becomes N + S, records and blocks N+1..N+S are the
// source's. The question "合併してよろしいですか？" comes after the checks. 0; or 1 with
// "ファイル名に異常があります。", format.MissingMessage (no source index), "同じ棋譜ファイル
// は合併出来ません。", "ファイルが作成できません。", a message of GameDatabase::Open, or an
// empty message when the question was answered no. Status "　  合併中".
[[nodiscard]] int MergeDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                                std::string_view source, const CommandHooks& hooks,
                                std::string& message);

// 配布ﾃﾞｰﾀ合併: the distributed database `distributed` (games newest first) replaces every
// game of the database at `paths` dated on or after its oldest date; the current games
// before that date follow the distributed ones. The checks of the table, in its order
// (status "ﾃﾞｰﾀ確認作業中"), then the question (status "配布ﾃﾞｰﾀ合併中"). 0 with
// "配布データ合併は終了しました。"; or 1 with the first failing check's message,
// "ファイル名に異常があります。", "同じ棋譜ファイルは合併出来ません。",
// "ファイルが作成できません。", or an empty message when the question was answered no.
[[nodiscard]] int MergeDistributed(const DatabaseFormat& format, const DatabasePaths& paths,
                                   std::string_view distributed, const CommandHooks& hooks,
                                   std::string& message);

}  // namespace shogi
