// The Shokidoki reader (PGN-style):
//
// | text                        | meaning                                             |
// |-----------------------------|-----------------------------------------------------|
// | [Date "1996.05.03"]         | the game date ("%d.%d.%d"), kept when it is a date  |
// | [Black "name"]              | sente's name                                        |
// | [White "name"]              | gote's name                                         |
// | other [...] tags            | not the reader's                                    |
// | { ... }                     | a comment ("{Xboard ...}"), also over several lines |
// | "{White resigns}" or        | the side to move resigned; the game ends            |
// | "{Black resigns}"           |                                                     |
// | move numbers "1." and moves | western notation (records/western_notation.h)       |
// | 1-0, 0-1, 1/2-1/2, *        | not the reader's                                    |
#include "records/shokidoki.h"

#include <cstdio>

#include "records/foreign_game.h"
#include "records/record_format.h"
#include "records/record_io.h"
#include "records/western_notation.h"

namespace shogi {
namespace {

// The text of a tag line [Name "text"] when `line` is the tag `name`.
bool TagText(std::string_view line, std::string_view name, std::string_view& text) {
  if (line.size() < name.size() + 3 || line[0] != '[' || line.compare(1, name.size(), name) != 0)
    return false;
  std::string_view rest = line.substr(1 + name.size());
  const std::size_t open = rest.find('"');
  if (open == std::string_view::npos ||
      rest.substr(0, open).find_first_not_of(' ') != std::string_view::npos)
    return false;
  rest = rest.substr(open + 1);
  text = rest.substr(0, rest.find('"'));
  return true;
}

void TakeTag(std::string_view line, ForeignGame& game) {
  std::string_view text;
  if (TagText(line, "Date", text)) {
    int y = 0, m = 0, d = 0;
    const std::string date(text.substr(0, 16));
    if (std::sscanf(date.c_str(), "%4d.%2d.%2d", &y, &m, &d) == 3 && y > 0 && m >= 1 && m <= 12 &&
        d >= 1 && d <= 31) {
      game.Record().Year = y;
      game.Record().Month = m;
      game.Record().Day = d;
    }
  } else if (TagText(line, "Black", text)) {
    game.SetName(kFirst, text);
  } else if (TagText(line, "White", text)) {
    game.SetName(kSecond, text);
  }
}

// The moves, numbers, results and comments of a line of move text.
LineTaken TakeMoveText(std::string_view line, ForeignGame& game, bool& in_comment) {
  LineTaken taken = LineTaken::kOther;
  std::size_t i = 0;
  while (i < line.size() && !game.Full()) {
    if (in_comment) {
      const std::size_t close = line.find('}', i);
      if (close == std::string_view::npos) break;
      in_comment = false;
      i = close + 1;
      continue;
    }
    const char c = line[i];
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    if (c == '{') {
      const std::string_view rest = line.substr(i + 1);
      if (StartsWith(rest, "White resigns") || StartsWith(rest, "Black resigns")) {
        game.EndByResignation();
        return LineTaken::kEnd;
      }
      in_comment = true;
      ++i;
      continue;
    }
    std::size_t end = line.find_first_of(" \t{", i);
    if (end == std::string_view::npos) end = line.size();
    const std::string_view token = line.substr(i, end - i);
    i = end;
    if (!BeginsWesternMove(token[0])) continue;  // numbers and results
    MoveCode m;
    std::size_t length;
    if (!ReadWesternMove(token, game.Pos(), game.ToMove(), m, length) || !game.Add(m))
      return LineTaken::kMalformed;
    taken = LineTaken::kMove;
  }
  return taken;
}

}  // namespace

int ReadShokidoki(ByteStream& stream, GameRecord& record, std::string& message) {
  ForeignGame game(record, RecordFormatRowOf(RecordFormat::kShokidoki).MoveLimit);
  bool in_comment = false;
  std::string preamble;
  return ReadRecordLines(
      stream, 0, preamble, game,
      [&](std::string_view line) {
        if (!in_comment && !line.empty() && line[0] == '[') {
          TakeTag(line, game);
          return LineTaken::kFormat;
        }
        return TakeMoveText(line, game, in_comment);
      },
      record, message);
}

int ReadShokidoki(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadShokidoki, record, message);
}

}  // namespace shogi
