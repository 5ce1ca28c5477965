#include "core/product.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(ProductTest, VersionTextAndTitle) {
    EXPECT_EQ(VersionText(220), "2.2");
    EXPECT_EQ(VersionText(221), "2.2.1");
    EXPECT_EQ(VersionText(300), "3.0");
    EXPECT_EQ(ProductTitle(), "Tarnwell PSD to DDS 2.2");
}

TEST(ProductTest, ToolbarSlotsAreMenuSlotsPlus24) {
    ASSERT_EQ(MenuIconIds().size(), 22u);
    ASSERT_EQ(ToolbarIconIds().size(), MenuIconIds().size());
    for (size_t i = 0; i < MenuIconIds().size(); ++i) {
        EXPECT_STREQ(ToolbarIconIds()[i].first, MenuIconIds()[i].first);
        EXPECT_EQ(ToolbarIconIds()[i].second, MenuIconIds()[i].second + 24);
    }
    EXPECT_EQ(ToolbarIconIds().front().second, 29);
    EXPECT_EQ(ToolbarIconIds().back().second, 52);
    EXPECT_EQ(ButtonIconIds().size(), 3u);
}

}  // namespace
}  // namespace vantor
