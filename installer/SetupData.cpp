#include "SetupData.h"

#include "Concat.h"
#include "DecimalText.h"
#include "TextLines.h"

namespace pelorin {

namespace {

std::optional<std::uint64_t> ParseField(std::string_view field) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return ParseWholeNumber(field);
}

// A range of 1-based `position` and `length` that ends at or before `limit` bytes.
bool RangeFits(std::uint64_t position, std::uint64_t length, std::uint64_t limit) {
  return position >= 1 && position - 1 <= limit && length <= limit - (position - 1);
}

// The number a line starts with, blanks before it allowed; 0 when there is none.
double LeadingNumber(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  std::size_t length = 0;
  return LeadingDecimal(line, length);
}

// A whole number as the setup information holds one; values past 32 bits are far from 0
// all the same.
long WholeNumber(double value) {
  if (value > 2147483647.0 || value < -2147483648.0) return 1;
  return static_cast<long>(RoundHalfEven(value));
}

// A little-endian number of `size` bytes at `at`, when the head holds it.
std::optional<std::uint32_t> ReadLittle(std::string_view head, std::size_t at, std::size_t size) {
  if (at > head.size() || size > head.size() - at) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(head[at + i]);
  return value;
}

// A length as the removal mark and the uninstaller's item write it: decimal, padded with
// blanks to 16 bytes. Read back only in exactly this form.
// The digits come by long division in 16-bit steps: a 64-bit division would bring the
// runtime's division code into the program.
String LengthField(std::uint64_t length) {
  String field;
  do {
    std::uint64_t quotient = 0;
    std::uint32_t rest = 0;
    for (int shift = 48; shift >= 0; shift -= 16) {
      const std::uint32_t part = rest << 16 | static_cast<std::uint32_t>(length >> shift & 0xFFFF);
      quotient = quotient << 16 | part / 10;
      rest = part % 10;
    }
    field.insert(0, 1, static_cast<char>('0' + rest));
    length = quotient;
  } while (length != 0);
  field.resize(16, ' ');
  return field;
}

}  // namespace

std::optional<SigningFields> SigningFieldsOf(std::string_view head) {
  // DOS header, then at its offset 0x3C the PE header: signature, file header, optional
  // header, whose checksum is at 64 and whose data directories start at 96 (PE32) or 112
  // (PE32+); security is the fifth.
  constexpr std::size_t kFileHeader = 20, kDirectoryEntry = 8, kSecurity = 4;
  if (head.substr(0, 2) != "MZ") return std::nullopt;
  const auto pe = ReadLittle(head, 0x3C, 4);
  if (!pe || ReadLittle(head, *pe, 4) != 0x4550u) return std::nullopt;
  const std::size_t optional = *pe + 4 + kFileHeader;
  const auto optionalSize = ReadLittle(head, *pe + 4 + 16, 2);
  const auto magic = ReadLittle(head, optional, 2);
  if (!optionalSize || !magic || (*magic != 0x10B && *magic != 0x20B)) return std::nullopt;
  const std::size_t directories = optional + (*magic == 0x10B ? 96 : 112);
  const std::size_t entry = directories + kSecurity * kDirectoryEntry;
  const auto count = ReadLittle(head, directories - 4, 4);
  if (!count || *count <= kSecurity || entry + kDirectoryEntry > optional + *optionalSize ||
      entry + kDirectoryEntry > head.size())
    return std::nullopt;
  return SigningFields{optional + 64, entry};
}

std::optional<std::uint64_t> TrailerEnd(std::string_view head, std::uint64_t fileSize) {
  const std::optional<SigningFields> fields = SigningFieldsOf(head);
  if (!fields) return fileSize;
  const std::size_t entry = fields->security;
  const auto start = ReadLittle(head, entry, 4);
  const auto size = ReadLittle(head, entry + 4, 4);
  if (!start || !size) return fileSize;
  if (*start == 0 && *size == 0) return fileSize;
  if (std::uint64_t{*start} + *size != fileSize) return std::nullopt;
  return *start;
}

