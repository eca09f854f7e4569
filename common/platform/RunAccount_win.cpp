#include "RunAccount_win.h"

#include <windows.h>
#include <sddl.h>

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
  // The account's SID follows the TOKEN_USER, and no SID is longer than the system's limit.
  union {
    TOKEN_USER user;
    BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  } buffer;
  DWORD size = 0;
  String text;
  if (GetTokenInformation(token, TokenUser, &buffer, sizeof(buffer), &size)) text = SidText(buffer.user.User.Sid);
  CloseHandle(token);
  return text;
}

PrivateFolderSource PrivateFolderSourceOfThisRun() { return {RunningAccountSid(), SystemRandomNumber}; }

}  // namespace pelorin
