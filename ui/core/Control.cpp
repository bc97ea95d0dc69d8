#include "ui/core/Control.h"

#include "ui/core/AlignType.h"
#include "ui/core/AnimationManager.h"
#include "ui/core/AttributeText.h"
#include "ui/core/Box.h"
#include "ui/core/DpiRescale.h"
#include "ui/core/FindFlags.h"
#include "ui/core/Window.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/ImageAnimation.h"
#include "ui/markup/ImageInfo.h"
#include "ui/markup/ImagePainter.h"
#include "ui/markup/TextEncoding.h"
#include "ui/render/IRenderContext.h"
#include "ui/render/IRenderFactory.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace ui {

namespace {

std::optional<ControlState> StateFromName(std::wstring_view name)
{
    if (name == L"normal")
        return kControlStateNormal;
    if (name == L"hot")
        return kControlStateHot;
    if (name == L"pushed")
        return kControlStatePushed;
    if (name == L"disabled")
        return kControlStateDisabled;
    return std::nullopt;
}

// "normalcolor", "hotimage", "forepushedimage": the state named between a
// prefix and a suffix.
std::optional<ControlState> StateBetween(std::wstring_view name, std::wstring_view prefix,
                                         std::wstring_view suffix)
{
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return std::nullopt;
    return StateFromName(name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()));
}

// Classes may name further classes; a class that (indirectly) names itself
// must not recurse without end.
int g_classDepth = 0;
constexpr int kMaxClassDepth = 8;

} // namespace

Control::Control()
    : m_bkAnimation(std::make_unique<ImageAnimation>([this] { Invalidate(); })),
      m_animation(std::make_unique<AnimationManager>(*this))
{
    m_toolTipWidth = DpiScale(kDefaultToolTipWidth);
}

Control::~Control()
{
    // The window must not keep pointing at a control that is gone.
    if (m_window != nullptr)
        m_window->ReapObjects(this);
}

ImageAttribute* Control::GetEstimateImage()
{
    if (!m_bkImage.imageName.empty())
        return &m_bkImage;
    return &m_images[kStateImageBk].Get(kControlStateNormal);
}

std::wstring Control::GetToolTipText() const
{
    if (m_toolTipText.empty() && !m_toolTipTextId.empty())
        return GlobalManager::GetLanguageStrings().GetStringById(m_toolTipTextId);
    return m_toolTipText;
}

std::string Control::GetUtf8ToolTipText() const
{
    return TextEncoding::WideToUtf8(GetToolTipText());
}

void Control::SetToolTipText(const std::wstring& text)
{
    m_toolTipText = AttributeText::ExpandLineBreaks(text);
}

void Control::SetUtf8ToolTipText(const std::string& text)
{
    SetToolTipText(TextEncoding::Utf8ToWide(text));
}

void Control::SetToolTipTextId(const std::wstring& id)
{
    m_toolTipTextId = id;
}

void Control::SetUtf8ToolTipTextId(const std::string& id)
{
    SetToolTipTextId(TextEncoding::Utf8ToWide(id));
}

void Control::SetToolTipWidth(int32_t width)
{
    m_toolTipWidth = DpiScale(width);
}

std::string Control::GetUtf8DataId() const
{
    return TextEncoding::WideToUtf8(m_dataId);
}

void Control::SetUtf8DataId(const std::string& id)
{
    SetDataId(TextEncoding::Utf8ToWide(id));
}

void Control::SetVisibleWithFade(bool visible)
{
    if (!m_animation->HasVisibleFade()) {
        SetVisible(visible);
        return;
    }
    if (visible)
        m_animation->Appear();
    else
        m_animation->Disappear();
}

void Control::SetInheritedVisible(bool visible)
{
    if (m_inheritedVisible == visible)
        return;
    if (!visible)
        Invalidate();
    m_inheritedVisible = visible;
    if (!IsVisible()) {
        if (m_window != nullptr && m_window->GetFocus() == this)
            m_window->SetFocus(nullptr);
        m_bkAnimation->Stop();
    }
}

