#include "Shell_win.h"

#include <windows.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "SystemPaths_win.h"

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
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;

  bool Create() {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      link.Out())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.Out()));
  }
};

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

}  // namespace

std::string Win32Shell::SystemFolder() { return pelorin::SystemFolder(); }

std::string Win32Shell::StartMenuFolder() {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTMENU, &items))) return {};
  char path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListA(items, path) != FALSE;
  CoTaskMemFree(items);
  return found ? std::string(path) : std::string();
}

bool Win32Shell::CreateShellLink(const std::string& linkFile, const ShellLink& values) {
  if (linkFile.empty() || values.target.empty()) return false;
  LinkObject object;
  if (!object.Create() || FAILED(object.link->SetPath(values.target.c_str()))) return false;
  if (!values.workingFolder.empty() && FAILED(object.link->SetWorkingDirectory(values.workingFolder.c_str())))
    return false;
  if (!values.arguments.empty() && FAILED(object.link->SetArguments(values.arguments.c_str()))) return false;
  if (!values.description.empty() && FAILED(object.link->SetDescription(values.description.c_str())))
    return false;
  if (!values.iconFile.empty() &&
      FAILED(object.link->SetIconLocation(values.iconFile.c_str(), values.iconIndex)))
    return false;
  if (FAILED(object.link->SetShowCmd(values.showCommand))) return false;
  // Resolving without a window updates the stored target details; a target that is not
  // there yet does not stop the save.
  object.link->Resolve(nullptr, SLR_NO_UI | SLR_UPDATE);
  return SUCCEEDED(object.file->Save(Wide(linkFile).c_str(), FALSE));
}

bool Win32Shell::OpenWithShell(const std::string& path, const std::string& workingFolder) {
  const HINSTANCE result = ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr,
                                         workingFolder.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool GetShellLinkInfo(const std::string& linkFile, ShellLink& values) {
  LinkObject object;
  if (!object.Create() || FAILED(object.file->Load(Wide(linkFile).c_str(), STGM_READ))) return false;
  char text[MAX_PATH] = {};
  if (FAILED(object.link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) return false;
  values.target = text;
  text[0] = '\0';
  object.link->GetWorkingDirectory(text, MAX_PATH);
  values.workingFolder = text;
  text[0] = '\0';
  object.link->GetArguments(text, MAX_PATH);
  values.arguments = text;
  text[0] = '\0';
  object.link->GetDescription(text, MAX_PATH);
  values.description = text;
  text[0] = '\0';
  object.link->GetIconLocation(text, MAX_PATH, &values.iconIndex);
  values.iconFile = text;
  object.link->GetShowCmd(&values.showCommand);
  return true;
}

}  // namespace pelorin
