#pragma once
// The run's temporary folder. Its name is easy to guess, so it is created exclusively: when
// something (a folder, a file, a link) already has the wanted name, a fresh name is taken; the
// folder is open to the wizard's user only until the installation opens it itself.

#include <string>

// "%s_%s" of the prefix and the local time as hhnnsszzz.
std::string RunTempDirName(const std::string& prefix);

// Creates a new folder with mode 700 at wantedPath, or at wantedPath + "_" + a random suffix
// when that name is taken, and returns the path created. Raises EGeneral naming the path and
// the reason when no folder could be created.
std::string CreateExclusiveFolder(const std::string& wantedPath);
