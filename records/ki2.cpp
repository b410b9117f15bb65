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
  bool word_ended = false;  // a word we do not know stood where the next move would
  std::string_view line;
  while (!done && !malformed && lines.Next(line)) {
    if (!in_moves) {
      if (NextKi2Mark(line, 0) != 0) {
        (void)header.Take(line, malformed);
        continue;
      }
      // The names may be missing (mate problems and fragments have none); a diagram must be
      // whole.
      if (!header.ReadyForMoves()) {
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
    // A line cut at the limit may end in half a move.
    if (lines.Cut() && NextKi2Mark(line, 0) != std::string_view::npos) {
      malformed = true;
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
      if (word_ended || !ParseKi2Move(token, pos, SideOfPly(index), previous, m)) {
        // A word that is no move at all, as the last token, ends the game as it stands with
        // no result; any other token that is no move is damage.
        if (word_ended || !BeginsEndWordText(token, 2)) {
          malformed = true;
          break;
        }
        word_ended = true;
        at = next;
        continue;
      }
      r.MoveList[index++] = m;
      if (index - r.StartIndex >= kKi2MoveLimit) done = true;
      at = next;
    }
  }
  // A file without a single marked line holds nothing of the format (a KIF file, say).
  if (!in_moves || malformed || (!done && lines.Failed())) {
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
