// The simulator's scenery library list, scenery.cfg, read into scenery areas whose folders are
// then resolved to existing folders holding the areas' scenery files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/scenery_area.h"

namespace orv {

struct Program_State;

// The value of `key` in a section text: what follows the first "key=" (key matched ignoring
// case) up to the end of its line; empty when the key is absent.
std::string Key_Value(std::string_view section, std::string_view key);

// The most areas the area list holds: its count is a 16-bit number.
inline constexpr int32_t MAX_AREAS = 32767;

// Appends one area per [Area.xxx] section of the text of a scenery.cfg, in file order, up to
// MAX_AREAS areas in all. Returns how many area sections were refused beyond that.
int32_t Read_Scenery_Cfg_Text(Program_State& st, std::string_view text);

// Reads scenery.cfg at `path` into areas. A missing or unreadable file adds nothing and
// creates nothing. The number of area sections refused beyond MAX_AREAS goes to
// `areas_refused` when one is given.
File_Status Read_Scenery_Cfg(Program_State& st, const std::filesystem::path& path,
                             int32_t* areas_refused = nullptr);

// Rewrites `local` of every area to the existing scenery folder it names, or empty. A relative
// folder is looked for in the working folder (`work_dir`), then under `fs_path`; every name is
// matched ignoring case and the spelling found on disk is kept. On Linux, when `fs_path` lies
// inside a Wine prefix, a folder named by drive letter is looked for first through that
// prefix's link of the letter.
void Resolve_Area_Paths(Program_State& st);
void Resolve_Area_Paths(Program_State& st, std::span<const std::string> drives);

}  // namespace orv
