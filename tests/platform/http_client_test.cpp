// Downloads from a server of the test on 127.0.0.1: a file, a missing path, a refused
// connection, a server that never answers, a file over the size limit, other schemes.
#include "platform/http_client.h"

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/test_http_server.h"

namespace shogi {
namespace {

using test_support::TestHttpServer;

TEST(HttpClient, FetchesAFileAndRefusesWhatIsNotOne) {
  const std::string record = "# record\r\n   1 ７六歩(77)\r\n";
  TestHttpServer server({{"/game.kif", record},
                         {"/big", std::string(2000, 'x')},
                         {"/unsized/big", std::string(2000, 'x')}});
  std::string body, error;
  ASSERT_TRUE(FetchUrl(server.Url("/game.kif"), body, error)) << error;
  EXPECT_EQ(body, record);

  HttpLimits small;
  small.MaxBytes = 1000;
  struct Case {
    std::string url;
    HttpLimits limits;
  };
  const Case refused[] = {
      {server.Url("/missing.kif"), {}},  // 404
      {TestHttpServer::RefusingUrl(), {}}, {server.Url("/big"), small},
      {server.Url("/unsized/big"), small},  // the limit found while reading
      {"ftp://127.0.0.1/game.kif", {}},    {"file:///etc/passwd", {}},
  };
  for (const Case& c : refused) {
    body = "old";
    EXPECT_FALSE(FetchUrl(c.url, body, error, c.limits)) << c.url;
    EXPECT_TRUE(body.empty()) << c.url;
    EXPECT_FALSE(error.empty()) << c.url;
  }
}

TEST(HttpClient, GivesUpOnAServerThatNeverAnswers) {
  TestHttpServer silent({}, true);
  HttpLimits quick;
  quick.TotalTimeoutMs = 300;
  const auto start = std::chrono::steady_clock::now();
  std::string body, error;
  EXPECT_FALSE(FetchUrl(silent.Url("/game.kif"), body, error, quick));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(HttpClient, TakesHttpAndHttpsUrlsOnly) {
  for (const char* url : {"http://a/b", "HTTPS://a/b", "https://x"}) EXPECT_TRUE(IsHttpUrl(url));
  for (const char* url : {"ftp://a", "http:/a", "C:\\game.kif", ""}) EXPECT_FALSE(IsHttpUrl(url));
}

}  // namespace
}  // namespace shogi
