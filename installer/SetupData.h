#pragma once

#include <cstdint>
#include <optional>
#include "Str.h"
#include <string_view>
#include <vector>

namespace pelorin {

// The self-extracting file: program image, pack list copy, pack data copy, any bytes, then a
// 272-byte trailer: the magic and four decimal fields, each padded with blanks to 64 bytes:
// 1-based position and length of the list copy, then of the data copy. A signed file has
// Authenticode's certificate table after that, named by the image's security directory.
inline constexpr std::string_view kTrailerMagic = "TANNERSHOALSDATA";
inline constexpr std::size_t kTrailerField = 64;
inline constexpr std::size_t kTrailerSize = kTrailerMagic.size() + 4 * kTrailerField;
static_assert(kTrailerSize == 272);

struct Trailer {
  std::uint64_t listPosition = 0;
  std::uint64_t listLength = 0;
  std::uint64_t dataPosition = 0;
  std::uint64_t dataLength = 0;
};

// The trailer read from the last 272 bytes of a file of `fileSize` bytes; nothing unless the
// magic is there, each field is a decimal number and both copies lie inside the file before
// the trailer.
std::optional<Trailer> ParseTrailer(std::string_view bytes, std::uint64_t fileSize);
String FormatTrailer(const Trailer& trailer);

// How much of a file's start is read for its image headers.
inline constexpr std::size_t kHeadersRead = 4096;

// Where the trailer ends in a file of `fileSize` bytes that starts with `head`: where the
// certificate table begins when the image's security directory names one that ends the file,
// else at the end of the file. Nothing when it names a table anywhere else. A head that is no
// readable image has no table.
std::optional<std::uint64_t> TrailerEnd(std::string_view head, std::uint64_t fileSize);

// The uninstaller is setup's own image with this mark behind it instead of the pack: the magic
// and the image's length, a decimal field padded with blanks to 16 bytes. It counts only where
// it ends the file (before a certificate table) and directly follows the image it names, so
// that a setup file cut short after a packed item is never taken for an uninstaller.
inline constexpr std::string_view kRemovalMarkMagic = "PELORIN-REMOVAL:";
inline constexpr std::size_t kRemovalMarkSize = kRemovalMarkMagic.size() + 16;
static_assert(kRemovalMarkSize % 8 == 0, "a signed uninstaller keeps its mark right before the table");

String FormatRemovalMark(std::uint64_t imageLength);

// Whether `bytes`, found at 0-based `at` of the file, are the mark of an image of that length.
bool IsRemovalMark(std::string_view bytes, std::uint64_t at);

// Where signing changes an image's headers: the checksum (4 bytes) and the security directory
// entry (8 bytes), as offsets into `head`; nothing when it is no image with a security entry.
struct SigningFields {
  std::size_t checksum = 0;
  std::size_t security = 0;
};
std::optional<SigningFields> SigningFieldsOf(std::string_view head);

// The uninstaller is not packed as a copy: setup's file holds the image it is made of already.
// Its item holds the magic, the image's length (a decimal field padded with blanks to 16
// bytes), the uninstaller's checksum and security entry (12 bytes, which signing sets), then
// its bytes after the image: the removal mark and, when signed, its certificate table.
inline constexpr std::string_view kSelfItemMagic = "PELORIN-SELFIMG:";
inline constexpr std::size_t kSelfItemHead = kSelfItemMagic.size() + 16 + 12;

// The item that stands for `program` made of `image`; nothing when `program` is not `image`
// (its signing fields aside) with bytes behind it.
std::optional<String> SelfItemOf(std::string_view image, std::string_view program);

// The program `item` stands for, made of setup's `image` (setup's file up to its pack);
// nothing when it is no such item or names an image of another length.
std::optional<String> ProgramOfSelfItem(std::string_view image, std::string_view item);

inline constexpr char kCorruptSetupMessage[] =
    "Setup data is corrupt or cannot be read.  Make sure that another process is not using it.";
inline constexpr char kSetupDataMissingMessage[] = "Required Setup Data not found!";

// The setup information: ten lines, flags counted set when their leading number is not 0.
struct SetupInfo {
  String appName = "(untitled)";
  String appVersion = "?.?";
  String appCompany = "(no one)";
  bool showLicence = false;
  bool useFixedPath = false;
  String fixedPath;
  bool reserved = false;
  bool runAfterInstall = false;
  String mainExe;
  long noUninstall = 0;
};

SetupInfo ParseSetupInfo(std::string_view text);
// The same, read into `info`, which holds the defaults before.
void ParseSetupInfoInto(std::string_view text, SetupInfo& info);

// Whether a flag line is set: its leading number (blanks before it allowed), rounded to a
// whole number, is not 0. A line without a number reads as 0.
bool IsFlagSet(std::string_view line);

inline constexpr std::size_t kMaxShortcuts = 10;

// The first ten lines of the shortcut list.
std::vector<String> ParseShortcutLines(std::string_view text);

}  // namespace pelorin
