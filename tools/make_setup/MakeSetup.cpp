// Makes a self-extracting setup file from the setup program image and the items to pack.
//
//   make_setup OUTPUT IMAGE NAME=PATH [NAME=PATH ...]
#include <cstdio>
#include <string>
#include <vector>

#include "FileSystem_posix.h"
#include "SetupBuilder.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "make_setup: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: make_setup OUTPUT IMAGE NAME=PATH [NAME=PATH ...]");
  std::vector<pelorin::SetupItem> items;
  for (int i = 3; i < argc; ++i) {
    const std::string item = argv[i];
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos) return Fail("expected NAME=PATH: " + item);
    items.push_back({item.substr(0, equals), item.substr(equals + 1)});
  }
  pelorin::PosixFileSystem files;
  pelorin::SetupSizes sizes;
  const std::string problem = pelorin::BuildSetupFile(files, argv[1], argv[2], items, sizes);
  if (!problem.empty()) return Fail(problem);
  std::printf("%s: image %llu, list %llu, data %llu, total %llu bytes\n", argv[1],
              static_cast<unsigned long long>(sizes.image), static_cast<unsigned long long>(sizes.list),
              static_cast<unsigned long long>(sizes.data), static_cast<unsigned long long>(sizes.total));
  return 0;
}
