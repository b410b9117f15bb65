// Reading game dates written with era names or Western years.
#include "records/record_date.h"

#include <string>

#include "platform/cp932.h"
#include "records/notation.h"
#include "records/record_io.h"

namespace shogi {
namespace {

struct Era {
  const char* name;
  int year_before_first;  // the Western year before the era's year 1
};
constexpr Era kEras[] = {{"平成", 1988}, {"昭和", 1925}, {"大正", 1911}, {"明治", 1867}};

struct DateTexts {
  std::string era[std::size(kEras)];
  std::string first_year = Cp932("元");
  std::string year = Cp932("年");
  std::string month = Cp932("月");
  std::string wide_space = Cp932("　");
  Kanji wide_zero = KanjiAt(Cp932("０"), 0);
  DateTexts() {
    for (std::size_t i = 0; i < std::size(kEras); ++i) era[i] = Cp932(kEras[i].name);
  }
};

const DateTexts& DateText() {
  static const DateTexts texts;
  return texts;
}

void SkipSpaces(std::string_view text, std::size_t& i) {
  for (;;) {
    if (i < text.size() && text[i] == ' ') {
      ++i;
    } else if (StartsWith(text.substr(i), DateText().wide_space)) {
      i += 2;
    } else {
      return;
    }
  }
}

// A number of ASCII or full-width digits at byte `i` (at most six digits); -1 when none.
int ReadNumber(std::string_view text, std::size_t& i) {
  int value = -1;
  for (int digits = 0; digits < 6; ++digits) {
    int d;
    if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      d = text[i] - '0';
      ++i;
    } else if (i + 1 < text.size() && KanjiAt(text, i) >= DateText().wide_zero &&
               KanjiAt(text, i) <= DateText().wide_zero + 9) {
      d = KanjiAt(text, i) - DateText().wide_zero;
      i += 2;
    } else {
      break;
    }
    value = (value < 0 ? 0 : value * 10) + d;
  }
  return value;
}

// The number at byte `i` followed by `unit`, spaces allowed around; -1 when either is missing.
int ReadPart(std::string_view text, std::size_t& i, const std::string& unit) {
  SkipSpaces(text, i);
  const int value = ReadNumber(text, i);
  SkipSpaces(text, i);
  if (value < 0 || !StartsWith(text.substr(i), unit)) return -1;
  i += unit.size();
  return value;
}

}  // namespace

bool ReadJapaneseDate(std::string_view text, int& year, int& month, int& day) {
  const DateTexts& x = DateText();
  std::size_t i = 0;
  SkipSpaces(text, i);
  int base = 0;
  for (std::size_t e = 0; e < std::size(kEras); ++e) {
    if (StartsWith(text.substr(i), x.era[e])) {
      base = kEras[e].year_before_first;
      i += x.era[e].size();
      break;
    }
  }
  int y;
  if (base != 0 && StartsWith(text.substr(i), x.first_year) &&
      StartsWith(text.substr(i + x.first_year.size()), x.year)) {
    y = 1;
    i += x.first_year.size() + x.year.size();
  } else {
    y = ReadPart(text, i, x.year);
  }
  const int m = ReadPart(text, i, x.month);
  SkipSpaces(text, i);
  const int d = ReadNumber(text, i);
  if (y <= 0 || m <= 0 || m > 12 || d <= 0 || d > 31) return false;
  year = base + y;
  month = m;
  day = d;
  return true;
}

}  // namespace shogi
