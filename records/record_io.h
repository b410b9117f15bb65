// What the record readers and writers share: line reading with a length limit, the
// messages, the name fields, the fresh record a reader fills, opening a file to read and
// writing one through the replacing write.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"
#include "platform/cp932.h"
#include "platform/http_client.h"
#include "rules/game_record.h"

namespace shogi {

// The messages of the record formats (UTF-8).
inline constexpr const char kMessageFileMissing[] = "指定ファイルが存在しません。";
inline constexpr const char kMessageCannotCreate[] = "ファイルが作成できません。";
inline constexpr const char kMessageMalformed[] = "ファイルに異常があります。";
inline constexpr const char kMessageUrlMissing[] = "指定URLが存在しません。";
inline constexpr const char kMessageUrlTimedOut[] = "指定URLから時間内に応答がありません。";
// The message of a download that did not succeed: kMessageUrlTimedOut when it ran out of
// time, else kMessageUrlMissing.
const char* UrlFailureMessage(DownloadState state);
inline constexpr const char kMessageOtherFormat[] = "ファイル形式が異なります。";
// A file of games with none to list (a Kaya file, a database).
inline constexpr const char kMessageNoData[] = "表示対象データがありません。";
// A game whose start a database layout has no code for (the databases, the Palm file).
inline constexpr const char kMessageNotSavable[] = "セーブ対象の棋譜ではありません。";

// Names read from a record file keep at most this many bytes.
constexpr std::size_t kReadNameBytes = 20;

// Text records end their lines with CR LF.
inline constexpr char kLineEnd[] = "\r\n";
// The longest cumulative time a record holds, 99:59:59; longer times are held there.
inline constexpr long kMaxCumulativeSeconds = 99L * 3600 + 59 * 60 + 59;
// The binary record files are read whole, up to this many bytes.
inline constexpr std::size_t kMaxBinaryRecordBytes = 1u << 20;
// A file or rank digit '1'..'9' as its number; 0 for any other character.
inline int SquareDigit(char c) {
  return c >= '1' && c <= '9' ? c - '0' : 0;
}

// How a line ends: at a line feed with carriage returns dropped (text files and URL
// streams), or at either a carriage return or a line feed (CSA files).
enum class LineEnd { kLineFeed, kCarriageReturnOrLineFeed };

// Splits a byte stream into lines of at most `max_bytes` bytes. A longer line is cut there
// and the rest of it, up to its line end, is dropped: a long comment stays a comment, and
// nothing past the limit can be taken for a line of its own. The input stops after
// kMaxInputBytes, so that an endless stream cannot keep a reader busy forever.
class LineReader {
 public:
  static constexpr std::size_t kMaxInputBytes = 64u << 20;
  static constexpr std::size_t kMaxLineBytes = 4095;

  LineReader(ByteStream& stream, std::size_t max_bytes, LineEnd end);
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line without its line end; false when the input is exhausted.
  [[nodiscard]] bool Next(std::string_view& line);

  // Whether the input ended with a read error or was cut at kMaxInputBytes.
  bool Failed() const { return failed_; }
  // Whether the line Next gave last was cut at the limit. A reader refuses a cut line that
  // holds moves, where the cut may have split a move or dropped the ones after it.
  bool Cut() const { return cut_; }

 private:
  bool Refill();

  ByteStream& stream_;
  const std::size_t max_bytes_;
  const LineEnd end_;
  std::size_t begin_ = 0, end_of_data_ = 0, total_ = 0;
  bool eof_ = false, failed_ = false, cut_ = false;
  char buffer_[16384];
  char line_[kMaxLineBytes + 1];
};

// CutName (platform/cp932.h) at the length names read from a record file keep.
inline std::string_view CutName(std::string_view text) {
  return CutName(text, kReadNameBytes);
}

// Whether `line` begins with `prefix`.
inline bool StartsWith(std::string_view line, std::string_view prefix) {
  return line.size() >= prefix.size() && line.compare(0, prefix.size(), prefix) == 0;
}

// Sets the date of `record` from a text that begins "YYYY/MM/DD" (the start time of a KIF
// header or a CSA $START_TIME); false, the date unchanged, when it does not.
bool ReadSlashDate(std::string_view text, GameRecord& record);

// Sets `scratch` up as a copy of `current` for a reader to fill: the even-game position,
// StartIndex and PlyCount 0, no moves, no times, clocks 0, no result, empty names,
// tournament and opening, and no date (0): a record read has the date its file gives or
// none, never the date of the record shown before. Game number, comment, board side and
// player kinds stay.
void PrepareRecordForReading(const GameRecord& current, GameRecord& scratch);

// The number of moves a writer writes: from StartIndex up to the end marker, the first move
// that is not well-formed, or the end of the array.
int WritableMoveCount(const GameRecord& record);

// Whether a record read holds nothing that a file gave it: no move, no result, no name and
// the even game from its start. That is what a reader makes of a file of another format
// whose lines it skips.
[[nodiscard]] bool HoldsNoGame(const GameRecord& record);

// The end of a statement-by-statement read (CSA, 永世): the record is taken when the reader
// reached the moves and either saw the record's end or the lines ran out cleanly, and it
// holds a game (HoldsNoGame) unless a statement only the format has said so (the reader's
// Marked()); shown at its start. 0, or 1 with "ファイルに異常があります。" and `record`
// untouched.
template <typename Reader>
[[nodiscard]] int FinishStatementRead(Reader& reader, const LineReader& lines, GameRecord& record,
                                      std::string& message) {
  if (!reader.InMoves() || (!reader.Done() && lines.Failed()) ||
      (!reader.Marked() && HoldsNoGame(reader.Record()))) {
    message = kMessageMalformed;
    return 1;
  }
  GameRecord& r = reader.Record();
  r.PlyCount = r.StartIndex;
  record = r;
  return 0;
}

// The byte-stream reader of a format: fills `record` from `stream`; 0, or 1 with a message
// and `record` untouched.
using RecordStreamReader = int (*)(ByteStream& stream, GameRecord& record, std::string& message);

// Opens `path` for a reader; nonzero with "指定ファイルが存在しません。" when it cannot be read.
[[nodiscard]] int OpenRecordFile(const std::string& path, FileByteStream& file,
                                 std::string& message);

// Reads the file at `path` with the stream reader `read`: 0, or 1 with the reader's message
// or "指定ファイルが存在しません。".
[[nodiscard]] int ReadRecordPath(const std::string& path, RecordStreamReader read,
                                 GameRecord& record, std::string& message);

// Writes a record file's `bytes` to `path`, replacing any old file only once the new one is
// complete on the disk: 0, or 1 with "ファイルが作成できません。" and the old file as it was.
[[nodiscard]] int WriteRecordFile(const std::string& path, std::string_view bytes,
                                  std::string& message);

}  // namespace shogi
