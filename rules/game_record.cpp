// The game record: reset, replay and the result texts.
#include "rules/game_record.h"

#include <ctime>

#include "platform/cp932.h"

namespace shogi {

void ResetGameRecord(GameRecord& record) {
  record = GameRecord{};
  record.InitialPosition = kInitialPosition;
  const std::string person = Cp932("人間");
  CopyCp932Field(record.FirstName, person);
  CopyCp932Field(record.SecondName, person);
  TodayInJapan(record.Year, record.Month, record.Day);
}

int RecordMoveCount(const GameRecord& record) {
  int i = record.StartIndex;
  while (i < kMaxMoves && !IsEndMarker(record.MoveList[i])) ++i;
  return i - record.StartIndex;
}

bool MoveFollows(const GameRecord& record) {
  return record.PlyCount >= record.StartIndex && record.PlyCount < kMaxMoves &&
         !IsEndMarker(record.MoveList[record.PlyCount]);
}

Position PositionAt(const GameRecord& record, int n) {
  Position pos = record.InitialPosition;
  if (n > kMaxMoves) n = kMaxMoves;
  for (int i = record.StartIndex; i < n; ++i) {
    MoveCode m = record.MoveList[i];
    if (!IsWellFormedMove(m)) break;
    ApplyMove(pos, m, SideOfPly(i));
  }
  return pos;
}

void ReplayTo(GameRecord& record, Position& pos, int n) {
  if (n < 0) {
    record.InitialPosition = pos;
  } else {
    pos = PositionAt(record, n);
  }
}

void TodayInJapan(int& year, int& month, int& day) {
  std::time_t now = std::time(nullptr) + 32400;
  std::tm tm{};
#ifdef _WIN32
  gmtime_s(&tm, &now);
#else
  gmtime_r(&now, &tm);
#endif
  year = tm.tm_year + 1900;
  month = tm.tm_mon + 1;
  day = tm.tm_mday;
}

std::string ResultText(const GameRecord& record) {
  const bool handicap = record.StartIndex == 1;
  switch (record.ResultCode) {
    case kResultNone:
      return record.PlyCount != 0 ? "指し掛けです。" : "";
    case kResultFirstWins:
      return handicap ? "下手勝ちです。" : "先手勝ちです。";
    case kResultSecondWins:
      return handicap ? "上手勝ちです。" : "後手勝ちです。";
    case kResultRepetition:
      return " 千日手です。";
    case kResultImpasse:
      return " 持将棋です。";
    case kResultFirstWinsLater:
      return handicap ? "以下下手勝ち。" : "以下先手勝ち。";
    case kResultSecondWinsLater:
      return handicap ? "以下上手勝ち。" : "以下後手勝ち。";
    case kResultRepetitionLater:
      return " 以下千日手。";
    case kResultImpasseLater:
      return " 以下持将棋。";
  }
  return "";
}

const char* ResultMenuText(int result_code) {
  static const char* const kTexts[kResultCodeCount] = {"未登録",       "先手勝ち",   "後手勝ち",
                                                       "千日手",       "持将棋",     "以下先手勝ち",
                                                       "以下後手勝ち", "以下千日手", "以下持将棋"};
  return result_code >= 0 && result_code < kResultCodeCount ? kTexts[result_code] : "";
}

}  // namespace shogi
