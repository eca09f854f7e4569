// A console helper that runs inside the Wine session beside the program under test and
// answers questions about windows: one command per input line, one answer line back.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Shell_win.h"

namespace {

std::vector<std::string> Split(const std::string& line) {
  // Words are separated by blanks; a word in double quotes may hold blanks.
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    std::string word;
    if (line[i] == '"') {
      const std::size_t end = line.find('"', i + 1);
      word = line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? line.size() : end + 1;
    } else {
      const std::size_t end = line.find(' ', i);
      word = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
      i = end == std::string::npos ? line.size() : end;
    }
    words.push_back(word);
  }
  return words;
}

HWND ParseHandle(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(text.c_str(), nullptr, 0)));
}

std::string HandleText(HWND hwnd) {
  return std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd)));
}

std::string TextOf(HWND hwnd) {
  char buffer[4096] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, &copied))
    return "";
  return std::string(buffer, copied);
}

// A top-level window's caption, asked of the window itself, so that the answer comes once its
// program has handled what came before (a closed message box re-enabling its owner, say).
// Under load the question can time out; the caption the system keeps is taken then, since a
// window that is there must never count as gone.
std::string CaptionOf(HWND hwnd) {
  char buffer[1024] = {};
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                          SMTO_ABORTIFHUNG, 2000, &copied))
    return std::string(buffer, copied);
  GetWindowTextA(hwnd, buffer, sizeof(buffer));
  return buffer;
}

