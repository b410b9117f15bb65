// The computer player: the plan list's operations, the fixed opening and castling moves,
// the formations the strategy scripts build, the square-bonus map, the exchange count and
// preliminary scores, the book's rules, the mate steps per level, legality of every answer,
// the stop request, the clock and the avoidance of repetitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "analysis/deep_score.h"
#include "analysis/mate_solver.h"
#include "analysis/player_plans.h"
#include "analysis/player_tactics.h"
#include "analysis/player_think.h"
#include "analysis/strategy_scripts.h"
#include "tests/analysis/mate_test_util.h"
#include "tests/support/game_builder.h"

namespace shogi::player {
namespace {

using test::FromSfen;
using test::Game;
using test::UsiMove;

std::string Usi(int origin, int destination, int promote) {
  return FormatUsiMove(EncodeMove(origin, destination, promote));
}

// The list's moves as USI texts, in order.
std::vector<std::string> Texts(const PlanList& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.count; ++i) v.push_back(Usi(l.origin[i], l.destination[i], l.promote[i]));
  return v;
}

PlanList ListOf(const std::vector<std::string>& moves) {
  PlanList l;
  for (const std::string& u : moves) {
    const MoveCode m = UsiMove(u);
    l.origin[l.count] = OriginOf(m);
    l.destination[l.count] = DestinationOf(m);
    l.promote[l.count] = IsPromotion(m) ? 1 : 0;
    ++l.count;
  }
  return l;
}

TEST(PlanListTest, OperationsActOnlyOnAPresentPair) {
  enum Op { kFront, kSecond, kPromote, kBack };
  struct Row {
    Op op;
    std::string move;  // the pair (the promotion flag is not part of it)
    bool done;
    std::vector<std::string> after;
  };
  const std::vector<std::string> start = {"7g7f", "2d2c+", "2d2c", "5i4h"};
  const Row rows[] = {
      {kFront,
       "2d2c",
       true,
       {"2d2c", "7g7f", "2d2c", "5i4h"}},  // the first entry of the pair, flag cleared
      {kFront, "7g7f", true, {"7g7f", "2d2c+", "2d2c", "5i4h"}},
      {kFront, "1a1b", false, start},
      {kSecond, "5i4h", true, {"7g7f", "5i4h", "2d2c", "2d2c+"}},
      {kPromote, "7g7f", false, start},  // searched from the second entry on
      {kPromote, "5i4h", true, {"5i4h", "2d2c+", "2d2c", "7g7f"}},
      {kBack, "7g7f", true, {"2d2c+", "2d2c", "5i4h", "7g7f"}},
      {kBack,
       "2d2c",
       true,
       {"7g7f", "2d2c", "5i4h", "2d2c"}},  // the promoting entry moves, unpromoted
  };
  for (const Row& r : rows) {
    PlanList l = ListOf(start);
    const MoveCode m = UsiMove(r.move);
    bool done = false;
    switch (r.op) {
      case kFront:
        done = l.ToFront(OriginOf(m), DestinationOf(m));
        break;
      case kSecond:
        done = l.ToSecond(OriginOf(m), DestinationOf(m));
        break;
      case kPromote:
        done = l.Promote(OriginOf(m), DestinationOf(m));
        break;
      case kBack:
        done = l.ToBack(OriginOf(m), DestinationOf(m));
        break;
    }
    EXPECT_EQ(done, r.done) << r.op << " " << r.move;
    EXPECT_EQ(Texts(l), r.after) << r.op << " " << r.move;
  }
  PlanList one = ListOf({"7g7f"});
  EXPECT_FALSE(one.ToSecond(OriginOf(UsiMove("7g7f")), DestinationOf(UsiMove("7g7f"))));
}

// The fixed moves put in front when no script succeeds, by position and ply.
TEST(FixedMovesTest, OpeningAndCastlingMoves) {
  struct Row {
    const char* sfen;
    int ply;
    const char* front;  // "" : nothing placed
  };
  const Row rows[] = {
      {"startpos", 0, "7g7f"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 1", 2, "2g2f"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1", 1,
       "8c8d"},  // the second player: 8四歩 before 3四歩
      {"lnsgkgsnl/1r5b1/p1ppppppp/1p7/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1", 3, "3c3d"},
      // From ply 10: the king leaves home away from its rook; opposite a swung rook it goes to 6八.
      {"startpos", 12, ""},  // 5九→6九, but the gold stands there: nothing placed
      {"lnsgkgsnl/5rb2/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", 12, "5i6h"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B1R5/LNSGKGSNL b - 1", 12, "5i4h"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSG1GSNL b - 1", 12, ""},  // no king
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSG1GSNL b - 1", 24, ""},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1BK4R1/LNSG1GSNL b - 1", 12,
       "4i5h"},  // king on 7八
      {"lnsg1gsnl/1r1k3b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1", 13, "6b7b"},
  };
  for (const Row& r : rows) {
    const auto p = FromSfen(r.sfen);
    PlanList l;
    ListPseudoLegal(p.pos, p.side, l);
    const bool placed = TryFixedMoves(p.pos, p.side, r.ply, l);
    EXPECT_EQ(placed, std::string(r.front) != "") << r.sfen << " ply " << r.ply;
    if (placed) {
      EXPECT_EQ(Texts(l)[0], r.front) << r.sfen << " ply " << r.ply;
    }
  }
}

