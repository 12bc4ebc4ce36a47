// The stand-in simulator window (tools/win_sim_window.exe of the same build) as its own process,
// for tests that reach it over the window messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

namespace orv::testing {

// tools\win_sim_window.exe of the same build, found from this program's own folder.
inline std::string Sim_Window_Exe() {
  std::array<char, MAX_PATH> self{};
  const DWORD n = GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size()));
  std::string dir(self.data(), n);
  dir.erase(dir.find_last_of("\\/") + 1);
  for (const std::string& candidate :
       {dir + "win_sim_window.exe", dir + "..\\tools\\win_sim_window.exe"}) {
    if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  }
  return {};
}

// The stand-in simulator as a child process, ended when the test is done with it.
class Sim_Window {
 public:
  // Starts it with the given options and waits for its "ready" line.
  explicit Sim_Window(const std::string& options) {
    const std::string exe = Sim_Window_Exe();
    if (exe.empty()) return;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end_, &write_end, &sa, 0)) return;
    SetHandleInformation(read_end_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write_end;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + exe + "\" --max-seconds 120 " + options;
    const bool started = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &si, &pi_) != 0;
    CloseHandle(write_end);
    if (!started) return;
    ready_ = Read_Line().find("ready") != std::string::npos;
  }

  ~Sim_Window() {
    Stop();
    if (read_end_ != nullptr) CloseHandle(read_end_);
  }

  Sim_Window(const Sim_Window&) = delete;
  Sim_Window& operator=(const Sim_Window&) = delete;

  bool ready() const { return ready_; }

  // Ends the simulator: its window goes away.
  void Stop() {
    if (pi_.hProcess != nullptr) {
      TerminateProcess(pi_.hProcess, 0);
      WaitForSingleObject(pi_.hProcess, INFINITE);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
      pi_ = PROCESS_INFORMATION{};
    }
  }

 private:
  // One line of the child's stdout; empty when it ends first.
  std::string Read_Line() {
    std::string line;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(read_end_, &c, 1, &got, nullptr) && got == 1 && c != '\n') line.push_back(c);
    return line;
  }

  HANDLE read_end_ = nullptr;
  PROCESS_INFORMATION pi_{};
  bool ready_ = false;
};

// Starts the simulator with the options; the test skips when it was not built.
#define START_SIM(name, options)                                                                \
  ::orv::testing::Sim_Window name(options);                                                     \
  if (::orv::testing::Sim_Window_Exe().empty()) GTEST_SKIP() << "win_sim_window.exe not built"; \
  ASSERT_TRUE(name.ready())

}  // namespace orv::testing
