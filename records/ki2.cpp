// The KI2 reader: names, then lines of "▲"/"△" tokens resolved against the position.
#include "records/ki2.h"

#include "platform/cp932.h"
#include "records/kakinoki_header.h"
#include "records/ki2_notation.h"
#include "records/notation.h"
#include "records/record_io.h"
#include "records/record_text.h"

namespace shogi {
namespace {

// A KI2 line holds at most this many bytes.
constexpr std::size_t kKi2LineBytes = 255;
// A token runs at most this many bytes past its side mark.
constexpr std::size_t kTokenBytes = 13;

// The side a token's mark names.
Side SideOfMark(std::string_view token) {
  return KanjiIs(token, 0, Notation().sente_mark_code) ? kFirst : kSecond;
}

int ReadKi2Lines(LineReader& lines, GameRecord& record, std::string& message) {
  GameRecord r;
  PrepareRecordForReading(record, r);
  KakinokiHeader header(r);
  Position pos;
  int index = 0;
  int previous = 0;
  bool in_moves = false, done = false, malformed = false;
  std::string_view line;
  while (!done && !malformed && lines.Next(line)) {
    if (!in_moves) {
      if (NextKi2Mark(line, 0) != 0) {
        (void)header.Take(line, malformed);
        continue;
      }
      // Both names are required, in any order, and a diagram must be whole.
      if (!header.HasFirstName() || !header.HasSecondName() || !header.ReadyForMoves()) {
        malformed = true;
        break;
      }
      in_moves = true;
      pos = r.InitialPosition;
      index = r.StartIndex;
    }
    // Comment lines often quote moves ("*▲７六歩が好手"); they are not moves.
    if (!line.empty() && (line[0] == '*' || line[0] == '#' || line[0] == '&')) continue;
    if (EndsMainLine(line, r.ResultCode)) {
      done = true;
      break;
    }
    for (std::size_t at = NextKi2Mark(line, 0); at != std::string_view::npos && !done;) {
      const std::size_t next = NextKi2Mark(line, at + 2);
      std::size_t end = next == std::string_view::npos ? line.size() : next;
      if (end > at + 2 + kTokenBytes) end = at + 2 + kTokenBytes;
      const std::string_view token = line.substr(at, end - at);
      // A mark that disagrees with the side to move is refused, not played for the other side.
      if (SideOfMark(token) != SideOfPly(index)) {
        malformed = true;
        break;
      }
      if (const int result = EndWordResult(token.substr(2), index); result >= 0) {
        r.ResultCode = result;
        done = true;
        break;
      }
      MoveCode m;
      if (!ParseKi2Move(token, pos, SideOfPly(index), previous, m)) {
        malformed = true;
        break;
      }
      r.MoveList[index++] = m;
      if (index - r.StartIndex >= kKi2MoveLimit) done = true;
      at = next;
    }
  }
  if (!in_moves && !malformed) {
    // A record without moves still needs its names.
    malformed = !header.HasFirstName() || !header.HasSecondName() || !header.ReadyForMoves();
  }
  if (malformed || (!done && lines.Failed())) {
    message = kMessageMalformed;
    return 1;
  }
  r.PlyCount = r.StartIndex;
  record = r;
  return 0;
}

}  // namespace

int ReadKi2(ByteStream& stream, GameRecord& record, std::string& message) {
  Cp932TextStream text(stream, false);
  LineReader lines(text, kKi2LineBytes, LineEnd::kLineFeed);
  return ReadKi2Lines(lines, record, message);
}

int ReadKi2(const std::string& path, GameRecord& record, std::string& message) {
  FileByteStream file;
  if (!OpenRecordFile(path, file, message)) return 1;
  Cp932TextStream text(file, NameSaysUtf8(path));
  LineReader lines(text, kKi2LineBytes, LineEnd::kLineFeed);
  return ReadKi2Lines(lines, record, message);
}

}  // namespace shogi
