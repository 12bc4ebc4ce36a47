#include "simlink/link_client.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <span>
#include <thread>

namespace orv {

namespace {

std::span<uint8_t> Block(Link_State& link) {
  return {link.link_view, LINK_BLOCK_SIZE};
}

// The room a request of `header` bytes and `size` data bytes needs at the end of the queue,
// with the terminator, or false when it does not fit below the queue limit. Negative sizes
// never fit.
bool Request_Fits(const Link_State& link, uint32_t header, int32_t size) {
  if (size < 0) return false;
  const int64_t end = int64_t{link.link_next} + LINK_TERMINATOR + header + size;
  return end <= LINK_QUEUE_LIMIT;
}

// Walks the module's answer from the start of the block, copying each read's data to its
// destination. Ends at the terminator; an unknown record, or a header or data area that would
// run past the block, ends it as a bad reply. Each field is read once into a local, so a module
// that changes the block meanwhile cannot move a write outside what was checked.
bool Walk_Replies(Link_State& link, int32_t& result) {
  const std::span<const uint8_t> block = Block(link);
  size_t at = 0;
  bool ended = false;
  while (Block_Fits(block.size(), at, 4)) {
    const uint16_t id = static_cast<uint16_t>(Block_Get32(block, at) & 0xFFFFu);
    if (id == LINK_ID_END) {
      ended = true;
      break;
    }
    uint32_t header = 0;
    if (id == LINK_ID_READ) {
      header = LINK_READ_HEADER;
    } else if (id == LINK_ID_WRITE) {
      header = LINK_WRITE_HEADER;
    } else {
      break;
    }
    if (!Block_Fits(block.size(), at, header)) break;
    const uint32_t count = Block_Get32(block, at + 8);
    const uint32_t token = id == LINK_ID_READ ? Block_Get32(block, at + 12) : 0;
    at += header;
    if (!Block_Fits(block.size(), at, count)) break;
    if (token != 0 && count != 0 && token <= link.dests.size()) {
      const Link_Dest& d = link.dests[token - 1];
      const uint32_t n = count < d.size ? count : d.size;
      if (d.dest != nullptr && n != 0) std::memcpy(d.dest, block.data() + at, n);
    }
    at += count;
  }
  link.link_next = 0;
  link.dests.clear();
  result = ended ? LINK_OK : LINK_BAD_REPLY;
  return ended;
}

// The block's name: the message text, the process id and the attempt number 1, in hexadecimal.
std::array<char, LINK_NAME_FIELD> Block_Name(uint32_t process_id) {
  std::array<char, LINK_NAME_FIELD> name{};
  std::snprintf(name.data(), name.size(), "%s:%X:%X", LINK_MESSAGE_NAME, process_id, 1u);
  return name;
}

// Steps 1 to 8 of the open: the module's window, the message, the atom and the block.
bool Attach_Block(Link_State& link, bool& fallback, int32_t& result) {
  Link_Transport* t = link.transport.get();
  fallback = false;
  link.link_hwnd = t != nullptr ? t->Find_Window(LINK_CLASS_MAIN) : 0;
  if (link.link_hwnd == 0 && t != nullptr) {
    link.link_hwnd = t->Find_Window(LINK_CLASS_FALLBACK);
    fallback = true;
  }
  if (link.link_hwnd == 0) {
    result = LINK_NO_SIM_WINDOW;
    return false;
  }
  link.link_msg = t->Register_Message(LINK_MESSAGE_NAME);
  if (link.link_msg == 0) {
    result = LINK_REGISTER_FAILED;
    return false;
  }
  const std::array<char, LINK_NAME_FIELD> name = Block_Name(t->Process_Id());
  link.link_atom = static_cast<int16_t>(t->Add_Atom(name.data()));
  if (link.link_atom == 0) {
    result = LINK_ATOM_FAILED;
    Link_Close(link);
    return false;
  }
  const Link_Mapping mapping = t->Create_Mapping(name.data(), LINK_BLOCK_SIZE);
  link.link_map = mapping.handle;
  if (mapping.handle == 0 || mapping.already_existed) {
    result = LINK_MAPPING_FAILED;
    Link_Close(link);
    return false;
  }
  link.link_view = t->Map_View(link.link_map, LINK_BLOCK_SIZE);
  link.link_next = 0;
  if (link.link_view == nullptr) {
    result = LINK_VIEW_FAILED;
    Link_Close(link);
    return false;
  }
  return true;
}

// Step 9: asks for the version words until both are set, at most five times.
bool Read_Versions(Link_State& link, int32_t& result) {
  for (int attempt = 0; attempt < LINK_VERSION_ATTEMPTS &&
                        (link.link_iface_version == 0 || link.link_sim_version == 0);
       ++attempt) {
    if (!Link_Read(link, LINK_OFS_IFACE_VERSION, 4, &link.link_iface_version, result) ||
        !Link_Read(link, LINK_OFS_SIM_VERSION, 4, &link.link_sim_version, result)) {
      return false;
    }
    if (!Link_Write(link, LINK_OFS_LIB_VERSION, 2, &link.link_lib_version, result) &&
        attempt == 0) {
      return false;
    }
    if (!Link_Process(link, result)) return false;
    if (link.sleep) link.sleep(LINK_RETRY_WAIT_MS);
  }
  return true;
}

}  // namespace

const char* Link_Result_Name(int32_t code) {
  static constexpr std::array<const char*, 16> kNames = {
      "LINK_OK",          "LINK_ALREADY_OPEN",   "LINK_NO_SIM_WINDOW",  "LINK_REGISTER_FAILED",
      "LINK_ATOM_FAILED", "LINK_MAPPING_FAILED", "LINK_VIEW_FAILED",    "LINK_BAD_VERSION",
      "LINK_WRONG_SIM",   "LINK_NOT_OPEN",       "LINK_NOTHING_QUEUED", "LINK_TIMEOUT",
      "LINK_SEND_FAILED", "LINK_BAD_REPLY",      "LINK_NOT_READY",      "LINK_TOO_BIG"};
  if (code < 0 || code >= static_cast<int32_t>(kNames.size())) return "LINK_UNKNOWN";
  return kNames[static_cast<size_t>(code)];
}

void Link_Sleep_Ms(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Link_Init(Link_State& link) {
  link.link_hwnd = 0;
  link.link_msg = 0;
  link.link_atom = 0;
  link.link_map = 0;
  link.link_view = nullptr;
  link.link_next = 0;
  link.dests.clear();
}

bool Link_Open(Link_State& link, int32_t sim_code, int32_t& result) {
  // An open link keeps its version words: they describe the module it is talking to.
  if (link.link_view != nullptr) {
    result = LINK_ALREADY_OPEN;
    return false;
  }
  link.link_iface_version = 0;
  link.link_sim_version = 0;
  bool fallback = false;
  if (!Attach_Block(link, fallback, result)) return false;
  if (!Read_Versions(link, result)) {
    Link_Close(link);
    return false;
  }
  const uint32_t sim_word = static_cast<uint32_t>(link.link_sim_version);
  if (link.link_iface_version < LINK_MIN_IFACE_VERSION ||
      (sim_word & 0xFFFF0000u) != LINK_SIM_MAGIC) {
    result = fallback ? LINK_NOT_READY : LINK_BAD_VERSION;
    Link_Close(link);
    return false;
  }
  link.link_sim_version = static_cast<int32_t>(sim_word & 0xFFFFu);
  if (sim_code != 0 && sim_code != link.link_sim_version) {
    result = LINK_WRONG_SIM;
    Link_Close(link);
    return false;
  }
  result = LINK_OK;
  return true;
}

void Link_Close(Link_State& link) {
  Link_Transport* t = link.transport.get();
  if (link.link_hwnd != 0 && t != nullptr) t->Release_Window(link.link_hwnd);
  link.link_hwnd = 0;
  link.link_msg = 0;
  link.link_next = 0;
  link.dests.clear();
  if (link.link_atom != 0) {
    if (t != nullptr) t->Delete_Atom(static_cast<uint16_t>(link.link_atom & 0xFFFF));
    link.link_atom = 0;
  }
  if (link.link_view != nullptr) {
    if (t != nullptr) t->Unmap_View(link.link_view, LINK_BLOCK_SIZE);
    link.link_view = nullptr;
  }
  if (link.link_map != 0) {
    if (t != nullptr) t->Close_Mapping(link.link_map);
    link.link_map = 0;
  }
}

bool Link_Read(Link_State& link, int32_t offset, int32_t size, void* dest, int32_t& result) {
  if (link.link_view == nullptr) {
    result = LINK_NOT_OPEN;
    return false;
  }
  if (!Request_Fits(link, LINK_READ_HEADER, size)) {
    result = LINK_TOO_BIG;
    return false;
  }
  uint32_t token = 0;
  if (dest != nullptr) {
    link.dests.push_back({dest, static_cast<uint32_t>(size)});
    token = static_cast<uint32_t>(link.dests.size());
  }
  const std::span<uint8_t> block = Block(link);
  const uint32_t at = link.link_next;
  Block_Put32(block, at, LINK_ID_READ);
  Block_Put32(block, at + 4, static_cast<uint32_t>(offset));
  Block_Put32(block, at + 8, static_cast<uint32_t>(size));
  Block_Put32(block, at + 12, token);
  std::memset(block.data() + at + LINK_READ_HEADER, 0, static_cast<size_t>(size));
  link.link_next = at + LINK_READ_HEADER + static_cast<uint32_t>(size);
  result = LINK_OK;
  return true;
}

bool Link_Write(Link_State& link, int32_t offset, int32_t size, const void* src, int32_t& result) {
  if (link.link_view == nullptr) {
    result = LINK_NOT_OPEN;
    return false;
  }
  if (!Request_Fits(link, LINK_WRITE_HEADER, size)) {
    result = LINK_TOO_BIG;
    return false;
  }
  const std::span<uint8_t> block = Block(link);
  const uint32_t at = link.link_next;
  Block_Put32(block, at, LINK_ID_WRITE);
  Block_Put32(block, at + 4, static_cast<uint32_t>(offset));
  Block_Put32(block, at + 8, static_cast<uint32_t>(size));
  uint8_t* data = block.data() + at + LINK_WRITE_HEADER;
  if (src != nullptr) {
    std::memcpy(data, src, static_cast<size_t>(size));
  } else {
    std::memset(data, 0, static_cast<size_t>(size));
  }
  link.link_next = at + LINK_WRITE_HEADER + static_cast<uint32_t>(size);
  result = LINK_OK;
  return true;
}

bool Link_Process(Link_State& link, int32_t& result) {
  if (link.link_view == nullptr) {
    result = LINK_NOT_OPEN;
    return false;
  }
  if (link.link_next == 0) {
    result = LINK_NOTHING_QUEUED;
    return false;
  }
  Block_Put32(Block(link), link.link_next, LINK_ID_END);
  link.link_next = 0;

  Link_Send_Result sent;
  for (int attempt = 0; attempt <= LINK_SEND_RETRIES; ++attempt) {
    if (attempt > 0 && link.sleep) link.sleep(LINK_RETRY_WAIT_MS);
    sent = link.transport->Send_Message(link.link_hwnd, link.link_msg, link.link_atom, 0,
                                        link.answer_timeout_ms);
    if (sent.delivered) break;
  }
  if (!sent.delivered) {
    link.dests.clear();
    result = sent.system_error != 0 ? LINK_SEND_FAILED : LINK_TIMEOUT;
    return false;
  }
  if (sent.reply != 1) {
    link.dests.clear();
    result = LINK_BAD_REPLY;
    return false;
  }
  return Walk_Replies(link, result);
}

}  // namespace orv
