#include "ui/core/Box.h"

#include "ui/core/AttributeText.h"
#include "ui/core/FindFlags.h"
#include "ui/core/Window.h"

#include <oleacc.h>

#include <algorithm>

namespace ui {

Box::Box(std::unique_ptr<Layout> layout) : m_layout(std::move(layout))
{
    m_layout->SetOwner(this);
}

Box::~Box()
{
    // Children that are not ours stay alive for whoever holds them.
    if (!m_autoDestroy) {
        for (std::unique_ptr<Control>& item : m_items)
            (void)item.release();
    }
}

void Box::SetWindow(Window* window)
{
    for (const std::unique_ptr<Control>& item : m_items)
        item->SetWindow(window);
    Control::SetWindow(window);
}

void Box::SetWindow(Window* window, Box* parent, bool init)
{
    for (const std::unique_ptr<Control>& item : m_items)
        item->SetWindow(window, this, init);
    Control::SetWindow(window, parent, init);
}

UiSize Box::EstimateSize(UiSize available)
{
    if (!IsAutoSized())
        return UiSize(m_fixedWidth, m_fixedHeight);
    if (!m_reEstimate)
        return m_estimatedSize;
    // A box of a fixed size offers its children that size.
    if (m_fixedWidth >= 0)
        available.cx = m_fixedWidth;
    if (m_fixedHeight >= 0)
        available.cy = m_fixedHeight;
    const UiRect padding = m_layout->GetPadding();
    const UiSize reduced(available.cx - padding.left - padding.right,
                         available.cy - padding.top - padding.bottom);
    const UiSize children = m_layout->EstimateChildrenSize(m_items, reduced);
    UiSize size(m_fixedWidth, m_fixedHeight);
    if (m_fixedWidth == kSizeAuto)
        size.cx = children.cx;
    if (m_fixedHeight == kSizeAuto)
        size.cy = children.cy;
    // An auto-sized child that still has to measure again keeps this box
    // measuring too.
    m_reEstimate = std::any_of(m_items.begin(), m_items.end(), [](const auto& item) {
        return item->IsVisible() && item->IsAutoSized() && item->NeedsReEstimate();
    });
    m_estimatedSize = size;
    return size;
}

void Box::SetRect(const UiRect& rect)
{
    Control::SetRect(rect);
    if (!m_items.empty())
        m_layout->ArrangeChildren(m_items, GetContentRect());
}

void Box::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    Control::SetVisible(visible);
    for (const std::unique_ptr<Control>& item : m_items)
        item->SetInheritedVisible(IsVisible());
}

void Box::SetInheritedVisible(bool visible)
{
    if (visible == m_inheritedVisible)
        return;
    Control::SetInheritedVisible(visible);
    for (const std::unique_ptr<Control>& item : m_items)
        item->SetInheritedVisible(IsVisible());
}

Control* Box::FindControl(const FindVisitor& visitor, UiPoint point, uint32_t flags)
{
    if ((flags & kFindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((flags & kFindEnabled) != 0 && !IsEnabled())
        return nullptr;
    const bool hitTest = (flags & kFindHitTest) != 0;
    if (hitTest) {
        if (!m_rect.Contains(point))
            return nullptr;
        if (!m_mouseChildEnabled)
            return Control::FindControl(visitor, point, flags);
    }
    if ((flags & kFindMeFirst) != 0) {
        if (Control* found = Control::FindControl(visitor, point, flags))
            return found;
    }
    const UiRect content = GetContentRect();
    const auto visit = [&](Control* item) -> Control* {
        Control* found = item->FindControl(visitor, point, flags);
        if (found != nullptr && (!hitTest || found->IsFloat() || content.Contains(point)))
            return found;
        return nullptr;
    };
    // Children may be removed by the visitor; walk by index.
    if ((flags & kFindTopFirst) != 0) {
        for (size_t i = m_items.size(); i-- > 0;) {
            if (i < m_items.size()) {
                if (Control* found = visit(m_items[i].get()))
                    return found;
            }
        }
    } else {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (Control* found = visit(m_items[i].get()))
                return found;
        }
    }
    if ((flags & kFindMeFirst) == 0)
        return Control::FindControl(visitor, point, flags);
    return nullptr;
}

void Box::DispatchEvent(const EventArgs& event)
{
    if (event.type < kEventNone) {
        HandleEvent(event);
        return;
    }
    if (event.sender == this && !RunEventHandlers(event))
        return;
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    for (const int32_t type : {static_cast<int32_t>(event.type), static_cast<int32_t>(kEventAll)}) {
        for (size_t i = 0;; ++i) {
            if (alive.expired())
                return;
            const auto found = m_bubbledEvents.find(type);
            if (found == m_bubbledEvents.end() || i >= found->second.size())
                break;
            const EventCallback callback = found->second[i];
            if (!callback(event))
                return;
        }
    }
    if (!alive.expired())
        HandleEvent(event);
}

void Box::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (m_layout->SetAttribute(name, value))
        return;
    if (name == L"mousechild")
        SetMouseChildEnabled(AttributeText::ParseBool(value));
    else
        Control::SetAttribute(name, value);
}

