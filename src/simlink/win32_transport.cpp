#ifdef _WIN32

#include "simlink/win32_transport.h"

#include <windows.h>

namespace orv {

std::unique_ptr<Link_Transport> Make_Platform_Transport() {
  return std::make_unique<Win32_Transport>();
}

uintptr_t Win32_Transport::Find_Window(const char* class_name) {
  return reinterpret_cast<uintptr_t>(FindWindowExA(nullptr, nullptr, class_name, nullptr));
}

void Win32_Transport::Release_Window(uintptr_t) {}

uint32_t Win32_Transport::Register_Message(const char* text) {
  return RegisterWindowMessageA(text);
}

uint16_t Win32_Transport::Add_Atom(const char* text) {
  return GlobalAddAtomA(text);
}

void Win32_Transport::Delete_Atom(uint16_t atom) {
  GlobalDeleteAtom(atom);
}

Link_Mapping Win32_Transport::Create_Mapping(const char* name, uint32_t size) {
  // Backed by the paging file; the module opens it by name. The error is cleared first so that
  // an error left by an earlier call is not taken for "already existed".
  SetLastError(0);
  const HANDLE h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
  const bool existed = h != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
  return {reinterpret_cast<uintptr_t>(h), existed};
}

uint8_t* Win32_Transport::Map_View(uintptr_t mapping, uint32_t) {
  return static_cast<uint8_t*>(
      MapViewOfFile(reinterpret_cast<HANDLE>(mapping), FILE_MAP_WRITE, 0, 0, 0));
}

void Win32_Transport::Unmap_View(uint8_t* view, uint32_t) {
  UnmapViewOfFile(view);
}

void Win32_Transport::Close_Mapping(uintptr_t mapping) {
  CloseHandle(reinterpret_cast<HANDLE>(mapping));
}

Link_Send_Result Win32_Transport::Send_Message(uintptr_t window, uint32_t msg, int32_t wparam,
                                               int32_t lparam, uint32_t timeout_ms) {
  DWORD_PTR reply = 0;
  SetLastError(0);
  const LRESULT sent = SendMessageTimeoutA(
      reinterpret_cast<HWND>(window), msg, static_cast<WPARAM>(static_cast<LONG_PTR>(wparam)),
      static_cast<LPARAM>(lparam), SMTO_BLOCK, timeout_ms, &reply);
  if (sent != 0) return {true, static_cast<uint32_t>(reply), 0};
  // The system reports a wait that ran out as ERROR_TIMEOUT: for the link that is a window that
  // did not answer in time, not a failed send.
  const DWORD error = GetLastError();
  return {false, 0, error == ERROR_TIMEOUT ? 0u : static_cast<uint32_t>(error)};
}

bool Win32_Transport::Window_Alive(uintptr_t window) {
  return window != 0 && IsWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

uint32_t Win32_Transport::Process_Id() {
  return GetCurrentProcessId();
}

}  // namespace orv

#endif  // _WIN32
