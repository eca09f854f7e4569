#include "FileSystem.h"

#include <algorithm>

#include "FolderRights.h"
#include "ItemNames.h"

namespace pelorin {

FileError ReplaceFileContents(FileSystem& files, const String& path, const String& bytes) {
  constexpr int kAttempts = 4;
  // 80: the file exists. A name where anything stands is never written through or removed.
  FileError error{FileError::Kind::kOther, 80, "no free name for a temporary file beside it"};
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const String temporary = TemporaryNameOf(path, files.RandomNumber());
    if (files.FileExists(temporary) || files.FolderExists(temporary) || files.IsReparsePoint(temporary)) continue;
    error = files.WriteNewFile(temporary, bytes);
    if (!error) error = files.ReplaceWithFile(temporary, path);
    if (error) files.RemoveFile(temporary);
    return error;
  }
  return error;
}

String TemporaryNameOf(const String& path, std::uint64_t randomNumber) {
  return UnpredictableName(path + ".", randomNumber) + ".tmp";
}

bool IsTemporaryNameOf(std::string_view name, std::string_view target) {
  constexpr std::size_t kDigits = 16;
  constexpr std::string_view kEnd = ".tmp";
  if (name.size() != target.size() + 1 + kDigits + kEnd.size() || !SameFileName(name.substr(0, target.size()), target) ||
      name[target.size()] != '.' || !SameFileName(name.substr(name.size() - kEnd.size()), kEnd))
    return false;
  const std::string_view digits = name.substr(target.size() + 1, kDigits);
  return digits.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

bool IsInUse(const FileError& error) {
  constexpr unsigned long kSharingViolation = 32, kLockViolation = 33;
  return error.kind == FileError::Kind::kAccessDenied &&
         (error.systemCode == kSharingViolation || error.systemCode == kLockViolation);
}

bool IsMappedFile(std::string_view mappedName, std::string_view ntPath, std::string_view dosPath) {
  const auto same = [](std::string_view a, std::string_view b) {
    if (a.empty() || a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
      if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
  };
  constexpr std::string_view kDosDevices = "\\??\\", kLongPath = "\\\\?\\";
  return same(mappedName, ntPath) ||
         (mappedName.starts_with(kDosDevices) && dosPath.starts_with(kLongPath) &&
          same(mappedName.substr(kDosDevices.size()), dosPath.substr(kLongPath.size())));
}

FileError CreatePrivateFolder(FileSystem& files, const String& parent, const String& prefix,
                              const PrivateFolderSource& source, String& path) {
  constexpr int kAttempts = 8;
  const String rights = FolderRightsText(FolderUse::kPrivate, source.userSid);
  FileError last{FileError::Kind::kOther, 0, "no source of unpredictable names"};
  for (int attempt = 0; attempt < kAttempts && source.randomNumber != nullptr; ++attempt) {
    const String folder = WithTrailingBackslash(parent) + UnpredictableName(prefix, source.randomNumber());
    // 183: already exists; 4390: not of the expected kind (a reparse point).
    if (files.FolderExists(folder) || files.FileExists(folder) || files.IsReparsePoint(folder)) {
      last = {FileError::Kind::kOther, 183, "a folder of the chosen name exists already"};
      continue;
    }
    if ((last = files.CreateFolderWithRights(folder, rights))) continue;
    if (files.IsReparsePoint(folder)) {
      last = {FileError::Kind::kOther, 4390, "the folder made is a reparse point"};
      continue;
    }
    path = folder;
    return {};
  }
  return last;
}

FileError CopyFileBytes(FileReader& reader, FileWriter& writer, std::uint64_t size) {
  constexpr std::size_t kBuffer = 64 * 1024;
  std::unique_ptr<char[]> buffer(new char[kBuffer]);
  while (size > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, kBuffer));
    std::size_t got = 0;
    if (FileError error = reader.Read(buffer.get(), want, got)) return error;
    if (got == 0) return {FileError::Kind::kOther, 38, "the file ended early"};  // 38: end of file
    if (FileError error = writer.Write(buffer.get(), got)) return error;
    size -= got;
  }
  return {};
}

FileError CreateFolderChain(FileSystem& files, const String& path,
                            std::vector<String>* created, const String& rightsText) {
  FileError first;
  const auto make = [&](const String& folder) {
    FileError error =
        rightsText.empty() ? files.CreateFolder(folder) : files.CreateFolderWithRights(folder, rightsText);
    if (!error && created != nullptr) created->push_back(folder);
    if (error && !first) first = std::move(error);
  };
  for (std::size_t slash = path.find('\\'); slash != String::npos;
       slash = path.find('\\', slash + 1)) {
    const String folder = path.substr(0, slash + 1);
    // A drive root ("C:\") or a UNC prefix exists or cannot be made; skip it.
    if (folder.size() <= 3 || folder.starts_with("\\\\") || files.FolderExists(folder)) continue;
    make(folder.substr(0, folder.size() - 1));
  }
  if (!path.empty() && path.back() != '\\' && !files.FolderExists(path)) make(path);
  return first;
}

String FolderOfPath(const String& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == String::npos ? String() : path.substr(0, slash);
}

String WithTrailingBackslash(const String& folder) {
  if (!folder.empty() && folder.back() == '\\') return folder;
  return folder + '\\';
}

bool IsSafeRelativeName(std::string_view name) {
  if (name.empty() || name.find(':') != std::string_view::npos) return false;
  for (std::size_t start = 0;;) {
    const std::size_t end = name.find_first_of("\\/", start);
    const std::string_view step = name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (step.empty() || step == "..") return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace pelorin
