// The 関田将棋 (1994) reader: KIF with every move column one byte to the right.
//
// | line                | meaning                                                      |
// |---------------------|--------------------------------------------------------------|
// | first line "#" ...  | required                                                     |
// | "手合割: " handicap | must be "平手": the reader takes even games only             |
// | "先手: " / "後手: " | the names; a side without one is "関田将棋", the program     |
// | "手数" ...          | the moves follow                                             |
// | move lines          | "%5d " and the KIF move column at byte 6                     |
// | at byte 6           | "投了" or "詰": the side to move lost; "中断" no result;     |
// |                     | "千日手" repetition; "持将棋" impasse                        |
#include "records/sekita.h"

#include "platform/cp932.h"
#include "records/foreign_game.h"
#include "records/notation.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::size_t kColumn = 6;

struct SekitaState {
  bool first = true;
  bool in_moves = false;
};

LineTaken TakeLine(std::string_view line, ForeignGame& game, SekitaState& s) {
  static const std::string handicap = Cp932("手合割: "), even = Cp932("平手"),
                           sente = Cp932("先手: "), gote = Cp932("後手: "), moves = Cp932("手数"),
                           resigned = Cp932("投了"), mated = Cp932("詰"), suspended = Cp932("中断"),
                           repetition = Cp932("千日手"), impasse = Cp932("持将棋");
  if (s.first) {
    s.first = false;
    return StartsWith(line, "#") ? LineTaken::kOther : LineTaken::kMalformed;
  }
  if (!s.in_moves) {
    if (StartsWith(line, handicap) && !StartsWith(line.substr(handicap.size()), even))
      return LineTaken::kMalformed;
    game.TakeNameLine(line, sente, gote);
    s.in_moves = StartsWith(line, moves);
    return s.in_moves ? LineTaken::kFormat : LineTaken::kOther;
  }
  if (line.size() < kColumn + 2 || line[0] == '*') return LineTaken::kOther;
  if (HasAt(line, kColumn, resigned) || HasAt(line, kColumn, mated)) {
    game.EndByResignation();
    return LineTaken::kEnd;
  }
  for (const auto& [word, result] :
       {std::pair{&suspended, kResultNone}, std::pair{&repetition, kResultRepetition},
        std::pair{&impasse, kResultImpasse}}) {
    if (!HasAt(line, kColumn, *word)) continue;
    game.SetResult(result);
    return LineTaken::kEnd;
  }
  MoveCode m;
  if (!ParseKifMove(line.substr(1), game.PreviousDestination(), m) || !game.Add(m))
    return LineTaken::kMalformed;
  return LineTaken::kMove;
}

}  // namespace

int ReadSekita(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string program = Cp932("関田将棋");
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kSekita).MoveLimit);
  std::string preamble;
  SekitaState state;
  GameRecord read = record;
  if (ReadRecordLines(
          stream, 0, preamble, game,
          [&](std::string_view line) { return TakeLine(line, game, state); }, read, message) != 0)
    return 1;
  if (read.FirstName[0] == '\0') CopyCp932Field(read.FirstName, program);
  if (read.SecondName[0] == '\0') CopyCp932Field(read.SecondName, program);
  record = read;
  return 0;
}

int ReadSekita(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadSekita, record, message);
}

}  // namespace shogi
