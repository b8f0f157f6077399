#include "protocols/dxp_connection.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "protocols/dxp_message.h"

namespace kestrel {

namespace {

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Waits for `events` on `fd`: 1 ready, 0 timed out, -1 failed.
int WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int n = ::poll(&p, 1, timeoutMs);
    if (n < 0 && errno == EINTR) continue;
    return n < 0 ? -1 : (n == 0 ? 0 : 1);
  }
}

}  // namespace

TSocket::~TSocket() {
  if (fd_ >= 0) ::close(fd_);
}

TSocket& TSocket::operator=(TSocket&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

std::optional<TSocket> ListenTcp(int port, bool allInterfaces, std::string& error) {
  TSocket s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!s.IsOpen()) {
    error = SystemError("socket");
    return std::nullopt;
  }
  const int yes = 1;
  ::setsockopt(s.Fd(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(allInterfaces ? INADDR_ANY : INADDR_LOOPBACK);
  if (::bind(s.Fd(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    error = SystemError("cannot listen on port " + std::to_string(port));
    return std::nullopt;
  }
  if (::listen(s.Fd(), 1) != 0) {
    error = SystemError("listen");
    return std::nullopt;
  }
  return s;
}

int BoundPort(const TSocket& socket) {
  sockaddr_in addr{};
  socklen_t len = sizeof addr;
  if (::getsockname(socket.Fd(), reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
  return ntohs(addr.sin_port);
}

std::optional<TSocket> AcceptTcp(const TSocket& listener, int timeoutMs, std::string& error) {
  const int ready = WaitFor(listener.Fd(), POLLIN, timeoutMs);
  if (ready <= 0) {
    error = ready == 0 ? "no connection in time" : SystemError("poll");
    return std::nullopt;
  }
  TSocket s(::accept4(listener.Fd(), nullptr, nullptr, SOCK_CLOEXEC));
  if (!s.IsOpen()) {
    error = SystemError("accept");
    return std::nullopt;
  }
  const int yes = 1;
  ::setsockopt(s.Fd(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  return s;
}

std::optional<TSocket> ConnectTcp(const std::string& host, int port, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); rc != 0) {
    error = "cannot resolve " + host + ": " + ::gai_strerror(rc);
    return std::nullopt;
  }
  error = "cannot connect to " + host + ":" + std::to_string(port);
  std::optional<TSocket> connected;
  for (addrinfo* a = found; a && !connected; a = a->ai_next) {
    TSocket s(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
    if (!s.IsOpen()) continue;
    if (::connect(s.Fd(), a->ai_addr, a->ai_addrlen) == 0) {
      const int yes = 1;
      ::setsockopt(s.Fd(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
      connected = std::move(s);
    } else {
      error = SystemError("cannot connect to " + host + ":" + std::to_string(port));
    }
  }
  ::freeaddrinfo(found);
  return connected;
}

bool TDxpConnection::Send(const std::string& message) {
  if (!socket_.IsOpen()) return false;
  const std::string wire = message + '\0';
  size_t sent = 0;
  while (sent < wire.size()) {
    const ssize_t n = ::send(socket_.Fd(), wire.data() + sent, wire.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

TDxpConnection::TRead TDxpConnection::Receive(std::string& message, int timeoutMs, std::string& error) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (const size_t nul = buffer_.find('\0'); nul != std::string::npos) {
      message = buffer_.substr(0, nul);
      buffer_.erase(0, nul + 1);
      return TRead::message;
    }
    if (buffer_.size() > static_cast<size_t>(DxpMaxMessage)) {
      error = "the peer sent more than " + std::to_string(DxpMaxMessage) + " characters without an end";
      return TRead::error;
    }
    if (!socket_.IsOpen()) return TRead::closed;
    int wait = -1;
    if (timeoutMs >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      wait = static_cast<int>(std::max<int64_t>(0, left.count()));
    }
    const int ready = WaitFor(socket_.Fd(), POLLIN, wait);
    if (ready == 0) return TRead::timeout;
    if (ready < 0) {
      error = SystemError("poll");
      return TRead::error;
    }
    char chunk[256];
    const ssize_t n = ::recv(socket_.Fd(), chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) return TRead::closed;
    if (n < 0) {
      error = SystemError("recv");
      return TRead::error;
    }
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

}  // namespace kestrel