// Plays the scripts' plan moves for one side while the other side stands still, and returns
// the position reached: the formation a player would recognise.
Position Build(const char* sfen, int first_ply, int moves, std::vector<int>* scripts = nullptr) {
  auto p = FromSfen(sfen);
  for (int i = 0; i < moves; ++i) {
    PlanList l;
    ListPseudoLegal(p.pos, p.side, l);
    const int script = RunStrategyScripts(p.pos, p.side, first_ply + 2 * i, l);
    if (scripts) scripts->push_back(script);
    if (script == 0) break;
    ApplyMove(p.pos, EncodeMove(l.origin[0], l.destination[0], l.promote[0]), p.side);
  }
  return p.pos;
}

TEST(StrategyScriptTest, FormationsAPlayerRecognises) {
  struct Piece {
    int file, rank, code;
  };
  struct Row {
    const char* name;
    const char* sfen;  // the opponent's set-up; the side to move builds
    int first_ply, moves;
    std::vector<Piece> expected;
  };
  const Row rows[] = {
      // 矢倉 against a 居飛車 opponent (its rook pawn pushed): king 8八, silver 7七, golds 7八 6七.
      {"矢倉",
       "lnsgkgsnl/1r5b1/p1ppppppp/9/1p7/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
       2,
       16,
       {{8, 8, kKing},
        {7, 7, kSilver},
        {7, 8, kGold},
        {6, 7, kGold},
        {7, 6, kPawn},
        {6, 6, kPawn}}},
      // 舟囲い against 四間飛車: king 7八, gold 5八, the right silver up to 4六.
      {"舟囲い",
       "lnsgkgsnl/5rb2/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
       2,
       12,
       {{7, 8, kKing}, {5, 8, kGold}, {6, 9, kGold}, {4, 6, kSilver}}},
      // The second player answers 7六歩 with 四間飛車 and 美濃: rook 4二, king 8二, silver 7二.
      {"四間飛車・美濃",
       "lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1",
       1,
       12,
       {{4, 2, -kRook},
        {8, 2, -kKing},
        {7, 2, -kSilver},
        {6, 1, -kGold},
        {4, 4, -kPawn},
        {3, 4, -kPawn}}},
      // ... and goes on to 高美濃: the gold 5二 up to 6三, the pawn 6四 before it.
      {"高美濃",
       "lnsgkgsnl/1r5b1/ppppppppp/9/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL w - 1",
       1,
       14,
       {{8, 2, -kKing}, {6, 3, -kGold}, {6, 4, -kPawn}, {6, 1, -kGold}}},
  };
  for (const Row& r : rows) {
    const Position pos = Build(r.sfen, r.first_ply, r.moves);
    for (const Piece& piece : r.expected) {
      EXPECT_EQ(pos.Board[SquareOf(piece.file, piece.rank)], piece.code)
          << r.name << ": " << piece.file << piece.rank;
    }
  }
}

