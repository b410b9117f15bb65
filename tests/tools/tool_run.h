// Runs shogi-tool from build/bin and captures what it prints, for the command tests.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace shogi::test {

// The folder of the test data.
inline const std::string kData = SHOGI_TEST_DATA;

struct ToolResult {
  int status = -1;
  std::string out;
  std::string err;
};

// `args` is appended to the command line as it stands (quote arguments yourself).
inline ToolResult RunTool(const std::string& args) {
  static int counter = 0;
  std::string err_path =
      "/tmp/shogi_tool_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".err";
  std::string command = std::string(SHOGI_BIN_DIR) + "/shogi-tool " + args + " 2>" + err_path;
  ToolResult result;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::ifstream err(err_path);
  std::stringstream ss;
  ss << err.rdbuf();
  result.err = ss.str();
  std::remove(err_path.c_str());
  return result;
}

// A refused command line: exit `status`, nothing on standard output, and `err` on standard
// error (not compared when empty).
inline void ExpectRefusal(const ToolResult& r, const std::string& args, int status,
                          const std::string& err) {
  EXPECT_EQ(r.status, status) << args;
  EXPECT_EQ(r.out, "") << args;
  if (!err.empty()) {
    EXPECT_EQ(r.err, err) << args;
  }
}

}  // namespace shogi::test
