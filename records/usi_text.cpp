// The SFEN / USI position reader and the recognition of a pasted record's format.
#include "records/usi_text.h"

#include <vector>

#include "platform/cp932.h"
#include "records/record_io.h"
#include "records/record_text.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t begin = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > begin) words.push_back(line.substr(begin, i - begin));
  }
  return words;
}

std::string_view TrimLine(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

// Whether `word` has the form of a SFEN board: nine ranks of piece letters, digits and "+".
bool LooksLikeSfenBoard(std::string_view word) {
  int slashes = 0;
  for (char c : word) {
    if (c == '/') {
      ++slashes;
    } else if (!((c >= '1' && c <= '9') || c == '+' || (c >= 'a' && c <= 'z') ||
                 (c >= 'A' && c <= 'Z'))) {
      return false;
    }
  }
  return slashes == 8;
}

int ReadUsiLine(std::string_view line, GameRecord& record) {
  const std::vector<std::string_view> words = Words(line);
  std::size_t i = 0;
  if (i < words.size() && words[i] == "position") ++i;
  std::string sfen;
  if (i < words.size() && words[i] == "startpos") {
    sfen = "startpos";
    ++i;
  } else {
    if (i < words.size() && words[i] == "sfen") ++i;
    if (i + 3 > words.size()) return 1;
    for (int k = 0; k < 3; ++k) (sfen += words[i++]) += ' ';
    if (i < words.size() && words[i] != "moves") sfen += words[i++];  // the move number
  }
  Position pos;
  Side side;
  int number;
  std::string ignored;
  if (ParseSfen(sfen, pos, side, number, ignored) != 0) return 1;
  GameRecord r;
  PrepareRecordForReading(record, r);
  r.InitialPosition = pos;
  r.StartIndex = r.PlyCount = side == kFirst ? 0 : 1;
  if (i < words.size()) {
    if (words[i++] != "moves") return 1;
    int index = r.StartIndex;
    for (; i < words.size() && index - r.StartIndex < kUsiMoveLimit; ++i) {
      MoveCode m;
      if (!ParseUsiMove(words[i], m) || !IsPlayableMove(pos, SideOfPly(index), m)) return 1;
      ApplyMove(pos, m, SideOfPly(index));
      r.MoveList[index++] = m;
    }
  }
  record = r;
  return 0;
}

}  // namespace

int ReadUsiText(ByteStream& stream, GameRecord& record, std::string& message) {
  Cp932TextStream text(stream, false);
  std::string all;
  char buffer[4096];
  while (const std::size_t n = text.Read(buffer, sizeof buffer)) all.append(buffer, n);
  std::string_view rest = all;
  while (!text.Failed() && !rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = TrimLine(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty()) continue;
    if (ReadUsiLine(line, record) == 0) return 0;
    break;
  }
  message = kMessageMalformed;
  return 1;
}

int ReadUsiText(const std::string& path, GameRecord& record, std::string& message) {
  return ReadRecordPath(path, ReadUsiText, record, message);
}

std::optional<RecordFormat> RecognizeRecordText(std::string_view cp932) {
  static const std::string kSenteMark = Cp932("▲"), kGoteMark = Cp932("△"),
                           kMovesHead = Cp932("手数-");
  std::string_view rest = cp932;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = TrimLine(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty()) continue;
    const char c = line[0];
    const char d = line.size() > 1 ? line[1] : '\0';
    if (c == '*' || c == '#' || c == '&' || c == '|') continue;
    const std::vector<std::string_view> words = Words(line);
    if (words[0] == "position" || words[0] == "startpos") return RecordFormat::kUsi;
    if (words[0] == "sfen" || LooksLikeSfenBoard(words[0])) return RecordFormat::kSfen;
    if (c == '\'' || c == '$' || c == '%' || (c == 'N' && (d == '+' || d == '-')) ||
        (c == 'V' && d >= '1' && d <= '9') ||
        (c == 'P' && ((d >= '1' && d <= '9') || d == 'I' || d == '+' || d == '-')) ||
        ((c == '+' || c == '-') && (d == '\0' || (d >= '0' && d <= '9'))))
      return RecordFormat::kCsa;
    if (StartsWith(line, kSenteMark) || StartsWith(line, kGoteMark)) return RecordFormat::kKi2;
    if (StartsWith(line, kMovesHead)) return RecordFormat::kKif;
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits > 0 && digits < line.size() && line[digits] == ' ') {
      const std::string_view move = TrimLine(line.substr(digits));
      if (!move.empty() && IsCp932LeadByte(static_cast<unsigned char>(move[0])))
        return RecordFormat::kKif;
    }
    // Headers ("key：value"), the diagram's file labels and border, 後手番: nothing decided.
  }
  return std::nullopt;
}

int ReadPastedRecord(std::string_view utf8, GameRecord& record, std::string& message) {
  RecordTree tree;
  return ReadPastedRecord(utf8, record, tree, message);
}

int ReadPastedRecord(std::string_view utf8, GameRecord& record, RecordTree& tree,
                     std::string& message) {
  const std::optional<RecordFormat> format = RecognizeRecordText(Utf8TextToCp932(utf8));
  const RecordFormatRow* row = format ? &RecordFormatRowOf(*format) : nullptr;
  if (row == nullptr || row->ReadStream == nullptr) {
    message = kMessageNotARecord;
    return 1;
  }
  // The clipboard holds UTF-8: the byte-order mark makes every reader take it as such.
  std::string text = "\xEF\xBB\xBF";
  text += utf8.substr(StartsWith(utf8, "\xEF\xBB\xBF") ? 3 : 0);
  MemoryByteStream stream(text);
  if (row->Notes != nullptr) return row->Notes->Read(stream, true, record, tree, message);
  const int failed = row->ReadStream(stream, record, message);
  if (failed == 0) tree.Clear();
  return failed;
}

}  // namespace shogi