TEST(SquareBonusTest, KingsAndTheSquaresInFrontOfTheOpponentsKing) {
  const Position pos =
      FromSfen("lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1").pos;
  const BonusMap early = BuildSquareBonus(pos, kFirst, 39);
  for (Square s = 1; s <= 81; ++s) ASSERT_EQ(early[s], 0) << s;
  const BonusMap first = BuildSquareBonus(pos, kFirst, 40);
  // Both kings at home (class 1): the centre maps; 5三 and 5四 in front of the second king.
  EXPECT_EQ(first[SquareOf(5, 3)], 1 + 2);
  EXPECT_EQ(first[SquareOf(5, 4)], 1 + 1);  // the second king's centre map reaches rank 4
  EXPECT_EQ(first[SquareOf(5, 7)], 1);
  EXPECT_EQ(first[SquareOf(1, 5)], 0);
  const BonusMap second = BuildSquareBonus(pos, kSecond, 40);
  EXPECT_EQ(second[SquareOf(5, 7)], 1 + 2);
  EXPECT_EQ(second[SquareOf(5, 6)], 1 + 1);
  EXPECT_EQ(second[SquareOf(5, 3)], 1);
}

TEST(TacticsTest, ExchangeCountAndDropScores) {
  struct Row {
    const char* sfen;
    const char* drop;
    int exchange;     // ExchangeCount after the drop
    int preliminary;  // AssessCandidate
  };
  const Row rows[] = {
      // A gold on 5五 taken by a pawn, retaken by the rook, which the silver takes: -24 + 4 - 36.
      {"4k4/9/9/4ps3/9/9/9/4R4/4K4 b G 1", "G*5e", -24 + 4 - 36, -24 + 4 - 36 - 10},
      // Defended once against one attacker: the pawn takes the gold, the rook the pawn: -20.
      {"4k4/9/9/4p4/9/9/9/4R4/4K4 b G 1", "G*5e", -20, -20 - 10},
      // Nobody attacks 5五: no exchange, score 0.
      {"4k4/9/9/9/9/9/9/4R4/4K4 b G 1", "G*5e", 0, 0},
      // A rook dropped where only the opponent reaches: -100.
      {"4k4/9/9/4p4/9/9/9/9/4K4 b R 1", "R*5e", -36, -100},
      // A rook dropped onto a defended square: its outcome minus 4.
      {"4k4/9/9/4p4/9/9/9/4L4/4K4 b R 1", "R*5e", -32, -32 - 4},
      // The defender's king takes last: the count stops there, ahead for the dropper.
      {"9/9/4k4/9/9/9/9/9/4K4 b PG 1", "P*5d", -4, -4 - 10},
      {"9/9/3k5/4s4/9/9/4R4/9/4K4 b P 1", "P*5e", -4 + 20, 1},
  };
  for (const Row& r : rows) {
    const auto p = FromSfen(r.sfen);
    const MoveCode m = UsiMove(r.drop);
    Position after = p.pos;
    ApplyMove(after, m, p.side);
    EXPECT_EQ(ExchangeCount(after, DestinationOf(m), p.side), r.exchange) << r.sfen;
    EXPECT_EQ(AssessCandidate(p.pos, p.side, m).preliminary, r.preliminary) << r.sfen;
  }
}

