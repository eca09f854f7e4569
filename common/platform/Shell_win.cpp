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

// The desktop's shell object, found through the window of the desktop's folder view. Each
// step's object is released at the end, whether or not the search got that far.
bool DesktopShell(ComPtr<IShellDispatch2>& shell) {
  IShellWindows* windows = nullptr;
  IDispatch* desktop = nullptr;
  IServiceProvider* services = nullptr;
  IShellBrowser* browser = nullptr;
  IShellView* view = nullptr;
  IShellFolderViewDual* folderView = nullptr;
  IDispatch* objects[2] = {};  // the view's background, then the shell application
  VARIANT location{};
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  VARIANT root{};
  long window = 0;
  const bool found =
      SUCCEEDED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                 reinterpret_cast<void**>(&windows))) &&
      windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &desktop) == S_OK &&
      desktop != nullptr &&
      SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services))) &&
      SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, reinterpret_cast<void**>(&browser))) &&
      SUCCEEDED(browser->QueryActiveShellView(&view)) &&
      SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, reinterpret_cast<void**>(&objects[0]))) &&
      SUCCEEDED(objects[0]->QueryInterface(IID_IShellFolderViewDual, reinterpret_cast<void**>(&folderView))) &&
      SUCCEEDED(folderView->get_Application(&objects[1])) && objects[1] != nullptr &&
      SUCCEEDED(objects[1]->QueryInterface(IID_IShellDispatch2, shell.Out()));
  for (IUnknown* object : {static_cast<IUnknown*>(windows), static_cast<IUnknown*>(desktop),
                           static_cast<IUnknown*>(services), static_cast<IUnknown*>(browser),
                           static_cast<IUnknown*>(view), static_cast<IUnknown*>(folderView),
                           static_cast<IUnknown*>(objects[0]), static_cast<IUnknown*>(objects[1])})
    if (object != nullptr) object->Release();
  return found;
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
  // Texts handed across processes are BSTRs from the automation library, which is loaded
  // only for this, so that the programs do not load it at every start.
  const HMODULE library = LoadLibraryW(L"oleaut32.dll");
  if (library == nullptr) return false;
  const auto allocate = reinterpret_cast<BSTR(WINAPI*)(const OLECHAR*)>(
      reinterpret_cast<void*>(GetProcAddress(library, "SysAllocString")));
  const auto release =
      reinterpret_cast<void(WINAPI*)(BSTR)>(reinterpret_cast<void*>(GetProcAddress(library, "SysFreeString")));
  bool started = false;
  if (allocate != nullptr && release != nullptr) {
    const BSTR file = allocate(Wide(path).c_str());
    VARIANT folder{};
    folder.vt = VT_BSTR;
    folder.bstrVal = allocate(Wide(workingFolder).c_str());
    VARIANT none{};
    VARIANT show{};
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    started = file != nullptr && folder.bstrVal != nullptr &&
              SUCCEEDED(shell->ShellExecute(file, none, folder, none, show));
    release(file);  // a null BSTR is released as nothing
    release(folder.bstrVal);
  }
  FreeLibrary(library);
  return started;
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
