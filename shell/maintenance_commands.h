// The whole-database items of the menus 棋泉 and Tarvel: ソート, 重複ﾁｪｯｸ, ﾌｧｲﾙ合併, 配布ﾃﾞｰﾀ合併
// (棋泉), ﾌｧｲﾙ削除, 入れ換え (Tarvel), the bulk changes 棋士一括変更 / 棋戦一括変更 / 戦型一括変更,
// and the yearbook import 将棋年鑑 (Tarvel). Each asks with its dialog, runs the database
// routine (database/date_sort.h, duplicates.h, merge.h, maintenance.h, bulk_rename.h,
// yearbook.h, which shogi-tool db uses as well) in InteractionState 4 with the routine's
// status words, and shows its messages. The checks of the dialogs' fields live here too.
#pragma once

#include <string>
#include <string_view>

#include "database/bulk_rename.h"
#include "platform/profile.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char kSortDialogTitle[] = "日付ソート";
inline constexpr const char kSwapDialogTitle[] = "順番入れ換え";
inline constexpr const char kRenameNamesTitle[] = "棋士名一括変更";
inline constexpr const char kYearbookTitle[] = "将棋年鑑";
inline constexpr const char kDistributedFilter[] =
    "配布棋泉ファイル(*.idx)|*.idx|全てのファイル(*.*)|*.*||";
inline constexpr const char kDistributedDialogTitle[] =
    "配布棋泉ファイルの指定（棋譜データベースの会専用）";
inline constexpr const char kYearbookInputFilter[] = "全てのファイル(*.*)|*.*||";

// The general open offers the yearbook import in place of the format "赤富士" when the profile
// integer "将棋年鑑" (section "種類") holds this value.
constexpr int kYearbookModeValue = 1;
bool YearbookModeOn(const ProgramSettings& settings);

// --- the dialogs' checks ---

// The field a refused OK returns the focus to, its text selected.
enum class SwapInput { kAccepted, kFirst, kSecond };
// The OK of "順番入れ換え": each text a number of up to five digits (anything else counts as
// no number, 0), then CheckSwapNumbers against the request's count; the message is shown
// with the caption "入れ換え". On kAccepted the request's numbers are set.
SwapInput CheckSwapFields(SwapRequest& request, std::string& message);

// The OK of the bulk changes' number dialogs: CheckRenameNumbers on the request's texts; the
// caption of the box is the refused field's name, or the request's caption for equal
// numbers. On kAccepted the request's numbers are set.
RenameInput CheckRenameRequest(RenameNumbersRequest& request, std::string& message,
                               std::string& caption);

// A "..." button of "将棋年鑑": the file dialog from the field's text (the input files with
// every file shown, the Tarvel file with the Tarvel type list and "mix" as its default
// extension); on OK `field` takes the chosen name and true is returned.
bool BrowseYearbookFile(UserInterface& ui, std::string& field, bool tarvel_file);

// --- the handlers (each refuses quietly where its enabling rule says no) ---

// ソート: the "日付ソート" dialog, the sort, and the list opens.
ViewUpdate SortCommand(ShellContext& ctx, DatabaseKind kind);
// 重複ﾁｪｯｸ: the pairs go to the search list of `folder` (the program folder), SearchCount is
// twice their number, "%d組存在しました。" is shown and the list opens.
ViewUpdate DuplicateCheckCommand(ShellContext& ctx, const std::string& folder, DatabaseKind kind);
// ﾌｧｲﾙ合併: the warning, the source's file dialog, the question, the merge.
ViewUpdate MergeCommand(ShellContext& ctx, ProgramSettings& settings, DatabaseKind kind);
// 配布ﾃﾞｰﾀ合併 (棋泉): the message, the file dialog from the path kept under "配布" (where the
// choice is kept), the checks, the question and the merge; captioned "配布データ合併".
ViewUpdate MergeDistributedCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings);
// ﾌｧｲﾙ削除: the file dialog, the question, both files removed; when the chosen database of
// that kind no longer opens, it is chosen no more.
ViewUpdate RemoveDatabaseCommand(ShellContext& ctx, ProgramSettings& settings, DatabaseKind kind);
// 入れ換え (Tarvel): the "順番入れ換え" dialog, the question, the swap.
ViewUpdate SwapGamesCommand(ShellContext& ctx);
// 棋士一括変更 (棋泉), 棋戦一括変更, 戦型一括変更: the number dialog of `list`, the change, and
// after a change the list opens.
ViewUpdate RenameNumbersCommand(ShellContext& ctx, DatabaseKind kind, RenamedList list);
// 棋士一括変更 (Tarvel): the "棋士名一括変更" dialog with the player names of `folder`.
ViewUpdate RenamePlayerNamesCommand(ShellContext& ctx, const std::string& folder);
// 将棋年鑑: the "将棋年鑑" dialog and the import into a new Tarvel database.
ViewUpdate YearbookCommand(ShellContext& ctx);

}  // namespace shogi
