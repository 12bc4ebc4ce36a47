#include "core/wine_prefix.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/file_system.h"
#include "core/text_1252.h"

namespace orv {
namespace {

namespace stdfs = std::filesystem;

bool Is_Folder(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::is_directory(p, ec);
}

bool Is_Drive_Name(std::string_view name) {
  return name.size() == 2 && name[1] == ':' &&
         ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
}

}  // namespace

std::optional<std::string> Wine_Prefix_Of(std::string_view folder) {
  if (folder.empty() || folder.find('\0') != std::string_view::npos) return std::nullopt;
  std::error_code ec;
  stdfs::path p = stdfs::absolute(Fs_Path(folder), ec);
  if (ec) return std::nullopt;
  p = p.lexically_normal();
  if (!p.has_filename()) p = p.parent_path();  // "a/b/" names the folder b
  while (p.has_relative_path()) {
    p = p.parent_path();
    if (Is_Folder(p / "dosdevices")) return p.string();
  }
  return std::nullopt;
}

std::vector<std::string> Prefix_Drives(std::string_view prefix) {
  std::vector<std::string> drives;
  std::error_code ec;
  const stdfs::path devices = Fs_Path(prefix) / "dosdevices";
  stdfs::directory_iterator it(devices, ec);
  for (; !ec && it != stdfs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (Is_Drive_Name(name) && Is_Folder(it->path())) drives.push_back(Lower_Ascii(name));
  }
  std::sort(drives.begin(), drives.end());
  drives.erase(std::unique(drives.begin(), drives.end()), drives.end());
  return drives;
}

std::optional<std::string> Resolve_In_Prefix(std::string_view prefix, std::string_view path) {
  if (path.size() < 2 || !Is_Drive_Name(path.substr(0, 2))) return std::nullopt;
  // Wine names its links in lower case; a link spelled otherwise still serves.
  const std::string letter = Lower_Ascii(path.substr(0, 2));
  const std::optional<std::string> drive =
      Resolve_Path_Ci(Join_Path(Join_Path(prefix, "dosdevices"), letter));
  if (!drive || !Is_Folder(Fs_Path(*drive))) return std::nullopt;
  const std::string_view rest = path.substr(2);
  const size_t first = rest.find_first_not_of("/\\");
  if (first == std::string_view::npos) return drive;
  return Resolve_Path_Ci(Join_Path(*drive, rest.substr(first)));
}

}  // namespace orv
