// The settings window built from the real skin over the simulated
// interface, driven with window messages and checked against the
// simulator's journal.
#include "panel/SettingForm.h"

#include "tests/device/SimulatedDeviceTest.h"
#include "ui/controls/CComboWnd.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/Combo.h"
#include "ui/controls/ControlElements.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/ListContainerElement.h"
#include "ui/controls/RichEdit.h"
#include "ui/markup/GlobalManager.h"

#include <functional>
#include <string>

namespace {

using Journal = std::vector<std::wstring>;

// The skin of the source tree, read from disk.
void StartUi()
{
    static const bool started = [] {
        std::wstring root = KV_SOURCE_DIR L"/resources/";
        for (wchar_t& ch : root) {
            if (ch == L'/')
                ch = L'\\';
        }
        if (root.front() == L'\\')
            root = L"Z:" + root; // Wine's drive for the Unix root
        ui::GlobalManager::CloseArchive();
        ui::GlobalManager::Startup(root, {}, L"themes\\default", L"lang\\zh_CN");
        ui::RegisterControlElements();
        return true;
    }();
    (void)started;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        const bool finished = done();
        if (finished || ::GetTickCount() - start >= timeoutMs)
            return finished;
        ::Sleep(5);
    }
}

class SettingFormTest : public SimulatedDeviceTest {
protected:
    void Open(std::wstring_view configuration = {})
    {
        StartUi();
        Bind(configuration);
        ASSERT_EQ(0u, m_manager->OpenDevice());
        m_form = new SettingForm(*m_manager);
        m_hwnd = m_form->Create(nullptr, SettingForm::kClassName, WS_POPUP | WS_VISIBLE,
                                WS_EX_TOOLWINDOW, true, ui::UiRect(0, 0, 800, 572));
        ASSERT_NE(m_hwnd, nullptr);
        // Laid out by the first paint.
        ASSERT_TRUE(
            PumpUntil([this] { return !Find<ui::Combo>(L"combo_buffer")->GetRect().IsEmpty(); }));
        NewJournal();
    }
    void TearDown() override
    {
        if (m_hwnd != nullptr && ::IsWindow(m_hwnd))
            ::DestroyWindow(m_hwnd);
        SimulatedDeviceTest::TearDown();
    }

