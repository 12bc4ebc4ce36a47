#include "simlink/answer_pairing.h"

#include <chrono>

#include "simlink/link_block.h"

namespace orv {

Io_Result Await_Answer(Answer_Pairing& pairing, int fd, int64_t timeout_ms, uint32_t& answer) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(timeout_ms > 0 ? timeout_ms : 0);
  // The current message's answer is the last of those owed.
  ++pairing.owed;
  for (;;) {
    const int64_t left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    const Io_Result io =
        Recv_Exact(fd, pairing.partial.data() + pairing.partial_size,
                   pairing.partial.size() - pairing.partial_size, left > 0 ? left : 0);
    pairing.partial_size += static_cast<uint32_t>(io.count);
    if (io.status != Io_Result::ok) return io;
    pairing.partial_size = 0;
    if (--pairing.owed == 0) {
      answer = Block_Get32(pairing.partial, 0);
      return io;
    }
  }
}

}  // namespace orv
