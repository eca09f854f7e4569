#include "MainWindow_win.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>

#include "Concat.h"
#include "DisplayScale.h"
#include "Dpi_win.h"
#include "EditorLayout.h"
#include "GameFolder.h"
#include "MainWindowButtons.h"
#include "ModChooserDialog_win.h"
#include "NameColours.h"
#include "PictureFile.h"
#include "PrintName.h"
#include "Resource_win.h"
#include "SaveUi_win.h"
#include "ServerName.h"
#include "Settings.h"
#include "Skin_win.h"
#include "StartName.h"
#include "Startup.h"
#include "SystemPaths_win.h"
#include "TextInsertion.h"
#include "TitleBar_win.h"
#include "WideText_win.h"
#include "resource.h"

namespace pelorin::win {

namespace {

// Opens a web page. shell32 is loaded only then, and stays loaded for the page's opening: it
// is large, and with it among the imports every start of the editor waited for it.
void OpenWebPage(HWND owner, const char* page) {
  using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (shell == nullptr) return;
  const auto open = reinterpret_cast<ShellExecuteFunction>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
  if (open != nullptr) open(owner, "open", page, "", "", SW_HIDE);
}

constexpr char kClassName[] = "PelorinMain";
constexpr char kNameBoxLabel[] = "Player name";
constexpr const char* kMakersPage = "http://www.brackwater.example/pelorin/";
// Sent to itself once the window shows (FinishStart).
constexpr UINT kFinishStartMessage = WM_APP + 1;

enum ControlId : int {
  kNameBoxId = 100,
  kPreviewId,
  kHistoryId,
  kLettersId,
  kKeypadId,
  kSaveId,
  kColourBoxId,  // eight in a row
  kDeleteNameCommand = kColourBoxId + 8,
  kSaveAllCommand,
  kSelectModsCommand,
  kNameCounterId,
};

constexpr int PixelsOfTwips(int twips) { return twips / layout::kTwipsPerPixel; }

// A folder the session names in its environment (APPDATA, LOCALAPPDATA): read without the
// shell, which the start does not wait for. Empty when not set or not whole.
String EnvironmentFolder(const wchar_t* name) {
  wchar_t text[2 * MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(name, text, 2 * MAX_PATH);
  String folder;
  if (length == 0 || length >= 2 * MAX_PATH || !Utf8FromWide(std::wstring_view(text, length), folder)) return {};
  return folder;
}

// Where a window of `width` by `height` pixels stands centred on the screen.
POINT CentredOn(int width, int height) {
  return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

int ModifierMask() {
  int mask = 0;
  if (GetKeyState(VK_SHIFT) < 0) mask |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) mask |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) mask |= kAltMask;
  return mask;
}

}  // namespace

MainWindow::MainWindow(const GlyphSheet& sheet, const ProgramContext& context)
    : sheet_(sheet), context_(context), canvas_(sheet) {}

bool MainWindow::Open() {
  RegisterWindowClass(kClassName, 0, LoadCursor(nullptr, IDC_ARROW),
                      LoadIcon(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(IDI_PELORIN)));
  const int width = PixelsOfTwips(layout::kDesignWidthTwips);
  const int height = layout::kClientHeight;
  const POINT at = CentredOn(width, height);
  if (Create(0, kClassName, kProgramTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                 WS_CLIPCHILDREN, at.x, at.y, width, height, nullptr) == nullptr)
    return false;

  ToggleTitleBar(Handle(), false);
  heightTwips_ = layout::kCollapsedHeightTwips;
  CreateControls();
  if (!context_.uninstall) {
    ApplyDpi(WindowDpi(Handle()));
    // Centred as the expanded window is, so that the keypad opens within the screen.
    const POINT scaled = CentredOn(width * scale_, height * scale_);
    SetWindowPos(Handle(), nullptr, scaled.x, scaled.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  OnNameChanged();
  LoadSettings();
  if (state_.gameFolder.empty()) saveButton_->Model().SetEnabled(false);
  if (state_.history.Empty() && !state_.lastSavedName.empty()) state_.history.AddName(state_.lastSavedName);
  DrawHistory();

  if (context_.uninstall) {
    // Asked by the uninstaller, which waits for this program: remove the key and end unseen.
    UnregisterProgram(context_.registry, context_.productName);
    DestroyWindow(Handle());
    return false;
  }
  ShowWindow(Handle(), SW_SHOWNORMAL);
  SetFocus(nameBox_);
  PostMessageA(Handle(), kFinishStartMessage, 0, 0);
  return true;
}

void MainWindow::LoadSettings() {
  const String local = EnvironmentFolder(L"LOCALAPPDATA");
  SettingsFiles where = ChooseSettingsFiles(context_.files, context_.programFolder, EnvironmentFolder(L"APPDATA"),
                                                  local.empty() ? local : Concat({local, "\\VirtualStore"}));
  const bool taken = !where.startFrom.empty() && !context_.files.FileExists(where.path);
  EditorSettings settings = pelorin::LoadSettings(context_.files, taken ? where.startFrom : where.path);
  settingsPath_ = std::move(where.path);
  state_.gameFolder = std::move(settings.gameFolder);
  if (state_.gameFolder.empty()) {
    // The uninstall start never asks: the uninstaller is waiting for this program.
    // Nothing of the program shows yet, so the locator has no owner.
    if (!context_.uninstall) state_.gameFolder = AskForGameFolder(context_.files, context_.registry, nullptr);
  } else {
    state_.lastSavedName = std::move(settings.lastSavedName);
    for (String& name : settings.history) state_.history.Append(std::move(name));
  }
  // Until a name is saved, the box starts with the one the game starts with (FinishStart).
  if (!state_.lastSavedName.empty()) SetNameText(state_.lastSavedName);
}

// What the window need not wait for: the program's registration, and the name the game starts
// with, whose lookup of the engine's home path loads the shell and takes longer than showing
// the whole window. Both come before any key or click is taken (a posted message comes
// before input).
void MainWindow::FinishStart() {
  RegisterProgram(context_.registry, context_.productName, context_.executablePath, context_.version);
  if (!state_.lastSavedName.empty() || state_.gameFolder.empty()) return;
  state_.homePath = EngineHomePath(AppDataFolder());
  SetNameText(NameTheGameStartsWith(context_.files, state_.gameFolder, state_.homePath));
}

void MainWindow::StoreSettings() {
  if (settingsPath_.empty()) return;  // never read, so nothing to keep
  // Nothing else can be done about a folder that takes no file: the values are simply not kept.
  // Called as the window closes, so the values move out rather than being copied.
  pelorin::StoreSettings(context_.files, settingsPath_,
                         {std::move(state_.gameFolder), std::move(state_.lastSavedName), state_.history.TakeNames()});
}

// The engine's home path is looked up when a save needs it, not at start (unless no name was
// saved yet): the lookup loads the shell.
SaveServices MainWindow::Services() {
  if (state_.homePath.empty()) state_.homePath = EngineHomePath(AppDataFolder());
  return {context_.files, context_.processes, context_.registry};
}

void MainWindow::SaveToAll() {
  const SaveServices services = Services();
  WindowSaveUi ui(services, Handle());
  AfterSave(SaveToAllMods(services.files, services.processes, ui, state_, NameText()));
}

void MainWindow::SaveToChosen() {
  const SaveServices services = Services();
  WindowSaveUi ui(services, Handle());
  if (!EnsureGameFolder(services.files, ui, state_.gameFolder)) return;
  ModChooserDialog dialog(services, state_, NameText());
  if (dialog.Run(Handle())) AfterSave(SaveOutcome::kSaved);
}

// Only a finished save redraws the history: the glyph colour carries over from row to row,
// so a redraw after a save that ended early could recolour rows that did not change.
void MainWindow::AfterSave(SaveOutcome outcome) {
  if (outcome == SaveOutcome::kSaved) DrawHistory();
}

bool MainWindow::OnSetCursor() {
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(Handle(), &point);
  if (LinkAreaAt(point.x / scale_, point.y / scale_) < 0) return false;
  SetCursor(LoadCursor(nullptr, IDC_HAND));
  return true;
}

void MainWindow::CreateControls() {
  HWND hwnd = Handle();
  bandBrush_ = GdiObject<HBRUSH>(CreateSolidBrush(ColorRefFromPixel(kBandColour)));

  const Rect& box = layout::kNameBox;
  // Screen readers name an edit control after the static control just before it in Z order;
  // this label is never shown.
  CreateControl(hwnd, "STATIC", kNameBoxLabel, 0, box.left, box.top, 0, 0, -1);
  nameBox_ = CreateControl(hwnd, "EDIT", "", WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP, box.left, box.top,
                           box.width, box.height, kNameBoxId);

  preview_ = std::make_unique<PictureControl>(hwnd, kPreviewId, layout::kPreview, kBandColour, *this);
  for (int k = 0; k < 8; ++k) {
    colourBoxes_[k] = std::make_unique<PictureControl>(hwnd, kColourBoxId + k,
                                                       layout::ColourBox(k), kPalette[k], *this);
  }
  CreateImageButtons();
  CreateNameCounter();

  historyArea_ = std::make_unique<PictureControl>(hwnd, kHistoryId, layout::kHistory, kBandColour, *this);
  ShowHistoryMarker(historyMarkerTop_);

  letters_ = std::make_unique<PictureControl>(hwnd, kLettersId, layout::kLetters, kWhite, *this);
  DrawSheet(sheet_, kWhite, letters_->Pixels());
  ShowLetterMarker(letterMarkerTwips_);

  deleteMenu_ = CreatePopupMenu();
  AppendMenuA(deleteMenu_, MF_STRING, kDeleteNameCommand, "&Delete this name");
  saveMenu_ = CreatePopupMenu();
  AppendMenuA(saveMenu_, MF_STRING, kSaveAllCommand, "Save to &All Mods");
  AppendMenuA(saveMenu_, MF_STRING, kSelectModsCommand, "&Select Mod to Save To...");
}

// The two image buttons come from the window's stored data, made into a table at build time;
// their faces are resources.
void MainWindow::CreateImageButtons() {
  keypadButton_ = std::make_unique<ImageButton>(Handle(), kKeypadId, layout::kKeypadButton.left,
                                                layout::kKeypadButton.top, *this);
  saveButton_ = std::make_unique<ImageButton>(Handle(), kSaveId, layout::kSaveButton.left,
                                              layout::kSaveButton.top, *this);
  // Every face is read before any button takes its data: damaged data leaves both as created.
  constexpr std::size_t kStored = std::size(kMainWindowButtons);
  PictureRef faces[kStored][3];
  for (std::size_t i = 0; i < kStored; ++i) {
    const StoredButton& stored = kMainWindowButtons[i];
    for (int k = 0; k < 3; ++k) {
      const StoredPicture& picture = stored.pictures[k];
      if (picture.resource == nullptr) continue;
      if (!(faces[i][k] = PictureFromBmp(ResourceBytes(picture.resource)))) {
        MessageBoxA(Handle(), Concat({"The stored button data is damaged: ", picture.line}).c_str(), kProgramTitle,
                    MB_OK | MB_ICONERROR);
        return;
      }
    }
  }
  for (std::size_t i = 0; i < kStored; ++i) {
    const StoredButton& stored = kMainWindowButtons[i];
    const std::string_view name = stored.name;
    ImageButton* button = name == "cmdkeypad" ? keypadButton_.get() : name == "cmdGo" ? saveButton_.get() : nullptr;
    if (button == nullptr) continue;
    button->SetExtents(stored.extentX, stored.extentY);
    button->ApplySettings(stored.settings, faces[i]);
  }
}

// Lays the window out at the whole factor for `dpi`: the pixel art, the name box's font and
// every hit area scale with it; the counter and tooltip take the system's font at that DPI.
void MainWindow::ApplyDpi(int dpi) {
  scale_ = PixelScaleOfDpi(dpi);
  GdiObject<HFONT> nameFont(CreateFontA(-11 * scale_, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                        "MS Sans Serif"));
  GdiObject<HFONT> counterFont(CreateMessageFont(dpi));
  const auto place = [this](HWND control, const Rect& rect) {
    const Rect at = Scaled(rect, scale_);
    SetWindowPos(control, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(nameBox_, layout::kNameBox);
  SendMessageA(nameBox_, WM_SETFONT, reinterpret_cast<WPARAM>(nameFont.Get()), TRUE);
  place(nameCounter_, layout::kNameCounter);
  if (serverNameTip_ != nullptr)
    SendMessageA(serverNameTip_, WM_SETFONT, reinterpret_cast<WPARAM>(counterFont.Get()), FALSE);
  font_ = std::move(nameFont);
  counterFont_ = std::move(counterFont);
  for (PictureControl* picture : {preview_.get(), historyArea_.get(), letters_.get()}) picture->SetScale(scale_);
  for (auto& box : colourBoxes_) box->SetScale(scale_);
  keypadButton_->SetScale(scale_);
  saveButton_->SetScale(scale_);
  SetWindowPos(Handle(), nullptr, 0, 0, PixelsOfTwips(layout::kWidthTwips) * scale_,
               PixelsOfTwips(heightTwips_) * scale_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

HWND MainWindow::StopControl(FocusStop stop) const {
  const HWND controls[kFocusStops] = {nameBox_,
                                      colourBoxes_[colourFocus_]->Handle(),
                                      keypadButton_->Handle(),
                                      saveButton_->Handle(),
                                      historyArea_->Handle(),
                                      letters_->Handle()};
  return controls[static_cast<int>(stop)];
}

// The stop `control` belongs to, or -1; the window itself counts as the name box.
int MainWindow::StopOf(HWND control) const {
  if (control == Handle()) return 0;
  for (const auto& box : colourBoxes_)
    if (control == box->Handle()) return static_cast<int>(FocusStop::kColours);
  for (int stop = 0; stop < kFocusStops; ++stop)
    if (control == StopControl(static_cast<FocusStop>(stop))) return stop;
  return -1;
}

unsigned MainWindow::AvailableStops() const {
  unsigned available = 0;
  for (int stop = 0; stop < kFocusStops; ++stop)
    if (IsWindowEnabled(StopControl(static_cast<FocusStop>(stop)))) available |= 1u << stop;
  if (heightTwips_ != layout::kExpandedHeightTwips) available &= ~StopBit(FocusStop::kLetters);
  return available;
}

int MainWindow::FocusedItem(FocusStop stop) const {
  if (stop == FocusStop::kHistory)
    return std::clamp(HistoryRowOfMarker(historyMarkerTop_), 0, NameHistory::kRows - 1);
  if (stop == FocusStop::kLetters)
    return std::clamp(LetterCodeOfMarker(letterMarkerTwips_.x, letterMarkerTwips_.y), 0, 127);
  return colourFocus_;
}

// Focuses `stop`; in the palettes and the history its marker goes on `item`, which is named
// for screen readers.
void MainWindow::FocusStopItem(FocusStop stop, int item) {
  PictureControl* picture = nullptr;
  if (stop == FocusStop::kColours) {
    colourFocus_ = item;
    picture = colourBoxes_[item].get();
  } else if (stop == FocusStop::kHistory) {
    ShowHistoryMarker(16 * item);
    picture = historyArea_.get();
  } else if (stop == FocusStop::kLetters) {
    ShowLetterMarker({item % 16 * 240, item / 16 * 240});
    picture = letters_.get();
  }
  if (picture != nullptr)
    picture->SetItemName(ItemName(stop, item, stop == FocusStop::kHistory ? state_.history.Entry(item) : ""));
  SetFocus(StopControl(stop));
}

bool MainWindow::OnStopKey(FocusStop stop, int keyCode) {
  const KeyOutcome outcome = KeyAtStop(stop, FocusedItem(stop), keyCode);
  const char code[3] = {'^', static_cast<char>(stop == FocusStop::kColours ? '0' + outcome.item : outcome.item), 0};
  switch (outcome.action) {
    case KeyAction::kNone:
      return false;
    case KeyAction::kMove:
      FocusStopItem(stop, outcome.item);
      break;
    case KeyAction::kPress:
      OnImageButtonClick(stop == FocusStop::kKeypad ? kKeypadId : kSaveId);
      break;
    case KeyAction::kInsert:
      InsertIntoName(stop == FocusStop::kColours ? code : code + 1, false);
      break;
    case KeyAction::kTakeName:
      TakeHistoryName(outcome.item);
      break;
    case KeyAction::kDeleteRow:
      deleteIndex_ = static_cast<std::int16_t>(outcome.item);
      DeleteHistoryRow();
      FocusStopItem(stop, outcome.item);
      break;
  }
  return true;
}

void MainWindow::OnImageButtonClick(int id) {
  if (id == kKeypadId) ToggleKeypad();
  if (id == kSaveId) ShowSaveMenu();
}

bool MainWindow::PreviewKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
  const int key = static_cast<int>(message.wParam);
  const int modifiers = ModifierMask();
  if (const int stop = StopOf(message.hwnd); stop >= 0 && message.message == WM_KEYDOWN) {
    if (key == VK_TAB && (modifiers & ~kShiftMask) == 0) {
      const FocusStop next = NextFocusStop(static_cast<FocusStop>(stop), modifiers == kShiftMask, AvailableStops());
      FocusStopItem(next, FocusedItem(next));
      return true;
    }
    if (stop > 0 && modifiers == 0 && OnStopKey(static_cast<FocusStop>(stop), key)) return true;
  }
  if (message.hwnd == nameBox_ && IsSelectAllKey(key, modifiers)) {
    SendMessageA(nameBox_, EM_SETSEL, 0, -1);
    return true;
  }
  if (!IsCloseKey(key, modifiers)) return false;
  PostMessageA(Handle(), WM_CLOSE, 0, 0);
  return true;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case kFinishStartMessage:
      FinishStart();
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != kNameCounterId) return Window::OnMessage(message, wParam, lParam);
      char text[32] = {};
      GetWindowTextA(nameCounter_, text, sizeof(text));
      Selection font(item->hDC, counterFont_.Get());
      PaintNameCounter(item->hDC, item->rcItem, text, nameOverLimit_, scale_);
      return TRUE;
    }
    case WM_CTLCOLOREDIT:
      SetTextColor(reinterpret_cast<HDC>(wParam), ColorRefFromPixel(kYellow));
      SetBkColor(reinterpret_cast<HDC>(wParam), ColorRefFromPixel(kBandColour));
      return reinterpret_cast<LRESULT>(bandBrush_.Get());
    case WM_LBUTTONDOWN:
      OnSkinPress(GET_X_LPARAM(lParam) / scale_, GET_Y_LPARAM(lParam) / scale_);
      return 0;
    case WM_LBUTTONUP:
      OnSkinRelease(GET_X_LPARAM(lParam) / scale_, GET_Y_LPARAM(lParam) / scale_);
      return 0;
    case kDpiChangedMessage: {
      // The system suggests where the window goes on the new monitor; its size is ours.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ApplyDpi(LOWORD(wParam));
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressedLink_ = -1;
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT && OnSetCursor())
        return TRUE;
      return Window::OnMessage(message, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) focusBeforeLeaving_ = GetFocus();
      return Window::OnMessage(message, wParam, lParam);
    case WM_SETFOCUS:  // back in the window: the focus returns to the control that had it
      SetFocus(IsChild(Handle(), focusBeforeLeaving_) ? focusBeforeLeaving_ : nameBox_);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintContext paint(Handle());
      PaintSkin(paint.Dc(), PixelsOfTwips(layout::kDesignWidthTwips) + 1, layout::kClientHeight, scale_);
      return 0;
    }
    case WM_PRINTCLIENT:  // a transparent control asks for what lies behind it
      PaintSkin(reinterpret_cast<HDC>(wParam), PixelsOfTwips(layout::kDesignWidthTwips) + 1,
                layout::kClientHeight, scale_);
      return 0;
    case WM_CLOSE:
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      StoreSettings();
      DestroyMenu(deleteMenu_);
      DestroyMenu(saveMenu_);
      PostQuitMessage(0);
      return 0;
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

void MainWindow::OnCommand(int id, int notification) {
  switch (id) {
    case kNameBoxId:
      if (notification == EN_CHANGE) OnNameChanged();
      break;
    case kDeleteNameCommand:
      DeleteHistoryRow();
      break;
    case kSaveAllCommand:
      SaveToAll();
      break;
    case kSelectModsCommand:
      SaveToChosen();
      break;
    default:
      break;
  }
}

void MainWindow::OnSkinPress(int x, int y) {
  // A link opens on a click: the press here, the release in the same area (OnSkinRelease).
  pressedLink_ = LinkAreaAt(x, y);
  if (pressedLink_ >= 0) {
    SetCapture(Handle());
    return;
  }
  switch (HitTestSkin(x, y)) {
    case SkinHit::kClose:
      PostMessageA(Handle(), WM_CLOSE, 0, 0);
      break;
    case SkinHit::kMove:
      ReleaseCapture();
      SendMessageA(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
      break;
    case SkinHit::kNone:
      break;
  }
}

void MainWindow::OnSkinRelease(int x, int y) {
  if (pressedLink_ < 0) return;
  const bool sameArea = LinkAreaAt(x, y) == pressedLink_;
  pressedLink_ = -1;
  ReleaseCapture();
  if (sameArea) OpenWebPage(Handle(), kMakersPage);
}

void MainWindow::OnPictureMouseMove(int id, int x, int y) {
  if (id == kPreviewId && serverNameTip_ == nullptr) {
    CreateServerNameTip();
    // The tooltip watches the preview from now on; this first move reached only the preview.
    MSG move{preview_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y), static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&move.pt);
    if (serverNameTip_ != nullptr) SendMessageA(serverNameTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  } else if (id == kHistoryId) {
    ShowHistoryMarker(HistoryMarkerTop(y));
  } else if (id == kLettersId) {
    ShowLetterMarker(LetterMarkerOfPointer(x * layout::kTwipsPerPixel, y * layout::kTwipsPerPixel));
  }
}

void MainWindow::OnPictureButtonUp(int id, int button, int, int) {
  if (id != kHistoryId) return;
  const int row = HistoryRowOfMarker(historyMarkerTop_);
  if (button == 1) {
    if (row < 0 || row >= NameHistory::kRows) return;
    TakeHistoryName(row);
  } else if (button == 2) {
    deleteIndex_ = static_cast<std::int16_t>(row);
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(deleteMenu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x,
                   cursor.y, 0, Handle(), nullptr);
  }
}

void MainWindow::OnPictureClick(int id) {
  if (id >= kColourBoxId && id < kColourBoxId + 8) {
    const char code[] = {'^', static_cast<char>('0' + id - kColourBoxId)};
    InsertIntoName({code, 2});
  } else if (id == kLettersId) {
    const int code = LetterCodeOfMarker(letterMarkerTwips_.x, letterMarkerTwips_.y);
    // Code 0 inserts nothing; a marker left outside the sheet by a captured drag names no cell.
    const char letter = static_cast<char>(code);
    if (code > 0 && code < 128) InsertIntoName({&letter, 1});
  }
}

String MainWindow::NameText() const {
  const int length = GetWindowTextLengthA(nameBox_);
  String text(length + 1, '\0');
  text.resize(GetWindowTextA(nameBox_, text.data(), length + 1));
  return text;
}

void MainWindow::SetNameText(const String& text) { SetWindowTextA(nameBox_, text.c_str()); }

void MainWindow::TakeHistoryName(int row) {
  SetNameText(String(state_.history.Entry(row)));
  SetFocus(nameBox_);
}

// A click puts the focus back into the name box; a key leaves it on the palette, for the next.
void MainWindow::InsertIntoName(std::string_view inserted, bool focusName) {
  DWORD selectionStart = 0;
  SendMessageA(nameBox_, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
  const Insertion result = InsertAtCaret(NameText(), static_cast<int>(selectionStart), inserted);
  SetNameText(result.text);
  SendMessageA(nameBox_, EM_SETSEL, result.caret, result.caret);
  if (focusName) SetFocus(nameBox_);
}

// The counter in the title strip. The tooltip on the preview that tells how game servers show
// the name comes later (CreateServerNameTip).
void MainWindow::CreateNameCounter() {
  const Rect& counter = layout::kNameCounter;
  nameCounter_ = CreateControl(Handle(), "STATIC", "", WS_VISIBLE | SS_OWNERDRAW, counter.left, counter.top,
                               counter.width, counter.height, kNameCounterId);
}

// Made when the pointer first comes onto the preview: comctl32, which tooltips need, takes
// about as long to load as the rest of the start, so it is loaded only then and stays loaded.
void MainWindow::CreateServerNameTip() {
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  if (controls == nullptr) return;
  const auto init = reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(controls, "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  if (init != nullptr) init(&classes);
  serverNameTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  if (serverNameTip_ == nullptr) return;
  SendPreviewTool(TTM_ADDTOOLA, TTF_IDISHWND | TTF_SUBCLASS, const_cast<char*>(""));
  SendMessageA(serverNameTip_, TTM_SETMAXTIPWIDTH, 0, 480 * scale_);  // lines break at each line end
  SendMessageA(serverNameTip_, WM_SETFONT, reinterpret_cast<WPARAM>(counterFont_.Get()), FALSE);
  UpdateServerNameHints();  // the tip's first text
}

// The tooltip's one tool, the preview, with `flags` and `text`, in `message`.
void MainWindow::SendPreviewTool(UINT message, UINT flags, char* text) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = flags;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(preview_->Handle());
  tool.lpszText = text;
  SendMessageA(serverNameTip_, message, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::UpdateServerNameTip(const ServerName& server) {
  if (serverNameTip_ == nullptr) return;
  String tip = ServerNameTip(server);
  SendPreviewTool(TTM_UPDATETIPTEXTA, 0, tip.data());
  SendMessageA(serverNameTip_, TTM_ACTIVATE, !tip.empty(), 0);
}

void MainWindow::UpdateServerNameHints() {
  const ServerName server = ServerNameOf(NameText());
  nameOverLimit_ = server.overLimit;
  SetWindowTextA(nameCounter_, LengthAgainstLimit(server).c_str());
  InvalidateRect(nameCounter_, nullptr, FALSE);
  UpdateServerNameTip(server);
}

void MainWindow::OnNameChanged() {
  DrawPreview();
  UpdateServerNameHints();
}

void MainWindow::DrawPreview() {
  canvas_.SetColour(kWhite);
  PrintName(preview_->Pixels(), canvas_, NameText(), 0);
  preview_->Refresh();
}

void MainWindow::DrawHistory() {
  for (int row = 0; row < NameHistory::kRows; ++row)
    PrintName(historyArea_->Pixels(), canvas_, state_.history.Entry(row), static_cast<std::int16_t>(16 * row));
  historyArea_->Refresh();
}

void MainWindow::ShowHistoryMarker(int top) {
  historyMarkerTop_ = static_cast<std::int16_t>(top);
  historyArea_->SetMarker(Rect{0, top, layout::kHistory.width, 16});
}

// The marker of the letter palette's cell at `twips`.
void MainWindow::ShowLetterMarker(Point twips) {
  letterMarkerTwips_ = twips;
  letters_->SetMarker(Rect{PixelsOfTwips(twips.x), PixelsOfTwips(twips.y), 16, 16});
}

void MainWindow::ToggleKeypad() {
  heightTwips_ = ToggledHeightTwips(heightTwips_);
  RECT window;
  GetWindowRect(Handle(), &window);
  SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left, PixelsOfTwips(heightTwips_) * scale_,
               SWP_NOMOVE | SWP_NOZORDER);
}

void MainWindow::ShowSaveMenu() {
  POINT corner{layout::kSaveButton.left * scale_, layout::kSaveButton.top * scale_};
  ClientToScreen(Handle(), &corner);
  TrackPopupMenu(saveMenu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, corner.x, corner.y, 0,
                 Handle(), nullptr);
}

void MainWindow::DeleteHistoryRow() {
  if (!state_.history.Remove(deleteIndex_)) return;
  DrawHistory();
}

}  // namespace pelorin::win
