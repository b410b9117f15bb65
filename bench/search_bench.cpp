// Searching Kisen and Tarvel databases of 1 000 000 games, in games per second: a player
// search, record searches and the position searches of the three modes, which replay every
// game. The databases hold real games (random legal moves, about one in ten from a handicap
// start), 4096 distinct ones spread over the million. They are written once into
// $TMPDIR/shogi_search_bench (else /tmp) and reused while their files have the right sizes,
// so later runs read them from the page cache.
//
// Also the cost of reporting progress once per game: no callback, one that does nothing and one
// that counts.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "database/game_search.h"
#include "fixtures/synthetic_database.h"
#include "platform/cp932.h"

namespace shogi {
namespace {

constexpr int kGames = 1000000;
constexpr int kDistinctGames = 4096;

struct BenchDatabase {
  const DatabaseFormat* Format;
  DatabasePaths Paths;
  std::vector<GameRecord> Games;  // the distinct games
};

std::string BenchFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/shogi_search_bench/";
}

// Whether the files at `paths` have the sizes of kGames games.
bool HasRightSize(const DatabaseFormat& format, const DatabasePaths& paths) {
  std::error_code error;
  const auto index = std::filesystem::file_size(paths.Index(format), error);
  if (error) return false;
  const auto moves = std::filesystem::file_size(paths.Moves(format), error);
  return !error && index == (kGames + 1ull) * format.IndexRecordBytes &&
         moves == kGames * static_cast<unsigned long long>(kMoveBlockBytes);
}

BenchDatabase& Database(const DatabaseFormat& format) {
  static BenchDatabase databases[2];
  BenchDatabase& db = databases[static_cast<int>(format.Kind)];
  if (db.Format != nullptr) return db;
  const std::string folder = BenchFolder();
  std::filesystem::create_directories(folder);
  test::WriteSyntheticLists(folder);
  db.Format = &format;
  std::string message;
  if (DatabasePathsOf(folder + (format.Kind == DatabaseKind::kKisen ? "games.idx" : "games.mix"),
                      db.Paths, message) != 0)
    std::abort();
  // The same seed gives the same games: a database on disk holds these.
  db.Games = test::RandomGames(format, kDistinctGames, 220, 10, 2024);
  if (!HasRightSize(format, db.Paths) &&
      !test::WriteSyntheticDatabase(format, db.Paths, kGames, db.Games))
    std::abort();
  return db;
}

const DatabaseFormat& FormatOfRange(const benchmark::State& state) {
  return state.range(0) == 0 ? kKisenFormat : kTarvelFormat;
}

// The searches measured, by the benchmark's second argument.
enum Search : int {
  kPlayer,           // one player, in either colour
  kTournamentDates,  // a tournament and a range of ten years
  kSimilarOrTurned,  // mode 1: six pieces of a middle-game position
  kSimilar,          // mode 2: the same six pieces
  kSame,             // mode 3: a whole middle-game position
  kPlayerAndSame,    // a player and mode 3
};

SearchConditions ConditionsOf(const BenchDatabase& db, int search) {
  SearchConditions c;
  if (search == kPlayer || search == kPlayerAndSame)
    c.Player1 = test::SyntheticPlayerName(5);
  if (search == kTournamentDates) {
    c.Tournament = Cp932("棋戦7");
    c.StartYear = "1960";
    c.StartMonth = "1";
    c.EndYear = "1969";
    c.EndMonth = "12";
  }
  const GameRecord& game = db.Games[17];
  const Position middle =
      PositionAt(game, game.StartIndex + std::min(RecordMoveCount(game) - 1, 60));
  if (search == kSame || search == kPlayerAndSame) {
    c.Mode = PositionMode::kSame;
    c.SearchPosition = middle;
  } else if (search == kSimilar || search == kSimilarOrTurned) {
    c.Mode = search == kSimilar ? PositionMode::kSimilar : PositionMode::kSimilarOrReversed;
    for (int s = 1, kept = 0; s <= kSquareCount && kept < 6; s += 7) {
      c.SearchPosition.Board[s] = middle.Board[s];
      kept += middle.Board[s] != 0 ? 1 : 0;
    }
  }
  return c;
}

// A search's sink that only counts the games kept.
std::function<bool(int)> Counting(long long& found) {
  return [&found](int) {
    ++found;
    return true;
  };
}

// One search pass over the million games (SearchGames: what the menu's search spends apart
// from writing the list file).
void BM_Search(benchmark::State& state) {
  const BenchDatabase& db = Database(FormatOfRange(state));
  const SearchConditions conditions = ConditionsOf(db, static_cast<int>(state.range(1)));
  SearchDates dates;
  SearchCheckFailure failure;
  if (CheckSearchDates(conditions, dates, failure) != 0) std::abort();
  const SearchTerms terms = ResolveSearchTerms(*db.Format, BenchFolder(), conditions, dates);
  const PositionPattern pattern(conditions.Mode, conditions.SearchPosition);
  long long found = 0;
  std::string message;
  for (auto _ : state) {
    found = 0;
    if (SearchGames(*db.Format, db.Paths, terms, pattern, Counting(found), {}, message) != 0)
      state.SkipWithError(message.c_str());
  }
  state.counters["found"] = static_cast<double>(found);
  state.SetItemsProcessed(state.iterations() * kGames);
}

// A player search (the cheapest per game) with its progress: none, a callback that does
// nothing, a callback that counts.
void BM_SearchPump(benchmark::State& state) {
  const BenchDatabase& db = Database(kKisenFormat);
  long long pumped = 0;
  LoopProgress progress;
  if (state.range(0) == 1) progress = [](std::int64_t, std::int64_t) { return true; };
  if (state.range(0) == 2)
    progress = [&pumped](std::int64_t, std::int64_t) {
      ++pumped;
      return true;
    };
  SearchTerms terms;
  terms.PlayerNumber[0] = 5;
  const PositionPattern pattern(PositionMode::kNone, {});
  long long found = 0;
  std::string message;
  for (auto _ : state) {
    if (SearchGames(*db.Format, db.Paths, terms, pattern, Counting(found), progress, message) != 0)
      state.SkipWithError(message.c_str());
  }
  state.counters["pumped"] = static_cast<double>(pumped);
  state.SetItemsProcessed(state.iterations() * kGames);
}

BENCHMARK(BM_Search)
    ->ArgNames({"tarvel", "search"})
    ->ArgsProduct({{0, 1},
                   {kPlayer, kTournamentDates, kSimilarOrTurned, kSimilar, kSame, kPlayerAndSame}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_SearchPump)
    ->ArgName("hook")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace shogi

BENCHMARK_MAIN();
