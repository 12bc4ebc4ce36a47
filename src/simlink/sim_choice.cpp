#include "simlink/sim_choice.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "simlink/network_transport.h"
#include "simlink/relay_wire.h"

namespace orv {

bool Sim_Key_Usable(const std::string& key) {
  if (key.size() > RELAY_MAX_KEY) return false;
  for (const char c : key) {
    if (static_cast<unsigned char>(c) < ' ') return false;
  }
  return true;
}

namespace {

// Applies one "name=value" line; false for a line that is not one of ours.
bool Apply_Line(const std::string& line, Sim_Choice& choice) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  const std::string name = line.substr(0, eq);
  const std::string value = line.substr(eq + 1);
  if (name == "address") {
    if (value.empty()) return true;
    choice.remote = Parse_Net_Address(value, choice.address);
    return choice.remote;
  }
  if (name == "key") {
    choice.key = value;
    return Sim_Key_Usable(value);
  }
  return false;
}

}  // namespace

Sim_Choice_Load Load_Sim_Choice(const std::filesystem::path& path, Sim_Choice& choice) {
  choice = {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return Sim_Choice_Load::missing;
  std::string text(SIM_CHOICE_MAX_BYTES + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  if (text.size() > SIM_CHOICE_MAX_BYTES) return Sim_Choice_Load::damaged;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (!Apply_Line(line, choice)) {
      choice = {};
      return Sim_Choice_Load::damaged;
    }
  }
  return Sim_Choice_Load::loaded;
}

bool Save_Sim_Choice(const std::filesystem::path& path, const Sim_Choice& choice) {
  if (!Sim_Key_Usable(choice.key)) return false;
  std::string text;
  if (choice.remote) text += "address=" + Net_Address_Text(choice.address) + "\n";
  if (!choice.key.empty()) text += "key=" + choice.key + "\n";
  std::filesystem::path temp = path;
  temp += ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) std::filesystem::remove(temp, ec);
  return !ec;
}

std::unique_ptr<Link_Transport> Make_Link_Transport(const Sim_Choice& choice) {
  if (!choice.remote) return Make_Platform_Transport();
  return std::make_unique<Network_Transport>(
      Network_Transport_Options{.relay = choice.address, .key = choice.key});
}

Link_State Platform_Link() {
  Link_State link;
  link.transport = Make_Platform_Transport();
  return link;
}

Link_State Chosen_Link(const std::filesystem::path& work_dir) {
  Sim_Choice choice;
  Load_Sim_Choice(work_dir / SIM_CHOICE_FILE, choice);
  Link_State link;
  link.transport = Make_Link_Transport(choice);
  return link;
}

}  // namespace orv
