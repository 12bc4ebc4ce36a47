// Presses a button of another program's window, as a user's click would, for the installer's
// check: waits for a top-level window with the given caption, finds its button with the given
// text and clicks it. Exit code 0 once clicked, 1 when the window or the button did not appear
// in time or stayed after the click, 2 on bad arguments. With --type it types the text into
// the window key by key, as the keyboard delivers keys, into the control the window gave the focus.
//   win_press.exe CAPTION BUTTON_TEXT [TIMEOUT_SECONDS]
//   win_press.exe --type CAPTION TEXT [TIMEOUT_SECONDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

struct Search {
  const wchar_t* text;
  HWND found;
};

// Button captions may carry an "&" for their access key; the text compared leaves it out.
std::wstring Shown_Text(HWND control) {
  wchar_t buffer[256] = {};
  GetWindowTextW(control, buffer, 255);
  std::wstring shown;
  for (const wchar_t* c = buffer; *c != L'\0'; ++c) {
    if (*c != L'&') shown.push_back(*c);
  }
  return shown;
}

BOOL CALLBACK Match_Button(HWND control, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t kind[32] = {};
  GetClassNameW(control, kind, 31);
  if (_wcsicmp(kind, L"Button") == 0 && Shown_Text(control) == search->text) {
    search->found = control;
    return FALSE;
  }
  return TRUE;
}

HWND Find_Button(HWND window, const wchar_t* text) {
  if (window == nullptr || !IsWindowVisible(window)) return nullptr;
  Search search{text, nullptr};
  EnumChildWindows(window, Match_Button, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Shown(HWND window) {
  return IsWindow(window) && IsWindowVisible(window);
}

// Each character as the keyboard's translation delivers it to the control with the focus,
// posted to the program's message loop one after another. Only the characters are posted: a
// posted key-down would be translated into a character of its own as well.
bool Type_Keys(HWND focus, const wchar_t* text) {
  for (const wchar_t* c = text; *c != L'\0'; ++c) {
    if (!PostMessageW(focus, WM_CHAR, *c, 1)) return false;
    Sleep(20);
  }
  return true;
}

// The control's text as it stands.
std::wstring Text_Of(HWND control) {
  DWORD_PTR ignored = 0;
  wchar_t text[1024] = {};
  SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                      5000, &ignored);
  return text;
}

// Whether the control comes to hold the text within three seconds: the characters posted are
// handled after any message sent to it, so its text is read until they have all arrived.
bool Comes_To_Hold(HWND control, const wchar_t* text) {
  for (int tries = 0; tries < 30; ++tries) {
    if (Text_Of(control) == text) return true;
    Sleep(100);
  }
  return false;
}

// Types the text and checks that the control holds it. A window that is still filling itself
// in as it opens may replace what was typed: then the text is typed again over the whole box,
// at most twice more, and each miss is told on the standard error.
bool Type_Checked(HWND focus, const wchar_t* text) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) PostMessageW(focus, EM_SETSEL, 0, -1);
    if (!Type_Keys(focus, text)) return false;
    if (Comes_To_Hold(focus, text)) return true;
    std::fwprintf(stderr, L"win_press: the control holds \"%ls\" after typing; typing again\n",
                  Text_Of(focus).c_str());
  }
  return false;
}

int Type_Into(const wchar_t* caption, const wchar_t* text, int seconds) {
  // The keys go to the window the system has in front: wait until this one has stayed there
  // for a second (the window before it may still be going).
  int in_front = 0;
  for (int waited = 0; waited <= seconds * 10; ++waited) {
    const HWND window = FindWindowW(nullptr, caption);
    in_front = Shown(window) && GetForegroundWindow() == window ? in_front + 1 : 0;
    if (in_front >= 10) {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
      wchar_t cls[64] = {};
      GetClassNameW(info.hwndFocus, cls, 63);
      std::fwprintf(stderr, L"win_press: typing into \"%ls\", its %ls control has the focus\n",
                    caption, cls);
      return info.hwndFocus && Type_Checked(info.hwndFocus, text) ? 0 : 1;
    }
    if (Shown(window) && in_front == 0) SetForegroundWindow(window);
    Sleep(100);
  }
  std::fwprintf(stderr, L"win_press: no window \"%ls\" to type into\n", caption);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && argc <= 5 && std::wcscmp(argv[1], L"--type") == 0) {
    return Type_Into(argv[2], argv[3], argc == 5 ? _wtoi(argv[4]) : 30);
  }
  if (argc < 3 || argc > 4) {
    std::fwprintf(stderr, L"usage: win_press CAPTION BUTTON_TEXT [TIMEOUT_SECONDS]\n"
                          L"       win_press --type CAPTION TEXT [TIMEOUT_SECONDS]\n");
    return 2;
  }
  const int seconds = argc == 4 ? _wtoi(argv[3]) : 30;
  for (int waited = 0; waited <= seconds * 10; ++waited) {
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (const HWND button = Find_Button(window, argv[2])) {
      // Posted, so that a modal loop the click ends does not hold this program; then the
      // window must go, or be disabled by the message box the click opened, so that the next
      // press finds the next window, not this one again.
      PostMessageW(button, BM_CLICK, 0, 0);
      for (int gone = 0; gone <= seconds * 10; ++gone) {
        if (!Shown(window) || !IsWindowEnabled(window)) return 0;
        Sleep(100);
      }
      break;
    }
    Sleep(100);
  }
  std::fwprintf(stderr, L"win_press: no button \"%ls\" in a window \"%ls\"\n", argv[2], argv[1]);
  return 1;
}
