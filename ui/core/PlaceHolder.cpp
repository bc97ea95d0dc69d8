#include "ui/core/PlaceHolder.h"

#include "ui/core/Box.h"
#include "ui/core/Window.h"
#include "ui/markup/DpiManager.h"
#include "ui/render/IRenderContext.h"

namespace ui {

PlaceHolder::~PlaceHolder() = default;

void PlaceHolder::SetWindow(Window* window, Box* parent, bool init)
{
    m_window = window;
    m_parent = parent;
    if (init && parent != nullptr)
        Init();
}

void PlaceHolder::Init()
{
    if (m_inited)
        return;
    m_inited = true;
    OnInit();
}

UiSize PlaceHolder::EstimateSize(UiSize)
{
    return UiSize(m_fixedWidth, m_fixedHeight);
}

UiRect PlaceHolder::GetRect(bool unshifted) const
{
    UiRect rect = m_rect;
    if (!unshifted && m_window != nullptr) {
        const UiPoint offset = m_window->GetClientOffset();
        rect.Offset(-offset.x, -offset.y);
    }
    return rect;
}

void PlaceHolder::SetRect(const UiRect& rect)
{
    m_rect = rect;
    m_needsArrange = false;
}

void PlaceHolder::Relayout()
{
    if (IsAutoSized())
        RelayoutFromAncestor();
    else
        RelayoutSelf();
}

void PlaceHolder::RelayoutFromAncestor()
{
    m_reEstimate = true;
    Control* root = m_window != nullptr ? m_window->GetRoot() : nullptr;
    if (root == nullptr) {
        if (m_parent != nullptr)
            static_cast<PlaceHolder*>(m_parent)->RelayoutSelf();
        else
            RelayoutSelf();
        return;
    }
    // Auto-sized ancestors must measure again; the first one with a size of
    // its own lays its subtree out.
    for (PlaceHolder* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->m_parent) {
        if (!ancestor->IsAutoSized()) {
            ancestor->RelayoutSelf();
            return;
        }
        ancestor->m_reEstimate = true;
    }
    static_cast<PlaceHolder*>(root)->RelayoutSelf();
}

void PlaceHolder::Invalidate()
{
    if (!IsVisible())
        return;
    // A translucent or cached ancestor holds this control's pixels in its
    // own bitmap, which must be drawn again too.
    for (PlaceHolder* control = this; control != nullptr; control = control->m_parent)
        control->m_cacheDirty = true;
    if (m_window != nullptr)
        m_window->Invalidate(m_rect);
}

void PlaceHolder::RelayoutSelf()
{
    if (!IsVisible())
        return;
    m_reEstimate = true;
    m_needsArrange = true;
    Invalidate();
    if (m_window != nullptr)
        m_window->SetArrangeNeeded();
}

bool PlaceHolder::IsAncestorOf(const PlaceHolder* control) const
{
    for (; control != nullptr; control = control->m_parent) {
        if (control == this)
            return true;
    }
    return false;
}

void PlaceHolder::SetFixedWidthForEstimate(int32_t width, bool needDpiScale)
{
    m_fixedWidth = needDpiScale && width > 0 ? DpiScale(width) : width;
    m_reEstimate = true;
}

void PlaceHolder::SetFixedWidth(int32_t width, bool relayout, bool needDpiScale)
{
    if (width < 0 && width != kSizeStretch && width != kSizeAuto)
        return;
    if (needDpiScale && width > 0)
        width = DpiScale(width);
    if (width == m_fixedWidth)
        return;
    m_fixedWidth = width;
    if (relayout)
        RelayoutFromAncestor();
    else
        m_reEstimate = true;
}

void PlaceHolder::SetFixedHeight(int32_t height, bool relayout, bool needDpiScale)
{
    if (height < 0 && height != kSizeStretch && height != kSizeAuto)
        return;
    if (needDpiScale && height > 0)
        height = DpiScale(height);
    if (height == m_fixedHeight)
        return;
    m_fixedHeight = height;
    if (relayout)
        RelayoutFromAncestor();
    else
        m_reEstimate = true;
}

void PlaceHolder::SetMinWidth(int32_t width)
{
    if (width < 0 || width == m_minWidth)
        return;
    m_minWidth = width;
    RelayoutForLimits();
}

void PlaceHolder::SetMinHeight(int32_t height)
{
    if (height < 0 || height == m_minHeight)
        return;
    m_minHeight = height;
    RelayoutForLimits();
}

void PlaceHolder::SetMaxWidth(int32_t width)
{
    if (width == m_maxWidth)
        return;
    m_maxWidth = width;
    RelayoutForLimits();
}

void PlaceHolder::SetMaxHeight(int32_t height)
{
    if (height == m_maxHeight)
        return;
    m_maxHeight = height;
    RelayoutForLimits();
}

void PlaceHolder::SetFloat(bool isFloat)
{
    if (isFloat == m_float)
        return;
    m_float = isFloat;
    RelayoutFromAncestor();
}

int PlaceHolder::GetDpiScale() const
{
    return m_window != nullptr ? m_window->GetDpiScale()
                               : DpiManager::GetInstance().GetEffectiveScale();
}

void PlaceHolder::RescaleDpi(int from, int to)
{
    const auto rescale = [from, to](int32_t& value) {
        if (value > 0 && value != kSizeMax)
            value = DpiManager::Rescale(value, from, to);
    };
    for (int32_t* value :
         {&m_fixedWidth, &m_fixedHeight, &m_minWidth, &m_minHeight, &m_maxWidth, &m_maxHeight})
        rescale(*value);
    m_reEstimate = true;
    m_needsArrange = true;
    m_cacheDirty = true;
}

int32_t PlaceHolder::DpiScale(int32_t value) const
{
    return DpiManager::ScaleBy(value, GetDpiScale());
}

UiRect PlaceHolder::DpiScale(const UiRect& rect) const
{
    return UiRect(DpiScale(rect.left), DpiScale(rect.top), DpiScale(rect.right),
                  DpiScale(rect.bottom));
}

void PlaceHolder::RelayoutForLimits()
{
    if (m_float)
        Relayout();
    else
        RelayoutFromAncestor();
}

} // namespace ui
