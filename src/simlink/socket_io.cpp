#include "simlink/socket_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

Io_Result Broken(int error) {
  return {Io_Result::broken, error};
}

// Waits until fd is readable or the deadline has passed.
Io_Result Wait_Readable(int fd, bool unlimited, Clock::time_point deadline) {
  for (;;) {
    int wait_ms = -1;
    if (!unlimited) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left < 0) return {Io_Result::timeout, 0};
      wait_ms = left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(left);
    }
    pollfd p{fd, POLLIN, 0};
    const int n = ::poll(&p, 1, wait_ms);
    if (n > 0) return {};
    if (n == 0) return {Io_Result::timeout, 0};
    if (errno != EINTR) return Broken(errno);
  }
}

// Receives n bytes; the first recvmsg may carry a descriptor when `descriptor` is not null.
Io_Result Receive(int fd, uint8_t* data, size_t n, int64_t timeout_ms, int* descriptor) {
  const bool unlimited = timeout_ms < 0;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(unlimited ? 0 : timeout_ms);
  size_t got = 0;
  while (got < n) {
    const Io_Result ready = Wait_Readable(fd, unlimited, deadline);
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
    const ssize_t r = ::recvmsg(fd, &msg, MSG_CMSG_CLOEXEC);
    if (r < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return Broken(errno);
    }
    if (r == 0) return Broken(ECONNRESET);
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
  return {};
}

}  // namespace

Io_Result Send_All(int fd, const uint8_t* data, size_t n) {
  size_t sent = 0;
  while (sent < n) {
    const ssize_t r = ::send(fd, data + sent, n - sent, MSG_NOSIGNAL);
    if (r < 0) {
      if (errno == EINTR) continue;
      return Broken(errno);
    }
    sent += static_cast<size_t>(r);
  }
  return {};
}

Io_Result Send_With_Descriptor(int fd, const uint8_t* data, size_t n, int descriptor) {
  if (n == 0) return {};
  iovec iov{const_cast<uint8_t*>(data), n};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
  cmsghdr* c = CMSG_FIRSTHDR(&msg);
  c->cmsg_level = SOL_SOCKET;
  c->cmsg_type = SCM_RIGHTS;
  c->cmsg_len = CMSG_LEN(sizeof(int));
  std::memcpy(CMSG_DATA(c), &descriptor, sizeof(int));
  ssize_t r = -1;
  do {
    r = ::sendmsg(fd, &msg, MSG_NOSIGNAL);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return Broken(errno);
  // The descriptor went with the first byte; the rest goes as plain data.
  return Send_All(fd, data + r, n - static_cast<size_t>(r));
}

Io_Result Recv_Exact(int fd, uint8_t* data, size_t n, int64_t timeout_ms) {
  return Receive(fd, data, n, timeout_ms, nullptr);
}

Io_Result Recv_With_Descriptor(int fd, uint8_t* data, size_t n, int64_t timeout_ms,
                               int& descriptor) {
  descriptor = -1;
  return Receive(fd, data, n, timeout_ms, &descriptor);
}

Io_Result Discard_Pending(int fd) {
  uint8_t scrap[64];
  for (;;) {
    const ssize_t r = ::recv(fd, scrap, sizeof scrap, MSG_DONTWAIT);
    if (r > 0) continue;
    if (r == 0) return Broken(ECONNRESET);
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return {};
    return Broken(errno);
  }
}

}  // namespace orv