void Control::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    const bool wasVisible = IsVisible();
    // The area it leaves must be painted again.
    if (wasVisible && !visible)
        Invalidate();
    m_visible = visible;
    m_focused = false;
    if (!IsVisible() && m_window != nullptr && m_window->GetFocus() == this)
        m_window->SetFocus(nullptr);
    if (wasVisible != IsVisible()) {
        RelayoutFromAncestor();
        NotifyAccess(IsVisible() ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
    }
    if (!IsVisible())
        m_bkAnimation->Stop();
}

void Control::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (enabled) {
        m_state = kControlStateNormal;
        m_hotAlpha = 0;
    } else {
        m_state = kControlStateDisabled;
    }
    Invalidate();
    NotifyAccess(EVENT_OBJECT_STATECHANGE);
}

void Control::SetFocus()
{
    if (m_noFocus)
        return;
    if (m_window != nullptr)
        m_window->SetFocus(this);
}

Control* Control::FindControl(const FindVisitor& visitor, UiPoint point, uint32_t flags)
{
    if ((flags & kFindVisible) != 0 && !IsVisible())
        return nullptr;
    if ((flags & kFindEnabled) != 0 && !IsEnabled())
        return nullptr;
    if ((flags & kFindHitTest) != 0 && (!m_mouseEnabled || !m_rect.Contains(point)))
        return nullptr;
    return visitor(this);
}

void Control::SetMargin(const UiRect& margin, bool needDpiScale)
{
    const UiRect scaled = needDpiScale ? DpiScale(margin) : margin;
    if (scaled == m_margin)
        return;
    m_margin = scaled;
    RelayoutFromAncestor();
}

void Control::RescaleDpi(int from, int to)
{
    PlaceHolder::RescaleDpi(from, to);
    m_margin = RescaleRect(m_margin, from, to);
    m_borderSize = DpiManager::Rescale(m_borderSize, from, to);
    m_sideBorders = RescaleRect(m_sideBorders, from, to);
    m_borderRound = RescaleSize(m_borderRound, from, to);
    m_renderOffset = RescalePoint(m_renderOffset, from, to);
    m_toolTipWidth = DpiManager::Rescale(m_toolTipWidth, from, to);
    // Destinations are parsed again at the new scale, and every image is
    // decoded again from the image set of the new scale.
    ClearImageCache();
    m_bkImage.SetImageString(m_bkImage.attributeString);
    for (auto& [type, images] : m_images)
        images.Reparse();
    Invalidate();
}

UiSize Control::EstimateTextSize(UiSize, bool&)
{
    return UiSize();
}

UiSize Control::EstimateSize(UiSize available)
{
    if (!IsAutoSized())
        return UiSize(m_fixedWidth, m_fixedHeight);
    if (!m_reEstimate)
        return m_estimatedSize;

    UiSize imageSize;
    if (ImageAttribute* image = GetEstimateImage()) {
        if (image->HasDest()) {
            // The image says how big the control is; a destination is
            // scaled already unless it says otherwise.
            SetFixedWidth(image->dest.Width(), true, !image->destScaled);
            SetFixedHeight(image->dest.Height(), true, !image->destScaled);
            return UiSize(m_fixedWidth, m_fixedHeight);
        }
        if (LoadAttributeImage(*image)) {
            // The size the skin's image has at this control's scale, whatever
            // scale the decoded image set was drawn for.
            const ImageInfo& info = *image->image;
            imageSize = UiSize(DpiScale(::MulDiv(info.width, 100, info.scale)),
                               DpiScale(::MulDiv(info.height, 100, info.scale)));
        }
    }
    m_reEstimate = false;
    bool reEstimate = false;
    const UiSize textSize = EstimateTextSize(available, reEstimate);
    if (reEstimate)
        m_reEstimate = true;
    UiSize size(m_fixedWidth, m_fixedHeight);
    if (m_fixedWidth == kSizeAuto)
        size.cx = std::max(imageSize.cx, textSize.cx);
    if (m_fixedHeight == kSizeAuto)
        size.cy = std::max(imageSize.cy, textSize.cy);
    m_estimatedSize = size;
    return size;
}

