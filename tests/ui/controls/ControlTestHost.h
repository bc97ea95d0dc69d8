#pragma once

#include "ui/core/Control.h"
#include "ui/core/Window.h"
#include "ui/render/IRenderContext.h"

#include "tests/ui/render/RenderTestSupport.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace ui::test {

// A hidden native window holding a control tree built from inline markup,
// for driving controls through real window messages or direct events and
// looking at what they paint. The UI resources are started once per test
// program with the colours and fonts the tests name.
class ControlTestHost {
public:
    // The test skin's folder, the resource root of every window.
    static const std::wstring& SkinFolder();
    // A PNG of one colour (non-premultiplied ARGB) in the skin folder.
    static bool WriteImage(const std::wstring& name, int width, int height, uint32_t argb);

    // body: the controls inside the root VBox of a window width x height.
    explicit ControlTestHost(const std::wstring& body, int width = 300, int height = 300);
    ~ControlTestHost();

    Window& GetWindow() { return *m_window; }
    Control* Find(const std::wstring& name) const;
    template <typename T>
    T* Find(const std::wstring& name) const
    {
        return dynamic_cast<T*>(Find(name));
    }

    // Lays the tree out to the client rectangle.
    void Layout();
    // Lays out and paints everything into a fresh back buffer.
    const IRenderContext& Paint();
    Pixel PixelAt(int x, int y) const { return test::PixelAt(*m_canvas, x, y); }

    // Mouse and keyboard messages through the window's routing.
    void MouseDown(UiPoint point);
    void MouseMove(UiPoint point);
    void MouseUp(UiPoint point);
    void Click(UiPoint point);
    void Wheel(UiPoint point, int delta);
    void KeyDown(WPARAM key);
    // An event sent straight to a control, as the window would send it.
    static void Send(Control& control, EventType type, UiPoint point = UiPoint(),
                     uint64_t wParam = 0);

private:
    std::unique_ptr<Window> m_window;
    std::unique_ptr<IRenderContext> m_canvas;
    int m_width = 0;
    int m_height = 0;
};

// The events that controls raise about themselves, in order.
class EventLog {
public:
    struct Entry {
        EventType type = kEventNone;
        Control* sender = nullptr;
        uint64_t wParam = 0;
        int64_t lParam = 0;
    };

    void Watch(Control& control, std::initializer_list<EventType> types = {
                                     kEventClick, kEventSelect, kEventUnSelect, kEventValueChange});
    const std::vector<Entry>& Entries() const { return m_entries; }
    size_t Count(EventType type, const Control* sender = nullptr) const;
    void Clear() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
};

} // namespace ui::test