std::optional<Trailer> ParseTrailer(std::string_view bytes, std::uint64_t fileSize) {
  if (bytes.size() != kTrailerSize || fileSize < kTrailerSize) return std::nullopt;
  if (bytes.substr(0, kTrailerMagic.size()) != kTrailerMagic) return std::nullopt;
  std::optional<std::uint64_t> fields[4];
  for (std::size_t i = 0; i < 4; ++i)
    fields[i] = ParseField(bytes.substr(kTrailerMagic.size() + i * kTrailerField, kTrailerField));
  for (const auto& field : fields)
    if (!field) return std::nullopt;
  const Trailer trailer{*fields[0], *fields[1], *fields[2], *fields[3]};
  const std::uint64_t limit = fileSize - kTrailerSize;
  if (!RangeFits(trailer.listPosition, trailer.listLength, limit) ||
      !RangeFits(trailer.dataPosition, trailer.dataLength, limit))
    return std::nullopt;
  return trailer;
}

String FormatTrailer(const Trailer& trailer) {
  String text(kTrailerMagic);
  for (std::uint64_t field : {trailer.listPosition, trailer.listLength, trailer.dataPosition,
                              trailer.dataLength}) {
    String number = std::to_string(field);
    number.resize(kTrailerField, ' ');
    text += number;
  }
  return text;
}

String FormatRemovalMark(std::uint64_t imageLength) {
  return Concat({kRemovalMarkMagic, LengthField(imageLength)});
}

bool IsRemovalMark(std::string_view bytes, std::uint64_t at) { return bytes == FormatRemovalMark(at); }

std::optional<String> SelfItemOf(std::string_view image, std::string_view program) {
  const std::optional<SigningFields> fields = SigningFieldsOf(image.substr(0, kHeadersRead));
  if (!fields || program.size() < image.size()) return std::nullopt;
  const std::pair<std::size_t, std::size_t> signing[] = {{fields->checksum, 4}, {fields->security, 8}};
  String item = String(kSelfItemMagic) + LengthField(image.size());
  std::size_t from = 0;
  for (const auto& [at, size] : signing) {
    if (program.substr(from, at - from) != image.substr(from, at - from)) return std::nullopt;
    item += program.substr(at, size);
    from = at + size;
  }
  if (program.substr(from, image.size() - from) != image.substr(from)) return std::nullopt;
  return item += program.substr(image.size());
}

std::optional<String> ProgramOfSelfItem(std::string_view image, std::string_view item) {
  const std::optional<SigningFields> fields = SigningFieldsOf(image.substr(0, kHeadersRead));
  if (!fields || item.size() < kSelfItemHead ||
      item.substr(0, kSelfItemMagic.size()) != kSelfItemMagic ||
      item.substr(kSelfItemMagic.size(), 16) != LengthField(image.size()))
    return std::nullopt;
  String program(image);
  program.replace(fields->checksum, 4, item.substr(kSelfItemMagic.size() + 16, 4));
  program.replace(fields->security, 8, item.substr(kSelfItemMagic.size() + 20, 8));
  program += item.substr(kSelfItemHead);
  return program;  // moved, where returning the += would copy it
}

bool IsFlagSet(std::string_view line) { return WholeNumber(LeadingNumber(line)) != 0; }

SetupInfo ParseSetupInfo(std::string_view text) {
  SetupInfo info;
  ParseSetupInfoInto(text, info);
  return info;
}

void ParseSetupInfoInto(std::string_view text, SetupInfo& info) {
  const std::vector<String> lines = SplitLines(text);
  // What each of the ten lines sets: a text, a flag, or (the last) the number.
  String* const texts[] = {&info.appName, &info.appVersion, &info.appCompany, nullptr, nullptr,
                                &info.fixedPath, nullptr, nullptr, &info.mainExe};
  bool* const flags[] = {nullptr, nullptr, nullptr, &info.showLicence, &info.useFixedPath,
                         nullptr, &info.reserved, &info.runAfterInstall, nullptr};
  for (std::size_t i = 0; i < lines.size() && i <= std::size(texts); ++i) {
    if (i == std::size(texts)) info.noUninstall = WholeNumber(LeadingNumber(lines[i]));
    else if (texts[i] != nullptr) *texts[i] = lines[i];
    else *flags[i] = IsFlagSet(lines[i]);
  }
}

std::vector<String> ParseShortcutLines(std::string_view text) {
  std::vector<String> lines = SplitLines(text);
  if (lines.size() > kMaxShortcuts) lines.resize(kMaxShortcuts);
  return lines;
}

}  // namespace pelorin
