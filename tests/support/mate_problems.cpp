// Reading the mate problem files.
#include "tests/support/mate_problems.h"

#include <fstream>
#include <sstream>

namespace shogi::test_support {

bool ReadMateProblems(const std::string& name, std::vector<MateProblem>& problems,
                      std::string& message) {
  std::ifstream in(std::string(SHOGI_TEST_DATA) + "/mate/" + name);
  if (!in.good()) {
    message = "tests/data/mate/" + name + " is missing";
    return false;
  }
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (text.empty() || text[0] == '#') continue;
    MateProblem p;
    p.line = line;
    if (const std::size_t hash = text.find('#'); hash != std::string::npos) {
      p.note = text.substr(hash + 1);
      text.resize(hash);
    }
    std::istringstream fields(text);
    if (!(fields >> p.length) || p.length < 0) {
      message = name + " line " + std::to_string(line) + ": no length";
      return false;
    }
    std::getline(fields, p.sfen);
    p.sfen.erase(0, p.sfen.find_first_not_of(' '));
    p.sfen.erase(p.sfen.find_last_not_of(' ') + 1);
    problems.push_back(p);
  }
  return true;
}

}  // namespace shogi::test_support
