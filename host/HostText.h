#pragma once
// Small text helpers shared by the host services.

#include <string>
#include <vector>

namespace host {

// Removes leading and trailing characters with codes 0 to 32.
std::string TrimControl(const std::string& text);
// Lowers the ASCII letters only.
std::string LowerAscii(const std::string& text);
// Compares UTF-8 texts without regard to letter case (Cyrillic included).
bool SameTextIgnoringCase(const std::string& a, const std::string& b);
// Splits at line feeds; a carriage return before a line feed is dropped, and a final line feed
// does not start another line.
std::vector<std::string> SplitLines(const std::string& text);
// Local time as minutes, seconds and milliseconds, "nnsszzz".
std::string MinuteSecondMillisStamp();

} // namespace host
