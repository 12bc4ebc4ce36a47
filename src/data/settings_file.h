// The settings file orv_config.cfg: the simulator folder chosen in the wizard and the entry
// counts of the two database files.
//
// Layout, little-endian, no padding: Integer length and bytes of banner, Byte cfg_valid, Byte
// sim_version, Integer length and bytes of fs_path, Long airport_count, Long
// airspace_file_count. Bytes after the record are kept when it is rewritten and ignored when
// it is read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/config_rec.h"
#include "core/file_system.h"
#include "data/data_file_names.h"

namespace orv {

struct Program_State;

enum class Settings_Status : uint8_t {
  ok,
  missing,  // the file cannot be opened
  damaged,  // too short, or a length that runs past its end or is negative
};

std::vector<uint8_t> Encode_Config(const Config_Rec& rec);

// The record at the start of `bytes`, or nothing when the bytes cannot hold it.
std::optional<Config_Rec> Decode_Config(std::span<const uint8_t> bytes);

// Reads the record into st.cfg and copies sim_version, fs_path and the two counts to the
// program state. A missing or damaged file changes nothing.
Settings_Status Load_Settings(Program_State& st, const std::filesystem::path& path);

// Writes st.cfg from offset 0 of orv_config.cfg in the working folder without shortening the
// file: bytes beyond the new record stay. The file is replaced whole, through a temporary
// name, so a failure leaves the previous file as it was.
Write_Result Save_Settings(const Program_State& st);

}  // namespace orv
