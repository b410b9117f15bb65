// Downloads from a server of the test on 127.0.0.1: a file, a missing path, a refused
// connection, a server that answers slowly or never, a file over the size limit, other
// schemes, a cancelled download.
#include "platform/http_client.h"

#include <gtest/gtest.h>

#include "tests/support/test_http_server.h"

namespace shogi {
namespace {

using test::TestHttpServer;

TEST(HttpClient, FetchesAFileAndRefusesWhatIsNotOne) {
  const std::string record = "# record\r\n   1 ７六歩(77)\r\n";
  TestHttpServer server({{"/game.kif", record},
                         {"/big", std::string(2000, 'x')},
                         {"/unsized/big", std::string(2000, 'x')}});
  std::string body, error;
  ASSERT_EQ(FetchUrl(server.Url("/game.kif"), body, error), DownloadState::kDone) << error;
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
    EXPECT_NE(FetchUrl(c.url, body, error, c.limits), DownloadState::kDone) << c.url;
    EXPECT_TRUE(body.empty()) << c.url;
    EXPECT_FALSE(error.empty()) << c.url;
  }
}

// A download polled to its end, against a server that answers slowly or never, or sends too
// much.
TEST(HttpClient, ADownloadPolledToItsEnd) {
  const std::string record(200, 'k');
  TestHttpServer quick({{"/r", record}}), slow({{"/r", record}}, TestHttpServer::Answer::kSlowly),
      silent({}, TestHttpServer::Answer::kNever);
  HttpLimits short_wait, small;
  short_wait.TotalTimeoutMs = 300;
  small.MaxBytes = 100;
  const struct {
    std::string url;
    HttpLimits limits;
    DownloadState end;
    bool seen_in_part;  // a poll saw some of the bytes and the announced length
  } cases[] = {
      {slow.Url("/r"), {}, DownloadState::kDone, true},
      {slow.Url("/r"), short_wait, DownloadState::kTimedOut, true},
      {silent.Url("/r"), short_wait, DownloadState::kTimedOut, false},
      {quick.Url("/r"), small, DownloadState::kTooLarge, false},
  };
  for (const auto& c : cases) {
    HttpDownload download;
    ASSERT_TRUE(download.Start(c.url, c.limits)) << c.url;
    bool in_part = false;
    while (download.Poll(20) == DownloadState::kRunning) {
      in_part = in_part || (download.Received() > 0 && download.Received() < record.size() &&
                            download.Expected() == static_cast<long long>(record.size()));
    }
    EXPECT_EQ(download.State(), c.end) << c.url << " " << download.Error();
    EXPECT_EQ(download.Body(), c.end == DownloadState::kDone ? record : "") << c.url;
    EXPECT_TRUE(in_part || !c.seen_in_part) << c.url;
  }

  // Cancelled, it ends at once and stays ended.
  HttpDownload download;
  ASSERT_TRUE(download.Start(silent.Url("/r")));
  EXPECT_EQ(download.Poll(20), DownloadState::kRunning);
  download.Cancel();
  EXPECT_EQ(download.State(), DownloadState::kCancelled);
  EXPECT_EQ(download.Poll(1000), DownloadState::kCancelled);
}

TEST(HttpClient, TakesHttpAndHttpsUrlsOnly) {
  for (const char* url : {"http://a/b", "HTTPS://a/b", "https://x"}) EXPECT_TRUE(IsHttpUrl(url));
  for (const char* url : {"ftp://a", "http:/a", "C:\\game.kif", ""}) EXPECT_FALSE(IsHttpUrl(url));
}

}  // namespace
}  // namespace shogi
