// What the HTTP clients of every system share: the URLs they take, the end of a download
// (its owner's cancel, its destruction) and FetchUrl on top of HttpDownload (libcurl here,
// WinHTTP on Windows).
#include "platform/http_client.h"

#include <cctype>

namespace shogi {
namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i] != '\0'; ++i) {
    if (i >= text.size() ||
        std::tolower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(prefix[i]))
      return false;
  }
  return true;
}

}  // namespace

bool IsHttpUrl(const std::string& text) {
  return StartsWithNoCase(text, "http://") || StartsWithNoCase(text, "https://");
}

bool HttpDownload::Restart(const std::string& url) {
  Release();
  body_.clear();
  error_.clear();
  expected_ = -1;
  too_large_ = false;
  state_ = DownloadState::kFailed;
  if (IsHttpUrl(url)) return true;
  error_ = "only http and https URLs can be read";
  return false;
}

HttpDownload::~HttpDownload() {
  Release();
}

void HttpDownload::Cancel() {
  if (state_ != DownloadState::kRunning) return;
  Release();
  body_.clear();
  state_ = DownloadState::kCancelled;
  error_ = "the download was cancelled";
}

DownloadState FetchUrl(const std::string& url, std::string& body, std::string& error,
                       const HttpLimits& limits) {
  body.clear();
  HttpDownload download;
  if (download.Start(url, limits)) {
    while (download.Poll(1000) == DownloadState::kRunning) {
    }
  }
  if (download.State() == DownloadState::kDone)
    body = download.Body();
  else
    error = download.Error();
  return download.State();
}

}  // namespace shogi
