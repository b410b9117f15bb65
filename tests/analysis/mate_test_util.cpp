// Helpers of the mate solver tests.
#include "tests/analysis/mate_test_util.h"

namespace shogi::test {

std::vector<MateProblem> LoadMateProblems(const std::string& name) {
  std::vector<MateProblem> problems;
  std::string message;
  EXPECT_EQ(test::ReadMateProblems(name, problems, message), 0) << message;
  return problems;
}

Position RandomPosition(std::mt19937& rng) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  Position pos{};
  // Whether `code` may stand on s: no piece that could never move, no second pawn in a file.
  auto can_stand = [&](int code, Square s) {
    const int rank = RankOf(s);
    if ((code == kPawn || code == kLance) && rank == 1) return false;
    if (code == kKnight && rank <= 2) return false;
    if ((code == -kPawn || code == -kLance) && rank == 9) return false;
    if (code == -kKnight && rank >= 8) return false;
    if (code == kPawn || code == -kPawn) {
      for (int r = 1; r <= 9; ++r) {
        if (pos.Board[SquareOf(FileOf(s), r)] == code) return false;
      }
    }
    return true;
  };
  auto place = [&](int code) -> Square {
    for (int tries = 0; tries < 30; ++tries) {
      const Square s = 1 + pick(81);
      if (pos.Board[s] != 0 || !can_stand(code, s)) continue;
      pos.Board[s] = static_cast<std::int8_t>(code);
      return s;
    }
    return 0;
  };
  pos.King[kSecond] = static_cast<std::int8_t>(place(-kKing));
  pos.King[kFirst] = kNoKing;
  if (pick(3) == 0) pos.King[kFirst] = static_cast<std::int8_t>(place(kKing));
  int left[8] = {0, 18, 4, 4, 4, 4, 2, 2};
  for (int i = 0, n = pick(24); i < n; ++i) {
    const int type = 1 + pick(7);
    if (left[type] == 0) continue;
    const bool promoted = type != kGold && pick(4) == 0;
    const int code = (promoted ? PromotedType(type) : type) * (pick(2) ? 1 : -1);
    if (place(code)) --left[type];
  }
  for (int type = 1; type <= 7; ++type) {
    while (left[type] > 0 && pick(3) == 0) {
      ++pos.Hand[pick(2)][type];
      --left[type];
    }
  }
  return pos;
}

}  // namespace shogi::test
