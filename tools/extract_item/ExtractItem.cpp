// Packs a file and extracts it again with setup's own pack code, for tools/bench.sh to time
// extraction against a plain copy on this machine.
//
//   extract_item add DATA LIST SOURCE NAME
//   extract_item extract DATA LIST NAME DESTINATION
#include <iostream>
#include <string>

#include "FilePack.h"
#include "FileSystem_posix.h"

namespace {

// Nothing to ask in a measurement: an existing file is replaced.
class ReplaceAll : public pelorin::PackUi {
 public:
  bool ConfirmOverwriteOlder(const std::string&, const std::string&) override { return true; }
};

int Fail(const std::string& message) {
  std::cerr << "extract_item: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  pelorin::PosixFileSystem files;
  if (command == "add" && argc == 6) {
    const pelorin::AddOutcome added = pelorin::AddFile(files, argv[2], argv[3], argv[4], argv[5]);
    return added.result == pelorin::AddResult::kAdded ? 0 : Fail("cannot add: " + added.error.message);
  }
  if (command == "extract" && argc == 6) {
    ReplaceAll ui;
    const pelorin::ExtractOutcome extracted = pelorin::ExtractFile(files, ui, argv[2], argv[3], argv[4], argv[5]);
    return extracted.result == pelorin::ExtractResult::kCopied ? 0 : Fail("cannot extract: " + extracted.error.message);
  }
  return Fail("usage: extract_item add DATA LIST SOURCE NAME | extract DATA LIST NAME DESTINATION");
}
