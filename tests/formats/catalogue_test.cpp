#include "formats/catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace vantor {
namespace {

TEST(CatalogueTest, InputCatalogueHoldsEveryExtensionOnce) {
    std::set<std::string> extensions, formats;
    for (const InputFormatEntry& e : InputCatalogue()) {
        EXPECT_TRUE(extensions.insert(e.extension).second) << e.extension;
        formats.insert(e.mainExtension);
    }
    EXPECT_EQ(InputCatalogue().size(), 79u);
    EXPECT_EQ(formats.size(), 16u);
    EXPECT_EQ(FindInputFormat("apm").mainExtension, "wmf");
    EXPECT_EQ(FindInputFormat("apm").description, "Aldus Placeable Metafile");
    EXPECT_EQ(FindInputFormat("nef").description, "Nikon Camera RAW Image");
    EXPECT_EQ(FindInputFormat("xyz").description, "");
}

TEST(CatalogueTest, OutputDepths) {
    EXPECT_EQ(OutputCatalogue().size(), 23u);
    EXPECT_EQ(OutputDepths("dds"), "32");
    EXPECT_EQ(OutputDepths("png"), "1,4,8,24,32,48");
    EXPECT_EQ(OutputDepths("nope"), "");
    EXPECT_EQ(FindOutputFormat("dds").description, "DirectDraw Surface");
}

TEST(CatalogueTest, OnlyPsdIsAcceptedAndTheFilterOffersIt) {
    BuildInputExtensions();
    EXPECT_EQ(AcceptedInputExtensions(), std::vector<std::string>{"psd"});
    EXPECT_TRUE(IsAcceptedExtension("psd"));
    EXPECT_FALSE(IsAcceptedExtension("PSD"));  // callers lower-case first
    EXPECT_FALSE(IsAcceptedExtension("png"));  // known, but not an input of this product
    EXPECT_EQ(InputFileFilter("All Supported Files", "All Files"),
              "All Supported Files|*.psd|Adobe Photoshop File|*.psd|All Files (*.*)|*.*");
}

}  // namespace
}  // namespace vantor
