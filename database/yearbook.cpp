// The yearbook import: complemented headers, the move index and the move data read side by
// side and written as Tarvel records and blocks.
#include "database/yearbook.h"

#include <cstring>

#include "database_files/little_endian.h"
#include "database_files/tarvel.h"
#include "platform/byte_stream.h"
#include "platform/cp932.h"
#include "platform/message_pump.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// A game header record (after complementing its 512 bytes):
//   offset  size  field
//   0       64    title (tournament and game), zero-terminated; first byte 9: not a game
//   320     20    first player's family name, zero-terminated
//   340     64    first player's given name
//   404     20    second player's family name
//   424     28    second player's given name
//   452     2     year
//   454     1     month
//   455     1     day
//   481     1     result: 0 the first player won, 1 the second, other values none
//   486     2     number of moves
constexpr std::size_t kHeaderBytes = 512;
constexpr std::size_t kTitleBytes = 64;
constexpr std::uint8_t kNotAGame = 9;
struct NameField {
  std::size_t Offset, Bytes;
};
constexpr NameField kFirstFamily{320, 20}, kFirstGiven{340, 64}, kSecondFamily{404, 20},
    kSecondGiven{424, 28};
constexpr std::size_t kYearOffset = 452, kMonthOffset = 454, kDayOffset = 455;
constexpr std::size_t kResultOffset = 481, kMovesOffset = 486;

// The move index: an 8-byte header, then per game 8 bytes whose bytes 4-5 give the length
// of the game's move data. The move data of a game: a 16-byte header, then 4 bytes a move:
// origin and destination as 16 × rank + file (an origin that is no square: a drop), and a
// flag byte: (flag & 6) == 6 a promotion; for a drop, (flag >> 4) & 7 is the piece code c of
// the dropped type 8 − c.
constexpr std::size_t kIndexHeaderBytes = 8, kIndexEntryBytes = 8, kLengthOffset = 4;
constexpr std::size_t kMoveHeaderBytes = 16, kMoveBytes = 4;
constexpr int kPromotionFlags = 6;

// The tournament numbers of the title words, tested in this order.
struct TitleWord {
  const char* Word;  // UTF-8
  int Number;
};
constexpr TitleWord kTournamentWords[] = {
    {"女流アマ名人戦", 0},
    {"ヨーロッパ選手権", 0},
    {"女流", 25},
    {"レディ", 25},
    {"倉敷", 25},
    {"学生", 0},
    {"高校", 0},
    {"高等学校", 0},
    {"アマチュア名人戦", 33},
    {"朝日アマ名人戦", 34},
    {"アマチュア王将戦", 35},
    {"赤旗名人戦", 36},
    {"支部名人戦", 39},
    {"アマチュア竜王戦", 40},
    {"支部", 25},
    {"シニア名人戦", 25},
    {"名人戦", 1},
    {"順位戦", 2},
    {"王将戦", 3},
    {"王位戦", 4},
    {"竜王戦", 5},
    {"棋聖戦", 6},
    {"棋王戦", 7},
    {"王座戦", 8},
    {"全日本", 9},
    {"ＮＨＫ", 10},
    {"新人王", 11},
    {"早指し選手権", 12},
    {"早指し新鋭戦", 13},
    {"日本シ", 14},
    {"勝抜戦", 15},
    {"銀河戦", 25},
    {"達人戦", 25},
};
// The game number words, each set tested 1..9 before the next set.
constexpr const char* kGameNumberDigits[] = {"１２３４５６７８９", "一二三四五六七八九",
                                             "123456789"};

// The title's characters: a byte 0x80-0x9F or 0xE0-0xFF takes the next byte with it.
constexpr bool IsTitleLeadByte(unsigned char c) {
  return (c >= 0x80 && c <= 0x9F) || c >= 0xE0;
}

// Whether `word` (cp932) begins at one of the title's characters.
bool TitleContains(std::string_view title, std::string_view word) {
  for (std::size_t i = 0; i < title.size();
       i += IsTitleLeadByte(static_cast<unsigned char>(title[i])) ? 2 : 1) {
    if (title.substr(i).starts_with(word)) return true;
  }
  return false;
}

