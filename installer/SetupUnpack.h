#pragma once

#include <memory>
#include <optional>
#include "Str.h"
#include <string_view>
#include <vector>

#include "FilePack.h"
#include "FileSystem.h"
#include "SetupData.h"

namespace pelorin {

// The files that setup keeps in the folder of its own under the temporary folder: the setup
// data the wizard takes as files.
struct SetupFiles {
  String folder;    // ends in a backslash
  String items[3];  // the licence, readme and side picture
};

SetupFiles SetupFilesIn(const String& folder);

inline constexpr char kSetupFolderPrefix[] = "PelorinSetup-";

// Makes this run's own folder under `tempFolder` (CreatePrivateFolder): never one that exists
// already or is a link elsewhere, and one only this account and the administrators may
// change. The last failure when none could be made.
FileError CreateSetupFolder(FileSystem& files, const String& tempFolder, const PrivateFolderSource& source,
                            SetupFiles& setup);

// Deletes what setup put into its folder, then the folder; the pack copies must be closed.
void RemoveSetupFolder(FileSystem& files, const SetupFiles& setup);

enum class UnpackResult { kReady, kCorrupt, kMissingData };

struct UnpackOutcome {
  UnpackResult result = UnpackResult::kCorrupt;
  SetupInfo info;
  std::vector<String> shortcuts;
  PackList list;  // read and checked once; the install works from these records
  // Setup's own image, open until the install ends so that nobody can change, replace or
  // delete it, and the pack data within it, which the install extracts from.
  std::unique_ptr<FileReader> image;
  std::unique_ptr<FileReader> data;  // after `image`, so that it goes first
  // The licence, readme and side picture files, held open as they were written, so that
  // nobody can change, replace or delete them until they are deleted, and the bytes written
  // into each, which the wizard shows: a file is never opened again by its name.
  std::unique_ptr<FileWriter> heldFiles[3];
  String heldBytes[3];
  bool held[3] = {};  // whether the pack has the item, so that there is a file and bytes
};

// The part of setup's image that holds the pack list or data, read through the image's own
// handle: offsets are the part's own, and nothing beyond its end is read. `position` is
// 1-based, as the trailer gives it.
class ImagePart : public FileReader {
 public:
  ImagePart(FileReader& image, std::uint64_t position, std::uint64_t length);
  std::uint64_t Size() override { return length_; }
  FileError Seek(std::uint64_t offset) override;
  FileError Read(char* buffer, std::size_t size, std::size_t& got) override;

 private:
  FileReader& image_;
  const std::uint64_t start_;
  const std::uint64_t length_;
  std::uint64_t at_ = 0;
};

// Reads `size` bytes of `reader` from 0-based `start`; a file that ends early is an error.
FileError ReadRange(FileReader& reader, std::uint64_t start, std::size_t size, String& bytes);

// The trailer of a setup file, before its certificate table when it is signed; nothing when
// it has none or its copies would not lie before it. Setup and the host tools read it so.
std::optional<Trailer> FindTrailer(FileReader& program);

// Makes each self item of the pack (the uninstaller: ProgramOfSelfItem) whole from the image
// of `setup`, whose pack `trailer` locates: `data` then reads the rebuilt programs after the
// pack data, and their records in `list` name them there. False when one cannot be rebuilt.
bool RebuildSelfItems(FileReader& setup, const Trailer& trailer, PackList& list, std::unique_ptr<FileReader>& data);

// Whether the program is the uninstaller: its file ends (before a certificate table when
// signed) in the removal mark of the image before it.
bool HasRemovalMark(FileReader& program);

// Opens `programPath` locked, finds the trailer (before a certificate table when signed),
// reads and checks the pack list and reads the setup information and the shortcut list, all
// through that one handle; the licence, readme and side picture are extracted into the setup
// folder (made before), each through a handle held open (`heldFiles`, `heldBytes`, `held`).
// Setup information without an application name is corrupt; a setup data file that cannot be
// written means the data is missing.
UnpackOutcome UnpackSetupData(FileSystem& files, const String& programPath, const SetupFiles& setup);

// Deletes the extracted setup data items once the wizard has taken them; with `outcome`,
// closes its held files first.
void RemoveSetupDataFiles(FileSystem& files, const SetupFiles& setup, UnpackOutcome* outcome = nullptr);

// Where the pixel data of a BMP file begins, uncompressed or RLE4 or RLE8, when its headers,
// colour table and data all lie within it (and run-length codes within the picture, as
// ExpandBmpRle checks them), so that the system can take it as a picture held in memory;
// else 0.
std::size_t BitmapRowsOffset(std::string_view file);

}  // namespace pelorin
