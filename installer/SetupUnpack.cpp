#include "SetupUnpack.h"

#include <algorithm>
#include <span>

#include "BmpHeader.h"
#include "BmpRle.h"

namespace pelorin {

namespace {

// The pack data, then the programs rebuilt from their self items, read as one.
class DataWithPrograms : public FileReader {
 public:
  DataWithPrograms(std::unique_ptr<FileReader> data, String programs)
      : data_(std::move(data)), dataSize_(data_->Size()), programs_(std::move(programs)) {}
  std::uint64_t Size() override { return dataSize_ + programs_.size(); }
  FileError Seek(std::uint64_t offset) override {
    if (offset > Size()) return {FileError::Kind::kOther, 131, "a seek beyond the pack"};
    at_ = offset;
    return offset < dataSize_ ? data_->Seek(offset) : FileError{};
  }
  FileError Read(char* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    if (at_ < dataSize_) {
      const auto part = static_cast<std::size_t>(std::min<std::uint64_t>(size, dataSize_ - at_));
      FileError error = data_->Read(buffer, part, got);
      at_ += got;
      return error;
    }
    got = static_cast<std::size_t>(std::min<std::uint64_t>(size, Size() - at_));
    std::string_view(programs_).copy(buffer, got, static_cast<std::size_t>(at_ - dataSize_));
    at_ += got;
    return {};
  }

 private:
  std::unique_ptr<FileReader> data_;
  const std::uint64_t dataSize_;
  const String programs_;
  std::uint64_t at_ = 0;
};

enum class ItemRead { kMissing, kRead, kDamaged };

// The bytes of the pack item `name` (empty when the pack has none). A part that does not fit
// into the data is damaged; it is never allocated.
ItemRead ReadItem(const PackList& list, FileReader& data, const char* name, String& bytes) {
  bytes.clear();
  const PackRecord* record = list.Find(name);
  if (record == nullptr) return ItemRead::kMissing;
  ImagePart part(data, record->offset, record->size);
  if (record->offset == 0 || record->size > data.Size() ||
      ReadRange(part, 0, static_cast<std::size_t>(record->size), bytes))
    return ItemRead::kDamaged;
  return ItemRead::kRead;
}

// Bounds of what is read into memory to rebuild a program: its image and the bytes after it.
constexpr std::uint64_t kLargestImage = 16 << 20;
constexpr std::uint64_t kLargestSelfItem = 1 << 20;

}  // namespace

ImagePart::ImagePart(FileReader& image, std::uint64_t position, std::uint64_t length)
    : image_(image), start_(position - 1), length_(length) {}

FileError ImagePart::Seek(std::uint64_t offset) {
  if (offset > length_) return {FileError::Kind::kOther, 131, "a seek beyond the pack"};  // 131: negative seek
  at_ = offset;
  return image_.Seek(start_ + offset);
}

FileError ImagePart::Read(char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  if (FileError error = image_.Read(buffer, static_cast<std::size_t>(std::min<std::uint64_t>(size, length_ - at_)), got))
    return error;
  at_ += got;
  return {};
}

FileError ReadRange(FileReader& reader, std::uint64_t start, std::size_t size, String& bytes) {
  bytes = String(size, '\0');
  if (FileError error = reader.Seek(start)) return error;
  for (std::size_t done = 0, got = 0; done < size; done += got) {
    if (FileError error = reader.Read(bytes.data() + done, size - done, got)) return error;
    if (got == 0) return {FileError::Kind::kOther, 0, "the file ends early"};
  }
  return {};
}

namespace {

// The last `size` bytes of the file before a certificate table (when signed, else before its
// end), where the trailer or the removal mark lies, and the offset they start at; nothing when
// they cannot be read.
std::optional<std::uint64_t> ReadEnd(FileReader& program, std::size_t size, String& bytes) {
  const std::uint64_t fileSize = program.Size();
  String head;
  if (ReadRange(program, 0, static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kHeadersRead)), head))
    return std::nullopt;
  const std::optional<std::uint64_t> end = TrailerEnd(head, fileSize);
  if (!end || *end < size || ReadRange(program, *end - size, size, bytes)) return std::nullopt;
  return *end - size;
}

}  // namespace