void Box::PaintChildren(IRenderContext& context, const UiRect& dirtyRect)
{
    if (!m_rect.Intersects(dirtyRect))
        return;
    for (const std::unique_ptr<Control>& item : m_items) {
        if (item->IsVisible())
            item->PaintWithAlpha(context, dirtyRect);
    }
}

void Box::ClearImageCache()
{
    Control::ClearImageCache();
    for (const std::unique_ptr<Control>& item : m_items)
        item->ClearImageCache();
}

void Box::RescaleDpi(int from, int to)
{
    Control::RescaleDpi(from, to);
    m_layout->RescaleDpi(from, to);
    for (const std::unique_ptr<Control>& item : m_items)
        item->RescaleDpi(from, to);
}

uint32_t Box::GetAccessRole() const
{
    return ROLE_SYSTEM_GROUPING;
}

std::wstring Box::DefaultAccessName() const
{
    std::wstring name = GetAccessGroupName();
    return name.empty() ? ReadableName() : name;
}

std::wstring Box::GetAccessGroupName() const
{
    if (m_accessName && !m_accessName->empty())
        return *m_accessName;
    std::wstring name = GetToolTipText();
    for (size_t i = 0; name.empty() && i < m_items.size(); ++i) {
        const Control* item = m_items[i].get();
        if (item->IsVisible() && item->IsAccessExposed() &&
            item->GetAccessRole() == ROLE_SYSTEM_STATICTEXT)
            name = item->GetAccessName();
    }
    return name;
}

int Box::FindSelectable(int index, bool forward) const
{
    const int count = static_cast<int>(m_items.size());
    for (int i = index; i >= 0 && i < count; i += forward ? 1 : -1) {
        const Control& item = *m_items[static_cast<size_t>(i)];
        if (item.IsVisible() && item.IsEnabled())
            return i;
    }
    return -1;
}

Control* Box::GetItemAt(size_t index) const
{
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

int Box::GetItemIndex(const Control* control) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == control)
            return static_cast<int>(i);
    }
    return -1;
}

bool Box::SetItemIndex(Control* control, size_t index)
{
    const int current = GetItemIndex(control);
    if (current < 0 || index >= m_items.size())
        return false;
    std::unique_ptr<Control> item = std::move(m_items[static_cast<size_t>(current)]);
    m_items.erase(m_items.begin() + current);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    Relayout();
    return true;
}

bool Box::Add(std::unique_ptr<Control> control)
{
    return AddAt(std::move(control), m_items.size());
}

bool Box::AddAt(std::unique_ptr<Control> control, size_t index)
{
    if (control == nullptr || index > m_items.size())
        return false;
    Control* item = control.get();
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), std::move(control));
    if (m_window != nullptr)
        m_window->InitControls(item, this);
    else
        item->SetWindow(nullptr, this, false);
    if (IsVisible())
        Relayout();
    else
        item->SetInheritedVisible(false);
    return true;
}

bool Box::Remove(Control* control)
{
    const int index = GetItemIndex(control);
    if (index < 0)
        return false;
    return RemoveAt(static_cast<size_t>(index));
}

bool Box::RemoveAt(size_t index)
{
    if (index >= m_items.size())
        return false;
    Relayout();
    std::unique_ptr<Control> item = std::move(m_items[index]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    ReleaseItem(std::move(item));
    return true;
}

void Box::RemoveAll()
{
    Items items = std::move(m_items);
    m_items.clear();
    for (std::unique_ptr<Control>& item : items)
        ReleaseItem(std::move(item));
    Relayout();
}

void Box::ReplaceLayout(std::unique_ptr<Layout> layout)
{
    if (layout == nullptr)
        return;
    m_layout = std::move(layout);
    m_layout->SetOwner(this);
    Relayout();
}

UiRect Box::GetContentRect() const
{
    UiRect content = m_rect;
    content.Deflate(m_layout->GetPadding());
    return content;
}

void Box::AddBubbledEventHandler(EventType type, EventCallback callback)
{
    m_bubbledEvents[type].push_back(std::move(callback));
}

void Box::ReleaseItem(std::unique_ptr<Control> item)
{
    if (m_window != nullptr)
        m_window->ReapObjects(item.get());
    if (!m_autoDestroy) {
        item->SetWindow(nullptr, nullptr, false);
        (void)item.release();
        return;
    }
    if (m_delayedDestroy && m_window != nullptr) {
        // Deleting now could pull the control out from under an event
        // handler that is still running on it.
        item->SetWindow(nullptr, nullptr, false);
        m_window->AddDelayedCleanup(std::move(item));
    }
}

} // namespace ui
