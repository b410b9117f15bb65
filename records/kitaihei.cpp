// The 棋太平 reader:
//
// | line                   | meaning                                                 |
// |------------------------|---------------------------------------------------------|
// | "先手：" name          | sente's name (without the line: "棋太平", the program)  |
// | "後手：" name          | gote's name (likewise)                                  |
// | a line beginning "▲"   | the moves begin: KI2 tokens marked "▲" and "△"         |
// | "*" ...                | a comment                                               |
//
// "投了" or "詰み" after a mark ends with a resignation, "中断" without a result.
#include "records/kitaihei.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {

int ReadKitaihei(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string sente = Cp932("先手："), gote = Cp932("後手："),
                           program = Cp932("棋太平");
  const NotationTables& t = Notation();
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kKitaihei).MoveLimit);
  game.SetName(kFirst, program);
  game.SetName(kSecond, program);
  bool in_moves = false;
  std::string preamble;
  return ReadRecordLines(
      stream, 0, preamble, game,
      [&](std::string_view line) {
        if (!in_moves) {
          game.TakeNameLine(line, sente, gote);
          if (!KanjiIs(line, 0, t.sente_mark_code)) return LineTaken::kOther;
          in_moves = true;
        }
        if (!line.empty() && line[0] == '*') return LineTaken::kOther;
        return TakeKi2Line(line, game, t.gote_mark_code);
      },
      record, message);
}

int ReadKitaihei(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadKitaihei, record, message);
}

}  // namespace shogi
