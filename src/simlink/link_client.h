// The client side of the FSUIPC interface: it finds the module inside the simulator, sets up the
// shared request block, queues read and write requests in it, hands it over with one message and
// copies the replies back to the callers' variables.
//
// Every call reports through a Boolean and a result code; nothing here shows a message. All of
// the link's state lives in one Link_State that its owner (the chart window, the tool) keeps.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "simlink/link_block.h"
#include "simlink/link_transport.h"

namespace orv {

// Result codes of the link calls.
inline constexpr int32_t LINK_OK = 0;
inline constexpr int32_t LINK_ALREADY_OPEN = 1;
inline constexpr int32_t LINK_NO_SIM_WINDOW = 2;
inline constexpr int32_t LINK_REGISTER_FAILED = 3;
inline constexpr int32_t LINK_ATOM_FAILED = 4;
inline constexpr int32_t LINK_MAPPING_FAILED = 5;
inline constexpr int32_t LINK_VIEW_FAILED = 6;
inline constexpr int32_t LINK_BAD_VERSION = 7;
inline constexpr int32_t LINK_WRONG_SIM = 8;
inline constexpr int32_t LINK_NOT_OPEN = 9;
inline constexpr int32_t LINK_NOTHING_QUEUED = 10;
inline constexpr int32_t LINK_TIMEOUT = 11;
inline constexpr int32_t LINK_SEND_FAILED = 12;
inline constexpr int32_t LINK_BAD_REPLY = 13;
inline constexpr int32_t LINK_NOT_READY = 14;
inline constexpr int32_t LINK_TOO_BIG = 15;

// The code's name, for example "LINK_NO_SIM_WINDOW"; "LINK_UNKNOWN" for any other value.
const char* Link_Result_Name(int32_t code);

// Interface offsets of the version check made at open.
inline constexpr int32_t LINK_OFS_IFACE_VERSION = 0x3304;
inline constexpr int32_t LINK_OFS_SIM_VERSION = 0x3308;
inline constexpr int32_t LINK_OFS_LIB_VERSION = 0x330A;

inline constexpr int32_t LINK_MIN_IFACE_VERSION = 0x19980005;
inline constexpr uint32_t LINK_SIM_MAGIC = 0xFADE0000;

// The module's window classes, its message and the waits of the link.
inline constexpr const char* LINK_CLASS_MAIN = "UIPCMAIN";
inline constexpr const char* LINK_CLASS_FALLBACK = "FS98MAIN";
inline constexpr const char* LINK_MESSAGE_NAME = "FSASMLIB:IPC";
inline constexpr uint32_t LINK_ANSWER_TIMEOUT_MS = 2000;
inline constexpr uint32_t LINK_RETRY_WAIT_MS = 100;
inline constexpr int LINK_SEND_RETRIES = 10;  // after the first attempt
inline constexpr int LINK_VERSION_ATTEMPTS = 5;
inline constexpr size_t LINK_NAME_FIELD = 24;  // the block name with its terminating zero

// Waits the given number of milliseconds. The link waits only through this, so a test can
// count the waits instead of spending them.
using Link_Sleeper = std::function<void(uint32_t ms)>;
void Link_Sleep_Ms(uint32_t ms);

// A caller's variable that a queued read delivers to. The block carries the variable's token
// (its index in Link_State::dests plus one), never its address: a 32-bit field cannot hold an
// address of a 64-bit process, and a token is checked before anything is written through it.
struct Link_Dest {
  void* dest = nullptr;
  uint32_t size = 0;
};

// The window, mapping and block are held at the platform's pointer width, and link_next as an
// offset into the block, so that every position can be checked against the block's size.
struct Link_State {
  int32_t link_iface_version = 0;  // read at open from 0x3304
  int32_t link_sim_version = 0;    // read at open from 0x3308; after the check its low 16 bits
  int32_t link_lib_version = 0;    // written to 0x330A at open; never assigned
  uintptr_t link_hwnd = 0;         // the module's window
  uint32_t link_msg = 0;           // the registered message
  int32_t link_atom = 0;           // the block's atom, sign-extended from 16 bits
  uintptr_t link_map = 0;          // the mapping handle
  uint8_t* link_view = nullptr;    // the block; nullptr while the link is closed
  uint32_t link_next = 0;          // block offset of the next request or reply

  std::unique_ptr<Link_Transport> transport;
  Link_Sleeper sleep = Link_Sleep_Ms;
  uint32_t answer_timeout_ms = LINK_ANSWER_TIMEOUT_MS;
  std::vector<Link_Dest> dests;  // the destinations of the reads queued since the last process
};

// Forgets the window, message, atom, mapping and block without releasing them.
void Link_Init(Link_State& link);

// Opens the link to the module. sim_code is the simulator code the module must report (6 for
// FS2002), or 0 for any.
bool Link_Open(Link_State& link, int32_t sim_code, int32_t& result);

// Releases everything the link holds.
void Link_Close(Link_State& link);

// Queues a read of `size` bytes at interface offset `offset`; they arrive in dest (which must
// hold `size` bytes) during the next Link_Process. A null dest reads without delivering.
bool Link_Read(Link_State& link, int32_t offset, int32_t size, void* dest, int32_t& result);

// Queues a write of `size` bytes at interface offset `offset`, copied from src now.
bool Link_Write(Link_State& link, int32_t offset, int32_t size, const void* src, int32_t& result);

// Sends everything queued and delivers the replies.
bool Link_Process(Link_State& link, int32_t& result);

}  // namespace orv
