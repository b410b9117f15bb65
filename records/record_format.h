// The record formats: one row per format with its name on the command line, its entries in
// the open and save dialogs' format lists, its file extension, its readers and its writer.
// The file commands, shogi-tool, the tests and the fuzzers all find a format here, so a new
// format is one reader/writer file and one row.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_stream.h"
#include "records/record_io.h"
#include "rules/game_record.h"
#include "rules/record_tree.h"

namespace shogi {

// In the order of the open dialog's format list; KI2, which has only its own open command,
// comes after KIF.
enum class RecordFormat : int {
  kMorita,
  kKif,
  kKi2,
  kEisei,
  kKaya,
  kAkafuji,
  kCsa,
  kShotest,
  kS1Log,
  kFuku,
  kKitaihei,
  kMaruyama,
  kOtsuki,
  kNazoteki,
  kShokidoki,
  kHShogi,
  kAmano,
  kAiShogi,
  kKanna,
  kOm1,
  kS1Year1996,
  kSuperShogi,
  kSekita,
  // A position string of other shogi software, read only and in neither dialog list.
  kSfen,  // "sfen BOARD SIDE HANDS [N] [moves ...]"
  kUsi,   // "position startpos moves ..."
  kPalm,  // the Palm file: its own commands, in neither dialog's list
  kJkf,   // the JSON record of the web viewers
};

// The reader of a file at a path: 0, or 1 with a message and the record untouched.
using RecordPathReader = int (*)(const std::string& path, GameRecord& record, std::string& message);
// The writer of a file at a path: 0, or 1 with a message.
using RecordPathWriter = int (*)(const std::string& path, const GameRecord& record,
                                 bool store_times, std::string& message);
// The bytes a writer would write: 0, or 1 with a message (a record the format cannot hold).
using RecordFormatter = int (*)(const GameRecord& record, bool store_times, std::string& bytes,
                                std::string& message);

// A file that holds several games (かや, 赤富士): the list dialog's rows and the game of a
// number. The general open shows the list; shogi-tool reads `--record N`.
enum class KayaWriteMode : int;  // records/kaya.h: a new file, a game added, a game replaced

struct RecordCollection {
  const char* ListTitle;  // the list dialog's title, as "か　や　一　覧　表"
  // 0 with the list dialog's header line and one row per game, or 1 with a message.
  int (*List)(const std::string& path, std::string& header, std::vector<std::string>& rows,
              std::string& message);
  // 0 with game `number` (from 1) in `record`, or 1 with a message and the record untouched.
  int (*ReadNumber)(const std::string& path, int number, GameRecord& record, std::string& message);
  // Where the format's files begin with a mark of their own: whether the file at `path` has
  // it, and the question asked before an existing file without it is listed anyway; nullptr
  // where nothing is checked.
  bool (*HasOwnMark)(const std::string& path) = nullptr;
  const char* UnmarkedQuestion = nullptr;
  // A file that takes games in place: a save into an existing file chooses between writing
  // it anew, adding the game in front and replacing the game last read from or written to
  // it (game `number`). nullptr where a save writes the file anew.
  int (*WriteGame)(const std::string& path, const GameRecord& record, KayaWriteMode mode,
                   int number, std::string& message) = nullptr;
  // The files are also the yearbook's data: with the yearbook mode on, opening one imports
  // the yearbook instead.
  bool YearbookData = false;
};

// A format that keeps comments and variations (RecordTree) beside the record.
struct RecordNotes {
  // The file's rules over a byte stream (`utf8_by_name`: its name asks for UTF-8): 0 with
  // the record and its tree (empty when the file has no comment and no variation), or 1
  // with a message and both untouched.
  int (*Read)(ByteStream& stream, bool utf8_by_name, GameRecord& record, RecordTree& tree,
              std::string& message);
  // The same with the rules of a URL download, where the format is read from one.
  int (*ReadUrl)(ByteStream& stream, bool utf8_by_name, GameRecord& record, RecordTree& tree,
                 std::string& message);
  // The writer's bytes with the tree's comments (and variations, where `Variations`); 0, or
  // 1 with a message. nullptr for a format that is only read.
  int (*Format)(const GameRecord& record, const RecordTree& tree, bool store_times,
                std::string& bytes, std::string& message);
  bool Variations;  // false: the format holds the main line's comments only
};

struct RecordFormatRow {
  RecordFormat Format;
  const char* ToolName;           // shogi-tool's FORMAT; nullptr while the format has none
  const char* ListText;           // its text in the dialogs' format lists (UTF-8); nullptr if none
  bool InOpenList;                // listed by the open dialog (22 entries)
  bool InSaveList;                // listed by the save dialog (5 entries)
  const char* Extension;          // the usual file extension without the dot; "" when none is fixed
  int MoveLimit;                  // the most moves its reader keeps
  RecordPathReader Read;          // nullptr while the format cannot be read
  RecordStreamReader ReadStream;  // the file's rules over any byte stream, where it has them
  RecordStreamReader ReadUrl;     // a URL download, where the format is read from one
  RecordPathWriter Write;         // nullptr while the format cannot be written
  RecordFormatter FormatBytes;    // the writer's bytes without a file, where it has them
  const RecordCollection* Collection;  // a file of several games; nullptr for one game a file
  const RecordNotes* Notes;            // comments and variations; nullptr where the format has none
  const char* OtherExtension;          // a second usual extension, "" for none
};

// Every format, in the order of RecordFormat.
std::span<const RecordFormatRow> RecordFormats();

const RecordFormatRow& RecordFormatRowOf(RecordFormat format);

// The row whose ToolName is `name`; nullptr when there is none.
const RecordFormatRow* FindRecordFormat(std::string_view name);

// The rows of the open and the save dialog's format list by list index; nullptr outside
// the list, where the dialog answers "この棋譜形式はサポートしてません。".
const RecordFormatRow* OpenListRow(int index);
const RecordFormatRow* SaveListRow(int index);
int OpenListSize();
int SaveListSize();
// The open list's first entry whose extension the file name at `path` has (letters in either
// case); -1 when none has it.
int OpenListIndexForPath(const std::string& path);
// Whether `extension` (without the dot, lower case) is one of the row's.
bool HasExtension(const RecordFormatRow& row, std::string_view extension);

// The message for a format that cannot be read or written yet.
inline constexpr const char kMessageUnsupportedFormat[] = "この棋譜形式はサポートしてません。";

// Reads `path` as `format`: the format's reader, or 1 with "この棋譜形式はサポートしてません。"
// when it has none.
[[nodiscard]] int ReadRecord(RecordFormat format, const std::string& path, GameRecord& record,
                             std::string& message);

// Writes `record` to `path` as `format` in the same way.
[[nodiscard]] int WriteRecord(RecordFormat format, const std::string& path,
                              const GameRecord& record, bool store_times, std::string& message);

// The same keeping comments and variations: a format with notes reads them into `tree`; any
// other leaves `tree` empty after a read.
[[nodiscard]] int ReadRecord(RecordFormat format, const std::string& path, GameRecord& record,
                             RecordTree& tree, std::string& message);
// A format with notes writes what it can hold of `tree`; any other writes the record alone.
[[nodiscard]] int WriteRecord(RecordFormat format, const std::string& path,
                              const GameRecord& record, const RecordTree& tree, bool store_times,
                              std::string& message);

}  // namespace shogi
