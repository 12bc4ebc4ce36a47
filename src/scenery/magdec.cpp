#include "scenery/magdec.h"

#include <cmath>
#include <optional>
#include <span>
#include <system_error>

#include "scenery/geo_math.h"

namespace orv {

File_Status Load_Magdec(Mag_Var_Table& table, const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return File_Status::missing;
  // Only a regular file is loaded: the image of anything else would be sized from nothing.
  if (!std::filesystem::is_regular_file(path, ec)) return File_Status::unreadable;
  const std::optional<Bgl_Image> image = Load_Bgl_Image(path);
  if (!image) return File_Status::unreadable;
  Bgl_Reader rd(*image);
  const int32_t p = Read_Long(rd, 110);
  if (!rd.ok()) return File_Status::unreadable;  // too short to hold the grid's pointer
  if (p > 0) Fill_Magvar_Table(table, *image, p);
  return File_Status::ok;
}

void Fill_Magvar_Table(Mag_Var_Table& table, const Bgl_Image& image, int64_t p) {
  // Only the file's own bytes: a value half in the file and half in the image's extra zero
  // byte is not in the file.
  const size_t file_size = image.bytes.empty() ? 0 : image.bytes.size() - 1;
  const std::span<const uint8_t> file_bytes(image.bytes.data(), file_size);
  // Whatever an earlier load left goes; the table's last entry is no grid position.
  table.fill(0);
  for (int lat = -90; lat <= 90; ++lat) {
    for (int lon = 0; lon <= 359; ++lon) {
      const int i = (lat + 90) + lon * 181;
      // A fresh reader per value: a short file loses only the values it lacks.
      Bgl_Reader rd(file_bytes);
      table[static_cast<size_t>(i)] = Read_Word(rd, p + 8 + 2 * int64_t{i});
    }
  }
}

int32_t Mag_Var_Degrees(const Mag_Var_Table& table, double lat, double lon) {
  const double la = Round_Half_Even(lat);
  double lo = Round_Half_Even(lon);
  if (lo < 0) lo += 360.0;
  if (!(la >= -90.0 && la <= 90.0 && lo >= 0.0 && lo <= 359.0)) return 0;
  const auto i = static_cast<size_t>((static_cast<int>(la) + 90) + static_cast<int>(lo) * 181);
  return static_cast<int32_t>(std::trunc(table[i] * 0.0054931640625));
}

int16_t Mag_Heading(const Mag_Var_Table& table, double hdg, double lat, double lon) {
  const int32_t var = Mag_Var_Degrees(table, lat, lon);
  const double rounded = Round_Half_Even(hdg);
  if (!(std::fabs(rounded) < 1e6)) return 0;
  // The far end of a runway stored at 180 degrees or more has a heading below -180; one fold
  // leaves it negative, and a magnetic heading is always 0 to 360.
  int16_t mag = Norm_Heading(static_cast<int32_t>(rounded) - var);
  if (mag < 0) mag = static_cast<int16_t>(mag + 360);
  return mag;
}

}  // namespace orv
