#pragma once
// The confirmation page's summary: what the installation is about to do according to the
// schema, as indented lines (section captions at column 0, package group, ptrace and user lines
// at 2, packages and user options at 4, links and the forced add-on line at 8). No window needed.

#include <cstdint>
#include <string>
#include <vector>

class TInstallCustomSchemaClass;
class TSchm_CustomSettingsElement;

class TConfirmSummary {
public:
  explicit TConfirmSummary(const TInstallCustomSchemaClass& schema) : Schema(schema) {}
  virtual ~TConfirmSummary() = default;

  // Builds the whole summary anew and returns its lines.
  const std::vector<std::string>& Build();
  const std::vector<std::string>& Lines() const { return Lines_; }
  // The lines joined by line feeds.
  std::string Text() const;

  virtual std::string Indent(uint16_t n) const;
  virtual void AddElementLine(const TSchm_CustomSettingsElement& element, uint16_t indent);
  virtual void AddSystemSection();
  virtual void AddPackageLines(uint16_t indent);
  virtual void AddPTraceLine(uint16_t indent);
  virtual void AddUserSection();
  virtual void AddUserLine(uint16_t indent);
  virtual void AddUserOptionLines(uint16_t indent);

protected:
  const TInstallCustomSchemaClass& Schema;
  std::vector<std::string> Lines_;
};
