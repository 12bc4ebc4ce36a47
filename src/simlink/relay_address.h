// What orvane-relay counts per source address rather than per connection, so that closing and
// opening connections starts nothing afresh: the request rate, the refused blocks and the failed
// hellos. Wrong keys cost a delay that doubles with each failure, during which the address's
// hellos are refused unchecked; an address that sends refused blocks in a stream is held for a
// while. The book keeps a bounded number of addresses and forgets quiet ones.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

namespace orv {

using Relay_Clock = std::chrono::steady_clock;

struct Relay_Limits {
  uint32_t requests_per_second = 25;  // each address's; a chart tick makes 4
  uint32_t connections = 4;           // at once, hellos included
  uint32_t refused_burst = 50;        // refused blocks (less one a second) before a hold
  uint32_t refused_hold_ms = 10000;
  uint32_t first_penalty_ms = 500;  // after the first wrong key; doubles with each one more
  uint32_t max_penalty_ms = 30000;
  uint32_t forget_ms = 600000;  // a quiet address is forgotten after this
  size_t max_addresses = 4096;
};

struct Relay_Address {
  uint32_t connections = 0;
  double tokens = 0;  // requests it may still make now
  Relay_Clock::time_point refilled;
  double refused = 0;  // recent refused blocks, less one a second
  Relay_Clock::time_point refused_at;
  uint32_t failed_hellos = 0;
  Relay_Clock::time_point held_until;  // its hellos are refused until then
  Relay_Clock::time_point last_seen;
  uint64_t requests = 0;
  uint64_t refused_blocks = 0;
};

struct Relay_Address_Book {
  std::map<std::string, Relay_Address> entries;
};

// The address's entry, made when new; a full book first forgets its quietest address.
Relay_Address& Address_Entry(Relay_Address_Book& book, const std::string& host,
                             const Relay_Limits& limits, Relay_Clock::time_point now);

// Takes one request of the address's rate; false when it has used them all for now.
bool Address_Take_Request(Relay_Address& a, const Relay_Limits& limits,
                          Relay_Clock::time_point now);

// Counts a refused block; true when the address is now held for sending too many of them.
bool Address_Refused_Block(Relay_Address& a, const Relay_Limits& limits,
                           Relay_Clock::time_point now);

// Counts a wrong key and holds the address for the grown delay, which it gives (ms).
uint32_t Address_Failed_Hello(Relay_Address& a, const Relay_Limits& limits,
                              Relay_Clock::time_point now);

// A right key: the failures are forgiven.
void Address_Good_Hello(Relay_Address& a);

bool Address_Held(const Relay_Address& a, Relay_Clock::time_point now);

// Forgets the addresses that have no connection, are not held and have been quiet for long.
void Address_Forget_Quiet(Relay_Address_Book& book, const Relay_Limits& limits,
                          Relay_Clock::time_point now);

}  // namespace orv
