// The Kaya multi-game file: listing, reading, writing, appending and replacing games.
#include "records/kaya.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "database_files/database_format.h"
#include "platform/cp932.h"
#include "platform/file_path.h"
#include "records/record_io.h"
#include "rules/handicap.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr std::size_t kKayaLineBytes = 255;
constexpr std::size_t kTitleBytes = 27;
constexpr std::size_t kKayaNameBytes = 19;
// A Kaya file being rewritten is read whole; a file of games is far smaller.
constexpr std::size_t kMaxKayaFileBytes = 64u << 20;
constexpr int kMovesPerLine = 10;

constexpr const char kFileFirstLine[] = "## Kaelmo for Windows me Ver1.32";
constexpr const char kOutputFirstLine[] = "## Kaelmo for Windows me Ver1.19";

// The characters of the "B:" diagram's cells, the writer's and the reader's: entry 0 the
// empty square, 1..15 sente's piece codes, 16 + k gote's code -k. Codes 13 and -13 (a
// promoted gold) and entry 16 do not exist and read as the empty square, which comes first.
constexpr std::array<const char*, 32> kKayaCellsUtf8 = {
    "・", "歩", "香", "桂", "銀", "金", "角", "飛", "玉", "と", "杏", "圭", "全", "・", "馬", "龍",
    "・", "ふ", "き", "け", "ぎ", "ん", "か", "ひ", "お", "ぽ", "ょ", "ぇ", "ぜ", "・", "う", "り"};

const std::array<std::string, 32>& KayaCells() {
  static const std::array<std::string, 32> cells = [] {
    std::array<std::string, 32> c;
    for (std::size_t i = 0; i < c.size(); ++i) c[i] = Cp932(kKayaCellsUtf8[i]);
    return c;
  }();
  return cells;
}

// The piece code of a cell's two bytes; a character not in the table is an empty square.
int CodeOfCell(std::string_view cell) {
  const auto& cells = KayaCells();
  for (int i = 0; i < 32; ++i) {
    if (cells[i] != cell) continue;
    if (i == 0 || i == 16) return 0;
    return i < 16 ? i : 16 - i;
  }
  return 0;
}

constexpr const char* kRankLabels[9] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
// The most pieces of a type one side can hold.
constexpr int kMaxInHand[8] = {0, 18, 4, 4, 4, 4, 2, 2};

bool IsDigitByte(char c) {
  return c >= '0' && c <= '9';
}

// The handicap code of the record's start: 0 the even game, 1..9 a handicap, -1 any other
// position.
int KayaHandicapCode(const GameRecord& record) {
  if (record.StartIndex == 0 && record.InitialPosition == HandicapPosition(Handicap::kEven))
    return 0;
  const std::optional<Handicap> h =
      MatchHandicap(record.InitialPosition, record.StartIndex, HandicapScheme::kKaya);
  return h ? HandicapNumber(*h, HandicapScheme::kKaya) : -1;
}

// The "B:" diagram: a frame line, then per rank gote's hand piece of that type (ranks 1..7),
// the nine cells from file 9 to 1, the rank label, and for ranks 1..7 the counts of that
// type in sente's and gote's hand as two digits each.
void AppendDiagram(const Position& pos, std::string& out) {
  out += "B:\r\n";
  out += Cp932("  ９ ８ ７ ６ ５ ４ ３ ２ １") + "\r\n";
  for (int rank = 1; rank <= 9; ++rank) {
    const bool hand_row = rank <= kRook;
    out += hand_row && pos.Hand[kSecond][rank] > 0 ? KayaCell(-rank) : Cp932("　");
    for (int file = 9; file >= 1; --file) out += KayaCell(pos.Board[SquareOf(file, rank)]);
    out += Cp932(kRankLabels[rank - 1]);
    if (hand_row) {
      char counts[16];
      std::snprintf(counts, sizeof counts, "%02d%02d", pos.Hand[kFirst][rank],
                    pos.Hand[kSecond][rank]);
      out += counts;
    }
    out += "\r\n";
  }
}

