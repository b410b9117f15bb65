// The evaluation: the raw fv sum against a second computation that sums every feature pair
// from the file's layout, the material balance, the static evaluation's truncation and the
// positions the evaluation refuses.
#include "analysis/evaluation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "tests/support/fv_files.h"
#include "tests/support/game_builder.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

using test::FromSfen;
using test::KkpElement;
using test::PatternElement;
using test::PatternTable;
using test::PcOnSqElement;

// --- the second computation, from the file's layout ---

// The file's square numbers by counting: rank 1 first, within a rank from file 9 to file 1.
int FileSquare(Square s) {
  static const std::array<int, 82> numbers = [] {
    std::array<int, 82> n{};
    int next = 0;
    for (int rank = 1; rank <= 9; ++rank) {
      for (int file = 9; file >= 1; --file) n[file + 9 * (rank - 1)] = next++;
    }
    return n;
  }();
  return numbers[s];
}

// Feature bases as the layout lists them: {the viewer's own, the viewer's opponent's}.
int HandBase(int type, bool own) {
  static const int bases[8][2] = {{0, 0},   {0, 19},  {38, 43}, {48, 53},
                                  {58, 63}, {68, 73}, {78, 81}, {84, 87}};
  return bases[type][own ? 0 : 1];
}
// Board pieces by type: the feature bases {own, the opponent's} and the kkp offset.
struct PieceLayout {
  int own, opponent, kkp;
};
PieceLayout BoardLayout(int type) {
  static const PieceLayout pawn{81, 162, 36}, lance{225, 306, 108}, knight{360, 441, 171},
      silver{504, 585, 252}, gold{666, 747, 333}, bishop{828, 909, 414}, horse{990, 1071, 495},
      rook{1152, 1233, 576}, dragon{1314, 1395, 657};
  // Types 1..15; the promoted pawn, lance, knight and silver count as gold.
  static const PieceLayout* const by_type[16] = {nullptr, &pawn,   &lance,  &knight, &silver, &gold,
                                                 &bishop, &rook,   nullptr, &gold,   &gold,   &gold,
                                                 &gold,   nullptr, &horse,  &dragon};
  if (type < 1 || type > 15 || by_type[type] == nullptr) {
    ADD_FAILURE() << "no feature for type " << type;
    return pawn;
  }
  return *by_type[type];
}
int BoardBase(int type, bool own) {
  return own ? BoardLayout(type).own : BoardLayout(type).opponent;
}
int KkpHandOffset(int type) {
  static const int offsets[8] = {0, 0, 19, 24, 29, 34, 39, 42};
  return offsets[type];
}

// The raw fv sum with every element taken from PatternElement: each pair of items (hand
// slots and pieces, in the order they are met, an item paired with itself included) looked up
// in both views, then the kkp terms.
long ReferenceFv(const Position& p) {
  const int bk = FileSquare(p.King[kFirst]), wk = FileSquare(p.King[kSecond]);
  std::vector<int> seen_by_first, seen_by_second;
  for (int type = 1; type <= 7; ++type) {
    seen_by_first.push_back(HandBase(type, true) + p.Hand[kFirst][type]);
    seen_by_second.push_back(HandBase(type, false) + p.Hand[kFirst][type]);
    seen_by_first.push_back(HandBase(type, false) + p.Hand[kSecond][type]);
    seen_by_second.push_back(HandBase(type, true) + p.Hand[kSecond][type]);
  }
  long sum = 0;
  for (Square s = 1; s <= 81; ++s) {
    const int code = p.Board[s];
    if (code == 0 || code == 8 || code == -8) continue;
    const bool first = code > 0;
    const int type = first ? code : -code;
    const int fsq = FileSquare(s);
    seen_by_first.push_back(BoardBase(type, first) + fsq);
    seen_by_second.push_back(BoardBase(type, !first) + (80 - fsq));
    sum += first ? PatternElement(KkpElement(bk, wk, BoardLayout(type).kkp + fsq))
                 : -PatternElement(KkpElement(80 - wk, 80 - bk, BoardLayout(type).kkp + 80 - fsq));
  }
  for (std::size_t x = 0; x < seen_by_first.size(); ++x) {
    for (std::size_t y = x; y < seen_by_first.size(); ++y) {
      const int a = seen_by_first[x], b = seen_by_first[y];
      sum += PatternElement(PcOnSqElement(bk, std::max(a, b), std::min(a, b)));
      const int c = seen_by_second[x], d = seen_by_second[y];
      sum -= PatternElement(PcOnSqElement(80 - wk, std::max(c, d), std::min(c, d)));
    }
  }
  for (int type = 1; type <= 7; ++type) {
    sum += PatternElement(KkpElement(bk, wk, KkpHandOffset(type) + p.Hand[kFirst][type]));
    sum -=
        PatternElement(KkpElement(80 - wk, 80 - bk, KkpHandOffset(type) + p.Hand[kSecond][type]));
  }
  return sum;
}

