// The tests' HTTP server: one thread, one connection at a time.
#include "tests/support/test_http_server.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <thread>
#include <vector>

namespace shogi::test {
namespace {

#ifdef _WIN32
// Winsock under the names of the POSIX calls the server uses; a socket fits an int there.
using socklen_t = int;
using ssize_t = int;
constexpr int MSG_NOSIGNAL = 0;
void close(int fd) {
  closesocket(static_cast<SOCKET>(fd));
}
int poll(pollfd* fds, unsigned long count, int timeout) {
  return WSAPoll(fds, count, timeout);
}
int socket(int family, int type, int protocol) {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) return -1;
  const SOCKET s = ::socket(family, type, protocol);
  return s == INVALID_SOCKET ? -1 : static_cast<int>(s);
}
int accept(int fd, sockaddr* address, socklen_t* length) {
  const SOCKET s = ::accept(static_cast<SOCKET>(fd), address, length);
  return s == INVALID_SOCKET ? -1 : static_cast<int>(s);
}
#endif

int ListenOnFreePort(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 8) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

void SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

TestHttpServer::TestHttpServer(std::map<std::string, std::string> files, Answer answer)
    : files_(std::move(files)), answer_(answer) {
  listener_ = ListenOnFreePort(port_);
  thread_ = std::thread([this] { Serve(); });
}

TestHttpServer::~TestHttpServer() {
  stopping_ = true;
  thread_.join();
  if (listener_ >= 0) close(listener_);
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string TestHttpServer::RefusingUrl() {
  int port = 0;
  const int fd = ListenOnFreePort(port);
  close(fd);  // the port was free a moment ago and nothing listens there now
  return "http://127.0.0.1:" + std::to_string(port) + "/game.kif";
}

void TestHttpServer::Serve() {
  std::vector<int> held;  // a silent server's connections, open until the end
  while (!stopping_ && listener_ >= 0) {
    pollfd p{static_cast<decltype(pollfd::fd)>(listener_), POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    if (answer_ == Answer::kNever) {
      held.push_back(client);
      continue;
    }
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    const auto file = files_.find(path);
    const std::string body = file == files_.end() ? "not found" : file->second;
    // A path under "/unsized" comes without its length, as a stream whose end is the
    // connection's.
    const std::string length =
        path.rfind("/unsized", 0) == 0 ? "" : "\r\nContent-Length: " + std::to_string(body.size());
    SendAll(client,
            std::string(file == files_.end() ? "HTTP/1.0 404 Not Found" : "HTTP/1.0 200 OK") +
                length + "\r\nConnection: close\r\n\r\n");
    for (std::size_t at = 0; at < body.size() && !stopping_;) {
      const std::size_t n = answer_ == Answer::kSlowly ? 16 : body.size();
      SendAll(client, body.substr(at, n));
      at += n;
      if (answer_ == Answer::kSlowly) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    close(client);
  }
  for (int fd : held) close(fd);
}

}  // namespace shogi::test
