// The simulator link on Linux. The simulator side listens on a Unix-domain stream socket named
// after the module's window class (UIPCMAIN, or FS98MAIN) in the user's runtime folder; a
// connection to it stands for the window. The request block is a 32768-byte memfd named with the
// block's name. Every value on the wire is 4 bytes little-endian:
//   - the first message of a connection is the atom with the block's descriptor attached; the
//     simulator side maps the block and answers 1;
//   - every later message is the atom alone; the simulator side answers the requests in the
//     block in place and answers the reply value (1 for success).
// No answer in time is a failed send without a system error; a broken connection is a failed
// send with one. Answers that come after their message's wait ran out are taken off before the
// next message's own (answer_pairing.h). Every call waits at most its time-out: connecting to
// a simulator that never accepts gives up like finding no socket at all. Closing the connection
// releases the block on both sides.
#pragma once

#include <cstdint>
#include <filesystem>

#include "simlink/answer_pairing.h"
#include "simlink/link_client.h"
#include "simlink/link_transport.h"

namespace orv {

// The folder of the simulator's sockets: xdg_runtime_dir when it is set and not empty, else
// tmp_base/orvane-<uid>, made with mode 0700 when missing. Empty when that folder cannot be
// made, or is not a private folder of this user (another user could listen there).
std::filesystem::path Link_Socket_Dir(const char* xdg_runtime_dir,
                                      const std::filesystem::path& tmp_base = "/tmp");

// The same from $XDG_RUNTIME_DIR.
std::filesystem::path Link_Socket_Dir();

struct Linux_Transport_Options {
  std::filesystem::path socket_dir;  // empty: Link_Socket_Dir()
  // The longest wait of the connect, and of the handing over of the block.
  uint32_t open_timeout_ms = LINK_ANSWER_TIMEOUT_MS;
};

class Linux_Transport final : public Link_Transport {
 public:
  explicit Linux_Transport(Linux_Transport_Options options = {});
  ~Linux_Transport() override;
  Linux_Transport(const Linux_Transport&) = delete;
  Linux_Transport& operator=(const Linux_Transport&) = delete;

  uintptr_t Find_Window(const char* class_name) override;
  void Release_Window(uintptr_t window) override;
  uint32_t Register_Message(const char* text) override;
  uint16_t Add_Atom(const char* text) override;
  void Delete_Atom(uint16_t atom) override;
  Link_Mapping Create_Mapping(const char* name, uint32_t size) override;
  uint8_t* Map_View(uintptr_t mapping, uint32_t size) override;
  void Unmap_View(uint8_t* view, uint32_t size) override;
  void Close_Mapping(uintptr_t mapping) override;
  Link_Send_Result Send_Message(uintptr_t window, uint32_t msg, int32_t wparam, int32_t lparam,
                                uint32_t timeout_ms) override;
  uint32_t Process_Id() override;
  bool Window_Alive(uintptr_t window) override;

 private:
  void Close_Connection();

  Linux_Transport_Options options_;
  int conn_fd_ = -1;   // the connection that stands for the module's window
  int block_fd_ = -1;  // the memfd of the block
  uint8_t* view_ = nullptr;
  uint32_t view_size_ = 0;
  uint16_t atom_ = 0;  // the last atom handed out; sent with the block's descriptor
  uint16_t next_atom_ = 0xC000;
  Answer_Pairing pairing_;  // of the answers on conn_fd_
};

}  // namespace orv
