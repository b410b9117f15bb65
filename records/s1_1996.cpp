// The S1 (1996) reader, byte columns from 0:
//
// | part                     | content                                                  |
// |--------------------------|----------------------------------------------------------|
// | bytes 0-127              | preamble; byte 0 is "1" when S1 played gote (anything    |
// |                          | else: sente)                                             |
// | "%4d " lines             | a move from byte 5: full-width file digit and kanji rank |
// |                          | (or 同), piece, 成 / 不成 / 打, the origin "(77)"         |
// | a line "     まで" ...    | the end: the side to move resigned                      |
#include "records/s1_1996.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {

int ReadS1Year1996(ByteStream& stream, GameRecord& record, std::string& message) {
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kS1Year1996).MoveLimit);
  std::string preamble;
  GameRecord read = record;
  if (ReadRecordLines(
          stream, 128, preamble, game,
          [&](std::string_view line) { return TakeKifLikeLine(line, 5, 5, game); }, read,
          message) != 0)
    return 1;
  CopyCp932Field(preamble[0] == '1' ? read.SecondName : read.FirstName, "S1");
  record = read;
  return 0;
}

int ReadS1Year1996(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadS1Year1996, record, message);
}

}  // namespace shogi
