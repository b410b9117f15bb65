// Fuzz target of the position index reader. The index of a fixed database of 24 games (some
// from handicaps) is changed as the input says: byte 0 bit 0 seals the changed file again
// (page checksums, log records, trailer), bit 1 cuts it at the first change; then groups of
// three bytes: an offset (little-endian, modulo the file's length) and a value to XOR there.
// An unsealed change must be refused or give the answer of the pass over the games; a sealed
// one (which only the checks of the parser can catch) must give a sane answer.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "database/position_index.h"
#include "database/position_index_file.h"
#include "fixtures/synthetic_database.h"
#include "tests/fuzz/fuzz_checks.h"
#include "tests/support/file_bytes.h"

namespace {

using namespace shogi;

constexpr int kGames = 24;

struct Fixture {
  std::string Folder;
  DatabasePaths Paths;
  std::string Sound;  // the index as built
  Fixture() {
    Folder = (std::filesystem::temp_directory_path() /
              ("shogi_fuzz_position_index_" + std::to_string(getpid())))
                 .string() +
             "/";
    std::filesystem::create_directories(Folder);
    std::string message;
    IndexBuildReport report;
    const auto games = test::RandomGames(kKisenFormat, kGames, 40, 4, 7);
    if (DatabasePathsOf(Folder + "games.idx", Paths, message) != 0 ||
        !test::WriteSyntheticDatabase(kKisenFormat, Paths, kGames, games) ||
        BuildPositionIndex(kKisenFormat, Paths, 8, {}, report, message) != 0)
      std::abort();
    // A registered game, so that the index has a log.
    static GameRecord game;
    int number = 0;
    game = games[3];
    if (RegisterGameIndexed(kKisenFormat, Paths, Folder, game, number, message) != 0) std::abort();
    Sound = test::FileBytes(PositionIndexPath(kKisenFormat, Paths));
  }
  ~Fixture() {
    std::error_code error;
    std::filesystem::remove_all(Folder, error);
  }
};
const Fixture& TheFixture() {
  static const Fixture fixture;
  return fixture;
}

std::uint64_t Le(const std::string& bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}
void PutLe(std::string& bytes, std::size_t at, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}
std::uint64_t Sum(const std::string& bytes, std::size_t at, std::size_t size) {
  return Checksum64(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at, size);
}

// Writes every checksum of a changed file again, as far as its trailer's offsets allow.
void Seal(std::string& bytes) {
  if (bytes.size() < sizeof(PositionIndexTrailer)) return;
  const std::size_t trailer = bytes.size() - sizeof(PositionIndexTrailer);
  const std::uint64_t sums = Le(bytes, trailer + offsetof(PositionIndexTrailer, PageSumsOffset), 8);
  const std::uint64_t pages = (sums + kIndexPageBytes - 1) / kIndexPageBytes;
  if (sums > trailer || sums + 8 * pages > trailer) return;
  for (std::uint64_t page = 0; page < pages; ++page) {
    const std::uint64_t from = page * kIndexPageBytes;
    PutLe(bytes, sums + 8 * page, Sum(bytes, from, std::min(kIndexPageBytes, sums - from)));
  }
  PutLe(bytes, trailer + offsetof(PositionIndexTrailer, PageSumsChecksum),
        Sum(bytes, sums, 8 * pages));
  // The log's records, each as long as its first four bytes say.
  for (std::uint64_t at = sums + 8 * pages; at + 24 <= trailer;) {
    const std::uint64_t length = Le(bytes, at, 4);
    if (length < 24 || length > trailer - at) break;
    PutLe(bytes, at + length - 8, Sum(bytes, at, length - 8));
    at += length;
  }
  PutLe(bytes, trailer + offsetof(PositionIndexTrailer, Checksum),
        Sum(bytes, trailer, offsetof(PositionIndexTrailer, Checksum)));
}

std::string Text(const ExplorerAnswer& a) {
  std::string text = std::to_string(a.Games);
  for (const ExplorerMove& m : a.Moves)
    text += " " + std::to_string(m.Move.to) + "," + std::to_string(m.Move.from) + ":" +
            std::to_string(m.Games) + "/" + std::to_string(m.Shares[0]) + "/" +
            std::to_string(m.Shares[1]);
  for (const ExplorerGame& g : a.Newest)
    text += " #" + std::to_string(g.Number) + "@" + std::to_string(g.Ply);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const Fixture& fixture = TheFixture();
  std::string bytes = fixture.Sound;
  for (std::size_t i = 1; i + 3 <= size; i += 3) {
    const std::size_t at = (data[i] | data[i + 1] << 8) % bytes.size();
    if ((data[0] & 2) != 0) {
      bytes.resize(at);
      break;
    }
    bytes[at] = static_cast<char>(bytes[at] ^ data[i + 2]);
  }
  const bool sealed = (data[0] & 1) != 0;
  if (sealed) Seal(bytes);
  test::PutFileBytes(PositionIndexPath(kKisenFormat, fixture.Paths), bytes);

  ExplorerQuery query;
  query.Target = kInitialPosition;
  query.Plies = 2 + data[0] % 7;
  query.Games = 3;
  ExplorerAnswer from_index, by_pass;
  std::string message;
  const IndexUse use = ExploreFromIndex(kKisenFormat, fixture.Paths, query, from_index);
  if (use != IndexUse::kUsed) return 0;
  SHOGI_FUZZ_CHECK(ExploreByScan(kKisenFormat, fixture.Paths, query, {}, by_pass, message) == 0);
  if (!sealed) SHOGI_FUZZ_CHECK(Text(from_index) == Text(by_pass));
  int moved = 0;
  for (const ExplorerMove& m : from_index.Moves) {
    SHOGI_FUZZ_CHECK(m.Games == m.Shares[0] + m.Shares[1] + m.Shares[2] && m.Games > 0);
    moved += m.Games;
  }
  SHOGI_FUZZ_CHECK(moved <= from_index.Games && from_index.Games <= kGames + 1);
  SHOGI_FUZZ_CHECK(from_index.Newest.size() <= 3);
  for (const ExplorerGame& g : from_index.Newest)
    SHOGI_FUZZ_CHECK(g.Number >= 1 && g.Number <= kGames + 1 && g.Ply >= 0 && g.Ply <= 256);
  return 0;
}
