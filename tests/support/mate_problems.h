// The mate problem files of tests/data/mate, read for the tests and the benchmarks: one
// problem a line, "LENGTH SFEN # note" (LENGTH 0: no mate), '#' starting a comment line.
#pragma once

#include <string>
#include <vector>

namespace shogi::test_support {

struct MateProblem {
  int length = 0;  // plies of the mate, 0 for none
  std::string sfen;
  std::string note;
  int line = 0;
};

// The problems of tests/data/mate/`name`; false with `message` naming the file or line that
// could not be read.
bool ReadMateProblems(const std::string& name, std::vector<MateProblem>& problems,
                      std::string& message);

}  // namespace shogi::test_support
