#pragma once

#include <cstdint>
#include <optional>
#include "Str.h"
#include <string_view>

#include "FileSystem.h"

namespace pelorin {

// A pack archive is two files. The list file is text with CR LF line ends: the header line,
// then one record per item in the order the items were added. The data file starts with the
// 21-byte magic, then holds the items' bytes back to back; offsets count from 1, so the first
// item is at 22.
inline constexpr std::string_view kPackListHeader = "List File for KESTRELBOX@PACKEDFILE";
inline constexpr std::string_view kPackMagic = "KESTRELBOX@PACKEDFILE";
static_assert(kPackMagic.size() == 21);
inline constexpr std::uint64_t kFirstItemOffset = kPackMagic.size() + 1;

// One item: name, offset, size, then the source's last-write time in UTC, written as nine
// comma-separated decimal fields without leading zeros: name,offset,size,h,m,s,month,day,year.
struct PackRecord {
  String name;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  FileTime time;
};

String FormatRecord(const PackRecord& record);

// A record line, or nothing when it is not nine fields of the right kinds and ranges.
std::optional<PackRecord> ParseRecord(std::string_view line);
// The same, read into `record`: false when it is no record, and `record` then holds anything.
bool ParseRecordInto(std::string_view line, PackRecord& record);

// Whether a name can stand in a record: no comma, quote or line break, no leading blank.
bool IsValidItemName(std::string_view name);

}  // namespace pelorin
