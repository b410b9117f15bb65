// The Ｈ将棋 reader.
//
// | bytes          | content                                                          |
// |----------------|------------------------------------------------------------------|
// | 0-5            | "Ｈ将棋": without it the file is not of the format               |
// | 6              | "1" when the program played gote (anything else: sente)          |
// | 7-127          | not used                                                         |
// | 128 + 8n ...   | record n, 8 bytes: "+7776FU" and a filler byte (a CSA move),     |
// |                | "+0000" the side to move resigned, "%" a result as in CSA        |
// |                | ("%TORYO", "%KACHI", "%ILLEGA", "%SENNIC" ...: the words cut to  |
// |                | the record), ",T" and the seconds the last move took; a record   |
// |                | of NUL or space bytes is skipped                                 |
#include "records/hshogi.h"

#include "platform/cp932.h"
#include "records/csa.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::size_t kHshogiHeaderBytes = 128;
constexpr std::size_t kHshogiRecordBytes = 8;

}  // namespace

int ReadHShogi(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string program = Cp932("Ｈ将棋");
  std::string bytes;
  if (!ReadAllBytes(stream, bytes, kMaxBinaryRecordBytes)) {
    message = kMessageMalformed;
    return 1;
  }
  if (bytes.size() < kHshogiHeaderBytes || !StartsWith(bytes, program)) {
    message = kMessageNotHShogi;
    return 1;
  }
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kHShogi).MoveLimit);
  bool done = false;
  for (std::size_t at = kHshogiHeaderBytes; !done && at + kHshogiRecordBytes <= bytes.size();
       at += kHshogiRecordBytes) {
    const std::string_view rec = std::string_view(bytes).substr(at, kHshogiRecordBytes);
    if (rec.find_first_not_of(std::string_view(" \0", 2)) == std::string_view::npos) continue;
    if (rec[0] == '%') {
      const std::size_t end = rec.find_first_of(std::string_view(" \0", 2));
      game.SetResult(CsaEndResult(rec.substr(0, end), game.Record().StartIndex + game.MoveCount()));
      done = true;
    } else if (StartsWith(rec, ",T")) {
      const long seconds = ReadClockSeconds(rec.substr(2));
      game.AddSpentSeconds(seconds < 0 ? 0 : seconds);
    } else if ((rec[0] == '+' || rec[0] == '-') && rec.compare(1, 4, "0000") == 0) {
      game.EndByResignation();
      done = true;
    } else {
      const Side side = rec[0] == '+' ? kFirst : kSecond;
      MoveCode m;
      if ((rec[0] != '+' && rec[0] != '-') || side != game.ToMove() ||
          !ParseCsaMove(rec, game.Pos(), side, m) || !game.Add(m)) {
        message = kMessageMalformed;
        return 1;
      }
      done = game.Full();
    }
  }
  game.SetName(bytes[program.size()] == '1' ? kSecond : kFirst, program);
  return game.Install(record, message);
}

int ReadHShogi(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadHShogi, record, message);
}

}  // namespace shogi
