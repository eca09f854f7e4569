#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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
  std::string Path(const std::string& relative = "") const {
    return root_.string() + (relative.empty() ? "" : "\\" + relative);
  }

  void Write(const std::string& relative, const std::string& bytes) const {
    const auto path = Native(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  void MakeFolder(const std::string& relative) const { std::filesystem::create_directories(Native(relative)); }

  // A symbolic link at `link` to the folder `target`, both relative.
  void MakeFolderLink(const std::string& target, const std::string& link) const {
    std::filesystem::create_directory_symlink(Native(target), Native(link));
  }

  std::string Read(const std::string& relative) const {
    std::ifstream in(Native(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  void Remove(const std::string& relative) const { std::filesystem::remove_all(Native(relative)); }

  bool Exists(const std::string& relative) const { return std::filesystem::exists(Native(relative)); }

 private:
  std::filesystem::path Native(std::string relative) const {
    for (char& c : relative)
      if (c == '\\') c = '/';
    return root_ / relative;
  }

  std::filesystem::path root_;
};

}  // namespace pelorin::testing
