// Whole-message socket input and output with a time limit, for both ends of the Linux link.
// Every call here waits at most the time it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orv {

struct Io_Result {
  enum Status : uint8_t { ok, timeout, broken };
  Status status = ok;
  int error = 0;  // the system's error when broken (ECONNRESET for a connection closed by the peer)
  size_t count = 0;  // the bytes that went out or came in, also when the call did not finish
};

// Connects a new stream socket to the local socket at `path`, waiting at most timeout_ms for a
// listener whose queue of waiting connections is full. Gives the socket in fd, or -1.
Io_Result Connect_Local(const std::string& path, int64_t timeout_ms, int& fd);

// Sends all n bytes within timeout_ms; never raises SIGPIPE.
Io_Result Send_All(int fd, const uint8_t* data, size_t n, int64_t timeout_ms);

// Sends all n bytes within timeout_ms, with one descriptor attached to the first of them.
Io_Result Send_With_Descriptor(int fd, const uint8_t* data, size_t n, int descriptor,
                               int64_t timeout_ms);

// Receives exactly n bytes, waiting at most timeout_ms in all (a negative value waits without
// limit). A peer that closes before n bytes have come is a broken connection.
Io_Result Recv_Exact(int fd, uint8_t* data, size_t n, int64_t timeout_ms);

// Receives exactly n bytes like Recv_Exact and takes the first descriptor that came with them,
// or -1 when none came. Extra descriptors are closed.
Io_Result Recv_With_Descriptor(int fd, uint8_t* data, size_t n, int64_t timeout_ms,
                               int& descriptor);

}  // namespace orv
