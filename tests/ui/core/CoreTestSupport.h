#pragma once

#include "ui/core/Window.h"
#include "ui/core/WindowImplBase.h"

#include <functional>
#include <memory>
#include <string>

namespace ui::test {

// A plain window for tests: a popup of the given client size with the
// test's root attached; no layout file.
class TestWindow : public Window {
public:
    std::wstring GetWindowClassName() const override { return L"KvCoreTestWindow"; }

    // layered: presented with UpdateLayeredWindow like skinned windows.
    static std::unique_ptr<TestWindow> Open(int width, int height, bool layered = false);
    // Lays out and paints now.
    void PaintNow();
};

// A window built from a layout of the test skin archive, as the program's
// windows are. "TestButton" elements become controls that keep clicks in
// the caption band.
class TestForm : public WindowImplBase {
public:
    explicit TestForm(std::wstring skinFile) : m_skinFile(std::move(skinFile)) {}

    std::wstring GetWindowClassName() const override { return L"KvCoreTestForm"; }
    std::wstring GetSkinFolder() override { return L"CoreTest"; }
    std::wstring GetSkinFile() override { return m_skinFile; }
    std::unique_ptr<Control> CreateControl(const std::wstring& className) override;

    // Creates the native window (hidden); null when the layout fails.
    static TestForm* Open(const std::wstring& skinFile);

private:
    std::wstring m_skinFile;
};

// Runs the thread's messages for the given time.
void PumpFor(int milliseconds);
// Runs messages until done() or the timeout; answers done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);

} // namespace ui::test
