// A database on disk, the same for both formats: opening a pair of files and checking that
// they agree, creating an empty pair, reading game n into the game record and registering
// the game record as a new game or over game n.
//
// The menus 棋泉 and Tarvel hold one DatabaseSelection each and work with the format's
// descriptor (kKisenFormat, kTarvelFormat) and the program folder:
//   ﾌｧｲﾙ名      ChooseDatabase (message box with format.NameCaption on 1), then
//               ProbeDatabase: kMissing asks "ファイルを新規に作成しますか？" and calls
//               CreateDatabase (いいえ clears selection.Paths); kTruncated asks whether to
//               repair it (RepairDatabase); kDamaged shows the message.
//   新規登録    RegisterGame with number 0; on 0, NoteRegistered(selection, number).
//   修正登録    the same with number = selection.CurrentRecordNo (≥ 1, after the question).
//   a listed game   ReadGame, then selection.CurrentRecordNo = n.
//   棋士名変更 / 棋戦名変更 / 戦型名変更   NameListPath(folder, format.PlayerList /
//               TournamentList / OpeningList) is the file to open in the text editor.
//   検索条件    the dialog's logic in search_conditions.h, the search in game_search.h.
//   一覧表      the list dialog's model in game_list.h (GameList; a listed game is read
//               through LoadListedGame, which gives ReadGame the searched ply as its hook).
//   逆順表示    ListSettings::ReverseOf(format) (game_list.h), kept for the run.
// Messages go to a message box with format.Caption.
//
// The database's count (record 0 of the index) is the truth: registration writes the move
// block and the index record first, flushes them to the disk, and only then raises the
// count, so a failure or a crash at any point leaves either the old database or the new one.
// Records beyond the count (left by such an interruption, whole or torn) are not games: they
// are never read, and the next registration writes over them. A count that claims more
// records than either file holds whole (a copy cut short) makes a damaged database: its
// whole records are listed, searched and read, but nothing writes to it until
// RepairDatabase has set its count to them. An empty index file is an empty database. A
// whole-file rewrite that a crash cut short (database/database_rewrite.h) is finished or
// undone first, wherever a database is opened, probed or created.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "database_files/database_format.h"
#include "platform/record_file.h"
#include "records/record_io.h"
#include "rules/game_record.h"

namespace shogi {

// The messages of the database routines (UTF-8).
inline constexpr const char kMessageNumberBeyondCount[] = "番号が登録データ数を超してます。";

// The most games a database may hold here: game numbers are ints.
constexpr std::uint32_t kMaxGameCount = 0x7FFFFFFE;

// What GameDatabase::Open does with a database whose count claims more games than its files
// hold whole: refuse it (every command that writes), or read its whole records.
enum class TruncatedDatabase { kRefuse, kReadWhole };

// An open, checked pair of database files. Every operation opens one, works and closes it.
class GameDatabase {
 public:
  // Opens the index and move files of `paths` and checks them: the index is empty or holds
  // a whole header, and both files hold at least the records its count claims (with
  // kReadWhole, Count() is otherwise the number of whole records and Truncated() is true).
  // 0; or 1 with "指定ファイルが存在しません。" (no index), "ファイルに異常があります。" (no
  // move file beside the index, or a damaged pair) or, for kReadWrite, "ファイルが作成でき
  // ません。" (a file that cannot be opened for writing).
  [[nodiscard]] int Open(const DatabaseFormat& format, const DatabasePaths& paths,
                         RecordFile::Mode mode, std::string& message,
                         TruncatedDatabase truncated = TruncatedDatabase::kRefuse);

  const DatabaseFormat& Format() const { return *format_; }
  int Count() const { return count_; }
  // Whether the header's count claims more games than Count(), and that count.
  bool Truncated() const { return stated_count_ > static_cast<std::uint64_t>(count_); }
  std::uint64_t StatedCount() const { return stated_count_; }

  // Index record n (0 the header, else 1..Count()) into `record` (IndexRecordBytes bytes).
  [[nodiscard]] bool ReadIndex(int n, std::uint8_t* record) const;
  // The move block of game n (1..Count()) into `block` (kMoveBlockBytes bytes).
  [[nodiscard]] bool ReadBlock(int n, std::uint8_t* block) const;
  // The same for `n` records or blocks from `first` on, in one read each.
  [[nodiscard]] bool ReadIndexRange(int first, int n, std::uint8_t* records) const;
  [[nodiscard]] bool ReadBlockRange(int first, int n, std::uint8_t* blocks) const;

