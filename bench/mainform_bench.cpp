// Measures the mixer window against bare Win32/GDI+ programs doing the
// least the same step needs, all in one run against the simulated interface:
//   start to first frame: a new process until its window's first frame is
//     presented, against a process showing a bare layered GDI+ window of the
//     same size (median of kStarts starts each);
//   fader move to TUSBAUDIO_SetVolume: from posting a mouse move over a
//     dragged fader to the driver call, against a posted message reaching a
//     bare window procedure;
//   fader move to frame presented: from the same post until the window's
//     paint has presented the new frame, against presenting the same-sized
//     frame from a posted message without drawing anything;
//   idle CPU: process CPU time while connected (polling every 200 ms) and
//     left alone, as a share of one core (goal: under 0.2 %).
//   mainform_bench [idle-seconds]       (default 60)
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include <gdiplus.h>

#include "app/MainThread.h"
#include "base/ThreadRegistry.h"
#include "device/DeviceManager.h"
#include "panel/MainForm.h"
#include "ui/controls/Slider.h"
#include "ui/controls/SliderGeometry.h"

namespace {

constexpr int kStarts = 5;
constexpr int kMoves = 200;
constexpr int kWidth = 1138;
constexpr int kHeight = 555;
constexpr UINT kBareMessage = WM_APP + 1;
constexpr wchar_t kBareClass[] = L"MainFormBenchBare";

int64_t Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Microseconds(int64_t ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring ProgramDirectory()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

// A 32-bit top-down DIB of the window's size, filled through GDI+.
struct Frame {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;

    Frame()
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(dc, bitmap);
        Gdiplus::Graphics graphics(dc);
        Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0x22, 0x24, 0x28));
        graphics.FillRectangle(&brush, 0, 0, kWidth, kHeight);
    }
    ~Frame()
    {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    void Present(HWND window) const
    {
        POINT origin{0, 0};
        SIZE size{kWidth, kHeight};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, nullptr, nullptr, &size, dc, &origin, 0, &blend, ULW_ALPHA);
    }
};

HWND CreateBareWindow(WNDPROC procedure)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kBareClass;
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_LAYERED, kBareClass, L"bare", WS_POPUP, 0, 0, kWidth, kHeight,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

// Child process: show a bare layered GDI+ window, signal its first frame.
int BareFirstFrame(const wchar_t* eventName)
{
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    HWND window = CreateBareWindow(DefWindowProcW);
    ShowWindow(window, SW_SHOWNORMAL);
    {
        Frame frame;
        frame.Present(window);
    }
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    SetEvent(event);
    CloseHandle(event);
    DestroyWindow(window);
    Gdiplus::GdiplusShutdown(token);
    return 0;
}

// Runs the program's UI thread against the simulated interface.
class FormHost {
public:
    FormHost()
    {
        DeviceManager::GetInstance()->api.Load(ProgramDirectory() + L"tusbaudioapi.dll");
        m_thread.Start(obase::MessageLoop::Type::kUI);
    }
    ~FormHost()
    {
        if (HWND window = m_thread.MainWindow())
            PostMessageW(window, WM_CLOSE, 0, 0);
        m_thread.Stop();
    }

    HWND Window() const { return m_thread.MainWindow(); }
    template <typename F>
    void OnUi(F task)
    {
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        obase::ThreadRegistry::PostTask(MainThread::kIdentifier, [&] {
            if (MainForm* form = m_thread.Form())
                task(*form);
            SetEvent(done);
        });
        WaitForSingleObject(done, 10000);
        CloseHandle(done);
    }
    // True once the first layout and paint have run.
    bool FirstFramePresented()
    {
        bool presented = false;
        OnUi([&](MainForm& form) { presented = !form.IsFirstLayoutPending(); });
        return presented;
    }

private:
    MainThread m_thread{true};
};

// Child process: start the mixer, signal its first frame.
int FormFirstFrame(const wchar_t* eventName)
{
    FormHost host;
    while (!host.FirstFramePresented())
        Sleep(0);
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    SetEvent(event);
    CloseHandle(event);
    return 0;
}

double StartToFirstFrame(const wchar_t* mode)
{
    wchar_t eventName[64];
    std::swprintf(eventName, 64, L"MainFormBenchFrame-%lu", GetCurrentProcessId());
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, eventName);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(path) + L"\" " + mode + L" " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const int64_t start = Ticks();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        CloseHandle(event);
        return -1.0;
    }
    const bool signalled = WaitForSingleObject(event, 30000) == WAIT_OBJECT_0;
    const int64_t end = Ticks();
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(event);
    return signalled ? Microseconds(end - start) / 1000.0 : -1.0;
}

// Timestamps written by the hooks on the UI thread.
std::atomic<int64_t> g_setVolumeAt = 0;
std::atomic<int64_t> g_paintedAt = 0;
decltype(TUsbAudioApiDll::TUSBAUDIO_SetVolume) g_setVolume = nullptr;
WNDPROC g_formProcedure = nullptr;

uint32_t WINAPI TimedSetVolume(uint32_t handle, uint32_t isInput, uint32_t channel, int16_t volume)
{
    g_setVolumeAt = Ticks();
    return g_setVolume(handle, isInput, channel, volume);
}

LRESULT CALLBACK TimedFormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcW(g_formProcedure, window, message, wParam, lParam);
    if (message == WM_PAINT)
        g_paintedAt = Ticks();
    return result;
}

struct MoveFigures {
    double toSetVolume = 0;
    double toFrame = 0;
};

