#include "SetupBuilder.h"

#include <memory>

#include "FilePack.h"
#include "ItemNames.h"
#include "SetupData.h"

namespace pelorin {

namespace {

std::string Reason(const FileError& error) { return error.message.empty() ? "unknown error" : error.message; }

// Appends the whole of `path` to `out`; its size, or the failure.
FileError Append(FileSystem& files, FileWriter& out, const std::string& path, std::uint64_t& size) {
  std::unique_ptr<FileReader> in;
  if (FileError error = files.OpenForReading(path, in)) return error;
  size = in->Size();
  return CopyFileBytes(*in, out, size);
}

// Writes the whole setup file to `path`; empty text on success.
std::string WriteSetupFile(FileSystem& files, const std::string& path, const std::string& image,
                           const std::string& list, const std::string& data, SetupSizes& sizes) {
  std::unique_ptr<FileWriter> out;
  if (FileError error = files.OpenForWriting(path, false, out)) return "cannot write " + path + ": " + Reason(error);
  const std::pair<const std::string*, std::uint64_t*> parts[] = {
      {&image, &sizes.image}, {&list, &sizes.list}, {&data, &sizes.data}};
  for (const auto& [part, size] : parts)
    if (FileError error = Append(files, *out, *part, *size))
      return "cannot copy " + *part + " into " + path + ": " + Reason(error);
  const Trailer trailer{sizes.image + 1, sizes.list, sizes.image + sizes.list + 1, sizes.data};
  const std::string tail = '\xFF' + FormatTrailer(trailer);
  FileError error = out->Write(tail.data(), tail.size());
  if (!error) error = out->Close();
  if (error) return "cannot write " + path + ": " + Reason(error);
  sizes.total = sizes.image + sizes.list + sizes.data + tail.size();
  return {};
}

}  // namespace

std::string BuildSetupFile(FileSystem& files, const std::string& output, const std::string& image,
                           const std::vector<SetupItem>& items, SetupSizes& sizes) {
  const std::string list = output + ".lst";
  const std::string data = output + ".mif";
  const std::string temporary = output + ".tmp";
  const auto clear = [&] {
    for (const std::string* path : {&list, &data, &temporary})
      if (files.FileExists(*path)) files.RemoveFile(*path);
  };
  clear();
  std::string problem;
  for (const SetupItem& item : items) {
    if (const char* reason = ItemNameProblem(item.name)) {
      problem = "cannot add " + item.name + ": its name " + reason;
      break;
    }
    const AddOutcome added = AddFile(files, data, list, item.source, item.name);
    if (added.result != AddResult::kAdded) {
      problem = "cannot add " + item.name + " from " + item.source + ": " +
                (added.result == AddResult::kNotAPack ? "a file that is no pack lies in the way" : Reason(added.error));
      break;
    }
  }
  if (problem.empty()) problem = WriteSetupFile(files, temporary, image, list, data, sizes);
  if (problem.empty()) {
    if (FileError error = files.MoveFileOver(temporary, output)) problem = "cannot replace " + output + ": " + Reason(error);
  }
  clear();
  if (!problem.empty() && files.FileExists(output)) files.RemoveFile(output);
  return problem;
}

}  // namespace pelorin
