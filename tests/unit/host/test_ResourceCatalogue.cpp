// A program built without resources has none, and the catalogue says which one is missing.
#include <gtest/gtest.h>

#include "EmbeddedResources.h"
#include "Exceptions.h"
#include "u_self_resource.h"

TEST(ResourceCatalogueWithoutResources, ReportsTheFirstRequiredOne) {
  EXPECT_EQ(host::EmbeddedResourceCount(), 0u);
  EXPECT_EQ(host::FindEmbeddedResource("INSTALL_SCHEMA"), 0);
  TFileResourcesClass catalogue;
  std::string error;
  EXPECT_FALSE(catalogue.CheckResources(error));
  EXPECT_EQ(error, "Resource \"INSTALL_SCHEMA\" not found!");
  EXPECT_THROW(host::EmbeddedResourceAt(1), EGeneral);
}
