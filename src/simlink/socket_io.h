// Whole-message socket input and output with a time limit, for both ends of the Linux link.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv {

struct Io_Result {
  enum Status : uint8_t { ok, timeout, broken };
  Status status = ok;
  int error = 0;  // the system's error when broken (ECONNRESET for a connection closed by the peer)
};

// Sends all n bytes; never raises SIGPIPE.
Io_Result Send_All(int fd, const uint8_t* data, size_t n);

// Sends all n bytes with one descriptor attached to the first of them.
Io_Result Send_With_Descriptor(int fd, const uint8_t* data, size_t n, int descriptor);

// Receives exactly n bytes, waiting at most timeout_ms in all (a negative value waits without
// limit). A peer that closes before n bytes have come is a broken connection.
Io_Result Recv_Exact(int fd, uint8_t* data, size_t n, int64_t timeout_ms);

// Receives exactly n bytes like Recv_Exact and takes the first descriptor that came with them,
// or -1 when none came. Extra descriptors are closed.
Io_Result Recv_With_Descriptor(int fd, uint8_t* data, size_t n, int64_t timeout_ms,
                               int& descriptor);

// Throws away whatever the peer has sent that nobody asked for (a late answer to a message
// that timed out), without waiting.
Io_Result Discard_Pending(int fd);

}  // namespace orv
