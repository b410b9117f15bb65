// Converting a whole database into the other format beside it (棋泉->Tarvel and
// Tarvel->棋泉), and the three Tarvel name lists written from the Kisen lists after a
// conversion to Tarvel.
#pragma once

#include <cstdint>
#include <string>

#include "database/game_database.h"
#include "platform/progress.h"

namespace shogi {

// One direction: its formats, its texts and how an index record becomes the other's.
struct DatabaseConversion {
  const DatabaseFormat* From;
  const DatabaseFormat* To;
  const char* Caption;      // "棋泉->Tarvel" / "Tarvel->棋泉": the menu item, message boxes
  const char* DialogTitle;  // the open-file dialog's title
  const char* MissingMessage;  // "棋泉ファイルが存在しません。" / "Tarvelファイルが存在しません。"
  const char* SourceFileKey;  // "棋泉" / "Tarvel": the dialog starts from the path kept there
  bool AsksForLists;  // 棋泉->Tarvel offers to write 棋士名.DAT, 棋戦.DAT and 戦型.DAT
  // Fills the target's index record `to` (zeroed) from the source's `from`: names through the
  // Kisen player list, `handicap_code` the Tarvel code of the game's start.
  void (*ConvertIndex)(const std::uint8_t* from, const DatabaseNames& kisen_names,
                       int handicap_code, std::uint8_t* to);
};

extern const DatabaseConversion kKisenToTarvel;
extern const DatabaseConversion kTarvelToKisen;
// The conversion whose source has `format`.
const DatabaseConversion& ConversionFrom(const DatabaseFormat& format);

inline constexpr const char kConvertOverwriteQuestion[] =
    "すでに棋譜ファイルが存在します。\n上書きしてよろしいでしょうか？　";

// Opens the source pair of `paths`: 0; or 1 with the conversion's missing message when a
// file is not there, or "ファイルに異常があります。" for a damaged pair.
[[nodiscard]] int OpenConversionSource(const DatabaseConversion& conversion,
                                       const DatabasePaths& paths, GameDatabase& source,
                                       std::string& message);

// Whether the target's index file is there already (the overwrite question).
bool ConversionTargetExists(const DatabaseConversion& conversion, const DatabasePaths& paths);

// Writes every game of `source` (opened by OpenConversionSource) as the target pair of
// `paths`, with the Kisen player list of `folder` (the program folder): index records as
// ConvertIndex makes them, blocks decoded from the source's encoding and encoded in the
// target's from the start position the target reads the handicap code as (Kisen reads the
// Tarvel codes 8..10 as 六枚落ち; moves that cannot be played from there are cut). 0 with
// `games` converted; or 1 with "ファイルに異常があります。" (a source record cannot be read),
// "ファイルが作成できません。" or "中断しました。" (`progress`, told of every game, stopped
// it). Both target files replace the old ones only when both are whole.
[[nodiscard]] int ConvertDatabase(const DatabaseConversion& conversion, const GameDatabase& source,
                                  const DatabasePaths& paths, const std::string& folder, int& games,
                                  const LoopProgress& progress, std::string& message);

// The Tarvel lists written from the Kisen lists of `folder` after 棋泉->Tarvel, each after its
// question:
//   棋士名.DAT  each KSNAME.DAT line's name from byte 6, trailing spaces removed, when not empty
//   棋戦.DAT    every KISEN.DAT line that does not begin with '+', as it is
//   戦型.DAT    every line of SENKEI.DAT (or SENKEI/SENKEI.DAT), as it is; empty without either
struct ConvertedList {
  const char* Question;  // "棋士名.DATを作成しますか？" ...
  NameList Target;
  NameList Source;
};
inline constexpr ConvertedList kConvertedLists[] = {
    {"棋士名.DATを作成しますか？", NameList::kTarvelPlayers, NameList::kKisenPlayers},
    {"棋戦.DATを作成しますか？", NameList::kTarvelTournaments, NameList::kKisenTournaments},
    {"戦型.DATを作成しますか？", NameList::kTarvelOpenings, NameList::kKisenOpenings},
};

// Writes `list` anew in `folder`. 0; or 1 with "ファイルが作成できません。".
[[nodiscard]] int WriteConvertedList(const ConvertedList& list, const std::string& folder,
                                     std::string& message);

}  // namespace shogi
