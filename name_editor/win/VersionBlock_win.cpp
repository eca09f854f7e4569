#include "VersionBlock_win.h"

#include <windows.h>

#include <vector>

namespace pelorin::win {

VersionBlock ReadVersionBlock(const std::string& executablePath) {
  VersionBlock block;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(executablePath.c_str(), &ignored);
  if (size == 0) return block;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(executablePath.c_str(), 0, size, data.data())) return block;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    block.major = HIWORD(fixed->dwFileVersionMS);
    block.minor = LOWORD(fixed->dwFileVersionMS);
    block.revision = LOWORD(fixed->dwFileVersionLS);
  }
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) || length < sizeof(Translation))
    return block;
  char query[64];
  wsprintfA(query, "\\StringFileInfo\\%04x%04x\\ProductName", translation->language, translation->codePage);
  char* product = nullptr;
  if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&product), &length) && product)
    block.productName = product;
  return block;
}

}  // namespace pelorin::win