// The zero-terminated text of a field of the header.
std::string_view Text(const std::uint8_t* header, NameField field) {
  const char* text = reinterpret_cast<const char*>(header + field.Offset);
  return {text, strnlen(text, field.Bytes)};
}

// Family and given name: joined directly after a one-byte first character, else with a
// full-width space between.
std::string PlayerName(const std::uint8_t* header, NameField family, NameField given) {
  const std::string_view f = Text(header, family);
  const bool one_byte = !f.empty() && static_cast<unsigned char>(f[0]) <= 0x7F;
  return std::string(f) + (one_byte ? "" : Cp932("　")) + std::string(Text(header, given));
}

int Le16At(const std::uint8_t* bytes) {
  Le16 field;
  std::memcpy(field.Bytes, bytes, 2);
  return field.Get();
}

// A square of the yearbook (16 × rank + file) as a Tarvel square; 0 when it is none.
int SquareOfByte(std::uint8_t b) {
  const int rank = b >> 4, file = b & 15;
  return rank >= 1 && rank <= 9 && file >= 1 && file <= 9 ? SquareOf(file, rank) : 0;
}

// The Tarvel block of a game from its move data (`data` holds `length` bytes): a handicap
// game's slot 0 holds 0xFF and its code, the moves follow, at most `moves` of them and as
// many as fit in the 256 slots. A move without a destination square ends the moves.
void BuildBlock(const std::string& data, int moves, int handicap_code, TarvelMoveBlock& block) {
  block = TarvelMoveBlock{};
  int slot = 0;
  if (handicap_code != 0)
    block.Slots[slot++] = {kTarvelHandicapMark, static_cast<std::uint8_t>(handicap_code)};
  const std::size_t available =
      data.size() < kMoveHeaderBytes ? 0 : (data.size() - kMoveHeaderBytes) / kMoveBytes;
  for (std::size_t k = 0; k < available && static_cast<int>(k) < moves && slot < kBlockSlots; ++k) {
    const auto* move =
        reinterpret_cast<const std::uint8_t*>(data.data()) + kMoveHeaderBytes + k * kMoveBytes;
    const int to = SquareOfByte(move[1]), from = SquareOfByte(move[0]);
    if (to == 0) break;
    constexpr int kFlag = kPromoteFlag + kTarvelFlagShift;  // 128
    if (from != 0) {                                        // a board move
      const bool promotes = (move[2] & kPromotionFlags) == kPromotionFlags;
      block.Slots[slot++] = {static_cast<std::uint8_t>(to + (promotes ? kFlag : 0)),
                             static_cast<std::uint8_t>(from)};
    } else {  // a drop
      const int type = kKing - ((move[2] >> 4) & 7);
      block.Slots[slot++] = {static_cast<std::uint8_t>(to),
                             static_cast<std::uint8_t>(kFlag + type)};
    }
  }
}

// Reads exactly `size` bytes; false when the stream ends first.
bool ReadExactly(ByteStream& stream, std::size_t size, std::string& bytes) {
  bytes.resize(size);
  std::size_t got = 0;
  while (got < size) {
    const std::size_t n = stream.Read(bytes.data() + got, size - got);
    if (n == 0) return false;
    got += n;
  }
  return true;
}

DatabasePaths OutputPaths(const std::string& name) {
  DatabasePaths paths;
  std::string ignored;
  if (DatabasePathsOf(name, paths, ignored) != 0) paths.Base = name.substr(0, name.size() - 4);
  return paths;
}

}  // namespace

bool YearbookNamesComplete(const YearbookFiles& files) {
  return files.Headers.size() >= 4 && files.MoveIndex.size() >= 4 && files.MoveData.size() >= 4 &&
         files.Database.size() >= 5;
}

YearbookTitle ReadYearbookTitle(std::string_view title) {
  YearbookTitle result;
  for (const TitleWord& word : kTournamentWords) {
    if (TitleContains(title, Cp932(word.Word))) {
      result.Tournament = word.Number;
      break;
    }
  }
  for (const char* digits : kGameNumberDigits) {
    const std::string set = Cp932(digits);
    const std::size_t width = set.size() / 9;
    for (int d = 1; d <= 9 && result.GameNumber == 0; ++d) {
      const std::string word = Cp932("第") + set.substr((d - 1) * width, width) + Cp932("局");
      if (TitleContains(title, word)) result.GameNumber = d;
    }
    if (result.GameNumber != 0) break;
  }
  // 角落 is looked for two bytes at a time from the start.
  const std::string bishop = Cp932("角落");
  for (std::size_t i = 0; i + bishop.size() <= title.size() && !result.BishopHandicap; i += 2)
    result.BishopHandicap = title.substr(i, bishop.size()) == bishop;
  return result;
}

