#pragma once
// A small INI file reader and writer. Section and key names are matched without regard to ASCII
// letter case; keys, values, comments, blank lines and sections that are not written keep their
// place and content. Booleans are written "1"/"0" and read by their first character.
// Every write rewrites the file at once (in place, so its owner and mode stay).

#include <cstdint>
#include <string>
#include <vector>

#include "Exceptions.h"

namespace platform {

class TIniFile {
public:
  // Loads the file when it exists (a missing file is an empty INI file that the first write
  // creates); throws EGeneral when an existing file cannot be read.
  explicit TIniFile(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }

  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // A value that is not a decimal 32-bit integer gives the default.
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t defaultValue) const;
  // True exactly when the value's first character is "1"; absent or empty gives the default.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  // Each write updates the first matching key, or appends the key to its section (the section
  // is appended when missing), then rewrites the file. Throws EGeneral when it cannot be written.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Writes the whole content to the file.
  void UpdateFile() const;

private:
  struct Line {
    std::string raw; // the line as read (comments, blank lines, unparsable lines)
    std::string key; // empty for a raw line
    std::string value;
  };
  struct Section {
    std::string name; // empty for lines before the first section header
    bool hasHeader = false;
    std::vector<Line> lines;
  };

  const Section* FindSection(const std::string& name) const;
  const Line* FindLine(const std::string& section, const std::string& key) const;

  std::string fileName_;
  std::vector<Section> sections_;
};

// Parses a whole decimal 32-bit integer with an optional sign; false for anything else.
bool TryStrToInt32(const std::string& text, int32_t& value);

} // namespace platform
