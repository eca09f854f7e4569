#include "PackFormat.h"

#include <vector>

#include "DecimalText.h"

namespace pelorin {

namespace {

std::optional<int> ParseField(std::string_view text, int low, int high) {
  const auto value = ParseWholeNumber(text);
  if (!value || *value < static_cast<std::uint64_t>(low) || *value > static_cast<std::uint64_t>(high))
    return std::nullopt;
  return static_cast<int>(*value);
}

}  // namespace

std::string FormatRecord(const PackRecord& record) {
  const FileTime& t = record.time;
  return record.name + "," + std::to_string(record.offset) + "," + std::to_string(record.size) +
         "," + std::to_string(t.hour) + "," + std::to_string(t.minute) + "," +
         std::to_string(t.second) + "," + std::to_string(t.month) + "," + std::to_string(t.day) +
         "," + std::to_string(t.year);
}

std::optional<PackRecord> ParseRecord(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (fields.size() != 9 || !IsValidItemName(fields[0])) return std::nullopt;

  PackRecord record;
  record.name = fields[0];
  const auto offset = ParseWholeNumber(fields[1]);
  const auto size = ParseWholeNumber(fields[2]);
  const auto hour = ParseField(fields[3], 0, 23);
  const auto minute = ParseField(fields[4], 0, 59);
  const auto second = ParseField(fields[5], 0, 59);
  const auto month = ParseField(fields[6], 1, 12);
  const auto day = ParseField(fields[7], 1, 31);
  const auto year = ParseField(fields[8], 1601, 30827);
  if (!offset || !size || !hour || !minute || !second || !month || !day || !year) return std::nullopt;
  if (*offset < kFirstItemOffset) return std::nullopt;
  record.offset = *offset;
  record.size = *size;
  record.time = {*year, *month, *day, *hour, *minute, *second};
  return record;
}

bool IsValidItemName(std::string_view name) {
  return !name.empty() && name.front() != ' ' &&
         name.find_first_of(",\"\r\n") == std::string_view::npos;
}

}  // namespace pelorin