void AppendMove(MoveCode m, std::string& out) {
  char text[8];
  const int to = DestinationOf(m);
  if (IsDrop(m)) {
    std::snprintf(text, sizeof text, "0%d%d%d", DroppedType(m.from), FileOf(to), RankOf(to));
  } else {
    std::snprintf(text, sizeof text, "%d%d%d%d", FileOf(m.from), RankOf(m.from), FileOf(to),
                  RankOf(to));
  }
  out += text;
  out += IsPromotion(m) ? '+' : ' ';
}

// Reads a game: the lines after its "#:" line up to the next line beginning "#".
class KayaReader {
 public:
  explicit KayaReader(const GameRecord& current) { PrepareRecordForReading(current, r_); }

  void Title(std::string_view line) { CopyCp932Field(r_.Tournament, CutName(line, kTitleBytes)); }

  // False when the line makes the record unreadable: a damaged diagram or move, or a line
  // of moves cut at the limit (`cut`), which may have lost moves after the cut.
  bool Take(std::string_view line, bool cut) {
    if (diagram_rows_ >= 0) return TakeDiagramLine(line);
    if (in_moves_ && StartsWith(line, "  ")) return !cut && TakeMoves(line.substr(2));
    in_moves_ = false;
    if (StartsWith(line, "S:")) {
      CopyCp932Field(r_.FirstName, CutName(line.substr(2), kKayaNameBytes));
    } else if (StartsWith(line, "G:")) {
      CopyCp932Field(r_.SecondName, CutName(line.substr(2), kKayaNameBytes));
    } else if (StartsWith(line, "C:")) {
      result_mark_ = line.size() > 2 ? line[2] : ' ';
    } else if (StartsWith(line, "I:")) {
      if (moves_ > 0) return false;
      int code = 0;
      for (std::size_t i = 2; i < line.size() && i < 4 && IsDigitByte(line[i]); ++i)
        code = code * 10 + (line[i] - '0');
      const std::optional<Handicap> h = HandicapOfNumber(HandicapScheme::kKaya, code);
      if (!h) return false;
      r_.InitialPosition = HandicapPosition(*h);
      r_.StartIndex = HandicapStartIndex(*h);
    } else if (StartsWith(line, "B:")) {
      if (moves_ > 0) return false;
      diagram_ = Position{};
      diagram_rows_ = 0;
    } else if (StartsWith(line, "K:")) {
      if (moves_ > 0 || cut) return false;
      board_ = r_.InitialPosition;
      in_moves_ = true;
      return TakeMoves(line.substr(2));
    }
    return true;
  }

  // Whether a "B:" diagram was begun and not finished: the start position is not known.
  bool DiagramIncomplete() const { return diagram_rows_ >= 0; }

  // The record as read, its result from the "C:" line.
  GameRecord& Finish() {
    const int end = r_.StartIndex + moves_;
    if (result_mark_ == '0') {
      // The winner made the last move: the side of the list index before the end, so that a
      // game gote started names its winner right.
      r_.ResultCode = end % 2 == 1 ? kResultFirstWins : kResultSecondWins;
    } else if (result_mark_ == '1') {
      r_.ResultCode = kResultRepetition;
    }
    r_.PlyCount = r_.StartIndex;
    return r_;
  }

