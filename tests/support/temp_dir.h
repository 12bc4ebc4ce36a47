// A fresh folder per test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv::testing {

class Temp_Dir {
 public:
  Temp_Dir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("orvane-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~Temp_Dir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  Temp_Dir(const Temp_Dir&) = delete;
  Temp_Dir& operator=(const Temp_Dir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void Write_Bytes(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline void Write_Text(const std::filesystem::path& file, std::string_view text) {
  Write_Bytes(file, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

inline std::vector<uint8_t> Read_Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace orv::testing