void Control::DispatchEvent(const EventArgs& event)
{
    if (event.type < kEventNone || event.sender != this) {
        HandleEvent(event);
        return;
    }
    if (RunEventHandlers(event))
        HandleEvent(event);
}

bool Control::RunEventHandlers(const EventArgs& event)
{
    const std::weak_ptr<obase::WeakFlag> alive = GetWeakFlag();
    // Handlers may add handlers or destroy the control: the list is looked
    // up again for every handler, and never after the control is gone.
    const auto run = [&](EventMap Control::*map, int32_t type) {
        for (size_t i = 0;; ++i) {
            if (alive.expired())
                return false;
            const auto found = (this->*map).find(type);
            if (found == (this->*map).end() || i >= found->second.size())
                return true;
            const EventCallback callback = found->second[i];
            if (!callback(event))
                return false;
        }
    };
    return run(&Control::m_markupEvents, event.type) && run(&Control::m_markupEvents, kEventAll) &&
           run(&Control::m_events, event.type) && run(&Control::m_events, kEventAll) &&
           !alive.expired();
}

bool Control::HasHotLook() const
{
    const auto hasHotImage = [this](StateImageType type) {
        const auto found = m_images.find(type);
        return found != m_images.end() && found->second.HasHotImage();
    };
    return m_colors.HasHotColor() || hasHotImage(kStateImageBk) || hasHotImage(kStateImageFore);
}

