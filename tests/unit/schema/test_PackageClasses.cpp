#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <vector>

#include "SchemaTestSupport.h"
#include "uPackageClasses.h"

using schema_test::ParseXml;
using schema_test::ReadFile;
using schema_test::StandInHost;
using testsupport::TempFolder;

namespace {

TSchm_PackageVerInfo Version(const std::string& text, bool majorOnly = false) {
  TSchm_PackageVerInfo version;
  version.Text = text;
  version.Present = true;
  version.Parse(majorOnly);
  return version;
}

TEST(PackageVersions, ParseTakesMajorAndMinorWithTheOverflowValueForNonNumbers) {
  const struct {
    const char* text;
    bool majorOnly;
    int32_t major;
    int32_t minor;
  } cases[] = {
      {"9.0-1", false, 9, 0},
      {"10", false, 10, 0},
      {"9.0~rc1", false, 9, INT32_MAX},
      {"1:9.0-1", false, INT32_MAX, 0},
      {"8.19", true, 8, 0},
      {"8.19", false, 8, 19},
      {"9.0+dfsg", false, 9, 0},
      {"20230212", false, 20230212, 0},
      {"9 1", false, 9, 1},
      {"", false, INT32_MAX, 0},
      {"99999999999.1", false, INT32_MAX, 1},
  };
  for (const auto& c : cases) {
    const TSchm_PackageVerInfo version = Version(c.text, c.majorOnly);
    EXPECT_EQ(version.Major, c.major) << c.text;
    EXPECT_EQ(version.Minor, c.minor) << c.text;
  }

  TSchm_PackageVerInfo absent;
  absent.Text = "9.1";
  absent.Major = 5;
  absent.Parse(false);
  EXPECT_EQ(absent.Major, 0) << "a version that is not present parses as 0.0";
  EXPECT_EQ(absent.Minor, 0);
}

TEST(PackageVersions, CompareOrdersByMajorThenMinorWithTheGreaterFirst) {
  EXPECT_EQ(TSchm_PackageVerInfo::Compare(Version("9.1"), Version("9.0")), -1);
  EXPECT_EQ(TSchm_PackageVerInfo::Compare(Version("8.19"), Version("9.0")), 1);
  EXPECT_EQ(TSchm_PackageVerInfo::Compare(Version("9.0"), Version("9.0-3")), 0);
  EXPECT_EQ(TSchm_PackageVerInfo::Compare(Version("10.0"), Version("9.99")), -1);
}

TEST(PackageItems, LoadRequiredSelectionAndTheMinimumOnlyWithAVersionCheck) {
  TSchm_PackageItem wine;
  wine.LoadFromXML(ParseXml("<package name=\"wine\" required=\"1\" version_check=\"1\" "
                            "major=\"9\" minor=\"x\" selected=\"0\" subpackage=\"t\"/>")
                       ->DocumentElement());
  EXPECT_TRUE(wine.Required);
  EXPECT_TRUE(wine.VersionCheck);
  EXPECT_EQ(wine.RequiredVer.Major, 9);
  EXPECT_EQ(wine.RequiredVer.Minor, 0);
  EXPECT_FALSE(wine.Selected) << "loading does not force the selection";
  EXPECT_TRUE(wine.DefaultSelected);
  EXPECT_TRUE(wine.Subpackage);
  EXPECT_EQ(wine.Name, "") << "the name is the schema document's to set";

  TSchm_PackageItem tricks;
  tricks.LoadFromXML(
      ParseXml("<package version_check=\"0\" major=\"-1\" minor=\"3\"/>")->DocumentElement());
  EXPECT_EQ(tricks.RequiredVer.Major, 0);
  EXPECT_EQ(tricks.RequiredVer.Minor, 0);
  EXPECT_FALSE(tricks.DefaultSelected);
}

TEST(PackageItems, ARequiredPackageStaysSelectedWithoutAnEvent) {
  int events = 0;
  TSchm_PackageItem item;
  item.SetOnChange([&events](TSchm_CustomElement*) { ++events; });
  item.Required = true;
  item.SetSelected(false);
  EXPECT_TRUE(item.Selected);
  item.SetSelected(true);
  EXPECT_EQ(events, 0);

  item.Required = false;
  TSchm_CustomElement* sender = nullptr;
  item.SetOnChange([&](TSchm_CustomElement* s) {
    ++events;
    sender = s;
  });
  item.SetSelected(true);
  EXPECT_EQ(events, 0) << "no change, no event";
  item.SetSelected(false);
  EXPECT_EQ(events, 1);
  EXPECT_EQ(sender, &item);
}

TEST(PackageConfigs, AppliesToFollowsTheConfigurationType) {
  const struct {
    TSchm_ConfigType type;
    TSchm_PackageAction action;
    bool applies;
  } cases[] = {
      {sctAlways, slpaNone, true},   {sctAlways, slpaUpdate, true}, {sctNew, slpaInstall, true},
      {sctNew, slpaUpdate, false},   {sctUpdate, slpaUpdate, true}, {sctUpdate, slpaInstall, false},
      {sctNone, slpaInstall, false}, {sctNone, slpaUpdate, false},
  };
  for (const auto& c : cases) {
    TSchm_PkgConfigItem item;
    item.ConfigType = c.type;
    EXPECT_EQ(item.AppliesTo(c.action), c.applies) << c.type << " " << c.action;
  }
  TSchm_PkgConfigItem loaded;
  loaded.LoadFromXML(ParseXml("<config type=\"always\" cmd=\"command\" sudo=\"1\" "
                              "params=\"setcap cap_net_raw+epi /usr/bin/wineserver\"/>")
                         ->DocumentElement());
  EXPECT_EQ(loaded.ConfigType, sctAlways);
  EXPECT_EQ(loaded.Cmd, sccCommand);
  EXPECT_EQ(loaded.Params, "setcap cap_net_raw+epi /usr/bin/wineserver");
  TSchm_PkgConfigItem copy;
  copy.Assign(&loaded);
  EXPECT_EQ(copy.ConfigType, sctAlways);
  EXPECT_EQ(copy.Cmd, sccCommand);
  EXPECT_EQ(copy.Params, loaded.Params);
}

TEST(PackageList, WritesTheQueryScriptOnlyForAstraLinux) {
  TempFolder temp;
  TSchm_PackageList astra(lotAstra_1_8, temp.Path());
  EXPECT_EQ(astra.ScriptPath, temp.Path() + "/.get_pkginfo.sh");
  EXPECT_EQ(ReadFile(astra.ScriptPath),
            "#!/usr/bin/bash\n"
            "apt-cache policy \"$1\" | grep -E 'Установлен|Кандидат' | sed -E 's/ *//g' >> "
            "\"$2\"\n");

  TempFolder other;
  TSchm_PackageList redos(lotRedOS_1, other.Path());
  EXPECT_EQ(redos.ScriptPath, "");
  EXPECT_TRUE(std::filesystem::is_empty(other.Path()));

  EXPECT_THROW(TSchm_PackageList(lotAstra_1_8, temp.Path() + "/missing"), EGeneral);
}

// A row of a status table: apt's report on a package and what the check makes of it.
struct StatusRule {
  const char* installed;
  const char* candidate;
  TSchm_PackageStatus status;
  TSchm_PackageAction action;
};

class PackageCheck : public ::testing::Test {
protected:
  TSchm_PackageItem& AddPackage(const std::string& name, bool versionCheck, int major = 9,
                                int minor = 0) {
    TSchm_PackageItem& item = list.Add();
    item.Name = name;
    item.Selected = true;
    item.VersionCheck = versionCheck;
    item.RequiredVer.Major = major;
    item.RequiredVer.Minor = minor;
    return item;
  }

