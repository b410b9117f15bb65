// The record's side of the game-conditions dialog: filling its struct from the record and
// storing the answer back.
#pragma once

#include <string_view>

#include "platform/user_interface.h"
#include "rules/game_record.h"

namespace shogi {

// The dialog's data for `record`: header texts (cp932, as stored), the game number as "" or
// one digit, the date, the flipped flag, the preselected start position.
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
