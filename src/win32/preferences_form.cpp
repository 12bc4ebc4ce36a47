#include "win32/preferences_form.h"

// The common controls need the window types first.
// clang-format off
#include <commctrl.h>
// clang-format on

#include <utility>

#include "behaviour/preferences_behaviour.h"
#include "simlink/relay_wire.h"

namespace orv::win32 {
namespace {

constexpr int kClientWidth = 296;
constexpr int kClientHeight = 430;
constexpr DWORD kOptionsStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kFirst = WS_GROUP | WS_TABSTOP;  // starts a group: the option buttons of one
                                                 // group switch each other off

// Command identifiers: Check1..Check6 are 101..106, Option1..Option4 111..114.
constexpr int kCheckId = 100;
constexpr int kOptionId = 110;
constexpr int kText1Id = 121;
constexpr int kText2Id = 122;

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
    Create("Form5", "Options", kOptionsStyle, WS_EX_TOPMOST, kClientWidth, kClientHeight);
  }

  void Open() {
    Build_Options();
    Build_Simulator();
    Add_Control(Hwnd(), L"BUTTON", "Command1", "Ok", BS_DEFPUSHBUTTON | kFirst, {108, 394, 80, 26},
                IDOK);
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

 protected:
  void Command(int id, int code, HWND control) override {
    if (id > kCheckId && id <= kCheckId + CHECK_COUNT) {
      if (code == BN_CLICKED) behaviour_.Display_Switch_Changed(id - kCheckId, Is_Checked(control));
    } else if (id > kOptionId && id <= kOptionId + 4) {
      if (code == BN_CLICKED) Option_Click(id - kOptionId);
    } else if (id == kText1Id || id == kText2Id) {
      if (code != EN_CHANGE || setting_text_) return;
      if (id == kText1Id) behaviour_.Address_Typed(Text_Of(text1_));
      if (id == kText2Id) behaviour_.Key_Typed(Text_Of(text2_));
    } else if (id == IDOK) {
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
    if (n == 1) behaviour_.Inches_Chosen();
    if (n == 2) behaviour_.Millibars_Chosen();
    if (n == 3) behaviour_.This_Computer_Chosen();
    if (n == 4) behaviour_.Another_Computer_Chosen();
  }

  // The frames are the form's own children like their boxes, so every click reaches the form.
  void Build_Options() {
    HWND form = Hwnd();
    Add_Control(form, L"BUTTON", "Frame1", "Options", BS_GROUPBOX | WS_GROUP, {8, 8, 280, 176});
    static constexpr const char* kNames[CHECK_COUNT] = {"Check1", "Check2", "Check3",
                                                        "Check4", "Check5", "Check6"};
    for (int n = 1; n <= CHECK_COUNT; ++n) {
      check_[n - 1] = Add_Control(form, L"BUTTON", kNames[n - 1], CHECK_CAPTIONS[n - 1],
                                  BS_AUTOCHECKBOX | kTab, {20, 4 + 24 * n, 256, 20}, kCheckId + n);
    }
    Add_Control(form, L"BUTTON", "Frame2", "Altimeter Setting Units", BS_GROUPBOX | WS_GROUP,
                {8, 192, 280, 76});
    option_[0] = Add_Control(form, L"BUTTON", "Option1", "Millibars", BS_AUTORADIOBUTTON | kFirst,
                             {20, 212, 256, 20}, kOptionId + 1);
    option_[1] = Add_Control(form, L"BUTTON", "Option2", "Inches of Mercury", BS_AUTORADIOBUTTON,
                             {20, 238, 256, 20}, kOptionId + 2);
  }

  // The "Simulator" group: this computer, or another one's relay at HOST:PORT with its key.
  void Build_Simulator() {
    HWND form = Hwnd();
    Add_Control(form, L"BUTTON", "Frame3", "Simulator", BS_GROUPBOX | WS_GROUP, {8, 276, 280, 108});
    option_[2] = Add_Control(form, L"BUTTON", "Option3", "This computer",
                             BS_AUTORADIOBUTTON | kFirst, {20, 296, 256, 20}, kOptionId + 3);
    option_[3] = Add_Control(form, L"BUTTON", "Option4", "Another computer:", BS_AUTORADIOBUTTON,
                             {20, 322, 130, 20}, kOptionId + 4);
    text1_ = Add_Control(form, L"EDIT", "Text1", "", ES_AUTOHSCROLL | kFirst, {152, 321, 124, 22},
                         kText1Id, WS_EX_CLIENTEDGE);
    SendMessageW(text1_, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(L"HOST:PORT"));
    Add_Control(form, L"STATIC", "Label1", "Key", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
                {20, 351, 36, 22});
    text2_ = Add_Control(form, L"EDIT", "Text2", "", ES_AUTOHSCROLL | kTab, {60, 351, 216, 22},
                         kText2Id, WS_EX_CLIENTEDGE);
    SendMessageW(text2_, EM_LIMITTEXT, RELAY_MAX_KEY, 0);
  }

  Preferences_Behaviour behaviour_;
  HWND check_[CHECK_COUNT] = {};
  HWND option_[4] = {};
  HWND text1_ = nullptr;
  HWND text2_ = nullptr;
  bool setting_text_ = false;
};

}  // namespace

HWND Open_Preferences_Form(Program_State& st, Window_Closed closed) {
  auto* form = new Preferences_Form(st, closed);
  if (!form->Hwnd()) {
    delete form;
    return nullptr;
  }
  form->Open();
  return form->Hwnd();
}

}  // namespace orv::win32
