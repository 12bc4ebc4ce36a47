#include "prefs/preferences_behaviour.h"

#include "core/program_state.h"

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
}

void Preferences_Behaviour::Check_Click(int n, bool checked) {
  Check_Switch(st_, n) = checked;
}

void Preferences_Behaviour::Option1_Click() {
  view_.Set_Options(true);
  st_.altim_units = 0;
}

void Preferences_Behaviour::Option2_Click() {
  view_.Set_Options(false);
  st_.altim_units = 1;
}

void Preferences_Behaviour::Command1_Click() {
  view_.Close();
}

void Preferences_Behaviour::Unload() {
  if (closed_) closed_();
}

}  // namespace orv
