#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "Str.h"

namespace pelorin::testing {

// A real folder for one test, removed afterwards. Paths handed to the code under test use
// backslashes, as on Windows.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelorin-unit-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { std::filesystem::remove_all(root_); }

  // The Windows-style path of `relative` (given with backslashes) inside the folder.
  String Path(std::string_view relative = "") const {
    String path = root_.string();
    if (!relative.empty()) path.append("\\").append(relative);
    return path;
  }

  void Write(std::string_view relative, std::string_view bytes) const {
    const auto path = Native(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  void MakeFolder(std::string_view relative) const { std::filesystem::create_directories(Native(relative)); }

  // A symbolic link at `link` to the folder `target`, both relative.
  void MakeFolderLink(std::string_view target, std::string_view link) const {
    std::filesystem::create_directory_symlink(Native(target), Native(link));
  }

  String Read(std::string_view relative) const {
    std::ifstream in(Native(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  void Remove(std::string_view relative) const { std::filesystem::remove_all(Native(relative)); }

  bool Exists(std::string_view relative) const { return std::filesystem::exists(Native(relative)); }

 private:
  std::filesystem::path Native(std::string_view view) const {
    std::string relative(view);
    for (char& c : relative)
      if (c == '\\') c = '/';
    return root_ / relative;
  }

  std::filesystem::path root_;
};

}  // namespace pelorin::testing