TEST(TacticsTest, MovesOntoAttackedSquaresAndHangingPieces) {
  struct Row {
    const char* sfen;
    const char* move;
    int preliminary, gain, loss;
  };
  const Row rows[] = {
      // The silver takes a rook the gold defends: +36, and +20 as it was hanging on 5五 itself;
      // lost back on 5四: no penalty.
      {"4k4/9/3g5/4r4/4S4/9/9/9/4K4 b - 1", "5e5d", 0, 36 + 20, 20},
      // The silver walks into a pawn's capture, undefended: -40.
      {"4k4/9/4p4/9/4S4/9/9/9/4K4 b - 1", "5e5d", -40, 0, 20},
      // The same, defended by the rook behind: half of it.
      {"4k4/9/4p4/9/4S4/9/9/4R4/4K4 b - 1", "5e5d", -20, 0, 20 - 4},
      // A bishop steps away from a pawn's attack: what it saves counts as gain.
      {"4k4/9/9/4p4/4B4/9/9/9/4K4 b - 1", "5e9a", 0, 32, 0},
      // A gold that guarded the attacked silver walks off: the silver now loses 20 instead of
      // 16 (silver for pawn).
      {"4k4/9/9/4p4/4S4/3G5/9/9/4K4 b - 1", "6f7f", 0, -4, 0},
  };
  for (const Row& r : rows) {
    const auto p = FromSfen(r.sfen);
    const MoveCode m = UsiMove(r.move);
    const CandidateTactics t = AssessCandidate(p.pos, p.side, m);
    const bool capture = p.pos.Board[DestinationOf(m)] != 0;
    EXPECT_EQ(t.preliminary, r.preliminary) << r.sfen;
    // The gain beyond the positional value of a quiet move.
    EXPECT_EQ(t.gain - (capture ? 0 : PositionalGain(p.pos, p.side, m)), r.gain) << r.sfen;
    EXPECT_EQ(t.loss, r.loss) << r.sfen;
  }
}

// A book of fixed records that counts how often it is read.
class FakeBook : public OpeningBook {
 public:
  std::vector<BookRecord> records;
  int count_calls = 0, reads = 0;
  std::function<void()> on_read;

  int RecordCount() override {
    ++count_calls;
    return static_cast<int>(records.size());
  }
  bool ReadRecord(int index, BookRecord& r) override {
    ++reads;
    if (on_read) on_read();
    if (index < 0 || index >= static_cast<int>(records.size())) return false;
    r = records[index];
    return true;
  }
  void Add(const std::string& usi) {
    BookRecord r{};
    int i = 0;
    for (const std::string& w : test::SplitUsi(usi)) r.Slots[i++] = UsiMove(w);
    records.push_back(r);
  }
};

ThinkEnvironment QuickEnvironment(OpeningBook* book = nullptr) {
  ThinkEnvironment env;
  env.book = book;
  env.budget_cap = 0.05;
  env.random = [] { return 0; };
  return env;
}

TEST(ThinkerBookTest, LevelOneNeverReadsTheBookAndTheOthersFollowIt) {
  FakeBook book;
  book.Add("7g7f 3c3d 2g2f 8c8d");
  Game game;
  ASSERT_TRUE(game.Play("7g7f 3c3d"));
  for (int level = 1; level <= 9; ++level) {
    book.count_calls = book.reads = 0;
    Thinker thinker;
    const ThinkOutcome out = thinker.Think(level, game.record, game.pos, QuickEnvironment(&book));
    if (level == 1) {
      EXPECT_EQ(book.count_calls + book.reads, 0);
      EXPECT_FALSE(out.book_consulted);
      EXPECT_NE(out.source, MoveSource::kBook);
    } else {
      EXPECT_EQ(out.source, MoveSource::kBook) << level;
      EXPECT_EQ(FormatUsiMove(out.move), "2g2f") << level;
    }
  }
}

