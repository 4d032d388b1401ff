#include <gtest/gtest.h>

#include "SchemaTestSupport.h"
#include "uSchemaSettingsClass.h"

using schema_test::ParseXml;

namespace {

TEST(SettingsOptions, TheLoadedSelectionBecomesTheDefault) {
  const struct {
    const char* xml;
    bool selected;
    bool visible;
    bool active;
  } cases[] = {
      {"<o caption=\"c\"/>", false, true, false},
      {"<o selected=\"1\"/>", true, true, true},
      {"<o visible=\"0\" selected=\"1\"/>", true, false, false},
      {"<o selected=\"yes\"/>", false, true, false},
  };
  for (const auto& c : cases) {
    TSchm_CustomSettingsElement option;
    option.LoadFromXML(ParseXml(c.xml)->DocumentElement());
    EXPECT_EQ(option.Selected, c.selected) << c.xml;
    EXPECT_EQ(option.DefaultSelected, c.selected) << c.xml;
    EXPECT_EQ(option.Visible, c.visible) << c.xml;
    EXPECT_EQ(option.IsActive(), c.active) << c.xml;
  }
}

TEST(SettingsOptions, AnOptionWithoutAttributesIsInvisibleButLoadsItsChildren) {
  TSchm_SettingsElement option;
  option.LoadFull(
      ParseXml("<wine_assoc_on>"
               "<commands><command description=\"c\" cmd=\"bash\" mode=\"15\"/></commands>"
               "<copyfiles><item type=\"file\"/></copyfiles>"
               "</wine_assoc_on>")
          ->DocumentElement());
  EXPECT_FALSE(option.Visible);
  EXPECT_FALSE(option.IsActive());
  EXPECT_EQ(option.Commands.Count(), 1);
  EXPECT_EQ(option.CopyFiles.Count(), 1);
}

TEST(SettingsOptions, ALaterCommandsChildReplacesAnEarlierOne) {
  TSchm_SettingsElement option;
  option.LoadFull(ParseXml("<o visible=\"1\" selected=\"1\">"
                           "<commands><command description=\"first\"/><command/></commands>"
                           "<!-- <commands/> -->"
                           "<commands><command description=\"second\"/></commands>"
                           "<Commands><command/></Commands>"
                           "</o>")
                      ->DocumentElement());
  EXPECT_TRUE(option.IsActive());
  ASSERT_EQ(option.Commands.Count(), 1);
  EXPECT_EQ(option.Commands.Items(0).Description, "second");
}

TEST(SettingsOptions, ClearKeepsTheDefaultSoThatResetRestoresTheLastLoad) {
  TSchm_SettingsElement option;
  option.LoadFull(ParseXml("<o visible=\"1\" selected=\"1\"><commands><command/></commands></o>")
                      ->DocumentElement());
  option.Clear();
  EXPECT_FALSE(option.Selected);
  EXPECT_FALSE(option.Visible);
  EXPECT_EQ(option.Commands.Count(), 0);
  EXPECT_TRUE(option.DefaultSelected);
  option.ResetToDefault();
  EXPECT_TRUE(option.Selected);
}

TEST(SettingsOptions, AssignCopiesTheSelectionOnly) {
  TSchm_SettingsElement source, target;
  source.LoadFull(ParseXml("<o visible=\"1\" selected=\"1\" caption=\"c\">"
                           "<commands><command/></commands></o>")
                      ->DocumentElement());
  target.Assign(&source);
  EXPECT_TRUE(target.Selected);
  EXPECT_FALSE(target.DefaultSelected);
  EXPECT_EQ(target.Caption, "c");
  EXPECT_TRUE(target.Visible);
  EXPECT_EQ(target.Commands.Count(), 0);

  TSchm_SettingsElementLink linkOption;
  linkOption.Assign(&source); // a descendant of the common settings class is accepted
  EXPECT_TRUE(linkOption.Selected);
  TSchm_CustomElement plain;
  EXPECT_THROW(target.Assign(&plain), EConvertError);
}

TEST(SettingsGroups, TheUserGroupStartsWithOnlyTheLinkOptionVisible) {
  TSchm_CustomUserSettings user;
  ASSERT_EQ(user.All.size(), 5u);
  EXPECT_EQ(user.All[0], &user.CreateLinks);
  EXPECT_EQ(user.All[1], &user.WineAutoStart);
  EXPECT_EQ(user.All[2], &user.WineAssocOn);
  EXPECT_EQ(user.All[3], &user.FontSmooth);
  EXPECT_EQ(user.All[4], &user.WineDecorated);
  EXPECT_TRUE(user.CreateLinks.Visible);
  for (std::size_t i = 1; i < user.All.size(); ++i)
    EXPECT_FALSE(user.All[i]->Visible) << i;
  for (const auto* option : user.All)
    EXPECT_FALSE(option->Selected);
}

TEST(SettingsGroups, ResettingDefaultsRestoresUserOptionsAndLinksButNotThePtraceOption) {
  TSchm_CustomUserSettings user;
  user.CreateLinks.LoadFull(
      ParseXml("<create_links selected=\"1\"><link selected=\"1\"/></create_links>")
          ->DocumentElement());
  user.FontSmooth.LoadFull(ParseXml("<font_smooth selected=\"1\"/>")->DocumentElement());
  user.CreateLinks.SetSelected(false);
  user.CreateLinks.Links.Items(0).Selected = false;
  user.FontSmooth.SetSelected(false);
  user.ResetToDefault();
  EXPECT_TRUE(user.CreateLinks.Selected);
  EXPECT_TRUE(user.CreateLinks.Links.Items(0).Selected);
  EXPECT_TRUE(user.FontSmooth.Selected);

  TSchm_CustomSystemSettings system;
  system.PTraceOff.LoadFromXML(ParseXml("<ptrace_off selected=\"1\"/>")->DocumentElement());
  system.PTraceOff.SetSelected(false);
  system.ResetToDefault();
  EXPECT_FALSE(system.PTraceOff.Selected);
}

} // namespace
