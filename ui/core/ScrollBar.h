#pragma once

#include "ui/core/Control.h"

#include <cstdint>

namespace ui {

class ScrollableBox;

// A scroll bar of a scrollable box: two buttons, a rail and a thumb drawn
// from the "button1…", "button2…", "thumb…" and "rail…" state images.
// Pressing a button scrolls a line, the rail a page; the thumb drags.
class ScrollBar : public Control {
public:
    static constexpr int32_t kDefaultThickness = 10;
    static constexpr int32_t kMinThumbLength = 8;
    static constexpr int32_t kDefaultLineSize = 8;

    ScrollBar();

    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void SetRect(const UiRect& rect) override;
    void HandleEvent(const EventArgs& event) override;
    void PaintStateImages(IRenderContext& context) override;
    void RescaleDpi(int from, int to) override;
    bool NeedsButtonUpOnKillFocus() const override { return true; }
    bool IsAllowTabStop() const override { return false; }

    void SetOwner(ScrollableBox* owner) { m_owner = owner; }
    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    int64_t GetScrollRange() const { return m_range; }
    void SetScrollRange(int64_t range);
    int64_t GetScrollPos() const { return m_pos; }
    void SetScrollPos(int64_t pos);
    int32_t GetLineSize() const { return m_lineSize; }
    void SetLineSize(int32_t size) { m_lineSize = size; }
    const UiRect& GetThumbRect() const { return m_thumb; }

private:
    enum Part { kPartNone, kPartButton1, kPartButton2, kPartRail, kPartThumb };

    void ComputeParts();
    Part PartAt(UiPoint point) const;
    void ScrollOwnerTo(int64_t pos);
    int64_t PageSize() const;
    void PaintPart(IRenderContext& context, StateImageMap& images, const UiRect& rect, Part part);

    ScrollableBox* m_owner = nullptr;
    bool m_horizontal = false;
    bool m_showButton1 = true;
    bool m_showButton2 = true;
    int64_t m_range = 0;
    int64_t m_pos = 0;
    int32_t m_lineSize = kDefaultLineSize;
    UiRect m_button1;
    UiRect m_button2;
    UiRect m_thumb;
    Part m_pressed = kPartNone;
    Part m_hot = kPartNone;
    UiPoint m_dragStart;
    int64_t m_dragStartPos = 0;
    StateImageMap m_button1Images;
    StateImageMap m_button2Images;
    StateImageMap m_thumbImages;
    StateImageMap m_railImages;
};

} // namespace ui
