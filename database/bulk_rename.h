// The bulk changes (棋士一括変更, 棋戦一括変更, 戦型一括変更): one player, tournament or
// opening replaced by another throughout a database's index. Only the index is rewritten.
#pragma once

#include <string>
#include <string_view>

#include "database/database_rewrite.h"
#include "database_files/database_format.h"

namespace shogi {

inline constexpr const char kStatusRenaming[] = "　一括変更中";
inline constexpr const char kMessageNumberRange[] = "0～%dの範囲の数を入力してください。";
inline constexpr const char kCaptionOldNumber[] = "変更前番号";
inline constexpr const char kCaptionNewNumber[] = "変更後番号";
inline constexpr const char kMessageNothingToChange[] = "変更データが存在しません。";
inline constexpr const char kMessageCannotAccess[] = "ファイルがアクセス出来ません。";
inline constexpr const char kMessageRenameCannotCreate[] = "ファイルが作成出来ません。";
inline constexpr const char kMessageChanged[] = "%d件変更しました。";
inline constexpr const char kMessageNoneMatched[] = "変更対象データが存在しません。";

// What a bulk change of numbers replaces.
enum class RenamedList { kPlayers, kTournaments, kOpenings };

// The fields of `list` in `format`'s index records (players: Kisen only).
const ListNumberFields& RenamedFields(const DatabaseFormat& format, RenamedList list);

// The field the dialog returns the focus to, its text selected, after a refused OK.
enum class RenameInput { kAccepted, kOldNumber, kNewNumber };

// The OK of 棋士番号一括変更, 棋戦番号一括変更 and 戦型番号一括変更: each text must be a
// number 0..`highest` (decimal digits), else "0～%dの範囲の数を入力してください。" with the
// caption "変更前番号" or "変更後番号" (`caption`); equal numbers give "変更データが存在しま
// せん。" (kOldNumber). On kAccepted the two numbers are set.
RenameInput CheckRenameNumbers(std::string_view old_text, std::string_view new_text, int highest,
                               int& old_number, int& new_number, std::string& message,
                               std::string& caption);

// Replaces `old_number` by `new_number` in every field of `list` throughout the index of the
// database at `paths`; each field replaced counts (a Kisen game of player 5 against player 5
// counts 2). 0 with "%d件変更しました。" and `changed`; or 1 with "変更データが存在しません。"
// (equal numbers), "変更対象データが存在しません。" (nothing matched: the index is left as it
// was), "ファイルがアクセス出来ません。", "ファイルが作成出来ません。". Status "　一括変更中".
[[nodiscard]] int RenameNumbers(const DatabaseFormat& format, const DatabasePaths& paths,
                                RenamedList list, int old_number, int new_number,
                                const CommandHooks& hooks, int& changed, std::string& message);

// 棋士名一括変更 (Tarvel): every 12-byte player name field equal to `old_name` byte for byte
// (the name cut to 12 bytes as registration cuts it; spaces count) becomes `new_name`; a
// game counts once however many of its names changed. Results as RenameNumbers.
[[nodiscard]] int RenamePlayerNames(const DatabaseFormat& format, const DatabasePaths& paths,
                                    std::string_view old_name, std::string_view new_name,
                                    const CommandHooks& hooks, int& changed, std::string& message);

}  // namespace shogi
