// What the two database formats share above their byte layouts: the fields of a game as an
// index record states them, the name lists and tables they are read and registered with,
// and the rules that turn stored fields into a game record and back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "database_files/name_lists.h"
#include "rules/game_record.h"
#include "rules/handicap.h"

namespace shogi {

// The move slots of a database block: plies 0..255, two bytes each.
constexpr int kBlockSlots = 256;

// The fields of one index record as stored: names already turned into cp932 text (Kisen
// through the tables), numbers not yet checked.
struct IndexFields {
  std::string FirstPlayer, SecondPlayer, Tournament, Opening;
  int GameNumber = 0;
  int Year = 0, Month = 0, Day = 0;
  int Result = 0;
  int HandicapCode = 0;
};

// The lists a database registers with (file order) and the tables it reads with. The
// Tarvel database stores player names itself and leaves the player list and table empty.
struct DatabaseNames {
  std::vector<NameEntry> Players, Tournaments, Openings;
  NameTable PlayerTable, TournamentTable, OpeningTable;
};

// What a search tests of an index record, read straight from its bytes without the name
// tables: the player numbers (Kisen) or names (Tarvel, views into the record's bytes), and
// the stored numbers.
struct SearchKeys {
  int PlayerNumber[2] = {0, 0};
  std::string_view PlayerName[2];
  int Tournament = 0, Opening = 0;
  int Year = 0, Month = 0, Day = 0;
  int Result = 0;
  int HandicapCode = 0;
};

// The shared fields of the search keys (as ReadSharedFields reads them).
template <class Index>
void ReadSharedKeys(const Index& index, SearchKeys& keys) {
  keys.Tournament = index.Tournament.Get();
  keys.Opening = index.Opening.Get();
  keys.Year = index.Year.Get();
  keys.Month = index.Month.Get();
  keys.Day = index.Day.Get();
  keys.Result = index.Result.Get();
  keys.HandicapCode = index.Handicap.Get();
}

// The fields both index layouts hold under the same names (KisenIndexRecord,
// TarvelIndexRecord): tournament and opening numbers (read through the tables), game number,
// date, result and handicap code.
template <class Index>
void ReadSharedFields(const Index& index, const DatabaseNames& names, IndexFields& fields) {
  SearchKeys keys;
  ReadSharedKeys(index, keys);
  fields.Tournament = names.TournamentTable[keys.Tournament];
  fields.Opening = names.OpeningTable[keys.Opening];
  fields.GameNumber = index.GameNumber.Get();
  fields.Year = keys.Year;
  fields.Month = keys.Month;
  fields.Day = keys.Day;
  fields.Result = keys.Result;
  fields.HandicapCode = keys.HandicapCode;
}

template <class Index>
void WriteSharedNumbers(const GameRecord& record, int handicap_code, int result, Index& index) {
  index.GameNumber.Set(record.GameNumber);
  index.Year.Set(record.Year);
  index.Month.Set(record.Month);
  index.Day.Set(record.Day);
  index.Result.Set(result);
  index.Handicap.Set(handicap_code);
}

// The start position of a stored handicap code of `scheme`: a code above the scheme's
// highest reads as the highest, one below 0 as the even game.
Handicap HandicapOfStoredCode(HandicapScheme scheme, int code);

// Fills the header and the start of `record` from `fields`: names, tournament and opening,
// game number (0 outside 0..9), date, result (0 outside 0..8), the start position and
// StartIndex of the handicap code. Returns the start position.
Handicap ApplyIndexFields(const IndexFields& fields, HandicapScheme scheme, GameRecord& record);

// The result a registration stores: the record's result, or for 1..4 that result + 4 when
// the block is full (`slots_used` 256) and the record holds a move beyond it.
int StoredResult(const GameRecord& record, int slots_used);

}  // namespace shogi