 private:
  // Line 0 is the frame; lines 1..9 are the ranks. A record line ("K:", "S:" ...) among
  // them means the diagram ended early.
  bool TakeDiagramLine(std::string_view line) {
    if (line.size() >= 2 && line[1] == ':' && line[0] >= 'A' && line[0] <= 'Z') return false;
    if (diagram_rows_++ == 0) return true;
    const int rank = diagram_rows_ - 1;
    for (int file = 9; file >= 1; --file) {
      const std::size_t at = 2 + 2 * static_cast<std::size_t>(9 - file);
      if (at + 2 > line.size()) break;
      diagram_.Board[SquareOf(file, rank)] =
          static_cast<std::int8_t>(CodeOfCell(line.substr(at, 2)));
    }
    if (rank <= kRook && line.size() >= 26) {
      const std::string_view counts = line.substr(22, 4);
      for (char c : counts)
        if (!IsDigitByte(c)) return false;
      const int first = (counts[0] - '0') * 10 + (counts[1] - '0');
      const int second = (counts[2] - '0') * 10 + (counts[3] - '0');
      if (first > kMaxInHand[rank] || second > kMaxInHand[rank]) return false;
      diagram_.Hand[kFirst][rank] = static_cast<std::int8_t>(first);
      diagram_.Hand[kSecond][rank] = static_cast<std::int8_t>(second);
    }
    if (rank == 9) {
      FindKingSquares(diagram_);
      r_.InitialPosition = diagram_;
      r_.StartIndex = 0;
      diagram_rows_ = -1;
    }
    return true;
  }

  bool TakeMoves(std::string_view text) {
    while (text.size() >= 4 && moves_ < kKayaMoveLimit) {
      for (int i = 0; i < 4; ++i)
        if (!IsDigitByte(text[i])) return false;
      const int d[4] = {text[0] - '0', text[1] - '0', text[2] - '0', text[3] - '0'};
      const bool promote = text.size() > 4 && text[4] == '+';
      if (d[2] == 0 || d[3] == 0) return false;
      const int to = SquareOf(d[2], d[3]);
      MoveCode m;
      if (d[0] == 0) {
        if (d[1] < kPawn || d[1] > kRook || promote) return false;
        m = EncodeMove(DropOrigin(d[1]), to, 0);
      } else {
        if (d[1] == 0) return false;
        m = EncodeMove(SquareOf(d[0], d[1]), to, promote ? 1 : 0);
      }
      const int ply = r_.StartIndex + moves_;
      const Side side = SideOfPly(ply);
      m = WithoutRedundantMark(board_, m);
      if (!IsPlayableMove(board_, side, m)) return false;
      ApplyMove(board_, m, side);
      r_.MoveList[ply] = m;
      ++moves_;
      text.remove_prefix(text.size() >= 5 ? 5 : text.size());
    }
    return true;
  }

  GameRecord r_;
  Position board_{};
  Position diagram_{};
  int diagram_rows_ = -1;  // lines of a "B:" diagram read so far; -1 outside one
  bool in_moves_ = false;
  int moves_ = 0;
  char result_mark_ = ' ';
};

// Moves `lines` past the "#:" line of game `number`; the line is left in `line`.
bool SkipToRecord(LineReader& lines, int number, std::string_view& line) {
  int seen = 0;
  while (lines.Next(line)) {
    if (StartsWith(line, "#:") && ++seen == number) return true;
  }
  return false;
}

// One line of a file with its line end, for the rewrites that copy lines byte for byte.
class RawLines {
 public:
  explicit RawLines(std::string_view bytes) : rest_(bytes) {}
  bool Next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t feed = rest_.find('\n');
    const std::size_t length = feed == std::string_view::npos ? rest_.size() : feed + 1;
    line = rest_.substr(0, length);
    rest_.remove_prefix(length);
    return true;
  }

 private:
  std::string_view rest_;
};

int ReadWholeFile(const std::string& path, std::string& bytes, std::string& message) {
  FileByteStream file;
  if (OpenRecordFile(path, file, message) != 0) return 1;
  char buffer[16384];
  bytes.clear();
  for (std::size_t n; (n = file.Read(buffer, sizeof buffer)) > 0;) {
    bytes.append(buffer, n);
    if (bytes.size() > kMaxKayaFileBytes) {
      message = kMessageMalformed;
      return 1;
    }
  }
  if (file.Failed()) {
    message = kMessageMalformed;
    return 1;
  }
  return 0;
}

// A path whose name ends in a dot and a three-character extension.
bool HasThreeCharacterExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view name =
      std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  return name.size() >= 5 && name[name.size() - 4] == '.';
}

}  // namespace

