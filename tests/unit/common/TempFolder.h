#pragma once
// A private folder of a test, shared by every unit test executable (each has this folder in its
// include path).

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempFolder {
public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sivrant-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of name (which may hold folders) below the folder.
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes a file below the folder (creating parent folders) and returns its path.
  std::string Write(const std::string& relativePath, const std::string& content) const {
    const std::filesystem::path path = std::filesystem::path(path_) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return path.string();
  }

private:
  std::string path_;
};

} // namespace testsupport
