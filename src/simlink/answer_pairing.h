// Keeps each answer on a link connection paired with the message it answers. The simulator side
// answers every message, in order, even one whose wait has run out on this side (a simulator
// busy loading scenery answers seconds late). Those late answers arrive ahead of the answer to
// the current message, so they are counted and taken off first; a late answer is never taken
// for the current one. Any stream transport of the link (the local socket, a network relay)
// pairs its 4-byte answers this way.
#pragma once

#include <array>
#include <cstdint>

#include "simlink/socket_io.h"

namespace orv {

struct Answer_Pairing {
  uint32_t owed = 0;                 // answers still due to messages whose wait ran out
  std::array<uint8_t, 4> partial{};  // the first bytes of an answer that came in part
  uint32_t partial_size = 0;
};

// Waits, after a message has gone out on fd, for its answer: first for the answers owed to
// earlier messages, then for its own, at most timeout_ms in all. Gives the answer's value in
// `answer`. On a time-out the message's answer is owed too. A broken connection leaves the
// pairing to be started afresh with the next connection.
Io_Result Await_Answer(Answer_Pairing& pairing, int fd, int64_t timeout_ms, uint32_t& answer);

}  // namespace orv
