#include "behaviour/selection_behaviour.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "airspace/airport_fetch.h"
#include "airspace/airspace_reader.h"
#include "core/config_rec.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/data_file_removal.h"
#include "data/database_files.h"
#include "scenery/item_match.h"

namespace orv {

namespace {

using K = Control_Kind;
constexpr Control_Row kSelectionControls[] = {
    {"Frame1", K::frame, "Airports list", {8, 4, 444, 100}},
    {"Label1", K::label, "Airport:", {20, 30, 60, 18}},
    {"Combo1", K::airport_list, COMBO_PROMPT, {84, 26, 356, 320}, true},
    {"Command3", K::button, "GET AIRPORT", {196, 64, 118, 28}, true},
    {"Command2", K::button, "CLOSE_PROGRAM", {322, 64, 118, 28}, true},
    {"Label2", K::label, "Scanning:", {8, 118, 70, 18}},
    {"Text1", K::status_box, STATUS_NONE, {80, 114, 372, 24}, true},
    {"ProgressBar1", K::progress_bar, "", {8, 148, 444, 22}},
};
constexpr Menu_Row kSelectionMenus[] = {
    {"abot1", "About"},
    {"airpt_ch_vw", BANNER, "abot1"},
};

}  // namespace

const Window_Table SELECTION_WINDOW{.name = "Form3",
                                    .caption = "Choosing an airport",
                                    .client = {0, 0, 460, 180},
                                    .controls = kSelectionControls,
                                    .menus = kSelectionMenus,
                                    .default_button = "Command3",
                                    .first_focus = "Combo1"};
namespace {

// The most file names one message lists; the rest are counted.
constexpr size_t kListedProblems = 10;

// Counts the handlers on the stack, so a close from outside waits until they are done.
class Busy_Scope {
 public:
  explicit Busy_Scope(int& busy) : busy_(busy) { ++busy_; }
  ~Busy_Scope() { --busy_; }
  Busy_Scope(const Busy_Scope&) = delete;
  Busy_Scope& operator=(const Busy_Scope&) = delete;

 private:
  int& busy_;
};

void Release_Airports(Program_State& st) {
  st.airports.assign(1, Airport_Entry{});
}

}  // namespace

std::chrono::microseconds Steady_Now() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
}

Selection_Behaviour::Selection_Behaviour(Program_State& st, Selection_View& view,
                                         Program_Windows& windows, Tick_Clock clock)
    : st_(st), view_(view), windows_(windows), clock_(std::move(clock)) {}

void Selection_Behaviour::Set_Status(const std::string& text) {
  status_ = text;
  view_.Set_Status(text);
}

void Selection_Behaviour::Load() {
  // The database is loaded or built about a second from now.
  view_.Enable_Timer(Selection_Timer::read_sceneries_paths, true);
}

void Selection_Behaviour::Read_Sceneries_Paths_Timer() {
  Busy_Scope busy(busy_);
  view_.Enable_Controls(false);
  Set_Status(STATUS_MAGDEC);
  magdec_unread_ = Load_Mag_Grid(st_) != File_Status::ok;
  if (!st_.first_run) {
    Load_Database_Files();
    return;
  }
  if (st_.sim_version == 1) Set_Status(STATUS_SCENERY_CFG);
  const Prepare_Report report = Prepare_Build(st_, build_);
  scenery_cfg_unread_ = report.scenery_cfg && *report.scenery_cfg != File_Status::ok;
  Show_Progress(0, build_.bgl_total + 1);
  view_.Enable_Timer(Selection_Timer::read_sceneries_paths, false);
  view_.Show_Message(Message_Icon::information, MSG_FIRST_BUILD);
  view_.Enable_Timer(Selection_Timer::scan_bgls, true);
}

void Selection_Behaviour::Load_Database_Files() {
  st_.db_ready = true;
  view_.Enable_Timer(Selection_Timer::read_sceneries_paths, false);
  Set_Status(STATUS_READING_DATABASE);
  const Database_Load airports = Load_Airport_File(st_);
  if (airports.status != Database_Status::ok) {
    Database_Damaged(airports.error);
    return;
  }
  Set_Status(STATUS_READING_AIRSPACES);
  const Database_Load files = Load_Airspace_List(st_);
  if (files.status != Database_Status::ok) {
    Database_Damaged(files.error);
    return;
  }
  Set_Status(STATUS_ADDING_AIRPORTS);
  Fill_Airport_List();
  Set_Status(STATUS_DONE);
  ready_ = true;
  view_.Enable_Controls(true);
}

void Selection_Behaviour::Database_Damaged(const std::string& error) {
  // A database that does not match its settings is never used: the three files go, and the
  // setup and the build run again at once.
  Remove_Data_Files(st_);
  st_.first_run = true;
  st_.db_ready = false;
  view_.Show_Message(Message_Icon::error,
                     "The airport database is damaged and cannot be used (" + error +
                         "). Orvane has removed its data files and will now run the setup again "
                         "to rebuild the database.");
  windows_.Show_Setup();
  unloading_ = true;
  view_.Close();
}

void Selection_Behaviour::Scan_Bgls_Timer() {
  Busy_Scope busy(busy_);
  if (Scan_Finished(st_, build_)) {
    Finish_Build();
    return;
  }
  // Files are scanned until the slice is used up (at least one step), then the area and the
  // progress are shown: the window repaints and moves between ticks.
  const std::chrono::microseconds start = clock_();
  std::optional<std::string> title;
  do {
    if (std::optional<std::string> next = Scan_Status_Text(st_, build_)) title = std::move(next);
    Scan_Bgls_Tick(st_, build_, Read_Airspace_Section);
  } while (!Scan_Finished(st_, build_) && clock_() - start < SCAN_SLICE);
  if (title) Set_Status(Utf8_From_1252(*title));
  Show_Progress(build_.files_done, build_.bgl_total + 1);
}