  // Registration's writes (kReadWrite): game n's block and index record, written and
  // flushed to the disk; then the count, written and flushed. WriteGame may write game
  // Count() + 1 over whatever lies beyond the count; it becomes a game only through
  // SetCount.
  [[nodiscard]] bool WriteGame(int n, const std::uint8_t* record, const std::uint8_t* block);
  [[nodiscard]] bool SetCount(int count);

  // Closes both files: a rewrite closes the database it read before it puts its new files in
  // their place (Windows refuses to replace an open file).
  void Close() {
    index_.Close();
    moves_.Close();
  }

 private:
  const DatabaseFormat* format_ = &kKisenFormat;
  RecordFile index_, moves_;
  int count_ = 0;
  std::uint64_t stated_count_ = 0;
  std::uint64_t index_bytes_ = 0;
  bool has_header_ = true;          // an empty index has none yet
  bool stored_count_whole_ = true;  // the header's four count bytes say count_
};

// Whether the database of `paths` is there: no index file; a sound pair; a damaged one whose
// whole records can be read (its count claims more); or one that cannot be read at all (a
// message says why, as GameDatabase::Open gives it).
enum class DatabaseState { kMissing, kSound, kTruncated, kDamaged };
DatabaseState ProbeDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                            std::string& message);

// Sets the count of a database whose count claims more games than its files hold whole to
// the number of whole games; nothing else of the files changes. 0 with `count` the database's
// count (also when there was nothing to repair); or 1 with a message of GameDatabase::Open
// or "ファイルが作成できません。" (the count could not be written).
[[nodiscard]] int RepairDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                                 int& count, std::string& message);

// Creates an empty pair: an index holding a zero header and an empty move file. Neither
// file may exist yet (a move file without its index may be a user's KIF record file, and
// is never overwritten). 0; or 1 with "ファイルが作成できません。" and nothing created.
[[nodiscard]] int CreateDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                                 std::string& message);

// The number of games (of a damaged database, its whole games): 0 with `count` set; or 1
// with a message as GameDatabase::Open gives.
[[nodiscard]] int DatabaseGameCount(const DatabaseFormat& format, const DatabasePaths& paths,
                                    int& count, std::string& message);

// The ply a read game is shown at, given the game as read (a position search's hook); the
// answer is kept between StartIndex and the end of the moves. Without a hook: StartIndex.
using ShownPlyHook = std::function<int(const GameRecord& game)>;

// Reads game n into `record`: the header through the name tables, the start position of
// its handicap code, the moves (up to the last move that can be played: a damaged block
// loads the sound moves before the damage), no times, shown at the hook's ply. Returns n;
// or 0 with a message and `record` untouched: the files' messages of GameDatabase::Open,
// "番号が登録データ数を超してます。" for n outside 1..count, "ファイルに異常があります。" for
// a game of a damaged database's count past its whole games.
[[nodiscard]] int ReadGame(const DatabaseFormat& format, const DatabasePaths& paths,
                           const DatabaseNames& names, int n, GameRecord& record,
                           std::string& message, const ShownPlyHook& shown_ply = {});
// The same with the name lists of `folder` (the program folder).
[[nodiscard]] int ReadGame(const DatabaseFormat& format, const DatabasePaths& paths,
                           const std::string& folder, int n, GameRecord& record,
                           std::string& message, const ShownPlyHook& shown_ply = {});

// Registers `record`: as a new game when `number` is 0 (新規登録; `number` becomes its game
// number), else over game `number` (修正登録; the bytes of the old index record that the
// format does not interpret are kept). The moves from StartIndex on are stored up to slot
// 255; a game cut there with a result 1..4 stores the result + 4. 0; or 1 with a message
// and the count as it was: "セーブ対象の棋譜ではありません。" (a start position the
// format has no code for), "番号が登録データ数を超してます。", "ファイルが作成できません。"
// (a file that cannot be opened or written), or the messages of GameDatabase::Open.
[[nodiscard]] int RegisterGame(const DatabaseFormat& format, const DatabasePaths& paths,
                               const DatabaseNames& names, const GameRecord& record, int& number,
                               std::string& message);
// The same with the name lists of `folder` (the program folder).
[[nodiscard]] int RegisterGame(const DatabaseFormat& format, const DatabasePaths& paths,
                               const std::string& folder, const GameRecord& record, int& number,
                               std::string& message);

}  // namespace shogi
