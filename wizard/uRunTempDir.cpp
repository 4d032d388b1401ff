#include "uRunTempDir.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <sys/time.h>

#include <glib.h>

#include "Exceptions.h"

std::string RunTempDirName(const std::string& prefix) {
  struct timeval now {};
  gettimeofday(&now, nullptr);
  struct tm local {};
  localtime_r(&now.tv_sec, &local);
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d%03d", local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(now.tv_usec / 1000));
  return prefix + "_" + stamp;
}

namespace {

std::string RandomSuffix() {
  static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 8; ++i)
    suffix.push_back(alphabet[g_random_int_range(0, sizeof alphabet - 1)]);
  return suffix;
}

} // namespace

std::string CreateExclusiveFolder(const std::string& wantedPath) {
  std::string path = wantedPath;
  for (int attempt = 0; attempt < 100; ++attempt) {
    // mkdir never follows a link and fails on any existing name: nobody else's folder is used.
    if (mkdir(path.c_str(), S_IRWXU) == 0) {
      chmod(path.c_str(), S_IRWXU);
      return path;
    }
    if (errno != EEXIST)
      throw EGeneral("Cannot create the temporary folder \"" + path +
                     "\": " + std::strerror(errno));
    path = wantedPath + "_" + RandomSuffix();
  }
  throw EGeneral("Cannot create the temporary folder \"" + wantedPath +
                 "\": every name tried exists already");
}
