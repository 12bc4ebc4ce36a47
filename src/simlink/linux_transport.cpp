#include "simlink/linux_transport.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>

#include "simlink/link_block.h"
#include "simlink/socket_io.h"

namespace orv {

namespace {

// Any non-zero number: on this platform the message is the connection itself.
constexpr uint32_t kMessageNumber = 0xC0DE;

std::array<uint8_t, 4> Le32(uint32_t value) {
  std::array<uint8_t, 4> bytes{};
  Block_Put32(bytes, 0, value);
  return bytes;
}

// What is left of a wait of timeout_ms that began at start.
int64_t Ms_Left(std::chrono::steady_clock::time_point start, uint32_t timeout_ms) {
  const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
  return spent < timeout_ms ? timeout_ms - spent : 0;
}

// A private folder of this user: a real folder (not a link), ours, closed to everyone else.
bool Is_Private_Dir(const std::filesystem::path& dir) {
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

}  // namespace

std::filesystem::path Link_Socket_Dir(const char* xdg_runtime_dir,
                                      const std::filesystem::path& tmp_base) {
  if (xdg_runtime_dir != nullptr && xdg_runtime_dir[0] != '\0') return xdg_runtime_dir;
  const std::filesystem::path dir = tmp_base / ("orvane-" + std::to_string(::getuid()));
  if (::mkdir(dir.c_str(), 0700) == 0) {
    // The umask may have taken bits away; the owner needs all three.
    if (::chmod(dir.c_str(), 0700) != 0) return {};
  } else if (errno != EEXIST) {
    return {};
  }
  return Is_Private_Dir(dir) ? dir : std::filesystem::path{};
}

std::filesystem::path Link_Socket_Dir() {
  return Link_Socket_Dir(std::getenv("XDG_RUNTIME_DIR"));
}

std::unique_ptr<Link_Transport> Make_Platform_Transport() {
  return std::make_unique<Linux_Transport>();
}

Linux_Transport::Linux_Transport(Linux_Transport_Options options) : options_(std::move(options)) {}

Linux_Transport::~Linux_Transport() {
  if (view_ != nullptr) ::munmap(view_, view_size_);
  if (block_fd_ >= 0) ::close(block_fd_);
  Close_Connection();
}

void Linux_Transport::Close_Connection() {
  if (conn_fd_ >= 0) ::close(conn_fd_);
  conn_fd_ = -1;
  pairing_ = {};
}

uintptr_t Linux_Transport::Find_Window(const char* class_name) {
  Close_Connection();
  const std::filesystem::path dir =
      options_.socket_dir.empty() ? Link_Socket_Dir() : options_.socket_dir;
  if (dir.empty()) return 0;
  int fd = -1;
  if (Connect_Local((dir / class_name).string(), options_.open_timeout_ms, fd).status !=
      Io_Result::ok) {
    return 0;
  }
  conn_fd_ = fd;
  return static_cast<uintptr_t>(fd) + 1;
}

void Linux_Transport::Release_Window(uintptr_t window) {
  if (conn_fd_ >= 0 && window == static_cast<uintptr_t>(conn_fd_) + 1) Close_Connection();
}

uint32_t Linux_Transport::Register_Message(const char*) {
  return kMessageNumber;
}

uint16_t Linux_Transport::Add_Atom(const char*) {
  atom_ = next_atom_;
  next_atom_ = next_atom_ == 0xFFFF ? 0xC000 : static_cast<uint16_t>(next_atom_ + 1);
  return atom_;
}

void Linux_Transport::Delete_Atom(uint16_t) {}

Link_Mapping Linux_Transport::Create_Mapping(const char* name, uint32_t size) {
  if (conn_fd_ < 0 || block_fd_ >= 0) return {};
  const int fd = ::memfd_create(name, MFD_CLOEXEC);
  if (fd < 0) return {};
  // The simulator side maps the block as soon as it has it, so it gets it at full size.
  const std::array<uint8_t, 4> atom = Le32(static_cast<uint32_t>(static_cast<int16_t>(atom_)));
  const auto start = std::chrono::steady_clock::now();
  uint32_t answer = 0;
  const bool ok =
      ::ftruncate(fd, size) == 0 &&
      Send_With_Descriptor(conn_fd_, atom.data(), atom.size(), fd, options_.open_timeout_ms)
              .status == Io_Result::ok &&
      Await_Answer(pairing_, conn_fd_, Ms_Left(start, options_.open_timeout_ms), answer).status ==
          Io_Result::ok &&
      answer == 1;
  if (!ok) {
    ::close(fd);
    return {};
  }
  block_fd_ = fd;
  return {static_cast<uintptr_t>(fd) + 1, false};
}

uint8_t* Linux_Transport::Map_View(uintptr_t mapping, uint32_t size) {
  if (block_fd_ < 0 || mapping != static_cast<uintptr_t>(block_fd_) + 1 || view_ != nullptr) {
    return nullptr;
  }
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, block_fd_, 0);
  if (p == MAP_FAILED) return nullptr;
  view_ = static_cast<uint8_t*>(p);
  view_size_ = size;
  return view_;
}

void Linux_Transport::Unmap_View(uint8_t* view, uint32_t) {
  if (view == nullptr || view != view_) return;
  ::munmap(view_, view_size_);
  view_ = nullptr;
  view_size_ = 0;
}

void Linux_Transport::Close_Mapping(uintptr_t mapping) {
  if (block_fd_ < 0 || mapping != static_cast<uintptr_t>(block_fd_) + 1) return;
  ::close(block_fd_);
  block_fd_ = -1;
}

Link_Send_Result Linux_Transport::Send_Message(uintptr_t window, uint32_t, int32_t wparam, int32_t,
                                               uint32_t timeout_ms) {
  if (conn_fd_ < 0 || window != static_cast<uintptr_t>(conn_fd_) + 1) {
    return {false, 0, static_cast<uint32_t>(ENOTCONN)};
  }
  const auto start = std::chrono::steady_clock::now();
  const std::array<uint8_t, 4> atom = Le32(static_cast<uint32_t>(wparam));
  Io_Result io = Send_All(conn_fd_, atom.data(), atom.size(), timeout_ms);
  // A simulator that takes no message in time owes no answer for it.
  if (io.status == Io_Result::timeout && io.count == 0) return {false, 0, 0};
  if (io.status != Io_Result::ok) {
    // A message cut short would put every later one out of step: this connection is done.
    Close_Connection();
    return {false, 0, static_cast<uint32_t>(io.error != 0 ? io.error : EPIPE)};
  }
  uint32_t answer = 0;
  io = Await_Answer(pairing_, conn_fd_, Ms_Left(start, timeout_ms), answer);
  if (io.status == Io_Result::timeout) return {false, 0, 0};
  if (io.status != Io_Result::ok) return {false, 0, static_cast<uint32_t>(io.error)};
  return {true, answer, 0};
}

bool Linux_Transport::Window_Alive(uintptr_t window) {
  if (conn_fd_ < 0 || window != static_cast<uintptr_t>(conn_fd_) + 1) return false;
  pollfd p{conn_fd_, POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0) return true;
  if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return false;
  // Readable: a late answer waiting (alive), or the end of the connection (gone).
  uint8_t byte = 0;
  return ::recv(conn_fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
}

uint32_t Linux_Transport::Process_Id() {
  return static_cast<uint32_t>(::getpid());
}

}  // namespace orv
