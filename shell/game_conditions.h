// The game-conditions dialog's data and the record's side of it: filling the struct from
// the record and storing the answer back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/game_record.h"

namespace shogi {

// The game-conditions dialog's data ("対局条件設定"). The texts are cp932 bytes exactly as the
// game record holds them; the dialog converts them for display and back.
struct GameConditions {
  // Given to the dialog.
  bool ComputerMode = false;         // player fields choose a player kind instead of a name
  bool StartEditable = false;        // the start position may be chosen (the start of a game)
  bool LibraryOffered = false;       // "CSA将棋(DLL)" is in the player list
  bool StandardStart = false;        // the record starts from the standard position, first to move
  std::vector<std::string> Engines;  // the registered outside engines' names (UTF-8)
  // Given and returned.
  std::string FirstPlayer;  // name, or in computer mode the text of the chosen player
  std::string SecondPlayer;
  std::string Tournament;
  std::string GameNumber;  // "" or one digit "1".."9"
  int Year = 0, Month = 0, Day = 0;
  std::string Opening;
  std::string Comment;
  int StartPosition = 0;  // 0 "現在の局面", 1 "平手" .. 10 "十枚落ち"
  bool BoardFlipped = false;
  // Returned: 0 a person, 1..9 the in-process computer, -1 the thinking library,
  // kFirstEnginePlayer + n the outside engine n.
  int PlayerKind[2] = {0, 0};
};

// The dialog's data for `record`: header texts (cp932, as stored), the game number as "" or
// one digit, the date (today for a record without one), the flipped flag, the preselected
// start position.
GameConditions ConditionsFromRecord(const GameRecord& record, bool computer_mode,
                                    bool start_editable, int preselected_start,
                                    bool library_offered);

// Stores the dialog's answer: names, tournament and opening into their 28-byte fields and
// the comment into its 34-byte field (cut without splitting a character), the game number
// (0 unless one digit 1..9), the date, the flipped flag and the two player kinds. The start
// position is the caller's business.
void ApplyConditions(const GameConditions& conditions, GameRecord& record);

// The game number of a dialog text: "1".."9" give 1..9, anything else 0.
int GameNumberFromText(std::string_view text);

}  // namespace shogi
