// The resource catalogue in a program that lacks LICENSE_RTF.
#include <gtest/gtest.h>

#include "Exceptions.h"
#include "u_self_resource.h"

namespace {

TEST(ResourceCatalogueWithoutLicense, StopsAtTheMissingLicence) {
  TFileResourcesClass catalogue;
  std::string error;
  EXPECT_FALSE(catalogue.CheckResources(error));
  EXPECT_EQ(error, "Resource \"LICENSE_RTF\" not found!");

  TFileResourcesItem item;
  catalogue.GetItem(item, frtInstallSchema);
  EXPECT_TRUE(item.Found);
  catalogue.GetItem(item, frtLicense);
  EXPECT_EQ(item.ResName, "LICENSE_RTF");
  EXPECT_EQ(item.Handle, 0);
  EXPECT_FALSE(item.Found);
  // The check stopped: the later entries stay empty although their resources exist.
  for (TFileResourceType later : {frtWellcome, frtFixList, frtData_Source, frtARM_Source}) {
    catalogue.GetItem(item, later);
    EXPECT_EQ(item.ResName, "") << later;
    EXPECT_EQ(item.Handle, 0) << later;
    EXPECT_FALSE(item.Found) << later;
  }
  EXPECT_THROW(catalogue.GetStream(frtLicense), EGeneral);
  EXPECT_NE(catalogue.GetStream(frtWellcome), nullptr);
}

} // namespace
