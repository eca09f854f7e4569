// Packs a file and extracts it again with setup's own pack code, for tools/bench.sh to time
// extraction against a plain copy on this machine; and takes an item out of a setup file,
// signed or not, as setup finds it (the uninstaller rebuilt from setup's image), for checking a published setup against a rebuild.
//
//   extract_item add DATA LIST SOURCE NAME
//   extract_item extract DATA LIST NAME DESTINATION
//   extract_item setup SETUP NAME DESTINATION
#include <iostream>
#include <memory>
#include <string>

#include "FilePack.h"
#include "FileSystem_posix.h"
#include "SetupUnpack.h"

namespace {

// Nothing to ask in a measurement: an existing file is replaced.
class ReplaceAll : public pelorin::PackUi {
 public:
  bool ConfirmOverwriteOlder(const pelorin::String&, const pelorin::String&) override { return true; }
};

int Fail(const pelorin::String& message) {
  std::cerr << "extract_item: " << std::string_view(message) << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const pelorin::String command = argc > 1 ? argv[1] : "";
  pelorin::PosixFileSystem files;
  if (command == "add" && argc == 6) {
    const pelorin::AddOutcome added = pelorin::AddFile(files, argv[2], argv[3], argv[4], argv[5]);
    return added.result == pelorin::AddResult::kAdded ? 0 : Fail("cannot add: " + pelorin::FileErrorText(added.error));
  }
  if (command == "extract" && argc == 6) {
    ReplaceAll ui;
    const pelorin::ExtractOutcome extracted = pelorin::ExtractFile(files, ui, argv[2], argv[3], argv[4], argv[5]);
    return extracted.result == pelorin::ExtractResult::kCopied ? 0 : Fail("cannot extract: " + pelorin::FileErrorText(extracted.error));
  }
  if (command == "setup" && argc == 5) {
    std::unique_ptr<pelorin::FileReader> setup;
    if (files.OpenForReading(argv[2], setup)) return Fail(pelorin::String("cannot read ") + argv[2]);
    const auto trailer = pelorin::FindTrailer(*setup);
    if (!trailer) return Fail(pelorin::String(argv[2]) + " holds no pack that setup would read");
    pelorin::String list;
    if (pelorin::ReadRange(*setup, trailer->listPosition - 1, static_cast<std::size_t>(trailer->listLength), list))
      return Fail("cannot read the pack list");
    pelorin::PackList records = pelorin::ParsePackList(list);
    std::unique_ptr<pelorin::FileReader> data =
        std::make_unique<pelorin::ImagePart>(*setup, trailer->dataPosition, trailer->dataLength);
    if (!pelorin::RebuildSelfItems(*setup, *trailer, records, data)) return Fail("cannot rebuild the uninstaller");
    const pelorin::PackRecord* record = records.Find(argv[3]);
    if (!records.headerValid || records.damaged || !record) return Fail(pelorin::String("no item ") + argv[3]);
    ReplaceAll ui;
    const pelorin::ExtractOutcome extracted = pelorin::ExtractRecord(files, ui, *data, *record, argv[4]);
    return extracted.result == pelorin::ExtractResult::kCopied ? 0 : Fail("cannot extract: " + pelorin::FileErrorText(extracted.error));
  }
  return Fail("usage: extract_item add DATA LIST SOURCE NAME | extract DATA LIST NAME DESTINATION | "
              "setup SETUP NAME DESTINATION");
}
