#include "win32/setup_form.h"

#include <string>
#include <vector>

#include "behaviour/setup_behaviour.h"

namespace orv::win32 {
namespace {

constexpr int kLineHeight = 18;
constexpr int kIndent = 12;

// Draws a small folder at (x, y), its design size scaled to `dpi`: open ones as a lid raised
// over the back.
void Draw_Folder(HDC dc, int x, int y, bool open, int dpi) {
  HBRUSH fill = CreateSolidBrush(open ? RGB(255, 236, 140) : RGB(230, 196, 80));
  HGDIOBJ old_brush = SelectObject(dc, fill);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  const auto box = [&](int left, int top, int right, int bottom) {
    Rectangle(dc, x + Scaled(left, dpi), y + Scaled(top, dpi), x + Scaled(right, dpi),
              y + Scaled(bottom, dpi));
  };
  box(0, 2, 6, 5);
  box(0, 4, 14, 13);
  if (open) box(3, 7, 16, 13);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(fill);
}

class Setup_Form final : public Form, public Setup_View {
 public:
  Setup_Form(Program_State& st, Program_Windows& windows) : behaviour_(st, *this, windows) {
    Create(SETUP_WINDOW.name, SETUP_WINDOW.caption,
           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, SETUP_WINDOW.client.w,
           SETUP_WINDOW.client.h);
    if (!Hwnd()) return;
    Build_Controls();
    behaviour_.Load();
    Show();
  }
  ~Setup_Form() override = default;

  // What the behaviour asks.
  void Show_Message(Message_Icon icon, const std::string& text) override {
    Show_Message_Box(Hwnd(), icon, text);
  }
  void Close() override { Close_Form(Hwnd()); }
  void Set_Option1(bool on) override {
    SendMessageW(option1_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void Fill_Drives(const std::vector<std::string>& drives, size_t selected) override;
  void Show_Folders(const std::vector<Folder_Line>& lines, size_t current) override;
  void Set_Text1(const std::string& text) override { Set_Text(text1_, text); }

 protected:
  void Command(int id, int code, HWND) override { On_Command(id, code); }
  bool Closing() override {
    behaviour_.Unload();
    return true;
  }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Build_Controls();
  void On_Command(int id, int code);
  void Draw_Line(const DRAWITEMSTRUCT& item) const;

  Setup_Behaviour behaviour_;
  HWND option1_ = nullptr;
  HWND drive1_ = nullptr;
  HWND dir1_ = nullptr;
  HWND text1_ = nullptr;
  std::vector<std::string> drives_;
  std::vector<Folder_Line> lines_;
};

void Setup_Form::Build_Controls() {
  const std::vector<HWND> built = win32::Build_Controls(Hwnd(), SETUP_WINDOW);
  const auto control = [&built](const char* name) { return built[SETUP_WINDOW.Index_Of(name)]; };
  option1_ = control("Option1");
  drive1_ = control("Drive1");
  dir1_ = control("Dir1");
  text1_ = control("Text1");
}

void Setup_Form::On_Command(int id, int code) {
  const std::string_view name = Command_Name(SETUP_WINDOW, id);
  if (name == "Option1") {
    if (code == BN_CLICKED) behaviour_.FS2002_Chosen();
  } else if (name == "Drive1") {
    const auto chosen = static_cast<size_t>(SendMessageW(drive1_, CB_GETCURSEL, 0, 0));
    if (code == CBN_SELCHANGE && chosen < drives_.size()) behaviour_.Drive_Chosen(drives_[chosen]);
  } else if (name == "Dir1") {
    const auto chosen = static_cast<size_t>(SendMessageW(dir1_, LB_GETCURSEL, 0, 0));
    if (code == LBN_SELCHANGE) behaviour_.Folder_Chosen(chosen);
    if (code == LBN_DBLCLK) behaviour_.Folder_Opened(chosen);
  } else if (name == "Command1") {  // the button, or Enter anywhere in the window
    if (code == BN_CLICKED) behaviour_.Next_Step(Text_Of(text1_));
  }
}

void Setup_Form::Fill_Drives(const std::vector<std::string>& drives, size_t selected) {
  drives_ = drives;
  SendMessageW(drive1_, CB_RESETCONTENT, 0, 0);
  for (const std::string& drive : drives_) {
    SendMessageW(drive1_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(drive).c_str()));
  }
  SendMessageW(drive1_, CB_SETCURSEL, selected, 0);
}

void Setup_Form::Show_Folders(const std::vector<Folder_Line>& lines, size_t current) {
  lines_ = lines;
  SendMessageW(dir1_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(dir1_, LB_RESETCONTENT, 0, 0);
  for (const Folder_Line& line : lines_) {
    SendMessageW(dir1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line.name).c_str()));
  }
  SendMessageW(dir1_, WM_SETREDRAW, TRUE, 0);
  SendMessageW(dir1_, LB_SETCURSEL, lines_.empty() ? static_cast<WPARAM>(-1) : current, 0);
  InvalidateRect(dir1_, nullptr, TRUE);
}

void Setup_Form::Draw_Line(const DRAWITEMSTRUCT& item) const {
  const auto index = static_cast<size_t>(item.itemID);
  if (item.itemID == static_cast<UINT>(-1) || index >= lines_.size()) return;
  const Folder_Line& line = lines_[index];
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int dpi = Dpi_Of(Hwnd());
  const int x = r.left + Scaled(4 + line.depth * kIndent, dpi);
  Draw_Folder(dc, x, r.top + Scaled((kLineHeight - 14) / 2, dpi), line.open, dpi);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  HGDIOBJ old_font = SelectObject(dc, Ui_Font(dpi));
  RECT text = r;
  text.left = x + Scaled(20, dpi);
  const std::wstring name = Wide(line.name);
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old_font);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

LRESULT Setup_Form::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const bool dir1 = Command_Name(SETUP_WINDOW, static_cast<int>(wp)) == "Dir1";
  if (msg == WM_MEASUREITEM && dir1) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight =
        static_cast<UINT>(Scaled(kLineHeight, Dpi_Of(Hwnd())));
    return TRUE;
  }
  if (msg == WM_DRAWITEM && dir1) {
    Draw_Line(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    return TRUE;
  }
  // Enter in the folder list opens the selected folder, as a double click does; the list's
  // other keys (the arrows among them) keep their own meaning.
  if (msg == WM_VKEYTOITEM && reinterpret_cast<HWND>(lp) == dir1_) {
    if (LOWORD(wp) != VK_RETURN) return -1;
    const auto chosen = static_cast<size_t>(SendMessageW(dir1_, LB_GETCURSEL, 0, 0));
    behaviour_.Folder_Opened(chosen);
    return -2;
  }
  return Form::Handle(msg, wp, lp);
}

}  // namespace

HWND Open_Setup_Form(Program_State& st, Program_Windows& windows) {
  auto* form = new Setup_Form(st, windows);
  if (form->Hwnd()) return form->Hwnd();
  delete form;
  return nullptr;
}

}  // namespace orv::win32
