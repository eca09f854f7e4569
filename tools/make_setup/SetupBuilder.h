#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// One item to pack: its name in the pack, the file it is read from and the time it is stored
// with (the file's own last-write time when none is given).
struct SetupItem {
  pelorin::String name;
  pelorin::String source;
  std::optional<FileTime> time;
};

struct SetupSizes {
  std::uint64_t image = 0, list = 0, data = 0, total = 0;
};

// Writes the self-extracting setup file `output`: the setup program image, then the pack list
// and data made by the same AddFile code that setup reads them with, spare bytes that make the
// file's length a multiple of 8, and the trailer that locates both copies. Authenticode pads a
// file to that boundary before it appends its certificate table, so a signed file keeps its
// trailer right before the table. An item whose name setup would not install is refused.
// The file is written beside `output` and renamed over it only when complete; on any failure
// no `output` is left at all, so that a build never takes an old or partial one as current.
// Returns what went wrong, or an empty text.
pelorin::String BuildSetupFile(FileSystem& files, const pelorin::String& output, const pelorin::String& image,
                           const std::vector<SetupItem>& items, SetupSizes& sizes);

// Writes the uninstaller `output`: the setup program image with the removal mark behind it,
// beside `output` and renamed over it only when complete (no `output` is left on failure). Returns what went wrong, or an empty
// text.
pelorin::String BuildRemovalFile(FileSystem& files, const pelorin::String& output, const pelorin::String& image);

// Reads an unsigned setup file back into files to pack again: its image into `folder`\image
// and each item into `folder`\item<N>, with its stored time. A signed file is refused: its
// image names a certificate table that a new file would not have. `folder` must exist.
// Returns what went wrong, or an empty text.
pelorin::String ReadSetupFile(FileSystem& files, const pelorin::String& setup, const pelorin::String& folder,
                          pelorin::String& image, std::vector<SetupItem>& items);

}  // namespace pelorin
