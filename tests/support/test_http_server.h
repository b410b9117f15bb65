// A small HTTP server on 127.0.0.1 for the tests that download: it answers GET requests for
// the paths it was given with their bytes and every other path with 404, at once or a few
// bytes at a time, or it takes connections and never answers. Paths beginning "/unsized" are
// sent without a Content-Length.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <thread>

namespace shogi::test {

class TestHttpServer {
 public:
  enum class Answer {
    kAtOnce,
    kSlowly,  // the headers at once, then the body 16 bytes every 50 ms
    kNever,   // the connection is taken and left waiting
  };
  // Serves `files` (path such as "/game.kif" → bytes) on a free port.
  explicit TestHttpServer(std::map<std::string, std::string> files,
                          Answer answer = Answer::kAtOnce);
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  // "http://127.0.0.1:<port>" + `path`.
  std::string Url(const std::string& path) const;

  // A URL on 127.0.0.1 where nothing listens: a connection is refused.
  static std::string RefusingUrl();

 private:
  void Serve();

  std::map<std::string, std::string> files_;
  Answer answer_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace shogi::test
