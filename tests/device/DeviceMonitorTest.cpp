#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "device/DeviceMessages.h"
#include "device/NotifyWindowList.h"
#include "tests/device/SimulatedDeviceTest.h"

namespace {

// A message-only window whose posted device notifications the test reads back.
class NotificationWindow {
public:
    NotificationWindow()
        : m_window(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr))
    {
    }
    NotificationWindow(const NotificationWindow&) = delete;
    NotificationWindow& operator=(const NotificationWindow&) = delete;
    ~NotificationWindow() { ::DestroyWindow(m_window); }

    HWND Get() const { return m_window; }
    // The categories posted so far, in order of arrival.
    std::vector<LPARAM> Take()
    {
        MSG message;
        while (::PeekMessageW(&message, m_window, WM_DEVICE_NOTIFICATION, WM_DEVICE_NOTIFICATION,
                              PM_REMOVE)) {
            EXPECT_EQ(0u, message.wParam);
            m_received.push_back(message.lParam);
        }
        return m_received;
    }

private:
    HWND m_window = nullptr;
    std::vector<LPARAM> m_received;
};

class DeviceMonitorTest : public SimulatedDeviceTest {
protected:
    // Generous: these waits end as soon as their condition holds.
    static constexpr uint32_t kPatienceMs = 30000;

