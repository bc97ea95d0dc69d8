#pragma once

#include "ui/core/Control.h"
#include "ui/core/Layout.h"

#include <memory>
#include <vector>

namespace ui {

// A control with an ordered list of children (paint and layout order) and
// the layout that places them. Children are owned while auto destroy is on;
// removing them during event handling defers their deletion to the window.
class Box : public Control {
public:
    using Items = Layout::Items;

    explicit Box(std::unique_ptr<Layout> layout = std::make_unique<Layout>());
    ~Box() override;

    void SetWindow(Window* window) override;
    void SetWindow(Window* window, Box* parent, bool init) override;
    UiSize EstimateSize(UiSize available) override;
    void SetRect(const UiRect& rect) override;
    void SetVisible(bool visible) override;
    void SetInheritedVisible(bool visible) override;
    Control* FindControl(const FindVisitor& visitor, UiPoint point, uint32_t flags) override;
    void DispatchEvent(const EventArgs& event) override;
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void PaintChildren(IRenderContext& context, const UiRect& dirtyRect) override;
    void ClearImageCache() override;
    void RescaleDpi(int from, int to) override;
    // Containers are not tab stops; the controls in them are.
    bool IsAllowTabStop() const override { return false; }
    uint32_t GetAccessRole() const override;
    // The group's name, else its skin name.
    std::wstring DefaultAccessName() const override;
    // The name the box gives the controls inside it: its "accessname", its
    // tool tip or the first text inside it (a mixer strip is named by its
    // caption); empty when it has none.
    std::wstring GetAccessGroupName() const;

    // The first index from `index` on (or back) whose child can be chosen,
    // -1 when there is none.
    virtual int FindSelectable(int index, bool forward) const;
    virtual Control* GetItemAt(size_t index) const;
    virtual int GetItemIndex(const Control* control) const;
    virtual bool SetItemIndex(Control* control, size_t index);
    virtual size_t GetCount() const { return m_items.size(); }
    virtual bool Add(std::unique_ptr<Control> control);
    virtual bool AddAt(std::unique_ptr<Control> control, size_t index);
    virtual bool Remove(Control* control);
    virtual bool RemoveAt(size_t index);
    virtual void RemoveAll();
    virtual bool IsAutoDestroy() const { return m_autoDestroy; }
    virtual void SetAutoDestroy(bool autoDestroy) { m_autoDestroy = autoDestroy; }
    virtual bool IsDelayedDestroy() const { return m_delayedDestroy; }
    virtual void SetDelayedDestroy(bool delayed) { m_delayedDestroy = delayed; }
    virtual bool IsMouseChildEnabled() const { return m_mouseChildEnabled; }
    virtual void SetMouseChildEnabled(bool enabled) { m_mouseChildEnabled = enabled; }
    virtual Layout& GetLayout() const { return *m_layout; }
    virtual void ReplaceLayout(std::unique_ptr<Layout> layout);
    virtual UiRect GetContentRect() const;

    // Handlers for this box's events and for those bubbling up from inside.
    void AddBubbledEventHandler(EventType type, EventCallback callback);

protected:
    // Takes a child out of the window's bookkeeping and disposes of it as
    // the destroy flags say.
    void ReleaseItem(std::unique_ptr<Control> item);

    std::unique_ptr<Layout> m_layout;
    Items m_items;
    bool m_autoDestroy = true;
    bool m_delayedDestroy = true;
    bool m_mouseChildEnabled = true;
    EventMap m_bubbledEvents;
};

} // namespace ui
