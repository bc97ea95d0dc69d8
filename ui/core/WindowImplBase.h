#pragma once

#include "ui/core/IUIMessageFilter.h"
#include "ui/core/Window.h"

#include <memory>
#include <string>

namespace ui {

struct EventArgs;

// What every skinned application window shares: its content built from a
// skin layout file, the borderless frame (caption dragging, resize borders,
// rounded corners, minimum and maximum sizes), the drop shadow and the
// caption buttons "closebtn", "minbtn", "maxbtn" and "restorebtn".
// Objects are made with new and delete themselves with their native window.
class WindowImplBase : public Window, public IUIMessageFilter {
public:
    // The layout path relative to the resource root is folder + file.
    virtual std::wstring GetSkinFolder() = 0;
    virtual std::wstring GetSkinFile() = 0;
    // Controls of element names the builder does not know.
    virtual std::unique_ptr<Control> CreateControl(const std::wstring& className);
    // Called once the content is attached.
    virtual void InitWindow() {}
    // The current style without the caption.
    virtual LONG GetStyle();
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    virtual bool OnButtonClick(const EventArgs& event);
    // Restores a minimised window, shows a hidden one, brings it forward.
    virtual void ActivateWindow();
    void SetTaskbarTitle(const std::wstring& title);

    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnFinalMessage(HWND hwnd) override;

protected:
    ~WindowImplBase() override = default;

    virtual LRESULT OnCreate();
    LRESULT OnNcHitTest(LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO& info);
    void OnWindowPosChanging(WINDOWPOS& position);
    void UpdateRegion();
};

} // namespace ui