    // Waits until the monitor has drained the queue `drains` times in all.
    bool WaitForDrains(size_t drains)
    {
        return m_sim->WaitForJournal(
            [drains](const std::vector<std::wstring>& lines) {
                size_t empty = 0;
                for (const std::wstring& line : lines) {
                    empty += line.rfind(L"TUSBAUDIO_ReadDeviceNotification(", 0) == 0 &&
                             line.find(L"= 0xEE000007") != std::wstring::npos;
                }
                return empty >= drains;
            },
            kPatienceMs);
    }
    // Waits until `window` has received `count` notifications in all.
    static bool WaitForMessages(NotificationWindow& window, size_t count)
    {
        const ULONGLONG deadline = ::GetTickCount64() + kPatienceMs;
        while (window.Take().size() < count) {
            if (::GetTickCount64() >= deadline) {
                return false;
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
        }
        return true;
    }
    // Waits until a one-time delay injected into `entry` has been taken: the
    // call is then held up inside the driver.
    bool WaitUntilDelayed(std::wstring_view entry)
    {
        const std::wstring rule = L"delay " + std::wstring(entry) + L" ";
        const ULONGLONG deadline = ::GetTickCount64() + kPatienceMs;
        while (Control(L"state").find(rule) != std::wstring::npos) {
            if (::GetTickCount64() >= deadline) {
                return false;
            }
            ::Sleep(5);
        }
        return true;
    }
    // Opens the device and hands the monitor one notification; its read then
    // stays in the driver for the delay bound before.
    bool OpenWithMonitorHeldInDriver()
    {
        if (m_manager->OpenDevice() != 0) {
            return false;
        }
        Control(L"notify 3");
        return WaitUntilDelayed(L"TUSBAUDIO_ReadDeviceNotification");
    }
    // Stopping the monitor waits for it, so everything it posts has arrived
    // once this returns.
    void StopMonitor()
    {
        m_manager->CloseDevice();
        ASSERT_FALSE(m_manager->IsThreadHeld());
    }
};

TEST_F(DeviceMonitorTest, BurstGivesOneMessagePerCategoryPerWindowInArrivalOrder)
{
    Bind();
    NotificationWindow first;
    NotificationWindow second;
    ASSERT_NE(nullptr, first.Get());
    m_manager->notifyWindows.Append(first.Get());
    m_manager->notifyWindows.Append(second.Get());
    ASSERT_EQ(0u, m_manager->OpenDevice());

    // One request: all four changes are queued before the event is set.
    ASSERT_EQ(L"ok\n",
              Control(L"volume in 1 -256; volume in 3 -512; volume out 2 -768; mute in 1 1"));
    ASSERT_TRUE(WaitForDrains(1));
    EXPECT_EQ(5u, Calls(L"TUSBAUDIO_ReadDeviceNotification").size());
    ASSERT_TRUE(WaitForMessages(first, 2));

    ASSERT_EQ(L"ok\n", Control(L"mute out 4 1; volume out 4 -1024; mute out 3 1"));
    ASSERT_TRUE(WaitForDrains(2));
    StopMonitor();
    EXPECT_EQ((std::vector<LPARAM>{3, 4, 4, 3}), first.Take());
    EXPECT_EQ((std::vector<LPARAM>{3, 4, 4, 3}), second.Take());
}

TEST_F(DeviceMonitorTest, ChangesMadeThroughTheDriverAreReportedToo)
{
    Bind();
    NotificationWindow window;
    m_manager->notifyWindows.Append(window.Get());
    ASSERT_EQ(0u, m_manager->OpenDevice());
    ASSERT_EQ(0u, m_manager->api.TUSBAUDIO_SetMute(m_manager->deviceHandle, 0, 3, 1));
    ASSERT_TRUE(WaitForDrains(1));
    StopMonitor();
    EXPECT_EQ((std::vector<LPARAM>{4}), window.Take());
}

TEST_F(DeviceMonitorTest, QueueIsDrainedWithoutRegisteredWindows)
{
    Bind();
    NotificationWindow bystander;
    ASSERT_EQ(0u, m_manager->OpenDevice());
    ASSERT_EQ(L"ok\n", Control(L"notify 3 3 9"));
    ASSERT_TRUE(WaitForDrains(1));
    EXPECT_EQ(4u, Calls(L"TUSBAUDIO_ReadDeviceNotification").size());
    StopMonitor();
    EXPECT_TRUE(bystander.Take().empty());
}

TEST_F(DeviceMonitorTest, RemovedWindowGetsNothingAndTheOthersKeepTheirOrder)
{
    Bind();
    NotificationWindow a;
    NotificationWindow b;
    NotificationWindow c;
    for (const NotificationWindow* window : {&a, &b, &c}) {
        m_manager->notifyWindows.Append(window->Get());
    }
    EXPECT_TRUE(m_manager->notifyWindows.Remove(b.Get()));
    EXPECT_FALSE(m_manager->notifyWindows.Remove(b.Get()));
    EXPECT_EQ((std::vector<HWND>{a.Get(), c.Get()}), m_manager->notifyWindows.Snapshot());
    ASSERT_EQ(0u, m_manager->OpenDevice());
    Control(L"notify 6");
    ASSERT_TRUE(WaitForDrains(1));
    StopMonitor();
    EXPECT_EQ((std::vector<LPARAM>{6}), a.Take());
    EXPECT_TRUE(b.Take().empty());
    EXPECT_EQ((std::vector<LPARAM>{6}), c.Take());
}

TEST_F(DeviceMonitorTest, ClosingDuringThePauseEndsTheMonitorWithinTheStopTimeout)
{
    // A pause far beyond the 1000 ms the close waits: the monitor can only
    // have ended in time if the stop request cut its pause short.
    m_manager = std::make_unique<DeviceManager>(600000);
    Bind();
    ASSERT_EQ(0u, m_manager->OpenDevice());
    Control(L"notify 3");
    ASSERT_TRUE(WaitForDrains(1)); // the monitor is now posting or inside its pause
    m_manager->CloseDevice();
    EXPECT_FALSE(m_manager->IsThreadHeld());
    EXPECT_EQ(0u, m_manager->deviceHandle);
    EXPECT_EQ(nullptr, m_manager->NotificationEvent());
}

TEST_F(DeviceMonitorTest, MonitorThatOutlivesTheTimeoutKeepsItsHandlesAndBlocksTheNextOpen)
{
    Bind(L"delay TUSBAUDIO_ReadDeviceNotification 4000 1");
    NotificationWindow window;
    m_manager->notifyWindows.Append(window.Get());
    ASSERT_TRUE(OpenWithMonitorHeldInDriver());

    NewJournal();
    const ULONGLONG start = ::GetTickCount64();
    m_manager->CloseDevice();
    EXPECT_GE(::GetTickCount64() - start, 900u);
    ASSERT_TRUE(m_manager->IsThreadHeld());
    EXPECT_EQ(0u, m_manager->deviceHandle);
    // The device was still unregistered and closed...
    const std::vector<std::wstring> expected = {
        L"TUSBAUDIO_RegisterDeviceNotification(1,0x00000000,0,0) = 0x00000000",
        L"TUSBAUDIO_CloseDevice(1) = 0x00000000",
    };
    EXPECT_EQ(expected, NewJournal());
    // ...but the event the held monitor waits on is still open.
    const HANDLE event = m_manager->NotificationEvent();
    DWORD flags = 0;
    EXPECT_TRUE(event != nullptr && ::GetHandleInformation(event, &flags));

    // The late read ends (its handle is closed by now), then so does the thread.
    ASSERT_TRUE(m_sim->WaitForJournal(
        [](const std::vector<std::wstring>& lines) {
            return std::any_of(lines.begin(), lines.end(), [](const std::wstring& line) {
                return line.rfind(L"TUSBAUDIO_ReadDeviceNotification(", 0) == 0;
            });
        },
        kPatienceMs));
    // The thread is still held: opening fails without touching the event and
    // closes the device again, and that close releases the ended thread.
    EXPECT_EQ(static_cast<uint32_t>(ERROR_ALREADY_EXISTS), m_manager->OpenDevice());
    EXPECT_EQ(0u, m_manager->deviceHandle);
    EXPECT_EQ(L"0", OpenHandles());
    EXPECT_FALSE(m_manager->IsThreadHeld());
    EXPECT_EQ(nullptr, m_manager->NotificationEvent());

    ASSERT_EQ(0u, m_manager->OpenDevice());
    window.Take();
    Control(L"notify 4");
    // The late thread's read found its handle closed, so this is the first drain to the end.
    ASSERT_TRUE(WaitForDrains(1));
    StopMonitor();
    EXPECT_EQ((std::vector<LPARAM>{4}), window.Take());
}

TEST_F(DeviceMonitorTest, DestroyingTheManagerWaitsForAMonitorHeldInTheDriver)
{
    Bind(L"delay TUSBAUDIO_ReadDeviceNotification 2500 1");
    ASSERT_TRUE(OpenWithMonitorHeldInDriver());
    // The monitor sleeps inside the library: unloading it now would pull the
    // code out from under the thread.
    m_manager.reset();
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"tusbaudioapi.dll"));
    EXPECT_FALSE(Calls(L"TUSBAUDIO_ReadDeviceNotification").empty()) << "the late call returned";
}

