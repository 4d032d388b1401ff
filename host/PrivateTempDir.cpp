#include "PrivateTempDir.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "Exceptions.h"

namespace host {

namespace {
std::string ErrorText(int error) {
  return std::error_code(error, std::generic_category()).message();
}
} // namespace

PrivateTempDir::PrivateTempDir(const std::string& prefix) {
  std::string pattern = "/tmp/" + prefix + "XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) // mode 700
    throw EGeneral("Cannot create a private temporary folder \"" + pattern +
                   "\": " + ErrorText(errno));
  path_ = buffer.data();
}

PrivateTempDir::~PrivateTempDir() {
  // Only plain files are ever made here; remove whatever is left, then the folder.
  if (DIR* dir = ::opendir(path_.c_str())) {
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..")
        names.push_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : names)
      ::unlink((path_ + "/" + name).c_str());
  }
  ::rmdir(path_.c_str());
}

std::string PrivateTempDir::CreateFile(const std::string& name, const std::string& content) const {
  std::string path = path_ + "/" + name;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0)
    throw EGeneral("Cannot create file \"" + path + "\": " + ErrorText(errno));
  std::size_t written = 0;
  while (written < content.size()) {
    ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      throw EGeneral("Cannot write file \"" + path + "\": " + ErrorText(error));
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0)
    throw EGeneral("Cannot write file \"" + path + "\": " + ErrorText(errno));
  return path;
}

} // namespace host
