#pragma once
// The wizard's page kinds, its six buttons and the page table: one record per page kind saying
// whether the page exists, what the main window shows around it, which buttons are visible and
// enabled, and where Back and Next lead.

#include <array>
#include <cstdint>
#include <string>

enum TWZRD_PageType : int32_t {
  wptNone,
  wptWellcome,
  wptLicense,
  wptSelectUser,
  wptInstType,
  wptCSOConnect,
  wptSelect,
  wptMasterKey,
  wptPKGCheck,
  wptPGConnect,
  wptConfirm,
  wptProcess
};
constexpr int32_t WZRD_PageTypeCount = wptProcess + 1;

enum TPage_ButtonType : int32_t { pbtBack, pbtNext, pbtRun, pbtFinish, pbtCancel, pbtForward };
constexpr int32_t Page_ButtonTypeCount = pbtForward + 1;

// A set of buttons: bit i stands for the button with ordinal i.
using TPage_ButtonTypes = uint32_t;

constexpr TPage_ButtonTypes ButtonBit(TPage_ButtonType button) {
  return 1u << static_cast<uint32_t>(button);
}
constexpr bool ButtonSetHas(TPage_ButtonTypes set, TPage_ButtonType button) {
  return (set & ButtonBit(button)) != 0;
}
inline void ButtonSetInclude(TPage_ButtonTypes& set, TPage_ButtonType button) {
  set |= ButtonBit(button);
}
inline void ButtonSetExclude(TPage_ButtonTypes& set, TPage_ButtonType button) {
  set &= ~ButtonBit(button);
}

struct TWZRD_PageInfo {
  bool Enabled = false;
  std::string Title;
  bool ShowMainTitle = false;
  int32_t TitleFontSize = 12;
  bool ShowFrameTitle = false;
  bool ShowImagePanel = false;
  TPage_ButtonTypes EnabledButtons = 0;
  TPage_ButtonTypes VisibleButtons = 0;
  TWZRD_PageType Prev = wptNone;
  TWZRD_PageType Next = wptNone;
};
using PWZRD_PageInfo = TWZRD_PageInfo*;

using TWZRD_Pages = std::array<TWZRD_PageInfo, WZRD_PageTypeCount>;

// The default page table; the main window works on a copy of it.
const TWZRD_Pages& DefaultWizardPages();

// The product title used in page titles and texts.
extern const char* const ProductTitle;

// One move through the live page table. Forward follows the current record's Next and records
// the page left as Prev of the page entered, so that Back retraces the route actually taken;
// Back follows the current record's Prev. Returns the page now current.
TWZRD_PageType StepThroughPages(TWZRD_Pages& pages, TWZRD_PageType current, bool forward);

// Window size for a monitor height: 400 high below 600, 500 below 760, else 600; the width is
// the height plus 200; then the window's limits (width 600..800, height 400..560) apply.
struct TWindowSize {
  int Width;
  int Height;
  bool operator==(const TWindowSize&) const = default;
};
TWindowSize WindowSizeForMonitorHeight(int monitorHeight);
