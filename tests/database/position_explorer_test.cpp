// The explorer by one pass and from the position index against a slow reference (every game
// read as a loaded game, replayed with the rules, whole positions compared), over random
// databases with handicaps, repetitions, transpositions, damaged blocks and games longer
// than the indexed moves; the index kept by registration, refused when stale, and never
// wrong when damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "database/game_database.h"
#include "database/position_index.h"
#include "fixtures/synthetic_database.h"
#include "tests/database/database_test_util.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;

constexpr int kIndexPlies = 12;

// Random games with dates (many equal) and results 0..8: some from handicaps, some longer
// than a block, some going there and back (a position twice) and some reaching one
// position by two move orders.
std::vector<GameRecord> RandomDatabaseGames(const DatabaseFormat& format, std::uint32_t seed) {
  std::vector<GameRecord> games = test::RandomGames(format, 90, 300, 4, seed);
  std::mt19937 rng(seed);
  const char* const openings[] = {"2h3h 8b7b 3h2h 7b8b", "7g7f 3c3d 2g2f", "2g2f 3c3d 7g7f"};
  for (int i = 0; i < 45; ++i) {
    test::Game game;
    game.Play(openings[i % 3]);
    for (int moves = static_cast<int>(rng() % 20); moves > 0; --moves) {
      const std::vector<MoveCode> legal = game.LegalMoves();
      if (legal.empty() || !game.TryMove(legal[rng() % legal.size()])) break;
    }
    games.push_back(game.record);
  }
  std::shuffle(games.begin(), games.end(), rng);
  for (GameRecord& game : games) {
    game.Year = 1990 + static_cast<int>(rng() % 3);
    game.Month = 1 + static_cast<int>(rng() % 2);
    game.Day = 1 + static_cast<int>(rng() % 2);
    game.ResultCode = static_cast<int>(rng() % kResultCodeCount);
  }
  return games;
}

// The reference: each game as ReadGame loads it, its positions from its start up to
// `plies` moves compared whole with the target.
ExplorerAnswer Reference(const DatabaseFormat& format, const DatabasePaths& paths,
                         const ExplorerQuery& query) {
  int count = 0;
  std::string message;
  EXPECT_EQ(DatabaseGameCount(format, paths, count, message), 0);
  ExplorerAnswer answer;
  for (int n = 1; n <= count; ++n) {
    static GameRecord game;
    EXPECT_EQ(ReadGame(format, paths, DatabaseNames{}, n, game, message), n);
    Position pos = game.InitialPosition;
    const int end = RecordEndPly(game);
    for (int ply = game.StartIndex; ply <= end && ply - game.StartIndex <= query.Plies; ++ply) {
      if (SideOfPly(ply) == query.ToMove && pos == query.Target) {
        ++answer.Games;
        answer.Newest.push_back({n, ply, game.Year, game.Month, game.Day, game.ResultCode});
        if (ply == end) break;
        const MoveCode next = game.MoveList[ply];
        auto move = std::find_if(answer.Moves.begin(), answer.Moves.end(),
                                 [next](const ExplorerMove& m) { return m.Move == next; });
        if (move == answer.Moves.end()) move = answer.Moves.insert(move, {next});
        ++move->Games;
        const int result = game.ResultCode;
        ++move->Shares[result == 1 || result == 5 ? 0 : result == 2 || result == 6 ? 1 : 2];
        break;
      }
      if (ply < end) ApplyMove(pos, game.MoveList[ply], SideOfPly(ply));
    }
  }
  std::sort(answer.Moves.begin(), answer.Moves.end(), [](const auto& a, const auto& b) {
    return std::make_tuple(-a.Games, FormatUsiMove(a.Move)) <
           std::make_tuple(-b.Games, FormatUsiMove(b.Move));
  });
  std::sort(answer.Newest.begin(), answer.Newest.end(), [](const auto& a, const auto& b) {
    return std::tie(a.Year, a.Month, a.Day, a.Number) > std::tie(b.Year, b.Month, b.Day, b.Number);
  });
  if (answer.Newest.size() > static_cast<std::size_t>(query.Games))
    answer.Newest.resize(query.Games);
  return answer;
}

