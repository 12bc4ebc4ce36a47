#include "win32/preferences_form.h"

// The common controls need the window types first.
// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>
#include <utility>
#include <vector>

#include "behaviour/preferences_behaviour.h"
#include "simlink/relay_wire.h"

namespace orv::win32 {
namespace {

constexpr DWORD kOptionsStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
bool Is_Checked(HWND button) {
  return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Set_Checked(HWND button, bool on) {
  SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

class Preferences_Form final : public Form, public Preferences_View {
 public:
  Preferences_Form(Program_State& st, Window_Closed closed)
      : behaviour_(st, *this, std::move(closed)) {
    Create(PREFERENCES_WINDOW.name, PREFERENCES_WINDOW.caption, kOptionsStyle, WS_EX_TOPMOST,
           PREFERENCES_WINDOW.client.w, PREFERENCES_WINDOW.client.h, nullptr, Active_Form());
  }

  void Open() {
    Build();
    behaviour_.Load();
    Show();
    SetFocus(check_[0]);
  }

  void Show_Message(Message_Icon icon, const std::string& text) override {
    Show_Message_Box(Hwnd(), icon, text);
  }
  void Close() override { Close_Form(Hwnd()); }
  void Place_Top_Left() override {
    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
  void Set_Check(int n, bool checked) override { Set_Checked(check_[n - 1], checked); }
  void Set_Options(bool millibars) override {
    Set_Checked(option_[0], millibars);
    Set_Checked(option_[1], !millibars);
  }
  void Set_Simulator(bool remote, const std::string& address, const std::string& key) override {
    Set_Checked(option_[2], !remote);
    Set_Checked(option_[3], remote);
    // The program's own text is not the pilot's edit.
    setting_text_ = true;
    Set_Text(text1_, address);
    Set_Text(text2_, key);
    setting_text_ = false;
  }
  void Set_Chart_Style(bool diagram, bool night) override {
    Set_Checked(option_[4], !diagram);
    Set_Checked(option_[5], diagram);
    Set_Checked(check8_, night);
  }

 protected:
  void Command(int id, int code, HWND control) override {
    const std::string_view name = Command_Name(PREFERENCES_WINDOW, id);
    if (name == "Check8" && code == BN_CLICKED) {
      behaviour_.Night_Colours_Changed(Is_Checked(control));
    } else if (name.starts_with("Check") && code == BN_CLICKED) {
      behaviour_.Display_Switch_Changed(name.back() - '0', Is_Checked(control));
    } else if (name.starts_with("Option") && code == BN_CLICKED) {
      Option_Click(name.back() - '0');
    } else if (name == "Text1" || name == "Text2") {
      if (code != EN_CHANGE || setting_text_) return;
      if (name == "Text1") behaviour_.Address_Typed(Text_Of(text1_));
      if (name == "Text2") behaviour_.Key_Typed(Text_Of(text2_));
    } else if (name == "Command1") {  // the button, or Enter
      behaviour_.Ok();
    } else if (id == IDCANCEL) {
      Close();  // Escape closes as the close box does
    }
  }
  // Every way of closing comes here, once: the opener is told once.
  bool Closing() override {
    behaviour_.Unload();
    return true;
  }

 private:
  void Option_Click(int n) {
    if (n == 1) behaviour_.Millibars_Chosen();
    if (n == 2) behaviour_.Inches_Chosen();
    if (n == 3) behaviour_.This_Computer_Chosen();
    if (n == 4) behaviour_.Another_Computer_Chosen();
    if (n == 5) behaviour_.Classic_Chosen();
    if (n == 6) behaviour_.Diagram_Chosen();
  }

  // The frames are the form's own children like their boxes, so every click reaches the form.
  void Build() {
    const std::vector<HWND> built = Build_Controls(Hwnd(), PREFERENCES_WINDOW);
    const auto control = [&built](std::string_view name) {
      return built[PREFERENCES_WINDOW.Index_Of(name)];
    };
    for (int n = 1; n <= CHECK_COUNT; ++n) check_[n - 1] = control("Check" + std::to_string(n));
    for (int n = 1; n <= 6; ++n) option_[n - 1] = control("Option" + std::to_string(n));
    check8_ = control("Check8");
    text1_ = control("Text1");
    text2_ = control("Text2");
    SendMessageW(text1_, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(L"HOST:PORT"));
    SendMessageW(text2_, EM_LIMITTEXT, RELAY_MAX_KEY, 0);
    HWND label1 = control("Label1");
    SetWindowLongPtrW(label1, GWL_STYLE, GetWindowLongPtrW(label1, GWL_STYLE) | SS_CENTERIMAGE);
  }

  Preferences_Behaviour behaviour_;
  HWND check_[CHECK_COUNT] = {};
  HWND option_[6] = {};
  HWND check8_ = nullptr;
  HWND text1_ = nullptr;
  HWND text2_ = nullptr;
  bool setting_text_ = false;
};

}  // namespace

HWND Open_Preferences_Form(Program_State& st, Window_Closed closed) {
  return Open_New_Form<Preferences_Form>(st, closed);
}

}  // namespace orv::win32