void Control::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"class") {
        if (g_classDepth >= kMaxClassDepth)
            return;
        ++g_classDepth;
        for (const std::wstring& className : AttributeText::SplitWords(value)) {
            std::wstring list = GlobalManager::GetClassAttributes(className);
            if (list.empty() && m_window != nullptr)
                list = m_window->GetClassAttributes(className);
            if (!list.empty())
                ApplyAttributes(list);
        }
        --g_classDepth;
    } else if (name == L"halign") {
        if (value == L"left")
            SetHorAlignType(kHorAlignLeft);
        else if (value == L"center")
            SetHorAlignType(kHorAlignCenter);
        else if (value == L"right")
            SetHorAlignType(kHorAlignRight);
    } else if (name == L"valign") {
        if (value == L"top")
            SetVerAlignType(kVerAlignTop);
        else if (value == L"center")
            SetVerAlignType(kVerAlignCenter);
        else if (value == L"bottom")
            SetVerAlignType(kVerAlignBottom);
    } else if (name == L"margin") {
        SetMargin(AttributeText::ParseRect(value), true);
    } else if (name == L"bkcolor" || name == L"bkcolor1") {
        SetBkColor(std::wstring(AttributeText::SkipLeadingBlanks(value)));
    } else if (name == L"bordersize") {
        if (value.find(L',') != std::wstring::npos)
            SetSideBorderSizes(DpiScale(AttributeText::ParseRect(value)));
        else
            SetBorderSize(DpiScale(AttributeText::ParseInt(value)));
    } else if (name == L"borderround") {
        const UiSize round = AttributeText::ParseSize(value);
        SetBorderRound(UiSize(DpiScale(round.cx), DpiScale(round.cy)));
    } else if (name == L"width" || name == L"height") {
        int32_t size = 0;
        bool scale = false;
        if (const auto keyword = AttributeText::ParseSizeKeyword(value)) {
            size = *keyword;
        } else {
            size = AttributeText::ParseInt(value);
            scale = size > 0;
        }
        if (name == L"width")
            SetFixedWidth(size, true, scale);
        else
            SetFixedHeight(size, true, scale);
    } else if (name == L"maxwidth" || name == L"maxheight") {
        const auto keyword = AttributeText::ParseSizeKeyword(value);
        const int32_t size = keyword ? *keyword : DpiScale(AttributeText::ParseInt(value));
        if (name == L"maxwidth")
            SetMaxWidth(size);
        else
            SetMaxHeight(size);
    } else if (name == L"minwidth") {
        SetMinWidth(DpiScale(AttributeText::ParseInt(value)));
    } else if (name == L"minheight") {
        SetMinHeight(DpiScale(AttributeText::ParseInt(value)));
    } else if (name == L"state") {
        if (const auto state = StateFromName(value)) {
            if (*state == kControlStateNormal)
                m_hotAlpha = 0;
            else if (*state == kControlStateHot)
                m_hotAlpha = 255;
            SetState(*state);
        }
    } else if (name == L"cursortype") {
        if (value == L"arrow")
            m_cursorType = kCursorArrow;
        else if (value == L"hand")
            m_cursorType = kCursorHand;
        else if (value == L"ibeam")
            m_cursorType = kCursorIbeam;
    } else if (name == L"renderoffset") {
        const UiPoint offset = AttributeText::ParsePoint(value);
        SetRenderOffset(UiPoint(DpiScale(offset.x), DpiScale(offset.y)));
    } else if (const auto colorState = StateBetween(name, L"", L"color")) {
        SetStateColor(*colorState, value);
    } else if (name == L"bordercolor") {
        SetBorderColor(value);
    } else if (name == L"leftbordersize" || name == L"topbordersize" ||
               name == L"rightbordersize" || name == L"bottombordersize") {
        UiRect sizes = m_sideBorders;
        const int32_t size = DpiScale(AttributeText::ParseInt(value));
        if (name == L"leftbordersize")
            sizes.left = size;
        else if (name == L"topbordersize")
            sizes.top = size;
        else if (name == L"rightbordersize")
            sizes.right = size;
        else
            sizes.bottom = size;
        SetSideBorderSizes(sizes);
    } else if (name == L"bkimage") {
        SetBkImage(value);
    } else if (name == L"name") {
        SetName(value);
    } else if (name == L"tooltiptext") {
        SetToolTipText(value);
    } else if (name == L"tooltiptextid") {
        SetToolTipTextId(value);
    } else if (name == L"dataid") {
        SetDataId(value);
    } else if (name == L"enabled") {
        SetEnabled(AttributeText::ParseBool(value));
    } else if (name == L"mouse") {
        SetMouseEnabled(AttributeText::ParseBool(value));
    } else if (name == L"keyboard") {
        SetKeyboardEnabled(AttributeText::ParseBool(value));
    } else if (name == L"visible") {
        SetVisible(AttributeText::ParseBool(value));
    } else if (name == L"fadevisible") {
        SetVisibleWithFade(AttributeText::ParseBool(value));
    } else if (name == L"float") {
        SetFloat(AttributeText::ParseBool(value));
    } else if (name == L"menu") {
        SetContextMenuEnabled(AttributeText::ParseBool(value));
    } else if (name == L"cache") {
        SetCacheEnabled(AttributeText::ParseBool(value));
    } else if (name == L"nofocus") {
        SetNoFocus();
    } else if (name == L"accessname") {
        m_accessName = value;
        NotifyAccess(EVENT_OBJECT_NAMECHANGE);
    } else if (name == L"focuscolor") {
        m_focusColor = std::wstring(AttributeText::SkipLeadingBlanks(value));
    } else if (name == L"focuswidth") {
        m_focusWidth = std::max(AttributeText::ParseInt(value), 0);
    } else if (name == L"focusinset") {
        m_focusInset = AttributeText::ParseInt(value);
    } else if (name == L"alpha") {
        SetAlpha(AttributeText::ParseInt(value));
    } else if (const auto imageState = StateBetween(name, L"", L"image")) {
        SetStateImage(kStateImageBk, *imageState, value);
    } else if (const auto foreState = StateBetween(name, L"fore", L"image")) {
        SetStateImage(kStateImageFore, *foreState, value);
    } else if (name == L"fadealpha") {
        m_animation->SetFade(kAnimationAlpha, AttributeText::ParseBool(value));
    } else if (name == L"fadehot") {
        SetHotFade(AttributeText::ParseBool(value));
    } else if (name == L"fadewidth") {
        m_animation->SetFade(kAnimationWidth, AttributeText::ParseBool(value));
    } else if (name == L"fadeheight") {
        m_animation->SetFade(kAnimationHeight, AttributeText::ParseBool(value));
    } else if (name == L"fadeinoutxfromleft") {
        m_animation->SetFade(kAnimationInoutXFromLeft, AttributeText::ParseBool(value));
    } else if (name == L"fadeinoutxfromright") {
        m_animation->SetFade(kAnimationInoutXFromRight, AttributeText::ParseBool(value));
    } else if (name == L"fadeinoutyfromtop") {
        m_animation->SetFade(kAnimationInoutYFromTop, AttributeText::ParseBool(value));
    } else if (name == L"fadeinoutyfrombottom") {
        m_animation->SetFade(kAnimationInoutYFromBottom, AttributeText::ParseBool(value));
    } else if (name == L"receivepointer") {
        m_receivePointer = AttributeText::ParseBool(value);
    }
}

