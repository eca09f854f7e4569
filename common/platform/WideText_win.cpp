#include "WideText_win.h"

#include "Utf8.h"

namespace pelorin {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide text is UTF-16");

bool WideFromUtf8(std::string_view utf8, std::wstring& wide) {
  wide.resize(utf8.size());
  const std::size_t length = Utf16FromUtf8(utf8, reinterpret_cast<char16_t*>(wide.data()));
  wide.resize(length == kNoConversion ? 0 : length);
  return length != kNoConversion;
}

bool Utf8FromWide(std::wstring_view wide, String& utf8) {
  utf8.resize(3 * wide.size());
  const std::size_t length = Utf8FromUtf16(reinterpret_cast<const char16_t*>(wide.data()), wide.size(), utf8.data());
  utf8.resize(length == kNoConversion ? 0 : length);
  return length != kNoConversion;
}

std::wstring Wide(std::string_view utf8) {
  std::wstring wide;
  WideFromUtf8(utf8, wide);
  return wide;
}

String Utf8(std::wstring_view wide) {
  String utf8;
  Utf8FromWide(wide, utf8);
  return utf8;
}

}  // namespace pelorin
