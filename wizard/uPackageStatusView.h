#pragma once
// What the package check page shows for a package: the two cell texts, their colours and
// styles, and the status text of the details pane. No window needed.

#include <optional>
#include <string>

#include "uPackageClasses.h"

struct TCellColor {
  uint8_t R, G, B;
  bool operator==(const TCellColor&) const = default;
};

extern const TCellColor CellGreen;  // 0, 128, 0
extern const TCellColor CellOrange; // 250, 175, 32
extern const TCellColor CellBlue;   // 0, 0, 255
extern const TCellColor CellRed;    // 255, 0, 0

struct TCellStyle {
  std::optional<TCellColor> Color; // none: the toolkit's default colour
  bool Bold = false;
  bool Italic = false;
  bool operator==(const TCellStyle&) const = default;
};

// Column 0: the name, with the installed version for OK, must-update, can-update and differ.
// Column 1: the status word.
std::string PackageCellText(const TSchm_PackageItem& package, int column);

// Column 0 has only a colour; column 1 a colour and a style.
TCellStyle PackageCellStyle(const TSchm_PackageItem& package, int column);

// The minimal version shown in the details: the required version, or "<ЛЮБАЯ>".
std::string PackageMinVersionText(const TSchm_PackageItem& package);

// The details pane's status text and whether it is drawn red; minVer, curVer and repoVer are the
// texts of the three value labels.
struct TPackageStatusText {
  std::string Text;
  bool Red = false;
  bool operator==(const TPackageStatusText&) const = default;
};
TPackageStatusText PackageStatusText(const TSchm_PackageItem& package, const std::string& minVer,
                                     const std::string& curVer, const std::string& repoVer);

// The text of the error panel.
extern const char* const PackageCheckErrorText;
// The question before an update is allowed.
extern const char* const PackageUpdateQuestion;
