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
  LineReader lines(stream, 255, LineEnd::kLineFeed);
  bool in_moves = false, done = false;
  std::string_view line;
  while (!done && lines.Next(line)) {
    if (!in_moves) {
      if (StartsWith(line, sente)) game.SetName(kFirst, line.substr(sente.size()));
      if (StartsWith(line, gote)) game.SetName(kSecond, line.substr(gote.size()));
      if (!StartsWith(line, "   1 : ")) continue;
      in_moves = true;
    }
    if (line.size() < kMoveLineBytes || line[5] != ':') continue;
    std::string_view text = line.substr(kTokenColumn);
    if (KanjiIs(text, 0, t.sente_mark_code) || KanjiIs(text, 0, t.gote_mark_code))
      text.remove_prefix(2);
    if (StartsWith(text, resigned)) {
      game.EndByResignation();
      done = true;
      continue;
    }
    if (StartsWith(text, suspended)) {
      done = true;
      continue;
    }
    const std::size_t end = text.find(' ');
    if (!game.AddKi2(text.substr(0, end))) {
      message = kMessageMalformed;
      return 1;
    }
    done = game.Full();
  }
  if (!in_moves || (!done && lines.Failed())) {
    message = kMessageMalformed;
    return 1;
  }
  return game.Install(record);
}

int ReadNazoteki(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadNazoteki, record, message);
}

}  // namespace shogi
