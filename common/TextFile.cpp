#include "TextFile.h"

#include "Utf8.h"

namespace pelorin {

namespace {

constexpr unsigned long kNoTranslation = 1113;  // ERROR_NO_UNICODE_TRANSLATION

}  // namespace

String EncodeTextFile(const AnsiCodePage& codePage, std::string_view text) {
  // Bytes that began as the mark does would be read back as UTF-8.
  String bytes;
  if (codePage.FromUtf8(text, bytes) && !bytes.starts_with(kUtf8Mark)) return bytes;
  return String(kUtf8Mark) + String(text);
}

bool DecodeTextFile(const AnsiCodePage& codePage, std::string_view bytes, String& text) {
  text.clear();
  if (!bytes.starts_with(kUtf8Mark)) return codePage.ToUtf8(bytes, text);
  bytes.remove_prefix(kUtf8Mark.size());
  if (!IsUtf8(bytes)) return false;
  text = bytes;
  return true;
}

FileError ReadTextFile(FileSystem& files, const String& path, String& text) {
  text.clear();
  String bytes;
  if (FileError error = files.ReadFile(path, bytes)) return error;
  if (!DecodeTextFile(files.TextCodePage(), bytes, text))
    return {FileError::Kind::kOther, kNoTranslation, "the file is neither UTF-8 nor text in the system's code page"};
  return {};
}

FileError ReplaceTextFile(FileSystem& files, const String& path, std::string_view text) {
  return ReplaceFileContents(files, path, EncodeTextFile(files.TextCodePage(), text));
}

FileError AppendTextLine(FileSystem& files, const String& path, const String& line) {
  const String ended = line + "\r\n";
  String bytes;
  const bool exists = files.FileExists(path);
  if (exists) {
    if (FileError error = files.ReadFile(path, bytes)) return error;
  }
  String added;
  if (!exists || bytes.empty()) {
    added = EncodeTextFile(files.TextCodePage(), ended);
  } else if (bytes.starts_with(kUtf8Mark)) {
    if (!IsUtf8(ended)) return {FileError::Kind::kOther, kNoTranslation, "the line is not UTF-8"};
    added = ended;
  } else if (!files.TextCodePage().FromUtf8(ended, added)) {
    String text;
    if (!DecodeTextFile(files.TextCodePage(), bytes, text))
      return {FileError::Kind::kOther, kNoTranslation, "the file is not text in the system's code page"};
    return ReplaceTextFile(files, path, text + ended);
  }
  std::unique_ptr<FileWriter> writer;
  FileError error = files.OpenForWriting(path, true, writer);
  if (!error) error = writer->Write(added.data(), added.size());
  if (!error) error = writer->Close();
  return error;
}

}  // namespace pelorin