// An answer as lines, for comparisons that show what differs.
std::string Text(const ExplorerAnswer& a) {
  std::string text = "games " + std::to_string(a.Games) + "\n";
  for (const ExplorerMove& m : a.Moves) {
    text += FormatUsiMove(m.Move) + " " + std::to_string(m.Games) + " " +
            std::to_string(m.Shares[0]) + " " + std::to_string(m.Shares[1]) + " " +
            std::to_string(m.Shares[2]) + "\n";
  }
  for (const ExplorerGame& g : a.Newest) {
    text += std::to_string(g.Number) + " " + std::to_string(g.Ply) + " " + std::to_string(g.Year) +
            "-" + std::to_string(g.Month) + "-" + std::to_string(g.Day) + " " +
            std::to_string(g.Result) + "\n";
  }
  return text;
}

class PositionExplorerTest : public test::DatabaseFolderTest {
 protected:
  // A random database; a few blocks get a move that cannot be played, which ends the game.
  DatabasePaths Database(const DatabaseFormat& format, std::uint32_t seed) {
    games_ = RandomDatabaseGames(format, seed);
    const bool kisen = format.Kind == DatabaseKind::kKisen;
    const DatabasePaths paths = WriteGames(format, kisen ? "random.idx" : "random.mix", games_);
    std::string moves = FileBytes(paths.Moves(format));
    for (std::size_t n = 3; n < games_.size(); n += 17) moves[512 * n + 2 * 6 + 1] = SquareOf(5, 5);
    PutFileBytes(paths.Moves(format), moves);
    return paths;
  }
  // Queries at positions of the games (the start, after the last move, after more moves
  // than the index holds), one nowhere in them, with several move limits.
  std::vector<ExplorerQuery> Queries(std::uint32_t seed) const {
    std::mt19937 rng(seed);
    std::vector<ExplorerQuery> queries;
    for (int i = 0; i < 60; ++i) {
      const GameRecord& game = games_[rng() % games_.size()];
      const int reach = i % 3 == 0 ? 16 : 5;
      const int ply =
          game.StartIndex + static_cast<int>(rng() % (1 + std::min(RecordMoveCount(game), reach)));
      ExplorerQuery q;
      q.Target = PositionAt(game, ply);
      // The other side to move, or a pawn more in hand: the same board, another position.
      q.ToMove = SideOfPly(i % 11 == 0 ? ply + 1 : ply);
      q.Target.Hand[kFirst][kPawn] += i % 13 == 0 ? 1 : 0;
      q.Plies = std::vector<int>{2, 5, 8, kIndexPlies}[i % 4];
      q.Games = i % 5;
      queries.push_back(q);
    }
    return queries;
  }
  // Every query answered as the reference answers it; from the index when `use` says so.
  void ExpectAnswers(const DatabaseFormat& format, const DatabasePaths& paths, IndexUse use) {
    for (const ExplorerQuery& q : Queries(5)) {
      ExplorerAnswer answer;
      IndexUse used = IndexUse::kUsed;
      std::string message;
      ASSERT_EQ(ExplorePosition(format, paths, q, {}, answer, used, message), 0) << message;
      EXPECT_EQ(used, use);
      EXPECT_EQ(Text(answer), Text(Reference(format, paths, q))) << ToSfen(q.Target, q.ToMove);
    }
  }

  std::vector<GameRecord> games_;
};