int ImportYearbook(const YearbookFiles& files, int& converted, std::string& message) {
  converted = 0;
  FileByteStream headers, index, data;
  for (const auto& [stream, name] :
       {std::pair{&data, &files.MoveData}, std::pair{&index, &files.MoveIndex},
        std::pair{&headers, &files.Headers}}) {
    if (!stream->Open(*name)) {
      message = Printed(kMessageYearbookMissing, name->c_str());
      return 1;
    }
  }
  std::string bytes;
  // A move index shorter than its header holds no games.
  const bool index_usable = ReadExactly(index, kIndexHeaderBytes, bytes);

  const DatabasePaths paths = OutputPaths(files.Database);
  DatabaseRewrite rewrite;
  if (!rewrite.Begin(kTarvelFormat, paths)) {
    message = rewrite.IndexStaged()
                  ? Printed(kMessageYearbookMovesUncreatable, paths.Moves(kTarvelFormat).c_str())
                  : Printed(kMessageYearbookIndexUncreatable, paths.Index(kTarvelFormat).c_str());
    return 1;
  }
  if (!rewrite.Header(nullptr, 0)) {
    message = kMessageCannotCreate;
    return 1;
  }
  std::string header_bytes, moves;
  while (ReadExactly(headers, kHeaderBytes, header_bytes)) {
    std::uint8_t header[kHeaderBytes];
    for (std::size_t i = 0; i < kHeaderBytes; ++i)
      header[i] = static_cast<std::uint8_t>(~static_cast<unsigned char>(header_bytes[i]));
    if (header[0] == kNotAGame) continue;
    // The move index or the move data ending first ends the import with what was converted.
    if (!index_usable || !ReadExactly(index, kIndexEntryBytes, bytes)) break;
    const int length =
        Le16At(reinterpret_cast<const std::uint8_t*>(bytes.data()) + kLengthOffset) & 0xFFFF;
    if (!ReadExactly(data, static_cast<std::size_t>(length), moves)) break;

    const std::string_view title = Text(header, {0, kTitleBytes});
    const YearbookTitle read = ReadYearbookTitle(title);
    const int handicap_code =
        read.BishopHandicap ? HandicapNumber(Handicap::kBishop, HandicapScheme::kTarvel) : 0;
    int result = header[kResultOffset] == 0   ? kResultFirstWins
                 : header[kResultOffset] == 1 ? kResultSecondWins
                                              : kResultNone;
    // The handicap giver is the yearbook's first player.
    if (handicap_code != 0 && result != kResultNone)
      result = kResultFirstWins + kResultSecondWins - result;

    TarvelIndexRecord record{};
    SetTarvelName(record.FirstName, PlayerName(header, kFirstFamily, kFirstGiven));
    SetTarvelName(record.SecondName, PlayerName(header, kSecondFamily, kSecondGiven));
    record.GameNumber.Set(read.GameNumber);
    record.Handicap.Set(handicap_code);
    record.Year.Set(Le16At(header + kYearOffset));
    record.Month.Set(header[kMonthOffset]);
    record.Day.Set(header[kDayOffset]);
    record.Result.Set(result);
    record.Tournament.Set(read.Tournament);
    TarvelMoveBlock block;
    BuildBlock(moves, Le16At(header + kMovesOffset) & 0xFFFF, handicap_code, block);
    if (!rewrite.Record(reinterpret_cast<const std::uint8_t*>(&record)) ||
        !rewrite.Block(reinterpret_cast<const std::uint8_t*>(&block))) {
      message = kMessageCannotCreate;
      return 1;
    }
    ++converted;
    PumpMessages();
  }
  if (!rewrite.SetCount(static_cast<std::uint32_t>(converted)) || !rewrite.Commit()) {
    converted = 0;
    message = kMessageCannotCreate;
    return 1;
  }
  message = Printed(kMessageYearbookConverted, converted);
  return 0;
}

}  // namespace shogi
