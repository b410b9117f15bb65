// The スーパー将棋 (1996) reader, byte columns from 0:
//
// | part                      | content                                                  |
// |---------------------------|----------------------------------------------------------|
// | bytes 0-127               | preamble, not used                                       |
// | "先手" ["："] name        | sente's name (before the moves)                          |
// | "後手" ["："] name        | gote's name                                              |
// | "  1" ...                 | the moves begin: "%3d  " and from byte 5 the destination |
// |                           | or 同, the piece, 成 / 不成 / 打, the origin "(77)" at   |
// |                           | byte 11 (13 after a two-character piece or 成)           |
// | "投了" at byte 7          | the side to move resigned                                |
#include "records/super_shogi.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {

int ReadSuperShogi(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string sente = Cp932("先手"), gote = Cp932("後手"), colon = Cp932("：");
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kSuperShogi).MoveLimit);
  bool in_moves = false;
  std::string preamble;
  return ReadRecordLines(
      stream, 128, preamble, game,
      [&](std::string_view line) {
        if (!in_moves) {
          for (Side side : {kFirst, kSecond}) {
            const std::string& label = side == kFirst ? sente : gote;
            if (!StartsWith(line, label)) continue;
            std::string_view name = line.substr(label.size());
            if (StartsWith(name, colon)) name.remove_prefix(colon.size());
            game.SetName(side, name);
          }
          if (!StartsWith(line, "  1")) return LineTaken::kOther;
          in_moves = true;
        }
        return TakeKifLikeLine(line, 5, 7, game);
      },
      record, message);
}

int ReadSuperShogi(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadSuperShogi, record, message);
}

}  // namespace shogi
