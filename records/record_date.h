// Game dates written in Japanese: Western years or era names, ASCII or full-width digits.
#pragma once

#include <string_view>

namespace shogi {

// Reads a date such as "2024 年 5 月 3 日", "平成元年１月８日" or "昭和60年12月1日" from the
// front of `text` (spaces, ASCII or full-width, are skipped around the parts): an optional
// era name (平成, 昭和, 大正, 明治) with "元" for its first year, the year and "年", the month
// and "月", the day. True with the Western year, month and day when all three are positive
// and the month and day lie in a calendar's ranges; false otherwise.
[[nodiscard]] bool ReadJapaneseDate(std::string_view text, int& year, int& month, int& day);

}  // namespace shogi