MoveFigures FormMoves(FormHost& host)
{
    DeviceManager& manager = *DeviceManager::GetInstance();
    HWND window = host.Window();
    POINT grab{}, low{}, high{};
    host.OnUi([&](MainForm& form) {
        g_formProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimedFormProcedure)));
        g_setVolume = manager.api.TUSBAUDIO_SetVolume;
        manager.api.TUSBAUDIO_SetVolume = TimedSetVolume;
        auto* slider = dynamic_cast<ui::Slider*>(form.FindControl(std::wstring(L"input_mic1")));
        auto centre = [&](double value) {
            const ui::UiRect r = ui::SliderGeometry::ThumbRect(
                slider->GetRect(), slider->GetThumbSize(), slider->IsHorizontal(),
                slider->GetMinValue(), slider->GetMaxValue(), value);
            return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        };
        grab = centre(slider->GetValue());
        low = centre(20.5);
        high = centre(30.5);
    });
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    host.OnUi([](MainForm&) {});
    std::vector<double> toSetVolume;
    std::vector<double> toFrame;
    for (int i = 0; i < kMoves; ++i) {
        const POINT to = i % 2 ? high : low;
        g_setVolumeAt = 0;
        g_paintedAt = 0;
        const int64_t start = Ticks();
        PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        const ULONGLONG deadline = GetTickCount64() + 1000;
        while ((g_setVolumeAt == 0 || g_paintedAt == 0) && GetTickCount64() < deadline)
            Sleep(0);
        if (g_setVolumeAt != 0)
            toSetVolume.push_back(Microseconds(g_setVolumeAt - start));
        if (g_paintedAt != 0)
            toFrame.push_back(Microseconds(g_paintedAt - start));
    }
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(low.x, low.y));
    host.OnUi([&](MainForm&) {
        manager.api.TUSBAUDIO_SetVolume = g_setVolume;
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_formProcedure));
    });
    return {Median(toSetVolume), Median(toFrame)};
}

// The bare counterpart: a window on a thread of its own that notes when a
// posted message arrives and when it has presented a ready frame.
std::atomic<int64_t> g_bareArrivedAt = 0;
std::atomic<int64_t> g_barePresentedAt = 0;
const Frame* g_bareFrame = nullptr;

LRESULT CALLBACK BareProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kBareMessage)
        return DefWindowProcW(window, message, wParam, lParam);
    g_bareArrivedAt = Ticks();
    g_bareFrame->Present(window);
    g_barePresentedAt = Ticks();
    return 0;
}

MoveFigures BareMoves()
{
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    HWND window = nullptr;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* context = static_cast<std::pair<HWND*, HANDLE>*>(parameter);
            Frame frame;
            g_bareFrame = &frame;
            *context->first = CreateBareWindow(BareProcedure);
            ShowWindow(*context->first, SW_SHOWNOACTIVATE);
            SetEvent(context->second);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0)
                DispatchMessageW(&message);
            DestroyWindow(*context->first);
            return 0;
        },
        new std::pair<HWND*, HANDLE>(&window, ready), 0, nullptr);
    WaitForSingleObject(ready, INFINITE);
    std::vector<double> arrived;
    std::vector<double> presented;
    for (int i = 0; i < kMoves; ++i) {
        g_bareArrivedAt = 0;
        g_barePresentedAt = 0;
        const int64_t start = Ticks();
        PostMessageW(window, kBareMessage, 0, 0);
        while (g_barePresentedAt == 0)
            Sleep(0);
        arrived.push_back(Microseconds(g_bareArrivedAt - start));
        presented.push_back(Microseconds(g_barePresentedAt - start));
    }
    PostThreadMessageW(GetThreadId(thread), WM_QUIT, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(ready);
    Gdiplus::GdiplusShutdown(token);
    return {Median(arrived), Median(presented)};
}

double ProcessCpuMilliseconds()
{
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto value = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(value(kernel) + value(user)) / 10000.0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wcscmp(argv[1], L"--bare") == 0)
        return BareFirstFrame(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"--form") == 0)
        return FormFirstFrame(argv[2]);
    const int idleSeconds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 60;
    SetEnvironmentVariableW(L"KVSIM_COMMANDS", L"pipe \\\\.\\pipe\\KvMainFormBench");

    std::vector<double> form;
    std::vector<double> bare;
    for (int i = 0; i < kStarts; ++i) {
        bare.push_back(StartToFirstFrame(L"--bare"));
        form.push_back(StartToFirstFrame(L"--form"));
    }
    const double formStart = Median(form);
    const double bareStart = Median(bare);
    std::printf(
        "start to first frame:        mixer %8.1f ms   bare layered GDI+ window %8.1f ms"
        "   ratio %6.2f\n",
        formStart, bareStart, formStart / bareStart);

    const MoveFigures baseline = BareMoves();
    FormHost host;
    while (!host.FirstFramePresented())
        Sleep(1);
    const MoveFigures moves = FormMoves(host);
    std::printf(
        "fader move to SetVolume:     mixer %8.1f us   bare posted message     %8.1f us"
        "   ratio %6.2f\n",
        moves.toSetVolume, baseline.toSetVolume, moves.toSetVolume / baseline.toSetVolume);
    std::printf(
        "fader move to frame shown:   mixer %8.1f us   bare present            %8.1f us"
        "   ratio %6.2f\n",
        moves.toFrame, baseline.toFrame, moves.toFrame / baseline.toFrame);

    const double cpuBefore = ProcessCpuMilliseconds();
    const int64_t idleStart = Ticks();
    Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    const double cpu = ProcessCpuMilliseconds() - cpuBefore;
    const double wall = Microseconds(Ticks() - idleStart) / 1000.0;
    const double share = 100.0 * cpu / wall;
    std::printf(
        "idle CPU while connected:    %.1f ms over %.1f s = %.3f %% of one core"
        "   ratio to the 0.2 %% goal %6.2f\n",
        cpu, wall / 1000.0, share, share / 0.2);
    return 0;
}
