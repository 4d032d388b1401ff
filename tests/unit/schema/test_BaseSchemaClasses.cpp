#include <gtest/gtest.h>

#include "SchemaTestSupport.h"
#include "uBaseSchemaClasses.h"
#include "uPackageClasses.h"
#include "uSchemaCopyFileClasses.h"

using schema_test::ParseXml;

namespace {

TEST(SchemaAttributes, StrToBooleanIsTrueOnlyForTrueTOrOne) {
  const std::pair<const char*, bool> cases[] = {
      {"true", true}, {"TRUE", true}, {"True", true}, {"t", true},      {"T", true},
      {"1", true},    {"yes", false}, {"on", false},  {"0", false},     {"2", false},
      {" 1", false},  {"1 ", false},  {"", false},    {"false", false}, {"tru", false}};
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(StrToBoolean(text), expected) << '"' << text << '"';
}

TEST(SchemaAttributes, IsElementNamedNeedsExactNameNoCommentAndAnAttribute) {
  auto doc = ParseXml("<r><package name=\"a\"/><package/><Package name=\"b\"/>"
                      "<!--package--></r>");
  platform::XmlNode child = doc->DocumentElement().FirstChild();
  EXPECT_TRUE(IsElementNamed(child, "package"));
  child = child.NextSibling();
  EXPECT_FALSE(IsElementNamed(child, "package")) << "no attributes";
  child = child.NextSibling();
  EXPECT_FALSE(IsElementNamed(child, "package")) << "other letter case";
  child = child.NextSibling();
  EXPECT_TRUE(child.IsComment());
  EXPECT_FALSE(IsElementNamed(child, "#comment"));
  EXPECT_FALSE(IsElementNamed(platform::XmlNode(), "package"));
}

TEST(SchemaAttributes, KeywordsAreMatchedExactlyAndFallBackToTheFirstValue) {
  EXPECT_EQ(CommandTypeFromText("bash"), ictBashScript);
  EXPECT_EQ(CommandTypeFromText("Bash"), ictNone);
  EXPECT_EQ(CommandTypeFromText("shell"), ictNone);
  EXPECT_EQ(CommandTypeFromText("exec"), ictWineExec);
  EXPECT_EQ(CommandTypeFromText("reg64"), ictReg64);
  EXPECT_EQ(CommandTypeFromText("winetricks"), ictWinetricks);
  EXPECT_EQ(ConfigTypeFromText("always"), sctAlways);
  EXPECT_EQ(ConfigTypeFromText("Always"), sctNone);
  EXPECT_EQ(ConfigCommandFromText("copy"), sccCopy);
  EXPECT_EQ(ConfigCommandFromText("bash"), sccExecBash);
  EXPECT_EQ(ConfigCommandFromText(""), sccNone);
  EXPECT_EQ(FileCopyTypeFromText("directory"), fctDirectory);
  EXPECT_EQ(FileCopyTypeFromText("Directory"), fstNone);
  EXPECT_EQ(LinkRunTypeFromText("link"), lrtLink);
  EXPECT_EQ(LinkRunTypeFromText("application"), lrtNone);
  EXPECT_EQ(LinkPathTypeFromText("Desktop"), _ldDesktop);
  EXPECT_EQ(LinkPathTypeFromText("menu"), _ldDesktop);
  EXPECT_EQ(LinkPathTypeFromText("startmenu"), _ldStartMenu);
  EXPECT_EQ(LinkPathTypeFromText("other"), _ldOther);
}

TEST(SchemaModes, TheModeAttributeIsABitSetThatAppliesWhenItMeetsTheRunsSet) {
  const struct {
    const char* attribute; // nullptr: absent
    TSchm_InstallOperationModeSet expected;
  } cases[] = {
      {"15", ModeBit(iomNew) | ModeBit(iomWineModify) | ModeBit(iomUpdate) | ModeBit(iomRepair)},
      {"26", ModeBit(iomWineModify) | ModeBit(iomRepair) | ModeBit(iomWDopInstall)},
      {"0", 0},
      {"abc", 0},
      {"15x", 0},
      {"", 0},
      {nullptr, 0},
      {"64", 64}, // bits above bit 5 are kept as read
  };
  for (const auto& c : cases) {
    const std::string xml =
        c.attribute ? std::string("<command caption=\"c\" mode=\"") + c.attribute + "\"/>"
                    : "<command caption=\"c\"/>";
    TSchm_InstallCommand command;
    command.LoadFromXML(ParseXml(xml)->DocumentElement());
    EXPECT_EQ(command.Mode, c.expected) << xml;
  }

  TSchm_InstallCommand every, wineOnly, none;
  every.Mode = 15;
  wineOnly.Mode = 26;
  EXPECT_TRUE(every.AppliesToModes(ModeBit(iomUpdate)));
  EXPECT_FALSE(wineOnly.AppliesToModes(ModeBit(iomNew)));
  EXPECT_TRUE(wineOnly.AppliesToModes(ModeBit(iomNew) | ModeBit(iomWDopInstall)));
  EXPECT_FALSE(none.AppliesToModes(0x3F));
  TSchm_InstallCommand highBits;
  highBits.Mode = 64;
  EXPECT_FALSE(highBits.AppliesToModes(0x3F));
}

TEST(SchemaElements, AttributesAreReadOnlyWhenPresent) {
  TSchm_InstallCommand command;
  command.Caption = "kept";
  command.Params = "kept";
  command.LoadFromXML(ParseXml("<command sudo=\"TRUE\" description=\"d\" cmd=\"reg32\" "
                               "source=\"$TMP/x.reg\"/>")
                          ->DocumentElement());
  EXPECT_TRUE(command.Sudo);
  EXPECT_EQ(command.Description, "d");
  EXPECT_EQ(command.Caption, "kept");
  EXPECT_EQ(command.Params, "kept");
  EXPECT_EQ(command.Cmd, ictReg32);
  EXPECT_EQ(command.Source, "$TMP/x.reg");
  EXPECT_TRUE(command.Visible);

  const std::pair<const char*, bool> sudoCases[] = {
      {"t", true}, {"1", true}, {"yes", false}, {"0", false}, {"", false}};
  for (const auto& [value, expected] : sudoCases) {
    TSchm_CustomElement element;
    element.LoadFromXML(ParseXml(std::string("<e sudo=\"") + value + "\"/>")->DocumentElement());
    EXPECT_EQ(element.Sudo, expected) << value;
  }
}

TEST(SchemaElements, AnElementWithoutAttributesOnlyBecomesInvisible) {
  TSchm_InstallCommand command;
  command.Cmd = ictBashScript;
  command.Source = "s";
  command.Mode = 15;
  command.LoadFromXML(ParseXml("<command><x a=\"1\"/></command>")->DocumentElement());
  EXPECT_FALSE(command.Visible);
  EXPECT_EQ(command.Cmd, ictBashScript);
  EXPECT_EQ(command.Source, "s");
  EXPECT_EQ(command.Mode, 15u);

  TSchm_CustomElement element;
  element.LoadFromXML(platform::XmlNode());
  EXPECT_FALSE(element.Visible);
}

TEST(SchemaElements, SudoDefaultsDifferBetweenPlainAndInstallElements) {
  auto doc = ParseXml("<e caption=\"c\"/>");
  TSchm_CustomElement plain;
  TSchm_InstallCommand command;
  TSchm_InstallFileItem item;
  plain.LoadFromXML(doc->DocumentElement());
  command.LoadFromXML(doc->DocumentElement());
  item.LoadFromXML(doc->DocumentElement());
  EXPECT_TRUE(plain.Sudo);
  EXPECT_FALSE(command.Sudo);
  EXPECT_FALSE(item.Sudo);
}

TEST(SchemaElements, ClearResetsAnInstallCommand) {
  TSchm_InstallCommand command;
  command.LoadFromXML(ParseXml("<command sudo=\"1\" visible=\"0\" cmd=\"bash\" params=\"p\" "
                               "source=\"s\" mode=\"15\" caption=\"c\" replace=\"1\"/>")
                          ->DocumentElement());
  int marker = 0;
  command.Node = &marker;
  command.Clear();
  EXPECT_EQ(command.Cmd, ictNone);
  EXPECT_EQ(command.Params, "");
  EXPECT_EQ(command.Source, "");
  EXPECT_FALSE(command.Sudo);
  EXPECT_EQ(command.Mode, 0u);
  EXPECT_EQ(command.Caption, "");
  EXPECT_TRUE(command.Visible);
  EXPECT_FALSE(command.Replace);
  EXPECT_EQ(command.Node, nullptr);

  TSchm_CustomInstallElement installElement;
  installElement.Clear();
  EXPECT_TRUE(installElement.Sudo) << "the common reset leaves Sudo True";
}

TEST(SchemaElements, AssignCopiesTheXmlFieldsButNeverTheNode) {
  TSchm_InstallCommand source;
  source.LoadFromXML(ParseXml("<command sudo=\"1\" replace=\"1\" visible=\"0\" cmd=\"exec\" "
                              "params=\"/wsilent\" source=\"$ARM_EXEC\" mode=\"26\" caption=\"c\" "
                              "description=\"d\"/>")
                         ->DocumentElement());
  int marker = 0;
  source.Node = &marker;
  TSchm_InstallCommand target;
  target.Assign(&source);
  EXPECT_TRUE(target.Sudo);
  EXPECT_TRUE(target.Replace);
  EXPECT_FALSE(target.Visible);
  EXPECT_EQ(target.Cmd, ictWineExec);
  EXPECT_EQ(target.Params, "/wsilent");
  EXPECT_EQ(target.Source, "$ARM_EXEC");
  EXPECT_EQ(target.Mode, 26u);
  EXPECT_EQ(target.Caption, "c");
  EXPECT_EQ(target.Description, "d");
  EXPECT_EQ(target.Node, nullptr);
}

TEST(SchemaElements, AssignFromAForeignClassRaisesAndLeavesTheTargetUnchanged) {
  const struct {
    std::unique_ptr<TSchm_CustomElement> target;
    std::unique_ptr<TSchm_CustomElement> source; // nullptr: none
    const char* message;
  } cases[] = {
      {std::make_unique<TSchm_InstallFileItem>(), std::make_unique<TSchm_InstallCommand>(),
       "Cannot assign a TSchm_InstallCommand to a TSchm_InstallFileItem"},
      {std::make_unique<TSchm_InstallCommand>(), std::make_unique<TSchm_PackageItem>(),
       "Cannot assign a TSchm_PackageItem to a TSchm_InstallCommand"},
      {std::make_unique<TSchm_InstallCommand>(), nullptr,
       "Cannot assign a nil to a TSchm_InstallCommand"},
      {std::make_unique<TSchm_LinkItem>(), std::make_unique<TSchm_InstallFileItem>(),
       "Cannot assign a TSchm_InstallFileItem to a TSchm_LinkItem"},
      {std::make_unique<TSchm_PkgConfigItem>(), std::make_unique<TSchm_BaseSourcedElement>(),
       "Cannot assign a TSchm_BaseSourcedElement to a TSchm_PkgConfigItem"},
  };
  for (const auto& c : cases) {
    c.target->Caption = "unchanged";
    if (c.source)
      c.source->Caption = "other";
    try {
      c.target->Assign(c.source.get());
      ADD_FAILURE() << "no error: " << c.message;
    } catch (const EConvertError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_EQ(c.target->Caption, "unchanged");
  }
}

TEST(SchemaElements, AssigningAListCopiesOnlyTheCommonFields) {
  TSchm_InstallCommandList source, target;
  source.Caption = "c";
  source.ArmPath = "path";
  source.Add().Params = "p";
  target.Assign(&source);
  EXPECT_EQ(target.Caption, "c");
  EXPECT_EQ(target.ArmPath, "");
  EXPECT_EQ(target.Count(), 0);
}

TEST(InstallCommandList, LoadItemsTakesEveryCommandChildAndNothingElse) {
  auto doc = ParseXml("<arm_install sudo=\"0\" arm_path=\"$WKavex/$APP_NAME\" setup=\"s.txt\">"
                      "  <start_cmd description=\"start\" cmd=\"reg32\"/>"
                      "  <!-- <command description=\"commented out\"/> -->"
                      "  <command description=\"one\" cmd=\"winetricks\" params=\"allfonts\"/>"
                      "  <Command description=\"upper case\"/>"
                      "  <command/>"
                      "  <commands><command description=\"nested\"/></commands>"
                      "  <end_cmd description=\"end\"/>"
                      "</arm_install>");
  TSchm_InstallCommandList list;
  list.Add().Description = "left over from before";
  list.LoadItems(doc->DocumentElement());
  EXPECT_EQ(list.ArmPath, "$WKavex/$APP_NAME");
  EXPECT_EQ(list.Setup, "s.txt");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0).Description, "one");
  EXPECT_EQ(list.Items(0).Cmd, ictWinetricks);
  EXPECT_FALSE(list.Items(1).Visible) << "a command without attributes is added, invisible";
  EXPECT_THROW(list.Items(2), EGeneral);
  EXPECT_THROW(list.Items(-1), EGeneral);
}

TEST(InstallUserInfo, CopyFromNoneEmptiesEveryField) {
  TInstall_UserInfo source, target;
  source.UserName = "alice";
  source.Home = "/home/alice";
  source.ArmPath = "/opt/Kavex";
  target.CopyFrom(&source);
  EXPECT_EQ(target.UserName, "alice");
  EXPECT_EQ(target.Home, "/home/alice");
  EXPECT_EQ(target.ArmPath, "/opt/Kavex");
  target.CopyFrom(nullptr);
  EXPECT_EQ(target.UserName, "");
  EXPECT_EQ(target.Home, "");
  EXPECT_EQ(target.ArmPath, "");
}

} // namespace
