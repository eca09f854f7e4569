#include "InstallFolder.h"

#include "Concat.h"
#include "FolderRights.h"
#include "InstallRecord.h"
#include "TextFile.h"
#include "TextLines.h"

namespace pelorin {

namespace {

// Whether two paths are the same but for the case of ASCII letters.
bool SameLetters(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

String Trimmed(String path) {
  while (!path.empty() && (path.back() == ' ' || path.back() == '.' || path.back() == '\\' || path.back() == '/'))
    path.pop_back();
  std::size_t start = 0;
  while (start < path.size() && path[start] == ' ') ++start;
  return ReplaceChars(path.substr(start), '/', '\\');
}

// How long the root of a full path is ("C:" or "\\server\share"), or 0 when it is no full path.
std::size_t RootLength(const String& path) {
  const bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (path.size() >= 2 && letter && path[1] == ':') return path.size() == 2 || path[2] == '\\' ? 2 : 0;
  if (!path.starts_with("\\\\")) return 0;
  const std::size_t server = path.find('\\', 2);
  if (server == String::npos || server == 2) return 0;
  const std::size_t share = path.find('\\', server + 1);
  return share == String::npos ? path.size() : share;
}

// Whether the folder holds anything but this application's install; one that cannot be
// listed may hold anything.
bool HoldsOthersFiles(FileSystem& files, const String& folder, const String& appName) {
  std::vector<String> names;
  if (files.ListFiles(folder, "*", names)) return true;
  const bool noFiles = names.empty();
  if (files.ListFolders(folder, names)) return true;
  if (noFiles && names.empty()) return false;
  String log;
  if (ReadTextFile(files, WithTrailingBackslash(folder) + kInstallLogName, log)) return true;
  const std::vector<String> lines = SplitLines(log);
  return lines.empty() || lines[0] != appName;
}

bool IsReserved(std::string_view path, const ReservedFolders& reserved) {
  const String windows = Trimmed(reserved.windows);
  if (!windows.empty() && (SameLetters(path, windows) || (path.size() > windows.size() && path[windows.size()] == '\\' &&
                                                          SameLetters(path.substr(0, windows.size()), windows))))
    return true;
  for (const String& other : reserved.others)
    if (!other.empty() && SameLetters(path, Trimmed(other))) return true;
  return false;
}

// `path` as the system knows it: the final path of its deepest existing folder, then the
// rest, so that short names, links and junctions lead nowhere unchecked.
String Canonical(FileSystem& files, const ReservedFolders& reserved, const String& path, std::size_t root) {
  // A backslash follows the root of a path longer than it.
  for (String folder = path; reserved.finalPath != nullptr && folder.size() > root; folder.erase(folder.rfind('\\')))
    if (files.FolderExists(folder)) return reserved.finalPath(folder) + path.substr(folder.size());
  return path;
}

// Whether any step of the path ends in a dot or a blank, which Windows drops, so that the
// path names another folder than its text says.
bool HasTrimmedStep(const String& path) {
  for (std::size_t end = path.find('\\'); end != String::npos; end = path.find('\\', end + 1))
    if (end > 0 && (path[end - 1] == '.' || path[end - 1] == ' ')) return true;
  return false;
}

// The folder as the install may own it, before the whole path is judged, in `path`; null, or
// why it is refused, to follow the folder that `path` then names.
const char* FolderProblem(FileSystem& files, const String& typed, const String& appName,
                          const ReservedFolders& reserved, String& path) {
  path = Trimmed(typed);
  if (path.empty()) return "No install folder is given.";
  if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) return " is a device path; give a folder such as C:\\Games\\";
  const std::size_t root = RootLength(path);
  if (root == 0) return " is not a full path, such as C:\\Games\\";
  if (root >= path.size()) return "\\ is a whole drive or share; choose a folder on it.";
  if (path.starts_with("\\\\")) return " is on a network share; setup installs on a drive of this computer only.";
  if (path.find("\\.\\") != String::npos || path.find("\\..\\") != String::npos ||
      path.find("\\\\", root) != String::npos || path.find(':', root) != String::npos ||
      HasTrimmedStep(path))
    return " is not a plain folder path.";
  static constexpr char kReserved[] = " is a folder of the system or of your own; choose a folder for ";
  if (IsReserved(path, reserved) || IsReserved(Canonical(files, reserved, path, root), reserved)) return kReserved;
  if (!files.FolderExists(path) || (!HoldsOthersFiles(files, path, appName) && !files.OthersCanWrite(path)))
    return nullptr;
  // The application's own folder below is checked like the folder itself.
  path += '\\';
  path += appName;
  if (IsReserved(Canonical(files, reserved, path, root), reserved)) return kReserved;
  if (files.FolderExists(path) && HoldsOthersFiles(files, path, appName))
    return " holds files of another program; choose another folder.";
  if (files.FolderExists(path) && files.OthersCanWrite(path))
    return " can be changed by other accounts than the administrators; choose another folder.";
  return nullptr;
}

}  // namespace

String ProposedInstallPath(FileSystem& files, Registry& registry, const SetupInfo& info,
                                const String& programsFolder, InstallScope scope) {
  if (info.useFixedPath) return info.fixedPath;
  if (String earlier = RegisteredInstallFolder(files, registry, info.appName, scope); !earlier.empty())
    return earlier;
  return Concat({WithTrailingBackslash(programsFolder.empty() ? "C:\\Program Files" : programsFolder), info.appCompany,
                 "\\", info.appName});
}

InstallFolderChoice ChooseInstallFolder(FileSystem& files, const String& typed, const String& appName,
                                        const ReservedFolders& reserved, InstallScope scope) {
  String path;
  if (const char* problem = FolderProblem(files, typed, appName, reserved, path)) {
    // A text that ends with "for" or "such as ...\\" names the application next.
    String reason = path + problem;
    if (!reason.ends_with('.')) {
      reason += appName;
      reason += '.';
    }
    return {true, {}, std::move(reason)};
  }
  if (const char* problem = InstallPathProblem(files, path, scope))
    return {true, {}, Concat({path, ": ", problem, "; choose another folder."})};
  return {false, std::move(path), {}};
}

}  // namespace pelorin
