#include "WideText_win.h"

#include "Utf8.h"

namespace pelorin {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide text is UTF-16");

bool WideFromUtf8(std::string_view utf8, std::wstring& wide) {
  std::u16string utf16;
  const bool exact = Utf16FromUtf8(utf8, utf16);
  wide.assign(utf16.begin(), utf16.end());
  if (!exact) wide.clear();
  return exact;
}

bool Utf8FromWide(std::wstring_view wide, std::string& utf8) {
  const std::u16string_view utf16(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
  const bool exact = Utf8FromUtf16(utf16, utf8);
  if (!exact) utf8.clear();
  return exact;
}

std::wstring Wide(std::string_view utf8) {
  std::wstring wide;
  WideFromUtf8(utf8, wide);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  std::string utf8;
  Utf8FromWide(wide, utf8);
  return utf8;
}

}  // namespace pelorin
