#include "tests/panel/MainFormTestHost.h"

#include <gtest/gtest.h>

#include <mutex>

#include "base/ThreadRegistry.h"
#include "device/DeviceManager.h"
#include "panel/MainForm.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/controls/Slider.h"
#include "ui/controls/SliderGeometry.h"

SimTestEnvironment& MainFormTestHost::Sim()
{
    static SimTestEnvironment* const sim = [] {
        auto* environment = new SimTestEnvironment();
        DeviceManager::GetInstance()->api.Load(SimTestEnvironment::LibraryPath());
        return environment;
    }();
    return *sim;
}

MainFormTestHost::MainFormTestHost()
{
    Sim();
    m_seen = Sim().Journal().size();
    m_thread = std::make_unique<MainThread>(true);
    m_thread->Start(obase::MessageLoop::Type::kUI);
    m_window = m_thread->MainWindow();
    if (m_window)
        WaitForLayout();
}

MainFormTestHost::~MainFormTestHost()
{
    if (m_window && ::IsWindow(m_window))
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
    m_thread->Stop();
}

void MainFormTestHost::OnUi(const std::function<void(MainForm&)>& task)
{
    // A task that runs after the wait gave up must not touch this frame.
    struct Call {
        std::mutex lock;
        bool abandoned = false;
        HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ~Call() { ::CloseHandle(done); }
    };
    const auto call = std::make_shared<Call>();
    MainThread* thread = m_thread.get();
    const bool posted =
        obase::ThreadRegistry::PostTask(MainThread::kIdentifier, [call, thread, &task] {
            std::lock_guard<std::mutex> lock(call->lock);
            if (call->abandoned)
                return;
            if (MainForm* form = thread->Form())
                task(*form);
            ::SetEvent(call->done);
        });
    ASSERT_TRUE(posted);
    if (::WaitForSingleObject(call->done, 5000) != WAIT_OBJECT_0) {
        std::lock_guard<std::mutex> lock(call->lock);
        call->abandoned = true;
        ADD_FAILURE() << "the UI thread did not run a task within 5 s";
    }
}

void MainFormTestHost::Flush()
{
    OnUi([](MainForm& form) {
        MSG message;
        while (::PeekMessageW(&message, form.GetHWND(), 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    });
}

void MainFormTestHost::WaitForLayout()
{
    for (int tries = 0; tries < 200; ++tries) {
        const bool laidOut = Read<bool>([](MainForm& form) {
            ui::Control* fader = form.FindControl(std::wstring(L"input_master"));
            return fader && !fader->GetRect().IsEmpty() && !form.IsArrangeNeeded();
        });
        if (laidOut)
            return;
        ::Sleep(10);
    }
    ADD_FAILURE() << "the main window was never laid out";
}

POINT MainFormTestHost::Centre(const std::wstring& name)
{
    return Read<POINT>([&](MainForm& form) {
        ui::Control* control = form.FindControl(name);
        if (!control)
            return POINT{-1, -1};
        const ui::UiRect rect = control->GetRect();
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    });
}

void MainFormTestHost::Click(const std::wstring& name)
{
    const POINT at = Centre(name);
    ::PostMessageW(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ::PostMessageW(m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageW(m_window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Flush();
}

void MainFormTestHost::DragFader(const std::wstring& name, double value)
{
    struct Path {
        POINT from{-1, -1};
        POINT to{-1, -1};
    };
    const Path path = Read<Path>([&](MainForm& form) {
        auto* slider = dynamic_cast<ui::Slider*>(form.FindControl(name));
        if (!slider)
            return Path{};
        const ui::UiRect thumb = slider->GetThumbRect();
        const ui::UiRect target = ui::SliderGeometry::ThumbRect(
            slider->GetRect(), slider->GetThumbSize(), slider->IsHorizontal(),
            slider->GetMinValue(), slider->GetMaxValue(), value);
        return Path{{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2},
                    {(target.left + target.right) / 2, (target.top + target.bottom) / 2}};
    });
    ::PostMessageW(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(path.from.x, path.from.y));
    ::PostMessageW(m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(path.from.x, path.from.y));
    ::PostMessageW(m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(path.to.x, path.to.y));
    ::PostMessageW(m_window, WM_LBUTTONUP, 0, MAKELPARAM(path.to.x, path.to.y));
    Flush();
}

void MainFormTestHost::Wheel(const std::wstring& name, int notches)
{
    POINT at = Centre(name);
    ::ClientToScreen(m_window, &at);
    ::PostMessageW(m_window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA),
                   MAKELPARAM(at.x, at.y));
    Flush();
}

void MainFormTestHost::Key(WPARAM key)
{
    ::PostMessageW(m_window, WM_KEYDOWN, key, 1);
    ::PostMessageW(m_window, WM_KEYUP, key, 0xC0000001);
    Flush();
}

std::vector<std::wstring> MainFormTestHost::NewCalls()
{
    const std::vector<std::wstring> all = Sim().Journal();
    std::vector<std::wstring> fresh;
    for (size_t i = std::min(m_seen, all.size()); i < all.size(); ++i) {
        // The poll and the monitor's reads run on their own clocks.
        const bool poll = all[i].rfind(L"TUSBAUDIO_AudioControlRequestGet(", 0) == 0 &&
                          all[i].find(L",10,1,20,0,") != std::wstring::npos;
        if (!poll && all[i].rfind(L"TUSBAUDIO_ReadDeviceNotification(", 0) == std::wstring::npos) {
            fresh.push_back(all[i]);
        }
    }
    m_seen = all.size();
    return fresh;
}

bool MainFormTestHost::WaitForCall(const std::wstring& text, uint32_t timeoutMs)
{
    const size_t from = m_seen;
    return Sim().WaitForJournal(
        [&](const std::vector<std::wstring>& lines) {
            for (size_t i = from; i < lines.size(); ++i) {
                if (lines[i].find(text) != std::wstring::npos)
                    return true;
            }
            return false;
        },
        timeoutMs);
}

double FaderValue(MainForm& form, const std::wstring& name)
{
    auto* progress = dynamic_cast<ui::Progress*>(form.FindControl(name));
    return progress ? progress->GetValue() : -1.0;
}

bool IsEnabled(MainForm& form, const std::wstring& name)
{
    ui::Control* control = form.FindControl(name);
    return control && control->IsEnabled();
}

bool IsSelected(MainForm& form, const std::wstring& name)
{
    auto* box = dynamic_cast<ui::CheckBox*>(form.FindControl(name));
    return box && box->IsSelected();
}

std::wstring ToolTip(MainForm& form, const std::wstring& name)
{
    ui::Control* control = form.FindControl(name);
    return control ? control->GetToolTipText() : L"?";
}

std::wstring Text(MainForm& form, const std::wstring& name)
{
    auto* label = dynamic_cast<ui::Label*>(form.FindControl(name));
    return label ? label->GetText() : L"?";
}

std::wstring BackgroundImage(MainForm& form, const std::wstring& name)
{
    ui::Control* control = form.FindControl(name);
    return control ? control->GetBkImage() : L"?";
}
