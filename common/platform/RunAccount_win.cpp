#include "RunAccount_win.h"

#include <windows.h>
#include <sddl.h>

#include <memory>

#include "SystemRandom_win.h"

namespace pelorin {

std::string RunningAccountSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  std::string text;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::unique_ptr<BYTE[]> buffer(new BYTE[size == 0 ? 1 : size]);
  LPSTR sid = nullptr;
  if (size != 0 && GetTokenInformation(token, TokenUser, buffer.get(), size, &size) &&
      ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid, &sid)) {
    text = sid;
    LocalFree(sid);
  }
  CloseHandle(token);
  return text;
}

PrivateFolderSource PrivateFolderSourceOfThisRun() { return {RunningAccountSid(), SystemRandomNumber}; }

}  // namespace pelorin
