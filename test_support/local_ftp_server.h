// A small FTP server for upload tests: one account, no TLS, passive mode,
// files stored under a root folder. It listens on 127.0.0.1 at a port the
// system picks and serves one control connection at a time on its own
// thread, which the destructor stops and joins. Every command it receives is
// kept so that a test can see what the client sent (and what it did not).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kestrel::testing {

class LocalFtpServer {
 public:
  LocalFtpServer(std::filesystem::path root, std::string user, std::string password)
      : root_(std::move(root)), user_(std::move(user)), password_(std::move(password)) {
    listener_ = Socket(Listen(&port_));
    if (listener_.fd < 0) {
      error_ = std::string("cannot open a listening socket on 127.0.0.1: ") + std::strerror(errno);
      return;
    }
    thread_ = std::jthread([this](std::stop_token stop) { Serve(stop); });
  }
  ~LocalFtpServer() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
  }
  LocalFtpServer(const LocalFtpServer&) = delete;
  LocalFtpServer& operator=(const LocalFtpServer&) = delete;

  bool ok() const { return listener_.fd >= 0; }
  const std::string& error() const { return error_; }
  // "127.0.0.1:port", as a site for the client.
  std::string site() const { return "127.0.0.1:" + std::to_string(port_); }
  // The commands received so far, as sent ("PASS" keeps its argument).
  std::vector<std::string> commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
  }
  bool received(const std::string& verb) const {
    for (const auto& c : commands())
      if (c.compare(0, verb.size(), verb) == 0) return true;
    return false;
  }

 private:
  // A socket closed when it goes out of scope.
  struct Socket {
    int fd = -1;
    Socket() = default;
    explicit Socket(int f) : fd(f) {}
    Socket(Socket&& o) noexcept : fd(std::exchange(o.fd, -1)) {}
    Socket& operator=(Socket&& o) noexcept {
      if (this != &o) {
        if (fd >= 0) ::close(fd);
        fd = std::exchange(o.fd, -1);
      }
      return *this;
    }
    ~Socket() {
      if (fd >= 0) ::close(fd);
    }
  };

  static int Listen(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
      const int saved = errno;
      ::close(fd);
      errno = saved;
      return -1;
    }
    *port = ntohs(addr.sin_port);
    return fd;
  }

  // Waits for `fd` to be readable, a slice at a time so that a stop request
  // is seen; gives up after `slices` slices (a client that went quiet).
  static bool WaitReadable(int fd, const std::stop_token& stop, int slices = 100) {
    for (int i = 0; i < slices && !stop.stop_requested(); ++i) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 50) > 0) return true;
    }
    return false;
  }

  static void Send(int fd, const std::string& reply) {
    const std::string line = reply + "\r\n";
    (void)::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
  }

  void Serve(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
      if (!WaitReadable(listener_.fd, stop, 1)) continue;
      Socket control(::accept(listener_.fd, nullptr, nullptr));
      if (control.fd >= 0) Session(control.fd, stop);
    }
  }

  void Session(int fd, const std::stop_token& stop) {
    Send(fd, "220 Kestrel test server");
    std::string buffer, pendingUser, cwd;
    std::optional<std::string> renameFrom;
    bool loggedIn = false;
    Socket passive;
    while (WaitReadable(fd, stop)) {
      char chunk[512];
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) return;
      buffer.append(chunk, static_cast<size_t>(n));
      for (size_t end; (end = buffer.find("\r\n")) != std::string::npos;) {
        const std::string line = buffer.substr(0, end);
        buffer.erase(0, end + 2);
        {
          std::lock_guard lock(mutex_);
          commands_.push_back(line);
        }
        const size_t space = line.find(' ');
        std::string verb = line.substr(0, space);
        for (auto& c : verb) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const std::string arg = space == std::string::npos ? "" : line.substr(space + 1);
        if (verb == "QUIT") {
          Send(fd, "221 Bye");
          return;
        } else if (verb == "AUTH") {
          Send(fd, "502 TLS is not offered here");
        } else if (verb == "USER") {
          pendingUser = arg;
          Send(fd, "331 Password required");
        } else if (verb == "PASS") {
          loggedIn = pendingUser == user_ && arg == password_;
          Send(fd, loggedIn ? "230 Logged in" : "530 Login incorrect");
        } else if (!loggedIn) {
          Send(fd, "530 Please log in");
        } else if (verb == "PWD") {
          Send(fd, "257 \"/" + cwd + "\"");
        } else if (verb == "TYPE" || verb == "MODE" || verb == "STRU") {
          Send(fd, "200 Ok");
        } else if (verb == "CWD" || verb == "MKD") {
          const auto folder = Resolve(cwd, arg);
          if (!folder) {
            Send(fd, "550 Bad path");
          } else if (verb == "MKD") {
            std::error_code ec;
            std::filesystem::create_directory(root_ / *folder, ec);
            Send(fd, ec ? "550 Cannot create" : "257 Created");
          } else if (std::filesystem::is_directory(root_ / *folder)) {
            cwd = *folder;
            Send(fd, "250 Ok");
          } else {
            Send(fd, "550 No such folder");
          }
        } else if (verb == "EPSV" || verb == "PASV") {
          int port = 0;
          passive = Socket(Listen(&port));
          if (passive.fd < 0)
            Send(fd, "425 Cannot open a data connection");
          else if (verb == "EPSV")
            Send(fd, "229 Entering Extended Passive Mode (|||" + std::to_string(port) + "|)");
          else
            Send(fd, "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," +
                         std::to_string(port % 256) + ")");
        } else if (verb == "STOR") {
          Store(fd, cwd, arg, std::move(passive), stop);
        } else if (verb == "SIZE") {
          const auto file = Resolve(cwd, arg);
          std::error_code ec;
          const auto size = file ? std::filesystem::file_size(root_ / *file, ec) : 0;
          Send(fd, file && !ec ? "213 " + std::to_string(size) : "550 No such file");
        } else if (verb == "RNFR") {
          renameFrom = Resolve(cwd, arg);
          const bool exists = renameFrom && std::filesystem::is_regular_file(root_ / *renameFrom);
          Send(fd, exists ? "350 Ready for RNTO" : "550 No such file");
        } else if (verb == "RNTO") {
          const auto to = Resolve(cwd, arg);
          std::error_code ec;
          if (renameFrom && to && !to->empty()) std::filesystem::rename(root_ / *renameFrom, root_ / *to, ec);
          Send(fd, renameFrom && to && !to->empty() && !ec ? "250 Renamed" : "553 Cannot rename");
          renameFrom.reset();
        } else if (verb == "NOOP") {
          Send(fd, "200 Ok");
        } else {
          Send(fd, "502 Not implemented");
        }
      }
    }
  }

  // Receives the data connection's bytes into the file, kept once the client
  // has closed the connection.
  void Store(int fd, const std::string& cwd, const std::string& name, Socket passive, const std::stop_token& stop) {
    const auto file = Resolve(cwd, name);
    if (!file || file->empty() || passive.fd < 0) {
      Send(fd, passive.fd < 0 ? "425 Use EPSV or PASV first" : "553 Bad file name");
      return;
    }
    Send(fd, "150 Ready for data");
    if (!WaitReadable(passive.fd, stop)) {
      Send(fd, "425 No data connection");
      return;
    }
    Socket data(::accept(passive.fd, nullptr, nullptr));
    std::string bytes;
    bool closed = false;
    while (data.fd >= 0 && WaitReadable(data.fd, stop)) {
      char chunk[4096];
      const ssize_t n = ::recv(data.fd, chunk, sizeof chunk, 0);
      if (n <= 0) {
        closed = n == 0;
        break;
      }
      bytes.append(chunk, static_cast<size_t>(n));
    }
    if (!closed) {
      Send(fd, "426 Transfer aborted");
      return;
    }
    std::ofstream(root_ / *file, std::ios::binary) << bytes;
    Send(fd, "226 Stored");
  }

  // A path below the root: relative to the current folder, or absolute from
  // the root; "." and ".." segments and empty names are refused.
  static std::optional<std::string> Resolve(const std::string& cwd, const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::string full = path.front() == '/' ? path.substr(1) : (cwd.empty() ? path : cwd + "/" + path);
    while (!full.empty() && full.back() == '/') full.pop_back();
    if (full.empty()) return full;
    size_t start = 0;
    for (;;) {
      const size_t slash = full.find('/', start);
      const std::string segment = full.substr(start, slash - start);
      if (segment.empty() || segment == "." || segment == "..") return std::nullopt;
      if (slash == std::string::npos) return full;
      start = slash + 1;
    }
  }

  std::filesystem::path root_;
  std::string user_, password_;
  std::string error_;
  int port_ = 0;
  Socket listener_;
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::jthread thread_;
};

}  // namespace kestrel::testing