TEST(ThinkerBookTest, AMissDisablesTheBookUntilPlyTen) {
  FakeBook book;
  book.Add("2g2f 8c8d");
  Thinker thinker;
  Game game;
  // Ply 0: a hit.
  EXPECT_EQ(thinker.Think(2, game.record, game.pos, QuickEnvironment(&book)).source,
            MoveSource::kBook);
  // Ply 12, out of the book: a miss...
  ASSERT_TRUE(game.Play("7g7f 3c3d 6g6f 8c8d 2h6h 8d8e 8h7g 7a6b 5i4h 5a4b 4h3h 4b3b"));
  book.reads = 0;
  ThinkOutcome out = thinker.Think(2, game.record, game.pos, QuickEnvironment(&book));
  EXPECT_TRUE(out.book_consulted);
  EXPECT_GT(book.reads, 0);
  // ...after which the book is not read at ply 14.
  ASSERT_TRUE(game.Play(FormatUsiMove(out.move) + " 6a5b"));
  book.reads = 0;
  out = thinker.Think(2, game.record, game.pos, QuickEnvironment(&book));
  EXPECT_FALSE(out.book_consulted);
  EXPECT_EQ(book.reads, 0);
  // A new game reads it again; a book without records never disables it.
  thinker.NewGame();
  FakeBook empty;
  for (int i = 0; i < 2; ++i) {
    out = thinker.Think(2, game.record, game.pos, QuickEnvironment(&empty));
    EXPECT_TRUE(out.book_consulted) << i;
  }
}

TEST(ThinkerBookTest, UntrustedRecordsAreReplayedWithCare) {
  FakeBook book;
  BookRecord bad{};
  bad.Slots[0] = MoveCode{200, 250};  // out of range
  bad.Slots[1] = UsiMove("3c3d");
  book.records.push_back(bad);
  book.Add("7g7f 3c3d 5i5g");  // 5i5g: a king does not jump - not legal
  book.Add("7g7f 3c3d 2g2f");
  BookRecord handicap{};
  handicap.Slots[0] = MoveCode{0xFF, 1};  // a 香落ち record never matches an even game
  handicap.Slots[1] = UsiMove("7g7f");
  handicap.Slots[2] = UsiMove("3c3d");
  book.records.push_back(handicap);
  Game game;
  ASSERT_TRUE(game.Play("7g7f 3c3d"));
  Thinker thinker;
  const ThinkOutcome out = thinker.Think(3, game.record, game.pos, QuickEnvironment(&book));
  EXPECT_EQ(out.source, MoveSource::kBook);
  EXPECT_EQ(FormatUsiMove(out.move), "2g2f");
}

test::MateProblem ProblemOfLength(int length) {
  for (const test::MateProblem& p : test::LoadMateProblems())
    if (p.length == length) return p;
  ADD_FAILURE() << "no problem of length " << length;
  return {};
}

TEST(ThinkerMateTest, LevelThreePlaysAMateInFiveButNotASevenAtTheMateStep) {
  struct Row {
    int level, length;
    bool mate_step;
  };
  const Row rows[] = {{3, 5, true}, {3, 7, false}, {4, 7, true}, {2, 5, false}, {2, 3, true}};
  for (const Row& r : rows) {
    const test::MateProblem problem = ProblemOfLength(r.length);
    const auto p = FromSfen(problem.sfen);
    const GameRecord record = test::RecordAt(p.pos, p.side);
    MateTable table;
    table.Allocate();
    ThinkEnvironment env = QuickEnvironment();
    env.budget_cap = 0;  // the level's own budget: the mate searches finish
    env.mate_table = &table;
    Thinker thinker;
    const ThinkOutcome out = thinker.Think(r.level, record, p.pos, env);
    EXPECT_EQ(out.source == MoveSource::kMate, r.mate_step) << r.level << " " << problem.sfen;
    if (r.mate_step) {
      // The move is the first move of a mate of that length.
      MateSearchOptions o;
      EXPECT_EQ(out.move, SearchMate(p.pos, p.side, r.length, o).move) << problem.sfen;
    }
    if (r.mate_step) continue;
  }
}

// Random games: the position after a number of random legal moves from the start.
Game RandomGame(std::mt19937& rng, int plies) {
  Game game;
  for (int i = 0; i < plies; ++i) {
    const std::vector<MoveCode> legal = game.LegalMoves();
    if (legal.empty()) break;
    game.TryMove(legal[std::uniform_int_distribution<std::size_t>(0, legal.size() - 1)(rng)]);
  }
  return game;
}

