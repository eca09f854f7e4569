#include "FilePack.h"

#include <algorithm>
#include <memory>

#include "Concat.h"
#include "DecimalText.h"
#include "TextLines.h"

namespace pelorin {

namespace {

FileError Corrupt(const char* what) {
  return {FileError::Kind::kOther, 13, what};  // 13: the data is invalid
}

bool StartsWithMagic(FileReader& reader) {
  char head[kPackMagic.size()] = {};
  std::size_t got = 0;
  if (reader.Read(head, sizeof(head), got) || got != sizeof(head)) return false;
  return std::string_view(head, sizeof(head)) == kPackMagic;
}

}  // namespace

String OverwriteOlderQuestion(const String& newText, const String& oldText) {
  return Concat({"Setup has detected that the file: \r\n\r\n", newText,
                 "\r\n\r\nwhich comes with this Application is older than\r\n\r\n", oldText,
                 "\r\n\r\nwhich you currently have on your system.  \r\nWould you like to overwrite your "
                 "existing file with this older file?"});
}

String DescribeFileTime(const String& name, const FileTime& t) {
  // Each field after the one before and its separator; file times are never negative.
  const int fields[] = {t.day, t.month, t.year, t.hour, t.minute, t.second};
  static constexpr char kSeparators[] = "// ::";
  String text = name;
  text += " - ";
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    if (i > 0) text += kSeparators[i - 1];
    text += WholeNumberText(static_cast<std::uint32_t>(fields[i]));
  }
  return text;
}

AddOutcome AddFile(FileSystem& files, const String& dataFile, const String& listFile,
                   const String& source, const String& itemName, const FileTime* time) {
  if (!IsValidItemName(itemName)) return {AddResult::kFailed, Corrupt("invalid item name")};
  PackRecord record;
  record.name = itemName;
  std::unique_ptr<FileReader> input;
  if (time) {
    record.time = *time;
  } else if (FileError error = files.LastWriteTime(source, record.time)) {
    return {AddResult::kFailed, error};
  }
  if (FileError error = files.OpenForReading(source, input)) return {AddResult::kFailed, error};
  record.size = input->Size();

  std::uint64_t dataSize = 0;
  std::unique_ptr<FileReader> existing;
  if (!files.OpenForReading(dataFile, existing)) {
    dataSize = existing->Size();
    if (dataSize > 0 && !StartsWithMagic(*existing)) return {AddResult::kNotAPack, {}};
    existing.reset();
  }

  std::unique_ptr<FileWriter> data;
  if (FileError error = files.OpenForWriting(dataFile, true, data)) return {AddResult::kFailed, error};
  if (dataSize == 0) {
    if (FileError error = data->Write(kPackMagic.data(), kPackMagic.size())) return {AddResult::kFailed, error};
    dataSize = kPackMagic.size();
  }
  record.offset = dataSize + 1;
  if (FileError error = CopyFileBytes(*input, *data, record.size)) return {AddResult::kFailed, error};
  if (FileError error = data->Close()) return {AddResult::kFailed, error};

  std::uint64_t listSize = 0;
  std::unique_ptr<FileReader> oldList;
  if (!files.OpenForReading(listFile, oldList)) listSize = oldList->Size();
  oldList.reset();
  String lines = listSize == 0 ? String(kPackListHeader) + "\r\n" : String();
  lines += FormatRecord(record) + "\r\n";
  std::unique_ptr<FileWriter> list;
  if (FileError error = files.OpenForWriting(listFile, true, list)) return {AddResult::kFailed, error};
  if (FileError error = list->Write(lines.data(), lines.size())) return {AddResult::kFailed, error};
  if (FileError error = list->Close()) return {AddResult::kFailed, error};
  return {AddResult::kAdded, {}};
}

const PackRecord* PackList::Find(std::string_view name) const {
  for (const PackRecord& record : records)
    if (record.name == name) return &record;
  return nullptr;
}