void Control::ApplyAttributes(const std::wstring& list)
{
    AttributeText::ForEachPair(list, [this](const std::wstring& name, const std::wstring& value) {
        SetAttribute(name, value);
    });
}

void Control::PaintWithAlpha(IRenderContext& context, const UiRect& dirtyRect)
{
    if (m_alpha <= 0 || !m_rect.Intersects(dirtyRect))
        return;
    const bool rounded = m_borderRound.cx > 0 || m_borderRound.cy > 0;
    const bool clip = m_clipChildren || rounded;
    const auto setClip = [&](IRenderContext& target) {
        if (rounded)
            target.SetRoundClip(m_rect, m_borderRound.cx, m_borderRound.cy);
        else if (clip)
            target.SetClip(m_rect);
    };

    if (!m_bitmap && (m_alpha < 255 || m_cacheEnabled)) {
        if (IRenderFactory* factory = GlobalManager::GetRenderFactory())
            m_bitmap = factory->CreateRenderContext();
    }
    if ((m_alpha >= 255 && !m_cacheEnabled) || !m_bitmap) {
        setClip(context);
        PaintLayers(context, dirtyRect, true);
        if (clip)
            context.ClearClip();
        return;
    }

    const int width = m_rect.Width();
    const int height = m_rect.Height();
    if (m_bitmap->Resize(width, height, true))
        m_cacheDirty = true;
    // Translucent controls hold themselves and their children in the
    // bitmap; cached opaque ones only their own layers.
    const bool withChildren = m_alpha < 255;
    if (m_cacheDirty) {
        m_bitmap->Clear();
        m_bitmap->BeginDraw();
        m_bitmap->SetWindowOrg(UiPoint(m_rect.left, m_rect.top));
        setClip(*m_bitmap);
        PaintLayers(*m_bitmap, m_rect, withChildren);
        if (clip)
            m_bitmap->ClearClip();
        m_bitmap->EndDraw();
        m_cacheDirty = false;
    }
    context.AlphaBlend(m_rect.left, m_rect.top, width, height, m_bitmap->GetDC(), 0, 0, width,
                       height, static_cast<uint8_t>(std::min(m_alpha, 255)));
    if (!withChildren) {
        setClip(context);
        const UiPoint origin =
            context.OffsetWindowOrg(UiPoint(-m_renderOffset.x, -m_renderOffset.y));
        PaintChildren(context, dirtyRect);
        context.SetWindowOrg(origin);
        if (clip)
            context.ClearClip();
    }
}

void Control::PaintLayers(IRenderContext& context, const UiRect& dirtyRect, bool withChildren)
{
    const bool shifted = m_renderOffset.x != 0 || m_renderOffset.y != 0;
    UiPoint origin;
    UiRect dirty = dirtyRect;
    if (shifted) {
        origin = context.OffsetWindowOrg(UiPoint(-m_renderOffset.x, -m_renderOffset.y));
        dirty.Offset(-m_renderOffset.x, -m_renderOffset.y);
    }
    Paint(context, dirty);
    if (withChildren)
        PaintChildren(context, dirty);
    if (shifted)
        context.SetWindowOrg(origin);
}

void Control::Paint(IRenderContext& context, const UiRect& dirtyRect)
{
    m_paintRect = m_rect;
    if (!m_paintRect.Intersect(dirtyRect))
        return;
    PaintBkColor(context);
    PaintBkImage(context);
    PaintStateColors(context);
    PaintStateImages(context);
    PaintText(context);
    PaintBorder(context);
}

bool Control::LoadAttributeImage(ImageAttribute& image)
{
    return ImagePainter::LoadAttributeImage(image, GetWindowResourcePath());
}

