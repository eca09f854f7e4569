// Feeds arbitrary bytes as install log and folder record (split at the first 0xFF byte),
// decoded as the uninstaller reads them (in the code page, or UTF-8 after the mark), to the
// removal's whole decision, and the decision to the batch file. Aborts when anything it would
// delete, start, close or remove lies outside the install folder, the system folder's own
// files and the Programs folders, climbs out of them, holds a NUL or another control
// character or is not well-formed UTF-8 (a path the system's wide calls take as it is), or
// when the batch file names a wildcard, whether it names its own folder by path or as %~dp0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CodePage1252.h"
#include "RemovalPlan.h"
#include "SelfRemoval.h"
#include "TextFile.h"
#include "TextLines.h"
#include "Utf8.h"

namespace {

const pelorin::String kInstall = "C:\\Games\\Brackwater\\Pelorin";
const pelorin::String kUninstaller = kInstall + "\\Uninstall.exe";
const pelorin::String kSystem = "C:\\WINDOWS\\system32";
const pelorin::String kPrograms[] = {"C:\\Users\\me\\Start Menu\\Programs", "C:\\ProgramData\\Start Menu\\Programs"};

pelorin::String Lower(pelorin::String text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
  return text;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsUtf8(const pelorin::String& text) {
  std::u16string wide;
  return pelorin::Utf16FromUtf8(text, wide);
}

// The part of `path` below `folder`, checked to name a real place there: no step that is
// empty, made of dots or ending in a dot or a blank, no NUL or control character.
std::string_view Below(const pelorin::String& path, const pelorin::String& folder) {
  Require(Lower(path).rfind(Lower(folder) + "\\", 0) == 0);
  const std::string_view rest = std::string_view(path).substr(folder.size() + 1);
  Require(!rest.empty());
  for (char c : rest) Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F && c != '/' && c != '*' && c != '?');
  std::size_t start = 0;
  for (std::size_t end = rest.find('\\');; end = rest.find('\\', start)) {
    const std::string_view step = rest.substr(start, end == std::string_view::npos ? end : end - start);
    Require(!step.empty() && step.back() != '.' && step.back() != ' ');
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return rest;
}

bool InAnyPrograms(const pelorin::String& path) {
  for (const pelorin::String& programs : kPrograms)
    if (Lower(path).rfind(Lower(programs) + "\\", 0) == 0) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\xff');
  const pelorin::CodePage1252 codePage;
  pelorin::String log, record;
  // A file that is neither stops the removal before anything is planned.
  if (!pelorin::DecodeTextFile(codePage, input.substr(0, split), log) ||
      !pelorin::DecodeTextFile(codePage, split == std::string_view::npos ? std::string_view() : input.substr(split + 1),
                               record))
    return 0;
  const pelorin::RemovalPlaces places{kInstall, kUninstaller, kSystem, {kPrograms[0], kPrograms[1]}};
  const pelorin::RemovalPlan plan = pelorin::PlanRemoval(log, record, places);

  Require(IsUtf8(plan.mainProgram));
  if (!plan.mainProgram.empty()) {
    const std::string_view name = Below(plan.mainProgram, kInstall);
    Require(Lower(pelorin::String(name.substr(name.size() - std::min<std::size_t>(4, name.size())))) == ".exe");
    Require(Lower(pelorin::String(name)) != "uninstall.exe");
  }
  for (const pelorin::PlannedDeletion& deletion : plan.deletions) {
    Require(plan.stop == pelorin::PlanStop::kNone);
    Require(IsUtf8(deletion.path));
    switch (deletion.kind) {
      case pelorin::EntryKind::kInstalledFile:
        Below(deletion.path, kInstall);
        Require(deletion.stopFolder == kInstall);
        Require(Lower(deletion.path) != Lower(kInstall + "\\Uninstall.exe"));
        break;
      case pelorin::EntryKind::kSystemFile:
        Require(Below(deletion.path, kSystem).find('\\') == std::string_view::npos);
        break;
      case pelorin::EntryKind::kShortcut: {
        Require(InAnyPrograms(deletion.path));
        Below(deletion.path, pelorin::String(deletion.stopFolder));
        Require(Lower(deletion.path.substr(deletion.path.size() - 4)) == ".lnk");
        break;
      }
      case pelorin::EntryKind::kSkipped:
        std::abort();
    }
  }
  for (const pelorin::String& folder : plan.folders) {
    Require(folder.find('\0') == pelorin::String::npos && folder.size() > 3 && IsUtf8(folder));
    Require(Lower(folder) == Lower(kInstall) || Lower(kInstall).rfind(Lower(folder) + "\\", 0) == 0);
    // Only a folder that setup recorded making is ever removed.
    bool recorded = false;
    for (pelorin::String line : pelorin::SplitLines(record)) {
      while (!line.empty() && line.back() == '\\') line.pop_back();
      recorded = recorded || Lower(line) == Lower(folder);
    }
    Require(recorded);
  }

  // The batch file, which runs after the uninstaller has ended, deletes files only in its own
  // folder, named by its path or as "%~dp0"; of the install folder it may name only the
  // planned folders, for rmdir.
  for (const pelorin::String batchFolder : {"C:\\TEMP\\PelorinUninstall-1", ""}) {
    const pelorin::String program = batchFolder.empty() ? "" : batchFolder + "\\Uninstall.exe";
    const pelorin::String batch = pelorin::SelfRemovalBatch({program, batchFolder, kSystem, plan.folders});
    Require(batch.find_first_of("*?") == pelorin::String::npos && batch.find('\0') == pelorin::String::npos);
    for (const pelorin::String& line : pelorin::SplitLines(batch))
      Require(Lower(line).find(Lower(kInstall)) == pelorin::String::npos || line.starts_with("rmdir "));
  }
  return 0;
}
