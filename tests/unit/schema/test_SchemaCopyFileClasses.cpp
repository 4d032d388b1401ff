#include <gtest/gtest.h>

#include "SchemaTestSupport.h"
#include "uSchemaCopyFileClasses.h"

using schema_test::ParseXml;

namespace {

TEST(CopyItems, LoadTypeSourceDestinationAndMode) {
  auto doc = ParseXml("<copyfiles>"
                      "<item type=\"directory\" sudo=\"0\" source=\"$TMP/SharedData/wine\" "
                      "destination=\"$uhome/.cache/wine\" mode=\"26\"/>"
                      "<!-- <item type=\"file\"/> -->"
                      "<item type=\"Directory\" sudo=\"1\" mode=\"15\"/>"
                      "<file type=\"file\"/>"
                      "</copyfiles>");
  TSchm_InstallfileList list;
  list.LoadItems(doc->DocumentElement());
  ASSERT_EQ(list.Count(), 2);
  const TSchm_InstallFileItem& first = list.Items(0);
  EXPECT_EQ(first.CopyType, fctDirectory);
  EXPECT_FALSE(first.Sudo);
  EXPECT_EQ(first.Source, "$TMP/SharedData/wine");
  EXPECT_EQ(first.Destination, "$uhome/.cache/wine");
  EXPECT_EQ(first.Mode, 26u);
  EXPECT_EQ(list.Items(1).CopyType, fstNone) << "keywords heed letter case";
  EXPECT_TRUE(list.Items(1).Sudo);
}

TEST(CopyItems, ACopyListHoldsOnlyItsLastLoad) {
  TSchm_InstallfileList list;
  list.LoadItems(ParseXml("<c><item type=\"file\"/><item type=\"file\"/></c>")->DocumentElement());
  list.LoadItems(ParseXml("<c><item type=\"directory\"/></c>")->DocumentElement());
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0).CopyType, fctDirectory);
  list.LoadItems(ParseXml("<c><!-- only a comment --><link/></c>")->DocumentElement());
  EXPECT_EQ(list.Count(), 0);
}

TEST(CopyItems, AssignCopiesTheCopyKindAndMergedItemsKeepTheirValues) {
  TSchm_InstallFileItem source;
  source.LoadFromXML(ParseXml("<item type=\"file\" sudo=\"1\" source=\"a\" destination=\"b\" "
                              "mode=\"15\"/>")
                         ->DocumentElement());
  TSchm_InstallfileList list;
  TSchm_InstallFileItem& merged = list.Add();
  merged.Assign(&source);
  EXPECT_EQ(merged.CopyType, fctFile);
  EXPECT_TRUE(merged.Sudo);
  EXPECT_EQ(merged.Source, "a");
  EXPECT_EQ(merged.Destination, "b");
  EXPECT_EQ(merged.Mode, 15u);
  merged.Clear();
  EXPECT_EQ(merged.CopyType, fstNone);
  EXPECT_EQ(merged.Source, "");
}

TEST(Links, LoadEveryAttributeAndRememberTheLoadedSelection) {
  auto doc = ParseXml("<create_links>"
                      "<link create=\"1\" pathtype=\"startmenu\" replace=\"1\" "
                      "icon=\"Kavex_$APP_NAME\" selected=\"1\" type=\"app\" path=\"/p\" "
                      "source=\"s\" destination=\"d\" mode=\"15\"/>"
                      "<link pathtype=\"Desktop\" type=\"link\"/>"
                      "<link pathtype=\"other\" selected=\"1\" visible=\"0\"/>"
                      "<link pathtype=\"other\" description=\"Свой текст\"/>"
                      "</create_links>");
  TSchm_LinkList links;
  links.LoadItems(doc->DocumentElement());
  ASSERT_EQ(links.Count(), 4);

  const TSchm_LinkItem& menu = links.Items(0);
  EXPECT_TRUE(menu.CreateEntry);
  EXPECT_EQ(menu.PathType, _ldStartMenu);
  EXPECT_TRUE(menu.Replace);
  EXPECT_EQ(menu.Icon, "Kavex_$APP_NAME");
  EXPECT_TRUE(menu.Selected);
  EXPECT_TRUE(menu.DefaultSelected);
  EXPECT_EQ(menu.RunType, lrtApp);
  EXPECT_EQ(menu.Path, "/p");
  EXPECT_EQ(menu.Source, "s");
  EXPECT_EQ(menu.Destination, "d");
  EXPECT_EQ(menu.Mode, 15u);
  EXPECT_TRUE(menu.IsActive());
  EXPECT_EQ(menu.DisplayText(), "в меню \"Пуск\"");

  const TSchm_LinkItem& desktop = links.Items(1);
  EXPECT_EQ(desktop.PathType, _ldDesktop);
  EXPECT_EQ(desktop.RunType, lrtLink);
  EXPECT_FALSE(desktop.Selected);
  EXPECT_FALSE(desktop.DefaultSelected);
  EXPECT_FALSE(desktop.IsActive());
  EXPECT_EQ(desktop.DisplayText(), "на рабочем столе");

  const TSchm_LinkItem& hidden = links.Items(2);
  EXPECT_TRUE(hidden.Selected);
  EXPECT_FALSE(hidden.IsActive()) << "selected but invisible";
  EXPECT_EQ(hidden.DisplayText(), "другое...");

  EXPECT_EQ(links.Items(3).DisplayText(), "Свой текст");
}

TEST(Links, ResetAssignAndClearTreatTheDefaultSelectionApart) {
  TSchm_LinkList links;
  links.LoadItems(ParseXml("<l><link selected=\"1\" icon=\"i\"/><link selected=\"0\"/></l>")
                      ->DocumentElement());
  links.Items(0).Selected = false;
  links.Items(1).Selected = true;
  links.ResetToDefault();
  EXPECT_TRUE(links.Items(0).Selected);
  EXPECT_FALSE(links.Items(1).Selected);

  TSchm_LinkItem copy;
  copy.Assign(&links.Items(0));
  EXPECT_TRUE(copy.Selected);
  EXPECT_FALSE(copy.DefaultSelected) << "the default selection is not copied";
  EXPECT_EQ(copy.Icon, "i");

  TSchm_LinkItem& first = links.Items(0);
  first.Clear();
  EXPECT_FALSE(first.Selected);
  EXPECT_EQ(first.Icon, "");
  EXPECT_EQ(first.PathType, _ldDesktop);
  EXPECT_TRUE(first.DefaultSelected) << "Clear keeps the default selection";
  first.ResetToDefault();
  EXPECT_TRUE(first.Selected);
}

} // namespace