    template <typename T>
    T* Find(const wchar_t* name) const
    {
        return dynamic_cast<T*>(m_form->FindControl(std::wstring(name)));
    }
    std::wstring Text(const wchar_t* name) const { return Find<ui::RichEdit>(name)->GetText(); }
    // The calls of one entry point since the last look.
    Journal Sent(std::wstring_view entry)
    {
        Journal calls;
        for (std::wstring& line : NewJournal()) {
            if (line.rfind(entry, 0) == 0)
                calls.push_back(line);
        }
        return calls;
    }
    void Click(HWND hwnd, ui::UiPoint point)
    {
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    }
    void ClickControl(ui::Control* control)
    {
        const ui::UiRect rect = control->GetRect();
        Click(m_hwnd, ui::UiPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    }
    // Opens the combo and clicks its entry; the pop-up closes afterwards.
    void Pick(const wchar_t* comboName, int index)
    {
        auto* combo = Find<ui::Combo>(comboName);
        ClickControl(combo);
        ASSERT_NE(combo->GetDropWindow(), nullptr);
        ui::Control* entry = combo->GetItemAt(static_cast<size_t>(index));
        Click(combo->GetDropWindow()->GetHWND(),
              ui::UiPoint(entry->GetRect().left + 10, entry->GetRect().top + 10));
        ASSERT_TRUE(PumpUntil([combo] { return combo->GetDropWindow() == nullptr; }));
    }
    // Lets the notification that a change caused reach the window.
    void Settle()
    {
        PumpUntil([] { return false; }, 300);
    }

    SettingForm* m_form = nullptr;
    HWND m_hwnd = nullptr;
};

TEST_F(SettingFormTest, OpensWithEverythingReadFromTheDevice)
{
    Open(L"asio latency 256 256; driverinfo 1 2 3 5");
    EXPECT_EQ(Find<ui::Label>(L"samplerate_text")->GetText(), L"48K HZ");
    auto* buffer = Find<ui::Combo>(L"combo_buffer");
    ASSERT_EQ(buffer->GetCount(), 7u);
    EXPECT_EQ(buffer->GetCurSel(), 3);
    EXPECT_FALSE(Find<ui::CheckBox>(L"safe mode")->IsSelected());
    auto* input = Find<ui::Combo>(L"input format");
    ASSERT_EQ(input->GetCount(), 2u);
    EXPECT_EQ(input->GetCurSel(), 0);
    EXPECT_TRUE(input->IsEnabled());
    EXPECT_EQ(Find<ui::Combo>(L"output format")->GetCurSel(), 0);
    EXPECT_EQ(Text(L"asio_status"),
              L"Input Latency:256 samples(5.33ms)\n"
              L"Output Latency:256 samples(5.33ms)\nASIO active(PCM mode)");
    EXPECT_EQ(Text(L"device_info").find(L"VID/PID:      0x1209/0x4b56\nRevision:     V1.02\n"),
              Text(L"device_info").find(L"VID/PID"));
    EXPECT_EQ(Text(L"driver_info"), L"Version 1.2.3   ST \nDebug Build\n");
    EXPECT_EQ(m_manager->notifyWindows.Snapshot(), std::vector<HWND>{m_hwnd});

    // A change made elsewhere reaches the window as a notification.
    Control(L"rate 44100; asio latency 256 128");
    ASSERT_TRUE(
        PumpUntil([this] { return Find<ui::Label>(L"samplerate_text")->GetText() == L"44K HZ"; }));
    EXPECT_EQ(Text(L"asio_status"),
              L"Input Latency:256 samples(5.80ms)\n"
              L"Output Latency:128 samples(2.90ms)\nASIO active(PCM mode)");

    // The close button unsubscribes the window and closes it.
    ClickControl(m_form->FindControl(std::wstring(L"closebtn")));
    ASSERT_TRUE(PumpUntil([this] { return !::IsWindow(m_hwnd); }));
    EXPECT_TRUE(m_manager->notifyWindows.Snapshot().empty());
}

TEST_F(SettingFormTest, ABufferPickAndSafeModeSendTheSizeWithTheStoredOptions)
{
    Open(L"asio options 0x00000005");
    Pick(L"combo_buffer", 4);
    EXPECT_EQ(Sent(L"TUSBAUDIO_SetASIOBufferPreferredSize"),
              Journal({L"TUSBAUDIO_SetASIOBufferPreferredSize(0,1,512,0x00000005) = 0x00000000"}));
    Settle();
    EXPECT_EQ(Find<ui::Combo>(L"combo_buffer")->GetCurSel(), 4);

    // Safe mode alone sends the selected size again, with bit 16.
    ClickControl(Find<ui::CheckBox>(L"safe mode"));
    EXPECT_EQ(Sent(L"TUSBAUDIO_SetASIOBufferPreferredSize"),
              Journal({L"TUSBAUDIO_SetASIOBufferPreferredSize(0,1,512,0x00010005) = 0x00000000"}));
    Settle();
    EXPECT_TRUE(Find<ui::CheckBox>(L"safe mode")->IsSelected());
}

TEST_F(SettingFormTest, AnUnlistedSizeSelectsNothingAndOneFormatDisablesItsCombo)
{
    Open(L"asio size 100; formats in 7:24:2; format in 7");
    auto* buffer = Find<ui::Combo>(L"combo_buffer");
    EXPECT_EQ(buffer->GetCurSel(), -1);
    ClickControl(Find<ui::CheckBox>(L"safe mode"));
    EXPECT_TRUE(Find<ui::CheckBox>(L"safe mode")->IsSelected());
    EXPECT_TRUE(Sent(L"TUSBAUDIO_SetASIOBufferPreferredSize").empty());

    auto* input = Find<ui::Combo>(L"input format");
    EXPECT_EQ(input->GetCount(), 1u);
    EXPECT_EQ(input->GetCurSel(), 0);
    EXPECT_FALSE(input->IsEnabled());
    ClickControl(input);
    EXPECT_EQ(input->GetDropWindow(), nullptr);

    Pick(L"output format", 1);
    EXPECT_EQ(Sent(L"TUSBAUDIO_SetCurrentStreamFormat"),
              Journal({L"TUSBAUDIO_SetCurrentStreamFormat(1,0,4) = 0x00000000"}));
}

TEST_F(SettingFormTest, OnlyTheSizesTheRecordListsAreOffered)
{
    // A count above the seven sizes listed (the slots after them are zero)
    // and above the record's 40 slots: no entry of 0 samples to send.
    Open(L"asio count 41");
    auto* buffer = Find<ui::Combo>(L"combo_buffer");
    ASSERT_EQ(buffer->GetCount(), 7u);
    auto* last = dynamic_cast<ui::ListContainerElement*>(buffer->GetItemAt(6));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->GetText(), L"2048 samples");
    EXPECT_EQ(buffer->GetCurSel(), 3);

    std::wstring sizes;
    for (int i = 1; i <= 40; ++i)
        sizes += (i > 1 ? L"," : L"") + std::to_wstring(i * 32);
    Control(L"asio sizes " + sizes + L"; asio count 1000");
    ASSERT_TRUE(PumpUntil([this] { return !Sent(L"TUSBAUDIO_GetASIOInstanceInfo").empty(); }));
    Settle();
    EXPECT_EQ(buffer->GetCount(), 40u);
}

} // namespace
