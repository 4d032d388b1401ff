#pragma once
// A folder under /tmp that only the current user can enter, created exclusively with an
// unguessable name, and removed with its files when the object goes. Scripts and listings that
// must not be swapped or read by another local user are written here.

#include <string>

namespace host {

class PrivateTempDir {
public:
  // Throws EGeneral when the folder cannot be created.
  explicit PrivateTempDir(const std::string& prefix);
  ~PrivateTempDir();
  PrivateTempDir(const PrivateTempDir&) = delete;
  PrivateTempDir& operator=(const PrivateTempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Creates the file exclusively (it must not exist yet), readable and writable by the user
  // only, writes content and returns its path. Throws EGeneral on failure.
  std::string CreateFile(const std::string& name, const std::string& content) const;

private:
  std::string path_;
};

} // namespace host