void ExpectFvAsReference(const Position& pos, const std::string& what) {
  std::string message;
  ASSERT_EQ(CheckEvaluable(pos, message), 0) << what << ": " << message;
  EXPECT_EQ(FvSum(PatternTable(), pos), ReferenceFv(pos)) << what;
}

TEST(FvSumTest, EqualsEveryPairSummedFromTheLayout) {
  const char* sfens[] = {
      "startpos",
      // Every hand full, of one side and of the other.
      "4k4/9/9/9/9/9/9/9/4K4 b 2R2B4G4S4N4L18P 1",
      "4k4/9/9/9/9/9/9/9/4K4 w 2r2b4g4s4n4l18p 1",
      // Every kind on the board for both sides, promoted pieces included; kings off centre.
      "l+n1g+s2+l1/1r1k1+B1g1/p+pnspp1pp/9/2+R4b1/P1N2SP+P1/1P+SPP4/2G1K1G2/L1N3S1L b Pp 1",
      "8k/9/9/9/9/9/9/9/K8 b RBGSNLP 1",
      "K8/9/9/9/9/9/9/9/8k w rbgsnlp 1",
  };
  for (const char* sfen : sfens) ExpectFvAsReference(FromSfen(sfen).pos, sfen);
}

// Positions of random games, every tenth ply.
TEST(FvSumTest, EqualsTheReferenceAlongRandomGames) {
  std::mt19937 random(15);
  for (int game = 0; game < 40; ++game) {
    test::Game g;
    for (int ply = 0; ply < 120; ++ply) {
      const std::vector<MoveCode> moves = g.LegalMoves();
      if (moves.empty()) break;
      ASSERT_TRUE(g.TryMove(moves[random() % moves.size()]));
      if (ply % 10 == 9) ExpectFvAsReference(g.pos, "game " + std::to_string(game));
    }
  }
}

TEST(CheckEvaluableTest, RefusesWhatWouldIndexOutsideTheTables) {
  struct Case {
    const char* what;
    void (*spoil)(Position&);
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"sound", [](Position&) {}, nullptr},
      {"no first king", [](Position& p) { p.King[kFirst] = kNoKing; },
       "玉のいない局面は評価できません。"},
      {"no second king", [](Position& p) { p.King[kSecond] = 0; },
       "玉のいない局面は評価できません。"},
      {"king byte past the board", [](Position& p) { p.King[kSecond] = 82; },
       "玉のいない局面は評価できません。"},
      {"king byte on another piece", [](Position& p) { p.King[kFirst] = 78; },
       "駒配置に異常があります。"},
      {"code 13", [](Position& p) { p.Board[40] = 13; }, "駒配置に異常があります。"},
      {"code -16", [](Position& p) { p.Board[40] = -16; }, "駒配置に異常があります。"},
      {"19 pawns in hand", [](Position& p) { p.Hand[kFirst][kPawn] = 19; },
       "駒配置に異常があります。"},
      {"3 rooks in hand", [](Position& p) { p.Hand[kSecond][kRook] = 3; },
       "駒配置に異常があります。"},
      {"a negative hand", [](Position& p) { p.Hand[kSecond][kLance] = -1; },
       "駒配置に異常があります。"},
      {"18 pawns and 2 rooks in hand",
       [](Position& p) { p.Hand[kFirst][kPawn] = 18, p.Hand[kSecond][kRook] = 2; }, nullptr},
  };
  for (const Case& c : cases) {
    Position pos = kInitialPosition;
    c.spoil(pos);
    std::string message;
    EXPECT_EQ(CheckEvaluable(pos, message), c.message ? 1 : 0) << c.what;
    if (c.message) {
      EXPECT_EQ(message, c.message) << c.what;
    }
  }
}

