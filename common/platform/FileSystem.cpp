#include "FileSystem.h"

namespace pelorin {

FileError ReplaceFileContents(FileSystem& files, const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  FileError error = files.WriteNewFile(temporary, bytes);
  if (!error) error = files.MoveFileOver(temporary, path);
  if (error) files.RemoveFile(temporary);
  return error;
}

std::string WithTrailingBackslash(const std::string& folder) {
  if (!folder.empty() && folder.back() == '\\') return folder;
  return folder + '\\';
}

}  // namespace pelorin
