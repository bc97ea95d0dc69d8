#include "ui/core/LayoutEngine.h"

#include "tests/ui/core/FakeLayoutItem.h"
#include "ui/core/AlignType.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace ui {
namespace {

class LayoutEngineTest : public ::testing::Test {
protected:
    FakeLayoutItem& Add(int32_t width = kSizeStretch, int32_t height = kSizeStretch)
    {
        FakeLayoutItem& item = m_storage.emplace_back();
        item.fixedWidth = width;
        item.fixedHeight = height;
        m_items.push_back(&item);
        return item;
    }
    UiSize Row(const UiRect& rect, int32_t childMargin = 0)
    {
        return LayoutEngine::ArrangeLinear(m_items, rect, childMargin, true);
    }
    UiSize Column(const UiRect& rect, int32_t childMargin = 0)
    {
        return LayoutEngine::ArrangeLinear(m_items, rect, childMargin, false);
    }

    std::deque<FakeLayoutItem> m_storage;
    std::vector<LayoutItem*> m_items;
};

TEST_F(LayoutEngineTest, StretchRemainderGoesToTheEarliestChildren)
{
    FakeLayoutItem& a = Add();
    FakeLayoutItem& b = Add();
    FakeLayoutItem& c = Add();
    Row(UiRect(0, 0, 100, 20));
    EXPECT_EQ(a.rect, UiRect(0, 0, 34, 20));
    EXPECT_EQ(b.rect, UiRect(34, 0, 67, 20));
    EXPECT_EQ(c.rect, UiRect(67, 0, 100, 20));

    // Two pixels over for three children: the first two get one each.
    m_storage[0].fixedWidth = kSizeStretch;
    Row(UiRect(10, 0, 111, 20));
    EXPECT_EQ(a.rect.Width(), 34);
    EXPECT_EQ(b.rect.Width(), 34);
    EXPECT_EQ(c.rect.Width(), 33);
    EXPECT_EQ(c.rect.right, 111);
}

TEST_F(LayoutEngineTest, StretchNeverNegativeWhileFixedChildrenOverflow)
{
    FakeLayoutItem& fixed1 = Add(80);
    FakeLayoutItem& stretch = Add();
    FakeLayoutItem& fixed2 = Add(80);
    const UiSize used = Row(UiRect(0, 0, 100, 10));
    EXPECT_EQ(fixed1.rect, UiRect(0, 0, 80, 10));
    EXPECT_EQ(stretch.rect, UiRect(80, 0, 80, 10));
    EXPECT_EQ(fixed2.rect, UiRect(80, 0, 160, 10));
    EXPECT_EQ(used, UiSize(160, 10));
}

TEST_F(LayoutEngineTest, AutoChildTakesItsEstimateBeforeTheShare)
{
    FakeLayoutItem& autoSized = Add(kSizeAuto, kSizeAuto);
    autoSized.content = UiSize(30, 12);
    FakeLayoutItem& stretch = Add();
    Row(UiRect(0, 0, 100, 20));
    EXPECT_EQ(autoSized.rect, UiRect(0, 0, 30, 12));
    EXPECT_EQ(stretch.rect, UiRect(30, 0, 100, 20));
    // The second pass offers what is left of the row.
    EXPECT_EQ(stretch.lastAvailable, UiSize(70, 20));
}

TEST_F(LayoutEngineTest, CentredAlignmentPutsTheOddPixelAfterwards)
{
    FakeLayoutItem& item = Add(10, 10);
    item.verAlign = kVerAlignCenter;
    Row(UiRect(0, 0, 10, 21));
    EXPECT_EQ(item.rect.top, 5);

    // With margins the row height is centred including them: (H + top - bottom - h) / 2.
    item.margin = UiRect(0, 4, 0, 1);
    Row(UiRect(0, 0, 10, 21));
    EXPECT_EQ(item.rect.top, (21 + 4 - 1 - 10) / 2);

    item.verAlign = kVerAlignBottom;
    Row(UiRect(0, 0, 10, 21));
    EXPECT_EQ(item.rect, UiRect(0, 10, 10, 20));

    // Columns align across: right and centre against the width.
    item.horAlign = kHorAlignRight;
    item.margin = UiRect(2, 0, 3, 0);
    Column(UiRect(0, 0, 31, 50));
    EXPECT_EQ(item.rect, UiRect(18, 0, 28, 10));
    item.horAlign = kHorAlignCenter;
    Column(UiRect(0, 0, 31, 50));
    EXPECT_EQ(item.rect.left, (31 + 2 - 3 - 10) / 2);
}

TEST_F(LayoutEngineTest, ChildMarginOnlyBetweenVisibleChildren)
{
    FakeLayoutItem& hiddenFirst = Add(10);
    hiddenFirst.visible = false;
    FakeLayoutItem& a = Add(10);
    FakeLayoutItem& hiddenMiddle = Add(10);
    hiddenMiddle.visible = false;
    FakeLayoutItem& b = Add(10);
    FakeLayoutItem& hiddenLast = Add(10);
    hiddenLast.visible = false;
    FakeLayoutItem& stretch = Add();
    const UiSize used = Row(UiRect(0, 0, 100, 10), 5);
    EXPECT_EQ(a.rect.left, 0);
    EXPECT_EQ(b.rect.left, 15);
    EXPECT_EQ(stretch.rect, UiRect(30, 0, 100, 10));
    EXPECT_EQ(used.cx, 100);
    // Invisible children are neither measured nor moved.
    EXPECT_EQ(hiddenMiddle.estimates, 0);
    EXPECT_EQ(hiddenMiddle.rect, UiRect(-1, -1, -1, -1));
}

TEST_F(LayoutEngineTest, FloatChildPlacedByItsOwnMarginAndAlignment)
{
    FakeLayoutItem& a = Add(40);
    FakeLayoutItem& floating = Add(20, 10);
    floating.floating = true;
    floating.margin = UiRect(5, 6, 7, 8);
    floating.horAlign = kHorAlignRight;
    floating.verAlign = kVerAlignBottom;
    FakeLayoutItem& b = Add();
    Row(UiRect(100, 100, 200, 150), 3);
    EXPECT_EQ(floating.rect, UiRect(173, 132, 193, 142));
    EXPECT_EQ(a.rect, UiRect(100, 100, 140, 150));
    EXPECT_EQ(b.rect, UiRect(143, 100, 200, 150));
}

TEST_F(LayoutEngineTest, MixerSliderPairSitsSideBySide)
{
    FakeLayoutItem& left = Add(15, 200);
    left.margin = UiRect(20, 6, 0, 0);
    FakeLayoutItem& right = Add(15, 200);
    right.margin = UiRect(0, 6, 0, 0);
    Row(UiRect(300, 50, 400, 300));
    EXPECT_EQ(left.rect, UiRect(320, 56, 335, 256));
    EXPECT_EQ(right.rect, UiRect(335, 56, 350, 256));
}

TEST_F(LayoutEngineTest, ClampingAppliesMinimumThenMaximum)
{
    FakeLayoutItem& item = Add();
    item.minWidth = 50;
    item.maxWidth = 40;
    item.maxHeight = 5;
    EXPECT_EQ(LayoutEngine::Clamp(item, UiSize(10, 30)), UiSize(40, 5));
    // A negative maximum ("stretch" written as a maximum) limits nothing in
    // either direction; it never produces a negative size.
    item.maxWidth = kSizeStretch;
    item.maxHeight = kSizeStretch;
    item.minWidth = -1;
    EXPECT_EQ(LayoutEngine::Clamp(item, UiSize(10, 30)), UiSize(10, 30));
}

TEST_F(LayoutEngineTest, FreePlacementRemeasuresTooWideTextAtTheAvailableWidth)
{
    FakeLayoutItem& text = Add(kSizeAuto, kSizeAuto);
    text.maxWidth = kSizeStretch;
    text.wraps = true;
    text.content = UiSize(250, 12);
    LayoutEngine::PlaceFloating(text, UiRect(0, 0, 100, 100));
    EXPECT_EQ(text.rect, UiRect(0, 0, 100, 36));
    EXPECT_EQ(text.fixedWidth, kSizeAuto);
}

TEST_F(LayoutEngineTest, StackedAndLinearEstimates)
{
    const UiRect padding(1, 2, 3, 4);
    EXPECT_EQ(LayoutEngine::EstimateStacked(m_items, UiSize(500, 500), padding), UiSize(4, 6));

    FakeLayoutItem& a = Add(30, 10);
    a.margin = UiRect(1, 1, 1, 1);
    FakeLayoutItem& b = Add(20, 40);
    FakeLayoutItem& floating = Add(300, 300);
    floating.floating = true;
    Add(99, 99).visible = false;
    EXPECT_EQ(LayoutEngine::EstimateStacked(m_items, UiSize(500, 500), padding), UiSize(304, 306));
    EXPECT_EQ(LayoutEngine::EstimateLinear(m_items, UiSize(500, 500), padding, 5, true),
              UiSize(61, 46));
    EXPECT_EQ(LayoutEngine::EstimateLinear(m_items, UiSize(500, 500), padding, 5, false),
              UiSize(36, 63));
    (void)b;
}

TEST_F(LayoutEngineTest, TilesShareLeftoverPixelsPerRow)
{
    std::vector<FakeLayoutItem*> tiles;
    for (int i = 0; i < 5; ++i)
        tiles.push_back(&Add(kSizeStretch, 10));
    int32_t columns = 3;
    const UiSize used =
        LayoutEngine::ArrangeTiles(m_items, UiRect(0, 0, 100, 100), 0, UiSize(), columns);
    EXPECT_EQ(tiles[0]->rect, UiRect(0, 0, 34, 10));
    EXPECT_EQ(tiles[1]->rect, UiRect(34, 0, 67, 10));
    EXPECT_EQ(tiles[2]->rect, UiRect(67, 0, 100, 10));
    EXPECT_EQ(tiles[3]->rect, UiRect(0, 10, 34, 20));
    EXPECT_EQ(tiles[4]->rect, UiRect(34, 10, 67, 20));
    EXPECT_EQ(used, UiSize(100, 20));

    // A tile width decides the column count and is remembered.
    LayoutEngine::ArrangeTiles(m_items, UiRect(0, 0, 100, 100), 0, UiSize(45, 15), columns);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(tiles[2]->rect, UiRect(0, 15, 50, 25));
    EXPECT_EQ(
        LayoutEngine::EstimateTiles(m_items, UiSize(100, 100), UiRect(), 2, UiSize(45, 15), 0),
        UiSize(92, 49));
}

} // namespace
} // namespace ui
