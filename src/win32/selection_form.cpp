#include "win32/selection_form.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace orv::win32 {
namespace {

// Sets `flag` for as long as it lives, so the list's own changes are not taken for the pilot's.
class Quiet {
 public:
  explicit Quiet(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Quiet() { flag_ = was_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  bool& flag_;
  bool was_;
};

class Selection_Form final : public Form, public Selection_View {
 public:
  Selection_Form(Program_State& st, Program_Windows& windows, Tick_Clock clock)
      : behaviour_(st, *this, windows, std::move(clock)) {
    HMENU menu = Build_Menu_Bar(SELECTION_WINDOW);
    Create(SELECTION_WINDOW.name, SELECTION_WINDOW.caption,
           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, SELECTION_WINDOW.client.w,
           SELECTION_WINDOW.client.h, menu);
    if (!Hwnd()) {
      DestroyMenu(menu);
      return;
    }
    Build_Controls();
    behaviour_.Load();
    Show();
  }
  ~Selection_Form() override = default;

  // What the behaviour asks.
  void Show_Message(Message_Icon icon, const std::string& text) override {
    Show_Message_Box(Hwnd(), icon, text);
  }
  void Close() override { Close_Form(Hwnd()); }
  void Set_Status(const std::string& text) override {
    Set_Text(text1_, text);
    UpdateWindow(text1_);
  }
  void Enable_Controls(bool on) override {
    for (HWND control : {combo1_, command3_, command2_}) EnableWindow(control, on);
  }
  void Set_Progress(int32_t value, int32_t maximum) override;
  void Fill_List(const std::vector<std::string>& items, const std::string& edit_text) override;
  void Enable_Timer(Selection_Timer timer, bool on) override;
  void Repaint() override {
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

 protected:
  void Command(int id, int code, HWND) override { On_Command(id, code); }
  void Timer(UINT_PTR id) override { On_Timer(id); }
  bool Closing() override { return behaviour_.Unload(); }

 private:
  void Build_Controls();
  void On_Command(int id, int code);
  void On_Timer(UINT_PTR id);
  void Narrow_List();
  void Show_Items();
  void Set_Edit_Text(const std::wstring& text);

  Selection_Behaviour behaviour_;
  HWND combo1_ = nullptr;
  HWND command3_ = nullptr;
  HWND command2_ = nullptr;
  HWND text1_ = nullptr;
  HWND progress_bar1_ = nullptr;
  bool read_sceneries_paths_on_ = false;
  bool scan_bgls_on_ = false;
  // Every airport item, and the positions of those the list shows now (all, or the narrowed).
  std::vector<std::wstring> items_;
  std::vector<int> shown_;
  int chosen_ = -1;  // the chosen item's position in the whole list, or -1
  bool quiet_ = false;
};

void Selection_Form::Build_Controls() {
  const std::vector<HWND> built = win32::Build_Controls(Hwnd(), SELECTION_WINDOW);
  const auto control = [&built](const char* name) {
    return built[SELECTION_WINDOW.Index_Of(name)];
  };
  combo1_ = control("Combo1");
  // A drop-down combo box takes its edit field's text only once it exists.
  Set_Edit_Text(Wide(SELECTION_WINDOW.Control("Combo1").caption));
  command3_ = control("Command3");
  command2_ = control("Command2");
  text1_ = control("Text1");
  progress_bar1_ = control("ProgressBar1");
  Set_Progress(0, 1);
}

void Selection_Form::On_Command(int id, int code) {
  const std::string_view name = Command_Name(SELECTION_WINDOW, id);
  if (name == "Combo1") {
    if (quiet_) return;
    if (code == CBN_EDITCHANGE) Narrow_List();
    // A choice from the list, by arrow keys, a click or Enter on the highlighted item.
    if (code == CBN_SELCHANGE || code == CBN_SELENDOK) {
      const auto at = static_cast<size_t>(SendMessageW(combo1_, CB_GETCURSEL, 0, 0));
      chosen_ = at < shown_.size() ? shown_[at] : -1;
    }
  } else if (name == "Command3") {  // the button, or Enter in the list's edit field
    if (code == BN_CLICKED && IsWindowEnabled(command3_)) {
      behaviour_.Get_Airport(chosen_, Text_Of(combo1_));
    }
  } else if (name == "Command2") {
    if (code == BN_CLICKED) behaviour_.Close_Program();
  } else if (name == "airpt_ch_vw") {
    behaviour_.Open_About();
  }
}

void Selection_Form::On_Timer(UINT_PTR id) {
  // A tick already on its way when its timer stopped is dropped, as the stopped timer's would be.
  if (id == READ_SCENERIES_PATHS_TIMER && read_sceneries_paths_on_) {
    behaviour_.Read_Sceneries_Paths_Timer();
  } else if (id == SCAN_BGLS_TIMER && scan_bgls_on_) {
    behaviour_.Scan_Bgls_Timer();
  }
}

void Selection_Form::Enable_Timer(Selection_Timer timer, bool on) {
  const bool scan = timer == Selection_Timer::scan_bgls;
  const UINT_PTR id = scan ? SCAN_BGLS_TIMER : READ_SCENERIES_PATHS_TIMER;
  (scan ? scan_bgls_on_ : read_sceneries_paths_on_) = on;
  if (on) {
    Start_Timer(id, static_cast<UINT>(scan ? SCAN_BGLS_MS : READ_SCENERIES_PATHS_MS));
  } else {
    Stop_Timer(id);
  }
}

void Selection_Form::Set_Progress(int32_t value, int32_t maximum) {
  SendMessageW(progress_bar1_, PBM_SETRANGE32, 0, maximum);
  SendMessageW(progress_bar1_, PBM_SETPOS, value, 0);
  UpdateWindow(progress_bar1_);
}

void Selection_Form::Fill_List(const std::vector<std::string>& items,
                               const std::string& edit_text) {
  items_.clear();
  items_.reserve(items.size());
  for (const std::string& item : items) items_.push_back(Wide(item));
  shown_.resize(items_.size());
  std::iota(shown_.begin(), shown_.end(), 0);
  Show_Items();
  chosen_ = -1;
  Set_Edit_Text(Wide(edit_text));
}

// The list as the pilot types: only the items holding the typed text, the text kept as typed.
void Selection_Form::Narrow_List() {
  const std::string typed = Text_Of(combo1_);
  if (chosen_ >= 0 && Wide(typed) == items_[static_cast<size_t>(chosen_)]) return;
  const auto caret = static_cast<DWORD>(SendMessageW(combo1_, CB_GETEDITSEL, 0, 0));
  shown_ = behaviour_.Items_Shown_For(typed);
  chosen_ = -1;
  Show_Items();
  if (!typed.empty() && !shown_.empty()) {
    // Dropping the list down puts the first item starting with the text into the edit field
    // and highlights it: the pilot's text comes back and nothing stays chosen.
    Quiet quiet(quiet_);
    SendMessageW(combo1_, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(combo1_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  Set_Edit_Text(Wide(typed));
  SendMessageW(combo1_, CB_SETEDITSEL, 0, MAKELPARAM(LOWORD(caret), HIWORD(caret)));
}

// Refills the drop-down list with the shown items; tens of thousands go in with one allocation
// and no painting in between.
void Selection_Form::Show_Items() {
  Quiet quiet(quiet_);
  size_t chars = 0;
  for (int i : shown_) chars += items_[static_cast<size_t>(i)].size() + 1;
  SendMessageW(combo1_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(combo1_, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageW(combo1_, CB_RESETCONTENT, 0, 0);
  SendMessageW(combo1_, CB_INITSTORAGE, shown_.size(),
               static_cast<LPARAM>(chars * sizeof(wchar_t)));
  for (int i : shown_) {
    SendMessageW(combo1_, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(items_[static_cast<size_t>(i)].c_str()));
  }
  SendMessageW(combo1_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(combo1_, nullptr, TRUE);
}

void Selection_Form::Set_Edit_Text(const std::wstring& text) {
  Quiet quiet(quiet_);
  SetWindowTextW(combo1_, text.c_str());
}

}  // namespace

HWND Open_Selection_Form(Program_State& st, Program_Windows& windows, Tick_Clock clock) {
  auto* form = new Selection_Form(st, windows, std::move(clock));
  if (form->Hwnd()) return form->Hwnd();
  delete form;
  return nullptr;
}

}  // namespace orv::win32
