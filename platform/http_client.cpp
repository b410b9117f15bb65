// FetchUrl through libcurl's easy interface.
#include "platform/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace shogi {
namespace {

struct Download {
  std::string* Body;
  std::size_t MaxBytes;
  bool TooLarge = false;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* d = static_cast<Download*>(user);
  const std::size_t n = size * count;
  if (d->Body->size() + n > d->MaxBytes) {
    d->TooLarge = true;
    return 0;  // makes curl stop with a write error
  }
  d->Body->append(data, n);
  return n;
}

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

bool FetchUrl(const std::string& url, std::string& body, std::string& error,
              const HttpLimits& limits) {
  body.clear();
  if (!IsHttpUrl(url)) {
    error = "only http and https URLs can be read";
    return false;
  }
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    error = "the HTTP client cannot start";
    return false;
  }
  Download download{&body, limits.MaxBytes};
  char curl_error[CURL_ERROR_SIZE] = {};
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
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &download);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, curl_error);
  const CURLcode code = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  if (code == CURLE_OK) return true;
  body.clear();
  if (download.TooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    error = "the file is larger than the limit";
  } else {
    error = curl_error[0] != '\0' ? curl_error : curl_easy_strerror(code);
  }
  return false;
}

}  // namespace shogi
