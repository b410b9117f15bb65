// HttpDownload through libcurl's multi interface.
#include "platform/http_client.h"

#include <curl/curl.h>

#include <mutex>

namespace shogi {
namespace {

static_assert(CURL_ERROR_SIZE == 256);

CURLM* Multi(void* handle) {
  return static_cast<CURLM*>(handle);
}
CURL* Easy(void* handle) {
  return static_cast<CURL*>(handle);
}

}  // namespace

void HttpDownload::Release() {
  if (easy_ != nullptr) {
    if (multi_ != nullptr) curl_multi_remove_handle(Multi(multi_), Easy(easy_));
    curl_easy_cleanup(Easy(easy_));
  }
  if (multi_ != nullptr) curl_multi_cleanup(Multi(multi_));
  easy_ = multi_ = nullptr;
}

std::size_t HttpDownload::Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* d = static_cast<HttpDownload*>(user);
  const std::size_t n = size * count;
  if (d->body_.size() + n > d->max_bytes_) {
    d->too_large_ = true;
    return 0;  // makes curl stop with a write error
  }
  d->body_.append(data, n);
  if (d->expected_ < 0) {
    curl_off_t length = -1;
    if (curl_easy_getinfo(Easy(d->easy_), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
      d->expected_ = length;
  }
  return n;
}

bool HttpDownload::Start(const std::string& url, const HttpLimits& limits) {
  curl_error_[0] = '\0';
  if (!Restart(url)) return false;
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  multi_ = curl_multi_init();
  easy_ = curl_easy_init();
  if (multi_ == nullptr || easy_ == nullptr) {
    Release();
    error_ = "the HTTP client cannot start";
    return false;
  }
  max_bytes_ = limits.MaxBytes;
  CURL* curl = Easy(easy_);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.MaxRedirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.ConnectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.TotalTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.MaxBytes));
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curl_error_);
  if (curl_multi_add_handle(Multi(multi_), curl) != CURLM_OK) {
    Release();
    error_ = "the HTTP client cannot start";
    return false;
  }
  state_ = DownloadState::kRunning;
  return true;
}

DownloadState HttpDownload::Poll(int wait_ms) {
  if (state_ != DownloadState::kRunning) return state_;
  int running = 0;
  curl_multi_perform(Multi(multi_), &running);
  if (running > 0) {
    curl_multi_poll(Multi(multi_), nullptr, 0, wait_ms, nullptr);
    curl_multi_perform(Multi(multi_), &running);
  }
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(Multi(multi_), &left)) {
    if (message->msg == CURLMSG_DONE) Finish(message->data.result);
  }
  return state_;
}

void HttpDownload::Finish(int curl_code) {
  const auto code = static_cast<CURLcode>(curl_code);
  if (code == CURLE_OK) {
    state_ = DownloadState::kDone;
  } else if (too_large_ || code == CURLE_FILESIZE_EXCEEDED) {
    state_ = DownloadState::kTooLarge;
    error_ = "the file is larger than the limit";
  } else {
    state_ = code == CURLE_OPERATION_TIMEDOUT ? DownloadState::kTimedOut : DownloadState::kFailed;
    error_ = curl_error_[0] != '\0' ? curl_error_ : curl_easy_strerror(code);
  }
  if (state_ != DownloadState::kDone) body_.clear();
  Release();
}

}  // namespace shogi
