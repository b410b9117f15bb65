// The record's side of the game-conditions dialog.
#include "shell/game_conditions.h"

#include <cstdlib>
#include <string>

#include "platform/cp932.h"

namespace shogi {

GameConditions ConditionsFromRecord(const GameRecord& record, bool computer_mode,
                                    bool start_editable, int preselected_start,
                                    bool library_offered) {
  GameConditions c;
  c.ComputerMode = computer_mode;
  c.StartEditable = start_editable;
  c.LibraryOffered = library_offered;
  c.StandardStart = record.StartIndex == 0 && record.InitialPosition == kInitialPosition;
  c.FirstPlayer = std::string(FieldText(record.FirstName));
  c.SecondPlayer = std::string(FieldText(record.SecondName));
  c.Tournament = std::string(FieldText(record.Tournament));
  c.GameNumber = record.GameNumber >= 1 && record.GameNumber <= 9
                     ? std::string(1, static_cast<char>('0' + record.GameNumber))
                     : std::string();
  c.Year = record.Year;
  c.Month = record.Month;
  c.Day = record.Day;
  // A record read from a file without a date has none: a game started on it is played today.
  if (c.Year <= 0 || c.Month <= 0 || c.Day <= 0) TodayInJapan(c.Year, c.Month, c.Day);
  c.Opening = std::string(FieldText(record.Opening));
  c.Comment = std::string(FieldText(record.Comment));
  c.StartPosition = preselected_start;
  c.BoardFlipped = record.BoardFlipped;
  c.PlayerKind[0] = record.PlayerKind[0];
  c.PlayerKind[1] = record.PlayerKind[1];
  return c;
}

int GameNumberFromText(std::string_view text) {
  if (text.size() == 1 && text[0] >= '1' && text[0] <= '9') return text[0] - '0';
  return 0;
}

void ApplyConditions(const GameConditions& c, GameRecord& record) {
  CopyCp932Field(record.FirstName, c.FirstPlayer);
  CopyCp932Field(record.SecondName, c.SecondPlayer);
  CopyCp932Field(record.Tournament, c.Tournament);
  CopyCp932Field(record.Opening, c.Opening);
  CopyCp932Field(record.Comment, c.Comment);
  record.GameNumber = GameNumberFromText(c.GameNumber);
  record.Year = c.Year;
  record.Month = c.Month;
  record.Day = c.Day;
  record.BoardFlipped = c.BoardFlipped;
  record.PlayerKind[0] = c.PlayerKind[0];
  record.PlayerKind[1] = c.PlayerKind[1];
}

}  // namespace shogi