const std::string& KayaCell(int code) {
  if (code < -15 || code > 15) code = 0;
  return KayaCells()[code >= 0 ? code : 16 - code];
}

bool HasKayaFirstLine(const std::string& path) {
  FileByteStream file;
  std::string message;
  if (OpenRecordFile(path, file, message) != 0) return false;
  LineReader lines(file, kKayaLineBytes, LineEnd::kLineFeed);
  std::string_view line;
  return lines.Next(line) && StartsWith(line, "##");
}

int CountKayaRecords(const std::string& path, std::string& message) {
  std::string header;
  std::vector<std::string> rows;
  if (ListKayaRecords(path, header, rows, message) != 0) return message == kMessageNoData ? 0 : -1;
  return static_cast<int>(rows.size());
}

int ListKayaRecords(const std::string& path, std::string& header, std::vector<std::string>& rows,
                    std::string& message) {
  rows.clear();
  FileByteStream file;
  if (OpenRecordFile(path, file, message) != 0) return 1;
  LineReader lines(file, kKayaLineBytes, LineEnd::kLineFeed);
  std::string title, first, second;
  auto flush = [&] {
    char row[160];
    std::snprintf(row, sizeof row, "%3d %-22s %-22s %s", static_cast<int>(rows.size()) + 1,
                  first.c_str(), second.c_str(), title.c_str());
    rows.push_back(Utf8(row));
  };
  bool in_record = false;
  std::string_view line;
  while (lines.Next(line)) {
    if (StartsWith(line, "#:")) {
      if (in_record) flush();
      in_record = true;
      title = CutName(line.substr(2), kTitleBytes);
      first.clear();
      second.clear();
    } else if (in_record && StartsWith(line, "#")) {
      flush();
      in_record = false;
    } else if (in_record && StartsWith(line, "S:")) {
      first = CutName(line.substr(2), kKayaNameBytes);
    } else if (in_record && StartsWith(line, "G:")) {
      second = CutName(line.substr(2), kKayaNameBytes);
    }
  }
  if (in_record) flush();
  if (rows.empty()) {
    message = kMessageNoData;
    return 1;
  }
  header = kKayaListHeader;
  return 0;
}

int ReadKayaRecord(ByteStream& stream, int number, GameRecord& record, std::string& message) {
  LineReader lines(stream, kKayaLineBytes, LineEnd::kLineFeed);
  std::string_view line;
  if (number < 1 || !SkipToRecord(lines, number, line)) {
    message = kMessageMalformed;
    return 1;
  }
  KayaReader reader(record);
  reader.Title(line.substr(2));
  while (lines.Next(line)) {
    if (StartsWith(line, "#")) break;
    if (!reader.Take(line, lines.Cut())) {
      message = kMessageMalformed;
      return 1;
    }
  }
  if (lines.Failed() || reader.DiagramIncomplete()) {
    message = kMessageMalformed;
    return 1;
  }
  record = reader.Finish();
  return 0;
}

int ReadKayaRecord(const std::string& path, int number, GameRecord& record, std::string& message) {
  FileByteStream file;
  if (OpenRecordFile(path, file, message) != 0) return 1;
  return ReadKayaRecord(file, number, record, message);
}

int ReadKaya(const std::string& path, GameRecord& record, std::string& message) {
  return ReadKayaRecord(path, 1, record, message);
}

int ReadKaya(ByteStream& stream, GameRecord& record, std::string& message) {
  return ReadKayaRecord(stream, 1, record, message);
}