TEST_F(DeviceMonitorTest, DestroyingTheManagerLeavesBehindAMonitorThatDoesNotComeBack)
{
    Bind(L"delay TUSBAUDIO_ReadDeviceNotification 4500 1");
    NotificationWindow window;
    m_manager->notifyWindows.Append(window.Get());
    ASSERT_TRUE(OpenWithMonitorHeldInDriver());

    // The exit is bounded: the destructor gives up on the thread...
    const ULONGLONG start = ::GetTickCount64();
    m_manager.reset();
    const ULONGLONG waited = ::GetTickCount64() - start;
    EXPECT_GE(waited, 2900u);
    EXPECT_LT(waited, 4000u);
    // ...without pulling the library out from under it.
    EXPECT_NE(nullptr, ::GetModuleHandleW(L"tusbaudioapi.dll"));

    // When the call finally returns, the thread touches nothing of the
    // destroyed manager, posts nothing, and releases the library as it ends.
    const ULONGLONG deadline = ::GetTickCount64() + kPatienceMs;
    while (::GetModuleHandleW(L"tusbaudioapi.dll") != nullptr && ::GetTickCount64() < deadline) {
        ::Sleep(20);
    }
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"tusbaudioapi.dll"));
    EXPECT_GE(::GetTickCount64() - start, 4000u);
    EXPECT_TRUE(window.Take().empty());
}

TEST_F(DeviceMonitorTest, WindowsComeAndGoWhileTheMonitorPosts)
{
    Bind();
    NotificationWindow steady;
    NotificationWindow passing;
    m_manager->notifyWindows.Append(steady.Get());
    ASSERT_EQ(0u, m_manager->OpenDevice());

    std::atomic<bool> running = true;
    const uint32_t handle = m_manager->deviceHandle;
    const auto setVolume = m_manager->api.TUSBAUDIO_SetVolume;
    std::thread changes([&] {
        for (int16_t volume = 0; running; volume = static_cast<int16_t>(volume == 0 ? -256 : 0)) {
            setVolume(handle, 1, 1, volume);
            ::Sleep(1);
        }
    });
    // Until the monitor has posted several times while the list kept changing.
    const ULONGLONG deadline = ::GetTickCount64() + kPatienceMs;
    size_t cycles = 0;
    while ((cycles < 1000 || steady.Take().size() < 3) && ::GetTickCount64() < deadline) {
        m_manager->notifyWindows.Append(passing.Get());
        m_manager->notifyWindows.Append(passing.Get());
        m_manager->notifyWindows.Remove(passing.Get());
        m_manager->notifyWindows.Remove(passing.Get());
        ++cycles;
    }
    running = false;
    changes.join();
    StopMonitor();
    EXPECT_GE(steady.Take().size(), 3u);
    EXPECT_EQ(1u, m_manager->notifyWindows.Size());
}

} // namespace
