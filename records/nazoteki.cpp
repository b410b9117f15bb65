// The 謎的電棋 reader, byte columns from 0:
//
// | line                               | meaning                                        |
// |------------------------------------|------------------------------------------------|
// | "先手:" name                       | sente's name                                   |
// | "後手:" name                       | gote's name                                    |
// | "   1 : ▲" or "   1 : "           | the moves begin                                |
// | at least 15 bytes, ":" at byte 5   | a move line: "%4d : " and a KI2 token at byte 7 |
// |                                    | (with or without its mark), "中断" or "投了"   |
//
// The game is the even game (kings on 5九 and 5一).
#include "records/nazoteki.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::size_t kMoveLineBytes = 15;
constexpr std::size_t kTokenColumn = 7;

}  // namespace

int ReadNazoteki(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string sente = Cp932("先手:"), gote = Cp932("後手:"), resigned = Cp932("投了"),
                           suspended = Cp932("中断");
  const NotationTables& t = Notation();
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kNazoteki).MoveLimit);
  bool in_moves = false;
  std::string preamble;
  return ReadRecordLines(
      stream, 0, preamble, game,
      [&](std::string_view line) {
        if (!in_moves) {
          game.TakeNameLine(line, sente, gote);
          if (!StartsWith(line, "   1 : ")) return LineTaken::kOther;
          in_moves = true;
        }
        if (line.size() < kMoveLineBytes || line[5] != ':') return LineTaken::kOther;
        std::string_view text = line.substr(kTokenColumn);
        if (KanjiIs(text, 0, t.sente_mark_code) || KanjiIs(text, 0, t.gote_mark_code))
          text.remove_prefix(2);
        if (StartsWith(text, resigned)) {
          game.EndByResignation();
          return LineTaken::kEnd;
        }
        if (StartsWith(text, suspended)) return LineTaken::kEnd;
        return game.AddKi2(text.substr(0, text.find(' '))) ? LineTaken::kMove
                                                           : LineTaken::kMalformed;
      },
      record, message);
}

int ReadNazoteki(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadNazoteki, record, message);
}

}  // namespace shogi
