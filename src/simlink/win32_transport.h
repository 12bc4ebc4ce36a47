// The simulator link on Windows: the module's own window calls.
#pragma once

#ifdef _WIN32

#include "simlink/link_transport.h"

namespace orv {

class Win32_Transport final : public Link_Transport {
 public:
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
};

}  // namespace orv

#endif  // _WIN32
