#include "win32/nearest_form.h"

#include <utility>
#include <vector>

#include "behaviour/nearest_behaviour.h"

namespace orv::win32 {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

class Nearest_Form final : public Form, public Nearest_View {
 public:
  explicit Nearest_Form(Nearest_Request request) : behaviour_(*this, std::move(request)) {
    Create(NEAREST_WINDOW.name, NEAREST_WINDOW.caption, kStyle, WS_EX_TOPMOST,
           NEAREST_WINDOW.client.w, NEAREST_WINDOW.client.h);
  }

  void Open() {
    const std::vector<HWND> built = Build_Controls(Hwnd(), NEAREST_WINDOW);
    label1_ = built[NEAREST_WINDOW.Index_Of("Label1")];
    list1_ = built[NEAREST_WINDOW.Index_Of("List1")];
    behaviour_.Load();
    Show();
    SetFocus(list1_);
  }

  void Show_Message(Message_Icon icon, const std::string& text) override {
    Show_Message_Box(Hwnd(), icon, text);
  }
  void Close() override { Close_Form(Hwnd()); }
  void Set_Label1(const std::string& caption) override { Set_Text(label1_, caption); }
  void Fill_List(const std::vector<std::string>& items) override {
    SendMessageW(list1_, LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageW(list1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    SendMessageW(list1_, LB_SETCURSEL, 0, 0);
  }

 protected:
  void Command(int id, int code, HWND) override {
    const std::string_view name = Command_Name(NEAREST_WINDOW, id);
    const int chosen = static_cast<int>(SendMessageW(list1_, LB_GETCURSEL, 0, 0));
    if (name == "Command1" || (name == "List1" && code == LBN_DBLCLK)) behaviour_.Choose(chosen);
    if (name == "Command2" || id == IDCANCEL) behaviour_.Cancel();
  }
  bool Closing() override {
    behaviour_.Unload();
    return true;
  }

 private:
  Nearest_Behaviour behaviour_;
  HWND label1_ = nullptr;
  HWND list1_ = nullptr;
};

}  // namespace

HWND Open_Nearest_Form(Nearest_Request request) {
  return Open_New_Form<Nearest_Form>(std::move(request));
}

}  // namespace orv::win32