std::optional<Trailer> FindTrailer(FileReader& program) {
  String bytes;
  const std::optional<std::uint64_t> at = ReadEnd(program, kTrailerSize, bytes);
  if (!at) return std::nullopt;
  return ParseTrailer(bytes, *at + kTrailerSize);
}

bool HasRemovalMark(FileReader& program) {
  String bytes;
  const std::optional<std::uint64_t> at = ReadEnd(program, kRemovalMarkSize, bytes);
  return at && IsRemovalMark(bytes, *at);
}

bool RebuildSelfItems(FileReader& setup, const Trailer& trailer, PackList& list, std::unique_ptr<FileReader>& data) {
  String image, programs, item;
  for (PackRecord& record : list.records) {
    const std::uint64_t start = record.offset - 1;
    if (record.offset == 0 || start > data->Size() || record.size > data->Size() - start ||
        record.size < kSelfItemHead || ReadRange(*data, start, kSelfItemMagic.size(), item) ||
        item != kSelfItemMagic)
      continue;
    if (record.size > kLargestSelfItem || trailer.listPosition - 1 > kLargestImage ||
        ReadRange(*data, start, static_cast<std::size_t>(record.size), item) ||
        (image.empty() && ReadRange(setup, 0, static_cast<std::size_t>(trailer.listPosition - 1), image)))
      return false;
    const std::optional<String> program = ProgramOfSelfItem(image, item);
    if (!program) return false;
    record.offset = data->Size() + programs.size() + 1;
    record.size = program->size();
    programs += *program;
  }
  if (!programs.empty()) data = std::make_unique<DataWithPrograms>(std::move(data), std::move(programs));
  return true;
}

namespace {

// Built in place: each part is appended where it stays.
void NameSetupFiles(const String& folder, SetupFiles& setup) {
  setup.folder = folder;
  if (!folder.ends_with('\\')) setup.folder += '\\';
  static constexpr const char* kNames[] = {"License.txt", "Readme.txt", "SidePic.bmp"};
  for (std::size_t i = 0; i < std::size(kNames); ++i) setup.items[i].assign(setup.folder).append(kNames[i]);
}

}  // namespace

SetupFiles SetupFilesIn(const String& folder) {
  SetupFiles setup;
  NameSetupFiles(folder, setup);
  return setup;
}

FileError CreateSetupFolder(FileSystem& files, const String& tempFolder, const PrivateFolderSource& source,
                            SetupFiles& setup) {
  String folder;
  if (FileError error = CreatePrivateFolder(files, tempFolder, kSetupFolderPrefix, source, folder)) return error;
  NameSetupFiles(folder, setup);
  return {};
}

void RemoveSetupFolder(FileSystem& files, const SetupFiles& setup) {
  RemoveSetupDataFiles(files, setup);
  std::string_view folder = setup.folder;
  if (folder.ends_with('\\')) folder.remove_suffix(1);
  if (!folder.empty()) files.RemoveFolder(String(folder));
}

