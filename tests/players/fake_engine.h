// The command line of the scripted USI engine (fake_usi_engine) in one of its modes, with a
// file it logs what it receives to when `log` is given.
#pragma once

#include <string>

namespace shogi::test {

inline std::string FakeEngine(const std::string& mode, const std::string& log = "") {
  return std::string(SHOGI_FAKE_USI_ENGINE) + " " + mode + (log.empty() ? "" : " " + log);
}

}  // namespace shogi::test
