// The search conditions: what the search dialog (CKensaku) shows and the user types, kept
// for the run as one set for both databases; the dialog's checks of the dates; the names its
// combo boxes offer; and the conditions turned into the numbers and texts a search compares.
//
// The window's dialog only shows the fields:
//   opening      LoadSearchChoices(format, folder) fills the combos; the fields show the
//                kept SearchConditions; the 局面 combo lists kPositionModeTexts.
//   OK           CheckSearchDates; on 1 a message box (failure.Message, failure.Caption),
//                then the focus and the selection of the text go to failure.Field and the
//                dialog stays open; on 0 the fields become the kept conditions and the board
//                position becomes SearchPosition.
// Then RunSearch (game_search.h) searches the database the menu belongs to with the kept
// conditions and the dates the check gave.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "database_files/database_format.h"
#include "database_files/position_pattern.h"

namespace shogi {

// The search dialog's controls that a check can point at, by their control ids.
enum class SearchField : int {
  kNone = 0,
  kPlayer1 = 1026,       // 棋士１
  kPlayer2 = 1028,       // 棋士２
  kTournament = 1029,    // 棋戦名
  kStartYear = 1030,     // 開始年
  kStartMonth = 1031,    // 開始月
  kEndYear = 1032,       // 終了年
  kEndMonth = 1033,      // 終了月
  kOpening = 1034,       // 戦型名
  kPositionMode = 1035,  // 局面
};

// The conditions as the dialog holds them: texts as typed or chosen (cp932), the position
// mode, and the board when the search starts. At start-up everything is empty.
struct SearchConditions {
  std::string Player1, Player2, Tournament, Opening;
  std::string StartYear, StartMonth, EndYear, EndMonth;
  PositionMode Mode = PositionMode::kNone;
  Position SearchPosition{};
};

// The date range of a search; all 0 when the start year is empty (no date condition).
struct SearchDates {
  int StartYear = 0, StartMonth = 0, EndYear = 0, EndMonth = 0;

  bool Set() const { return StartYear != 0; }
};

// A date field the dialog refuses: the message box's text and caption (UTF-8) and the
// field that gets the focus.
struct SearchCheckFailure {
  std::string Message, Caption;
  SearchField Field = SearchField::kNone;
};

inline constexpr const char kMessageEnterInteger[] = "整数を入力してください。";
inline constexpr const char kMessageYearRange[] = "1～2099の範囲で入力してください。";
inline constexpr const char kMessageMonthRange[] = "1～12の範囲で入力してください。";
inline constexpr const char kMessageBadRange[] = "範囲指定が間違ってます。";
inline constexpr const char kDateRangeCaption[] = "対局日";

// The dialog's checks on OK. An empty start year means no date condition: 0 with all dates
// 0. Otherwise start year, start month, end year and end month are checked in this order:
// one to seven ASCII digits ("整数を入力してください。"), then years 1..2099 and months
// 1..12; then the end must not lie before the start ("範囲指定が間違ってます。", caption
// "対局日", the focus on the end month). 0 with `dates`; or 1 with the first failure.
[[nodiscard]] int CheckSearchDates(const SearchConditions& conditions, SearchDates& dates,
                                   SearchCheckFailure& failure);

// The combo boxes' lists (cp932), each beginning with an empty line: the players (Kisen:
// KSNAME.DAT from byte 6; Tarvel: 棋士名.DAT, whole lines), the tournaments (KISEN.DAT /
// 棋戦.DAT from byte 3, no line that begins with '+') and the openings (SENKEI.DAT, else
// SENKEI/SENKEI.DAT / 戦型.DAT, from byte 4); trailing spaces cut, empty names left out.
struct SearchChoices {
  std::vector<std::string> Players, Tournaments, Openings;
};
SearchChoices LoadSearchChoices(const DatabaseFormat& format, const std::string& folder);

// The conditions as one database compares them: player numbers (Kisen) or player names
// without spaces (Tarvel), tournament and opening numbers (0 any), the dates.
struct SearchTerms {
  bool PlayerNumbers = true;
  int PlayerNumber[2] = {0, 0};     // 0: no condition
  std::string PlayerName[2];        // empty: no condition
  int Tournament = 0, Opening = 0;  // 0: any
  SearchDates Dates;

  // Whether any condition on the index record is set.
  bool Any() const;
  // Whether a game with these keys passes every condition: each player condition names
  // one of its two players (so two of them find the games between the two in either
  // colour), the tournament and opening are the same, and (year, month) lies inside the
  // range (the day is not used).
  bool Matches(const SearchKeys& keys) const;
};

// Names into numbers as the dialog turns them: a name is compared with the list names by
// number, with ASCII and full-width spaces removed from both, and the first number whose
// name is equal is taken (Kisen players 1..999 in KSNAME.DAT; tournaments 1..99 and
// openings 0..99 in the format's lists, whose lines are read up to 99 bytes as the dialog
// reads them). A name that is not listed gives 0, that is no condition. Names are compared
// whole, however long: a long name chosen from a combo finds its own line. Tarvel players
// stay texts, without their spaces.
SearchTerms ResolveSearchTerms(const DatabaseFormat& format, const std::string& folder,
                               const SearchConditions& conditions, const SearchDates& dates);

// The number of the list entry named `name` (spaces removed from both) among the numbers
// `lowest`..`highest`, in number order; where a number has several lines, its last line
// counts. 0 when the squeezed name is empty or none is equal.
int DialogNameNumber(const std::vector<NameEntry>& entries, std::string_view name, int lowest,
                     int highest);

}  // namespace shogi
