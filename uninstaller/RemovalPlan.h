#pragma once

#include "Str.h"
#include <string_view>
#include <vector>

#include "InstallLog.h"

namespace pelorin {

// One file the removal deletes, with the log line that named it, which stays in the log
// when the file cannot be deleted.
struct PlannedDeletion {
  EntryKind kind = EntryKind::kSkipped;
  String path;
  String entry;
  // The folders this deletion leaves empty are removed up to, not including, this one; it
  // lies in the RemovalPlaces the plan was made with.
  std::string_view stopFolder;
};

enum class PlanStop {
  kNone,
  kNoHeader,  // fewer than three lines: not a log setup wrote
  kNoName,    // an empty or damaged first line: the program and its registration are unknown
};

// What the uninstaller will do, decided from the log alone before anything changes.
struct RemovalPlan {
  PlanStop stop = PlanStop::kNone;
  String header;  // the three header lines as read, each with its CR LF, for a rewritten log
  String appName;
  String appVersion;
  String mainProgram;  // the full path of the program to close and tell, or empty
  std::vector<PlannedDeletion> deletions;
  // What the batch file tries with rmdir once the uninstaller has ended, deepest first: the
  // install folder and the folders above it that setup recorded as its own.
  std::vector<String> folders;
  std::size_t damagedLines = 0;
};

// Decides the removal from the install log's bytes and the record of folders setup created
// (one full path a line). Both are plain text anyone can edit: a line holding a control
// character is damaged and skipped, and every path lies where setup could have written it.
RemovalPlan PlanRemoval(std::string_view log, std::string_view createdFolders, const RemovalPlaces& places);

}  // namespace pelorin
