// The 丸山将棋 reader. A file whose first byte is NUL begins with a 128-byte preamble that is
// skipped. Then, byte columns from 0:
//
// | line                    | meaning                                                  |
// |-------------------------|----------------------------------------------------------|
// | first line "先手：" name | sente's name                                             |
// | second line "後手：" name| gote's name                                              |
// | move lines              | at byte 2 the destination (or 同), at byte 6 the piece,  |
// |                         | then "(77)", "打", "成(77)" or "不成(77)"                 |
// | "投了" at byte 2        | the side to move resigned                                |
//
// Other lines are not the reader's.
#include "records/maruyama.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::size_t kPreambleBytes = 128;
constexpr std::size_t kMaruyamaMoveColumn = 2;
// The largest file read: a record of 500 moves is far smaller.

}  // namespace

int ReadMaruyama(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string sente = Cp932("先手："), gote = Cp932("後手："),
                           resigned = Cp932("投了");
  std::string bytes;
  if (!ReadAllBytes(stream, bytes, kMaxBinaryRecordBytes)) {
    message = kMessageMalformed;
    return 1;
  }
  std::string_view text = bytes;
  if (!text.empty() && text[0] == '\0') text = text.substr(std::min(text.size(), kPreambleBytes));
  MemoryByteStream body(text);
  LineReader lines(body, 255, LineEnd::kLineFeed);
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kMaruyama).MoveLimit);
  std::string_view line;
  if (!lines.Next(line) || !StartsWith(line, sente)) {
    message = kMessageMalformed;
    return 1;
  }
  game.SetName(kFirst, line.substr(sente.size()));
  if (!lines.Next(line) || !StartsWith(line, gote)) {
    message = kMessageMalformed;
    return 1;
  }
  game.SetName(kSecond, line.substr(gote.size()));
  bool done = false;
  while (!done && lines.Next(line)) {
    if (HasAt(line, kMaruyamaMoveColumn, resigned)) {
      game.EndByResignation();
      done = true;
      continue;
    }
    MoveCode m;
    const bool read = ReadKifLikeMove(line, kMaruyamaMoveColumn, game.Pos(), game.PreviousDestination(), m);
    if (!read && !BeginsKifLikeMove(line, kMaruyamaMoveColumn)) continue;
    if (!read || !game.Add(m)) {
      message = kMessageMalformed;
      return 1;
    }
    done = game.Full();
  }
  return game.Install(record, message);
}

int ReadMaruyama(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadMaruyama, record, message);
}

}  // namespace shogi
