// The ＯＭ－１ reader, byte columns from 0:
//
// | part                        | content                                               |
// |-----------------------------|-------------------------------------------------------|
// | bytes 0-127                 | preamble, not used                                    |
// | "先手番" / "後手番"         | the program played sente / gote                       |
// | "%4d " lines                | a move in the KIF columns from byte 5: destination or |
// |                             | 同, piece, 成 / 不成 / 打, the origin "(77)"          |
// | a line beginning まで       | the side to move resigned                             |
#include "records/om1.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {

int ReadOm1(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string program = Cp932("ＯＭ－１"), sente = Cp932("先手番"),
                           gote = Cp932("後手番");
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kOm1).MoveLimit);
  std::string preamble;
  return ReadRecordLines(
      stream, 128, preamble, game,
      [&](std::string_view line) {
        if (StartsWith(line, sente) || StartsWith(line, gote)) {
          game.SetName(StartsWith(line, sente) ? kFirst : kSecond, program);
          return LineTaken::kFormat;
        }
        return TakeKifLikeLine(line, 5, 0, game);
      },
      record, message);
}

int ReadOm1(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadOm1, record, message);
}

}  // namespace shogi