TEST(ThinkerLegalityTest, EveryAnswerIsALegalMoveOrResignation) {
  std::mt19937 rng(20261207);
  MateTable table;
  table.Allocate();
  int moves = 0, drops = 0;
  for (int i = 0; i < 60; ++i) {
    Game game = RandomGame(rng, 20 + i * 3);
    if (game.LegalMoves().empty()) continue;
    ThinkEnvironment env = QuickEnvironment();
    env.mate_table = &table;
    Thinker thinker;
    const int level = 1 + i % 5;
    const ThinkOutcome out = thinker.Think(level, game.record, game.pos, env);
    if (out.result == 0) continue;
    ++moves;
    EXPECT_TRUE(game.IsLegal(out.move)) << FormatUsiMove(out.move) << " level " << level << " in "
                                        << ToSfen(game.pos, game.ToMove());
    EXPECT_EQ(out.result, OriginOf(out.move));
    if (IsDrop(out.move)) {
      ++drops;
      EXPECT_FALSE(IsPromotion(out.move));
    }
  }
  EXPECT_GT(moves, 40);
  EXPECT_GT(drops, 0);
}

// The stop request: the pump sets AbortFlag at its k-th call; the player must give up with no
// further pump call, whichever stage it is in. Each row is first thought through without a
// stop to count its pumps; the stop then comes at the first, the middle and the last one.
TEST(ThinkerStopTest, AbortFlagIsHonouredAtEveryStage) {
  FakeBook book;
  for (int i = 0; i < 4000; ++i) book.Add("2g2f 8c8d");  // never matches after 7六歩
  Game middle;
  ASSERT_TRUE(middle.Play("7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 8b4b 5i6h 5a6b 6h7h 6b7b"));
  Game opening;
  ASSERT_TRUE(opening.Play("7g7f 3c3d"));
  struct Row {
    const char* name;
    Game* game;
    int level;
    bool with_book;
  };
  const Row rows[] = {
      {"book and search", &opening, 3, true},
      {"level 9", &middle, 9, false},
      {"level 5", &middle, 5, false},
      {"level 1", &middle, 1, true},
  };
  for (const Row& r : rows) {
    auto think = [&](int stop_at, int& pumps, int& pumps_after) {
      int abort_flag = 0;
      pumps = pumps_after = 0;

      MateTable table;
      table.Allocate();
      ThinkEnvironment env = QuickEnvironment(r.with_book ? &book : nullptr);
      env.budget_cap = 0;  // the level's long budget: only the stop ends it
      env.abort_flag = &abort_flag;
      env.progress = [&](std::int64_t, std::int64_t) {
        if (abort_flag != 0) ++pumps_after;
        if (++pumps == stop_at) abort_flag = 100;
        return true;
      };
      env.mate_table = &table;
      Thinker thinker;
      return thinker.Think(r.level, r.game->record, r.game->pos, env);
    };
    int total, unused;
    ASSERT_GT(think(0, total, unused).result, 0) << r.name;
    ASSERT_GE(total, 1) << r.name;
    for (int stop_at : std::set<int>{1, std::max(1, total / 2), total}) {
      int pumps, pumps_after;
      const ThinkOutcome out = think(stop_at, pumps, pumps_after);
      EXPECT_EQ(pumps, stop_at) << r.name;
      EXPECT_EQ(pumps_after, 0) << r.name << " stopped at " << stop_at;
      EXPECT_TRUE(out.aborted) << r.name << " stopped at " << stop_at;
      EXPECT_EQ(out.result, 0) << r.name << " stopped at " << stop_at;
    }
  }
}

