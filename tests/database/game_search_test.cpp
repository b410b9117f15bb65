// The search: the position modes against a plain replay of random games, the record
// conditions over a synthetic database, the search list file and the pumping of messages.
#include "database/game_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "database/game_database.h"
#include "database/search_list.h"
#include "fixtures/synthetic_database.h"
#include "platform/cp932.h"
#include "tests/database/database_test_util.h"

namespace shogi {
namespace {

using test::FileBytes;
using test::PutFileBytes;
using test::SyntheticFieldsOf;

const DatabaseFormat* const kFormats[] = {&kKisenFormat, &kTarvelFormat};

// The games SearchGames keeps, in the order it hands them on.
std::vector<int> Found(const DatabaseFormat& format, const DatabasePaths& paths,
                       const PositionPattern& pattern) {
  std::vector<int> found;
  std::string message;
  const auto keep = [&found](int n) { return found.push_back(n), true; };
  EXPECT_EQ(SearchGames(format, paths, SearchTerms{}, pattern, keep, {}, message), 0) << message;
  return found;
}

// Whether every piece of `target` stands on `pos` (turned: the opponent's piece on the
// square turned round).
bool Similar(const Position& pos, const Position& target, bool turned) {
  for (Square s = 1; s <= kSquareCount; ++s) {
    const int p = target.Board[s];
    if (p != 0 && (turned ? pos.Board[kSquareCount + 1 - s] != -p : pos.Board[s] != p))
      return false;
  }
  return true;
}

// The first ply before whose move `game` stands on `target` as `mode` compares boards,
// replaying it with the rules' ApplyMove and comparing whole boards; -1 when none does.
int ReferencePly(const GameRecord& game, PositionMode mode, const Position& target) {
  Position pos = game.InitialPosition;
  for (int ply = game.StartIndex; ply < kBlockSlots && !IsEndMarker(game.MoveList[ply]); ++ply) {
    const bool same = std::equal(pos.Board + 1, pos.Board + kSquareCount + 1, target.Board + 1);
    const bool similar = Similar(pos, target, false);
    const bool reversed = Similar(pos, target, true);
    if ((mode == PositionMode::kSame && same) || (mode == PositionMode::kSimilar && similar) ||
        (mode == PositionMode::kSimilarOrReversed && (similar || reversed)))
      return ply;
    ApplyMove(pos, game.MoveList[ply], SideOfPly(ply));
  }
  return -1;
}

// Searched boards taken from the games: whole positions, a few of their pieces as they
// stand, and a few turned round; an empty board and one piece alone among them.
std::vector<std::pair<PositionMode, Position>> PatternsOf(const std::vector<GameRecord>& games) {
  std::mt19937 rng(7);
  std::vector<std::pair<PositionMode, Position>> patterns;
  patterns.push_back({PositionMode::kSimilar, Position{}});
  for (int i = 0; patterns.size() < 16; ++i) {
    const GameRecord& game = games[rng() % games.size()];
    const int moves = std::min(RecordMoveCount(game), kBlockSlots - game.StartIndex);
    if (moves == 0) continue;
    const int ply = game.StartIndex + static_cast<int>(rng() % static_cast<unsigned>(moves));
    const Position at = PositionAt(game, ply);
    const auto mode = static_cast<PositionMode>(1 + i % 3);
    if (mode == PositionMode::kSame) {
      patterns.push_back({mode, at});
      continue;
    }
    Position part{};
    const int pieces = i % 2 == 0 ? 1 : 4;
    for (int placed = 0; placed < pieces;) {
      const Square s = 1 + static_cast<int>(rng() % kSquareCount);
      if (at.Board[s] == 0) continue;
      // Mode 1 looks for some of them turned round.
      const bool turn = mode == PositionMode::kSimilarOrReversed && i % 4 == 1;
      part.Board[turn ? kSquareCount + 1 - s : s] =
          static_cast<std::int8_t>(turn ? -at.Board[s] : at.Board[s]);
      ++placed;
    }
    patterns.push_back({mode, part});
  }
  return patterns;
}

class GameSearchTest : public test::DatabaseFolderTest {
 protected:
  DatabasePaths Synthetic(const DatabaseFormat& format, int count,
                          const std::vector<GameRecord>& games) const {
    const DatabasePaths paths =
        PathsOf(format.Kind == DatabaseKind::kKisen ? "synthetic.idx" : "synthetic.mix");
    EXPECT_TRUE(test::WriteSyntheticDatabase(format, paths, count, games));
    return paths;
  }
};

// The quick pass over the stored blocks finds the games, and the plies, that a plain replay
// of the games finds; the loaded game (and the list) take the same plies from the read game.
// The database holds each game at least once and more games than the search reads at once.
TEST_F(GameSearchTest, PositionModesFindWhatAPlainReplayFinds) {
  for (const DatabaseFormat* format : kFormats) {
    SCOPED_TRACE(format->Caption);
    // Some games run past the 256 plies a block holds.
    const std::vector<GameRecord> games = test::RandomGames(*format, 300, 300, 6, 11);
    const int size = static_cast<int>(games.size()), count = 1100;
    const DatabasePaths paths = Synthetic(*format, count, games);
    int partial = 0;
    for (const auto& [mode, target] : PatternsOf(games)) {
      const PositionPattern pattern(mode, target);
      std::vector<int> plies;
      for (const GameRecord& game : games) plies.push_back(ReferencePly(game, mode, target));
      std::string message;
      GameDatabase db;
      ASSERT_EQ(db.Open(*format, paths, RecordFile::Mode::kRead, message), 0);
      // Numbers 1..size hold every game once.
      for (int n = 1; n <= size; ++n) {
        const int g = test::GameOfNumber(n, size);
        const GameRecord& game = games[static_cast<std::size_t>(g)];
        const int ply = plies[static_cast<std::size_t>(g)];
        std::uint8_t block[kMoveBlockBytes];
        ASSERT_TRUE(db.ReadBlock(n, block));
        const Handicap start =
            *MatchHandicap(game.InitialPosition, game.StartIndex, format->Scheme);
        ASSERT_EQ(format->FindPosition(block, start, pattern), ply) << n;
        static GameRecord read;
        ASSERT_EQ(ReadGame(*format, paths, DatabaseNames{}, n, read, message,
                           [&](const GameRecord& r) { return ShownPly(r, pattern); }),
                  n);
        ASSERT_EQ(read.PlyCount, ply >= 0 ? ply : game.StartIndex) << n;
      }
      std::vector<int> expected;
      for (int n = 1; n <= count; ++n) {
        if (plies[static_cast<std::size_t>(test::GameOfNumber(n, size))] >= 0)
          expected.push_back(n);
      }
      EXPECT_EQ(Found(*format, paths, pattern), expected);
      EXPECT_FALSE(expected.empty());
      partial += expected.size() < static_cast<std::size_t>(count) ? 1 : 0;
    }
    EXPECT_GT(partial, 10);
  }
}

// Hand-made positions on the golden games: the position after the last move is never tested;
// one piece alone finds every game where it stands before a move, mode 1 also turned round.
TEST_F(GameSearchTest, GoldenGamesAtHandMadePositions) {
  const GameRecord even = test::GoldenEvenGame();
  Position horse{};  // a first player's horse on 2二 alone
  horse.Board[SquareOf(2, 2)] = kHorse;
  struct Case {
    PositionMode mode;
    Position target;
    std::vector<int> found;
  } cases[] = {
      {PositionMode::kSame, PositionAt(even, 5), {}},
      {PositionMode::kSame, PositionAt(even, 4), {1}},
      {PositionMode::kSame, kInitialPosition, {1}},
      {PositionMode::kSimilar, horse, {1}},
      // The lance game's horse reaches 8八 with its 5th move.
      {PositionMode::kSimilarOrReversed, horse, {1, 2}},
      {PositionMode::kNone, horse, {1, 2}},
  };
  for (const DatabaseFormat* format : kFormats) {
    const DatabasePaths paths = CopyGolden(*format);
    for (const Case& c : cases) {
      EXPECT_EQ(Found(*format, paths, PositionPattern(c.mode, c.target)), c.found)
          << format->Caption << " mode " << static_cast<int>(c.mode);
    }
    // A move that cannot be played ends the game as read (B*4e made a move from the empty
    // 5五): the position before it is the game's last, and is never tested.
    std::string moves = FileBytes(paths.Moves(*format));
    moves[2 * 4 + 1] = SquareOf(5, 5);
    PutFileBytes(paths.Moves(*format), moves);
    for (const auto& [ply, expected] : {std::pair{3, std::vector<int>{1}}, {4, {}}}) {
      const PositionPattern pattern(PositionMode::kSame, PositionAt(even, ply));
      EXPECT_EQ(Found(*format, paths, pattern), expected) << format->Caption << " ply " << ply;
    }
  }
}

// The record conditions over a synthetic database whose fields follow from the game number.
TEST_F(GameSearchTest, RecordConditionsKeepTheGamesThatPassThemAll) {
  test::WriteSyntheticLists(Folder());
  const int count = 2000;
  using Fields = test::SyntheticFields;
  struct Case {
    const char *player1, *player2, *tournament, *opening, *from, *to;
    bool (*keep)(const Fields&);
  } cases[] = {
      {"棋士5", "", "", "", "", "",
       [](const Fields& f) { return f.Players[0] == 5 || f.Players[1] == 5; }},
      // The same player twice finds every game of that player.
      {"棋士5", "棋 士 5", "", "", "", "",
       [](const Fields& f) { return f.Players[0] == 5 || f.Players[1] == 5; }},
      // Two players: their games in either colour.
      {"棋士8", "棋士50", "", "", "", "",
       [](const Fields& f) {
         return (f.Players[0] == 8 && f.Players[1] == 50) ||
                (f.Players[0] == 50 && f.Players[1] == 8);
       }},
      {"", "", "棋戦　7", "", "", "", [](const Fields& f) { return f.Tournament == 7; }},
      {"", "", "", "戦型11", "", "", [](const Fields& f) { return f.Opening == 11; }},
      // Year first, then month; the day is not used.
      {"", "", "", "", "1960/11", "1961/2",
       [](const Fields& f) {
         const int m = f.Year * 12 + f.Month;
         return m >= 1960 * 12 + 11 && m <= 1961 * 12 + 2;
       }},
      {"", "", "棋戦3", "", "1953/1", "1953/12",
       [](const Fields& f) { return f.Tournament == 3 && f.Year == 1953; }},
      // A name that is not in a list is no condition.
      {"", "", "棋戦100", "戦型0", "", "", [](const Fields&) { return true; }},
  };
  const std::vector<GameRecord> games = test::RandomGames(kKisenFormat, 8, 20, 4, 3);
  for (const DatabaseFormat* format : kFormats) {
    const DatabasePaths paths = Synthetic(*format, count, games);
    for (const Case& c : cases) {
      SearchConditions conditions;
      conditions.Player1 = Cp932(c.player1);
      conditions.Player2 = Cp932(c.player2);
      conditions.Tournament = Cp932(c.tournament);
      conditions.Opening = Cp932(c.opening);
      const std::string from = c.from, to = c.to;
      conditions.StartYear = from.substr(0, from.find('/'));
      conditions.StartMonth = from.empty() ? "" : from.substr(from.find('/') + 1);
      conditions.EndYear = to.substr(0, to.find('/'));
      conditions.EndMonth = to.empty() ? "" : to.substr(to.find('/') + 1);
      SearchDates dates;
      SearchCheckFailure failure;
      ASSERT_EQ(CheckSearchDates(conditions, dates, failure), 0) << failure.Message;
      std::vector<int> expected, found;
      for (int n = 1; n <= count; ++n) {
        if (c.keep(SyntheticFieldsOf(n))) expected.push_back(n);
      }
      std::string message;
      DatabaseSelection selection;
      selection.Paths = paths;
      ListSettings settings;
      int kept = 0;
      ASSERT_EQ(
          RunSearch(*format, Folder(), conditions, dates, selection, settings, kept, {}, message),
          0);
      ASSERT_TRUE(test::ReadListed(SearchListPath(*format, Folder()), found));
      EXPECT_EQ(found, expected) << format->Caption << " " << c.player1 << c.tournament << c.from;
      EXPECT_EQ(kept, static_cast<int>(expected.size()));
      EXPECT_EQ(selection.SearchCount, static_cast<int>(expected.size()));
    }
  }
}

// The search list file holds the numbers found, four bytes each; its reader stops at the end
// or at a number below 1. SearchCount, the first column and the pumping follow the search.
TEST_F(GameSearchTest, SearchListFileCountColumnsAndPumping) {
  int pumped = 0;
  const LoopProgress counting = [&pumped](std::int64_t, std::int64_t) { return ++pumped > 0; };
  for (const DatabaseFormat* format : kFormats) {
    DatabaseSelection selection;
    selection.Paths = CopyGolden(*format);
    ListSettings settings;
    SearchConditions conditions;
    conditions.StartYear = conditions.EndYear = "1999";
    conditions.StartMonth = conditions.EndMonth = "12";
    SearchDates dates;
    SearchCheckFailure failure;
    ASSERT_EQ(CheckSearchDates(conditions, dates, failure), 0);
    struct Run {
      PositionMode mode;
      Square square;
      int piece;
      std::string list;  // the search list file's bytes
      int first_column;
    } runs[] = {
        {PositionMode::kNone, 0, 0, std::string("\x02\0\0\0", 4), kColumnTournament},
        // The lance game's horse on 7七 after its third move.
        {PositionMode::kSimilar, SquareOf(7, 7), -kHorse, std::string("\x02\0\0\0", 4),
         kColumnMove},
        // Its bishop is dropped on 5五 with the last move.
        {PositionMode::kSimilar, SquareOf(5, 5), -kBishop, "", kColumnMove},
    };
    for (const Run& run : runs) {
      conditions.Mode = run.mode;
      conditions.SearchPosition = Position{};
      conditions.SearchPosition.Board[run.square] = static_cast<std::int8_t>(run.piece);
      int found = 0;
      std::string message;
      pumped = 0;
      ASSERT_EQ(RunSearch(*format, Folder(), conditions, dates, selection, settings, found,
                          counting, message),
                0);
      EXPECT_EQ(pumped, 2);  // once per record
      EXPECT_EQ(selection.SearchCount, static_cast<int>(run.list.size() / 4));
      EXPECT_EQ(FileBytes(SearchListPath(*format, Folder())), run.list);
      EXPECT_EQ(settings.Columns[0], run.first_column);
    }
  }
  EXPECT_EQ(SearchOutcomeMessage(0), "該当データは存在しません。");
  EXPECT_EQ(SearchOutcomeMessage(12), "　　全部で12件存在します。");

  const std::string path = Folder() + "list.dat";
  PutFileBytes(path, std::string("\x05\0\0\0\x00\x01\0\0\0\0\0\0\x07\0\0\0", 16));
  std::vector<int> numbers;
  ASSERT_TRUE(test::ReadListed(path, numbers));
  EXPECT_EQ(numbers, (std::vector<int>{5, 256}));
  int count = 0;
  PutFileBytes(path, std::string("\x05\0\0\0\x06\0\0\0\x07\0\0", 11));
  ASSERT_TRUE(CountSearchList(path, 100, count));
  EXPECT_EQ(count, 2);
  ASSERT_TRUE(CountSearchList(path, 1, count));
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(CountSearchList(Folder() + "missing.dat", 100, count));
}

}  // namespace
}  // namespace shogi