void Control::ClearBkImageCache()
{
    m_bkAnimation->Stop();
    m_bkImage.image.reset();
}

void Control::ClearImageCache()
{
    ClearBkImageCache();
    for (auto& [type, images] : m_images)
        images.ClearCache();
}

void Control::HandleEvent(const EventArgs& event)
{
    if (!m_mouseEnabled && IsMouseEvent(event.type)) {
        if (m_parent != nullptr)
            m_parent->DispatchEvent(event);
        return;
    }
    switch (event.type) {
    case kEventSetCursor: {
        LPCWSTR cursor = IDC_ARROW;
        if (m_cursorType == kCursorHand && IsEnabled())
            cursor = IDC_HAND;
        else if (m_cursorType == kCursorIbeam)
            cursor = IDC_IBEAM;
        ::SetCursor(::LoadCursorW(nullptr, cursor));
        return;
    }
    case kEventInternalSetFocus:
        m_hotAlpha = 255;
        m_state = kControlStateHot;
        m_focused = true;
        Invalidate();
        return;
    case kEventInternalKillFocus:
        // A disabled control keeps its disabled look until it is enabled.
        m_hotAlpha = 0;
        m_state = IsEnabled() ? kControlStateNormal : kControlStateDisabled;
        m_focused = false;
        Invalidate();
        return;
    case kEventInternalMenu:
        if (IsEnabled() && m_contextMenuUsed) {
            EventArgs menu;
            menu.type = kEventMouseMenu;
            menu.sender = this;
            menu.timestamp = ::GetTickCount();
            menu.mousePoint = m_window != nullptr ? m_window->GetLastMousePos() : UiPoint();
            menu.wParam = event.wParam;
            menu.lParam = event.lParam;
            DispatchEvent(menu);
        }
        return;
    case kEventMouseEnter:
        // From a descendant: only while the mouse is still over this control.
        if (event.sender != this && m_window != nullptr &&
            !IsAncestorOf(m_window->GetHoverControl()))
            return;
        OnMouseEnter(event);
        return;
    case kEventMouseLeave:
        if (event.sender != this && m_window != nullptr &&
            IsAncestorOf(m_window->GetHoverControl()))
            return;
        OnMouseLeave(event);
        return;
    case kEventMouseButtonDown:
    case kEventInternalDoubleClick:
        OnButtonDown(event);
        return;
    case kEventMouseButtonUp:
        OnButtonUp(event);
        return;
    case kEventPointDown:
        if (m_receivePointer) {
            OnButtonDown(event);
            return;
        }
        break;
    case kEventPointUp:
        if (m_receivePointer) {
            OnButtonUp(event);
            return;
        }
        break;
    default:
        break;
    }
    if (m_parent != nullptr)
        m_parent->DispatchEvent(event);
}

bool Control::OnMouseEnter(const EventArgs&)
{
    if (!IsEnabled() || m_state != kControlStateNormal)
        return false;
    m_state = kControlStateHot;
    if (HasHotLook()) {
        if (HasHotFade())
            m_animation->MouseEnter();
        else
            Invalidate();
    }
    return true;
}

bool Control::OnMouseLeave(const EventArgs&)
{
    if (!IsEnabled() || m_state != kControlStateHot)
        return false;
    m_state = kControlStateNormal;
    if (HasHotLook()) {
        if (HasHotFade())
            m_animation->MouseLeave();
        else
            Invalidate();
    }
    return true;
}

bool Control::OnButtonDown(const EventArgs&)
{
    if (!IsEnabled())
        return false;
    m_state = kControlStatePushed;
    m_mouseFocused = true;
    Invalidate();
    return true;
}

bool Control::OnButtonUp(const EventArgs& event)
{
    if (!m_mouseFocused)
        return false;
    m_mouseFocused = false;
    m_animation->MouseUp();
    Invalidate();
    if (!IsEnabled()) {
        // Disabled while pressed: no click, and the disabled look stays.
        m_state = kControlStateDisabled;
        m_hotAlpha = 0;
        return false;
    }
    if (!m_rect.Contains(event.mousePoint)) {
        m_state = kControlStateNormal;
        m_hotAlpha = 0;
        return false;
    }
    if (event.type == kEventMouseButtonUp) {
        m_state = kControlStateHot;
        m_hotAlpha = 255;
    } else {
        m_state = kControlStateNormal;
        m_hotAlpha = 0;
    }
    Activate();
    return true;
}

