// The Akafuji database reader.
//
// | offset  | size  | content                                            |
// |---------|-------|----------------------------------------------------|
// | 512 000 | 4 096 | string table of player names                       |
// | 516 096 | 4 096 | string table of opening-name parts                 |
// | 523 264 | 4 096 | string table of tournament-name parts              |
// | 530 432 | 8 192 | game index: 13 bytes, then 500 entries of 15 bytes |
// | (block - 1) * 1 024 | 1 024 | move block of a game                   |
//
// A string table: one byte that is skipped, then strings of a length byte L and L bytes;
// string n (from 1) is the n-th. The bytes are pairs (c, d): c 0 or 41 is the byte d, c 42
// the byte d - 128, any other c a JIS X 0208 row/cell pair, written as its Shift-JIS pair.
//
// Index entry: bytes 0-3 opening parts, 4 sente's name, 6 gote's name, 8-11 tournament parts
// (string numbers, 0 for none), 12 the result (2 sente won, 3 gote won, 4 repetition, 5
// impasse), 13-14 the move block (little-endian, 0 for an empty entry).
//
// Move block: bytes 0-7 unused, then 3-byte moves ended by a first byte 255. Byte 0 the
// origin as 10 * rank + (10 - file) or a drop 111..124 (飛 角 金 銀 桂 香 歩, twice), top bit
// ignored; byte 1 the destination the same way, top bit a promotion; byte 2 unused.
#include "records/akafuji.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/cp932.h"
#include "platform/file_path.h"
#include "records/record_io.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr std::uint64_t kNamesOffset = 512000;
constexpr std::uint64_t kOpeningsOffset = 516096;
constexpr std::uint64_t kTournamentsOffset = 523264;
constexpr std::uint64_t kIndexOffset = 530432;
constexpr std::size_t kTableBytes = 4096;
constexpr std::size_t kIndexHeaderBytes = 13;
constexpr std::size_t kEntryBytes = 15;
constexpr int kEntries = 500;
constexpr std::size_t kIndexBytes = kIndexHeaderBytes + kEntries * kEntryBytes;
constexpr std::size_t kBlockBytes = 1024;
constexpr std::size_t kBlockMovesOffset = 8;
constexpr std::size_t kMoveBytes = 3;
constexpr unsigned char kEndOfMoves = 255;
constexpr int kFirstDropCode = 111;
constexpr int kLastDropCode = 124;
// Drop codes 111..117 and 118..124 by their distance from the first of a run.
constexpr int kDropTypes[7] = {kRook, kBishop, kGold, kSilver, kKnight, kLance, kPawn};
// The widest texts kept: names, the joined opening and the joined tournament.
constexpr std::size_t kNameBytes = 12;
constexpr std::size_t kOpeningBytes = 20;
constexpr std::size_t kTournamentBytes = 22;

constexpr char kMessageCannotOpen[] = "ファイルがオープン出来ません。";
constexpr char kMessageNothingToShow[] = "表示対象データがありません。";

struct AkafujiFile {
  char names[kTableBytes];
  char openings[kTableBytes];
  char tournaments[kTableBytes];
  unsigned char index[kIndexBytes];

  const unsigned char* Entry(int i) const { return index + kIndexHeaderBytes + i * kEntryBytes; }
  static int Block(const unsigned char* entry) { return entry[13] | entry[14] << 8; }
};

int Load(AkafujiSource& source, AkafujiFile& file, std::string& message) {
  if (source.ReadAt(kNamesOffset, kTableBytes, file.names) &&
      source.ReadAt(kOpeningsOffset, kTableBytes, file.openings) &&
      source.ReadAt(kTournamentsOffset, kTableBytes, file.tournaments) &&
      source.ReadAt(kIndexOffset, kIndexBytes, reinterpret_cast<char*>(file.index)))
    return 0;
  message = kMessageMalformed;
  return 1;
}

// String `n` of a table in cp932 ("" for 0 or a number past the table's end).
std::string TableString(const char* table, int n) {
  std::string out;
  if (n <= 0) return out;
  std::size_t at = 1;
  for (int k = 1; at < kTableBytes; ++k) {
    const std::size_t length = static_cast<unsigned char>(table[at]);
    if (at + 1 + length > kTableBytes) return out;
    if (k < n) {
      at += 1 + length;
      continue;
    }
    for (std::size_t i = 0; i + 1 < length; i += 2) {
      const int c = static_cast<unsigned char>(table[at + 1 + i]);
      const int d = static_cast<unsigned char>(table[at + 2 + i]);
      if (c == 0 || c == 41) {
        out += static_cast<char>(d);
      } else if (c == 42) {
        out += static_cast<char>(d - 128);
      } else {
        // JIS X 0208 row/cell to Shift-JIS.
        out += static_cast<char>(c < 95 ? (c - 31) / 2 + 128 : (c - 95) / 2 + 224);
        int trail = (c & 1) ? d + 31 : d + 126;
        if ((c & 1) && trail > 126) ++trail;
        out += static_cast<char>(trail);
      }
    }
    return out;
  }
  return out;
}

// A text of the file as a header field keeps: cut at `max_bytes` and at any control byte.
std::string Field(const std::string& text, std::size_t max_bytes) {
  return std::string(CutName(text, max_bytes));
}

std::string JoinedParts(const char* table, const unsigned char* parts, std::size_t max_bytes) {
  std::string joined;
  for (int p = 0; p < 4; ++p) joined += TableString(table, parts[p]);
  return Field(joined, max_bytes);
}

struct EntryTexts {
  std::string sente, gote, tournament, opening;
};