int FormatKayaRecord(const GameRecord& record, std::string& bytes, std::string& message) {
  const int code = KayaHandicapCode(record);
  if (code < 0 && record.StartIndex == 1) {
    message = kMessageGoteFirstUnsupported;
    return 1;
  }
  std::string out;
  out += "#:";
  out += CutName(FieldText(record.Tournament), kNameFieldSize - 1);
  char line[64];
  std::snprintf(line, sizeof line, "\r\nN:%02d-%02d-%02d 10:00:00\r\nU:%02d-%02d-%02d 14:00:00\r\n",
                record.Year % 100, record.Month % 100, record.Day % 100, record.Year % 100,
                record.Month % 100, record.Day % 100);
  out += line;
  out += "S:";
  out += CutName(FieldText(record.FirstName), kNameFieldSize - 1);
  out += "\r\nG:";
  out += CutName(FieldText(record.SecondName), kNameFieldSize - 1);
  out += "\r\n";
  if (record.ResultCode == kResultFirstWins || record.ResultCode == kResultSecondWins) {
    out += "C:0\r\n";
  } else if (record.ResultCode == kResultRepetition) {
    out += "C:1\r\n";
  }
  if (code > 0) {
    std::snprintf(line, sizeof line, "I:%d\r\n", code);
    out += line;
  } else if (code < 0) {
    AppendDiagram(record.InitialPosition, out);
  }
  // Every move is written: the reader's limit is no reason to drop the end of a game.
  const int count = WritableMoveCount(record);
  out += "K:";
  for (int i = 0; i < count; ++i) {
    if (i > 0 && i % kMovesPerLine == 0) out += "\r\n  ";
    AppendMove(record.MoveList[record.StartIndex + i], out);
  }
  out += "\r\n";
  bytes = std::move(out);
  return 0;
}

int FormatKaya(const GameRecord& record, std::string& bytes, std::string& message) {
  std::string game;
  if (FormatKayaRecord(record, game, message) != 0) return 1;
  bytes = std::string(kFileFirstLine) + "\r\n" + game + "##\r\n";
  return 0;
}

int WriteKaya(const std::string& path, const GameRecord& record, KayaWriteMode mode, int number,
              std::string& message) {
  std::string game;
  if (FormatKayaRecord(record, game, message) != 0) return 1;
  if (mode == KayaWriteMode::kNew) {
    return WriteRecordFile(path, std::string(kFileFirstLine) + "\r\n" + game + "##\r\n", message);
  }
  if (!HasThreeCharacterExtension(path)) {
    message = kMessageBadFileName;
    return 1;
  }
  std::string old;
  if (ReadWholeFile(path, old, message) != 0) return 1;
  RawLines lines(old);
  std::string_view line;
  if (!lines.Next(line) || !StartsWith(line, "##")) {
    message = kMessageOtherFormat;
    return 1;
  }
  std::string out(line);
  if (mode == KayaWriteMode::kAppend) {
    out += game;
    while (lines.Next(line)) out += line;
  } else {
    int seen = 0;
    bool replaced = false, skipping = false;
    while (lines.Next(line)) {
      if (skipping && StartsWith(line, "#")) skipping = false;
      if (!replaced && StartsWith(line, "#:") && ++seen == number) {
        out += game;
        replaced = skipping = true;
        continue;
      }
      if (!skipping) out += line;
    }
    if (!replaced) {
      message = kMessageRecordNotFound;
      return 1;
    }
  }
  return WriteRecordFile(path, out, message);
}

int WriteKayaFile(const std::string& path, const GameRecord& record, bool /*store_times*/,
                  std::string& message) {
  return WriteKaya(path, record, KayaWriteMode::kNew, 0, message);
}

int FormatKayaOutput(const GameRecord& record, std::string& bytes, std::string& message) {
  std::string game;
  if (FormatKayaRecord(record, game, message) != 0) return 1;
  bytes = std::string(kOutputFirstLine) + "\r\n" + game + "##\r\n\r\n\r\n";
  return 0;
}

int WriteKayaOutput(const std::string& path, const GameRecord& record, std::string& message) {
  std::string bytes;
  if (FormatKayaOutput(record, bytes, message) != 0) return 1;
  std::FILE* file = OpenFile(path, "ab");
  bool written =
      file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file != nullptr && std::fclose(file) != 0) written = false;
  if (!written) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

}  // namespace shogi
