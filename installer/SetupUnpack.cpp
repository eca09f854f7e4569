#include "SetupUnpack.h"

namespace pelorin {

namespace {

// Setup's own data goes into its own new folder: nothing there is older or newer.
class AlwaysReplace : public PackUi {
 public:
  bool ConfirmOverwriteOlder(const std::string&, const std::string&) override { return true; }
};

// Copies `length` bytes from `reader` at 1-based `position` into a new file `path`.
bool CopyRange(FileSystem& files, FileReader& reader, std::uint64_t position, std::uint64_t length,
               const std::string& path) {
  std::unique_ptr<FileWriter> writer;
  if (files.OpenForWriting(path, false, writer) || reader.Seek(position - 1)) return false;
  return !CopyFileBytes(reader, *writer, length) && !writer->Close();
}

std::optional<Trailer> ReadTrailer(FileReader& program) {
  const std::uint64_t size = program.Size();
  if (size < kTrailerSize || program.Seek(size - kTrailerSize)) return std::nullopt;
  std::string bytes(kTrailerSize, '\0');
  std::size_t got = 0;
  if (program.Read(bytes.data(), bytes.size(), got) || got != bytes.size()) return std::nullopt;
  return ParseTrailer(bytes, size);
}

bool ReadWhole(FileReader& reader, std::string& bytes) {
  bytes.assign(static_cast<std::size_t>(reader.Size()), '\0');
  if (reader.Seek(0)) return false;
  for (std::size_t done = 0; done < bytes.size();) {
    std::size_t got = 0;
    if (reader.Read(bytes.data() + done, bytes.size() - done, got) || got == 0) return false;
    done += got;
  }
  return true;
}

}  // namespace

SetupFiles SetupFilesIn(const std::string& folder) {
  const std::string base = WithTrailingBackslash(folder);
  return {base,
          base + "Setup.lst",
          base + "Setup.mif",
          base + "SetupInfo.txt",
          base + "ShortCuts.txt",
          base + "License.txt",
          base + "Readme.txt",
          base + "SidePic.bmp"};
}

FileError CreateSetupFolder(FileSystem& files, const std::string& tempFolder, const PrivateFolderSource& source,
                            SetupFiles& setup) {
  std::string folder;
  if (FileError error = CreatePrivateFolder(files, tempFolder, kSetupFolderPrefix, source, folder)) return error;
  setup = SetupFilesIn(folder);
  return {};
}

void RemoveSetupFolder(FileSystem& files, const SetupFiles& setup) {
  RemoveSetupDataFiles(files, setup);
  for (const std::string* path : {&setup.packList, &setup.packData})
    if (files.FileExists(*path)) files.RemoveFile(*path);
  std::string folder = setup.folder;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (!folder.empty()) files.RemoveFolder(folder);
}

UnpackOutcome UnpackSetupData(FileSystem& files, const std::string& programPath, const SetupFiles& setup) {
  UnpackOutcome outcome;
  {
    std::unique_ptr<FileReader> program;
    if (files.OpenForReading(programPath, program)) return outcome;
    const std::optional<Trailer> trailer = ReadTrailer(*program);
    if (!trailer) return outcome;
    outcome.result = UnpackResult::kMissingData;
    if (!CopyRange(files, *program, trailer->listPosition, trailer->listLength, setup.packList) ||
        !CopyRange(files, *program, trailer->dataPosition, trailer->dataLength, setup.packData))
      return outcome;
  }
  if (files.OpenLocked(setup.packList, outcome.listCopy) || files.OpenLocked(setup.packData, outcome.dataCopy))
    return outcome;

  std::string text;
  if (!ReadWhole(*outcome.listCopy, text)) return outcome;
  outcome.list = ParsePackList(text);
  if (!outcome.list.headerValid || outcome.list.damaged) {
    outcome.result = UnpackResult::kCorrupt;
    return outcome;
  }

  const std::pair<const char*, const std::string*> items[] = {
      {"%SETUPINFO%", &setup.info},   {"%SHORTCUTS%", &setup.shortcuts},
      {"%LICENSE%", &setup.licence},  {"%README%", &setup.readme},
      {"%SIDEPIC%", &setup.sidePicture},
  };
  AlwaysReplace replace;
  for (const auto& [item, path] : items)
    if (const PackRecord* record = outcome.list.Find(item))
      ExtractRecord(files, replace, *outcome.dataCopy, *record, *path);

  if (!files.ReadFile(setup.info, text)) outcome.info = ParseSetupInfo(text);
  if (files.FileExists(setup.shortcuts) && !files.ReadFile(setup.shortcuts, text))
    outcome.shortcuts = ParseShortcutLines(text);
  // Without a name there is no removal key of its own: the information is damaged.
  outcome.result = outcome.info.appName.empty() ? UnpackResult::kCorrupt : UnpackResult::kReady;
  return outcome;
}

void RemoveSetupDataFiles(FileSystem& files, const SetupFiles& setup) {
  for (const std::string* path :
       {&setup.info, &setup.shortcuts, &setup.licence, &setup.readme, &setup.sidePicture})
    if (files.FileExists(*path)) files.RemoveFile(*path);
}

}  // namespace pelorin
