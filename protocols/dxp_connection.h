// A TCP connection carrying DXP messages: each message is sent with a NUL
// after it, and received text is buffered until its NUL, however the peer's
// bytes are split.
#pragma once

#include <optional>
#include <string>

namespace kestrel {

// An open socket, closed with its owner.
class TSocket {
 public:
  TSocket() = default;
  explicit TSocket(int fd) : fd_(fd) {}
  ~TSocket();
  TSocket(TSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  TSocket& operator=(TSocket&& other) noexcept;
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;

  int Fd() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Listens on `port` (0: any free port) of 127.0.0.1, or of every interface.
std::optional<TSocket> ListenTcp(int port, bool allInterfaces, std::string& error);
// The port a listening socket is bound to.
int BoundPort(const TSocket& socket);
// Waits up to `timeoutMs` (negative: for ever) for one connection.
std::optional<TSocket> AcceptTcp(const TSocket& listener, int timeoutMs, std::string& error);
std::optional<TSocket> ConnectTcp(const std::string& host, int port, std::string& error);

class TDxpConnection {
 public:
  explicit TDxpConnection(TSocket socket) : socket_(std::move(socket)) {}

  // False when the peer is gone.
  bool Send(const std::string& message);

  enum class TRead { message, timeout, closed, error };
  // The next whole message, without its NUL. `error` when the connection
  // fails or the peer sends more than a message may hold without a NUL.
  TRead Receive(std::string& message, int timeoutMs, std::string& error);
  void Close() { socket_ = TSocket(); }

 private:
  TSocket socket_;
  std::string buffer_;
};

}  // namespace kestrel
