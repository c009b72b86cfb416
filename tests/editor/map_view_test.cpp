#include "editor/map_view.h"

#include <gtest/gtest.h>

namespace kxc2 {
namespace {

TEST(PixelToHexTest, Placeholder) {
  ViewState view;
  EXPECT_EQ(PixelToHex(view, 10, 10), (HexCoord{0, 0}));
}

}  // namespace
}  // namespace kxc2
