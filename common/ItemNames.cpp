#include "ItemNames.h"

#include "InstallRecord.h"

namespace pelorin {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows opens the device, not a file, for these names with any extension.
bool IsDeviceName(std::string_view step) {
  std::string_view base = step.substr(0, step.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  // A named constant array stays read-only; a braced list's array would be writable data.
  static constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL"};
  for (const char* device : kDevices)
    if (SameFileName(base, device)) return true;
  if (base.size() != 4 || base[3] < '1' || base[3] > '9') return false;
  return SameFileName(base.substr(0, 3), "COM") || SameFileName(base.substr(0, 3), "LPT");
}

// Why one folder or file name of a path cannot stand as it is; null when it can.
const char* StepProblem(std::string_view step) {
  if (step.empty() || step == "..") return "not a path inside its folder";
  for (const char c : step)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>|?*\":").find(c) != std::string_view::npos)
      return "holds a character that Windows does not allow in names";
  if (step.back() == '.' || step.back() == ' ') return "ends in a dot or a blank, which Windows drops";
  if (IsDeviceName(step)) return "is a device name in Windows";
  return nullptr;
}

}  // namespace

const char* ItemNameProblem(std::string_view item) {
  if (item.starts_with('%')) return nullptr;
  if (item.starts_with(kSystemFileMarker)) {
    const std::string_view name = item.substr(1);
    if (name.find_first_of("\\/") != std::string_view::npos) return "not a bare file name for the system folder";
    return StepProblem(name);
  }
  if (item.starts_with(kShortcutMarker)) return "begins with &, which marks a shortcut in the install log";
  if (SameFileName(item, kInstallLogName)) return "is the install log's own name";
  return RelativePathProblem(item);
}

const char* RelativePathProblem(std::string_view path) {
  for (std::size_t start = 0;;) {
    const std::size_t end = path.find_first_of("\\/", start);
    if (const char* problem = StepProblem(path.substr(start, end == std::string_view::npos ? end : end - start)))
      return problem;
    if (end == std::string_view::npos) return nullptr;
    start = end + 1;
  }
}

bool SameFileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

String ItemPath(std::string_view item) {
  if (item.starts_with(kSystemFileMarker)) item.remove_prefix(1);
  return ReplaceChars(String(item), '/', '\\');
}

}  // namespace pelorin
