#include "win32/about_form.h"

#include <string>
#include <utility>

#include "behaviour/about_text.h"
#include "behaviour/preferences_behaviour.h"

namespace orv::win32 {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 392;
constexpr DWORD kAboutStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// A multi-line edit control breaks lines only at CR LF.
std::string With_Crlf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The system font, bold and half as large again, for the version title.
HFONT Title_Font() {
  LOGFONTW font{};
  GetObjectW(Ui_Font(), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  font.lfHeight = font.lfHeight * 3 / 2;
  return CreateFontIndirectW(&font);
}

class About_Form final : public Form, public About_View {
 public:
  explicit About_Form(Window_Closed closed) : behaviour_(*this, std::move(closed)) {
    Create("Form6", ABOUT_CAPTION, kAboutStyle, WS_EX_TOPMOST, kClientWidth, kClientHeight);
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
  // Ok and Enter are IDOK; Escape is IDCANCEL and closes as the close box does.
  void Command(int id, int /*code*/, HWND /*control*/) override {
    if (id == IDOK) behaviour_.Ok();
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
    HWND form = Hwnd();
    HWND label1 =
        Add_Control(form, L"STATIC", "Label1", ABOUT_VERSION, SS_NOPREFIX, {12, 10, 336, 26});
    title_font_ = Title_Font();
    SendMessageW(label1, WM_SETFONT, reinterpret_cast<WPARAM>(title_font_), FALSE);
    Add_Control(form, L"STATIC", "Label3", ABOUT_SUMMARY, SS_NOPREFIX, {12, 42, 336, 32});
    Add_Control(form, L"STATIC", "Label4", ABOUT_READS, SS_NOPREFIX, {12, 78, 336, 48});
    Add_Control(form, L"BUTTON", "Frame1", "Credits", BS_GROUPBOX, {12, 130, 336, 178});
    Add_Control(form, L"STATIC", "Label2", ABOUT_THANKS, SS_NOPREFIX, {24, 150, 312, 18});
    text1_ = Add_Control(form, L"EDIT", "Text1", With_Crlf(ABOUT_CREDITS),
                         ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                         {24, 170, 312, 128}, 0, WS_EX_CLIENTEDGE);
    Add_Control(form, L"STATIC", "Label5", ABOUT_NOTICE, SS_NOPREFIX, {12, 316, 336, 32});
    command1_ = Add_Control(form, L"BUTTON", "Command1", "Ok",
                            BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, {268, 356, 80, 26}, IDOK);
  }

  About_Behaviour behaviour_;
  HWND text1_ = nullptr;
  HWND command1_ = nullptr;
  HFONT title_font_ = nullptr;
};

}  // namespace

HWND Open_About_Form(Window_Closed closed) {
  auto* form = new About_Form(closed);
  if (!form->Hwnd()) {
    delete form;
    return nullptr;
  }
  form->Open();
  return form->Hwnd();
}

}  // namespace orv::win32