UnpackOutcome UnpackSetupData(FileSystem& files, const String& programPath, const SetupFiles& setup) {
  UnpackOutcome outcome;
  // One handle on the image for all that setup reads: while it is open nobody can change,
  // replace or delete the file, so what was checked is what is installed. It must be the
  // file this program was started from, which the system checked before it ran.
  if (files.OpenRunningImage(programPath, outcome.image)) return outcome;
  const std::optional<Trailer> trailer = FindTrailer(*outcome.image);
  if (!trailer) return outcome;
  String text;
  ImagePart list(*outcome.image, trailer->listPosition, trailer->listLength);
  outcome.result = UnpackResult::kMissingData;
  if (ReadRange(list, 0, static_cast<std::size_t>(trailer->listLength), text)) return outcome;
  outcome.list = ParsePackList(text);
  if (!outcome.list.headerValid || outcome.list.damaged) {
    outcome.result = UnpackResult::kCorrupt;
    return outcome;
  }
  outcome.data = std::make_unique<ImagePart>(*outcome.image, trailer->dataPosition, trailer->dataLength);
  if (!RebuildSelfItems(*outcome.image, *trailer, outcome.list, outcome.data)) {
    outcome.result = UnpackResult::kCorrupt;
    return outcome;
  }

  // The setup information and shortcut list are read from the image; what the wizard takes
  // as files goes into setup's own folder.
  String shortcuts;
  if (ReadItem(outcome.list, *outcome.data, "%SETUPINFO%", text) == ItemRead::kDamaged ||
      ReadItem(outcome.list, *outcome.data, "%SHORTCUTS%", shortcuts) == ItemRead::kDamaged)
    return outcome;
  ParseSetupInfoInto(text, outcome.info);
  outcome.shortcuts = ParseShortcutLines(shortcuts);
  static constexpr const char* kItems[] = {"%LICENSE%", "%README%", "%SIDEPIC%"};
  for (std::size_t i = 0; i < std::size(kItems); ++i) {
    String& bytes = outcome.heldBytes[i];
    const ItemRead read = ReadItem(outcome.list, *outcome.data, kItems[i], bytes);
    if (read == ItemRead::kMissing) continue;
    // Whatever lies in the way goes, never written through; the new file stays open.
    files.RemoveFile(setup.items[i]);
    if (read == ItemRead::kDamaged || files.OpenForWriting(setup.items[i], false, outcome.heldFiles[i]) ||
        outcome.heldFiles[i]->Write(bytes.data(), bytes.size()))
      return outcome;
    outcome.held[i] = true;
  }
  // Without a name there is no removal key of its own: the information is damaged.
  outcome.result = outcome.info.appName.empty() ? UnpackResult::kCorrupt : UnpackResult::kReady;
  return outcome;
}

void RemoveSetupDataFiles(FileSystem& files, const SetupFiles& setup, UnpackOutcome* outcome) {
  if (outcome != nullptr)
    for (std::unique_ptr<FileWriter>& file : outcome->heldFiles) file.reset();
  for (const String& path : setup.items)
    if (files.FileExists(path)) files.RemoveFile(path);
}

std::size_t BitmapRowsOffset(std::string_view file) {
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  const std::optional<BmpHeader> header = ReadBmpHeader(bytes);
  if (!header || header->width == 0 || header->height == 0) return 0;
  const std::uint32_t depth = header->bitsPerPixel;
  const bool rle = (depth == 8 && header->compression == kBmpRle8) || (depth == 4 && header->compression == kBmpRle4);
  if (header->compression != 0 && !rle) return 0;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) return 0;
  constexpr std::size_t kFileHeader = 14;
  const std::uint64_t infoSize = ReadLittleEndian(bytes, kFileHeader, 4);
  std::uint64_t colours = ReadLittleEndian(bytes, kFileHeader + 32, 4);
  if (depth <= 8 && colours == 0) colours = std::uint64_t{1} << depth;
  if (infoSize < 40 || kFileHeader + infoSize + colours * 4 > header->dataOffset) return 0;
  if (!rle) return header->DataFits(file.size()) ? header->dataOffset : 0;
  // The system reads run-length data as far as the info header's image size says: those bytes
  // must lie within the file and every code in them within the picture, which is stored
  // bottom-up. The size of the picture is bounded, as the check expands it.
  constexpr std::int32_t kLargestSide = 4096;
  const std::uint32_t size = ReadLittleEndian(bytes, kFileHeader + 20, 4);
  if (!header->BottomUp() || header->width > kLargestSide || header->height > kLargestSide ||
      header->dataOffset > file.size() || size > file.size() - header->dataOffset ||
      !ExpandBmpRle(bytes.subspan(header->dataOffset, size), header->width, header->height, depth == 4))
    return 0;
  return header->dataOffset;
}

}  // namespace pelorin
