#include "ui/core/Box.h"

#include "tests/ui/core/CoreTestSupport.h"
#include "tests/ui/core/TestControls.h"
#include "ui/core/HBox.h"
#include "ui/core/ScrollableBox.h"
#include "ui/core/TileBox.h"
#include "ui/core/VBox.h"
#include "ui/core/VLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace ui::test {
namespace {

template <typename T = Control>
T* AddChild(Box& box, std::unique_ptr<T> child = std::make_unique<T>())
{
    T* raw = child.get();
    EXPECT_TRUE(box.Add(std::move(child)));
    return raw;
}

TEST(BoxTest, RowsShareStretchSpaceAfterFixedAndAutoChildren)
{
    HBox row;
    std::vector<Control*> stretch;
    for (int i = 0; i < 3; ++i)
        stretch.push_back(AddChild(row));
    row.SetRect(UiRect(0, 0, 100, 20));
    EXPECT_EQ(stretch[0]->GetRect(), UiRect(0, 0, 34, 20));
    EXPECT_EQ(stretch[1]->GetRect(), UiRect(34, 0, 67, 20));
    EXPECT_EQ(stretch[2]->GetRect(), UiRect(67, 0, 100, 20));

    TextControl* text = AddChild(row, std::make_unique<TextControl>(UiSize(40, 8)));
    row.SetAttribute(L"childmargin", L"3");
    row.SetRect(UiRect(0, 0, 100, 20));
    EXPECT_EQ(text->GetRect(), UiRect(60, 0, 100, 8));
    EXPECT_EQ(stretch[0]->GetRect().Width(), 17);
    EXPECT_EQ(stretch[2]->GetRect().right, 57);
}

TEST(BoxTest, ColumnsPlaceBySizeMarginAndAlignment)
{
    VBox column;
    column.SetAttribute(L"padding", L"5,5,5,5");
    Control* top = AddChild(column);
    top->SetAttribute(L"height", L"20");
    Control* centred = AddChild(column);
    centred->SetAttribute(L"width", L"10");
    centred->SetAttribute(L"height", L"10");
    centred->SetAttribute(L"halign", L"center");
    centred->SetAttribute(L"margin", L"0,4,0,0");
    Control* floating = AddChild(column);
    floating->SetAttribute(L"float", L"true");
    floating->SetAttribute(L"width", L"8");
    floating->SetAttribute(L"height", L"8");
    floating->SetAttribute(L"margin", L"1,2,0,0");
    column.SetRect(UiRect(0, 0, 51, 100));
    EXPECT_EQ(top->GetRect(), UiRect(5, 5, 46, 25));
    EXPECT_EQ(centred->GetRect(), UiRect(5 + (41 - 10) / 2, 29, 5 + (41 - 10) / 2 + 10, 39));
    EXPECT_EQ(floating->GetRect(), UiRect(6, 7, 14, 15));
}

TEST(BoxTest, AutoSizedBoxMeasuresItsChildren)
{
    HBox outer;
    auto owned = std::make_unique<HBox>();
    HBox* inner = owned.get();
    outer.Add(std::move(owned));
    inner->SetAttribute(L"width", L"auto");
    inner->SetAttribute(L"height", L"auto");
    inner->SetAttribute(L"padding", L"2,3,4,5");
    inner->SetAttribute(L"childmargin", L"10");
    TextControl* first = AddChild(*inner, std::make_unique<TextControl>(UiSize(20, 7)));
    AddChild(*inner, std::make_unique<TextControl>(UiSize(30, 9)));
    EXPECT_EQ(inner->EstimateSize(UiSize(500, 500)), UiSize(2 + 20 + 10 + 30 + 4, 3 + 9 + 5));

    // A child that changes asks its auto-sized ancestors to measure again.
    first->textSize = UiSize(25, 7);
    first->RelayoutFromAncestor();
    EXPECT_TRUE(inner->NeedsReEstimate());
    EXPECT_EQ(inner->EstimateSize(UiSize(500, 500)).cx, 2 + 25 + 10 + 30 + 4);
}

TEST(BoxTest, ChildListOperations)
{
    Box box;
    EXPECT_FALSE(box.Add(nullptr));
    Control* a = AddChild(box);
    Control* c = AddChild(box);
    EXPECT_FALSE(box.AddAt(std::make_unique<Control>(), 3));
    auto owned = std::make_unique<Control>();
    Control* b = owned.get();
    EXPECT_TRUE(box.AddAt(std::move(owned), 1));
    EXPECT_EQ(box.GetItemAt(1), b);
    EXPECT_EQ(box.GetItemAt(3), nullptr);
    EXPECT_EQ(box.GetItemIndex(c), 2);
    Control stranger;
    EXPECT_EQ(box.GetItemIndex(&stranger), -1);
    EXPECT_FALSE(box.SetItemIndex(a, 3));
    EXPECT_TRUE(box.SetItemIndex(a, 2));
    EXPECT_EQ(box.GetItemAt(0), b);
    EXPECT_EQ(box.GetItemAt(2), a);
    EXPECT_EQ(a->GetParent(), &box);
    EXPECT_FALSE(box.Remove(&stranger));
    EXPECT_FALSE(box.RemoveAt(5));

    // Without auto destroy, removed children live on for their holder.
    box.SetAutoDestroy(false);
    const auto alive = a->GetWeakFlag();
    EXPECT_TRUE(box.Remove(a));
    EXPECT_FALSE(alive.expired());
    EXPECT_EQ(a->GetParent(), nullptr);
    delete a;
    box.SetAutoDestroy(true);
    box.RemoveAll();
    EXPECT_EQ(box.GetCount(), 0u);
}

TEST(BoxTest, RemovedControlsAreDeletedOnTheWindowsMessage)
{
    auto window = TestWindow::Open(50, 50);
    ASSERT_NE(window, nullptr);
    auto root = std::make_unique<HBox>();
    HBox* box = root.get();
    Control* child = AddChild(*box);
    child->SetAttribute(L"name", L"child");
    window->AttachRoot(std::move(root));
    window->PaintNow();
    EXPECT_EQ(window->FindControl(std::wstring(L"child")), child);
    ::SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ASSERT_EQ(window->GetHoverControl(), child);

    const auto alive = child->GetWeakFlag();
    EXPECT_TRUE(box->Remove(child));
    EXPECT_FALSE(alive.expired()) << "deletion waits for the window's message";
    EXPECT_EQ(window->FindControl(std::wstring(L"child")), nullptr);
    EXPECT_EQ(window->GetHoverControl(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return alive.expired(); }));
}

