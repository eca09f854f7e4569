// Makes a self-extracting setup file from the setup program image and the items to pack, or
// packs an unsigned setup file again with some of its items replaced (signed programs, say).
//
//   make_setup OUTPUT IMAGE NAME=PATH [NAME=PATH ...]
//   make_setup OUTPUT --from SETUP [NAME=PATH ...]
//   make_setup OUTPUT --removal IMAGE
//
// The first form stores every item with the time SOURCE_DATE_EPOCH gives (seconds since
// 1970, UTC) when it is set, so that a rebuild gives the same file; the second keeps the
// stored times. The third writes the uninstaller: the image with the removal mark behind it.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "DecimalText.h"
#include "FileSystem_posix.h"
#include "SetupBuilder.h"

namespace {

int Fail(const pelorin::String& message) {
  std::fprintf(stderr, "make_setup: %s\n", message.c_str());
  return 1;
}

// The time SOURCE_DATE_EPOCH names; nothing when it is not set, false when it is no time.
bool SourceDate(std::optional<pelorin::FileTime>& time) {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (!text || !*text) return true;
  const auto seconds = pelorin::ParseWholeNumber(text);
  std::tm fields{};
  const std::time_t value = seconds ? static_cast<std::time_t>(*seconds) : 0;
  if (!seconds || !gmtime_r(&value, &fields)) return false;
  time = pelorin::FileTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                           fields.tm_hour,        fields.tm_min,     fields.tm_sec};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: make_setup OUTPUT IMAGE NAME=PATH [NAME=PATH ...] | OUTPUT --from SETUP [NAME=PATH ...] | OUTPUT --removal IMAGE");
  const pelorin::String output = argv[1];
  pelorin::PosixFileSystem files;
  if (pelorin::String(argv[2]) == "--removal") {
    if (argc != 4) return Fail("usage: make_setup OUTPUT --removal IMAGE");
    const pelorin::String problem = pelorin::BuildRemovalFile(files, output, argv[3]);
    return problem.empty() ? 0 : Fail(problem);
  }
  const bool repack = pelorin::String(argv[2]) == "--from";
  std::vector<pelorin::SetupItem> given;
  for (int i = 3 + repack; i < argc; ++i) {
    const pelorin::String item = argv[i];
    const std::size_t equals = item.find('=');
    if (equals == pelorin::String::npos) return Fail("expected NAME=PATH: " + item);
    given.push_back({item.substr(0, equals), item.substr(equals + 1), std::nullopt});
  }
  pelorin::String image = argv[2];
  std::vector<pelorin::SetupItem> items = given;
  pelorin::String unpacked;  // the folder the packed file is read back into
  pelorin::String problem;
  if (repack) {
    unpacked = output + ".unpacked";
    std::filesystem::remove_all(unpacked.c_str());
    std::filesystem::create_directory(unpacked.c_str());
    problem = pelorin::ReadSetupFile(files, argv[3], unpacked, image, items);
    for (const pelorin::SetupItem& replacement : given) {
      bool found = false;
      for (pelorin::SetupItem& item : items)
        if (item.name == replacement.name) {
          item.source = replacement.source;
          found = true;
        }
      if (!found && problem.empty()) problem = argv[3] + pelorin::String(" has no item ") + replacement.name;
    }
  } else {
    std::optional<pelorin::FileTime> time;
    if (!SourceDate(time)) return Fail("SOURCE_DATE_EPOCH is no number of seconds");
    for (pelorin::SetupItem& item : items) item.time = time;
  }
  pelorin::SetupSizes sizes;
  if (problem.empty()) problem = pelorin::BuildSetupFile(files, output, image, items, sizes);
  if (!unpacked.empty()) std::filesystem::remove_all(unpacked.c_str());
  if (!problem.empty()) return Fail(problem);
  std::printf("%s: image %llu, list %llu, data %llu, total %llu bytes\n", output.c_str(),
              static_cast<unsigned long long>(sizes.image), static_cast<unsigned long long>(sizes.list),
              static_cast<unsigned long long>(sizes.data), static_cast<unsigned long long>(sizes.total));
  return 0;
}