TEST(MaterialTest, CountsBoardAndHandsWithTheGivenValues) {
  PieceValueTable no_pawn = kDefaultPieceValues;
  no_pawn[kPawn] = 0;
  struct Case {
    const char* sfen;
    const PieceValueTable& values;
    int expected;
  } cases[] = {
      {"startpos", kDefaultPieceValues, 0},
      {"4k4/9/9/9/9/9/9/9/4K4 b P 1", kDefaultPieceValues, 87},
      {"4k4/9/9/9/9/9/9/9/4K4 b 2Pr 1", kDefaultPieceValues, 2 * 87 - 642},
      // Promoted pieces at their own values: と 534, 成香 489, 成桂 510, 成銀 495, 馬 827,
      // against the second player's 龍 945 and gold 444.
      {"4k4/9/4+r4/9/9/1g7/+P+L+N+S+B4/9/4K4 b - 1", kDefaultPieceValues,
       534 + 489 + 510 + 495 + 827 - 945 - 444},
      {"4k4/9/9/9/9/9/9/9/4K4 b SNLB 1", kDefaultPieceValues, 369 + 257 + 232 + 569},
      // A pawn worth 0 leaves the pawns out at once.
      {"4k4/9/9/9/9/9/9/9/4K4 b 3P 1", no_pawn, 0},
      {"4k4/9/9/9/9/9/9/4P4/4K4 b 3G 1", no_pawn, 3 * 444},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MaterialBalance(FromSfen(c.sfen).pos, c.values), c.expected) << c.sfen;
  }
}

// A raw fv of -33 adds -1 (towards zero, not -2), and 32 x material + fv shows it whole.
TEST(StaticEvaluationTest, TruncatesTheFvTowardsZero) {
  const test::TempFolder folder;
  const std::string path = folder.Path() + "fv.bin";
  // Kings on 5九 (file square 76) and 1一 (8): kkp[76][8] of the first player's pawn count.
  struct Case {
    const char* sfen;
    int pawn_entry;  // the first player's pawns in hand
    int material, static_score, fine;
  } cases[] = {
      {"8k/9/9/9/9/9/9/9/4K4 b - 1", 0, 0, -1, -33},
      {"8k/9/9/9/9/9/9/9/4K4 b P 1", 1, 87, 86, 32 * 87 - 33},
  };
  for (const Case& c : cases) {
    test::WriteFvFile(path, {{KkpElement(76, 8, c.pawn_entry), -33}});
    FvTable table;
    std::string message;
    ASSERT_EQ(table.Load(path, message), 0) << message;
    const Evaluation e = Evaluate(table, kDefaultPieceValues, FromSfen(c.sfen).pos);
    EXPECT_EQ(e.Fv, -33) << c.sfen;
    EXPECT_EQ(e.Material, c.material) << c.sfen;
    EXPECT_EQ(e.Static(), c.static_score) << c.sfen;
    EXPECT_EQ(e.Fine(), c.fine) << c.sfen;
  }
}

}  // namespace
}  // namespace shogi