TEST(BoxTest, HidingABoxHidesItsChildrenAndReleasesTheFocus)
{
    auto window = TestWindow::Open(50, 50);
    ASSERT_NE(window, nullptr);
    auto root = std::make_unique<VBox>();
    auto owned = std::make_unique<HBox>();
    HBox* inner = owned.get();
    root->Add(std::move(owned));
    Control* child = AddChild(*inner);
    window->AttachRoot(std::move(root));
    child->SetFocus();
    ASSERT_EQ(window->GetFocus(), child);

    inner->SetVisible(false);
    EXPECT_FALSE(child->IsVisible());
    EXPECT_FALSE(child->IsInheritedVisible());
    EXPECT_EQ(window->GetFocus(), nullptr);
    inner->SetVisible(true);
    EXPECT_TRUE(child->IsVisible());

    // A child added to a hidden box is hidden with it.
    inner->SetVisible(false);
    Control* late = AddChild(*inner);
    EXPECT_FALSE(late->IsVisible());
}

TEST(BoxTest, SearchesVisitInTheirOrder)
{
    auto window = TestWindow::Open(100, 100);
    ASSERT_NE(window, nullptr);
    auto root = std::make_unique<Box>();
    Box* box = root.get();
    box->SetAttribute(L"name", L"twin");
    box->SetAttribute(L"padding", L"10,10,10,10");
    Control* under = AddChild(*box);
    Control* over = AddChild(*box);
    over->SetAttribute(L"name", L"twin");
    Control* floating = AddChild(*box);
    floating->SetAttribute(L"float", L"true");
    floating->SetAttribute(L"width", L"5");
    floating->SetAttribute(L"height", L"5");
    floating->SetAttribute(L"margin", L"-8,-8,0,0");
    window->AttachRoot(std::move(root));
    window->PaintNow();

    // Children register before their box: the first name stays.
    EXPECT_EQ(window->FindControl(std::wstring(L"twin")), over);
    EXPECT_EQ(window->FindControl(UiPoint(50, 50)), over);
    over->SetAttribute(L"visible", L"false");
    window->PaintNow();
    EXPECT_EQ(window->FindControl(UiPoint(50, 50)), under);
    // Children outside the content rectangle are found only when floating.
    EXPECT_EQ(window->FindControl(UiPoint(4, 4)), floating);
    EXPECT_EQ(window->FindControl(UiPoint(96, 96)), box);

    box->SetAttribute(L"mousechild", L"false");
    EXPECT_EQ(window->FindControl(UiPoint(50, 50)), box);
}

