#include "simlink/socket_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

Io_Result Broken(int error, size_t count = 0) {
  return {Io_Result::broken, error, count};
}

Clock::time_point Deadline_After(int64_t timeout_ms) {
  return Clock::now() + std::chrono::milliseconds(timeout_ms > 0 ? timeout_ms : 0);
}

int64_t Ms_Until(Clock::time_point deadline) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
}

// Waits until fd is ready for `events` or the deadline has passed.
Io_Result Wait_For(int fd, short events, bool unlimited, Clock::time_point deadline) {
  for (;;) {
    int wait_ms = -1;
    if (!unlimited) {
      const int64_t left = Ms_Until(deadline);
      if (left < 0) return {Io_Result::timeout, 0};
      wait_ms = left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(left);
    }
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, wait_ms);
    if (n > 0) return {};
    if (n == 0) return {Io_Result::timeout, 0};
    if (errno != EINTR) return Broken(errno);
  }
}

// Receives n bytes; the first recvmsg may carry a descriptor when `descriptor` is not null.
Io_Result Receive(int fd, uint8_t* data, size_t n, int64_t timeout_ms, int* descriptor) {
  const bool unlimited = timeout_ms < 0;
  const Clock::time_point deadline = Deadline_After(timeout_ms);
  size_t got = 0;
  while (got < n) {
    Io_Result ready = Wait_For(fd, POLLIN, unlimited, deadline);
    ready.count = got;
    if (ready.status != Io_Result::ok) return ready;
    iovec iov{data + got, n - got};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * 4)];
    msghdr msg{};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    if (descriptor != nullptr) {
      msg.msg_control = control;
      msg.msg_controllen = sizeof control;
    }
    const ssize_t r = ::recvmsg(fd, &msg, MSG_CMSG_CLOEXEC | MSG_DONTWAIT);
    if (r < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return Broken(errno, got);
    }
    if (r == 0) return Broken(ECONNRESET, got);
    if (descriptor != nullptr) {
      for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS) continue;
        const size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
          int fd_in = -1;
          std::memcpy(&fd_in, CMSG_DATA(c) + i * sizeof(int), sizeof(int));
          if (*descriptor < 0) {
            *descriptor = fd_in;
          } else {
            ::close(fd_in);
          }
        }
      }
    }
    got += static_cast<size_t>(r);
  }
  return {Io_Result::ok, 0, got};
}

// Sends the message without blocking, waiting for room in the socket until the deadline. The
// descriptor in msg's control data, if any, goes with the first byte only.
Io_Result Send_Message_Bytes(int fd, msghdr& msg, const uint8_t* data, size_t n,
                             Clock::time_point deadline) {
  size_t sent = 0;
  while (sent < n) {
    iovec iov{const_cast<uint8_t*>(data + sent), n - sent};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    const ssize_t r = ::sendmsg(fd, &msg, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (r < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) return Broken(errno, sent);
      Io_Result ready = Wait_For(fd, POLLOUT, false, deadline);
      ready.count = sent;
      if (ready.status != Io_Result::ok) return ready;
      continue;
    }
    sent += static_cast<size_t>(r);
    msg.msg_control = nullptr;
    msg.msg_controllen = 0;
  }
  return {Io_Result::ok, 0, sent};
}

}  // namespace

Io_Result Connect_Local(const std::string& path, int64_t timeout_ms, int& fd) {
  fd = -1;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return Broken(ENAMETOOLONG);
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return Broken(errno);
  // A local connect waits for room in the listener's queue for as long as the socket's send
  // time-out allows; without one it would wait for ever. EAGAIN is the time-out running out.
  const Clock::time_point deadline = Deadline_After(timeout_ms);
  for (;;) {
    const int64_t left = Ms_Until(deadline);
    if (left <= 0) break;
    timeval tv{static_cast<time_t>(left / 1000), static_cast<suseconds_t>(left % 1000 * 1000)};
    if (::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) != 0) {
      const int error = errno;
      ::close(s);
      return Broken(error);
    }
    if (::connect(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
      fd = s;
      return {};
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) break;
    if (errno != EINTR) {
      const int error = errno;
      ::close(s);
      return Broken(error);
    }
  }
  ::close(s);
  return {Io_Result::timeout, 0};
}

Io_Result Send_All(int fd, const uint8_t* data, size_t n, int64_t timeout_ms) {
  msghdr msg{};
  return Send_Message_Bytes(fd, msg, data, n, Deadline_After(timeout_ms));
}

Io_Result Send_With_Descriptor(int fd, const uint8_t* data, size_t n, int descriptor,
                               int64_t timeout_ms) {
  if (n == 0) return {};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr msg{};
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
  cmsghdr* c = CMSG_FIRSTHDR(&msg);
  c->cmsg_level = SOL_SOCKET;
  c->cmsg_type = SCM_RIGHTS;
  c->cmsg_len = CMSG_LEN(sizeof(int));
  std::memcpy(CMSG_DATA(c), &descriptor, sizeof(int));
  return Send_Message_Bytes(fd, msg, data, n, Deadline_After(timeout_ms));
}

Io_Result Recv_Exact(int fd, uint8_t* data, size_t n, int64_t timeout_ms) {
  return Receive(fd, data, n, timeout_ms, nullptr);
}

Io_Result Recv_With_Descriptor(int fd, uint8_t* data, size_t n, int64_t timeout_ms,
                               int& descriptor) {
  descriptor = -1;
  return Receive(fd, data, n, timeout_ms, &descriptor);
}

}  // namespace orv
