// Presses a button of another program's window, as a user's click would, for the installer's
// check: waits for a top-level window with the given caption, finds its button with the given
// text and clicks it. Exit code 0 once clicked, 1 when the window or the button did not appear
// in time or stayed after the click, 2 on bad arguments.
//   win_press.exe CAPTION BUTTON_TEXT [TIMEOUT_SECONDS]
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || argc > 4) {
    std::fwprintf(stderr, L"usage: win_press CAPTION BUTTON_TEXT [TIMEOUT_SECONDS]\n");
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
