#include "IniFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace platform {

namespace {

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string::npos)
    return {};
  const auto last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z')
      ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z')
      cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb)
      return false;
  }
  return true;
}

bool IsComment(const std::string& trimmed) {
  return trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#';
}

} // namespace

bool TryStrToInt32(const std::string& text, int32_t& value) {
  if (text.empty())
    return false;
  std::size_t pos = 0;
  if (text[0] == '+' || text[0] == '-')
    pos = 1;
  if (pos == text.size())
    return false;
  for (std::size_t i = pos; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9')
      return false;
  errno = 0;
  const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX)
    return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

TIniFile::TIniFile(const std::string& fileName) : fileName_(fileName) {
  sections_.push_back(Section{});
  struct stat info {};
  if (stat(fileName.c_str(), &info) != 0)
    return;
  std::ifstream in(fileName, std::ios::binary);
  if (!in)
    throw EGeneral("Cannot open INI file \"" + fileName + "\": " + std::strerror(errno));
  std::string rawLine;
  while (std::getline(in, rawLine)) {
    if (!rawLine.empty() && rawLine.back() == '\r')
      rawLine.pop_back();
    const std::string trimmed = Trim(rawLine);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
      Section section;
      section.name = Trim(trimmed.substr(1, trimmed.size() - 2));
      section.hasHeader = true;
      sections_.push_back(section);
      continue;
    }
    Line line;
    line.raw = rawLine;
    const auto equals = trimmed.find('=');
    if (!IsComment(trimmed) && equals != std::string::npos && equals > 0) {
      line.key = Trim(trimmed.substr(0, equals));
      line.value = Trim(trimmed.substr(equals + 1));
    }
    sections_.back().lines.push_back(line);
  }
  if (in.bad())
    throw EGeneral("Cannot read INI file \"" + fileName + "\"");
}

const TIniFile::Section* TIniFile::FindSection(const std::string& name) const {
  for (const auto& section : sections_)
    if (section.hasHeader && SameText(section.name, name))
      return &section;
  return nullptr;
}

const TIniFile::Line* TIniFile::FindLine(const std::string& section, const std::string& key) const {
  const Section* found = FindSection(section);
  if (!found)
    return nullptr;
  for (const auto& line : found->lines)
    if (!line.key.empty() && SameText(line.key, key))
      return &line;
  return nullptr;
}

bool TIniFile::SectionExists(const std::string& section) const {
  return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return FindLine(section, key) != nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  const Line* line = FindLine(section, key);
  return line ? line->value : defaultValue;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                              int32_t defaultValue) const {
  int32_t value = 0;
  return TryStrToInt32(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
  const std::string value = ReadString(section, key, "");
  return value.empty() ? defaultValue : value[0] == '1';
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  Section* target = const_cast<Section*>(FindSection(section));
  if (!target) {
    // Keep sections apart by one blank line.
    Section& last = sections_.back();
    const bool endsWithBlank = !last.lines.empty() && Trim(last.lines.back().raw).empty();
    const bool isEmptyStart = !last.hasHeader && last.lines.empty();
    if (!endsWithBlank && !isEmptyStart)
      last.lines.push_back(Line{});
    Section added;
    added.name = section;
    added.hasHeader = true;
    sections_.push_back(added);
    target = &sections_.back();
  }
  bool written = false;
  for (auto& line : target->lines) {
    if (!line.key.empty() && SameText(line.key, key)) {
      line.value = value;
      line.raw = line.key + "=" + value;
      written = true;
      break;
    }
  }
  if (!written) {
    // A new key goes after the section's last key, before trailing blank lines and comments.
    auto insertAt = target->lines.end();
    while (insertAt != target->lines.begin() && std::prev(insertAt)->key.empty())
      --insertAt;
    Line line;
    line.key = key;
    line.value = value;
    line.raw = key + "=" + value;
    target->lines.insert(insertAt, line);
  }
  UpdateFile();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::UpdateFile() const {
  std::ostringstream text;
  for (const auto& section : sections_) {
    if (section.hasHeader)
      text << '[' << section.name << "]\n";
    for (const auto& line : section.lines)
      text << line.raw << '\n';
  }
  std::ofstream out(fileName_, std::ios::binary | std::ios::trunc);
  if (!out)
    throw EGeneral("Cannot write INI file \"" + fileName_ + "\": " + std::strerror(errno));
  const std::string content = text.str();
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out)
    throw EGeneral("Cannot write INI file \"" + fileName_ + "\"");
}

} // namespace platform