TEST_F(PositionExplorerTest, ScanAndIndexAnswerAsTheReference) {
  for (const DatabaseFormat* format : {&kKisenFormat, &kTarvelFormat}) {
    SCOPED_TRACE(format->Caption);
    const DatabasePaths paths = Database(*format, 17);
    ExpectAnswers(*format, paths, IndexUse::kMissing);
    IndexBuildReport report;
    std::string message;
    ASSERT_EQ(BuildPositionIndex(*format, paths, kIndexPlies, {}, report, message), 0) << message;
    EXPECT_EQ(report.Games, static_cast<int>(games_.size()));
    EXPECT_LT(report.Distinct, report.Positions);  // the openings share positions
    ExpectAnswers(*format, paths, IndexUse::kUsed);
    // More moves than the index holds: a pass answers.
    ExplorerQuery deep;
    deep.Target = kInitialPosition;
    deep.Plies = kIndexPlies + 1;
    ExplorerAnswer answer;
    EXPECT_EQ(ExploreFromIndex(*format, paths, deep, answer), IndexUse::kTooFewPlies);

    // Registration keeps the index: a new game and one over game 2, at once in the answers.
    for (int number : {0, 2}) {
      int registered = number;
      ASSERT_EQ(
          RegisterGameIndexed(*format, paths, Folder(), games_[number + 7], registered, message),
          0);
    }
    ExpectAnswers(*format, paths, IndexUse::kUsed);
    // Any other change leaves it stale.
    int over = 3;
    ASSERT_EQ(RegisterGame(*format, paths, Folder(), games_[0], over, message), 0);
    ExpectAnswers(*format, paths, IndexUse::kStale);
  }
}

// Every byte of the index checked: a damaged index is refused or gives the right answer.
TEST_F(PositionExplorerTest, DamagedIndexNeverGivesAWrongAnswer) {
  const DatabasePaths paths = Database(kKisenFormat, 23);
  IndexBuildReport report;
  std::string message;
  ASSERT_EQ(BuildPositionIndex(kKisenFormat, paths, kIndexPlies, {}, report, message), 0);
  int registered = 0;  // a log record too
  ASSERT_EQ(RegisterGameIndexed(kKisenFormat, paths, Folder(), games_[1], registered, message), 0);
  const std::string path = PositionIndexPath(kKisenFormat, paths);
  const std::string sound = FileBytes(path);
  std::mt19937 rng(3);
  int refused = 0;
  // The start position, whose games are all of them: its answer reads every game's rank
  // and flags. Damage anywhere, at the end (trailer, checksums, log) and among the games'.
  ExplorerQuery q;
  q.Target = kInitialPosition;
  q.Plies = kIndexPlies;
  q.Games = 4;
  const std::string expected = Text(Reference(kKisenFormat, paths, q));
  for (int i = 0; i < 120; ++i) {
    std::string bytes = sound;
    const std::size_t at[] = {rng() % bytes.size(), bytes.size() - 1 - rng() % 400,
                              rng() % (5 * games_.size())};
    if (i % 10 == 0) {
      bytes.resize(at[0]);
    } else {
      bytes[at[i % 3]] ^= static_cast<char>(1 << (rng() % 8));
    }
    PutFileBytes(path, bytes);
    ExplorerAnswer answer;
    IndexUse use = IndexUse::kUsed;
    ASSERT_EQ(ExplorePosition(kKisenFormat, paths, q, {}, answer, use, message), 0);
    ASSERT_EQ(Text(answer), expected) << i;
    refused += use == IndexUse::kDamaged ? 1 : 0;
  }
  EXPECT_GT(refused, 110);
}

// A stop asked for ends a pass and a build; the old index stays.
TEST_F(PositionExplorerTest, StoppedPassesEndWithTheirMessage) {
  const DatabasePaths paths = Database(kTarvelFormat, 9);
  IndexBuildReport report;
  std::string message;
  ASSERT_EQ(BuildPositionIndex(kTarvelFormat, paths, 4, {}, report, message), 0);
  const std::string index = FileBytes(PositionIndexPath(kTarvelFormat, paths));
  const LoopProgress stop = [](std::int64_t done, std::int64_t) { return done == 0; };
  ExplorerAnswer answer;
  EXPECT_EQ(BuildPositionIndex(kTarvelFormat, paths, 8, stop, report, message), 1);
  EXPECT_EQ(message, kMessageExplorerStopped);
  EXPECT_EQ(FileBytes(PositionIndexPath(kTarvelFormat, paths)), index);
  message.clear();
  const LoopProgress at_once = [](std::int64_t, std::int64_t) { return false; };
  EXPECT_EQ(ExploreByScan(kTarvelFormat, paths, ExplorerQuery{}, at_once, answer, message), 1);
  EXPECT_EQ(message, kMessageExplorerStopped);
}

}  // namespace
}  // namespace shogi