TEST(BoxTest, BubbledHandlersSeeDescendantEvents)
{
    VBox outer;
    auto owned = std::make_unique<HBox>();
    HBox* inner = owned.get();
    outer.Add(std::move(owned));
    Control* leaf = AddChild(*inner);
    std::vector<Control*> senders;
    int ownHandler = 0;
    outer.AddBubbledEventHandler(kEventAll, [&](const EventArgs& event) {
        senders.push_back(event.sender);
        return true;
    });
    outer.AddEventHandler(kEventValueChange, [&](const EventArgs&) {
        ++ownHandler;
        return true;
    });
    EventArgs event;
    event.type = kEventValueChange;
    event.sender = leaf;
    leaf->DispatchEvent(event);
    EXPECT_EQ(senders, std::vector<Control*>{leaf});
    EXPECT_EQ(ownHandler, 0) << "own handlers are for the box's own events";
    event.sender = &outer;
    outer.DispatchEvent(event);
    EXPECT_EQ(ownHandler, 1);
    EXPECT_EQ(senders.size(), 2u);
}

TEST(BoxTest, TilesAndScrolling)
{
    TileBox tiles;
    tiles.SetAttribute(L"itemsize", L"30,20");
    std::vector<Control*> items;
    for (int i = 0; i < 4; ++i)
        items.push_back(AddChild(tiles));
    tiles.SetRect(UiRect(0, 0, 70, 100));
    EXPECT_EQ(items[1]->GetRect(), UiRect(35, 0, 70, 20));
    EXPECT_EQ(items[2]->GetRect(), UiRect(0, 20, 35, 40));

    ScrollableBox list(std::make_unique<VLayout>());
    list.SetAttribute(L"vscrollbar", L"true");
    list.SetAttribute(L"vscrollunit", L"15");
    std::vector<Control*> rows;
    for (int i = 0; i < 10; ++i) {
        rows.push_back(AddChild(list));
        rows.back()->SetAttribute(L"height", L"20");
    }
    list.SetRect(UiRect(0, 0, 50, 50));
    EXPECT_EQ(list.GetScrollRange(), UiSize(0, 150));
    EXPECT_TRUE(list.IsVerticalScrollBarShown());
    EXPECT_EQ(rows[0]->GetRect().right, 50 - ScrollBar::kDefaultThickness);

    list.SetScrollPos(UiSize(0, 45));
    EXPECT_EQ(rows[2]->GetRect().top, 40 - 45);
    EventArgs key;
    key.type = kEventKeyDown;
    key.sender = &list;
    key.keyCode = VK_END;
    list.DispatchEvent(key);
    EXPECT_EQ(list.GetScrollPos().cy, 150);
    key.keyCode = VK_PRIOR;
    list.DispatchEvent(key);
    EXPECT_EQ(list.GetScrollPos().cy, 100);

    // The wheel moves one unit, animated.
    EventArgs wheel;
    wheel.type = kEventMouseScrollWheel;
    wheel.sender = &list;
    wheel.wParam = static_cast<uint64_t>(int64_t{120});
    list.DispatchEvent(wheel);
    EXPECT_TRUE(PumpUntil([&] { return list.GetScrollPos().cy == 85; }, 1000));
    wheel.wParam = static_cast<uint64_t>(int64_t{-120});
    list.DispatchEvent(wheel);
    list.DispatchEvent(wheel);
    EXPECT_TRUE(PumpUntil([&] { return list.GetScrollPos().cy == 115; }, 1000));
}

} // namespace
} // namespace ui::test
