// Downloading a small file over HTTP or HTTPS (a record from a URL), without any window:
// the window program and shogi-tool both fetch through it.
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

// Fetches `url` (http:// or https:// only, redirects followed up to the limit) into `body`.
// False with a short English reason in `error` when the URL has another scheme, the server
// cannot be reached, it answers with an HTTP error status (404 …), a limit is passed, or the
// transfer breaks off; `body` is then empty.
[[nodiscard]] bool FetchUrl(const std::string& url, std::string& body, std::string& error,
                            const HttpLimits& limits = {});

// Whether `text` begins with "http://" or "https://" (in any case), the only URLs FetchUrl
// takes.
[[nodiscard]] bool IsHttpUrl(const std::string& text);

}  // namespace shogi
