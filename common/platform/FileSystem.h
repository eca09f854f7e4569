#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include "Str.h"
#include <string_view>
#include <vector>

namespace pelorin {

class AnsiCodePage;

// What went wrong in a file operation, kept with the system's own number so that a report
// in any language can be read. Kind kNone means success. It holds no text of its own: errors
// are made and passed on far more often than shown, so the system's text is made only when
// one is shown (FileErrorText).
struct FileError {
  enum class Kind { kNone, kPathNotFound, kFileNotFound, kAccessDenied, kDiskFull, kOther };
  Kind kind = Kind::kNone;
  unsigned long systemCode = 0;
  const char* note = nullptr;  // what went wrong where the system's text for the code would not say

  explicit operator bool() const { return kind != Kind::kNone; }
};

// The error's note, else the system's text for its code.
String FileErrorText(const FileError& error);

// A file time as UTC calendar fields, to the second.
struct FileTime {
  int year = 1601, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  auto operator<=>(const FileTime&) const = default;
};

// An open file read in pieces, so memory does not grow with the file.
class FileReader {
 public:
  virtual ~FileReader() = default;
  virtual std::uint64_t Size() = 0;
  virtual FileError Seek(std::uint64_t offset) = 0;
  // Reads up to `size` bytes; `got` is 0 at the end of the file.
  virtual FileError Read(char* buffer, std::size_t size, std::size_t& got) = 0;
};

class FileWriter {
 public:
  virtual ~FileWriter() = default;
  virtual FileError Write(const char* bytes, std::size_t size) = 0;
  // Flushes and closes; the file is complete when this succeeds.
  virtual FileError Close() = 0;
};

// A folder held open so that nobody can delete, rename or replace it until this is destroyed.
class FolderHold {
 public:
  virtual ~FolderHold() = default;
};

// The files and folders the programs touch. Paths are Windows paths (backslashes); the
// POSIX implementation maps them onto its own.
class FileSystem {
 protected:
  // Never deleted through this type, so no virtual destructor in every implementation.
  ~FileSystem() = default;

 public:

  virtual bool FolderExists(const String& path) = 0;
  virtual bool FileExists(const String& path) = 0;
  // Whether `path` itself is a symbolic link, a junction or another reparse point, which
  // would lead whoever follows it somewhere else.
  virtual bool IsReparsePoint(const String& path) = 0;
  // Names (not paths) of the files in `folder` matching a wildcard pattern such as "*.cfg",
  // compared without regard to case.
  virtual FileError ListFiles(const String& folder, const String& pattern,
                              std::vector<String>& names) = 0;
  // Names of the immediate subfolders of `folder`, without "." and "..".
  virtual FileError ListFolders(const String& folder, std::vector<String>& names) = 0;
  virtual FileError ReadFile(const String& path, String& bytes) = 0;
  // Creates `path` and writes `bytes`; the file is complete when this succeeds. Anything
  // already there, a link included, is an error: it may be another account's, left to be
  // written through.
  virtual FileError WriteNewFile(const String& path, const String& bytes) = 0;
  // Moves `from` over `to`, replacing it in one step; on failure `to` is as it was.
  virtual FileError MoveFileOver(const String& from, const String& to) = 0;
  // Puts `from` in the place of `to`, as MoveFileOver, but an existing `to` keeps its
  // attributes (hidden, for one) where the system keeps them apart from the bytes.
  virtual FileError ReplaceWithFile(const String& from, const String& to) { return MoveFileOver(from, to); }
  // A number from the system's cryptographic generator, for names nobody can foresee.
  virtual std::uint64_t RandomNumber() = 0;
  // The code page in which the system's programs write text files (TextFile.h).
  virtual const AnsiCodePage& TextCodePage() = 0;
  virtual FileError RemoveFile(const String& path) = 0;
  // Clears a read-only mark, so that the file can be deleted; where a read-only file can be
  // deleted anyway, nothing to do.
  virtual FileError MakeWritable(const String&) { return {}; }

