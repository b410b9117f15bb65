// The 天野将棋 reader:
//
// | line                          | meaning                                             |
// |-------------------------------|-----------------------------------------------------|
// | " 手  合  割 ：" handicap     | must be "平手": the reader takes even games only    |
// | " 先      手 ：" name         | sente's name                                        |
// | " 後      手 ：" name         | gote's name                                         |
// | " 手数-" ...                  | the moves follow                                    |
// | KI2 tokens marked ▲ and ▽    | moves; "投了" after a mark: the side to move lost   |
// | " まで先手" ... / " まで後手" | the end: sente / gote won                           |
#include "records/amano.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {

int ReadAmano(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string handicap = Cp932(" 手  合  割 ："), even = Cp932("平手"),
                           sente = Cp932(" 先      手 ："), gote = Cp932(" 後      手 ："),
                           moves = Cp932(" 手数-"), sente_won = Cp932(" まで先手"),
                           gote_won = Cp932(" まで後手");
  static const Kanji gote_mark = KanjiAt(Cp932("▽"), 0);
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kAmano).MoveLimit);
  bool in_moves = false;
  std::string preamble;
  return ReadRecordLines(
      stream, 0, preamble, game,
      [&](std::string_view line) {
        if (!in_moves) {
          if (StartsWith(line, handicap) && !StartsWith(line.substr(handicap.size()), even))
            return LineTaken::kMalformed;
          game.TakeNameLine(line, sente, gote);
          in_moves = StartsWith(line, moves);
          return in_moves ? LineTaken::kFormat : LineTaken::kOther;
        }
        if (StartsWith(line, sente_won) || StartsWith(line, gote_won)) {
          game.SetResult(StartsWith(line, sente_won) ? kResultFirstWins : kResultSecondWins);
          return LineTaken::kEnd;
        }
        return TakeKi2Line(line, game, gote_mark);
      },
      record, message);
}

int ReadAmano(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadAmano, record, message);
}

}  // namespace shogi
