// Which simulator the link follows: the one on this computer (the default) or one behind
// orvane-relay on another computer. The choice lives in a small text file of its own beside the
// settings file, so the settings file keeps its fixed layout:
//   address=HOST:PORT
//   key=KEY
// Either line may be missing; no address means this computer. The file is read with limits
// (SIM_CHOICE_MAX_BYTES, keys of at most 64 bytes) and written whole under a temporary name.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "simlink/link_client.h"
#include "simlink/link_transport.h"
#include "simlink/net_socket.h"

namespace orv {

inline constexpr const char* SIM_CHOICE_FILE = "orv_simulator.cfg";
inline constexpr size_t SIM_CHOICE_MAX_BYTES = 4096;

// The simulator code the link must report for the chart to follow it: FS2002.
inline constexpr int32_t CHART_SIM_CODE = 6;

struct Sim_Choice {
  bool remote = false;  // false: this computer
  Net_Address address;  // the relay's, when remote
  std::string key;      // the relay's shared key; empty when it has none
};

enum class Sim_Choice_Load : uint8_t {
  loaded,   // the file was read
  missing,  // no file: this computer
  damaged,  // too long, an unknown line, a bad address or key: this computer
};

// A key the relay can take: at most RELAY_MAX_KEY bytes, no control characters.
bool Sim_Key_Usable(const std::string& key);

// Reads the choice from `path`; anything but a good file gives this computer.
Sim_Choice_Load Load_Sim_Choice(const std::filesystem::path& path, Sim_Choice& choice);

// Writes the choice to `path` (this computer writes a file without an address). False when it
// could not be written; the old file then stays as it was.
bool Save_Sim_Choice(const std::filesystem::path& path, const Sim_Choice& choice);

// The transport the link uses for the choice: the platform's own for this computer, the
// network transport to the relay otherwise.
std::unique_ptr<Link_Transport> Make_Link_Transport(const Sim_Choice& choice);

// A link over the platform's own transport: the simulator's window on Windows, its local socket
// on Linux.
Link_State Platform_Link();

// A link to the simulator chosen in the preferences, read from orv_simulator.cfg in work_dir
// each time it is asked for: this computer's, or the relay's on another computer. A missing or
// damaged file gives this computer's.
Link_State Chosen_Link(const std::filesystem::path& work_dir);

}  // namespace orv
