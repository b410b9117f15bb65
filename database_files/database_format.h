// The two database formats as one descriptor each, so that every operation on a database
// (reading, registering, and later listing, searching, sorting, merging and converting) is
// written once over the descriptor; the file paths of a chosen database; and the state the
// program keeps for each of the two databases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "database_files/index_fields.h"
#include "database_files/name_lists.h"
#include "database_files/position_pattern.h"
#include "rules/game_record.h"
#include "rules/handicap.h"

namespace shogi {

class QuickReplayVisitor;

enum class DatabaseKind : int { kKisen, kTarvel };

// Index records are at most this long (the header is one record).
constexpr std::size_t kMaxIndexRecordBytes = 40;
constexpr std::size_t kMoveBlockBytes = 512;

// A list number in an index record that a bulk change replaces: the byte offsets of its
// 16-bit fields (-1 for none) and the highest number the change accepts.
struct ListNumberFields {
  int Offsets[2];
  int Highest;
};

struct DatabaseFormat {
  DatabaseKind Kind;
  const char* Caption;  // message boxes: "棋泉" / "Tarvel"
  const char* NameCaption;  // a malformed file name: "棋泉ファイル名設定" / "Tarvelファイル名設定"
  const char* IndexExtension;    // "IDX" / "MIX"
  const char* MovesExtension;    // "KIF" / "MKF"
  const char* SearchListFile;    // in the program folder: "KENSAKU.DAT" / "検索.DAT" (UTF-8)
  std::size_t IndexRecordBytes;  // 32 / 40; record 0 is the header
  HandicapScheme Scheme;         // the numbering of the start positions
  // The lists the menus' 棋士名変更, 棋戦名変更 and 戦型名変更 open in the text editor.
  NameList PlayerList, TournamentList, OpeningList;
  // Whether index records name their players by PlayerList numbers (else by the names).
  bool PlayersByNumber;
  // Whether the list shows the last games first (逆順表示) until the user changes it.
  bool ReverseListAtStart;

  // The game count of a header (IndexRecordBytes bytes) of an index `index_bytes` long.
  std::uint32_t (*GameCount)(const std::uint8_t* header, std::uint64_t index_bytes);
  // The fields of an index record.
  IndexFields (*ReadIndex)(const std::uint8_t* record, const DatabaseNames& names);
  // Sets the fields of an index record from a game; the bytes the format does not
  // interpret stay as they are.
  void (*WriteIndex)(const GameRecord& game, int handicap_code, int result,
                     const DatabaseNames& names, std::uint8_t* record);
  // A block into move codes from the start's StartIndex on; returns the end ply.
  int (*DecodeBlock)(const std::uint8_t* block, Handicap start, MoveCode (&moves)[kMaxMoves]);
  // Move codes into a block; returns the number of slots in use.
  int (*EncodeBlock)(const MoveCode (&moves)[kMaxMoves], Handicap start, int handicap_code,
                     std::uint8_t* block);

  // What the whole-database commands differ in.
  const char* MissingMessage;  // a chosen database without its index
  const char* MergeWarning;    // before ﾌｧｲﾙ合併; "%s" takes the base path
  bool SwapsGames;             // 入れ換え (Tarvel)
  bool MergesDistributedData;  // 配布ﾃﾞｰﾀ合併 (Kisen)
  // The bulk changes: list numbers of players (Kisen), tournaments and openings; the byte
  // offsets of the two 12-byte player names (Tarvel; -1 for none).
  ListNumberFields PlayerNumbers, TournamentNumbers, OpeningNumbers;
  int PlayerNameOffsets[2];
  // What a search tests of an index record (names as views into `record`).
  SearchKeys (*SearchKeysOf)(const std::uint8_t* record);
  // The first ply before whose move the game of a block from `start` matches `pattern`, as
  // DecodeBlock's moves replayed would show it; -1 when none does.
  int (*FindPosition)(const std::uint8_t* block, Handicap start, const PositionPattern& pattern);
  // The quick replay of a block from `start` up to ply `last` (QuickReplay, block_walk.h).
  int (*ReplayQuickly)(const std::uint8_t* block, Handicap start, int last,
                       QuickReplayVisitor& visitor);
};

extern const DatabaseFormat kKisenFormat;
extern const DatabaseFormat kTarvelFormat;

const DatabaseFormat& FormatOf(DatabaseKind kind);

// The format whose index extension `path` ends in (".idx" or ".mix", in either case);
// nullptr for any other name.
const DatabaseFormat* FormatOfIndexPath(std::string_view path);

// Loads the lists and tables `format` reads and registers with from `folder` (the program
// folder, ending in a separator). Missing lists leave blank names and numbers 0.
void LoadDatabaseNames(const DatabaseFormat& format, const std::string& folder,
                       DatabaseNames& names);

// The files of one database: the chosen path without its three-letter extension, and the
// case its extensions take (file systems that tell cases apart find "games.idx" with
// "games.kif", and "GAMES.IDX" with "GAMES.KIF").
struct DatabasePaths {
  std::string Base;  // `KisenBasePath` / `TarvelBasePath`; empty when none is chosen
  bool LowerCase = false;

  // Base + "." + `extension` (given in capitals) in the database's case.
  std::string WithExtension(std::string_view extension) const;
  std::string Index(const DatabaseFormat& format) const {
    return WithExtension(format.IndexExtension);
  }
  std::string Moves(const DatabaseFormat& format) const {
    return WithExtension(format.MovesExtension);
  }
};

inline constexpr const char kMessageBadFileName[] = "ファイル名に異常があります。";

// The paths of the database a file dialog chose: the name must have at least five bytes
// and a '.' fourth from the end. 0; or 1 with "ファイル名に異常があります。" and `paths`
// cleared.
[[nodiscard]] int DatabasePathsOf(std::string_view chosen, DatabasePaths& paths,
                                  std::string& message);

// What the program keeps for each of the two databases during a run.
struct DatabaseSelection {
  DatabasePaths Paths;      // the chosen database; Paths.Base empty when none
  int CurrentRecordNo = 0;  // the game last read or registered, 0 none
  int SearchCount = 0;      // entries of the search list, 0: the next listing lists all

  bool Chosen() const { return !Paths.Base.empty(); }
};

// The ﾌｧｲﾙ名 / ﾌｧｲﾙ名２ step after the dialog's OK: the paths of `chosen` (or none, with
// the message as DatabasePathsOf gives it), and CurrentRecordNo and SearchCount reset.
[[nodiscard]] int ChooseDatabase(std::string_view chosen, DatabaseSelection& selection,
                                 std::string& message);

// After a registration that returned record number `number`: it becomes the current record
// and the search list is to be rebuilt.
void NoteRegistered(DatabaseSelection& selection, int number);

}  // namespace shogi
