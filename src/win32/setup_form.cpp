#include "win32/setup_form.h"

#include <string>
#include <vector>

#include "behaviour/setup_behaviour.h"
#include "startup/setup_check.h"

namespace orv::win32 {
namespace {

enum Control_Id : int { OPTION1 = 101, DRIVE1, DIR1, TEXT1, COMMAND1 };

constexpr int kLineHeight = 18;
constexpr int kIndent = 12;

// Draws a small folder at (x, y): open ones as a lid raised over the back.
void Draw_Folder(HDC dc, int x, int y, bool open) {
  HBRUSH fill = CreateSolidBrush(open ? RGB(255, 236, 140) : RGB(230, 196, 80));
  HGDIOBJ old_brush = SelectObject(dc, fill);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, x, y + 2, x + 6, y + 5);
  Rectangle(dc, x, y + 4, x + 14, y + 13);
  if (open) Rectangle(dc, x + 3, y + 7, x + 16, y + 13);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(fill);
}

class Setup_Form final : public Form, public Setup_View {
 public:
  Setup_Form(Program_State& st, Program_Windows& windows) : behaviour_(st, *this, windows) {
    Create("Form2", "Settings", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 420,
           468);
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
  void Show_Folder(const std::string& folder) override;
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
  HWND f = Hwnd();
  const DWORD label = SS_LEFT | SS_NOPREFIX;
  Add_Control(f, L"BUTTON", "Frame1", "Flight Simulator Information", BS_GROUPBOX, {8, 6, 404, 74});
  Add_Control(f, L"STATIC", "Label1",
              "Select the version of your Microsoft Flight Simulator:", label, {20, 26, 380, 18});
  option1_ = Add_Control(f, L"BUTTON", "Option1", "Microsoft Flight Simulator 2002",
                         BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, {20, 48, 380, 20}, OPTION1);
  Add_Control(f, L"BUTTON", "Frame2", "Flight Simulator's Path", BS_GROUPBOX, {8, 88, 404, 336});
  Add_Control(f, L"STATIC", "Label2", "Enter your Flight Simulator's main path:", label,
              {20, 108, 380, 18});
  drive1_ = Add_Control(f, L"COMBOBOX", "Drive1", "",
                        CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, {20, 128, 380, 200},
                        DRIVE1);
  Add_Control(f, L"STATIC", "Label4", "Current Directory:", label, {20, 160, 380, 18});
  dir1_ = Add_Control(f, L"LISTBOX", "Dir1", "",
                      LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                          WS_VSCROLL | WS_TABSTOP,
                      {20, 180, 380, 170}, DIR1, WS_EX_CLIENTEDGE);
  text1_ = Add_Control(f, L"EDIT", "Text1", "", ES_AUTOHSCROLL | WS_TABSTOP, {20, 360, 380, 24},
                       TEXT1, WS_EX_CLIENTEDGE);
  Add_Control(f, L"STATIC", "Label3", "Example: C:\\Program Files\\Microsoft Games\\Fs2002", label,
              {20, 394, 380, 18});
  Add_Control(f, L"BUTTON", "Command1", "NEXT STEP --->", BS_DEFPUSHBUTTON | WS_TABSTOP,
              {272, 432, 140, 28}, COMMAND1);
}

void Setup_Form::On_Command(int id, int code) {
  switch (id) {
    case OPTION1:
      if (code == BN_CLICKED) behaviour_.FS2002_Chosen();
      break;
    case DRIVE1: {
      const auto chosen = static_cast<size_t>(SendMessageW(drive1_, CB_GETCURSEL, 0, 0));
      if (code == CBN_SELCHANGE && chosen < drives_.size())
        behaviour_.Drive_Chosen(drives_[chosen]);
      break;
    }
    case DIR1: {
      const auto chosen = static_cast<size_t>(SendMessageW(dir1_, LB_GETCURSEL, 0, 0));
      if (chosen >= lines_.size()) break;
      const std::string folder = lines_[chosen].path;
      if (code == LBN_SELCHANGE) behaviour_.Folder_Chosen(folder);
      if (code == LBN_DBLCLK) Show_Folder(folder);  // opens it: its folders are listed
      break;
    }
    case TEXT1:
      if (code == EN_CHANGE) behaviour_.Path_Typed(Text_Of(text1_));
      break;
    case COMMAND1:
    case IDOK:  // Enter anywhere in the window
      if (code == BN_CLICKED) behaviour_.Next_Step(Text_Of(text1_));
      break;
    default:
      break;
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

void Setup_Form::Show_Folder(const std::string& folder) {
  Folder_List list = Folder_List_Of(folder);
  lines_ = std::move(list.lines);
  SendMessageW(dir1_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(dir1_, LB_RESETCONTENT, 0, 0);
  for (const Folder_Line& line : lines_) {
    SendMessageW(dir1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line.name).c_str()));
  }
  SendMessageW(dir1_, WM_SETREDRAW, TRUE, 0);
  SendMessageW(dir1_, LB_SETCURSEL, lines_.empty() ? static_cast<WPARAM>(-1) : list.current, 0);
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
  const int x = r.left + 4 + line.depth * kIndent;
  Draw_Folder(dc, x, r.top + (kLineHeight - 14) / 2, line.open);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  HGDIOBJ old_font = SelectObject(dc, Ui_Font());
  RECT text = r;
  text.left = x + 20;
  const std::wstring name = Wide(line.name);
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old_font);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

LRESULT Setup_Form::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MEASUREITEM && wp == DIR1) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = kLineHeight;
    return TRUE;
  }
  if (msg == WM_DRAWITEM && wp == DIR1) {
    Draw_Line(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    return TRUE;
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
