// The KI2 reader: names, then lines of "▲"/"△" tokens resolved against the position.
#include "records/ki2.h"

#include "platform/cp932.h"
#include "records/ki2_notation.h"
#include "records/notation.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// A token runs at most this many bytes past its side mark.
constexpr std::size_t kTokenBytes = 13;

struct Ki2Texts {
  std::string sente_label = Cp932("先手：");
  std::string gote_label = Cp932("後手：");
  std::string resigned = Cp932("投了");
  std::string mated = Cp932("詰み");
  std::string variation = Cp932("変化：");
};

const Ki2Texts& Texts() {
  static const Ki2Texts texts;
  return texts;
}

enum class Ki2State { kSeekSente, kSeekGote, kSeekMoves, kMoves, kDone };

}  // namespace

int ReadKi2(ByteStream& stream, GameRecord& record, std::string& message) {
  const Ki2Texts& x = Texts();
  GameRecord r;
  PrepareRecordForReading(record, r);
  Position pos = r.InitialPosition;
  int index = r.StartIndex;
  int previous = 0;
  Ki2State state = Ki2State::kSeekSente;
  LineReader lines(stream, 255, LineEnd::kLineFeed);
  std::string_view line;
  while (state != Ki2State::kDone && lines.Next(line)) {
    switch (state) {
      case Ki2State::kSeekSente:
        if (StartsWith(line, x.sente_label)) {
          CopyCp932Field(r.FirstName, CutName(line.substr(x.sente_label.size())));
          state = Ki2State::kSeekGote;
        }
        continue;
      case Ki2State::kSeekGote:
        if (StartsWith(line, x.gote_label)) {
          CopyCp932Field(r.SecondName, CutName(line.substr(x.gote_label.size())));
          state = Ki2State::kSeekMoves;
        }
        continue;
      case Ki2State::kSeekMoves:
        if (!KanjiIs(line, 0, Notation().sente_mark_code)) continue;
        state = Ki2State::kMoves;
        break;
      case Ki2State::kMoves:
        // Comment lines often quote moves ("*▲７六歩が好手"); they are not moves.
        if (!line.empty() && line[0] == '*') continue;
        // The main line ends where the first variation begins.
        if (StartsWith(line, x.variation)) {
          state = Ki2State::kDone;
          continue;
        }
        break;
      case Ki2State::kDone:
        continue;
    }
    for (std::size_t at = NextKi2Mark(line, 0);
         at != std::string_view::npos && state != Ki2State::kDone;) {
      const std::size_t next = NextKi2Mark(line, at + 2);
      std::size_t end = next == std::string_view::npos ? line.size() : next;
      if (end > at + 2 + kTokenBytes) end = at + 2 + kTokenBytes;
      const std::string_view token = line.substr(at, end - at);
      const std::string_view text = token.substr(2);
      if (StartsWith(text, x.resigned) || StartsWith(text, x.mated)) {
        r.ResultCode = ((index - r.StartIndex) & 1) ? kResultFirstWins : kResultSecondWins;
        state = Ki2State::kDone;
        break;
      }
      MoveCode m;
      if (!ParseKi2Move(token, pos, SideOfPly(index), previous, m)) {
        message = kMessageMalformed;
        return 1;
      }
      r.MoveList[index++] = m;
      if (index - r.StartIndex >= kKi2MoveLimit) state = Ki2State::kDone;
      at = next;
    }
  }
  if (state == Ki2State::kSeekSente || state == Ki2State::kSeekGote ||
      (state != Ki2State::kDone && lines.Failed())) {
    message = kMessageMalformed;
    return 1;
  }
  r.PlyCount = r.StartIndex;
  record = r;
  return 0;
}

int ReadKi2(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadKi2, record, message);
}

}  // namespace shogi