TEST(ThinkerClockTest, TheBudgetCountsFromTheStartOfTheMove) {
  // A clock that advances 10 ms at every reading: the stages end when their share of the
  // level's budget (capped here at 0.2 s) has passed, whatever the target.
  std::mt19937 rng(11);
  Game game = RandomGame(rng, 30);
  double now = 0;
  ThinkEnvironment env = QuickEnvironment();
  env.clock = [&] { return now += 0.01; };
  env.budget_cap = 0.2;
  Thinker thinker;
  const ThinkOutcome capped = thinker.Think(9, game.record, game.pos, env);
  EXPECT_GT(capped.result, 0);
  EXPECT_LE(now, 0.3);
  // Scaled: level 9's 240 s times 1/1200 is the same 0.2 s, the cap above it does nothing.
  env.budget_cap = 20;
  env.budget_scale = 1.0 / 1200;
  now = 0;
  EXPECT_EQ(thinker.Think(9, game.record, game.pos, env).deep_scored, capped.deep_scored);
  EXPECT_LE(now, 0.3);
  env.budget_scale = 0;
  env.budget_cap = 20;
  now = 0;
  const ThinkOutcome longer = thinker.Think(9, game.record, game.pos, env);
  EXPECT_GT(longer.deep_scored, capped.deep_scored);
}

// The deep score with a bound is the exact score when that is above the bound, and otherwise
// no more than the bound; the exact score is that of the full window.
TEST(DeepScoreTest, ABoundedScoreIsExactAboveTheBound) {
  std::mt19937 rng(17);
  int above = 0, below = 0;
  for (int i = 0; i < 6; ++i) {
    Game game = RandomGame(rng, 30 + 6 * i);
    const Side side = SideOfPly(game.record.PlyCount);
    const std::vector<MoveCode> legal = game.LegalMoves();
    for (std::size_t k = 0; k < legal.size() && k < 3; ++k) {
      Position after = game.pos;
      ApplyMove(after, legal[k], side);
      for (int depth : {1, 2, 3}) {
        SearchControl control(nullptr, {}, [] { return 0.0; });
        bool complete = false;
        const int exact = DeepScore(after, side, depth, -kInfiniteScore, control, complete);
        ASSERT_TRUE(complete);
        for (int bound : {exact - 300, exact - 1, exact, exact + 1, exact + 300}) {
          const int v = DeepScore(after, side, depth, bound, control, complete);
          const std::string where = ToSfen(game.pos, game.ToMove()) + " " +
                                    FormatUsiMove(legal[k]) + " depth " + std::to_string(depth) +
                                    " bound " + std::to_string(bound);
          if (exact > bound) {
            ++above;
            EXPECT_EQ(v, exact) << where;
          } else {
            ++below;
            EXPECT_LE(v, bound) << where;
          }
        }
      }
    }
  }
  EXPECT_GT(above, 0);
  EXPECT_GT(below, 0);
}

