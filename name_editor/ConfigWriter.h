#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace pelorin {

// The line to write for one line of a configuration file: a line holding "seta name"
// (case-sensitive, anywhere in it) becomes its text before that, then seta name, a blank and
// the name in quotation marks; the old value is dropped up to the end of its line. In text
// with LF-only line ends, the LF and all that follows it stay. Other lines come back as read.
std::string ReplaceSetaName(std::string_view line, std::string_view name);

// Whether a name can stand in a configuration line: a CR or LF would split the line and a
// double quote would end the value early.
bool NameFitsConfigLine(std::string_view name);

// The outcome of rewriting one mod folder.
struct ModSaveResult {
  FileError error;                 // the first failure; the folder's later files are left alone
  std::vector<std::string> saved;  // names of the files rewritten
};

// Rewrites the name line of every "*.cfg" file directly in `modFolder`. Each file that holds
// a name line is written beside itself and then moved over the original; a file without one
// is not touched.
ModSaveResult SaveNameToMod(FileSystem& files, const std::string& modFolder, std::string_view name);

}  // namespace pelorin
