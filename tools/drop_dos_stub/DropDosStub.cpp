// Moves a linked program's PE headers up behind the 64-byte MS-DOS header, over the linker's
// MS-DOS stub (the 64 bytes that print "This program cannot be run in DOS mode"). Where the
// headers then fit in fewer blocks of the file alignment, every section moves down by the
// difference and the file is that much smaller: 512 bytes for a 32-bit program with five
// sections. Otherwise the file stays as it is. The system reads the headers wherever the
// MS-DOS header's e_lfanew points.
//
//   drop_dos_stub PROGRAM
//
// Refuses files whose headers hold file offsets it would have to move too (a signature, debug
// data, COFF symbols): they are made later, or not at all, for the shipped programs.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::uint32_t kDosHeaderSize = 64;
constexpr std::uint32_t kSectionHeaderSize = 40;

std::uint32_t Read(const Bytes& file, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | file[at + i];
  return value;
}

void Write(Bytes& file, std::size_t at, int size, std::uint32_t value) {
  for (int i = 0; i < size; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The PE checksum: the file's 16-bit words added with end-around carry, the checksum field
// itself left out, plus the file's length.
std::uint32_t Checksum(const Bytes& file, std::size_t checksumAt) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < file.size(); i += 2) {
    if (i == checksumAt || i == checksumAt + 2) continue;
    sum += file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    sum = (sum & 0xffff) + (sum >> 16);
  }
  sum = (sum & 0xffff) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + file.size());
}

// The file with its headers moved up, or an error. `file` is unchanged where they would not
// take fewer blocks.
const char* DropDosStub(Bytes& file) {
  if (file.size() < kDosHeaderSize || file[0] != 'M' || file[1] != 'Z') return "not an MS-DOS/PE program";
  const std::uint32_t pe = Read(file, 0x3c, 4);
  if (pe < kDosHeaderSize || pe > file.size() - 24 || Read(file, pe, 4) != 0x4550) return "no PE header";
  const std::uint32_t sections = Read(file, pe + 6, 2);
  const std::uint32_t optionalSize = Read(file, pe + 20, 2);
  const std::size_t optional = pe + 24;
  const std::size_t sectionTable = optional + optionalSize;
  const std::size_t headersEnd = sectionTable + std::size_t{sections} * kSectionHeaderSize;
  if (optionalSize < 96 || headersEnd > file.size()) return "headers beyond the end of the file";
  const bool wide = Read(file, optional, 2) == 0x20b;
  const std::uint32_t alignment = Read(file, optional + 36, 4);
  const std::uint32_t oldHeaders = Read(file, optional + 60, 4);
  if (alignment == 0 || oldHeaders < headersEnd || oldHeaders > file.size()) return "odd file alignment or header size";
  const std::size_t directories = optional + (wide ? 112 : 96);
  const std::uint32_t directoryCount = Read(file, optional + (wide ? 108 : 92), 4);
  for (const std::uint32_t index : {4u, 6u})  // the certificate table and debug data hold file offsets
    if (index < directoryCount && directories + 8 * index + 8 <= sectionTable && Read(file, directories + 8 * index + 4, 4) != 0)
      return "holds a signature or debug data";
  if (Read(file, pe + 12, 4) != 0) return "holds COFF symbols";

  const std::uint32_t moved = kDosHeaderSize + static_cast<std::uint32_t>(headersEnd - pe);
  const std::uint32_t newHeaders = (moved + alignment - 1) / alignment * alignment;
  if (newHeaders >= oldHeaders) return nullptr;
  const std::uint32_t shift = oldHeaders - newHeaders;
  for (std::uint32_t i = 0; i < sections; ++i) {
    const std::size_t header = sectionTable + i * kSectionHeaderSize;
    const std::uint32_t raw = Read(file, header + 20, 4);
    if (Read(file, header + 24, 4) != 0 || Read(file, header + 28, 4) != 0) return "a section holds COFF relocations";
    if (Read(file, header + 16, 4) != 0 && raw < oldHeaders) return "a section lies within the headers";
    if (raw != 0) Write(file, header + 20, 4, raw - shift);
  }
  Write(file, optional + 60, 4, newHeaders);

  Bytes compact(file.begin(), file.begin() + kDosHeaderSize);
  Write(compact, 0x3c, 4, kDosHeaderSize);
  compact.insert(compact.end(), file.begin() + pe, file.begin() + static_cast<std::ptrdiff_t>(headersEnd));
  compact.resize(newHeaders, 0);
  compact.insert(compact.end(), file.begin() + oldHeaders, file.end());
  const std::size_t checksumAt = kDosHeaderSize + (optional - pe) + 64;
  if (Read(compact, checksumAt, 4) != 0) Write(compact, checksumAt, 4, Checksum(compact, checksumAt));
  file.swap(compact);
  return nullptr;
}

int Fail(const std::string& path, const char* problem) {
  std::fprintf(stderr, "drop_dos_stub: %s: %s\n", path.c_str(), problem);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: drop_dos_stub PROGRAM\n");
    return 2;
  }
  const std::string path = argv[1];
  Bytes file;
  if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
    unsigned char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) file.insert(file.end(), buffer, buffer + got);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) return Fail(path, "cannot be read");
  } else {
    return Fail(path, "cannot be opened");
  }
  const std::size_t before = file.size();
  if (const char* problem = DropDosStub(file)) return Fail(path, problem);
  if (file.size() == before) return 0;
  // A whole new file, then one rename: an interrupted build never leaves half a program.
  const std::string temporary = path + ".compact";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) return Fail(temporary, "cannot be created");
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  struct stat mode = {};
  const bool kept = stat(path.c_str(), &mode) == 0 && chmod(temporary.c_str(), mode.st_mode & 07777) == 0;
  if (std::fclose(out) != 0 || !written || !kept || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return Fail(path, "cannot be written");
  }
  return 0;
}
