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

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {

int ReadKanna(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string program = Cp932("神無 無段");
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kKanna).MoveLimit);
  bool in_moves = false;
  std::string preamble;
  GameRecord read = record;
  if (ReadRecordLines(
          stream, 128, preamble, game,
          [&](std::string_view line) {
            if (!in_moves && !StartsWith(line, "  1:")) return LineTaken::kOther;
            in_moves = true;
            return TakeKifLikeLine(line, 5, 0, game);
          },
          read, message) != 0)
    return 1;
  CopyCp932Field(preamble[0] == '1' ? read.SecondName : read.FirstName, program);
  record = read;
  return 0;
}

int ReadKanna(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadKanna, record, message);
}

}  // namespace shogi