void Control::PaintBkColor(IRenderContext& context)
{
    if (m_bkColor.empty())
        return;
    const uint32_t color = GlobalManager::GetTextColor(m_bkColor);
    if (color == 0)
        return;
    // An opaque colour only needs the part being painted.
    context.FillRect((color >> 24) == 0xFF ? m_paintRect : m_rect, color, 255);
}

void Control::PaintBkImage(IRenderContext& context)
{
    DrawImage(context, m_bkImage);
}

void Control::PaintStateColors(IRenderContext& context)
{
    m_colors.Paint(context, m_paintRect, m_state, m_hotAlpha, HasHotFade());
}

void Control::PaintStateImages(IRenderContext& context)
{
    m_images[kStateImageBk].Paint(*this, context, m_state, m_hotAlpha, HasHotFade());
    m_images[kStateImageFore].Paint(*this, context, m_state, m_hotAlpha, HasHotFade());
}

UiRect Control::GetFocusRingRect() const
{
    if (m_focusColor.empty())
        return UiRect();
    UiRect ring = m_rect;
    const int32_t outset = -DpiScale(m_focusInset);
    ring.Inflate(outset, outset);
    return ring;
}

void Control::PaintFocusRing(IRenderContext& context) const
{
    const uint32_t argb = GlobalManager::GetTextColor(m_focusColor);
    const UiRect ring = GetFocusRingRect();
    const int32_t width = DpiScale(m_focusWidth);
    if (argb == 0 || width <= 0 || ring.IsEmpty())
        return;
    // Four bands rather than a pen: whole pixels at any width, with no
    // anti-aliased edge bleeding into the control.
    const int32_t w = std::min({width, ring.Width() / 2, ring.Height() / 2});
    context.FillRect(UiRect(ring.left, ring.top, ring.right, ring.top + w), argb, 255);
    context.FillRect(UiRect(ring.left, ring.bottom - w, ring.right, ring.bottom), argb, 255);
    context.FillRect(UiRect(ring.left, ring.top + w, ring.left + w, ring.bottom - w), argb, 255);
    context.FillRect(UiRect(ring.right - w, ring.top + w, ring.right, ring.bottom - w), argb, 255);
}

void Control::PaintBorder(IRenderContext& context)
{
    if (m_borderColor.empty() || !BorderMeets(m_paintRect))
        return;
    const uint32_t color = GlobalManager::GetTextColor(m_borderColor);
    const UiRect& sides = m_sideBorders;
    if (sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0) {
        const UiRect& r = m_rect;
        if (sides.left > 0) {
            const int x = r.left + sides.left / 2;
            context.DrawLine(UiRect(x, r.top, x, r.bottom - (sides.left == 1 ? 1 : 0)), sides.left,
                             color);
        }
        if (sides.top > 0) {
            const int y = r.top + sides.top / 2;
            context.DrawLine(UiRect(r.left, y, r.right - (sides.top == 1 ? 1 : 0), y), sides.top,
                             color);
        }
        if (sides.right > 0) {
            const int x = r.right - (sides.right + 1) / 2;
            context.DrawLine(UiRect(x, r.top, x, r.bottom - (sides.right == 1 ? 1 : 0)),
                             sides.right, color);
        }
        if (sides.bottom > 0) {
            const int y = r.bottom - (sides.bottom + 1) / 2;
            context.DrawLine(UiRect(r.left, y, r.right - (sides.bottom == 1 ? 1 : 0), y),
                             sides.bottom, color);
        }
        return;
    }
    if (m_borderSize < 1)
        return;
    const int half = m_borderSize / 2;
    const int odd = m_borderSize % 2;
    const UiRect rect(m_rect.left + half, m_rect.top + half, m_rect.right - half - odd,
                      m_rect.bottom - half - odd);
    if (m_borderRound.cx > 0 || m_borderRound.cy > 0)
        context.DrawRoundRect(rect, m_borderRound, m_borderSize, color);
    else
        context.DrawRect(rect, m_borderSize, color);
}

