#include "SetupBuilder.h"

#include <algorithm>
#include <memory>

#include "FilePack.h"
#include "ItemNames.h"
#include "SetupData.h"
#include "SetupUnpack.h"

namespace pelorin {

namespace {

constexpr std::uint64_t kSignatureAlignment = 8;

pelorin::String Reason(const FileError& error) { return error ? FileErrorText(error) : "unknown error"; }

// Writes `size` bytes of `reader` from 0-based `start` into a new file `path`.
FileError CopyOut(FileSystem& files, FileReader& reader, std::uint64_t start, std::uint64_t size,
                  const pelorin::String& path) {
  std::unique_ptr<FileWriter> out;
  if (FileError error = files.OpenForWriting(path, false, out)) return error;
  if (FileError error = reader.Seek(start)) return error;
  if (FileError error = CopyFileBytes(reader, *out, size)) return error;
  return out->Close();
}

// Appends the whole of `path` to `out`; its size, or the failure.
FileError Append(FileSystem& files, FileWriter& out, const pelorin::String& path, std::uint64_t& size) {
  std::unique_ptr<FileReader> in;
  if (FileError error = files.OpenForReading(path, in)) return error;
  size = in->Size();
  return CopyFileBytes(*in, out, size);
}

// A program made of the setup image (the uninstaller) is packed as its self item, written to
// `path`: true when `source` is such a program and the item was written.
bool WriteSelfItem(FileSystem& files, const pelorin::String& image, const pelorin::String& source, const pelorin::String& path) {
  pelorin::String imageBytes, program;
  if (files.ReadFile(image, imageBytes) || files.ReadFile(source, program)) return false;
  const std::optional<pelorin::String> item = SelfItemOf(imageBytes, program);
  std::unique_ptr<FileWriter> out;
  return item && !files.OpenForWriting(path, false, out) && !out->Write(item->data(), item->size()) && !out->Close();
}

// Writes the whole setup file to `path`; empty text on success.
pelorin::String WriteSetupFile(FileSystem& files, const pelorin::String& path, const pelorin::String& image,
                           const pelorin::String& list, const pelorin::String& data, SetupSizes& sizes) {
  std::unique_ptr<FileWriter> out;
  if (FileError error = files.OpenForWriting(path, false, out)) return "cannot write " + path + ": " + Reason(error);
  const std::pair<const pelorin::String*, std::uint64_t*> parts[] = {
      {&image, &sizes.image}, {&list, &sizes.list}, {&data, &sizes.data}};
  for (const auto& [part, size] : parts)
    if (FileError error = Append(files, *out, *part, *size))
      return "cannot copy " + *part + " into " + path + ": " + Reason(error);
  const Trailer trailer{sizes.image + 1, sizes.list, sizes.image + sizes.list + 1, sizes.data};
  const std::uint64_t used = sizes.image + sizes.list + sizes.data + 1 + kTrailerSize;
  const std::size_t spare = 1 + (kSignatureAlignment - used % kSignatureAlignment) % kSignatureAlignment;
  const pelorin::String tail = pelorin::String(spare, '\xFF') + FormatTrailer(trailer);
  FileError error = out->Write(tail.data(), tail.size());
  if (!error) error = out->Close();
  if (error) return "cannot write " + path + ": " + Reason(error);
  sizes.total = sizes.image + sizes.list + sizes.data + tail.size();
  return {};
}

}  // namespace

pelorin::String BuildSetupFile(FileSystem& files, const pelorin::String& output, const pelorin::String& image,
                           const std::vector<SetupItem>& items, SetupSizes& sizes) {
  const pelorin::String list = output + ".lst";
  const pelorin::String data = output + ".mif";
  const pelorin::String temporary = output + ".tmp";
  const pelorin::String self = output + ".self";
  const auto clear = [&] {
    for (const pelorin::String* path : {&list, &data, &temporary, &self})
      if (files.FileExists(*path)) files.RemoveFile(*path);
  };
  clear();
  pelorin::String problem;
  for (const SetupItem& item : items) {
    if (const char* reason = ItemNameProblem(item.name)) {
      problem = "cannot add " + item.name + ": its name " + reason;
      break;
    }
    // An uninstaller's item keeps the source's time, as a copy would.
    FileTime time{};
    if (!item.time) files.LastWriteTime(item.source, time);
    const bool isSelf = WriteSelfItem(files, image, item.source, self);
    const AddOutcome added = AddFile(files, data, list, isSelf ? self : item.source, item.name,
                                     item.time ? &*item.time : isSelf ? &time : nullptr);
    if (isSelf) files.RemoveFile(self);
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

pelorin::String BuildRemovalFile(FileSystem& files, const pelorin::String& output, const pelorin::String& image) {
  const pelorin::String temporary = output + ".tmp";
  if (files.FileExists(temporary)) files.RemoveFile(temporary);
  std::unique_ptr<FileWriter> out;
  std::uint64_t size = 0;
  pelorin::String problem;
  if (FileError error = files.OpenForWriting(temporary, false, out)) problem = Reason(error);
  else if (FileError error = Append(files, *out, image, size)) problem = Reason(error);
  if (problem.empty() && size % kSignatureAlignment != 0) problem = "the image's length is no multiple of 8";
  if (problem.empty()) {
    const pelorin::String mark = FormatRemovalMark(size);
    FileError error = out->Write(mark.data(), mark.size());
    if (!error) error = out->Close();
    if (!error) error = files.MoveFileOver(temporary, output);
    if (error) problem = Reason(error);
  }
  out.reset();
  if (files.FileExists(temporary)) files.RemoveFile(temporary);
  if (problem.empty()) return problem;
  if (files.FileExists(output)) files.RemoveFile(output);
  return "cannot write " + output + " from " + image + ": " + problem;
}

pelorin::String ReadSetupFile(FileSystem& files, const pelorin::String& setup, const pelorin::String& folder,
                          pelorin::String& image, std::vector<SetupItem>& items) {
  std::unique_ptr<FileReader> in;
  if (FileError error = files.OpenForReading(setup, in)) return "cannot read " + setup + ": " + Reason(error);
  const std::optional<Trailer> trailer = FindTrailer(*in);
  if (!trailer) return setup + " holds no pack that setup would read";
  pelorin::String head, listText;
  if (ReadRange(*in, 0, static_cast<std::size_t>(std::min<std::uint64_t>(in->Size(), kHeadersRead)), head) ||
      ReadRange(*in, trailer->listPosition - 1, static_cast<std::size_t>(trailer->listLength), listText))
    return "cannot read " + setup;
  if (TrailerEnd(head, in->Size()) != in->Size()) return setup + " is signed: pack the unsigned file again";
  const PackList list = ParsePackList(listText);
  if (!list.headerValid || list.damaged) return "the pack list of " + setup + " is damaged";

  const pelorin::String base = WithTrailingBackslash(folder);
  image = base + "image";
  if (FileError error = CopyOut(files, *in, 0, trailer->listPosition - 1, image))
    return "cannot write " + image + ": " + Reason(error);
  items.clear();
  for (const PackRecord& record : list.records) {
    const std::uint64_t start = record.offset - 1;
    if (start > trailer->dataLength || record.size > trailer->dataLength - start)
      return "item " + record.name + " lies outside the pack of " + setup;
    const pelorin::String path = base + "item" + std::to_string(items.size());
    if (FileError error = CopyOut(files, *in, trailer->dataPosition - 1 + start, record.size, path))
      return "cannot write " + path + ": " + Reason(error);
    items.push_back({record.name, path, record.time});
  }
  return {};
}

}  // namespace pelorin
