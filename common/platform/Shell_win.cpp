#include "Shell_win.h"

#include <windows.h>
#include <exdisp.h>
#include <objidl.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "ShellFolders_win.h"
#include "SystemPaths_win.h"
#include "WideText_win.h"

namespace pelorin {

namespace {

// A COM interface pointer released when it goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  void** Out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// The shell link object and its file interface.
struct LinkObject {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;

  bool Create() {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      link.Out())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.Out()));
  }
};


// Text handed across processes: a BSTR from the automation library, which is loaded only
// for this, so that the programs do not load it at every start.
class AutomationText {
 public:
  explicit AutomationText(const String& text) {
    library_ = LoadLibraryW(L"oleaut32.dll");
    if (library_ == nullptr) return;
    const auto allocate = reinterpret_cast<BSTR(WINAPI*)(const OLECHAR*)>(
        reinterpret_cast<void*>(GetProcAddress(library_, "SysAllocString")));
    free_ = reinterpret_cast<void(WINAPI*)(BSTR)>(reinterpret_cast<void*>(GetProcAddress(library_, "SysFreeString")));
    if (allocate != nullptr && free_ != nullptr) text_ = allocate(Wide(text).c_str());
  }
  AutomationText(const AutomationText&) = delete;
  AutomationText& operator=(const AutomationText&) = delete;
  ~AutomationText() {
    if (text_ != nullptr) free_(text_);
    if (library_ != nullptr) FreeLibrary(library_);
  }
  BSTR Get() const { return text_; }
  VARIANT Variant() const {
    VARIANT value{};
    value.vt = VT_BSTR;
    value.bstrVal = text_;
    return value;
  }

 private:
  HMODULE library_ = nullptr;
  void(WINAPI* free_)(BSTR) = nullptr;
  BSTR text_ = nullptr;
};

// The desktop's shell object, found through the window of the desktop's folder view.
bool DesktopShell(ComPtr<IShellDispatch2>& shell) {
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.Out())))
    return false;
  VARIANT location{};
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  VARIANT root{};
  long window = 0;
  ComPtr<IDispatch> desktop;
  if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                            reinterpret_cast<IDispatch**>(desktop.Out())) != S_OK ||
      desktop.Get() == nullptr)
    return false;
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.Out())) &&
         SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.Out())) &&
         SUCCEEDED(browser->QueryActiveShellView(reinterpret_cast<IShellView**>(view.Out()))) &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.Out())) &&
         SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.Out())) &&
         SUCCEEDED(folderView->get_Application(reinterpret_cast<IDispatch**>(application.Out()))) &&
         application.Get() != nullptr && SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.Out()));
}

}  // namespace

String Win32Shell::SystemFolder() { return pelorin::SystemFolder(); }

bool Win32Shell::HasAdministratorRights() {
  // Looked up, since the oldest systems lack it; they have no rights to tell apart either.
  using IsAdmin = BOOL(WINAPI*)();
  const HMODULE shell = GetModuleHandleW(L"shell32.dll");
  const auto isAdmin = shell == nullptr ? nullptr
                                        : reinterpret_cast<IsAdmin>(reinterpret_cast<void*>(
                                              GetProcAddress(shell, "IsUserAnAdmin")));
  return isAdmin != nullptr && isAdmin() != FALSE;
}

String Win32Shell::StartMenuFolder(StartMenuOwner owner, bool programs) {
  const bool allUsers = owner == StartMenuOwner::kAllUsers;
  return ShellFolderPath(allUsers ? (programs ? CSIDL_COMMON_PROGRAMS : CSIDL_COMMON_STARTMENU)
                                  : (programs ? CSIDL_PROGRAMS : CSIDL_STARTMENU));
}

bool Win32Shell::StartFromDesktop(const String& path, const String& workingFolder) {
  ComPtr<IShellDispatch2> shell;
  if (!DesktopShell(shell)) return false;
  const AutomationText file(path);
  const AutomationText folder(workingFolder);
  if (file.Get() == nullptr || folder.Get() == nullptr) return false;
  VARIANT none{};
  VARIANT show{};
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
  return SUCCEEDED(shell->ShellExecute(file.Get(), none, folder.Variant(), none, show));
}

bool Win32Shell::CreateShellLink(const String& linkFile, const ShellLink& values) {
  if (linkFile.empty() || values.target.empty()) return false;
  LinkObject object;
  if (!object.Create()) return false;
  // The texts that are given, each through its own setter; the target is always given.
  struct Text {
    String ShellLink::*value;
    HRESULT (STDMETHODCALLTYPE IShellLinkW::*set)(LPCWSTR);
  };
  static constexpr Text kTexts[] = {{&ShellLink::target, &IShellLinkW::SetPath},
                                    {&ShellLink::workingFolder, &IShellLinkW::SetWorkingDirectory},
                                    {&ShellLink::arguments, &IShellLinkW::SetArguments},
                                    {&ShellLink::description, &IShellLinkW::SetDescription}};
  for (const Text& text : kTexts) {
    const String& value = values.*text.value;
    if (!value.empty() && FAILED((object.link.Get()->*text.set)(Wide(value).c_str()))) return false;
  }
  if (!values.iconFile.empty() &&
      FAILED(object.link->SetIconLocation(Wide(values.iconFile).c_str(), values.iconIndex)))
    return false;
  if (FAILED(object.link->SetShowCmd(values.showCommand))) return false;
  // Resolving without a window updates the stored target details; a target that is not
  // there yet does not stop the save.
  object.link->Resolve(nullptr, SLR_NO_UI | SLR_UPDATE);
  return SUCCEEDED(object.file->Save(Wide(linkFile).c_str(), FALSE));
}

bool Win32Shell::OpenWithShell(const String& path, const String& workingFolder) {
  const HINSTANCE result = ShellExecuteW(nullptr, nullptr, Wide(path).c_str(), nullptr,
                                         Wide(workingFolder).c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool GetShellLinkInfo(const String& linkFile, ShellLink& values) {
  LinkObject object;
  if (!object.Create() || FAILED(object.file->Load(Wide(linkFile).c_str(), STGM_READ))) return false;
  wchar_t text[MAX_PATH] = {};
  if (FAILED(object.link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) return false;
  values.target = Utf8(text);
  text[0] = L'\0';
  object.link->GetWorkingDirectory(text, MAX_PATH);
  values.workingFolder = Utf8(text);
  text[0] = L'\0';
  object.link->GetArguments(text, MAX_PATH);
  values.arguments = Utf8(text);
  text[0] = L'\0';
  object.link->GetDescription(text, MAX_PATH);
  values.description = Utf8(text);
  text[0] = L'\0';
  object.link->GetIconLocation(text, MAX_PATH, &values.iconIndex);
  values.iconFile = Utf8(text);
  object.link->GetShowCmd(&values.showCommand);
  return true;
}

}  // namespace pelorin
