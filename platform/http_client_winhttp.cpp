// HttpDownload through WinHTTP's asynchronous mode. WinHTTP reports on threads of its own:
// its callback only queues what happened; Poll, on the owner's thread, takes the reports and
// asks for the next step, so nothing of ours runs on another thread.
#include "platform/http_client.h"

#include <windows.h>
#include <winhttp.h>

#include <deque>
#include <mutex>
#include <new>
#include <string>

namespace shogi {
namespace {

// One report of WinHTTP's callback.
struct Report {
  DWORD Status = 0;
  DWORD Info = 0;    // the bytes available or read, or the error of a failed call
  DWORD Length = 0;  // the length of a read
};

// Shared by the download and WinHTTP's callback; freed by the callback when the request's
// handle is closed, so that no late report finds it gone.
struct Transfer {
  std::mutex Lock;
  std::deque<Report> Reports;
  HANDLE Signal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  char Buffer[16384];
  ~Transfer() {
    if (Signal != nullptr) CloseHandle(Signal);
  }
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
  auto* transfer = reinterpret_cast<Transfer*>(context);
  if (transfer == nullptr) return;
  if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
    delete transfer;
    return;
  }
  Report report{status, 0, length};
  if (status == WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE)
    report.Info = *static_cast<DWORD*>(info);
  else if (status == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR)
    report.Info = static_cast<WINHTTP_ASYNC_RESULT*>(info)->dwError;
  {
    const std::lock_guard<std::mutex> hold(transfer->Lock);
    transfer->Reports.push_back(report);
  }
  SetEvent(transfer->Signal);
}

HINTERNET AsInternet(void* handle) {
  return static_cast<HINTERNET>(handle);
}

void Close(void*& handle) {
  if (handle != nullptr) WinHttpCloseHandle(AsInternet(handle));
  handle = nullptr;
}

std::wstring Wide(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
  return out;
}

DWORD Number(HINTERNET request, DWORD query, DWORD otherwise) {
  DWORD value = 0, size = sizeof value;
  return WinHttpQueryHeaders(request, query | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &value, &size, WINHTTP_NO_HEADER_INDEX)
             ? value
             : otherwise;
}

}  // namespace

void HttpDownload::Release() {
  Close(easy_);  // the request's handle: its closing frees the transfer
  transfer_ = nullptr;
  Close(connection_);
  Close(multi_);
}

bool HttpDownload::Start(const std::string& url, const HttpLimits& limits) {
  if (!Restart(url)) return false;
  const std::wstring wide_url = Wide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide_url.c_str(), 0, 0, &parts)) {
    error_ = "the URL cannot be read";
    return false;
  }
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                            std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  multi_ = WinHttpOpen(L"Shogi", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                       WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
  if (multi_ != nullptr) {
    const int connect = static_cast<int>(limits.ConnectTimeoutMs);
    const int total = static_cast<int>(limits.TotalTimeoutMs);
    WinHttpSetTimeouts(AsInternet(multi_), connect, connect, total, total);
    connection_ = WinHttpConnect(AsInternet(multi_), host.c_str(), parts.nPort, 0);
  }
  if (connection_ != nullptr) {
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    easy_ = WinHttpOpenRequest(AsInternet(connection_), L"GET", path.c_str(), nullptr,
                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure);
  }
  auto* transfer = easy_ != nullptr ? new (std::nothrow) Transfer : nullptr;
  if (transfer == nullptr || transfer->Signal == nullptr ||
      WinHttpSetStatusCallback(AsInternet(easy_), OnStatus, WINHTTP_CALLBACK_FLAG_ALL_NOTIFICATIONS,
                               0) == WINHTTP_INVALID_STATUS_CALLBACK) {
    delete transfer;
    Release();
    error_ = "the HTTP client cannot start";
    return false;
  }
  DWORD redirects = static_cast<DWORD>(limits.MaxRedirects);
  WinHttpSetOption(AsInternet(easy_), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects,
                   sizeof redirects);
  transfer_ = transfer;
  max_bytes_ = limits.MaxBytes;
  deadline_ = GetTickCount64() + static_cast<unsigned long long>(limits.TotalTimeoutMs);
  state_ = DownloadState::kRunning;
  if (!WinHttpSendRequest(AsInternet(easy_), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                          WINHTTP_NO_REQUEST_DATA, 0, 0, reinterpret_cast<DWORD_PTR>(transfer))) {
    // Nothing was sent: the callback never runs and the closing below frees nothing of ours.
    WinHttpSetStatusCallback(AsInternet(easy_), nullptr, 0, 0);
    Release();
    delete transfer;
    state_ = DownloadState::kFailed;
    error_ = "the HTTP client cannot start";
    return false;
  }
  return true;
}

