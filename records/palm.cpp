// The Palm database file of one game: its header and trailer, reading and writing the game
// through the Tarvel layouts.
#include "records/palm.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

#include "database_files/database_format.h"
#include "database_files/tarvel.h"
#include "platform/byte_stream.h"
#include "platform/file_path.h"
#include "records/foreign_game.h"
#include "records/record_io.h"
#include "rules/handicap.h"

namespace shogi {
namespace {

constexpr std::size_t kCreatorOffset = 64;
// An existing file being rewritten is read whole; a handheld's file is far smaller.
constexpr char kCreator[] = "QZRV";

void PutBigEndian(std::uint8_t* at, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i, value >>= 8) at[i] = static_cast<std::uint8_t>(value);
}

void PutText(std::uint8_t* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
}

// The file is known by its creator field; bytes after the 752 of the game (a handheld may
// keep more) are not read.
int ReadPalmFile(ByteStream& stream, PalmFile& file, std::string& message) {
  char bytes[sizeof(PalmFile)];
  std::size_t got = 0;
  for (std::size_t n; got < sizeof bytes && (n = stream.Read(bytes + got, sizeof bytes - got)) > 0;)
    got += n;
  if (got != sizeof(PalmFile) ||
      std::memcmp(bytes + kCreatorOffset, kCreator, sizeof kCreator - 1) != 0) {
    message = kMessageOtherFormat;
    return 1;
  }
  std::memcpy(&file, bytes, sizeof file);
  return 0;
}

// The Tarvel lists of the working directory, where the program and shogi-tool run.
DatabaseNames WorkingFolderNames() {
  DatabaseNames names;
  LoadDatabaseNames(kTarvelFormat, "", names);
  return names;
}

}  // namespace

void NewPalmHeader(std::uint8_t (&h)[96]) {
  std::memset(h, 0, sizeof h);
  PutText(h, "KaelmoDB");
  std::memset(h + 9, 'Y', 32 - 9);      // the name field's rest
  PutBigEndian(h + 32, 0x0080, 2);      // attributes
  PutText(h + 36, "\xB9\x98\x26\x75");  // creation date
  PutText(h + 40, "\xB9\x98\x26\x75");  // modification date
  PutBigEndian(h + 48, 4, 4);           // modification number
  PutText(h + 60, "DATA");
  PutText(h + kCreatorOffset, kCreator);
  PutText(h + 68, "YYYY");     // unique-ID seed
  PutBigEndian(h + 76, 1, 2);  // one record
  PutBigEndian(h + 78, 88, 4);
  h[82] = 0x40;
  PutText(h + 83, "\x88\xB0\x01");
  PutText(h + 88, "DBLK");
  PutBigEndian(h + 92, 572, 4);
}

// After the path and the device name: a 16-bit value 1 at trailer byte 40, zeros, and the
// signature "KFDB" in the last four bytes.
void NewPalmTrailer(std::uint8_t (&t)[104]) {
  std::memset(t, 0, sizeof t);
  PutText(t, "/palm/programs/kifu");
  PutText(t + 28, "CLIE");
  PutBigEndian(t + 40, 1, 2);
  PutText(t + 100, "KFDB");
}

int ReadPalm(const std::string& path, const DatabaseNames& names, GameRecord& record,
             std::string& message) {
  FileByteStream stream;
  if (!stream.Open(path)) {
    message = kMessagePalmCannotOpen;
    return 1;
  }
  return ReadPalm(stream, names, record, message);
}

int ReadPalm(ByteStream& stream, const DatabaseNames& names, GameRecord& record,
             std::string& message) {
  PalmFile file;
  if (ReadPalmFile(stream, file, message) != 0) return 1;
  const DatabaseFormat& tarvel = kTarvelFormat;
  IndexFields fields = tarvel.ReadIndex(file.Index, names);
  // Slot 0 decides the start: 0xFF and a handicap code, or the even game. A code that names
  // no start position is refused rather than read as another one.
  fields.HandicapCode = file.Block[0] == kTarvelHandicapMark ? file.Block[1] : 0;
  if (!HandicapOfNumber(tarvel.Scheme, fields.HandicapCode)) {
    message = kMessageOtherFormat;
    return 1;
  }
  GameRecord game;
  PrepareRecordForReading(record, game);
  const Handicap start = ApplyIndexFields(fields, tarvel.Scheme, game);
  tarvel.DecodeBlock(file.Block, start, game.MoveList);
  game.PlyCount = game.StartIndex;
  record = game;
  return 0;
}

int WritePalm(const std::string& path, const DatabaseNames& names, const GameRecord& record,
              std::string& message) {
  const DatabaseFormat& tarvel = kTarvelFormat;
  const std::optional<Handicap> start =
      MatchHandicap(record.InitialPosition, record.StartIndex, tarvel.Scheme);
  if (!start) {
    message = kMessageNotSavable;
    return 1;
  }
  PalmFile file{};
  std::string done, tail;
  std::error_code error;
  if (std::filesystem::exists(FilePath(path), error)) {
    // An existing file keeps its header, its trailer and whatever follows them; one that is
    // not a Palm game file is left alone rather than overwritten.
    FileByteStream stream;
    std::string bytes;
    if (!stream.Open(path) || !ReadAllBytes(stream, bytes, kMaxBinaryRecordBytes) ||
        bytes.size() < sizeof file) {
      message = kMessageOtherFormat;
      return 1;
    }
    MemoryByteStream head(std::string_view(bytes).substr(0, sizeof file));
    if (ReadPalmFile(head, file, message) != 0) return 1;
    tail = bytes.substr(sizeof file);
    done = kMessagePalmWritten;
  } else {
    NewPalmHeader(file.Header);
    NewPalmTrailer(file.Trailer);
    done = kMessagePalmCreated;
  }
  const int code = HandicapNumber(*start, tarvel.Scheme);
  const int slots_used = tarvel.EncodeBlock(record.MoveList, *start, code, file.Block);
  std::memset(file.Index, 0, sizeof file.Index);
  tarvel.WriteIndex(record, code, StoredResult(record, slots_used), names, file.Index);
  std::string ignored;
  const std::string bytes = std::string(reinterpret_cast<const char*>(&file), sizeof file) + tail;
  if (WriteRecordFile(path, bytes, ignored) != 0) {
    message = path + "が作成出来ません。";
    return 1;
  }
  message = done;
  return 0;
}

int ReadPalmFile(const std::string& path, GameRecord& record, std::string& message) {
  return ReadPalm(path, WorkingFolderNames(), record, message);
}

int ReadPalmStream(ByteStream& stream, GameRecord& record, std::string& message) {
  return ReadPalm(stream, WorkingFolderNames(), record, message);
}

int WritePalmFile(const std::string& path, const GameRecord& record, bool /*store_times*/,
                  std::string& message) {
  return WritePalm(path, WorkingFolderNames(), record, message);
}

}  // namespace shogi
