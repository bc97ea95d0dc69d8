#include "tests/ui/core/CoreTestSupport.h"

#include "tests/ui/core/TestControls.h"
#include "ui/core/Control.h"

namespace ui::test {

std::unique_ptr<TestWindow> TestWindow::Open(int width, int height, bool layered)
{
    auto window = std::make_unique<TestWindow>();
    HWND hwnd = window->Create(nullptr, L"test", WS_POPUP, 0, layered, UiRect(0, 0, width, height));
    if (hwnd == nullptr)
        return nullptr;
    window->Init(hwnd);
    return window;
}

void TestWindow::PaintNow()
{
    RECT client{};
    ::GetClientRect(GetHWND(), &client);
    Invalidate(UiRect(client.left, client.top, client.right, client.bottom));
    Paint();
}

std::unique_ptr<Control> TestForm::CreateControl(const std::wstring& className)
{
    if (className == L"TestButton")
        return std::make_unique<TestButton>();
    if (className == L"TestOption")
        return std::make_unique<TestOption>();
    return nullptr;
}

TestForm* TestForm::Open(const std::wstring& skinFile)
{
    auto* form = new TestForm(skinFile);
    // A failed creation deletes the form with its native window.
    if (form->Create(nullptr, L"KorVane test", WS_POPUP | WS_CLIPCHILDREN, 0) == nullptr)
        return nullptr;
    return form;
}

void PumpFor(int milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (static_cast<int>(::GetTickCount() - start) >= timeoutMs)
            return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

} // namespace ui::test
