#include "AnsiCodePage_win.h"

#include <windows.h>

#include "WideText_win.h"

namespace pelorin {

bool Win32AnsiCodePage::FromUtf8(std::string_view utf8, String& bytes) const {
  bytes.clear();
  std::wstring wide;
  if (!WideFromUtf8(utf8, wide)) return false;
  if (wide.empty()) return true;
  const int length = static_cast<int>(wide.size());
  // No code page takes more than three bytes for a UTF-16 unit (were one to, the call fails
  // and the text is not taken as the code page's).
  bytes.resize(3 * wide.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(),
                                       static_cast<int>(bytes.size()), nullptr, &lossy);
  bytes.resize(size > 0 && !lossy ? static_cast<std::size_t>(size) : 0);
  if (bytes.empty()) return false;
  // Some code pages give a character without marking it as a substitute; it must come back.
  String back;
  if (!ToUtf8(bytes, back) || back != utf8) {
    bytes.clear();
    return false;
  }
  return true;
}

bool Win32AnsiCodePage::ToUtf8(std::string_view bytes, String& utf8) const {
  utf8.clear();
  if (bytes.empty()) return true;
  const int length = static_cast<int>(bytes.size());
  // Bytes the code page does not define are refused, not turned into a default character.
  const int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (size <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), size) != size) return false;
  return Utf8FromWide(wide, utf8);
}

}  // namespace pelorin
