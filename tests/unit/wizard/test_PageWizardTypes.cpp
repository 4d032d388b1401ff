// The page table and the navigation through it, and the window size for a monitor.

#include <gtest/gtest.h>

#include "uPageWizardTypes.h"

namespace {

TEST(DefaultPageTable, DisabledKindsAreNeverReachedAndTheRouteIsComplete) {
  const TWZRD_Pages& pages = DefaultWizardPages();
  for (TWZRD_PageType disabled : {wptCSOConnect, wptMasterKey, wptPGConnect})
    EXPECT_FALSE(pages[disabled].Enabled) << disabled;
  for (const TWZRD_PageInfo& page : pages)
    EXPECT_TRUE(pages[page.Next].Enabled) << page.Title;

  // The default road through the enabled pages from the start position.
  std::vector<TWZRD_PageType> road;
  TWZRD_PageType current = wptNone;
  for (int step = 0; step < 8 && current != wptProcess; ++step) {
    current = pages[current].Next;
    road.push_back(current);
  }
  EXPECT_EQ(road, (std::vector<TWZRD_PageType>{wptWellcome, wptLicense, wptSelectUser, wptInstType,
                                               wptPKGCheck, wptConfirm, wptProcess}));
}

TEST(DefaultPageTable, ButtonsOfThePagesThatOthersRelyOn) {
  const TWZRD_Pages& pages = DefaultWizardPages();
  // The welcome page shows Forward, starts with it disabled and uses the image panel.
  EXPECT_EQ(pages[wptWellcome].VisibleButtons, ButtonBit(pbtCancel) | ButtonBit(pbtForward));
  EXPECT_EQ(pages[wptWellcome].EnabledButtons, ButtonBit(pbtCancel));
  EXPECT_TRUE(pages[wptWellcome].ShowImagePanel);
  EXPECT_EQ(pages[wptWellcome].TitleFontSize, 14);
  // These start with Next disabled and enable it themselves.
  for (TWZRD_PageType kind : {wptLicense, wptSelectUser, wptInstType}) {
    EXPECT_TRUE(ButtonSetHas(pages[kind].VisibleButtons, pbtNext)) << kind;
    EXPECT_FALSE(ButtonSetHas(pages[kind].EnabledButtons, pbtNext)) << kind;
  }
  for (TWZRD_PageType kind : {wptSelect, wptPKGCheck})
    EXPECT_TRUE(ButtonSetHas(pages[kind].EnabledButtons, pbtNext)) << kind;
  EXPECT_EQ(pages[wptConfirm].EnabledButtons,
            ButtonBit(pbtBack) | ButtonBit(pbtRun) | ButtonBit(pbtCancel));
  EXPECT_EQ(pages[wptProcess].VisibleButtons, ButtonBit(pbtCancel));
  EXPECT_FALSE(pages[wptProcess].ShowMainTitle);
  EXPECT_EQ(pages[wptInstType].Next, wptPKGCheck);
  EXPECT_EQ(pages[wptLicense].Title, "Лицензионный договор");
}

TEST(PageTableCopy, ChangesDuringARunNeverReachTheDefault) {
  TWZRD_Pages live = DefaultWizardPages();
  live[wptInstType].Next = wptSelect;
  live[wptConfirm].EnabledButtons = ButtonBit(pbtCancel);
  live[wptLicense].Title = "changed";
  StepThroughPages(live, wptNone, true);

  const TWZRD_Pages fresh = DefaultWizardPages();
  EXPECT_EQ(fresh[wptInstType].Next, wptPKGCheck);
  EXPECT_EQ(fresh[wptConfirm].EnabledButtons,
            ButtonBit(pbtBack) | ButtonBit(pbtRun) | ButtonBit(pbtCancel));
  EXPECT_EQ(fresh[wptLicense].Title, "Лицензионный договор");
  EXPECT_EQ(fresh[wptWellcome].Prev, wptWellcome);
}

// Walks the live table: 'F' forward, 'B' back; returns the pages visited after each move.
std::vector<TWZRD_PageType> Walk(TWZRD_Pages& pages, TWZRD_PageType& current,
                                 const std::string& moves) {
  std::vector<TWZRD_PageType> visited;
  for (char move : moves) {
    current = StepThroughPages(pages, current, move == 'F');
    visited.push_back(current);
  }
  return visited;
}

TEST(Navigation, EnteringTheWelcomePageFromTheStartRecordsTheStart) {
  TWZRD_Pages pages = DefaultWizardPages();
  TWZRD_PageType current = wptNone;
  Walk(pages, current, "F");
  EXPECT_EQ(current, wptWellcome);
  EXPECT_EQ(pages[wptWellcome].Prev, wptNone);
}

TEST(Navigation, BackRetracesTheCustomRoute) {
  TWZRD_Pages pages = DefaultWizardPages();
  TWZRD_PageType current = wptNone;
  Walk(pages, current, "FFFF"); // welcome, licence, user, type
  ASSERT_EQ(current, wptInstType);
  pages[wptInstType].Next = wptSelect; // the custom type was chosen
  EXPECT_EQ(Walk(pages, current, "FFF"),
            (std::vector<TWZRD_PageType>{wptSelect, wptPKGCheck, wptConfirm}));
  EXPECT_EQ(Walk(pages, current, "BBBBBB"),
            (std::vector<TWZRD_PageType>{wptPKGCheck, wptSelect, wptInstType, wptSelectUser,
                                         wptLicense, wptWellcome}));
}

TEST(Navigation, SwitchingBackToTheDefaultTypeSkipsTheOptionsOnTheWayBack) {
  TWZRD_Pages pages = DefaultWizardPages();
  TWZRD_PageType current = wptNone;
  Walk(pages, current, "FFFF");
  pages[wptInstType].Next = wptSelect;
  Walk(pages, current, "FFBB"); // options, package check, back to the type page
  ASSERT_EQ(current, wptInstType);
  pages[wptInstType].Next = wptPKGCheck; // default again
  EXPECT_EQ(Walk(pages, current, "FB"), (std::vector<TWZRD_PageType>{wptPKGCheck, wptInstType}));
  EXPECT_EQ(pages[wptPKGCheck].Prev, wptInstType);
}

TEST(Navigation, BackOnTheWelcomePageWithoutAMoveStaysThere) {
  // Before the first forward move the welcome page's Prev is itself.
  TWZRD_Pages pages = DefaultWizardPages();
  EXPECT_EQ(StepThroughPages(pages, wptWellcome, false), wptWellcome);
}

struct SizeCase {
  int MonitorHeight;
  TWindowSize Expected;
};

class WindowSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(WindowSize, FollowsTheMonitorWithinTheWindowLimits) {
  EXPECT_EQ(WindowSizeForMonitorHeight(GetParam().MonitorHeight), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(MonitorHeights, WindowSize,
                         ::testing::Values(SizeCase{480, {600, 400}}, SizeCase{599, {600, 400}},
                                           SizeCase{600, {700, 500}}, SizeCase{759, {700, 500}},
                                           SizeCase{760, {800, 560}}, SizeCase{1080, {800, 560}}));

} // namespace
