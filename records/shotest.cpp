// The Shotest, SPEAR and Shocky log reader.
//
// | line                                   | meaning                                        |
// |----------------------------------------|------------------------------------------------|
// | "Black: " or "# Black\t  : " name      | sente's name (tabs dropped, up to 20 bytes)    |
// | "White: " or "# White\t  : " name      | gote's name                                    |
// | "MOVES"                                | a Shocky log: sente is "Shocky"                |
// | a line beginning "0"                   | gote is "Shocky"                               |
// | ";            score secs"              | the move lines carry the seconds at bytes 19-22 |
// | [number "."] move                      | a move (below); the number is not checked      |
// | [number "."] "Resign" or "resign"      | the side to move resigned                      |
//
// A move is in western notation (records/western_notation.h). Other lines are not the
// reader's.
#include "records/shotest.h"

#include <cstring>

#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"
#include "records/western_notation.h"

namespace shogi {
namespace {

constexpr std::size_t kTimeColumn = 19, kTimeWidth = 4;
std::string WithoutTabs(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '\t') out += c;
  return out;
}

}  // namespace

int ReadShotest(ByteStream& stream, GameRecord& record, std::string& message) {
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kShotest).MoveLimit);
  bool times = false;
  std::string preamble;
  return ReadRecordLines(
      stream, 0, preamble, game,
      [&](std::string_view line) {
        for (const char* label : {"Black: ", "# Black\t  : ", "White: ", "# White\t  : "}) {
          if (!StartsWith(line, label)) continue;
          game.SetName(label[0] == 'B' || label[2] == 'B' ? kFirst : kSecond,
                       WithoutTabs(line.substr(std::strlen(label))));
          return LineTaken::kFormat;
        }
        if (StartsWith(line, "MOVES") || StartsWith(line, "0")) {
          game.SetName(line[0] == 'M' ? kFirst : kSecond, "Shocky");
          return LineTaken::kFormat;
        }
        if (StartsWith(line, ";            score secs")) {
          times = true;
          return LineTaken::kFormat;
        }
        // The move text after an optional move number and ".".
        std::size_t i = 0;
        while (i < line.size() && line[i] == ' ') ++i;
        std::size_t digits = i;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
        if (digits > i && digits < line.size() && line[digits] == '.') i = digits + 1;
        while (i < line.size() && line[i] == ' ') ++i;
        const std::string_view text = line.substr(i);
        if (StartsWith(text, "Resign") || StartsWith(text, "resign")) {
          game.EndByResignation();
          return LineTaken::kEnd;
        }
        if (text.empty() || !BeginsWesternMove(text[0])) return LineTaken::kOther;
        MoveCode m;
        std::size_t length;
        if (!ReadWesternMove(text, game.Pos(), game.ToMove(), m, length) || !game.Add(m))
          return LineTaken::kMalformed;
        if (times && line.size() > kTimeColumn) {
          std::string_view field = line.substr(kTimeColumn, kTimeWidth);
          while (!field.empty() && field[0] == ' ') field.remove_prefix(1);
          const long seconds = ReadClockSeconds(field);
          game.AddSpentSeconds(seconds < 0 ? 0 : seconds);
        }
        return LineTaken::kMove;
      },
      record, message);
}

int ReadShotest(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadShotest, record, message);
}

}  // namespace shogi
