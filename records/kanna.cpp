// The 神無 無段 reader, byte columns from 0:
//
// | part                  | content                                                   |
// |-----------------------|-----------------------------------------------------------|
// | bytes 0-127           | preamble; byte 0 is "1" when the program played gote      |
// |                       | (anything else: sente)                                    |
// | lines before "  1:"   | not the reader's                                          |
// | "%3d:" lines          | a move from byte 5: destination or 同, piece, 成 / 不成 / |
// |                       | 打, the origin "(77)"                                     |
// | a line beginning まで | the side to move resigned                                 |
#include "records/kanna.h"

#include <utility>

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

LineTaken TakeLine(std::string_view line, ForeignGame& game, void* state) {
  bool& in_moves = *static_cast<bool*>(state);
  if (!in_moves && !StartsWith(line, "  1:")) return LineTaken::kOther;
  in_moves = true;
  return TakeKifLikeLine(line, 5, 0, game);
}

}  // namespace

int ReadKanna(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string program = Cp932("神無 無段");
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kKanna).MoveLimit);
  std::string preamble;
  bool in_moves = false;
  game.SetName(kFirst, program);
  GameRecord read = record;
  if (ReadMoveLines(stream, 128, preamble, TakeLine, &in_moves, game, read, message) != 0) return 1;
  if (preamble[0] == '1') {
    std::swap(read.FirstName, read.SecondName);
  }
  record = read;
  return 0;
}

int ReadKanna(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadKanna, record, message);
}

}  // namespace shogi
