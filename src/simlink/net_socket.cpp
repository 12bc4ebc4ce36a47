#include "simlink/net_socket.h"

#ifdef _WIN32
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <array>
#include <charconv>
#include <chrono>
#include <optional>

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

#ifdef _WIN32
using Poll_Fd = WSAPOLLFD;
using Raw_Socket = SOCKET;
int Last_Error() {
  return WSAGetLastError();
}
bool Would_Block(int e) {
  return e == WSAEWOULDBLOCK || e == WSAEINPROGRESS;
}
bool Interrupted(int e) {
  return e == WSAEINTR;
}
int Poll(Poll_Fd* p, size_t n, int ms) {
  return WSAPoll(p, static_cast<ULONG>(n), ms);
}
constexpr int kSendFlags = 0;
void Close_Raw(Raw_Socket s) {
  closesocket(s);
}
bool Set_Nonblocking(Raw_Socket s) {
  u_long on = 1;
  return ioctlsocket(s, FIONBIO, &on) == 0;
}
constexpr int kResetError = WSAECONNRESET;
bool Out_Of_Descriptors(int e) {
  return e == WSAEMFILE || e == WSAENOBUFS;
}
#else
using Poll_Fd = pollfd;
using Raw_Socket = int;
int Last_Error() {
  return errno;
}
bool Would_Block(int e) {
  return e == EAGAIN || e == EWOULDBLOCK || e == EINPROGRESS;
}
bool Interrupted(int e) {
  return e == EINTR;
}
int Poll(Poll_Fd* p, size_t n, int ms) {
  return ::poll(p, n, ms);
}
constexpr int kSendFlags = MSG_NOSIGNAL;
void Close_Raw(Raw_Socket s) {
  ::close(s);
}
bool Set_Nonblocking(Raw_Socket s) {
  const int flags = ::fcntl(s, F_GETFL, 0);
  return flags >= 0 && ::fcntl(s, F_SETFL, flags | O_NONBLOCK) == 0;
}
constexpr int kResetError = ECONNRESET;
bool Out_Of_Descriptors(int e) {
  return e == EMFILE || e == ENFILE || e == ENOBUFS || e == ENOMEM;
}
#endif

Raw_Socket Raw(Net_Fd fd) {
  return static_cast<Raw_Socket>(fd);
}

int64_t Ms_Until(Clock::time_point deadline) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
}

// Waits until fd is ready for `events` or the deadline has passed.
Io_Result Wait_For(Net_Fd fd, short events, Clock::time_point deadline) {
  for (;;) {
    const int64_t left = Ms_Until(deadline);
    if (left < 0) return {Io_Result::timeout, 0};
    Poll_Fd p{};
    p.fd = Raw(fd);
    p.events = events;
    const int n = Poll(&p, 1, static_cast<int>(left > 0x7FFFFFFF ? 0x7FFFFFFF : left));
    if (n > 0) return {};
    if (n == 0) return {Io_Result::timeout, 0};
    if (!Interrupted(Last_Error())) return {Io_Result::broken, Last_Error()};
  }
}

// The addresses a host and port stand for; empty when the name cannot be resolved.
struct Resolved {
  addrinfo* list = nullptr;
  ~Resolved() {
    if (list != nullptr) freeaddrinfo(list);
  }
};

bool Resolve(const Net_Address& address, bool passive, Resolved& out) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = passive ? AI_PASSIVE : 0;
  const std::string port = std::to_string(address.port);
  return getaddrinfo(address.host.c_str(), port.c_str(), &hints, &out.list) == 0;
}

// Connects one socket to one address, within the deadline.
Io_Result Connect_One(const addrinfo* a, Clock::time_point deadline, Net_Fd& fd) {
  const Raw_Socket s = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
  if (Net_Fd(s) == NET_NONE) return {Io_Result::broken, Last_Error()};
  if (!Set_Nonblocking(s)) {
    const int error = Last_Error();
    Close_Raw(s);
    return {Io_Result::broken, error};
  }
  Io_Result io;
  if (::connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) != 0) {
    const int error = Last_Error();
    io = Would_Block(error) ? Wait_For(Net_Fd(s), POLLOUT, deadline)
                            : Io_Result{Io_Result::broken, error};
    if (io.status == Io_Result::ok) {
      int so_error = 0;
      socklen_t len = sizeof so_error;
      if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&so_error), &len) != 0) {
        so_error = Last_Error();
      }
      if (so_error != 0) io = {Io_Result::broken, so_error};
    }
  }
  if (io.status != Io_Result::ok) {
    Close_Raw(s);
    return io;
  }
  // Every message of the link is small and waits for its answer: send it at once.
  int on = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  fd = Net_Fd(s);
  return {};
}

}  // namespace

