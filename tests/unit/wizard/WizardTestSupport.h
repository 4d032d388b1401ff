#pragma once
// Helpers of the wizard's tests: a private folder per test and the embedded install schema
// loaded from the source tree.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "XmlDom.h"
#include "uSimpleInstallSchema.h"

namespace wizard_test {

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it at the end of the test.
class TempFolder {
public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "wizard_test_XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
      throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }

private:
  std::string path_;
};

// The product's install schema for Astra Linux 1.8, as the main window loads it.
inline std::unique_ptr<TInstallCustomSchemaClass> LoadEmbeddedSchema(const std::string& tempDir) {
  std::ifstream in(std::string(SIVRANT_PAYLOAD_DIR) + "/install_schema.xml", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  auto document = platform::XmlDocument::Parse(text.str(), "install_schema.xml");
  auto schema = std::make_unique<TInstallCustomSchemaClass>(lotAstra_1_8, tempDir);
  schema->LoadFromDocument(*document);
  return schema;
}

} // namespace wizard_test
