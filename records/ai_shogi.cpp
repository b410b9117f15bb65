// The AI Shogi V.150 reader.
//
// | bytes          | content                                                          |
// |----------------|------------------------------------------------------------------|
// | 0-15           | the name used for both sides, up to a "." (or a NUL)             |
// | 126-133        | "AI Shogi": without it the file is malformed                     |
// | 800 + 14n ...  | move record n                                                    |
//
// Move record: byte 0 is 0 or 254: the side to move resigned, the game ends; 255: a drop of
// the piece in the low four bits of byte 10 (1 歩 2 香 3 桂 4 銀 5 金 6 角 7 飛) on the
// square of byte 1; otherwise byte 0 the origin and byte 1 the destination of a board move,
// a square as rank * 16 + (10 - file), and byte 4 not 0 for a promotion. Other bytes are
// not used. A short last record is ignored.
#include "records/ai_shogi.h"

#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr std::size_t kAiHeaderBytes = 800;
constexpr std::size_t kMarkerAt = 126;
constexpr std::size_t kNameBytes = 16;
constexpr std::size_t kAiRecordBytes = 14;

int SquareOfByte(unsigned char code) {
  const int rank = code >> 4, column = code & 15;
  if (rank < 1 || rank > 9 || column < 1 || column > 9) return 0;
  return SquareOf(10 - column, rank);
}

}  // namespace

int ReadAiShogi(ByteStream& stream, GameRecord& record, std::string& message) {
  std::string bytes;
  if (!ReadAllBytes(stream, bytes, kMaxBinaryRecordBytes) || bytes.size() < kAiHeaderBytes ||
      bytes.compare(kMarkerAt, 8, "AI Shogi") != 0) {
    message = kMessageMalformed;
    return 1;
  }
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kAiShogi).MoveLimit);
  const std::string_view header(bytes.data(), kNameBytes);
  const std::string_view name = header.substr(0, header.find_first_of(std::string_view(".\0", 2)));
  game.SetName(kFirst, name);
  game.SetName(kSecond, name);
  for (std::size_t at = kAiHeaderBytes; at + kAiRecordBytes <= bytes.size() && !game.Full();
       at += kAiRecordBytes) {
    const auto* rec = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    if (rec[0] == 0 || rec[0] == 254) {
      game.EndByResignation();
      break;
    }
    const int to = SquareOfByte(rec[1]);
    MoveCode m;
    if (rec[0] == 255) {
      const int type = rec[10] & 15;
      m = EncodeMove(DropOrigin(type), to, 0);
      if (type < kPawn || type > kRook) m = MoveCode{};
    } else {
      const int from = SquareOfByte(rec[0]);
      m = from == 0 ? MoveCode{} : EncodeMove(from, to, rec[4] != 0 ? 1 : 0);
    }
    if (to == 0 || !game.Add(m)) {
      message = kMessageMalformed;
      return 1;
    }
  }
  return game.Install(record, message);
}

int ReadAiShogi(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadAiShogi, record, message);
}

}  // namespace shogi