bool Parse_Net_Address(std::string_view text, Net_Address& out) {
  std::string_view host;
  std::string_view port;
  if (!text.empty() && text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') {
      return false;
    }
    host = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else {
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return false;
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (host.find(':') != std::string_view::npos) return false;
  }
  if (host.empty() || host.size() > 253 || port.empty()) return false;
  for (const char c : host) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '/' || c == '\\') return false;
  }
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
  if (ec != std::errc{} || end != port.data() + port.size() || value == 0 || value > 65535) {
    return false;
  }
  out.host = std::string(host);
  out.port = static_cast<uint16_t>(value);
  return true;
}

std::string Net_Address_Text(const Net_Address& address) {
  const bool v6 = address.host.find(':') != std::string::npos;
  return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

bool Net_Startup() {
#ifdef _WIN32
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
#else
  return true;
#endif
}

Io_Result Net_Connect(const Net_Address& address, int64_t timeout_ms, Net_Fd& fd) {
  fd = NET_NONE;
  if (!Net_Startup()) return {Io_Result::broken, kResetError};
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(timeout_ms > 0 ? timeout_ms : 0);
  Resolved resolved;
  if (!Resolve(address, false, resolved)) return {Io_Result::broken, kResetError};
  Io_Result io{Io_Result::broken, kResetError};
  for (const addrinfo* a = resolved.list; a != nullptr; a = a->ai_next) {
    io = Connect_One(a, deadline, fd);
    if (io.status != Io_Result::broken) break;
  }
  return io;
}

Net_Fd Net_Listen(const Net_Address& address, int& error) {
  error = 0;
  if (!Net_Startup()) return NET_NONE;
  Resolved resolved;
  if (!Resolve(address, true, resolved) || resolved.list == nullptr) {
    error = kResetError;
    return NET_NONE;
  }
  const addrinfo* a = resolved.list;
  const Raw_Socket s = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
  if (Net_Fd(s) == NET_NONE) {
    error = Last_Error();
    return NET_NONE;
  }
#ifdef _WIN32
  // Only this program may take the port while it listens.
  BOOL exclusive = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);
#else
  // A relay started again at once may take its port back from the connections it closed.
  int on = 1;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
  if (::bind(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) != 0 || ::listen(s, 16) != 0 ||
      !Set_Nonblocking(s)) {
    error = Last_Error();
    Close_Raw(s);
    return NET_NONE;
  }
  return Net_Fd(s);
}

uint16_t Net_Local_Port(Net_Fd fd) {
  sockaddr_storage address{};
  socklen_t len = sizeof address;
  if (::getsockname(Raw(fd), reinterpret_cast<sockaddr*>(&address), &len) != 0) return 0;
  if (address.ss_family == AF_INET) {
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
  }
  if (address.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
  }
  return 0;
}

Net_Fd Net_Accept(Net_Fd listener, std::string& peer, bool& exhausted) {
  sockaddr_storage address{};
  socklen_t len = sizeof address;
  exhausted = false;
  peer.clear();
  const Raw_Socket s = ::accept(Raw(listener), reinterpret_cast<sockaddr*>(&address), &len);
  if (Net_Fd(s) == NET_NONE) {
    exhausted = Out_Of_Descriptors(Last_Error());
    return NET_NONE;
  }
  std::array<char, NI_MAXHOST> host{};
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), len, host.data(),
                    static_cast<socklen_t>(host.size()), nullptr, 0, NI_NUMERICHOST) == 0) {
    peer = host.data();
  }
  if (!Set_Nonblocking(s)) {
    Close_Raw(s);
    return NET_NONE;
  }
  int on = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  return Net_Fd(s);
}

namespace {

// Sends in pieces until all is sent. Where the socket is full it waits for room until the
// deadline, or, with none, stops at once with what was sent.
Io_Result Send_Pieces(Net_Fd fd, const uint8_t* data, size_t n,
                      std::optional<Clock::time_point> deadline) {
  size_t sent = 0;
  while (sent < n) {
    const size_t chunk = n - sent > 0x10000 ? 0x10000 : n - sent;
    const auto r = ::send(Raw(fd), reinterpret_cast<const char*>(data + sent),
                          static_cast<int>(chunk), kSendFlags);
    if (r < 0) {
      const int error = Last_Error();
      if (Interrupted(error)) continue;
      if (!Would_Block(error)) return {Io_Result::broken, error, sent};
      if (!deadline) return {Io_Result::timeout, 0, sent};
      Io_Result ready = Wait_For(fd, POLLOUT, *deadline);
      ready.count = sent;
      if (ready.status != Io_Result::ok) return ready;
      continue;
    }
    sent += static_cast<size_t>(r);
  }
  return {Io_Result::ok, 0, sent};
}

}  // namespace

