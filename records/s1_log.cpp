// The S1 log reader. Lines of at most 255 bytes; byte columns from 0.
//
// | line                      | meaning                                                   |
// |---------------------------|-----------------------------------------------------------|
// | "/p teban=" and byte 9    | "0": sente is "S1.6", gote "相手"; "1": the reverse       |
// | "psasit" ...              | S1.7 against itself: both "S1.7"; the second layout follows |
// | first layout: "/p (" ...  | a move: byte 39 the promotion ("1" or "5"), 41-42 the CSA  |
// |                           | code of a dropped piece, 44-45 the origin (file, rank;     |
// |                           | "00" a drop), 49-50 the destination, 55 the promotion      |
// |                           | ("1"), 64 the seconds spent (65 when 64 is a space)        |
// | second layout: "(" ...    | a move: 39-40 the code of a dropped piece, 42-43 the       |
// |                           | origin, 45-46 the destination, 61 the promotion ("1")      |
//
// A promotion flag on a piece that cannot promote (already promoted, a gold, a king) is
// dropped. There is no result.
#include "records/s1_log.h"

#include "platform/cp932.h"
#include "records/csa.h"
#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"

namespace shogi {
namespace {

struct Columns {
  std::size_t piece, from, to;
  std::size_t promote[2];  // npos where the layout has only one
  bool five_promotes;      // a "5" in the first promotion column promotes too
  std::size_t seconds;     // npos: no times
};
constexpr std::size_t kNone = std::string_view::npos;
constexpr Columns kFirstLayout = {41, 44, 49, {39, 55}, true, 64};
constexpr Columns kSecondLayout = {39, 42, 45, {61, kNone}, false, kNone};

int Digit(std::string_view line, std::size_t at) {
  if (at >= line.size() || line[at] < '0' || line[at] > '9') return -1;
  return line[at] - '0';
}

bool ReadMove(std::string_view line, const Columns& c, ForeignGame& game) {
  const int to_file = Digit(line, c.to), to_rank = Digit(line, c.to + 1);
  const int from_file = Digit(line, c.from), from_rank = Digit(line, c.from + 1);
  if (to_file < 1 || to_rank < 1 || from_file < 0 || from_rank < 0) return false;
  const int to = SquareOf(to_file, to_rank);
  MoveCode m;
  if (from_file == 0 && from_rank == 0) {
    if (c.piece + 1 >= line.size()) return false;
    const int type = CsaPieceType(line[c.piece], line[c.piece + 1]);
    if (type < kPawn || type > kRook) return false;
    m = EncodeMove(DropOrigin(type), to, 0);
  } else {
    if (from_file == 0 || from_rank == 0) return false;
    const int from = SquareOf(from_file, from_rank);
    bool promote = false;
    if (c.promote[0] < line.size())
      promote = line[c.promote[0]] == '1' || (c.five_promotes && line[c.promote[0]] == '5');
    if (c.promote[1] < line.size() && line[c.promote[1]] == '1') promote = true;
    if (!CanPromote(TypeOf(game.Pos().Board[from]))) promote = false;
    m = EncodeMove(from, to, promote ? 1 : 0);
  }
  if (!game.Add(m)) return false;
  if (c.seconds != kNone) {
    std::size_t at = c.seconds;
    if (at < line.size() && line[at] == ' ') ++at;
    const long seconds = at < line.size() ? ReadClockSeconds(line.substr(at)) : -1;
    game.AddSpentSeconds(seconds < 0 ? 0 : seconds);
  }
  return true;
}

}  // namespace

int ReadS1Log(ByteStream& stream, GameRecord& record, std::string& message) {
  static const std::string opponent = Cp932("相手");
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kS1Log).MoveLimit);
  const Columns* layout = &kFirstLayout;
  std::string preamble;
  return ReadRecordLines(
      stream, 0, preamble, game,
      [&](std::string_view line) {
        if (StartsWith(line, "/p teban=") && line.size() > 9 &&
            (line[9] == '0' || line[9] == '1')) {
          const Side program = line[9] == '0' ? kFirst : kSecond;
          game.SetName(program, "S1.6");
          game.SetName(Opponent(program), opponent);
          return LineTaken::kFormat;
        }
        if (StartsWith(line, "psasit")) {
          game.SetName(kFirst, "S1.7");
          game.SetName(kSecond, "S1.7");
          layout = &kSecondLayout;
          return LineTaken::kFormat;
        }
        if ((layout == &kFirstLayout && StartsWith(line, "/p (")) ||
            (layout == &kSecondLayout && StartsWith(line, "(")))
          return ReadMove(line, *layout, game) ? LineTaken::kMove : LineTaken::kMalformed;
        return LineTaken::kOther;
      },
      record, message);
}

int ReadS1Log(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadS1Log, record, message);
}

}  // namespace shogi
