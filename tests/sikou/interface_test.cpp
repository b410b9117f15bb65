// The library's exports: what is exported, the answer encoding, determinism and the refusal
// of move lists that cannot be replayed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "library_loading.h"
#include "sikou_test_util.h"

extern "C" int sikou_c_first_move(const char* path, int32_t* from, int32_t* to, int32_t* promote);

namespace sikou_test {
namespace {

constexpr const char* kLibraryPath = SIKOU_TEST_LIBRARY_PATH;

class InterfaceTest : public LibraryTest {};

// The DLL's export table is read by the build's own test of it (objdump on the host).
#ifndef _WIN32
TEST_F(InterfaceTest, ExportsExactlyTheThreeFunctions) {
  if (std::system("command -v nm > /dev/null 2>&1") != 0) GTEST_SKIP() << "nm is not installed";
  const std::string command = std::string("nm -D --defined-only ") + kLibraryPath;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    char address[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", address, type, name) != 3) continue;
    exported.insert(name);
  }
  ASSERT_EQ(pclose(pipe), 0);
  EXPECT_EQ(exported, (std::set<std::string>{"sikou", "sikou_end", "sikou_ini"}));
}
#endif

TEST_F(InterfaceTest, CCallerThroughTheHeader) {
  int32_t from = kUntouched, to = kUntouched, promote = kUntouched;
  const int result = sikou_c_first_move(kLibraryPath, &from, &to, &promote);
  EXPECT_EQ(result, 30);  // all 30 opening moves are equally good and all are kept
  EXPECT_TRUE(Game().IsLegal(from, to, promote)) << UsiMove(from, to, promote);
}

TEST_F(InterfaceTest, IniKeepsThePointerAndNeverTouchesIt) {
  int32_t abort_flag = 100;
  EXPECT_EQ(lib().Ini(&abort_flag), &abort_flag);
  const Answer a = lib().Think(Played("7g7f").moves());
  lib().End();
  EXPECT_GT(a.result, 0);
  EXPECT_EQ(abort_flag, 100);  // a stop request does not interrupt or change anything
}

TEST_F(InterfaceTest, SameListSameAnswer) {
  const Game g = Played("7g7f 3c3d 2g2f 4c4d 2f2e 2b3c 3i4h 3a2b");
  const Answer first = lib().Think(g.moves());
  for (int i = 0; i < 3; ++i) {
    const Answer again = lib().Think(g.moves());
    EXPECT_EQ(again.result, first.result);
    EXPECT_EQ(UsiMove(again.from, again.to, again.promote),
              UsiMove(first.from, first.to, first.promote));
  }
  EXPECT_TRUE(g.IsLegal(first.from, first.to, first.promote));
}

// Move lists from a game of rook shuffles that never ends: 2h3h 8b7b 3h2h 7b8b ...
std::vector<std::uint8_t> ShuffleGame(int plies) {
  Game cycle;
  EXPECT_TRUE(cycle.Play("2h3h 8b7b 3h2h 7b8b"));
  EXPECT_EQ(cycle.pos, shogi::kInitialPosition);  // so the four moves can follow again
  const std::vector<std::uint8_t> four = cycle.moves();
  std::vector<std::uint8_t> list;
  for (int i = 0; i < plies; ++i)
    list.insert(list.end(), &four[2 * (i % 4)], &four[2 * (i % 4)] + 2);
  return list;
}

TEST_F(InterfaceTest, LongestGameIs1499Moves) {
  const std::vector<std::uint8_t> longest = ShuffleGame(1499);
  EXPECT_GT(lib().Think(longest).result, 0);
  const Answer refused = lib().Think(ShuffleGame(1500));
  EXPECT_EQ(refused.result, 0);
  EXPECT_EQ(refused.from, kUntouched);
}

struct BadList {
  const char* name;
  const char* before;  // legal moves played first
  std::vector<std::uint8_t> bad;
};

TEST_F(InterfaceTest, RefusesListsItCannotReplay) {
  const BadList kCases[] = {
      {"destination 0", "", {0, 57}},
      {"destination 82", "", {82, 57}},
      {"destination 100", "", {100, 57}},
      {"promoting destination 182", "", {182, 57}},
      {"destination 255", "", {255, 57}},
      {"origin 0", "", {48, 0}},
      {"origin 82", "", {48, 82}},
      {"origin 100", "", {48, 100}},
      {"drop of type 8", "", {41, 108}},
      {"origin 255", "", {48, 255}},
      {"origin empty", "", {40, 49}},
      {"origin holds the opponent's piece", "", {30, 21}},
      {"second player moves a first-player piece", "7g7f", {51, 60}},
      {"capture of an own piece", "", {74, 65}},
      {"origin equals destination", "", {57, 57}},
      {"drop from an empty hand", "", {41, 101}},
      {"drop onto an occupied square", "7g7f 3c3d 8h2b+ 3a2b", {5, 106}},
      {"drop with promotion", "7g7f 3c3d 8h2b+ 3a2b", {141, 106}},
      {"promotion of a gold", "", {169, 78}},
      {"promotion of the king", "", {168, 77}},
      {"promotion of a promoted piece", "7g7f 3c3d 8h2b+ 4a3b", {112, 11}},
      {"promotion of a second-player gold", "7g7f", {113, 4}},
  };
  for (const BadList& c : kCases) {
    Game g;
    ASSERT_TRUE(g.Play(c.before)) << c.name;
    std::vector<std::uint8_t> list = g.moves();
    list.insert(list.end(), c.bad.begin(), c.bad.end());
    // Legal moves after the bad one must not bring it back to life.
    list.insert(list.end(), {46, 55});
    for (int count : {g.ply() + 1, g.ply() + 2}) {
      if (count > static_cast<int>(list.size() / 2)) continue;
      const Answer a = lib().Call(count, list.data());
      EXPECT_EQ(a.result, 0) << c.name;
      EXPECT_EQ(a.from, kUntouched) << c.name;
      EXPECT_EQ(a.to, kUntouched) << c.name;
      EXPECT_EQ(a.promote, kUntouched) << c.name;
    }
  }
}

TEST_F(InterfaceTest, RefusesBadArguments) {
  const std::vector<std::uint8_t> list = Played("7g7f").moves();
  EXPECT_EQ(lib().Call(-1, list.data()).result, 0);
  EXPECT_EQ(lib().Call(1, nullptr).result, 0);
  EXPECT_GT(lib().Call(0, nullptr).result, 0);  // no moves need no list
  // Without all three places for the answer there is no answer, and nothing is written.
  int32_t from = kUntouched, to = kUntouched, promote = kUntouched;
  EXPECT_EQ(lib().CallRaw(1, list.data(), nullptr, &to, &promote), 0);
  EXPECT_EQ(lib().CallRaw(1, list.data(), &from, nullptr, &promote), 0);
  EXPECT_EQ(lib().CallRaw(1, list.data(), &from, &to, nullptr), 0);
  EXPECT_EQ(from, kUntouched);
  EXPECT_EQ(to, kUntouched);
  EXPECT_EQ(promote, kUntouched);
}

bool AnswerInRange(const Answer& a) {
  const bool from_ok = (a.from >= 1 && a.from <= 81) || (a.from >= 101 && a.from <= 107);
  return from_ok && a.to >= 1 && a.to <= 81 && (a.promote == 0 || a.promote == 1) &&
         !(a.from > 100 && a.promote);
}

TEST_F(InterfaceTest, RandomBytesAreRefusedOrAnswered) {
  Random rng{0x9E3779B97F4A7C15ull};
  for (int trial = 0; trial < 3000; ++trial) {
    std::vector<std::uint8_t> list(2 * (1 + rng.Below(40)));
    for (std::uint8_t& b : list) b = static_cast<std::uint8_t>(rng.Next());
    const Answer a = lib().Think(list);
    if (a.result == 0) {
      EXPECT_EQ(a.from, kUntouched);
    } else {
      EXPECT_TRUE(AnswerInRange(a)) << UsiMove(a.from, a.to, a.promote);
    }
  }
}

// Lists that keep the record sound but ignore how pieces move: pieces jump anywhere, pawns
// reach the last rank unpromoted, kings get taken. The library answers whatever position
// results without reading or writing outside its records (the sanitizer build checks that).
TEST_F(InterfaceTest, WildButSoundListsAreAnswered) {
  Random rng{12345};
  int answered = 0;
  for (int trial = 0; trial < 300; ++trial) {
    Game start;
    std::int8_t cell[100];
    for (int i = 0; i < 100; ++i) cell[i] = static_cast<std::int8_t>(start.At(i));
    std::vector<std::uint8_t> list;
    const int plies = 1 + rng.Below(120);
    for (int ply = 0; ply < plies; ++ply) {
      const int side = ply % 2;
      const int hand = side == 0 ? 82 : 90;
      auto own = [&](int code) { return side == 0 ? code > 0 : code < 0; };
      int from = 0, to = 0, promote = 0;
      for (int attempt = 0; attempt < 200 && !to; ++attempt) {
        const int f = rng.Below(8) == 0 ? 101 + rng.Below(7) : 1 + rng.Below(81);
        const int t = 1 + rng.Below(81);
        if (f > 100) {
          if (cell[hand + f - 100] <= 0 || cell[t]) continue;
        } else {
          if (!own(cell[f]) || own(cell[t]) || f == t) continue;
          const int type = cell[f] < 0 ? -cell[f] : cell[f];
          promote = type <= 7 && type != 5 && rng.Below(3) == 0;
        }
        from = f;
        to = t;
      }
      if (!to) break;
      if (from > 100) {
        --cell[hand + from - 100];
        cell[to] = static_cast<std::int8_t>(side == 0 ? from - 100 : 100 - from);
      } else {
        if (cell[to]) ++cell[hand + ((cell[to] < 0 ? -cell[to] : cell[to]) & 7)];
        cell[to] = static_cast<std::int8_t>(cell[from] + (promote ? (side == 0 ? 8 : -8) : 0));
        cell[from] = 0;
      }
      list.push_back(static_cast<std::uint8_t>(to + 100 * promote));
      list.push_back(static_cast<std::uint8_t>(from));
    }
    const Answer a = lib().Think(list);
    if (a.result > 0) {
      ++answered;
      EXPECT_TRUE(AnswerInRange(a)) << UsiMove(a.from, a.to, a.promote);
    }
  }
  EXPECT_GT(answered, 100);  // such lists are not refused, only lists that break the record
}

}  // namespace
}  // namespace sikou_test