EntryTexts TextsOf(const AkafujiFile& file, const unsigned char* entry) {
  return {Field(TableString(file.names, entry[4]), kNameBytes),
          Field(TableString(file.names, entry[6]), kNameBytes),
          JoinedParts(file.tournaments, entry + 8, kTournamentBytes),
          JoinedParts(file.openings, entry, kOpeningBytes)};
}

// The square of a byte 10 * rank + (10 - file); 0 when it names none.
int SquareOfCode(int code) {
  const int rank = code / 10, column = code % 10;
  if (rank < 1 || rank > 9 || column < 1 || column > 9) return 0;
  return SquareOf(10 - column, rank);
}

int ResultOf(int code) {
  switch (code) {
    case 2:
      return kResultFirstWins;
    case 3:
      return kResultSecondWins;
    case 4:
      return kResultRepetition;
    case 5:
      return kResultImpasse;
    default:
      return kResultNone;
  }
}

// Reads the moves of a block into `r` from the even game; false on a move that names no
// square or cannot be played.
bool ReadMoves(const unsigned char* block, GameRecord& r) {
  Position pos = r.InitialPosition;
  int index = 0;
  for (std::size_t at = kBlockMovesOffset;
       index < kAkafujiMoveLimit && at + kMoveBytes <= kBlockBytes && block[at] != kEndOfMoves;
       at += kMoveBytes) {
    const int from_code = block[at] & 0x7F;
    const int to = SquareOfCode(block[at + 1] & 0x7F);
    if (to == 0) return false;
    MoveCode m;
    if (from_code >= kFirstDropCode && from_code <= kLastDropCode) {
      m = EncodeMove(DropOrigin(kDropTypes[(from_code - kFirstDropCode) % 7]), to, 0);
    } else {
      const int from = SquareOfCode(from_code);
      if (from == 0) return false;
      m = EncodeMove(from, to, (block[at + 1] & 0x80) ? 1 : 0);
    }
    const Side side = SideOfPly(index);
    if (!IsPlayableMove(pos, side, m)) return false;
    ApplyMove(pos, m, side);
    r.MoveList[index++] = m;
  }
  return true;
}

std::string Padded(const std::string& text, int width) {
  std::string out = text;
  if (static_cast<int>(out.size()) < width) out.append(width - out.size(), ' ');
  return out;
}

class FileSource final : public AkafujiSource {
 public:
  ~FileSource() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  bool Open(const std::string& path) {
    file_ = OpenFile(path, "rb");
    return file_ != nullptr;
  }
  bool ReadAt(std::uint64_t offset, std::size_t size, char* out) override {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) return false;
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(out, 1, size, file_) == size;
  }

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace

bool MemoryAkafujiSource::ReadAt(std::uint64_t offset, std::size_t size, char* out) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
  std::memcpy(out, bytes_.data() + offset, size);
  return true;
}

int ListAkafuji(AkafujiSource& source, std::string& header, std::vector<std::string>& rows,
                std::string& message) {
  static AkafujiFile file;
  if (Load(source, file, message) != 0) return 1;
  rows.clear();
  for (int i = 0; i < kEntries; ++i) {
    const unsigned char* entry = file.Entry(i);
    if (AkafujiFile::Block(entry) == 0) continue;
    const EntryTexts t = TextsOf(file, entry);
    char number[16];
    std::snprintf(number, sizeof number, "%3d ", static_cast<int>(rows.size()) + 1);
    // Padded in cp932 bytes, as the dialog's fixed-width font lines them up.
    rows.push_back(Utf8(number + Padded(t.sente, 12) + ' ' + Padded(t.gote, 12) + ' ' +
                        Padded(t.tournament, 20) + ' ' + t.opening));
  }
  if (rows.empty()) {
    message = kMessageNothingToShow;
    return 1;
  }
  header = kAkafujiListHeader;
  return 0;
}

int ReadAkafuji(AkafujiSource& source, int number, GameRecord& record, std::string& message) {
  static AkafujiFile file;
  if (Load(source, file, message) != 0) return 1;
  const unsigned char* entry = nullptr;
  for (int i = 0, used = 0; i < kEntries; ++i) {
    if (AkafujiFile::Block(file.Entry(i)) != 0 && ++used == number) {
      entry = file.Entry(i);
      break;
    }
  }
  unsigned char block[kBlockBytes];
  if (entry == nullptr ||
      !source.ReadAt(static_cast<std::uint64_t>(AkafujiFile::Block(entry) - 1) * kBlockBytes,
                     kBlockBytes, reinterpret_cast<char*>(block))) {
    message = kMessageMalformed;
    return 1;
  }
  static GameRecord r;
  PrepareRecordForReading(record, r);
  if (!ReadMoves(block, r)) {
    message = kMessageMalformed;
    return 1;
  }
  const EntryTexts t = TextsOf(file, entry);
  CopyCp932Field(r.FirstName, t.sente);
  CopyCp932Field(r.SecondName, t.gote);
  CopyCp932Field(r.Tournament, t.tournament);
  CopyCp932Field(r.Opening, t.opening);
  r.ResultCode = ResultOf(entry[12]);
  record = r;
  return 0;
}

int ListAkafuji(const std::string& path, std::string& header, std::vector<std::string>& rows,
                std::string& message) {
  FileSource file;
  if (!file.Open(path)) {
    message = kMessageCannotOpen;
    return 1;
  }
  return ListAkafuji(file, header, rows, message);
}

int ReadAkafuji(const std::string& path, int number, GameRecord& record, std::string& message) {
  FileSource file;
  if (!file.Open(path)) {
    message = kMessageCannotOpen;
    return 1;
  }
  return ReadAkafuji(file, number, record, message);
}

}  // namespace shogi