// Stage 6 at levels 4 to 6, recomputed here with full-window searches and the mate solver:
// a candidate's first score is its deep score at the level's depth, or the score of being
// mated when the opponent mates within the level's reply depth after it; from level 5 on, a
// second test a ply deeper counts when lower (at levels 5 and 6 only for first scores of -24
// and up). The level plays the candidate whose result is the highest among those it looked
// at; when the second test changed the first pass's choice, the new choice is better.
TEST(ThinkerDeepTest, TheSecondTestPlaysTheHighestLowerResult) {
  std::mt19937 rng(5);
  int tested = 0, changed = 0;
  for (int i = 0; i < 24; ++i) {
    Game game = RandomGame(rng, 24 + 2 * i);
    double now = 0;
    ThinkEnvironment env = QuickEnvironment();
    env.clock = [&] { return now += 0.001; };
    env.budget_cap = 20;
    const Side side = SideOfPly(game.record.PlyCount);
    for (int level : {4, 5, 6}) {
      const LevelSettings& settings = SettingsOfLevel(level);
      auto result = [&](MoveCode m) {
        Position after = game.pos;
        ApplyMove(after, m, side);
        SearchControl control(nullptr, {}, [] { return 0.0; });
        bool complete = false;
        auto score = [&](int depth) {
          const int s = DeepScore(after, side, depth, -kInfiniteScore, control, complete);
          if (settings.reply_mate_depth == 0) return s;
          MateSearchOptions o;
          o.solver = kSolver2;
          const MateAnswer a = SearchMate(after, Opponent(side), settings.reply_mate_depth, o);
          if (a.result <= 0) return s;
          return std::min(s, -kMateScore + a.result);
        };
        const int first = score(settings.deep_depth);
        if (settings.second_depth <= settings.deep_depth ||
            (!settings.second_always && first < -24 * kScoreScale))
          return first;
        return std::min(first, score(settings.second_depth));
      };
      now = 0;
      Thinker thinker;
      const ThinkOutcome out = thinker.Think(level, game.record, game.pos, env);
      if (out.source != MoveSource::kSelection || out.deep_scored < 2) continue;
      const std::string where = ToSfen(game.pos, game.ToMove()) + " level " + std::to_string(level);
      EXPECT_EQ(result(out.move) / kScoreScale, out.best_score) << where;
      if (settings.second_depth == 0) {
        EXPECT_EQ(out.second_tests, 0) << where;
        EXPECT_EQ(out.first_choice.to, 0) << where;
        continue;
      }
      if (out.second_tests == 0) continue;  // a first result below -24
      ++tested;
      EXPECT_EQ(out.second_depth, settings.second_depth) << where;
      if (out.move != out.first_choice) {
        ++changed;
        EXPECT_GT(result(out.move), result(out.first_choice)) << where;
      }
    }
  }
  EXPECT_GE(tested, 8);
  EXPECT_GE(changed, 1);
}

// From level 2 on a candidate that would lead is asked whether the opponent mates after it:
// here the move that level 1 plays lets the second player mate in 3 (a line that two plies of
// search do not reach), which the levels above see and avoid.
TEST(ThinkerDeepTest, FromLevelTwoALeadingMoveThatLetsTheOpponentMateIsRefused) {
  const Game game("ln6l/3gk1g2/p1psgsn1p/9/1BP5P/3S1pP2/P2P2N2/3+p1K2L/L2B5 b RS6Prgn2p 1");
  for (int level : {1, 2, 3, 4, 5, 6}) {
    double now = 0;
    ThinkEnvironment env = QuickEnvironment();
    env.clock = [&] { return now += 0.001; };
    env.budget_cap = 20;
    Thinker thinker;
    const ThinkOutcome out = thinker.Think(level, game.record, game.pos, env);
    ASSERT_EQ(out.source, MoveSource::kSelection) << level;
    Position after = game.pos;
    ApplyMove(after, out.move, kFirst);
    MateSearchOptions o;
    o.solver = kSolver2;
    const bool mated = SearchMate(after, kSecond, 3, o).result > 0;
    EXPECT_EQ(mated, level == 1) << level << " " << FormatUsiMove(out.move);
  }
}

// A side that is ahead does not walk back into a position it has had: the move it chose the
// first time is refused when it would repeat that position.
TEST(ThinkerRepetitionTest, AnAheadSideAvoidsRepeatingAPosition) {
  Game game("4k4/9/9/9/9/9/9/9/2GGKGG2 b - 1");
  ThinkEnvironment env = QuickEnvironment();
  Thinker thinker;
  const MoveCode first = thinker.Think(3, game.record, game.pos, env).move;
  ASSERT_FALSE(IsDrop(first));
  const MoveCode back = EncodeMove(DestinationOf(first), OriginOf(first), 0);
  // The first player's move, a king step of the second, both undone: the start again.
  ASSERT_TRUE(game.TryMove(first));
  ASSERT_TRUE(game.Play("5a4a"));
  ASSERT_TRUE(game.TryMove(back));
  ASSERT_TRUE(game.Play("4a5a"));
  const ThinkOutcome again = thinker.Think(3, game.record, game.pos, env);
  EXPECT_GT(again.result, 0);
  EXPECT_NE(again.move, first) << FormatUsiMove(first);
}

}  // namespace
}  // namespace shogi::player
