#include "simlink/relay_address.h"

#include <algorithm>

namespace orv {

namespace {

double Seconds(Relay_Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

bool Quiet(const Relay_Address& a, const Relay_Limits& limits, Relay_Clock::time_point now) {
  return a.connections == 0 && !Address_Held(a, now) &&
         now - a.last_seen >= std::chrono::milliseconds(limits.forget_ms);
}

}  // namespace

Relay_Address& Address_Entry(Relay_Address_Book& book, const std::string& host,
                             const Relay_Limits& limits, Relay_Clock::time_point now) {
  auto found = book.entries.find(host);
  if (found == book.entries.end()) {
    if (book.entries.size() >= limits.max_addresses) {
      // The longest quiet one without connections goes; a book of busy addresses grows by one.
      auto oldest = book.entries.end();
      for (auto it = book.entries.begin(); it != book.entries.end(); ++it) {
        if (it->second.connections != 0 || Address_Held(it->second, now)) continue;
        if (oldest == book.entries.end() || it->second.last_seen < oldest->second.last_seen) {
          oldest = it;
        }
      }
      if (oldest != book.entries.end()) book.entries.erase(oldest);
    }
    Relay_Address fresh;
    fresh.tokens = limits.requests_per_second;
    fresh.refilled = now;
    fresh.refused_at = now;
    fresh.held_until = now;
    found = book.entries.emplace(host, fresh).first;
  }
  found->second.last_seen = now;
  return found->second;
}

bool Address_Take_Request(Relay_Address& a, const Relay_Limits& limits,
                          Relay_Clock::time_point now) {
  const double rate = limits.requests_per_second;
  a.tokens = std::min(rate, a.tokens + Seconds(now - a.refilled) * rate);
  a.refilled = now;
  a.last_seen = now;
  ++a.requests;
  if (a.tokens < 1.0) return false;
  a.tokens -= 1.0;
  return true;
}

bool Address_Refused_Block(Relay_Address& a, const Relay_Limits& limits,
                           Relay_Clock::time_point now) {
  ++a.refused_blocks;
  a.refused = std::max(0.0, a.refused - Seconds(now - a.refused_at)) + 1.0;
  a.refused_at = now;
  if (a.refused <= limits.refused_burst) return false;
  a.refused = 0;
  a.held_until = std::max(a.held_until, now + std::chrono::milliseconds(limits.refused_hold_ms));
  return true;
}

uint32_t Address_Failed_Hello(Relay_Address& a, const Relay_Limits& limits,
                              Relay_Clock::time_point now) {
  ++a.failed_hellos;
  uint64_t delay = limits.first_penalty_ms;
  for (uint32_t i = 1; i < a.failed_hellos && delay < limits.max_penalty_ms; ++i) delay *= 2;
  delay = std::min<uint64_t>(delay, limits.max_penalty_ms);
  a.held_until = std::max(a.held_until, now + std::chrono::milliseconds(delay));
  return static_cast<uint32_t>(delay);
}

void Address_Good_Hello(Relay_Address& a) {
  a.failed_hellos = 0;
}

bool Address_Held(const Relay_Address& a, Relay_Clock::time_point now) {
  return now < a.held_until;
}

void Address_Forget_Quiet(Relay_Address_Book& book, const Relay_Limits& limits,
                          Relay_Clock::time_point now) {
  std::erase_if(book.entries, [&](const auto& e) { return Quiet(e.second, limits, now); });
}

}  // namespace orv
