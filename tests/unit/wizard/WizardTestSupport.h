#pragma once
// Helpers of the wizard's tests: the embedded install schema loaded from the source tree. A private
// folder per test is testsupport::TempFolder.

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "TempFolder.h"
#include "XmlDom.h"
#include "uSimpleInstallSchema.h"

namespace wizard_test {

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
