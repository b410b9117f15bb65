// Fuzz target of the database reader: the input is a pair of database files. Byte 0 picks
// the format (bit 0: Tarvel), bytes 1-2 the length of the index file (little-endian); the
// index follows and the rest is the move file. The first and last games are read (of a pair
// whose count claims more than its files hold, the whole ones): a failed
// read leaves the record alone, a game read is sane, and the first one read registers into
// a fresh database of its format and reads back the same. The position search's quick pass
// over each stored block finds the ply that a replay of the game as read finds, in every
// mode, for a board the game passes through (or, taken after its last move, never tests).
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "database/game_database.h"
#include "database_files/position_pattern.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

using namespace shogi;

// The folder of the database files, removed when the process ends.
struct TemporaryFolder {
  std::string Path;
  ~TemporaryFolder() {
    std::error_code error;
    std::filesystem::remove_all(Path, error);
  }
};
const std::string& Folder() {
  static const TemporaryFolder folder{[] {
    const auto path = std::filesystem::temp_directory_path() /
                      ("shogi_fuzz_database_" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path.string() + "/";
  }()};
  return folder.Path;
}

void Put(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The checks of a game that was read.
void CheckGame(const DatabaseFormat& format, const GameRecord& game) {
  const auto start = MatchHandicap(game.InitialPosition, game.StartIndex, format.Scheme);
  SHOGI_FUZZ_CHECK(start.has_value());
  SHOGI_FUZZ_CHECK(game.PlyCount == game.StartIndex);
  SHOGI_FUZZ_CHECK(RecordEndPly(game) <= kBlockSlots);
  SHOGI_FUZZ_CHECK(game.StartIndex == 0 || IsEndMarker(game.MoveList[0]));
  SHOGI_FUZZ_CHECK(fuzz::IsSaneRecord(game));
  SHOGI_FUZZ_CHECK(game.ResultCode >= kResultNone && game.ResultCode <= kResultImpasseLater);
  SHOGI_FUZZ_CHECK(game.GameNumber >= 0 && game.GameNumber <= 9);
  for (int t : game.MoveTimes) SHOGI_FUZZ_CHECK(t == 0);
  for (const char* field : {game.FirstName, game.SecondName, game.Tournament, game.Opening})
    SHOGI_FUZZ_CHECK(FieldText(field, kNameFieldSize).size() < kNameFieldSize);
  SHOGI_FUZZ_CHECK(FieldText(game.Comment) == FieldText(fuzz::Sentinel().Comment));
}

// Registers `game` into a fresh database and reads it back.
void CheckRoundTrip(const DatabaseFormat& format, const GameRecord& game) {
  DatabasePaths paths;
  std::string message;
  SHOGI_FUZZ_CHECK(DatabasePathsOf(Folder() + "again.idx", paths, message) == 0);
  std::filesystem::remove(paths.Index(format));
  std::filesystem::remove(paths.Moves(format));
  SHOGI_FUZZ_CHECK(CreateDatabase(format, paths, message) == 0);
  const DatabaseNames no_lists;
  int number = 0;
  SHOGI_FUZZ_CHECK(RegisterGame(format, paths, no_lists, game, number, message) == 0);
  SHOGI_FUZZ_CHECK(number == 1);
  static GameRecord again;
  again = fuzz::Sentinel();
  SHOGI_FUZZ_CHECK(ReadGame(format, paths, no_lists, 1, again, message) == 1);
  SHOGI_FUZZ_CHECK(SameRecord(again, game));
}

// The quick pass over game n's stored block against the read game's replay, for the board
// at a ply `pick` chooses, whole and with some squares cleared.
void CheckPositionSearch(const DatabaseFormat& format, const DatabasePaths& paths, int n,
                         const GameRecord& game, unsigned pick) {
  GameDatabase db;
  std::string message;
  SHOGI_FUZZ_CHECK(
      db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) == 0);
  std::uint8_t block[kMoveBlockBytes];
  SHOGI_FUZZ_CHECK(db.ReadBlock(n, block));
  const Handicap start = *MatchHandicap(game.InitialPosition, game.StartIndex, format.Scheme);
  const int moves = RecordEndPly(game) - game.StartIndex;
  const Position whole = PositionAt(game, game.StartIndex + static_cast<int>(pick % (moves + 1)));
  Position part = whole;
  for (Square s = 1; s <= kSquareCount; ++s) {
    if ((s + pick) % 3 != 0) part.Board[s] = 0;
  }
  for (const Position& target : {whole, part}) {
    for (int mode = 1; mode < kPositionModeCount; ++mode) {
      const PositionPattern pattern(static_cast<PositionMode>(mode), target);
      SHOGI_FUZZ_CHECK(format.FindPosition(block, start, pattern) == SearchedPly(game, pattern));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const DatabaseFormat& format = (data[0] & 1) ? kTarvelFormat : kKisenFormat;
  const std::size_t index_bytes = std::min<std::size_t>(data[1] | data[2] << 8, size - 3);
  DatabasePaths paths;
  std::string message;
  SHOGI_FUZZ_CHECK(DatabasePathsOf(Folder() + "input.idx", paths, message) == 0);
  Put(paths.Index(format), input.substr(3, index_bytes));
  Put(paths.Moves(format), input.substr(3 + index_bytes));

  const DatabaseNames no_lists;
  int count = 0;
  const bool sound = DatabaseGameCount(format, paths, count, message) == 0;
  SHOGI_FUZZ_CHECK(sound || message == kMessageMalformed);
  static GameRecord game;
  bool round_trip_done = false;  // once per input: registering is slow
  // The first games, the last one and the numbers just outside.
  for (int n : {0, 1, 2, 3, count - 1, count, count + 1}) {
    game = fuzz::Sentinel();
    const int rc = ReadGame(format, paths, no_lists, n, game, message);
    if (rc == 0) {
      SHOGI_FUZZ_CHECK(!sound || n < 1 || n > count);
      SHOGI_FUZZ_CHECK(SameRecord(game, fuzz::Sentinel()));
      continue;
    }
    SHOGI_FUZZ_CHECK(sound && rc == n);
    CheckGame(format, game);
    CheckPositionSearch(format, paths, n, game, data[0] >> 1);
    if (!round_trip_done) CheckRoundTrip(format, game);
    round_trip_done = true;
  }
  return 0;
}