// Takes one report and asks for the next step; false when the download ended.
bool HttpDownload::Handle(unsigned long status, unsigned long info, unsigned long length) {
  HINTERNET request = AsInternet(easy_);
  auto* transfer = static_cast<Transfer*>(transfer_);
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
      if (WinHttpReceiveResponse(request, nullptr)) return true;
      break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE: {
      const DWORD code = Number(request, WINHTTP_QUERY_STATUS_CODE, 0);
      if (code >= 400) {
        error_ = "the server answered HTTP " + std::to_string(code);
        state_ = DownloadState::kFailed;
        return false;
      }
      const DWORD none = static_cast<DWORD>(-1);
      const DWORD announced = Number(request, WINHTTP_QUERY_CONTENT_LENGTH, none);
      if (announced != none) expected_ = announced;
      if (expected_ > static_cast<long long>(max_bytes_)) break;
      if (WinHttpQueryDataAvailable(request, nullptr)) return true;
      break;
    }
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
      if (info == 0) {
        state_ = DownloadState::kDone;
        return false;
      }
      // Only what is there: a larger read waits for the buffer to fill.
      if (WinHttpReadData(request, transfer->Buffer,
                          info < sizeof transfer->Buffer ? info : sizeof transfer->Buffer, nullptr))
        return true;
      break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      if (length == 0) {
        state_ = DownloadState::kDone;
        return false;
      }
      if (body_.size() + length > max_bytes_) break;
      body_.append(transfer->Buffer, length);
      if (WinHttpQueryDataAvailable(request, nullptr)) return true;
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      state_ = info == ERROR_WINHTTP_TIMEOUT ? DownloadState::kTimedOut : DownloadState::kFailed;
      error_ = info == ERROR_WINHTTP_TIMEOUT ? "the time limit passed"
                                             : "the server cannot be reached or broke off";
      return false;
    default:
      return true;  // the steps in between (resolving, connecting, sending) say nothing
  }
  if (expected_ > static_cast<long long>(max_bytes_) || body_.size() + length > max_bytes_) {
    state_ = DownloadState::kTooLarge;
    error_ = "the file is larger than the limit";
  } else {
    state_ = DownloadState::kFailed;
    error_ = "the transfer was broken off";
  }
  return false;
}

DownloadState HttpDownload::Poll(int wait_ms) {
  if (state_ != DownloadState::kRunning) return state_;
  auto* transfer = static_cast<Transfer*>(transfer_);
  WaitForSingleObject(transfer->Signal, static_cast<DWORD>(wait_ms > 0 ? wait_ms : 0));
  for (;;) {
    Report report;
    {
      const std::lock_guard<std::mutex> hold(transfer->Lock);
      if (transfer->Reports.empty()) break;
      report = transfer->Reports.front();
      transfer->Reports.pop_front();
    }
    if (!Handle(report.Status, report.Info, report.Length)) break;
  }
  if (state_ == DownloadState::kRunning && GetTickCount64() > deadline_) {
    state_ = DownloadState::kTimedOut;
    error_ = "the time limit passed";
  }
  if (state_ != DownloadState::kRunning) {
    if (state_ != DownloadState::kDone) body_.clear();
    Release();
  }
  return state_;
}

}  // namespace shogi
