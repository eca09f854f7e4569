#pragma once

#include "Str.h"
#include <vector>

#include "FileSystem.h"
#include "PackFormat.h"

namespace pelorin {

// What the pack operations ask the user.
class PackUi {
 public:
  // Whether to replace an existing file that is newer than the item about to replace it.
  virtual bool ConfirmOverwriteOlder(const String& newText, const String& oldText) = 0;

 protected:
  ~PackUi() = default;
};

inline constexpr char kOverwriteOlderTitle[] = "Overwrite existing file with older file?";

// The text of the older-file question, for the two descriptions it compares.
String OverwriteOlderQuestion(const String& newText, const String& oldText);

// "name - day/month/year hour:minute:second", numbers without leading zeros.
String DescribeFileTime(const String& name, const FileTime& time);

enum class AddResult { kAdded, kNotAPack, kFailed };
struct AddOutcome {
  AddResult result;
  FileError error;  // with kFailed
};

// Appends the file `source` to the archive under `itemName`; either archive file is created
// when missing. A data file that does not start with the magic is left alone (kNotAPack).
// The bytes are copied in pieces, so memory does not grow with the file. The item's time is
// `time` when given (a build that must not depend on when its files were made), else the
// source's last-write time.
AddOutcome AddFile(FileSystem& files, const String& dataFile, const String& listFile,
                   const String& source, const String& itemName, const FileTime* time = nullptr);

struct PackList {
  bool headerValid = false;
  bool damaged = false;  // a record line that is not a valid record
  FileError error;       // the list file could not be read
  std::vector<PackRecord> records;

  // The first record of that name (names compare exactly), or null.
  const PackRecord* Find(std::string_view name) const;
};

PackList ParsePackList(std::string_view text);
PackList ReadPackList(FileSystem& files, const String& listFile);

// The listing as text: for each record its name, byte 0xFF, its size, byte 0xFF; "1" when
// the first line is not the header.
String ListFiles(FileSystem& files, const String& listFile);

enum class ExtractResult {
  kCopied,
  kNotListed,   // no item of that name
  kEmptyItem,   // size 0: nothing written, folders made
  kKeptNewer,   // the user kept the newer existing file
  kFailed,      // unreadable archive or destination; the destination is as it was
};
struct ExtractOutcome {
  ExtractResult result;
  FileError error;
};

// Copies item `item` to `destination`, asking before a newer file is replaced. The copy goes
// to a file beside the destination and replaces it only when complete; its three file times
// are then set to the item's stored time.
ExtractOutcome ExtractFile(FileSystem& files, PackUi& ui, const String& dataFile,
                           const String& listFile, const String& item,
                           const String& destination);

// The same for a record already read, from a data file already open; with `replaceNewer` a
// newer file is replaced without asking.
ExtractOutcome ExtractRecord(FileSystem& files, PackUi& ui, FileReader& data, const PackRecord& record,
                             const String& destination, bool replaceNewer = false);

}  // namespace pelorin
