#include "win32/about_form.h"

#include <string>
#include <utility>
#include <vector>

#include "behaviour/preferences_behaviour.h"

namespace orv::win32 {
namespace {

constexpr DWORD kAboutStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// The system font, bold and half as large again, for the version title.
HFONT Title_Font(int dpi) {
  LOGFONTW font{};
  GetObjectW(Ui_Font(dpi), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  font.lfHeight = font.lfHeight * 3 / 2;
  return CreateFontIndirectW(&font);
}

class About_Form final : public Form, public About_View {
 public:
  explicit About_Form(Window_Closed closed) : behaviour_(*this, std::move(closed)) {
    Create(ABOUT_WINDOW.name, ABOUT_WINDOW.caption, kAboutStyle, WS_EX_TOPMOST,
           ABOUT_WINDOW.client.w, ABOUT_WINDOW.client.h, nullptr, Active_Form());
  }
  ~About_Form() override {
    if (title_font_) DeleteObject(title_font_);
  }

  void Open() {
    Build();
    behaviour_.Load();
    Show();
    SetFocus(command1_);
  }

  void Show_Message(Message_Icon icon, const std::string& text) override {
    Show_Message_Box(Hwnd(), icon, text);
  }
  void Close() override { Close_Form(Hwnd()); }
  void Place_Top_Left() override {
    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }

 protected:
  // Ok, or Enter; Escape is IDCANCEL and closes as the close box does.
  void Command(int id, int /*code*/, HWND /*control*/) override {
    if (Command_Name(ABOUT_WINDOW, id) == "Command1") behaviour_.Ok();
    if (id == IDCANCEL) Close();
  }
  // Every way of closing comes here, once: the opener is told once.
  bool Closing() override {
    behaviour_.Unload();
    return true;
  }
  // The credits read like a page, on the window's own background.
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == text1_) {
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return Form::Handle(msg, wp, lp);
  }

 private:
  void Build() {
    const std::vector<HWND> built = Build_Controls(Hwnd(), ABOUT_WINDOW);
    const auto control = [&built](const char* name) { return built[ABOUT_WINDOW.Index_Of(name)]; };
    title_font_ = Title_Font(Dpi_Of(Hwnd()));
    SendMessageW(control("Label1"), WM_SETFONT, reinterpret_cast<WPARAM>(title_font_), FALSE);
    text1_ = control("Text1");
    command1_ = control("Command1");
  }

  About_Behaviour behaviour_;
  HWND text1_ = nullptr;
  HWND command1_ = nullptr;
  HFONT title_font_ = nullptr;
};

}  // namespace

HWND Open_About_Form(Window_Closed closed) {
  return Open_New_Form<About_Form>(closed);
}

}  // namespace orv::win32