void Selection_Behaviour::Finish_Build() {
  view_.Enable_Timer(Selection_Timer::scan_bgls, false);
  const Build_Files_Written written =
      Write_Build_Files(st_, [this](const char* status) { Set_Status(status); });
  if (!written.ok) {
    view_.Show_Message(Message_Icon::error, std::string("The ") + written.what +
                                                " could not be written: " + written.error +
                                                ". The program will end; start it again to "
                                                "repeat the setup and the build.");
    unloading_ = true;
    windows_.End_Program();
    return;
  }
  view_.Show_Message(Message_Icon::information, MSG_DATABASE_CREATED);
  Report_Scan_Problems();
  Set_Status(STATUS_ADDING_AIRPORTS);
  Fill_Airport_List();
  End_Build(st_, build_);
  Set_Status(STATUS_DONE);
  ready_ = true;
  view_.Enable_Controls(true);
  Show_Progress(0, build_.bgl_total + 1);
}

void Selection_Behaviour::Report_Scan_Problems() {
  const Scan_Tally& tally = build_.tally;
  if (build_.problems.empty() && build_.skipped_areas.empty() && !scenery_cfg_unread_ &&
      !magdec_unread_) {
    return;
  }
  std::string text;
  if (magdec_unread_) {
    text +=
        "The simulator's magnetic variation file scenery\\magdec.bgl could not be read, so "
        "runway and ILS headings are true headings, not magnetic ones.\n\n";
  }
  if (scenery_cfg_unread_) {
    text += "The simulator's scenery.cfg could not be read, so no scenery area was scanned.\n\n";
  }
  if (!build_.skipped_areas.empty()) {
    text += "These scenery areas were skipped because their folders were not found:\n";
    for (const std::string& line : Skipped_Area_Lines(build_.skipped_areas)) text += line + "\n";
    text += "\n";
  }
  if (!build_.problems.empty()) {
    text +=
        "Some scenery files could not be read completely: " + std::to_string(tally.files_unopened) +
        " could not be opened, " + std::to_string(tally.files_cut_short) +
        " ended early because they are damaged. The airports read before the damage are in "
        "the database.\n";
    const size_t listed = std::min(build_.problems.size(), kListedProblems);
    for (size_t i = 0; i < listed; ++i) {
      text += "\n" + build_.problems[i].file + ": " + build_.problems[i].reason;
    }
    if (build_.problems.size() > listed) {
      text += "\n... and " + std::to_string(build_.problems.size() - listed) + " more.";
    }
  }
  view_.Show_Message(Message_Icon::information, text);
}

void Selection_Behaviour::Fill_Airport_List() {
  items_.clear();
  for (const std::string& item : Add_Airport_Items(st_)) items_.push_back(Utf8_From_1252(item));
  folded_items_ = Fold_Items(items_);
  // Nothing is chosen until the pilot picks an item.
  view_.Fill_List(items_, COMBO_PROMPT);
}

void Selection_Behaviour::Get_Airport(int index, const std::string& edit_text) {
  Busy_Scope busy(busy_);
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return;
  const std::string chosen = items_[static_cast<size_t>(index)];
  if (edit_text != chosen) return;

  ready_ = false;
  view_.Enable_Controls(false);
  Set_Status(STATUS_FETCH_GETTING_INFO);
  // The list shows the items in UTF-8; the database holds them in Windows-1252.
  Find_Fetch_Airport_Where(
      st_, [&chosen](const std::string& item_text) { return Utf8_From_1252(item_text) == chosen; });
  Release_Airport_List(st_);
  // The list is released; the chosen airport stays in view while the airspaces are read.
  items_.clear();
  folded_items_.clear();
  view_.Fill_List(items_, chosen);

  Set_Status(STATUS_FETCH_LOOKING);
  Clear_Airspaces(st_);
  Read_Airspace_Files(st_, [this](int32_t done, int32_t total) {
    Show_Progress(done, total);
    view_.Repaint();
  });
  Release_Airspace_File_List(st_);
  Classify_Airspaces(st_);
  Add_Tracon_Airspace(st_);

  windows_.Show_Chart();
  unloading_ = true;
  view_.Close();
}

// The bar shows done of total; with nothing to do it is empty, not full.
void Selection_Behaviour::Show_Progress(int32_t done, int32_t total) {
  const int32_t maximum = std::max(total, 1);
  view_.Set_Progress(total > 0 ? std::clamp(done, 0, maximum) : 0, maximum);
}

void Selection_Behaviour::Quit_Program() {
  ready_ = false;
  Set_Status(STATUS_PLEASE_WAIT);
  Release_Airports(st_);
  unloading_ = true;
  windows_.End_Program();
}

void Selection_Behaviour::Close_Program() {
  Quit_Program();
}

std::vector<int> Selection_Behaviour::Items_Shown_For(const std::string& typed) const {
  return Items_Containing(folded_items_, typed);
}

void Selection_Behaviour::Open_About() {
  windows_.Show_About({});
}

bool Selection_Behaviour::Unload() {
  if (busy_ > 0 && !unloading_) return false;
  if (ready_) Quit_Program();
  view_.Enable_Timer(Selection_Timer::read_sceneries_paths, false);
  view_.Enable_Timer(Selection_Timer::scan_bgls, false);
  return true;
}

}  // namespace orv
