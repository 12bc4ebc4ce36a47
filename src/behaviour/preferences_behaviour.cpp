#include "behaviour/preferences_behaviour.h"

#include "behaviour/about_text.h"
#include "core/program_state.h"
#include "data/chart_style_file.h"
#include "simlink/sim_choice.h"

namespace orv {

namespace {

using K = Control_Kind;
constexpr Control_Row kPreferencesControls[] = {
    {"Frame1", K::frame, "Options", {8, 8, 280, 200}, false, true},
    {"Check1", K::check_box, CHECK_CAPTIONS[0], {20, 28, 256, 20}, true},
    {"Check2", K::check_box, CHECK_CAPTIONS[1], {20, 52, 256, 20}, true},
    {"Check3", K::check_box, CHECK_CAPTIONS[2], {20, 76, 256, 20}, true},
    {"Check4", K::check_box, CHECK_CAPTIONS[3], {20, 100, 256, 20}, true},
    {"Check5", K::check_box, CHECK_CAPTIONS[4], {20, 124, 256, 20}, true},
    {"Check6", K::check_box, CHECK_CAPTIONS[5], {20, 148, 256, 20}, true},
    {"Check7", K::check_box, CHECK_CAPTIONS[6], {20, 172, 256, 20}, true},
    {"Frame2", K::frame, "Altimeter Setting Units", {8, 216, 280, 76}, false, true},
    {"Option1", K::radio_button, "Millibars", {20, 236, 256, 20}, true, true},
    {"Option2", K::radio_button, "Inches of Mercury", {20, 262, 256, 20}},
    {"Frame3", K::frame, "Simulator", {8, 300, 280, 108}, false, true},
    {"Option3", K::radio_button, "This computer", {20, 320, 256, 20}, true, true},
    {"Option4", K::radio_button, "Another computer:", {20, 346, 130, 20}},
    {"Text1", K::edit, "", {152, 345, 124, 22}, true, true},
    {"Label1", K::label, "Key", {20, 375, 36, 22}},
    {"Text2", K::edit, "", {60, 375, 216, 22}, true},
    {"Frame4", K::frame, "Chart style", {8, 416, 280, 76}, false, true},
    {"Option5", K::radio_button, "Classic", {20, 436, 120, 20}, true, true},
    {"Option6", K::radio_button, "Diagram", {150, 436, 126, 20}},
    {"Check8", K::check_box, "Night colours", {20, 462, 256, 20}, true, true},
    {"Command1", K::button, "Ok", {108, 502, 80, 26}, true, true},
};
constexpr Control_Row kAboutControls[] = {
    {"Label1", K::label, ABOUT_VERSION, {12, 10, 336, 26}},
    {"Label3", K::label, ABOUT_SUMMARY, {12, 42, 336, 32}},
    {"Label4", K::label, ABOUT_READS, {12, 78, 336, 48}},
    {"Frame1", K::frame, "Credits", {12, 130, 336, 178}},
    {"Label2", K::label, ABOUT_THANKS, {24, 150, 312, 18}},
    {"Text1", K::page_text, ABOUT_CREDITS, {24, 170, 312, 128}},
    {"Label5", K::label, ABOUT_NOTICE, {12, 316, 336, 32}},
    {"Command1", K::button, "Ok", {268, 356, 80, 26}, true, true},
};

}  // namespace

const Window_Table PREFERENCES_WINDOW{.name = "Form5",
                                      .caption = "Options",
                                      .client = {0, 0, 296, 538},
                                      .controls = kPreferencesControls,
                                      .default_button = "Command1",
                                      .first_focus = "Check1"};

const Window_Table ABOUT_WINDOW{.name = "Form6",
                                .caption = ABOUT_CAPTION,
                                .client = {0, 0, 360, 392},
                                .controls = kAboutControls,
                                .default_button = "Command1",
                                .first_focus = "Command1"};

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
    case 7:
      return st.show_trail;
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
  view_.Set_Chart_Style(st_.diagram_style, st_.night_colours);
}

void Preferences_Behaviour::Classic_Chosen() {
  st_.diagram_style = false;
  Save_Chart_Style();
}

void Preferences_Behaviour::Diagram_Chosen() {
  st_.diagram_style = true;
  Save_Chart_Style();
}

void Preferences_Behaviour::Night_Colours_Changed(bool checked) {
  st_.night_colours = checked;
  Save_Chart_Style();
}

// The chart follows the choice at once; a file that cannot be written only loses it at exit.
void Preferences_Behaviour::Save_Chart_Style() {
  const Chart_Style style{st_.diagram_style, st_.night_colours};
  if (!orv::Save_Chart_Style(st_.work_dir / CHART_STYLE_FILE, style)) {
    view_.Show_Message(Message_Icon::exclamation, MSG_STYLE_NOT_SAVED);
  }
}

void Preferences_Behaviour::Display_Switch_Changed(int n, bool checked) {
  Check_Switch(st_, n) = checked;
}

void Preferences_Behaviour::Millibars_Chosen() {
  view_.Set_Options(true);
  st_.altim_units = 0;
}

void Preferences_Behaviour::Inches_Chosen() {
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
  if (unloaded_) return;
  unloaded_ = true;
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
