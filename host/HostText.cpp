#include "HostText.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <glib.h>

namespace host {

std::string TrimControl(const std::string& text) {
  auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::size_t begin = 0, end = text.size();
  while (begin < end && isControl(text[begin]))
    ++begin;
  while (end > begin && isControl(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

std::string LowerAscii(const std::string& text) {
  std::string lowered = text;
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return lowered;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (!g_utf8_validate(a.data(), static_cast<gssize>(a.size()), nullptr) ||
      !g_utf8_validate(b.data(), static_cast<gssize>(b.size()), nullptr))
    return LowerAscii(a) == LowerAscii(b);
  gchar* foldedA = g_utf8_casefold(a.data(), static_cast<gssize>(a.size()));
  gchar* foldedB = g_utf8_casefold(b.data(), static_cast<gssize>(b.size()));
  bool same = g_strcmp0(foldedA, foldedB) == 0;
  g_free(foldedA);
  g_free(foldedB);
  return same;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string MinuteSecondMillisStamp() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%03d", local.tm_min, local.tm_sec,
                static_cast<int>(millis));
  return stamp;
}

} // namespace host
