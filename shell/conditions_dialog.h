// The logic of the game-conditions dialog "対局条件設定" (CTaikyoku): its lists, the byte
// limits of its fields and the checks made when "ＯＫ" is pressed. The window only shows the
// controls and hands their texts over.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "rules/game_record.h"
#include "shell/game_conditions.h"

namespace shogi {

inline constexpr const char* kConditionsTitle = "対局条件設定";

// Typing limits of the fields in cp932 bytes, so that every accepted text fits its field of
// the game record. The game number and the comment are checked on "ＯＫ" instead.
constexpr std::size_t kPlayerFieldBytes = 14;
constexpr std::size_t kTournamentFieldBytes = 16;
constexpr std::size_t kOpeningFieldBytes = 27;
constexpr std::size_t kGameNumberBytes = 1;
constexpr std::size_t kCommentBytes = 32;

// The dialog's fields, to put the focus on the one a check refused.
enum class ConditionsField {
  kNone,
  kFirstPlayer,
  kSecondPlayer,
  kTournament,
  kGameNumber,
  kYear,
  kMonth,
  kDay,
  kOpening,
  kComment,
  kStartPosition,
};

// The fields as the person sees and types them (UTF-8).
struct ConditionsForm {
  std::string FirstPlayer, SecondPlayer, Tournament, GameNumber;
  // In computer mode, the entries of the player list the two texts are (-1: a typed text), so
  // that a player is known by its place in the list, not by a name that may be cut or shared.
  int FirstChoice = -1, SecondChoice = -1;
  std::string Year, Month, Day;
  std::string Opening, Comment;
  int StartPosition = 0;
  bool BoardFlipped = false;
};

// The drop-down lists (UTF-8).
struct ConditionsLists {
  std::vector<std::string> Players;  // the player list of computer mode, or the name list
  std::vector<std::string> Tournaments;
  std::vector<std::string> Openings;
  std::vector<std::string> StartPositions;  // "現在の局面", "平手" .. "十枚落ち"
};

// "人間", "思考ﾚﾍﾞﾙ1".."思考ﾚﾍﾞﾙ9", when the library is offered "CSA将棋(DLL)", then the
// registered outside engines by name.
std::vector<std::string> ComputerPlayerList(bool library_offered,
                                            const std::vector<std::string>& engines = {});

// The entry of `players` that `text` is, the person's `selection` first (two entries may be
// named alike); -1 when it is none of them.
int PlayerChoiceOf(const std::vector<std::string>& players, const std::string& text, int selection);

// The lists for `c`: in computer mode the player list above, else the name lists of
// `folder` (the list files of the program folder).
ConditionsLists LoadConditionsLists(const GameConditions& c, const std::string& folder);

// The form filled from the record's data.
ConditionsForm FormFromConditions(const GameConditions& c);

// "ＯＫ": the checks in order (game number, year, month, day, comment, then characters that
// the record cannot hold); the first failure is shown through `ui`, `focus` names the field
// and false keeps the dialog open. Then the start-position note, the player kinds and the
// even-start rule of the thinking library. True when the dialog may close; `c` then holds
// the answer (texts in cp932).
[[nodiscard]] bool AcceptConditions(UserInterface& ui, const ConditionsForm& form,
                                    GameConditions& c, ConditionsField& focus);

// The player kind of entry `index` of the computer-mode player list (0 for "人間" or an index
// outside the list).
int PlayerKindOfEntry(int index, bool library_offered, std::size_t engines);

// The player kind a player text names in computer mode: 1..9 for "思考ﾚﾍﾞﾙn", -1 for the
// library (when offered), kFirstEnginePlayer + n for engine n, 0 for anything else.
int PlayerKindOfText(const std::string& text, bool library_offered,
                     const std::vector<std::string>& engines = {});

}  // namespace shogi
