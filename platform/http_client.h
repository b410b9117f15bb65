// Downloading a small file over HTTP or HTTPS (a record from a URL), without any window:
// a download that goes on while its owner polls it (the window keeps its message loop
// running meanwhile), and a fetch that waits for the end.
#pragma once

#include <cstddef>
#include <string>

namespace shogi {

// The limits of a download. A record is a few kilobytes: anything near the size limit is not
// one, and a server that stalls must not hold the program for long.
struct HttpLimits {
  long ConnectTimeoutMs = 10000;  // to set up the connection
  long TotalTimeoutMs = 30000;    // for the whole transfer, redirects included
  std::size_t MaxBytes = 4u << 20;
  long MaxRedirects = 5;
};

// Where a download stands.
enum class DownloadState {
  kRunning,
  kDone,
  kFailed,     // another scheme, unreachable, an HTTP error status (404 …), broken off
  kTimedOut,   // a time limit of HttpLimits passed
  kTooLarge,   // the size limit passed
  kCancelled,  // its owner ended it
};

// One download through libcurl's multi interface (WinHTTP's asynchronous mode on Windows):
// Start sets it going, each Poll lets it go on for at most the time given, Cancel ends it at
// once. No thread of ours is involved.
class HttpDownload {
 public:
  HttpDownload() = default;
  ~HttpDownload();
  HttpDownload(const HttpDownload&) = delete;
  HttpDownload& operator=(const HttpDownload&) = delete;

  // Starts fetching `url` (http:// or https:// only, redirects followed up to the limit).
  // False, with the state kFailed, when the URL has another scheme or the client cannot
  // start.
  [[nodiscard]] bool Start(const std::string& url, const HttpLimits& limits = {});
  // Moves the transfer on, waiting at most `wait_ms` for its connection; the state after.
  DownloadState Poll(int wait_ms);
  // Ends a running transfer and closes its connection; the state becomes kCancelled.
  void Cancel();

  DownloadState State() const { return state_; }
  // The bytes received so far, and the length the server announced (-1: none).
  std::size_t Received() const { return body_.size(); }
  long long Expected() const { return expected_; }
  // The whole file once the state is kDone (empty after a failure).
  const std::string& Body() const { return body_; }
  // A short English reason when the download did not succeed.
  const std::string& Error() const { return error_; }

 private:
  // What every Start does first: ends a download still running, forgets the last one and
  // checks the URL's scheme (false with the error and the state kFailed).
  bool Restart(const std::string& url);
  static std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user);
  void Finish(int curl_code);
  void Release();

  void* multi_ = nullptr;  // CURLM*
  void* easy_ = nullptr;   // CURL*
  DownloadState state_ = DownloadState::kFailed;
  std::string body_;
  std::string error_;
  long long expected_ = -1;
  std::size_t max_bytes_ = 0;
  bool too_large_ = false;
  char curl_error_[256] = {};  // CURL_ERROR_SIZE
#ifdef _WIN32
  bool Handle(unsigned long status, unsigned long info, unsigned long length);
  void* connection_ = nullptr;  // HINTERNET of the server
  void* transfer_ = nullptr;    // what WinHTTP's callback reports, shared with it
  unsigned long long deadline_ = 0;
#endif
};

// Fetches `url` as HttpDownload does, waiting for the end, into `body`: the state it ended
// in; unless kDone, a short English reason in `error` and `body` empty.
[[nodiscard]] DownloadState FetchUrl(const std::string& url, std::string& body, std::string& error,
                                     const HttpLimits& limits = {});

// Whether `text` begins with "http://" or "https://" (in any case), the only URLs a
// download takes.
[[nodiscard]] bool IsHttpUrl(const std::string& text);

}  // namespace shogi