  virtual FileError OpenForReading(const String& path, std::unique_ptr<FileReader>& reader) = 0;
  // Opens a file for reading so that, while it is open, no one can change, replace or
  // delete it; where the system cannot promise that, a plain open.
  virtual FileError OpenLocked(const String& path, std::unique_ptr<FileReader>& reader) {
    return OpenForReading(path, reader);
  }
  // OpenLocked for the file this program runs from, which is an error where the file now
  // at `path` is not the one the system loaded the program from: a running program's file
  // can be renamed, and another put in its place.
  virtual FileError OpenRunningImage(const String& path, std::unique_ptr<FileReader>& reader) {
    return OpenLocked(path, reader);
  }
  // Creates `path`, which must not exist yet (as WriteNewFile), or with `append` keeps its
  // bytes and writes after them.
  virtual FileError OpenForWriting(const String& path, bool append,
                                   std::unique_ptr<FileWriter>& writer) = 0;
  virtual FileError LastWriteTime(const String& path, FileTime& time) = 0;
  // Sets the creation, last-access and last-write times.
  virtual FileError SetFileTimes(const String& path, const FileTime& time) = 0;
  // Creates one folder; its parent must exist.
  virtual FileError CreateFolder(const String& path) = 0;
  // Creates one folder with the rights `rightsText` (FolderRightsText) and none inherited;
  // where the system keeps no such rights, a plain folder.
  virtual FileError CreateFolderWithRights(const String& path, const String&) { return CreateFolder(path); }
  // Removes one folder; only an empty folder can be removed.
  virtual FileError RemoveFolder(const String& path) = 0;
  // Whether another account than SYSTEM, the administrators, TrustedInstaller and the
  // running one can change the file or folder (OthersCanWrite); where the system keeps no
  // such rights, nobody else can.
  virtual bool OthersCanWrite(const String&) { return false; }
  // Whether such an account can delete, rename or re-permit the folder or what it holds
  // (OthersCanMoveAway); where the system keeps no such rights, nobody else can.
  virtual bool OthersCanMoveAway(const String&) { return false; }
  // Opens the folder at `path` itself, never a link's or junction's target, and keeps it
  // from being deleted, renamed or replaced while `hold` lives. A link, a junction or a file
  // there is an error. Where the system cannot hold a folder, it is only checked.
  virtual FileError HoldFolder(const String& path, std::unique_ptr<FolderHold>& hold) {
    hold.reset();
    if (IsReparsePoint(path) || !FolderExists(path)) return {FileError::Kind::kOther, 4390, "not a plain folder"};
    return {};
  }
  // Whether the file or folder is the running account's own (IsAccountsOwn); where the
  // system keeps no owners, it is.
  virtual bool OwnedByRunningAccount(const String&) { return true; }
};

// Whether the system's name of the file a program was loaded from (`mappedName`, as
// "\Device\HarddiskVolume3\..." or Wine's "\??\C:\...") names the same file as an open
// file's final paths, in the system's own form (`ntPath`) and with its drive (`dosPath`,
// "\\?\C:\..."). Letter case aside, the names must be equal.
bool IsMappedFile(std::string_view mappedName, std::string_view ntPath, std::string_view dosPath);

// Whether a file was refused because another program has it open (the system's sharing or
// lock violation), not because it is read-only or this account may not write it.
bool IsInUse(const FileError& error);

// Replaces the contents of `path` safely: writes the bytes into a new file beside it, named
// TemporaryNameOf(path) with an unpredictable number, so that no one can prepare a file or
// link there to be written through, then puts it in the original's place (ReplaceWithFile). On any
// failure the original keeps its bytes and no temporary file stays.
FileError ReplaceFileContents(FileSystem& files, const String& path, const String& bytes);

// The temporary file beside `path` that ReplaceFileContents writes: `path` + "." + 16 hex
// digits + ".tmp". Whether `name` is such a file's name for the file named `target`, so that
// one left by a killed run can be found and removed.
String TemporaryNameOf(const String& path, std::uint64_t randomNumber);
bool IsTemporaryNameOf(std::string_view name, std::string_view target);

// Copies `size` bytes from `reader`, as positioned, to `writer` through a fixed buffer, so
// memory does not grow with the size; a file that ends early is an error.
FileError CopyFileBytes(FileReader& reader, FileWriter& writer, std::uint64_t size);

// Creates every missing folder along `path`, from the top down, going on past failures.
// Returns the first failure; `created`, when given, receives the folders made, top first.
// With `rightsText` (FolderRightsText) each folder is made with those rights alone.
FileError CreateFolderChain(FileSystem& files, const String& path,
                            std::vector<String>* created = nullptr, const String& rightsText = {});

// What a run's own folder is made from: the running account, whom its rights name, and the
// system's cryptographic generator, which names it.
struct PrivateFolderSource {
  String userSid;
  std::uint64_t (*randomNumber)() = nullptr;
};

// Creates a new folder of this run's own below `parent`: `prefix` and an unpredictable number,
// with the private rights (FolderRightsText) and none inherited. A name where anything, a link
// included, is already there is passed over, since another account may have put it there to
// redirect what follows; a few names are tried. `path` receives the folder, without a
// trailing backslash.
FileError CreatePrivateFolder(FileSystem& files, const String& parent, const String& prefix,
                              const PrivateFolderSource& source, String& path);

// The part of a path before its last backslash; empty when it has none.
String FolderOfPath(const String& path);

// Whether a name, taken as a path below a folder, stays inside that folder: not absolute, no
// drive, no ".." step, no empty step.
bool IsSafeRelativeName(std::string_view name);

// `folder` with one backslash at its end.
String WithTrailingBackslash(const String& folder);

}  // namespace pelorin
