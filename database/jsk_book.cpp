// The .JSK opening book: header, scrambling, writer and reader.
#include "database/jsk_book.h"

#include <cstring>

#include "database/stored_game.h"
#include "database_files/tarvel.h"
#include "platform/buffered_replacing_file.h"
#include "platform/message_pump.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

constexpr std::uint16_t RotateLeft(std::uint16_t x) {
  return static_cast<std::uint16_t>(x << 1 | x >> 15);
}
constexpr std::uint16_t RotateRight(std::uint16_t x) {
  return static_cast<std::uint16_t>(x >> 1 | x << 15);
}

// The record of a game: its handicap slot, then its moves, cut after slot 63.
JskRecord RecordOf(const StoredGame& game) {
  JskRecord record{};
  const int first = HandicapStartIndex(game.Start);
  if (first == 1)
    record.Slots[0] = {kTarvelHandicapMark, static_cast<std::uint8_t>(HandicapNumber(
                                                game.Start, HandicapScheme::kTarvel))};
  for (int ply = first; ply < kJskSlots && ply < game.End; ++ply)
    record.Slots[ply] = game.Moves[ply];
  return record;
}

}  // namespace

JskHeader MakeJskHeader(int records, std::uint32_t games) {
  JskHeader header;
  std::uint32_t state = games + kJskSeedKey;
  for (int i = 0; i < kJskSlots; ++i) {
    state = state * 214013u + 2531011u;
    header.SetWord(i, static_cast<std::uint16_t>((state >> 16) & 0x7FFF));
  }
  header.SetWord(kJskCountWord, static_cast<std::uint16_t>(
                                    records + header.Word(kJskCountOffsetWord) + kJskCountKey));
  return header;
}

int JskRecordCount(const JskHeader& header) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(
      header.Word(kJskCountWord) - header.Word(kJskCountOffsetWord) - kJskCountKey));
}

void ScrambleJskRecord(std::uint8_t (&bytes)[kJskRecordBytes], const JskHeader& header, int i) {
  std::uint16_t key = RotateLeft(static_cast<std::uint16_t>(
      header.Word(kJskSlots - 1 - i % kJskSlots) ^ static_cast<std::uint16_t>(~i)));
  for (int w = 0; w < kJskSlots; ++w) {
    bytes[2 * w] ^= static_cast<std::uint8_t>(key);
    bytes[2 * w + 1] ^= static_cast<std::uint8_t>(key >> 8);
    const std::uint16_t c = RotateRight(key);
    key = static_cast<std::uint16_t>(
        c ^ ((c ^ static_cast<std::uint16_t>(c + kJskScheduleKey)) & 0xFF));
  }
}

int OpenJskSource(const DatabasePaths& tarvel, GameDatabase& db, std::string& message) {
  if (OpenStoredDatabase(kTarvelFormat, tarvel, kMessageTarvelMissing, db, message) != 0) return 1;
  if (db.Count() <= 0) {
    message = kMessageNothingToConvert;
    return 1;
  }
  return 0;
}

int WriteJskBook(const GameDatabase& db, const std::string& path, std::string& message) {
  const int count = db.Count() < kJskMaxRecords ? db.Count() : kJskMaxRecords;
  const JskHeader header = MakeJskHeader(count, static_cast<std::uint32_t>(db.Count()));
  BufferedReplacingFile out;
  if (!out.Open(path) ||
      !out.Write({reinterpret_cast<const char*>(header.Bytes), kJskRecordBytes})) {
    message = kMessageCannotCreate;
    return 1;
  }
  StoredGame game;
  for (int i = 1; i <= count; ++i) {
    PumpMessages();
    if (!ReadStoredGame(db, i, game, kJskSlots)) {
      message = kMessageMalformed;
      return 1;
    }
    const JskRecord record = RecordOf(game);
    std::uint8_t bytes[kJskRecordBytes];
    std::memcpy(bytes, &record, kJskRecordBytes);
    ScrambleJskRecord(bytes, header, i);
    if (!out.Write({reinterpret_cast<const char*>(bytes), kJskRecordBytes})) {
      message = kMessageCannotCreate;
      return 1;
    }
  }
  if (!out.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

int JskBook::Open(const std::string& path, std::string& message) {
  records_.clear();
  RecordFile file;
  std::uint64_t size = 0;
  if (!file.Open(path, RecordFile::Mode::kRead)) {
    message = kMessageFileMissing;
    return 1;
  }
  JskHeader header;
  if (!file.Size(size) || !file.ReadAt(0, header.Bytes, kJskRecordBytes)) {
    message = kMessageMalformed;
    return 1;
  }
  const std::uint64_t whole = size / kJskRecordBytes - 1;
  const int stated = JskRecordCount(header);
  const int count = stated <= 0                                  ? 0
                    : static_cast<std::uint64_t>(stated) > whole ? static_cast<int>(whole)
                                                                 : stated;
  records_.resize(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    std::uint8_t bytes[kJskRecordBytes];
    if (!file.ReadAt(kJskRecordBytes * static_cast<std::uint64_t>(i), bytes, kJskRecordBytes)) {
      records_.clear();
      message = kMessageMalformed;
      return 1;
    }
    ScrambleJskRecord(bytes, header, i);
    std::memcpy(&records_[static_cast<std::size_t>(i - 1)], bytes, kJskRecordBytes);
  }
  return 0;
}

std::optional<Handicap> JskBook::StartOf(const JskRecord& record) {
  if (record.Slots[0].to != kTarvelHandicapMark) return Handicap::kEven;
  const std::optional<Handicap> start =
      HandicapOfNumber(HandicapScheme::kTarvel, record.Slots[0].from);
  if (!start || *start == Handicap::kEven) return std::nullopt;
  return start;
}

std::optional<MoveCode> JskBook::MoveAt(int i, Handicap start, int ply, const Position& pos) const {
  if (i < 1 || i > Count() || ply < HandicapStartIndex(start) || ply >= kJskSlots) return {};
  const JskRecord& record = Record(i);
  if (StartOf(record) != start) return {};
  Position replayed = HandicapPosition(start);
  for (int p = HandicapStartIndex(start); p <= ply; ++p) {
    const MoveCode m = record.Slots[p];
    const Side side = SideOfPly(p);
    if (IsEndMarker(m) || !IsWellFormedMove(m) || !IsPlayableMove(replayed, side, m)) return {};
    if (p == ply) return replayed == pos ? std::optional<MoveCode>(m) : std::nullopt;
    ApplyMove(replayed, m, side);
  }
  return {};
}

std::vector<MoveCode> JskBook::MovesAt(Handicap start, int ply, const Position& pos) const {
  std::vector<MoveCode> moves;
  for (int i = 1; i <= Count(); ++i) {
    if (const std::optional<MoveCode> m = MoveAt(i, start, ply, pos)) moves.push_back(*m);
  }
  return moves;
}

}  // namespace shogi
