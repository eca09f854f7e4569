#pragma once

#include "Str.h"
#include <string_view>
#include <vector>

#include "ConfigCommands.h"
#include "FileSystem.h"

namespace pelorin {

// Whether a name can stand in a configuration file: a CR or LF would end the command, a
// double quote would end the value early, a zero byte would end the whole file for the
// engine, and the engine cuts a longer `seta name` line.
bool NameFitsConfigLine(std::string_view name);

struct NameEdit {
  enum class Result {
    kNoNameCommand,  // nothing in the file sets the name; `text` is empty
    kRewritten,      // `text` is the file to write
    kRefused,        // a command that sets the name is, or would become, longer than the
                     // engine reads, or its value runs into a comment, so that a new value
                     // would change how the engine reads the rest; nothing is written
  };
  Result result = Result::kNoNameCommand;
  String text;
};

// The text of a configuration file, executed after the run `before`, with the value of every
// command of its own that sets the name where the engine executes it (see FindNameValue;
// a bare `name` only once the cvar exists) replaced by `name` in quotation marks. Every other
// byte stays: other commands on the same line, comments, quoted text such as binds, line
// ends. Refused where the engine would then execute any other command otherwise, a `vstr`'s
// text included. `name` must fit a configuration line.
NameEdit ReplaceSetaName(std::string_view text, std::string_view name, const ConfigRun& before = {});

// `text` with `seta name "<name>"` added so that the engine executes it after everything
// else: as a last line in the file's own line ends. Only where the file's end leaves it
// inside a comment, it goes first instead. Empty where neither runs every other command as
// before and ends with the name set.
String AddSetaName(std::string_view text, std::string_view name, const ConfigRun& before = {});

struct FileFailure {
  String path;
  FileError error;
};

// The outcome of saving one mod folder.
struct ModSaveResult {
  std::vector<FileFailure> failures;  // files (or the folder) not saved, each with its reason
  std::vector<String> saved;     // names of the files written
};

// Writes the name into the configuration files directly in `modFolder`: each file that sets
// the name is rewritten through a temporary file beside it; a file that does not is left
// alone. The two files the engine executes at start (q3config.cfg, then autoexec.cfg) are
// read as one run, following `vstr`; where the run would not end with the name, q3config.cfg
// gets a name line (a baseq3 folder without one gets a q3config.cfg holding just that line),
// or where that does not do, autoexec.cfg. One file that fails does not stop the others.
ModSaveResult SaveNameToMod(FileSystem& files, const String& modFolder, std::string_view name);

}  // namespace pelorin
