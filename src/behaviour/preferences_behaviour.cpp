#include "behaviour/preferences_behaviour.h"

#include "core/program_state.h"
#include "simlink/sim_choice.h"

namespace orv {

bool& Check_Switch(Program_State& st, int n) {
  switch (n) {
    case 1:
      return st.show_twy_ids;
    case 2:
      return st.show_twys;
    case 3:
      return st.show_ils;
    case 4:
      return st.show_airspace;
    case 5:
      return st.show_gates;
    default:
      return st.follow_acft;
  }
}

void Preferences_Behaviour::Load() {
  view_.Place_Top_Left();
  for (int n = 1; n <= CHECK_COUNT; ++n) view_.Set_Check(n, Check_Switch(st_, n));
  view_.Set_Options(st_.altim_units == 0);
  // A missing or damaged file shows this computer, as the chart then follows it.
  Sim_Choice choice;
  Load_Sim_Choice(st_.work_dir / SIM_CHOICE_FILE, choice);
  sim_remote_ = choice.remote;
  sim_address_ = choice.remote ? Net_Address_Text(choice.address) : "";
  sim_key_ = choice.key;
  view_.Set_Simulator(sim_remote_, sim_address_, sim_key_);
}

void Preferences_Behaviour::Display_Switch_Changed(int n, bool checked) {
  Check_Switch(st_, n) = checked;
}

void Preferences_Behaviour::Inches_Chosen() {
  view_.Set_Options(true);
  st_.altim_units = 0;
}

void Preferences_Behaviour::Millibars_Chosen() {
  view_.Set_Options(false);
  st_.altim_units = 1;
}

void Preferences_Behaviour::This_Computer_Chosen() {
  sim_remote_ = false;
  sim_changed_ = true;
}

void Preferences_Behaviour::Another_Computer_Chosen() {
  sim_remote_ = true;
  sim_changed_ = true;
}

void Preferences_Behaviour::Address_Typed(const std::string& address) {
  sim_address_ = address;
  sim_changed_ = true;
}

void Preferences_Behaviour::Key_Typed(const std::string& key) {
  sim_key_ = key;
  sim_changed_ = true;
}

void Preferences_Behaviour::Ok() {
  if (Save_Simulator(false)) view_.Close();
}

void Preferences_Behaviour::Unload() {
  Save_Simulator(true);
  if (closed_) closed_();
}

void Preferences_Behaviour::Tell(const char* text, bool closing) {
  view_.Show_Message(Message_Icon::exclamation,
                     closing ? std::string(text) + MSG_SIM_KEPT : std::string(text));
}

bool Preferences_Behaviour::Save_Simulator(bool closing) {
  if (!sim_changed_) return true;
  Sim_Choice choice;
  choice.remote = sim_remote_;
  choice.key = sim_key_;
  // The address typed beside "This computer" is not checked: it is not kept.
  if (sim_remote_ && !Parse_Net_Address(sim_address_, choice.address)) {
    Tell(MSG_BAD_SIM_ADDRESS, closing);
    return false;
  }
  if (!Sim_Key_Usable(sim_key_)) {
    Tell(MSG_BAD_SIM_KEY, closing);
    return false;
  }
  if (!Save_Sim_Choice(st_.work_dir / SIM_CHOICE_FILE, choice)) {
    Tell(MSG_SIM_NOT_SAVED, closing);
    return false;
  }
  sim_changed_ = false;
  return true;
}

}  // namespace orv
