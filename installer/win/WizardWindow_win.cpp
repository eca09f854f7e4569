#include "WizardWindow_win.h"

#include <climits>

#include "Concat.h"
#include "DisplayScale.h"
#include "Dpi_win.h"

#include "FolderBrowser_win.h"
#include "InstallFolder_win.h"
#include "SetupUnpack.h"
#include "TextLines.h"
#include "MessageBox_win.h"

namespace pelorin::win {

namespace {

constexpr char kClassName[] = "PelorinSetupWizard";
// At 96 DPI; the window is laid out at the system's DPI.
constexpr int kWidth = 480;
constexpr int kHeight = 330;
// Pages sit beside the side picture, at (2160, 30) twips.
constexpr int kPageLeft = 2160 / 15;
constexpr int kPageTop = 30 / 15;
constexpr int kPageWidth = kWidth - kPageLeft - 8;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = kHeight - 8 - kButtonHeight;

// After the application's name.
constexpr char kInfoText[] =
    " will be installed to the path specified below.  If you wish to change it then do so now.  "
    "Otherwise click 'Next' to continue ";

enum ControlId : int {
  kLicenceId = 100, kCompanyId, kReadmeId,
  kNextId = 110,  // + page
  kBackId = 120,  // + page
  kInfoId = 130, kPathId, kBrowseId, kRunBoxId, kReadyId, kForMachineId, kForUserId,
};

struct PageControl {
  int id;
  int page;
};
constexpr PageControl kPageControls[] = {
    {kLicenceId, 0}, {kCompanyId, 0}, {kNextId + 0, 0}, {kBackId + 0, 0},
    {kInfoId, 1},    {kPathId, 1},    {kBrowseId, 1},   {kNextId + 1, 1}, {kBackId + 1, 1},
    {kForMachineId, 1}, {kForUserId, 1},
    {kReadmeId, 2},  {kRunBoxId, 2},  {kReadyId, 2},    {kNextId + 2, 2}, {kBackId + 2, 2},
};

// Every control of the wizard at 96 DPI, in tab order. The company line and the install
// information take the application's names; the path box is made by the wide call.
// The class name is held in the entry: a pointer would be one more relocation each.
// The wizard's controls are of three classes; every text box, and no other control, is sunken.
enum ControlClass : unsigned char { kEdit, kStatic, kButton };
constexpr const char* kClassNames[] = {"EDIT", "STATIC", "BUTTON"};
struct ControlPlace {
  const char* text;
  DWORD style;
  short x, y, width, height;
  short id;
  ControlClass kind;
};
constexpr DWORD kTextBox = WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
constexpr DWORD kPush = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefault = WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr short kBackLeft = kWidth - 8 - 2 * kButtonWidth - 6;
constexpr short kNextLeft = kWidth - 8 - kButtonWidth;
constexpr ControlPlace kControls[] = {
    {"", kTextBox, kPageLeft, kPageTop, kPageWidth, 250, kLicenceId, kEdit},
    {nullptr, 0, kPageLeft, 262, kPageWidth, 16, kCompanyId, kStatic},
    {nullptr, 0, kPageLeft, 20, kPageWidth, 64, kInfoId, kStatic},
    {nullptr, WS_TABSTOP | ES_AUTOHSCROLL, kPageLeft, 96, kPageWidth - 36, 22, kPathId, kEdit},
    {"...", kPush, kPageLeft + kPageWidth - 32, 96, 32, 22, kBrowseId, kButton},
    // Only an install for every user asks for administrator rights.
    {"Install for &everyone (needs administrator rights)", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
     kPageLeft, 132, kPageWidth, 20, kForMachineId, kButton},
    {"Install for &me only", BS_AUTORADIOBUTTON, kPageLeft, 154, kPageWidth, 20, kForUserId, kButton},
    {"", kTextBox, kPageLeft, kPageTop, kPageWidth, 200, kReadmeId, kEdit},
    {"Run Application after Install is complete", WS_TABSTOP | BS_AUTOCHECKBOX, kPageLeft, 212, kPageWidth,
     20, kRunBoxId, kButton},
    {"Setup is now ready to Install. Click Install when you are ready.", 0, kPageLeft, 240, kPageWidth, 40,
     kReadyId, kStatic},
    {"&Cancel", kPush, kBackLeft, kButtonTop, kButtonWidth, kButtonHeight, kBackId + 0, kButton},
    {"&Begin ->", kDefault, kNextLeft, kButtonTop, kButtonWidth, kButtonHeight, kNextId + 0, kButton},
    {"<- &Back", kPush, kBackLeft, kButtonTop, kButtonWidth, kButtonHeight, kBackId + 1, kButton},
    {"&Next ->", kDefault, kNextLeft, kButtonTop, kButtonWidth, kButtonHeight, kNextId + 1, kButton},
    {"<- &Back", kPush, kBackLeft, kButtonTop, kButtonWidth, kButtonHeight, kBackId + 2, kButton},
    {"&Install ->", kDefault, kNextLeft, kButtonTop, kButtonWidth, kButtonHeight, kNextId + 2, kButton},
};

// A text file's lines joined by CR LF, whatever line ends it came with.
String JoinedLines(const String& text) {
  String joined;
  for (const String& line : SplitLines(text)) {
    if (!joined.empty()) joined += "\r\n";
    joined += line;
  }
  return joined;
}

void AppendText(HWND edit, const String& text) {
  constexpr WPARAM kPastTheText = INT_MAX;  // the control takes a position past its text as its end
  SendMessageA(edit, EM_SETSEL, kPastTheText, kPastTheText);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  // The text is read from its start.
  SendMessageA(edit, EM_SETSEL, 0, 0);
  SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace

bool WizardWindow::Open(const SetupInfo& info, ProposedFolders folders, const ScopeChoice& scope, HICON icon) {
  folders_ = std::move(folders);
  scope_ = scope.scope;
  scopeShown_ = scope.offered;
  RegisterWindowClass(kClassName, 0, LoadCursor(nullptr, IDC_ARROW), icon);
  const String caption = Concat({info.appName, " v", info.appVersion});
  appName_ = info.appName;
  if (!CreateCentred(WS_EX_CONTROLPARENT, kClassName, caption.c_str(),
                     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kWidth, kHeight, true))
    return false;

  const HFONT font = font_.Get();
  const HWND hwnd = Handle();
  const String company = "Brought to you by " + info.appCompany;
  const String infoText = info.appName + kInfoText;
  for (const ControlPlace& control : kControls) {
    if (control.id == kPathId) {
      path_ = CreatePathControl(hwnd, L"EDIT", Proposed(), control.style, At(control.x), At(control.y),
                                At(control.width), At(control.height), kPathId, font, WS_EX_CLIENTEDGE);
      continue;
    }
    const char* text = control.id == kCompanyId ? company.c_str() : control.id == kInfoId ? infoText.c_str() : control.text;
    CreateControl(hwnd, kClassNames[control.kind], text, control.style, At(control.x), At(control.y),
                  At(control.width), At(control.height), control.id, font, control.kind == kEdit ? WS_EX_CLIENTEDGE : 0);
  }
  licence_ = GetDlgItem(hwnd, kLicenceId);
  readme_ = GetDlgItem(hwnd, kReadmeId);
  runBox_ = GetDlgItem(hwnd, kRunBoxId);
  SendMessageA(GetDlgItem(hwnd, scope_ == InstallScope::kUser ? kForUserId : kForMachineId), BM_SETCHECK, BST_CHECKED, 0);
  // Without this a text box takes 32 KB and silently drops the rest of a longer text.
  for (HWND box : {licence_, readme_}) SendMessageA(box, EM_SETLIMITTEXT, 0, 0);

  if (info.runAfterInstall && !info.mainExe.empty()) {
    runBoxShown_ = true;
    SendMessageA(runBox_, BM_SETCHECK, BST_CHECKED, 0);
  }
  ShowPage(info.useFixedPath ? 2 : info.showLicence ? 0 : 1);
  return true;
}

void WizardWindow::LoadLic(const String* text) {
  if (text != nullptr) AppendText(licence_, JoinedLines(*text));
}

void WizardWindow::LoadReadme(const String* text) {
  readmeShown_ = text != nullptr;
  if (readmeShown_) AppendText(readme_, JoinedLines(*text));
  ShowPage(page_);
}

// Made in memory: the system's own picture loader would open the file again by its name.
void WizardWindow::LoadSidePicture(const String* bytes) {
  const std::size_t rows = bytes == nullptr ? 0 : BitmapRowsOffset(*bytes);
  if (rows == 0) return;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes->data() + 14);  // after the file header
  const HDC screen = GetDC(nullptr);
  sidePicture_ = GdiObject<HBITMAP>(
      CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bytes->data() + rows, info, DIB_RGB_COLORS));
  ReleaseDC(nullptr, screen);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void WizardWindow::ShowPage(int page) {
  page_ = page;
  for (const PageControl& control : kPageControls) {
    const bool scopeControl = control.id == kForMachineId || control.id == kForUserId;
    const bool available = (control.id != kReadmeId || readmeShown_) && (control.id != kRunBoxId || runBoxShown_) &&
                           (!scopeControl || scopeShown_);
    ShowWindow(GetDlgItem(Handle(), control.id), control.page == page && available ? SW_SHOW : SW_HIDE);
  }
  FocusPage();
}

void WizardWindow::FocusPage() {
  if (page_ == 1) {
    SetFocus(path_);
    SendMessageA(path_, EM_SETSEL, 0, -1);
  } else {
    SetFocus(GetDlgItem(Handle(), kNextId + page_));
  }
}

// The path page shows the folder the install will own before it lets the user on: a refused
// folder is said so, and one that is adjusted (trimmed, or a folder of the user's that gets
// the application's own folder below it) is shown for another look.
bool WizardWindow::TakeInstallFolder() {
  const String typed = ControlText(path_);
  const InstallFolderChoice folder = ChooseFolder(typed);
  if (folder.refused) {
    ShowMessageBox(Handle(), folder.reason, ControlText(Handle()), MB_OK | MB_ICONEXCLAMATION);
    FocusPage();
    return false;
  }
  if (folder.path == typed) return true;
  SetControlText(path_, folder.path);
  FocusPage();
  return false;
}

const String& WizardWindow::Proposed() const {
  return scope_ == InstallScope::kUser ? folders_.forUser : folders_.forMachine;
}

InstallFolderChoice WizardWindow::ChooseFolder(const String& folder) {
  return ChooseSystemInstallFolder(files_, folder, appName_, scope_);
}

void WizardWindow::Forward() {
  if (page_ == 1 && !TakeInstallFolder()) return;
  if (page_ < kPages - 1) {
    ShowPage(page_ + 1);
    return;
  }
  choice_.installPath = ControlText(path_);
  choice_.runAfterInstall = SendMessageA(runBox_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  choice_.scope = scope_;
  chosen_ = true;
  ShowWindow(Handle(), SW_HIDE);
  PostQuitMessage(0);
}

void WizardWindow::BackOrCancel() {
  if (page_ > 0) ShowPage(page_ - 1);
  else DestroyWindow(Handle());
}

void WizardWindow::Browse() {
  const String folder = BrowseForInstallFolder(Handle());
  if (folder.empty()) return;
  const InstallFolderChoice choice = ChooseFolder(folder);
  SetControlText(path_, choice.refused ? folder : choice.path);
}

// The other scope's own folder replaces the proposal of the one left, not a folder typed.
void WizardWindow::TakeScope(InstallScope scope) {
  if (scope == scope_) return;
  const bool proposed = ControlText(path_) == Proposed();
  scope_ = scope;
  if (proposed) SetControlText(path_, Proposed());
}

void WizardWindow::OnCommand(int id) {
  if (chosen_) return;  // installing: the wizard only waits to be closed
  if (id == kNextId + page_) Forward();
  else if (id == kBackId + page_ || id == IDCANCEL) BackOrCancel();
  else if (id == kBrowseId) Browse();
  else if (id == kForMachineId || id == kForUserId)
    TakeScope(id == kForUserId ? InstallScope::kUser : InstallScope::kMachine);
}

bool WizardWindow::PreTranslate(const MSG& message) {
  // A multi-line text box would take Esc as closing the whole window.
  if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
  if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
  OnCommand(IDCANCEL);
  return true;
}

LRESULT WizardWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintContext paint(Handle());
      if (sidePicture_.Get() == nullptr) return 0;
      MemoryDc memory(paint.Dc());
      Selection picture(memory.Get(), sidePicture_.Get());
      BITMAP info{};
      GetObjectW(sidePicture_.Get(), sizeof(info), &info);
      // Pixel art: a whole factor that fits beside the pages (1 at 150 %, 2 at 200 %).
      const int scale = PixelScaleWithinDpi(dpi_);
      SetStretchBltMode(paint.Dc(), COLORONCOLOR);
      StretchBlt(paint.Dc(), 0, 0, info.bmWidth * scale, info.bmHeight * scale, memory.Get(), 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
      // Where the window is taller, the picture's last row goes on to its bottom.
      RECT client;
      GetClientRect(Handle(), &client);
      const int below = client.bottom - info.bmHeight * scale;
      if (below > 0)
        StretchBlt(paint.Dc(), 0, info.bmHeight * scale, info.bmWidth * scale, below, memory.Get(), 0, info.bmHeight - 1,
                   info.bmWidth, 1, SRCCOPY);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;
    case WM_SETFOCUS:
      FocusPage();
      return 0;
    case DM_GETDEFID:  // Enter presses the page's forward button
      return MAKELRESULT(kNextId + page_, DC_HASDEFID);
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == licence_ || reinterpret_cast<HWND>(lParam) == readme_)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      return ScaledWindow::OnMessage(message, wParam, lParam);
    case WM_DESTROY:
      if (!chosen_) PostQuitMessage(0);
      return 0;
    default:
      return ScaledWindow::OnMessage(message, wParam, lParam);
  }
}

}  // namespace pelorin::win
