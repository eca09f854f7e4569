#include "RunAccount_win.h"

#include <windows.h>
#include <sddl.h>

#include <memory>

#include "SystemRandom_win.h"

namespace pelorin {

String SidText(void* sid) {
  LPSTR text = nullptr;
  if (sid == nullptr || !ConvertSidToStringSidA(sid, &text)) return {};
  String result = text;
  LocalFree(text);
  return result;
}

String RunningAccountSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  String text;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::unique_ptr<BYTE[]> buffer(new BYTE[size == 0 ? 1 : size]);
  if (size != 0 && GetTokenInformation(token, TokenUser, buffer.get(), size, &size))
    text = SidText(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid);
  CloseHandle(token);
  return text;
}

PrivateFolderSource PrivateFolderSourceOfThisRun() { return {RunningAccountSid(), SystemRandomNumber}; }

}  // namespace pelorin