std::string Escape(const std::string& text) {
  // Answers stay on one line: bytes outside printable ASCII and the backslash become \xHH.
  std::string out;
  char hex[8];
  for (unsigned char c : text) {
    if (c < 32 || c > 126 || c == '\\') {
      std::snprintf(hex, sizeof(hex), "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string RectOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
         std::to_string(rect.right) + " " + std::to_string(rect.bottom);
}

struct Search {
  std::string title;
  std::string className;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  char className[256] = {};
  GetClassNameA(hwnd, className, sizeof(className));
  if (!search->className.empty() && search->className != className) return TRUE;
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (CaptionOf(hwnd) != search->title) return TRUE;
  search->found = hwnd;
  return FALSE;
}

// A visible top-level window with exactly this title (and class, when one is given).
HWND FindVisible(const std::string& title, const std::string& className = "") {
  Search search{title, className};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitFor(const std::string& title, int milliseconds, const std::string& className = "") {
  for (int waited = 0;; waited += 50) {
    if (HWND hwnd = FindVisible(title, className)) return hwnd;
    if (waited >= milliseconds) return nullptr;
    Sleep(50);
  }
}

struct ChildList {
  std::string out;
};

BOOL CALLBACK ListChild(HWND hwnd, LPARAM parameter) {
  auto* list = reinterpret_cast<ChildList*>(parameter);
  char className[256] = {};
  GetClassNameA(hwnd, className, sizeof(className));
  list->out += HandleText(hwnd) + "|" + className + "|" + std::to_string(GetDlgCtrlID(hwnd)) +
               "|" + (IsWindowVisible(hwnd) ? "1" : "0") + "|" +
               (IsWindowEnabled(hwnd) ? "1" : "0") + "|" + RectOf(hwnd) + "|" +
               Escape(TextOf(hwnd)) + ";";
  return TRUE;
}

std::string MenuItems(HMENU menu) {
  std::string out;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
    out += std::string(text) + ";";
  }
  return out;
}

std::string Execute(const std::vector<std::string>& words) {
  const std::string& command = words[0];
  auto arg = [&](std::size_t i) { return i < words.size() ? words[i] : std::string(); };
  auto number = [&](std::size_t i) { return std::atoi(arg(i).c_str()); };

  if (command == "wait" || command == "waitclass") {
    // wait TITLE MS | waitclass CLASS TITLE MS -> handle and window rectangle, or "none"
    const bool byClass = command == "waitclass";
    HWND hwnd = byClass ? WaitFor(arg(2), number(3), arg(1)) : WaitFor(arg(1), number(2));
    return hwnd ? HandleText(hwnd) + " " + RectOf(hwnd) : "none";
  }
  if (command == "gone") {  // gone TITLE MS -> "gone" once no visible window has the title
    for (int waited = 0;; waited += 50) {
      if (!FindVisible(arg(1))) return "gone";
      if (waited >= number(2)) return "present";
      Sleep(50);
    }
  }
  if (command == "rect") return RectOf(ParseHandle(arg(1)));
  if (command == "enabled") return IsWindowEnabled(ParseHandle(arg(1))) ? "enabled" : "disabled";
  if (command == "move") {  // move HWND X Y -> puts a window's top-left corner there
    return SetWindowPos(ParseHandle(arg(1)), nullptr, number(2), number(3), 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? "ok" : "failed";
  }
  if (command == "client") {  // client HWND -> screen position of the client area's origin
    POINT origin{0, 0};
    ClientToScreen(ParseHandle(arg(1)), &origin);
    RECT client{};
    GetClientRect(ParseHandle(arg(1)), &client);
    return std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
           std::to_string(client.right) + " " + std::to_string(client.bottom);
  }
  if (command == "text") return Escape(TextOf(ParseHandle(arg(1))));
  if (command == "children") {
    ChildList list;
    EnumChildWindows(ParseHandle(arg(1)), ListChild, reinterpret_cast<LPARAM>(&list));
    return list.out;
  }
  if (command == "pixel") {  // pixel X Y -> RRGGBB of the screen
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, number(1), number(2));
    ReleaseDC(nullptr, screen);
    char text[16];
    std::snprintf(text, sizeof(text), "%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
  }
  if (command == "pixels") {  // pixels X Y W H -> rows of RRGGBB words, rows split by ';'
    HDC screen = GetDC(nullptr);
    std::string out;
    for (int y = number(2); y < number(2) + number(4); ++y) {
      for (int x = number(1); x < number(1) + number(3); ++x) {
        const COLORREF colour = GetPixel(screen, x, y);
        char text[16];
        std::snprintf(text, sizeof(text), "%02X%02X%02X ", GetRValue(colour), GetGValue(colour),
                      GetBValue(colour));
        out += text;
      }
      out += ";";
    }
    ReleaseDC(nullptr, screen);
    return out;
  }
  if (command == "focus") {  // focus HWND -> the control that has the keyboard focus
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(ParseHandle(arg(1)), nullptr), &info);
    return HandleText(info.hwndFocus);
  }
  if (command == "sel") {  // sel HWND -> selection start and end of an edit control
    DWORD start = 0, end = 0;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(ParseHandle(arg(1)), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    start = LOWORD(result);
    end = HIWORD(result);
    return std::to_string(start) + " " + std::to_string(end);
  }
  if (command == "post" || command == "send") {  // post HWND MSG WPARAM LPARAM
    HWND hwnd = ParseHandle(arg(1));
    const UINT message = static_cast<UINT>(std::strtoul(arg(2).c_str(), nullptr, 0));
    const WPARAM wParam = static_cast<WPARAM>(std::strtoull(arg(3).c_str(), nullptr, 0));
    const LPARAM lParam = static_cast<LPARAM>(std::strtoll(arg(4).c_str(), nullptr, 0));
    if (command == "post") return PostMessageA(hwnd, message, wParam, lParam) ? "ok" : "failed";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return std::to_string(static_cast<long long>(result));
  }
  if (command == "items") {  // items HWND -> each list box entry as text|data;
    HWND list = ParseHandle(arg(1));
    DWORD_PTR count = 0;
    SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    std::string out;
    for (DWORD_PTR i = 0; i < count; ++i) {
      // Wine hands list box texts across processes as UTF-16, whichever call asks.
      wchar_t wide[1024] = {};
      char text[2048] = {};
      DWORD_PTR data = 0;
      SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000, &data);
      WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
      SendMessageTimeoutA(list, LB_GETITEMDATA, i, 0, SMTO_ABORTIFHUNG, 2000, &data);
      out += Escape(text) + "|" + std::to_string(static_cast<long long>(data)) + ";";
    }
    return out;
  }
  if (command == "settext") {  // settext HWND TEXT
    DWORD_PTR result = 0;
    SendMessageTimeoutA(ParseHandle(arg(1)), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(arg(2).c_str()), SMTO_ABORTIFHUNG, 5000, &result);
    return "ok";
  }
  if (command == "menu") {  // menu MS -> rectangle and items of the open pop-up menu
    HWND hwnd = WaitFor("", number(1), "#32768");
    if (hwnd == nullptr) return "none";
    DWORD_PTR menu = 0;
    SendMessageTimeoutA(hwnd, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &menu);
    return RectOf(hwnd) + " " + MenuItems(reinterpret_cast<HMENU>(menu));
  }
  if (command == "dialog") {  // dialog TITLE MS -> handle and the texts of its controls
    HWND hwnd = WaitFor(arg(1), number(2), "#32770");
    if (hwnd == nullptr) return "none";
    ChildList list;
    EnumChildWindows(hwnd, ListChild, reinterpret_cast<LPARAM>(&list));
    return HandleText(hwnd) + " " + list.out;
  }
  if (command == "press") {  // press DIALOG-HWND BUTTON-TEXT -> clicks that button
    HWND button = FindWindowExA(ParseHandle(arg(1)), nullptr, "Button", arg(2).c_str());
    // A message box names its buttons in the session's language; their IDs stay the same.
    constexpr std::pair<const char*, int> kBoxButtons[] = {
        {"OK", IDOK}, {"Cancel", IDCANCEL}, {"&Retry", IDRETRY}, {"&Yes", IDYES}, {"&No", IDNO}};
    for (const auto& [text, id] : kBoxButtons)
      if (button == nullptr && arg(2) == text) button = GetDlgItem(ParseHandle(arg(1)), id);
    if (button == nullptr) return "no button";
    PostMessageA(button, BM_CLICK, 0, 0);
    return "ok";
  }
  if (command == "window") {  // window CLASS TITLE [stubborn] -> a top-level window of this process
    static std::string className, title;
    static bool stubborn = false;
    className = arg(1), title = arg(2), stubborn = arg(3) == "stubborn";
    HWND created = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // Its own thread serves it, so that it answers as a program's window would.
    struct Start { HWND* window; HANDLE ready; } start{&created, ready};
    CloseHandle(CreateThread(nullptr, 0, [](LPVOID parameter) -> DWORD {
      const Start start = *static_cast<Start*>(parameter);
      WNDCLASSA windowClass{};
      windowClass.lpszClassName = className.c_str();
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_CLOSE && stubborn) return 0;
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(hwnd, message, wParam, lParam);
      };
      RegisterClassA(&windowClass);
      *start.window = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                      200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
      SetEvent(start.ready);
      MSG message;
      while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
      return 0;
    }, &start, 0, nullptr));
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
    return created != nullptr ? HandleText(created) : "none";
  }
  if (command == "lock") {  // lock PATH -> holds the file open, shared with no one, until the probe ends
    const HANDLE file = CreateFileA(arg(1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return file != INVALID_HANDLE_VALUE ? "locked" : "failed " + std::to_string(GetLastError());
  }
  if (command == "link") {  // link LNK-PATH -> target|working folder|arguments|description|icon|index|show
    pelorin::ShellLink link;
    if (!pelorin::GetShellLinkInfo(arg(1), link)) return "none";
    return Escape(std::string(link.target + "|" + link.workingFolder + "|" + link.arguments + "|" + link.description +
                              "|" + link.iconFile + "|" + std::to_string(link.iconIndex) + "|" +
                              std::to_string(link.showCommand)));
  }
  return "unknown command";
}

}  // namespace

int main() {
  // Positions and pixels as the screen has them, whatever scale the programs it looks at follow.
  using AwareFunction = BOOL(WINAPI*)();
  if (const auto aware = reinterpret_cast<AwareFunction>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware"))))
    aware();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the shell's link object
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  char line[8192];
  while (std::fgets(line, sizeof(line), stdin) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::vector<std::string> words = Split(text);
    if (words.empty()) continue;
    if (words[0] == "exit") break;
    std::printf("%s\n", Execute(words).c_str());
  }
  return 0;
}
