#pragma once

#include "Str.h"
#include <string_view>

#include "AnsiCodePage.h"
#include "FileSystem.h"

namespace pelorin {

// The text files the programs keep (settings.ini, install.log, folders.log) are written in
// the ANSI code page whenever it holds every character, as they always were, so that files
// written before and by other programs read as before; a text it cannot hold (a path in
// another script) is written as UTF-8 after a byte-order mark. Readers take both.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

String EncodeTextFile(const AnsiCodePage& codePage, std::string_view text);
// False for bytes that are neither: UTF-8 after the mark that is not well-formed, or bytes
// the code page does not define.
bool DecodeTextFile(const AnsiCodePage& codePage, std::string_view bytes, String& text);

// The file's UTF-8 text; a file that cannot be decoded is an error.
FileError ReadTextFile(FileSystem& files, const String& path, String& text);
// Replaces the file's contents safely (ReplaceFileContents) with the encoded text.
FileError ReplaceTextFile(FileSystem& files, const String& path, std::string_view text);
// Adds `line` and CR LF at the end of the file, creating it when missing. A file in the code
// page that cannot hold the line is written again whole, as UTF-8.
FileError AppendTextLine(FileSystem& files, const String& path, const String& line);

}  // namespace pelorin