PackList ReadPackList(FileSystem& files, const String& listFile) {
  String text;
  if (FileError error = files.ReadFile(listFile, text)) {
    PackList list;
    list.error = error;
    return list;
  }
  return ParsePackList(text);
}

PackList ParsePackList(std::string_view text) {
  PackList list;
  const std::vector<String> lines = SplitLines(text);
  if (lines.empty()) return list;
  const std::string_view header = lines[0];
  list.headerValid = header.substr(0, header.find(',')) == kPackListHeader;
  // Room for a record per line, made at once: the list never grows (no code to move records),
  // and what is not used is dropped at the end.
  std::size_t lineCount = 0;
  for (const String& line : lines) lineCount += !line.empty();
  std::vector<PackRecord> records(lineCount);
  std::size_t kept = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    // Read in place: a line that is no record leaves its place to the next.
    if (ParseRecordInto(lines[i], records[kept])) ++kept;
    else list.damaged = true;
  }
  records.erase(records.begin() + static_cast<std::ptrdiff_t>(kept), records.end());
  list.records.swap(records);
  return list;
}

String ListFiles(FileSystem& files, const String& listFile) {
  const PackList list = ReadPackList(files, listFile);
  if (!list.headerValid) return "1";
  String result;
  for (const PackRecord& record : list.records)
    result += record.name + '\xFF' + std::to_string(record.size) + '\xFF';
  return result;
}

ExtractOutcome ExtractFile(FileSystem& files, PackUi& ui, const String& dataFile,
                           const String& listFile, const String& item,
                           const String& destination) {
  const PackList list = ReadPackList(files, listFile);
  if (list.error) return {ExtractResult::kFailed, list.error};
  const PackRecord* record = list.Find(item);
  if (record == nullptr) return {ExtractResult::kNotListed, {}};
  std::unique_ptr<FileReader> data;
  if (FileError error = files.OpenForReading(dataFile, data)) return {ExtractResult::kFailed, error};
  return ExtractRecord(files, ui, *data, *record, destination);
}

ExtractOutcome ExtractRecord(FileSystem& files, PackUi& ui, FileReader& data, const PackRecord& record,
                             const String& destination, bool replaceNewer) {
  // One outcome for every way out, filled in as the steps go.
  ExtractOutcome outcome{ExtractResult::kKeptNewer, {}};
  // A copy that a killed run left beside the destination goes, whether or not it is replaced.
  const String temporary = destination + ".tmp";
  if (files.FileExists(temporary)) files.RemoveFile(temporary);
  static constexpr FileTime kMissing;  // a missing destination counts as 1601-01-01, older than any item
  FileTime existing = kMissing;
  files.LastWriteTime(destination, existing);
  if (existing > record.time && !replaceNewer &&
      !ui.ConfirmOverwriteOlder(DescribeFileTime(record.name, record.time),
                                DescribeFileTime(destination, existing)))
    return outcome;

  CreateFolderChain(files, FolderOfPath(destination));
  outcome.result = ExtractResult::kEmptyItem;
  if (record.size == 0) return outcome;

  outcome.result = ExtractResult::kFailed;
  FileError& error = outcome.error;
  const std::uint64_t start = record.offset - 1;
  if (start > data.Size() || record.size > data.Size() - start) {
    error = Corrupt("the item lies outside the pack data file");
    return outcome;
  }
  if ((error = data.Seek(start))) return outcome;
  {
    std::unique_ptr<FileWriter> output;
    error = files.OpenForWriting(temporary, false, output);
    if (!error) error = CopyFileBytes(data, *output, record.size);
    if (!error) error = output->Close();
  }
  if (!error) error = files.MoveFileOver(temporary, destination);
  if (error) {
    files.RemoveFile(temporary);
    return outcome;
  }
  files.SetFileTimes(destination, record.time);
  outcome.result = ExtractResult::kCopied;
  return outcome;
}

}  // namespace pelorin
