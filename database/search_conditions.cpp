// The search dialog's date checks, its combo lists, and the conditions turned into terms.
#include "database/search_conditions.h"

#include <map>

namespace shogi {
namespace {

// The highest numbers the dialog turns names into.
constexpr int kHighestPlayer = 999;
constexpr int kHighestListNumber = 99;

constexpr int kHighestYear = 2099;
constexpr int kMonths = 12;
constexpr std::size_t kMaxDigits = 7;

// One date field of the dialog, in the order the dialog checks them.
struct DateField {
  const std::string SearchConditions::*Text;
  int SearchDates::*Value;
  SearchField Field;
  const char* Caption;
  int Highest;
  const char* RangeMessage;
};
constexpr DateField kDateFields[] = {
    {&SearchConditions::StartYear, &SearchDates::StartYear, SearchField::kStartYear, "開始年",
     kHighestYear, kMessageYearRange},
    {&SearchConditions::StartMonth, &SearchDates::StartMonth, SearchField::kStartMonth, "開始月",
     kMonths, kMessageMonthRange},
    {&SearchConditions::EndYear, &SearchDates::EndYear, SearchField::kEndYear, "終了年",
     kHighestYear, kMessageYearRange},
    {&SearchConditions::EndMonth, &SearchDates::EndMonth, SearchField::kEndMonth, "終了月", kMonths,
     kMessageMonthRange},
};

// One to seven ASCII digits, as a number; -1 for anything else.
int DigitsValue(const std::string& text) {
  if (text.empty() || text.size() > kMaxDigits) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Whether (year, month) lies before (other_year, other_month), year first.
constexpr bool Before(int year, int month, int other_year, int other_month) {
  return year != other_year ? year < other_year : month < other_month;
}

int Fail(SearchCheckFailure& failure, const char* message, const char* caption, SearchField field) {
  failure.Message = message;
  failure.Caption = caption;
  failure.Field = field;
  return 1;
}

// A combo's list: an empty line, then the names.
std::vector<std::string> ComboList(const std::string& folder, NameList list) {
  std::vector<std::string> names = DialogListNames(folder, list);
  names.insert(names.begin(), std::string());
  return names;
}

// The number of `name` in list `list` of `folder`, read as the dialog reads it.
int ListNumberOfName(const std::string& folder, NameList list, const std::string& name, int lowest,
                     int highest) {
  std::vector<NameEntry> entries;
  (void)ReadNameEntries(folder, list, entries, kDialogListLineBytes);
  return DialogNameNumber(entries, name, lowest, highest);
}

}  // namespace

int CheckSearchDates(const SearchConditions& conditions, SearchDates& dates,
                     SearchCheckFailure& failure) {
  dates = SearchDates{};
  if (conditions.StartYear.empty()) return 0;
  SearchDates checked;
  for (const DateField& f : kDateFields) {
    const int value = DigitsValue(conditions.*f.Text);
    if (value < 0) return Fail(failure, kMessageEnterInteger, f.Caption, f.Field);
    if (value < 1 || value > f.Highest) return Fail(failure, f.RangeMessage, f.Caption, f.Field);
    checked.*f.Value = value;
  }
  if (Before(checked.EndYear, checked.EndMonth, checked.StartYear, checked.StartMonth))
    return Fail(failure, kMessageBadRange, kDateRangeCaption, SearchField::kEndMonth);
  dates = checked;
  return 0;
}

SearchChoices LoadSearchChoices(const DatabaseFormat& format, const std::string& folder) {
  SearchChoices choices;
  choices.Players = ComboList(folder, format.PlayerList);
  choices.Tournaments = ComboList(folder, format.TournamentList);
  choices.Openings = ComboList(folder, format.OpeningList);
  return choices;
}

bool SearchTerms::Any() const {
  return PlayerNumber[0] != 0 || PlayerNumber[1] != 0 || !PlayerName[0].empty() ||
         !PlayerName[1].empty() || Tournament != 0 || Opening != 0 || Dates.Set();
}

bool SearchTerms::Matches(const SearchKeys& keys) const {
  for (int i = 0; i < 2; ++i) {
    if (PlayerNumbers) {
      if (PlayerNumber[i] != 0 && PlayerNumber[i] != keys.PlayerNumber[0] &&
          PlayerNumber[i] != keys.PlayerNumber[1])
        return false;
    } else if (!PlayerName[i].empty() && !SqueezedEquals(keys.PlayerName[0], PlayerName[i]) &&
               !SqueezedEquals(keys.PlayerName[1], PlayerName[i])) {
      return false;
    }
  }
  if (Tournament != 0 && Tournament != keys.Tournament) return false;
  if (Opening != 0 && Opening != keys.Opening) return false;
  return !Dates.Set() || (!Before(keys.Year, keys.Month, Dates.StartYear, Dates.StartMonth) &&
                          !Before(Dates.EndYear, Dates.EndMonth, keys.Year, keys.Month));
}

SearchTerms ResolveSearchTerms(const DatabaseFormat& format, const std::string& folder,
                               const SearchConditions& conditions, const SearchDates& dates) {
  SearchTerms terms;
  terms.PlayerNumbers = format.PlayersByNumber;
  const std::string* players[2] = {&conditions.Player1, &conditions.Player2};
  if (format.PlayersByNumber) {
    std::vector<NameEntry> entries;
    (void)ReadNameEntries(folder, format.PlayerList, entries, kDialogListLineBytes);
    for (int i = 0; i < 2; ++i)
      terms.PlayerNumber[i] = DialogNameNumber(entries, *players[i], 1, kHighestPlayer);
  } else {
    for (int i = 0; i < 2; ++i) terms.PlayerName[i] = SqueezeSpaces(*players[i]);
  }
  terms.Tournament =
      ListNumberOfName(folder, format.TournamentList, conditions.Tournament, 1, kHighestListNumber);
  terms.Opening =
      ListNumberOfName(folder, format.OpeningList, conditions.Opening, 0, kHighestListNumber);
  terms.Dates = dates;
  return terms;
}

int DialogNameNumber(const std::vector<NameEntry>& entries, std::string_view name, int lowest,
                     int highest) {
  const std::string squeezed = SqueezeSpaces(name);
  if (squeezed.empty()) return 0;
  // The dialog's table by number: a later line of a number takes the earlier one's place.
  std::map<int, const std::string*> by_number;
  for (const NameEntry& entry : entries) {
    if (entry.Number >= lowest && entry.Number <= highest)
      by_number[entry.Number] = &entry.Squeezed;
  }
  for (const auto& [number, text] : by_number) {
    if (*text == squeezed) return number;
  }
  return 0;
}

}  // namespace shogi
