// The 福将棋 reader. Lines of at most 255 bytes, byte columns from 0:
//
// | line                       | meaning                                              |
// |----------------------------|------------------------------------------------------|
// | before "  1:"              | not the reader's                                     |
// | "%3d:" and a space         | a move from the line "  1:" on: at byte 5 the        |
// |                            | destination (or 同), the piece, 成 / 不成 / 打; at    |
// |                            | byte 42 the origin "(77)" of a board move            |
// | "%3d:" and "投了" at byte 5 | the side to move resigned                           |
//
// The file name tells which side the program played: "fuku_" in it sente, "kifu_" gote.
#include "records/fuku.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::size_t kFukuMoveColumn = 5;
constexpr std::size_t kOriginColumn = 42;

bool IsNumbered(std::string_view line) {
  if (line.size() < 4 || line[3] != ':') return false;
  for (std::size_t i = 0; i < 3; ++i)
    if (line[i] != ' ' && (line[i] < '0' || line[i] > '9')) return false;
  return line[2] != ' ';
}

}  // namespace

int ReadFuku(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string resigned = Cp932("投了");
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kFuku).MoveLimit);
  bool in_moves = false;
  std::string preamble;
  return ReadRecordLines(
      stream, 0, preamble, game,
      [&](std::string_view line) {
        if (!in_moves && !StartsWith(line, "  1:")) return LineTaken::kOther;
        in_moves = true;
        if (!IsNumbered(line)) return LineTaken::kOther;
        if (HasAt(line, kFukuMoveColumn, resigned)) {
          game.EndByResignation();
          return LineTaken::kEnd;
        }
        MoveCode m;
        const int previous = game.PreviousDestination();
        const bool read =
            ReadKifLikeMove(line, kFukuMoveColumn, game.Pos(), previous, m, kOriginColumn) ||
            ReadKifLikeMove(line, kFukuMoveColumn, game.Pos(), previous, m);
        return read && game.Add(m) ? LineTaken::kMove : LineTaken::kMalformed;
      },
      record, message);
}

int ReadFuku(const std::string& path, GameRecord& record, std::string& message) {
  if (ReadRecordPath(path, ReadFuku, record, message) != 0) return 1;
  const std::size_t slash = path.find_last_of("/\\");
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  static const std::string program = Cp932("福将棋");
  if (name.find("fuku_") != std::string::npos) CopyCp932Field(record.FirstName, program);
  if (name.find("kifu_") != std::string::npos) CopyCp932Field(record.SecondName, program);
  return 0;
}

}  // namespace shogi
