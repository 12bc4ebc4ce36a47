// The magnetic variation grid, scenery/magdec.bgl, and true-to-magnetic headings.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "core/mag_var_table.h"
#include "scenery/bgl_image.h"
#include "scenery/scenery_cfg.h"

namespace orv {

// Loads the grid file into `table`. A missing or unreadable file, or one too short to hold the
// grid's pointer, is reported and leaves the table untouched, as does a pointer of 0 or below.
File_Status Load_Magdec(Mag_Var_Table& table, const std::filesystem::path& path);

// Fills the table from the grid block at file offset p of the image. Values whose bytes lie
// outside the file (the image's extra zero byte is not part of it) become 0, as does the
// table's last entry, which no grid position uses.
void Fill_Magvar_Table(Mag_Var_Table& table, const Bgl_Image& image, int64_t p);

// Variation at a position in whole degrees, truncated toward zero; 0 where the rounded
// position falls outside the grid.
int32_t Mag_Var_Degrees(const Mag_Var_Table& table, double lat, double lon);

// Magnetic heading, whole degrees 0..360, of a true heading at a position.
int16_t Mag_Heading(const Mag_Var_Table& table, double hdg, double lat, double lon);

}  // namespace orv
