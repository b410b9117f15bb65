// The mate command "詰将棋（df-pn）": the proof-number solver for the side to move, with the
// time limit and table size of its dialog, its progress in the status bar, the right-click
// stop, and the solution played into the record as the other mate commands do.
#pragma once

#include <cstdint>
#include <string>

#include "platform/profile.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kDfpnCaption = "詰将棋（df-pn）";
inline constexpr const char* kDfpnSecondsCaption = "時間制限";
inline constexpr const char* kDfpnTableCaption = "置換表";
inline constexpr const char* kDfpnNoMateMessage = "不詰";
inline constexpr const char* kDfpnTimeUpMessage = "時間切れ";
inline constexpr const char* kDfpnSearchingMessage = "df-pn解析中";
inline constexpr const char* kDfpnMemoryMessage = "置換表のメモリが確保できません。";
// After the length of a mate whose shortness the limit left unconfirmed: "611手詰（最短未確認）".
inline constexpr const char* kDfpnUnconfirmedSuffix = "手詰（最短未確認）";
// The dialog's last values, section "Settings".
inline constexpr const char* kKeyDfpnSeconds = "df-pn時間";
inline constexpr const char* kKeyDfpnTable = "df-pn置換表";

// The dialog's fields as typed and, once checked, as numbers.
struct DfpnChoice {
  int Seconds = 0;
  int TableMegabytes = 0;
};
enum class DfpnField { kNone, kSeconds, kTable };

// The check of the dialog's "開始": the time limit 1..86400 seconds and the table 1..16384
// MB, whole numbers. kNone with `choice` filled, or the refused field with the caption and
// message of its box ("1～86400の範囲の数を入力してください。").
[[nodiscard]] DfpnField CheckDfpnSettings(const DfpnSettings& settings, DfpnChoice& choice,
                                          std::string& caption, std::string& message);

// The status bar during the search: "df-pn 1,234,567局面 12.3秒".
std::string DfpnProgressText(std::uint64_t nodes, double seconds);

// "詰将棋（df-pn）": the side to move attacks. The dialog's values are kept in `profile`. A
// mate is played into the record at the shown position and the game marked as won by the
// attacker; "不詰" when there is none, "時間切れ" at the limit.
ViewUpdate SolveMateByDfpn(ShellContext& ctx, Profile& profile);

}  // namespace shogi
