// Helpers of the mate solver tests.
#include "tests/analysis/mate_test_util.h"

#include <fstream>
#include <sstream>

namespace shogi::testing {

std::vector<MateProblem> LoadMateProblems() {
  // Lines: LENGTH SFEN [# note]; '#' starts a comment line.
  std::vector<MateProblem> problems;
  std::ifstream in(SHOGI_TEST_DATA "/mate/problems.txt");
  EXPECT_TRUE(in.good()) << "tests/data/mate/problems.txt is missing";
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (text.empty() || text[0] == '#') continue;
    MateProblem p;
    p.line = line;
    std::size_t hash = text.find('#');
    if (hash != std::string::npos) {
      p.note = text.substr(hash + 1);
      text.resize(hash);
    }
    std::istringstream fields(text);
    fields >> p.length;
    std::getline(fields, p.sfen);
    p.sfen.erase(0, p.sfen.find_first_not_of(' '));
    p.sfen.erase(p.sfen.find_last_not_of(' ') + 1);
    EXPECT_GT(p.length, 0) << "line " << line;
    problems.push_back(p);
  }
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

}  // namespace shogi::testing