Io_Result Net_Send_All(Net_Fd fd, const uint8_t* data, size_t n, int64_t timeout_ms) {
  return Send_Pieces(fd, data, n,
                     Clock::now() + std::chrono::milliseconds(timeout_ms > 0 ? timeout_ms : 0));
}

Io_Result Net_Recv_Some(Net_Fd fd, uint8_t* data, size_t n, int64_t timeout_ms) {
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(timeout_ms > 0 ? timeout_ms : 0);
  for (;;) {
    const auto r = ::recv(Raw(fd), reinterpret_cast<char*>(data),
                          static_cast<int>(n > 0x10000 ? 0x10000 : n), 0);
    if (r > 0) return {Io_Result::ok, 0, static_cast<size_t>(r)};
    if (r == 0) return {Io_Result::broken, kResetError};
    const int error = Last_Error();
    if (Interrupted(error)) continue;
    if (!Would_Block(error)) return {Io_Result::broken, error};
    const Io_Result ready = Wait_For(fd, POLLIN, deadline);
    if (ready.status != Io_Result::ok) return ready;
  }
}

Io_Result Net_Send_Now(Net_Fd fd, const uint8_t* data, size_t n) {
  return Send_Pieces(fd, data, n, std::nullopt);
}

bool Net_Wake_Pair(Net_Fd& in, Net_Fd& out) {
  in = out = NET_NONE;
  if (!Net_Startup()) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof address;
  const Raw_Socket a = ::socket(AF_INET, SOCK_DGRAM, 0);
  const Raw_Socket b = ::socket(AF_INET, SOCK_DGRAM, 0);
  const bool ok =
      Net_Fd(a) != NET_NONE && Net_Fd(b) != NET_NONE &&
      ::bind(a, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(a, reinterpret_cast<sockaddr*>(&address), &len) == 0 &&
      ::connect(b, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      Set_Nonblocking(a) && Set_Nonblocking(b);
  if (!ok) {
    if (Net_Fd(a) != NET_NONE) Close_Raw(a);
    if (Net_Fd(b) != NET_NONE) Close_Raw(b);
    return false;
  }
  in = Net_Fd(a);
  out = Net_Fd(b);
  return true;
}

void Net_Wake(Net_Fd out) {
  const char byte = 1;
  ::send(Raw(out), &byte, 1, 0);
}

void Net_Drain(Net_Fd in) {
  std::array<char, 64> bytes{};
  while (::recv(Raw(in), bytes.data(), static_cast<int>(bytes.size()), 0) > 0) {
  }
}

void Net_Close(Net_Fd fd) {
  if (fd != NET_NONE) Close_Raw(Raw(fd));
}

bool Net_Wait_Readable(const std::vector<Net_Fd>& fds, int timeout_ms, std::vector<bool>& ready) {
  std::vector<Poll_Fd> polls(fds.size());
  for (size_t i = 0; i < fds.size(); ++i) {
    polls[i].fd = Raw(fds[i]);
    polls[i].events = POLLIN;
  }
  ready.assign(fds.size(), false);
  const int n = Poll(polls.data(), polls.size(), timeout_ms);
  if (n < 0) return Interrupted(Last_Error());
  for (size_t i = 0; i < fds.size(); ++i) ready[i] = polls[i].revents != 0;
  return true;
}

bool Net_Wait(std::vector<Net_Poll>& polls, int timeout_ms) {
  std::vector<Poll_Fd> raw(polls.size());
  for (size_t i = 0; i < polls.size(); ++i) {
    raw[i].fd = Raw(polls[i].fd);
    raw[i].events = static_cast<short>(POLLIN | (polls[i].want_write ? POLLOUT : 0));
  }
  const int n = Poll(raw.data(), raw.size(), timeout_ms);
  for (size_t i = 0; i < polls.size(); ++i) {
    const short r = n > 0 ? raw[i].revents : 0;
    polls[i].readable = (r & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
    polls[i].writable = (r & POLLOUT) != 0;
  }
  return n >= 0 || Interrupted(Last_Error());
}

}  // namespace orv
