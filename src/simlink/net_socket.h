// TCP sockets for the link across the network, the same on Linux and on Windows (Winsock). Every
// call waits at most the time it is given; sockets are non-blocking underneath.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simlink/socket_io.h"

namespace orv {

using Net_Fd = intptr_t;
inline constexpr Net_Fd NET_NONE = -1;

// A host (name, IPv4 or IPv6 address) and a port.
struct Net_Address {
  std::string host;
  uint16_t port = 0;
};

// Reads "HOST:PORT" or "[IPV6]:PORT". False, with out unchanged, for anything else.
bool Parse_Net_Address(std::string_view text, Net_Address& out);
std::string Net_Address_Text(const Net_Address& address);

// Starts the platform's socket library once per process (Winsock); true when it is usable.
bool Net_Startup();

// Connects to the address within timeout_ms; a refused or unreachable address is broken, no
// answer in time a time-out. Gives the connected socket in fd, or NET_NONE.
Io_Result Net_Connect(const Net_Address& address, int64_t timeout_ms, Net_Fd& fd);

// A listening socket on the address, or NET_NONE with the system's error.
Net_Fd Net_Listen(const Net_Address& address, int& error);

// The port a socket is bound to, 0 when unknown (a listener asked for port 0 gets one).
uint16_t Net_Local_Port(Net_Fd fd);

// The next waiting connection of a listener, non-blocking, or NET_NONE. Gives the peer's
// numeric address in `peer`, and in `exhausted` whether the accept failed for lack of
// descriptors or memory (the listener then stays readable: the caller must wait before the
// next try).
Net_Fd Net_Accept(Net_Fd listener, std::string& peer, bool& exhausted);

// Sends what the socket takes now, without waiting; the bytes that went out in count.
Io_Result Net_Send_Now(Net_Fd fd, const uint8_t* data, size_t n);

// Two loopback datagram sockets: a byte sent on `out` makes `in` readable, for waking a thread
// that polls sockets. False when they could not be made.
bool Net_Wake_Pair(Net_Fd& in, Net_Fd& out);
void Net_Wake(Net_Fd out);
void Net_Drain(Net_Fd in);

// Sends all n bytes within timeout_ms.
Io_Result Net_Send_All(Net_Fd fd, const uint8_t* data, size_t n, int64_t timeout_ms);

// Receives what has come, up to n bytes, waiting at most timeout_ms for the first of them. A
// peer that has closed is a broken connection.
Io_Result Net_Recv_Some(Net_Fd fd, uint8_t* data, size_t n, int64_t timeout_ms);

void Net_Close(Net_Fd fd);

// Waits at most timeout_ms until one of the sockets can be read (or has closed). Gives for each
// whether it is ready; false when the wait itself failed.
bool Net_Wait_Readable(const std::vector<Net_Fd>& fds, int timeout_ms, std::vector<bool>& ready);

// One socket of a wait for reading or writing.
struct Net_Poll {
  Net_Fd fd = NET_NONE;
  bool want_write = false;
  bool readable = false;  // or closed, or failed
  bool writable = false;
};

// Waits at most timeout_ms until one of the sockets is ready as asked; false when the wait
// itself failed.
bool Net_Wait(std::vector<Net_Poll>& polls, int timeout_ms);

}  // namespace orv
