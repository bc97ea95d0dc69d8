#include "ui/controls/ListBox.h"
#include "ui/controls/ListContainerElement.h"

#include "tests/ui/controls/ControlTestHost.h"

#include <gtest/gtest.h>

#include <string>

namespace ui {
namespace {

using test::ControlTestHost;
using test::EventLog;

// Ten entries of 20 pixels in a list 100 pixels high.
std::wstring TenEntries(const std::wstring& extra = std::wstring())
{
    std::wstring markup =
        L"<VListBox name=\"list\" width=\"100\" height=\"100\" vscrollbar=\"true\">";
    for (int i = 0; i < 10; ++i) {
        markup += L"<ListContainerElement name=\"e" + std::to_wstring(i) + L"\" height=\"20\"";
        if (i == 1)
            markup += extra;
        markup += L"/>";
    }
    return markup + L"</VListBox>";
}

class ListBoxTest : public ::testing::Test {
protected:
    explicit ListBoxTest(const std::wstring& extra = std::wstring()) : m_host(TenEntries(extra))
    {
        m_list = m_host.Find<ListBox>(L"list");
        m_log.Watch(*m_list);
        for (int i = 0; i < 10; ++i)
            m_log.Watch(*Entry(i));
    }

    ListContainerElement* Entry(int i)
    {
        return m_host.Find<ListContainerElement>(L"e" + std::to_wstring(i));
    }

    ControlTestHost m_host;
    ListBox* m_list = nullptr;
    EventLog m_log;
};

TEST_F(ListBoxTest, SelectingReportsTheNewAndThePreviousIndex)
{
    EXPECT_EQ(m_list->GetCurSel(), -1);
    EXPECT_TRUE(m_list->SelectItem(2));
    ASSERT_EQ(m_log.Count(kEventSelect, m_list), 1u);
    EXPECT_EQ(m_log.Entries().back().wParam, 2u);
    EXPECT_EQ(m_log.Entries().back().lParam, -1);
    EXPECT_TRUE(Entry(2)->IsSelected());

    m_log.Clear();
    m_list->SelectItem(5);
    EXPECT_EQ(m_list->GetCurSel(), 5);
    EXPECT_FALSE(Entry(2)->IsSelected());
    EXPECT_TRUE(Entry(5)->IsSelected());
    EXPECT_EQ(m_log.Count(kEventUnSelect, Entry(2)), 1u);
    EXPECT_EQ(m_log.Entries().back().type, kEventSelect);
    EXPECT_EQ(m_log.Entries().back().wParam, 5u);
    EXPECT_EQ(m_log.Entries().back().lParam, 2);
    // The list selects the entry; the entry does not report on its own.
    EXPECT_EQ(m_log.Count(kEventSelect, Entry(5)), 0u);
}

TEST_F(ListBoxTest, SelectingWithoutTriggerSendsNoSelect)
{
    m_list->SelectItem(3, false, false);
    EXPECT_EQ(m_list->GetCurSel(), 3);
    EXPECT_TRUE(Entry(3)->IsSelected());
    EXPECT_EQ(m_log.Count(kEventSelect), 0u);
}

TEST_F(ListBoxTest, AClickSelectsTheEntryAndAClickOnTheSelectedOneReportsAgain)
{
    m_host.Click(UiPoint(50, 30));
    EXPECT_EQ(m_list->GetCurSel(), 1);
    EXPECT_EQ(m_log.Count(kEventClick, Entry(1)), 1u);
    EXPECT_EQ(m_log.Count(kEventSelect, Entry(1)), 1u);
    ASSERT_EQ(m_log.Count(kEventSelect, m_list), 1u);

    m_log.Clear();
    m_host.Click(UiPoint(50, 30));
    EXPECT_TRUE(Entry(1)->IsSelected());
    ASSERT_EQ(m_log.Count(kEventSelect, m_list), 1u);
    EXPECT_EQ(m_log.Entries().back().wParam, 1u);
    EXPECT_EQ(m_log.Entries().back().lParam, 1);
    EXPECT_EQ(m_log.Count(kEventUnSelect), 0u);
}

TEST_F(ListBoxTest, RemovingAndAddingEntriesKeepsTheSelectionAndIndexes)
{
    m_list->SelectItem(4, false, false);
    ListContainerElement* four = Entry(4);
    ASSERT_TRUE(m_list->RemoveAt(1));
    EXPECT_EQ(m_list->GetCurSel(), 3);
    EXPECT_EQ(four->GetIndex(), 3);

    ASSERT_TRUE(m_list->AddAt(std::make_unique<ListContainerElement>(), 0));
    EXPECT_EQ(m_list->GetCurSel(), 4);
    EXPECT_EQ(four->GetIndex(), 4);
    auto* first = dynamic_cast<ListContainerElement*>(m_list->GetItemAt(0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetOwner(), m_list);

    ASSERT_TRUE(m_list->SetItemIndex(four, 0));
    EXPECT_EQ(m_list->GetCurSel(), 0);
    EXPECT_EQ(four->GetIndex(), 0);

    ASSERT_TRUE(m_list->RemoveAt(0));
    EXPECT_EQ(m_list->GetCurSel(), -1);
    m_list->SelectItem(2, false, false);
    m_list->RemoveAll();
    EXPECT_EQ(m_list->GetCurSel(), -1);
    EXPECT_FALSE(m_list->SelectItem(0));
}

TEST_F(ListBoxTest, TheSelectedEntryIsScrolledIntoView)
{
    m_host.Layout();
    m_list->SelectItem(8, false, false);
    EXPECT_EQ(m_list->GetScrollPos().cy, 80);
    const UiRect list = m_list->GetRect();
    const UiRect entry = Entry(8)->GetRect();
    EXPECT_GE(entry.top, list.top);
    EXPECT_LE(entry.bottom, list.bottom);
    m_list->SelectItem(0, false, false);
    EXPECT_EQ(m_list->GetScrollPos().cy, 0);
}

TEST_F(ListBoxTest, ASelectionBeforeTheFirstLayoutIsScrolledToAfterIt)
{
    auto* entry = new ListContainerElement;
    entry->SetFixedHeight(20, true, false);
    m_list->Add(std::unique_ptr<Control>(entry));
    m_list->SelectItem(10, false, false);
    m_host.Layout();
    EXPECT_EQ(m_list->GetScrollPos().cy, 120);
}

class ListBoxWithDisabledEntry : public ListBoxTest {
protected:
    ListBoxWithDisabledEntry() : ListBoxTest(L" enabled=\"false\"") {}
};

TEST_F(ListBoxWithDisabledEntry, ArrowKeysMoveTheSelectionPastDisabledEntries)
{
    EXPECT_FALSE(m_list->SelectItem(1));
    m_list->SelectItem(0, true, false);
    ASSERT_EQ(m_host.GetWindow().GetFocus(), Entry(0));
    m_host.KeyDown(VK_DOWN);
    EXPECT_EQ(m_list->GetCurSel(), 2);
    EXPECT_EQ(m_log.Entries().back().wParam, 2u);
    EXPECT_EQ(m_log.Entries().back().lParam, 0);
    m_host.KeyDown(VK_UP);
    EXPECT_EQ(m_list->GetCurSel(), 0);
    m_host.KeyDown(VK_END);
    EXPECT_EQ(m_list->GetCurSel(), 9);
    m_host.KeyDown(VK_HOME);
    EXPECT_EQ(m_list->GetCurSel(), 0);
    m_host.KeyDown(VK_UP);
    EXPECT_EQ(m_list->GetCurSel(), 0);
}

} // namespace
} // namespace ui