  // A package that apt reports as the rule says, added and checked.
  TSchm_PackageItem& CheckReported(const std::string& name, const StatusRule& rule,
                                   bool versionCheck) {
    host.SetPolicy(name, rule.installed, rule.candidate);
    TSchm_PackageItem& item = AddPackage(name, versionCheck);
    list.CheckPackage(item);
    return item;
  }

  TempFolder temp;
  StandInHost host;
  TSchm_PackageList list{lotAstra_1_8, temp.Path()};
};

TEST_F(PackageCheck, QueryAptReadsTheRussianLinesAndDeletesTheAnswerFile) {
  host.SetPolicy("wine", "(отсутствует)", "9.0");
  TSchm_PackageVerInfo installed, candidate;
  std::string error = "stale";
  EXPECT_EQ(list.QueryApt("wine", installed, candidate, error), spirOK);
  EXPECT_EQ(error, "");
  EXPECT_EQ(installed.Text, "(отсутствует)");
  EXPECT_FALSE(installed.Present);
  EXPECT_EQ(candidate.Text, "9.0");
  EXPECT_TRUE(candidate.Present);
  EXPECT_FALSE(std::filesystem::exists(temp.File("wine.info")));

  EXPECT_EQ(list.QueryApt("unknown-package", installed, candidate, error), spirNotFound);
  EXPECT_FALSE(std::filesystem::exists(temp.File("unknown-package.info")));
}

TEST_F(PackageCheck, AnAnswerLeftFromAnEarlierQueryDoesNotCount) {
  schema_test::WriteFile(temp.File("ghost.info"), "Установлен:1.0\nКандидат:1.0\n");
  TSchm_PackageVerInfo installed, candidate;
  std::string error;
  EXPECT_EQ(list.QueryApt("ghost", installed, candidate, error), spirNotFound);
}

TEST_F(PackageCheck, StatusRulesWithAVersionCheck) {
  const StatusRule cases[] = {
      {"8.19", "9.0", slpsMustUpdate, slpaNone},
      {"8.19", "8.20", slpsNotSupported, slpaNone},
      {"9.0", "9.0", slpsOK, slpaNone},
      {"9.0", "9.1", slpsCanUpdate, slpaNone},
      {"10.0", "9.1", slpsOK, slpaNone},
      {"(отсутствует)", "9.0", slpsNone, slpaInstall},
      {"(отсутствует)", "8.0", slpsNotSupported, slpaNone},
      {"9.0", "(отсутствует)", slpsOK, slpaNone},
      {"8.0", "(отсутствует)", slpsNotSupported, slpaNone},
      {"", "9.2", slpsNone, slpaInstall}, // only a candidate line: not installed
  };
  int index = 0;
  for (const auto& c : cases) {
    TSchm_PackageItem& item = CheckReported("pkg" + std::to_string(index++), c, true);
    EXPECT_TRUE(item.Checked);
    EXPECT_EQ(item.Status, c.status) << c.installed << " / " << c.candidate;
    EXPECT_EQ(item.Action, c.action) << c.installed << " / " << c.candidate;
  }
}

TEST_F(PackageCheck, StatusRulesWithoutAVersionCheck) {
  const StatusRule cases[] = {
      {"2.0", "2.0", slpsOK, slpaNone},
      {"2.0", "2.1", slpsDiffer, slpaNone},
      {"2.0", "(отсутствует)", slpsOK, slpaNone},
      {"(отсутствует)", "2.1", slpsNone, slpaInstall},
      {"(отсутствует)", "(отсутствует)", slpsNotFound, slpaNone},
      {"(отсутствует)", "", slpsNotFound, slpaNone}, // no candidate line at all
  };
  int index = 0;
  for (const auto& c : cases) {
    TSchm_PackageItem& item = CheckReported("tool" + std::to_string(index++), c, false);
    EXPECT_EQ(item.Status, c.status) << c.installed << " / " << c.candidate;
    EXPECT_EQ(item.Action, c.action) << c.installed << " / " << c.candidate;
  }
}

TEST_F(PackageCheck, AnUnknownPackageIsNotFoundAndKeepsItsAction) {
  TSchm_PackageItem& item = AddPackage("nothing-here", true);
  item.Action = slpaUpdate;
  list.CheckPackage(item);
  EXPECT_EQ(item.Status, slpsNotFound);
  EXPECT_EQ(item.Action, slpaUpdate);
  EXPECT_EQ(item.InstalledVer.Text, "(отсутствует)");
  EXPECT_EQ(item.CandidateVer.Text, "(отсутствует)");
  EXPECT_TRUE(item.Checked);
  EXPECT_EQ(item.MajorVersionText(), "");
}

TEST_F(PackageCheck, ASubpackageIsQueriedUnderItsVersionedName) {
  host.SetPolicy("pkg", "2.5", "2.5");
  host.SetPolicy("pkg-2", "2.0", "9.3");
  TSchm_PackageItem& item = AddPackage("pkg", true, 2, 0);
  item.Subpackage = true;
  list.CheckPackage(item);
  EXPECT_EQ(item.Name, "pkg");
  EXPECT_TRUE(item.Subpackage);
  EXPECT_EQ(item.InstalledVer.Text, "2.0");
  EXPECT_EQ(item.CandidateVer.Text, "9.3");
  EXPECT_EQ(item.Status, slpsCanUpdate);
  EXPECT_FALSE(std::filesystem::exists(temp.File("pkg-2.info")));
}

TEST_F(PackageCheck, AFailingQueryRaisesButMarksThePackageCheckedAndRestoresASubpackage) {
  host.SetPolicy("pkg", "3.1", "3.1");
  TSchm_PackageItem& first = AddPackage("pkg", true, 3, 0);
  first.Subpackage = true;
  TSchm_PackageItem& later = AddPackage("later", false);
  // The query of "pkg-3" cannot run: the script is gone once "pkg" has been answered.
  schema_test::WriteFile(host.AnswersFolder() + "/pkg.policy",
                         "pkg:\n  Установлен: 3.1\n  Кандидат: 3.1\n");
  const std::string script = list.ScriptPath;
  schema_test::WriteFile(host.AnswersFolder() + "/../bin/apt-cache",
                         "#!/bin/bash\n"
                         "cat \"" +
                             host.AnswersFolder() +
                             "/$2.policy\" 2>/dev/null\n"
                             "rm -f \"" +
                             script + "\"\n",
                         true);
  TSchm_PackageStatus summary = slpsNotFound;
  try {
    list.CheckSelected(summary);
    FAIL() << "no error";
  } catch (const EGeneral& error) {
    EXPECT_STREQ(error.what(), "Cannot execute command!");
  }
  EXPECT_EQ(summary, slpsNotFound) << "the summary is not written after an error";
  EXPECT_TRUE(first.Checked);
  EXPECT_EQ(first.Name, "pkg");
  EXPECT_TRUE(first.Subpackage);
  EXPECT_FALSE(later.Checked) << "the check stops at the failing package";
}

TEST_F(PackageCheck, CheckSelectedQueriesOnlySelectedUncheckedPackagesAndSummarises) {
  host.SetPolicy("wine", "8.19", "9.0");
  host.SetPolicy("winetricks", "(отсутствует)", "20230212");
  TSchm_PackageItem& wine = AddPackage("wine", true);
  TSchm_PackageItem& tricks = AddPackage("winetricks", false);
  TSchm_PackageItem& unselected = AddPackage("other", false);
  unselected.Selected = false;

  TSchm_PackageStatus summary = slpsNone;
  list.CheckSelected(summary);
  EXPECT_EQ(summary, slpsMustUpdate);
  EXPECT_FALSE(unselected.Checked);
  EXPECT_EQ(tricks.Action, slpaInstall);
  EXPECT_TRUE(list.AnyAction());

  // A checked package is never queried again: changing apt's answer changes nothing.
  host.SetPolicy("wine", "9.0", "9.0");
  wine.Action = slpaUpdate;
  list.CheckSelected(summary);
  EXPECT_EQ(wine.Status, slpsMustUpdate);
  EXPECT_EQ(summary, slpsOK) << "an update was chosen";
  EXPECT_EQ(list.Summary(), slpsOK);
}

TEST(PackageSummary, TakesTheWorstStatusOfTheSelectedCheckedPackages) {
  TempFolder temp;
  const struct {
    std::vector<std::pair<TSchm_PackageStatus, TSchm_PackageAction>> packages;
    TSchm_PackageStatus summary;
  } cases[] = {
      {{{slpsMustUpdate, slpaUpdate}, {slpsOK, slpaNone}}, slpsOK},
      {{{slpsMustUpdate, slpaNone}, {slpsOK, slpaNone}}, slpsMustUpdate},
      {{{slpsNotSupported, slpaNone}, {slpsNotFound, slpaNone}}, slpsNotFound},
      {{{slpsNotSupported, slpaNone}, {slpsMustUpdate, slpaNone}}, slpsNotSupported},
      {{{slpsNone, slpaInstall}, {slpsCanUpdate, slpaNone}, {slpsDiffer, slpaNone}}, slpsOK},
      {{}, slpsOK},
  };
  for (const auto& c : cases) {
    TSchm_PackageList list(lotAstra_1_8, temp.Path());
    for (const auto& [status, action] : c.packages) {
      TSchm_PackageItem& item = list.Add();
      item.Selected = true;
      item.Checked = true;
      item.Status = status;
      item.Action = action;
    }
    EXPECT_EQ(list.Summary(), c.summary);
  }

  TSchm_PackageList list(lotAstra_1_8, temp.Path());
  TSchm_PackageItem& unselected = list.Add();
  unselected.Checked = true;
  unselected.Status = slpsNotFound;
  unselected.Action = slpaInstall;
  TSchm_PackageItem& unchecked = list.Add();
  unchecked.Selected = true;
  unchecked.Status = slpsNotSupported;
  EXPECT_EQ(list.Summary(), slpsOK) << "only selected checked packages count";
  EXPECT_TRUE(list.AnyAction()) << "any package's action counts, selected or not";
}

TEST(PackageVersionTexts, FollowTheActionAndTheStatus) {
  TSchm_PackageItem item;
  item.VersionCheck = true;
  item.InstalledVer = Version("8.19-1");
  item.CandidateVer = Version("9.0-2");
  EXPECT_EQ(item.VersionText(), "8.19");
  item.Action = slpaUpdate;
  EXPECT_EQ(item.VersionText(), "9.0");
  item.VersionCheck = false;
  EXPECT_EQ(item.VersionText(), "9.0-2");

  item.VersionCheck = true;
  EXPECT_EQ(item.MajorVersionText(), "") << "unchecked";
  item.Checked = true;
  const struct {
    TSchm_PackageStatus status;
    TSchm_PackageAction action;
    const char* expected;
  } cases[] = {
      {slpsNone, slpaInstall, "9"},     {slpsOK, slpaNone, "8"},
      {slpsDiffer, slpaNone, "8"},      {slpsMustUpdate, slpaUpdate, "9"},
      {slpsMustUpdate, slpaNone, "8"},  {slpsCanUpdate, slpaUpdate, "9"},
      {slpsCanUpdate, slpaNone, "8"},   {slpsNotFound, slpaNone, ""},
      {slpsNotSupported, slpaNone, ""},
  };
  for (const auto& c : cases) {
    item.Status = c.status;
    item.Action = c.action;
    EXPECT_EQ(item.MajorVersionText(), c.expected) << c.status << " " << c.action;
  }
  item.VersionCheck = false;
  item.Status = slpsOK;
  EXPECT_EQ(item.MajorVersionText(), "8.19-1");
}

TEST(PackageList, FindByNameIsExactAndTheChangeEventReachesEveryPackage) {
  TempFolder temp;
  TSchm_PackageList list(lotAstra_1_8, temp.Path());
  list.Add().Name = "wine";
  list.Add().Name = "Wine";
  TSchm_PackageItem* found = nullptr;
  ASSERT_TRUE(list.FindByName("Wine", found));
  EXPECT_EQ(found, &list.Items(1));
  TSchm_PackageItem* untouched = &list.Items(0);
  EXPECT_FALSE(list.FindByName("WINE", untouched));
  EXPECT_EQ(untouched, &list.Items(0));

  int events = 0;
  list.SetOnChange([&events](TSchm_CustomElement*) { ++events; });
  list.Items(0).SetSelected(true);
  list.Add().SetSelected(true); // a package added later gets the event as well
  EXPECT_EQ(events, 2);
}

} // namespace
