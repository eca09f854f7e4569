#include "PackFormat.h"

#include "DecimalText.h"

namespace pelorin {

String FormatRecord(const PackRecord& record) {
  const FileTime& t = record.time;
  return record.name + "," + std::to_string(record.offset) + "," + std::to_string(record.size) +
         "," + std::to_string(t.hour) + "," + std::to_string(t.minute) + "," +
         std::to_string(t.second) + "," + std::to_string(t.month) + "," + std::to_string(t.day) +
         "," + std::to_string(t.year);
}

std::optional<PackRecord> ParseRecord(std::string_view line) {
  PackRecord record;
  if (!ParseRecordInto(line, record)) return std::nullopt;
  return record;
}

bool ParseRecordInto(std::string_view line, PackRecord& record) {
  constexpr std::size_t kFields = 9;
  std::string_view fields[kFields];
  for (std::size_t start = 0, count = 0;; ++count) {
    const std::size_t comma = line.find(',', start);
    if (count == kFields) return false;
    fields[count] = line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (comma == std::string_view::npos) {
      if (count + 1 != kFields) return false;
      break;
    }
    start = comma + 1;
  }
  if (!IsValidItemName(fields[0])) return false;

  // Hour, minute, second, month, day and year, each within its range.
  static constexpr int kLowest[] = {0, 0, 0, 1, 1, 1601};
  static constexpr int kHighest[] = {23, 59, 59, 12, 31, 30827};
  int time[6];
  for (std::size_t i = 0; i < 6; ++i) {
    const auto value = ParseWholeNumber(fields[3 + i]);
    if (!value || *value < static_cast<std::uint64_t>(kLowest[i]) || *value > static_cast<std::uint64_t>(kHighest[i]))
      return false;
    time[i] = static_cast<int>(*value);
  }
  const auto offset = ParseWholeNumber(fields[1]);
  const auto size = ParseWholeNumber(fields[2]);
  if (!offset || !size || *offset < kFirstItemOffset) return false;
  record.name = fields[0];
  record.offset = *offset;
  record.size = *size;
  record.time = {time[5], time[3], time[4], time[0], time[1], time[2]};
  return true;
}

bool IsValidItemName(std::string_view name) {
  return !name.empty() && name.front() != ' ' &&
         name.find_first_of(",\"\r\n") == std::string_view::npos;
}

}  // namespace pelorin
