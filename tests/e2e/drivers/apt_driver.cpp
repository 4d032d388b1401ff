// Runs the package check of the install schema against the real apt in the sandbox, for the
// end-to-end tests: loads the schema file given as the only argument, checks its selected
// packages as the package check page does, and prints one JSON object a line for each package
// and a last one with the summary ({"error": message} when the check raises).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

#include "XmlDom.h"
#include "uLnxOS_Info.h"
#include "uSimpleInstallSchema.h"

namespace {

const char* const StatusNames[] = {"slpsNone",   "slpsOK",       "slpsMustUpdate",  "slpsCanUpdate",
                                   "slpsDiffer", "slpsNotFound", "slpsNotSupported"};
const char* const ActionNames[] = {"slpaNone", "slpaInstall", "slpaUpdate"};

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      out += '\\';
    if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out + "\"";
}

void PrintPackage(const TSchm_PackageItem& item) {
  std::cout << "{\"Name\": " << JsonString(item.Name)
            << ", \"Status\": " << JsonString(StatusNames[item.Status])
            << ", \"Action\": " << JsonString(ActionNames[item.Action])
            << ", \"Checked\": " << (item.Checked ? "true" : "false")
            << ", \"Installed\": " << JsonString(item.InstalledVer.Text)
            << ", \"InstalledPresent\": " << (item.InstalledVer.Present ? "true" : "false")
            << ", \"Candidate\": " << JsonString(item.CandidateVer.Text)
            << ", \"CandidatePresent\": " << (item.CandidateVer.Present ? "true" : "false")
            << ", \"VersionText\": " << JsonString(item.VersionText())
            << ", \"MajorVersionText\": " << JsonString(item.MajorVersionText()) << "}\n";
}

} // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "usage: e2e-apt-driver INSTALL_SCHEMA_XML\n";
    return 2;
  }
  char tempTemplate[] = "/tmp/e2e-apt.XXXXXX";
  if (::mkdtemp(tempTemplate) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string tempDir = tempTemplate;
  int status = 0;
  try {
    InitOSInformation();
    TInstallCustomSchemaClass schema(OSInformation->OSType, tempDir);
    schema.LoadFromDocument(*platform::XmlDocument::ParseFile(argv[1]));
    TSchm_PackageStatus summary = slpsNone;
    try {
      schema.Packages->CheckSelected(summary);
    } catch (const std::exception& error) {
      std::cout << "{\"error\": " << JsonString(error.what()) << "}\n";
    }
    for (int32_t i = 0; i < schema.Packages->Count(); ++i)
      PrintPackage(schema.Packages->Items(i));
    std::cout << "{\"Summary\": " << JsonString(StatusNames[summary]) << "}\n";
  } catch (const std::exception& error) {
    std::cerr << "e2e-apt-driver: " << error.what() << "\n";
    status = 1;
  }
  FreeOSInformation();
  std::filesystem::remove_all(tempDir);
  return status;
}
