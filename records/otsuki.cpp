// The 大槻将棋 reader. The file is read in blocks of 256 bytes:
//
// | bytes   | content                                                               |
// |---------|-----------------------------------------------------------------------|
// | 0-127   | the block's header; in block 0, byte 0 is "1" when the program played |
// |         | gote (anything else: sente)                                           |
// | 128-255 | records, each ended by CR, LF or NUL                                  |
//
// Records: "P+" starts the moves; then "+7776FU" / "-0055KA" moves as in CSA (the sign must
// be the side to move's), "T" and the seconds the last move took, "TO" the side to move
// resigned (the game ends). Records before "P+" are not the reader's. A last block may be
// short.
#include "records/otsuki.h"

#include "platform/cp932.h"
#include "records/csa.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::size_t kBlockBytes = 256;
constexpr std::size_t kRecordsAt = 128;

enum class Take { kGoOn, kEnd, kMalformed };

Take TakeRecord(std::string_view rec, ForeignGame& game, bool& in_moves) {
  if (rec.empty()) return Take::kGoOn;
  if (!in_moves) {
    in_moves = StartsWith(rec, "P+");
    return Take::kGoOn;
  }
  if (StartsWith(rec, "TO")) {
    game.EndByResignation();
    return Take::kEnd;
  }
  if (rec[0] == 'T') {
    const long seconds = ReadClockSeconds(rec.substr(1));
    game.AddSpentSeconds(seconds < 0 ? 0 : seconds);
    return Take::kGoOn;
  }
  if (rec[0] != '+' && rec[0] != '-') return Take::kGoOn;
  MoveCode m;
  const Side side = rec[0] == '+' ? kFirst : kSecond;
  if (side != game.ToMove() || !ParseCsaMove(rec, game.Pos(), side, m) || !game.Add(m))
    return Take::kMalformed;
  return game.Full() ? Take::kEnd : Take::kGoOn;
}

}  // namespace

int ReadOtsuki(ByteStream& stream, GameRecord& record, std::string& message) {
  std::string bytes;
  if (!ReadAllBytes(stream, bytes, kMaxBinaryRecordBytes)) {
    message = kMessageMalformed;
    return 1;
  }
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kOtsuki).MoveLimit);
  bool in_moves = false;
  Take take = Take::kGoOn;
  for (std::size_t block = 0; block < bytes.size() && take == Take::kGoOn; block += kBlockBytes) {
    if (block + kRecordsAt >= bytes.size()) break;
    std::string_view area =
        std::string_view(bytes).substr(block + kRecordsAt, kBlockBytes - kRecordsAt);
    while (!area.empty() && take == Take::kGoOn) {
      const std::size_t end = area.find_first_of(std::string_view("\r\n\0", 3));
      take = TakeRecord(area.substr(0, end), game, in_moves);
      area = end == std::string_view::npos ? std::string_view() : area.substr(end + 1);
    }
  }
  if (take == Take::kMalformed || !in_moves) {
    message = kMessageMalformed;
    return 1;
  }
  static const std::string program = Cp932("大槻将棋");
  game.SetName(!bytes.empty() && bytes[0] == '1' ? kSecond : kFirst, program);
  return game.Install(record, message);
}

int ReadOtsuki(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadOtsuki, record, message);
}

}  // namespace shogi
