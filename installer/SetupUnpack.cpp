#include "SetupUnpack.h"

#include <memory>

namespace pelorin {

namespace {

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

}  // namespace

SetupFiles SetupFilesIn(const std::string& tempFolder) {
  const std::string folder = WithTrailingBackslash(tempFolder);
  return {folder,
          folder + "Setup.lst",
          folder + "Setup.mif",
          folder + "SetupInfo.txt",
          folder + "ShortCuts.txt",
          folder + "License.txt",
          folder + "Readme.txt",
          folder + "SidePic.bmp"};
}

UnpackOutcome UnpackSetupData(FileSystem& files, PackUi& ui, const std::string& programPath,
                              const SetupFiles& setup) {
  UnpackOutcome outcome;
  CreateFolderChain(files, setup.folder);

  {
    std::unique_ptr<FileReader> program;
    if (files.OpenForReading(programPath, program)) return outcome;
    const std::optional<Trailer> trailer = ReadTrailer(*program);
    if (!trailer) return outcome;
    const bool copied =
        CopyRange(files, *program, trailer->listPosition, trailer->listLength, setup.packList) &&
        CopyRange(files, *program, trailer->dataPosition, trailer->dataLength, setup.packData);
    if (!copied) {
      RemovePackCopies(files, setup);
      outcome.result = UnpackResult::kMissingData;
      return outcome;
    }
  }
  if (!files.FileExists(setup.packList) || !files.FileExists(setup.packData)) {
    outcome.result = UnpackResult::kMissingData;
    return outcome;
  }

  const std::pair<const char*, const std::string*> items[] = {
      {"%SETUPINFO%", &setup.info},   {"%SHORTCUTS%", &setup.shortcuts},
      {"%LICENSE%", &setup.licence},  {"%README%", &setup.readme},
      {"%SIDEPIC%", &setup.sidePicture},
  };
  for (const auto& [item, path] : items) ExtractFile(files, ui, setup.packData, setup.packList, item, *path);

  std::string text;
  if (!files.ReadFile(setup.info, text)) outcome.info = ParseSetupInfo(text);
  if (files.FileExists(setup.shortcuts) && !files.ReadFile(setup.shortcuts, text))
    outcome.shortcuts = ParseShortcutLines(text);
  outcome.result = UnpackResult::kReady;
  return outcome;
}

void RemoveSetupDataFiles(FileSystem& files, const SetupFiles& setup) {
  for (const std::string* path :
       {&setup.info, &setup.shortcuts, &setup.licence, &setup.readme, &setup.sidePicture})
    if (files.FileExists(*path)) files.RemoveFile(*path);
}

void RemovePackCopies(FileSystem& files, const SetupFiles& setup) {
  files.RemoveFile(setup.packList);
  files.RemoveFile(setup.packData);
}

}  // namespace pelorin
