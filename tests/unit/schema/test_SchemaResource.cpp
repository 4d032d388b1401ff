#include <gtest/gtest.h>

#include "SchemaTestSupport.h"
#include "uSimpleInstallSchema.h"
#include "u_self_resource.h"

using testsupport::TempFolder;

namespace {

class SchemaResource : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = FileResources;
    FileResources = &catalogue_;
  }
  void TearDown() override { FileResources = saved_; }

  TFileResourcesClass catalogue_;
  TFileResourcesClass* saved_ = nullptr;
  TempFolder temp;
  TInstallCustomSchemaClass schema{lotAstra_1_8, temp.Path()};
};

TEST_F(SchemaResource, TheEmbeddedSchemaLoadsFromTheCatalogue) {
  EXPECT_TRUE(schema.LoadSchemaFromResource(frtInstallSchema));
  EXPECT_EQ(schema.Packages->Count(), 2);
  EXPECT_EQ(schema.Script->Commands.Count(), 11);
}

TEST_F(SchemaResource, AResourceThatIsNoXmlRaisesTheReadersError) {
  EXPECT_THROW(schema.LoadSchemaFromResource(frtLicense), platform::EXmlReadError);
}

TEST_F(SchemaResource, AMissingResourceRaisesTheCataloguesError) {
  try {
    schema.LoadSchemaFromResource(frtFixList);
    FAIL() << "no error";
  } catch (const EGeneral& error) {
    EXPECT_STREQ(error.what(), "Resource \"FIXLIST_TXT\" not found!");
  }
}

} // namespace