bool Control::BorderMeets(const UiRect& area) const
{
    // The border runs along the edges, a rounded one reaching in by its
    // rounding and anti-aliasing by a pixel more. A paint inside what it
    // leaves free (a fader's inside a bordered window) draws none of it, and
    // stroking the whole outline would cost more than the rest of the paint.
    const UiRect& sides = m_sideBorders;
    const int width = std::max({m_borderSize, sides.left, sides.top, sides.right, sides.bottom});
    const int reach = width + std::max(m_borderRound.cx, m_borderRound.cy) + 2;
    UiRect inside = m_rect;
    inside.Deflate(UiRect(reach, reach, reach, reach));
    return area.left < inside.left || area.top < inside.top || area.right > inside.right ||
           area.bottom > inside.bottom;
}

void Control::AddEventHandler(EventType type, EventCallback callback)
{
    m_events[type].push_back(std::move(callback));
}

void Control::AddMarkupEventHandler(EventType type, EventCallback callback)
{
    m_markupEvents[type].push_back(std::move(callback));
}

bool Control::DrawImage(IRenderContext& context, ImageAttribute& image, const std::wstring& modify,
                        int fade)
{
    ImageAnimation* animation =
        (&image == &m_bkImage && m_imageAnimationRunning) ? m_bkAnimation.get() : nullptr;
    return ImagePainter::DrawImage(context, image, m_rect, m_paintRect, GetWindowResourcePath(),
                                   modify, fade < 0 ? ImagePainter::kAttributeFade : fade,
                                   animation);
}

void Control::SetState(ControlState state)
{
    m_state = state;
    Invalidate();
}

void Control::SetAlpha(int32_t alpha)
{
    m_alpha = alpha;
    Invalidate();
}

void Control::SetHotAlpha(int32_t alpha)
{
    m_hotAlpha = alpha;
    Invalidate();
}

void Control::SetRenderOffset(UiPoint offset)
{
    m_renderOffset = offset;
    Invalidate();
}

void Control::SetBkColor(const std::wstring& color)
{
    if (color == m_bkColor)
        return;
    m_bkColor = color;
    Invalidate();
}

void Control::SetStateColor(ControlState state, const std::wstring& color)
{
    if (!m_colors.Set(state, color))
        return;
    if (state == kControlStateHot)
        SetHotFade(true);
    Invalidate();
}

void Control::SetBkImage(const std::wstring& image)
{
    m_bkAnimation->Stop();
    m_bkImage.SetImageString(image);
    m_imageAnimationRunning = m_bkImage.playCount != 0;
    if (IsAutoSized())
        RelayoutFromAncestor();
    else
        Invalidate();
}

void Control::SetStateImage(StateImageType type, ControlState state, const std::wstring& image)
{
    m_images[type].Set(state, image);
    if (state == kControlStateHot)
        SetHotFade(true);
    if (type == kStateImageBk && IsAutoSized())
        RelayoutFromAncestor();
    else
        Invalidate();
}

void Control::SetBorderColor(const std::wstring& color)
{
    m_borderColor = color;
    Invalidate();
}

void Control::SetBorderSize(int32_t size)
{
    m_borderSize = size;
    m_sideBorders = UiRect();
    Invalidate();
}

void Control::SetSideBorderSizes(const UiRect& sizes)
{
    m_sideBorders = sizes;
    Invalidate();
}

void Control::SetBorderRound(UiSize round)
{
    m_borderRound = round;
    Invalidate();
}

bool Control::HasHotFade() const
{
    return m_animation->GetPlayer(kAnimationHot) != nullptr;
}

void Control::SetHotFade(bool enabled)
{
    m_animation->SetFade(kAnimationHot, enabled);
}

const std::wstring& Control::GetWindowResourcePath() const
{
    static const std::wstring kNone;
    return m_window != nullptr ? m_window->GetWindowResourcePath() : kNone;
}

} // namespace ui
