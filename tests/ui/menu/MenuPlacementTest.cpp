#include "ui/menu/MenuPlacement.h"

#include <gtest/gtest.h>

namespace orb_comp {
namespace {

const ui::UiRect kArea(0, 0, 1000, 700);
const ui::UiSize kMenu(120, 80);

TEST(MenuPlacement, StaysInsideTheAreaAtEveryEdge)
{
    // Room everywhere: the top-left corner is the point.
    EXPECT_EQ(PlaceMenu({400, 300}, kMenu, kArea, kMenuBelow), ui::UiPoint(400, 300));
    // Bottom edge: opens upward from the point.
    EXPECT_EQ(PlaceMenu({400, 650}, kMenu, kArea, kMenuBelow), ui::UiPoint(400, 570));
    // Right edge: pushed left until its right side touches the edge.
    EXPECT_EQ(PlaceMenu({950, 300}, kMenu, kArea, kMenuBelow), ui::UiPoint(880, 300));
    // Bottom-right corner: both.
    EXPECT_EQ(PlaceMenu({999, 699}, kMenu, kArea, kMenuBelow), ui::UiPoint(880, 619));
    // Left and top edges (a point outside the area): pulled back in.
    EXPECT_EQ(PlaceMenu({-40, -30}, kMenu, kArea, kMenuBelow), ui::UiPoint(0, 0));
    // An area that does not start at 0 (a second monitor, a task bar on top).
    const ui::UiRect second(1000, 40, 1800, 600);
    EXPECT_EQ(PlaceMenu({1790, 20}, kMenu, second, kMenuBelow), ui::UiPoint(1680, 40));
}

TEST(MenuPlacement, OpensAboveOnlyWhereItFits)
{
    EXPECT_EQ(PlaceMenu({400, 300}, kMenu, kArea, kMenuAbove), ui::UiPoint(400, 220));
    EXPECT_EQ(PlaceMenu({400, 50}, kMenu, kArea, kMenuAbove), ui::UiPoint(400, 50));
    // Too tall for the area: it starts at the area's top.
    EXPECT_EQ(PlaceMenu({400, 300}, ui::UiSize(120, 900), kArea, kMenuBelow), ui::UiPoint(400, 0));
}

} // namespace
} // namespace orb_comp
