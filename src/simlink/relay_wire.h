// The relay's wire format: what a link client and orvane-relay say to each other over TCP, and
// the relay's check of a request block before it goes anywhere near the simulator. Every value
// is 4 bytes little-endian. docs/RELAY.md describes the same for writers of other clients.
//
//   hello        client -> relay   "ORVR", version 2
//   challenge    relay -> client   status RELAY_HELLO_CHALLENGE, 32, 32 random bytes
//                                  (a refusal instead: status, window 0, and the relay closes)
//   proof        client -> relay   32 bytes: HMAC-SHA-256 under the shared key of the hello's 8
//                                  bytes followed by the challenge (Relay_Hello_Proof)
//   hello answer relay -> client   status (RELAY_HELLO_*), window (RELAY_WINDOW_*)
//   request      client -> relay   sequence, length n (4..32768), n bytes of the request block
//   answer       relay -> client   sequence, status (RELAY_ANSWER_*), reply value, length m
//                                  (n, or 0 when the block did not reach the simulator), m bytes
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orv {

inline constexpr std::array<uint8_t, 4> RELAY_MAGIC = {'O', 'R', 'V', 'R'};
inline constexpr uint32_t RELAY_VERSION = 2;
inline constexpr uint32_t RELAY_MAX_KEY = 64;
inline constexpr uint32_t RELAY_HELLO_HEAD = 8;     // magic, version
inline constexpr uint32_t RELAY_HELLO_ANSWER = 8;   // status, window (or challenge length)
inline constexpr uint32_t RELAY_CHALLENGE_SIZE = 32;
inline constexpr uint32_t RELAY_PROOF_SIZE = 32;
inline constexpr uint32_t RELAY_REQUEST_HEAD = 8;  // sequence, length
inline constexpr uint32_t RELAY_ANSWER_HEAD = 16;  // sequence, status, reply value, length
inline constexpr uint16_t RELAY_DEFAULT_PORT = 8002;

// The hello answer's status.
inline constexpr uint32_t RELAY_HELLO_OK = 1;
inline constexpr uint32_t RELAY_HELLO_WRONG_KEY = 2;
inline constexpr uint32_t RELAY_HELLO_BUSY = 3;  // the relay serves as many clients as it may
inline constexpr uint32_t RELAY_HELLO_BAD = 4;   // not a hello of this version
inline constexpr uint32_t RELAY_HELLO_CHALLENGE = 5;  // the challenge's 32 bytes follow

// Which of the module's windows the relay found beside it.
inline constexpr uint32_t RELAY_WINDOW_NONE = 0;
inline constexpr uint32_t RELAY_WINDOW_MAIN = 1;      // UIPCMAIN
inline constexpr uint32_t RELAY_WINDOW_FALLBACK = 2;  // FS98MAIN

// An answer's status.
inline constexpr uint32_t RELAY_ANSWER_DELIVERED = 0;  // the simulator answered: reply value, block
inline constexpr uint32_t RELAY_ANSWER_TIMEOUT = 1;    // the simulator did not answer in time
inline constexpr uint32_t RELAY_ANSWER_NO_SIM = 2;     // no simulator, or it went away
inline constexpr uint32_t RELAY_ANSWER_REFUSED = 3;    // the block is not one the relay passes on
inline constexpr uint32_t RELAY_ANSWER_TOO_FAST = 4;   // over the relay's request rate

// Why a request block is refused; `allowed` lets it through.
enum class Relay_Verdict : uint8_t {
  allowed,
  bad_length,       // shorter than the terminator or longer than the block
  bad_record,       // a record id that is neither a read nor a write
  past_block,       // a header or data area that runs past the block
  no_terminator,    // the records do not end with the terminator, or bytes follow it
  forbidden_read,   // a read outside the aircraft and version offsets, or of no bytes
  forbidden_write,  // any write but the 2-byte one to 0x330A
};

// Checks a request block as it came from a client: a walk of read and write records that ends
// with the terminator as its last 4 bytes, every read inside the offsets the chart and the open
// read, the only write the open's 2 bytes at 0x330A. Every size is checked against the block's
// 32768 bytes before it is used.
Relay_Verdict Check_Relay_Block(std::span<const uint8_t> block);

// The length of the queued requests in a client's block, terminator included: the bytes a
// request frame carries. 0 when the walk finds no terminator inside the block.
uint32_t Queued_Length(std::span<const uint8_t> block);

// Sets the data bytes of every read record in an allowed block to 0: the simulator fills them
// in, and nothing a client put there (a whole write record, say) reaches it.
void Zero_Read_Data(std::span<uint8_t> block);

// What the bytes at the front of a connection say as a hello.
enum class Relay_Hello_Read : uint8_t {
  more,       // not all of it has come
  good,       // "ORVR" and this version
  old,        // "ORVR" and another version: a client of another version of the relay
  not_hello,  // anything else
};
Relay_Hello_Read Read_Relay_Hello(std::span<const uint8_t> bytes);

using Relay_Challenge = std::array<uint8_t, RELAY_CHALLENGE_SIZE>;
using Relay_Proof = std::array<uint8_t, RELAY_PROOF_SIZE>;

// The client's answer to a challenge: HMAC-SHA-256 under the key (empty when the relay has
// none) of the hello's 8 bytes followed by the challenge. False when the system's hash failed.
bool Relay_Hello_Proof(const std::string& key, const Relay_Challenge& challenge,
                       Relay_Proof& proof);

// Frames, as bytes ready to send.
std::vector<uint8_t> Relay_Hello();
std::vector<uint8_t> Relay_Challenge_Frame(const Relay_Challenge& challenge);
std::vector<uint8_t> Relay_Request(uint32_t sequence, std::span<const uint8_t> block);
std::vector<uint8_t> Relay_Answer(uint32_t sequence, uint32_t status, uint32_t reply,
                                  std::span<const uint8_t> block);

// Proofs compared in a time that does not depend on where they differ.
bool Same_Proof(const Relay_Proof& a, const Relay_Proof& b);

}  // namespace orv
