// Makes a self-extracting setup file: the setup program image, then the pack list and data
// written by the same AddFile code that setup reads them with, one spare byte, and the
// trailer that locates both copies.
//
//   make_setup OUTPUT IMAGE NAME=PATH [NAME=PATH ...]
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "FilePack.h"
#include "FileSystem_posix.h"
#include "SetupData.h"

namespace {

// Appends the whole of `path` to `out` through a fixed buffer; the size copied, or -1.
long long Append(std::ofstream& out, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return -1;
  std::vector<char> buffer(1 << 16);
  long long total = 0;
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    out.write(buffer.data(), in.gcount());
    total += in.gcount();
  }
  return out ? total : -1;
}

int Fail(const std::string& message) {
  std::cerr << "make_setup: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Fail("usage: make_setup OUTPUT IMAGE NAME=PATH [NAME=PATH ...]");
  const std::string output = argv[1];
  const std::string image = argv[2];
  const std::string list = output + ".lst";
  const std::string data = output + ".mif";
  std::remove(list.c_str());
  std::remove(data.c_str());

  pelorin::PosixFileSystem files;
  for (int i = 3; i < argc; ++i) {
    const std::string item = argv[i];
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos) return Fail("expected NAME=PATH: " + item);
    const pelorin::AddOutcome added =
        pelorin::AddFile(files, data, list, item.substr(equals + 1), item.substr(0, equals));
    if (added.result != pelorin::AddResult::kAdded)
      return Fail("cannot add " + item + ": " + added.error.message);
  }

  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  const long long imageSize = Append(out, image);
  const long long listSize = Append(out, list);
  const long long dataSize = Append(out, data);
  if (imageSize < 0 || listSize < 0 || dataSize < 0) return Fail("cannot write " + output);
  const pelorin::Trailer trailer{static_cast<std::uint64_t>(imageSize) + 1,
                                 static_cast<std::uint64_t>(listSize),
                                 static_cast<std::uint64_t>(imageSize + listSize) + 1,
                                 static_cast<std::uint64_t>(dataSize)};
  out << '\xFF' << pelorin::FormatTrailer(trailer);
  out.close();
  std::remove(list.c_str());
  std::remove(data.c_str());
  if (!out) return Fail("cannot write " + output);
  std::cout << output << ": image " << imageSize << ", list " << listSize << ", data " << dataSize
            << ", total " << imageSize + listSize + dataSize + 1 + 272 << " bytes\n";
  return 0;
}
