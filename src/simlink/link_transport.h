// The platform side of the simulator link: finding the interface module, naming and mapping the
// shared block, and handing the block over with one message. On Windows these are the window
// calls the module was built for; on Linux a local socket stands in for the window (see
// linux_transport.h). Tests replace the whole transport with a fake.
#pragma once

#include <cstdint>
#include <memory>

namespace orv {

// The outcome of handing the block to the module once.
struct Link_Send_Result {
  bool delivered = false;     // the module answered in time
  uint32_t reply = 0;         // its answer; 1 means the requests were answered in place
  uint32_t system_error = 0;  // when not delivered: the system's error, 0 when it gave none
};

// A named block created for the link.
struct Link_Mapping {
  uintptr_t handle = 0;          // 0 when it could not be created
  bool already_existed = false;  // a block of that name was there before
};

class Link_Transport {
 public:
  virtual ~Link_Transport() = default;

  // The module's window of the given class, 0 when there is none.
  virtual uintptr_t Find_Window(const char* class_name) = 0;
  // Lets go of a window found before (nothing to do for a real window).
  virtual void Release_Window(uintptr_t window) = 0;
  // The number of the named message, 0 on failure.
  virtual uint32_t Register_Message(const char* text) = 0;
  // A global atom for the text, 0 on failure; and its removal.
  virtual uint16_t Add_Atom(const char* text) = 0;
  virtual void Delete_Atom(uint16_t atom) = 0;
  // A shared block of `size` bytes with the given name.
  virtual Link_Mapping Create_Mapping(const char* name, uint32_t size) = 0;
  // The block's bytes in this process, nullptr on failure; and their release.
  virtual uint8_t* Map_View(uintptr_t mapping, uint32_t size) = 0;
  virtual void Unmap_View(uint8_t* view, uint32_t size) = 0;
  virtual void Close_Mapping(uintptr_t mapping) = 0;
  // Sends `msg` to `window` and waits at most timeout_ms for the answer.
  virtual Link_Send_Result Send_Message(uintptr_t window, uint32_t msg, int32_t wparam,
                                        int32_t lparam, uint32_t timeout_ms) = 0;
  virtual uint32_t Process_Id() = 0;
  // Whether a window found before is still there, asked without waiting. A transport that
  // cannot tell says yes: the next send finds out.
  virtual bool Window_Alive(uintptr_t window) { return window != 0; }
};

// The transport of the platform the program was built for.
std::unique_ptr<Link_Transport> Make_Platform_Transport();

}  // namespace orv
