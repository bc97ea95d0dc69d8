// Measures the hand-off cost of the framework's message loops against bare
// Win32 message loops doing the same hand-off, and the CPU an idle loop uses.
//   post-to-run latency: one item at a time, from posting to the start of its
//     run on the loop thread (median and mean over kPings);
//   throughput: kBurst items posted back to back, kBursts times, until the
//     last one ran (bursts stay below the 10000-message queue limit).
// The four set-ups run alternately kRounds times and each figure is the
// median of its rounds, so that load from other processes hits all alike.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "bench/BenchFigure.h"
#include "base/FrameworkThread.h"
#include "base/MessageLoopProxy.h"

namespace {

constexpr int kPings = 2000;
constexpr int kBurst = 5000;
constexpr int kBursts = 10;
constexpr int kRounds = 3;
constexpr UINT kItemMessage = WM_APP + 1;
constexpr DWORD kIdleMs = 5000;

double TicksToMicroseconds(int64_t ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

int64_t Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// What the consumer does with each item: note when it ran, count it and
// signal once the expected count is reached.
struct Consumer {
    std::atomic<int64_t> ranAt = 0;
    std::atomic<int> count = 0;
    std::atomic<int> target = 0;
    HANDLE reached = CreateEventW(nullptr, FALSE, FALSE, nullptr);

    void Consume()
    {
        ranAt = Ticks();
        if (++count == target)
            SetEvent(reached);
    }
};

struct Figures {
    double medianLatencyUs = 0;
    double meanLatencyUs = 0;
    double itemsPerSecond = 0;
};

Figures Measure(Consumer& consumer, const std::function<void()>& post)
{
    Figures figures;
    std::vector<double> latencies;
    for (int i = 0; i < kPings; ++i) {
        consumer.target = consumer.count + 1;
        const int64_t postedAt = Ticks();
        post();
        WaitForSingleObject(consumer.reached, INFINITE);
        latencies.push_back(TicksToMicroseconds(consumer.ranAt - postedAt));
    }
    std::sort(latencies.begin(), latencies.end());
    figures.medianLatencyUs = latencies[latencies.size() / 2];
    double sum = 0;
    for (double latency : latencies)
        sum += latency;
    figures.meanLatencyUs = sum / static_cast<double>(latencies.size());

    const int64_t start = Ticks();
    for (int burst = 0; burst < kBursts; ++burst) {
        consumer.target = consumer.count + kBurst;
        for (int i = 0; i < kBurst; ++i)
            post();
        WaitForSingleObject(consumer.reached, INFINITE);
    }
    const double seconds = TicksToMicroseconds(Ticks() - start) / 1e6;
    figures.itemsPerSecond = kBurst * kBursts / seconds;
    return figures;
}

// The baseline: a thread running GetMessage/DispatchMessage, fed by
// PostMessage to a window of its own or by PostThreadMessage.
class BareLoopThread {
public:
    BareLoopThread(Consumer& consumer, bool useWindow)
        : m_consumer(consumer), m_useWindow(useWindow)
    {
        m_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, &Main, this, 0, &m_threadId);
        WaitForSingleObject(m_ready, INFINITE);
    }
    ~BareLoopThread()
    {
        PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        CloseHandle(m_ready);
    }

    void Post()
    {
        if (m_useWindow)
            PostMessageW(m_window, kItemMessage, 0, reinterpret_cast<LPARAM>(&m_consumer));
        else
            PostThreadMessageW(m_threadId, kItemMessage, 0, reinterpret_cast<LPARAM>(&m_consumer));
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kItemMessage) {
            reinterpret_cast<Consumer*>(lParam)->Consume();
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static DWORD WINAPI Main(void* param)
    {
        auto* self = static_cast<BareLoopThread*>(param);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // creates the queue
        if (self->m_useWindow) {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = &Proc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"BareLoopWindow";
            RegisterClassExW(&windowClass);
            self->m_window =
                CreateWindowExW(0, L"BareLoopWindow", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        }
        SetEvent(self->m_ready);
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!message.hwnd && message.message == kItemMessage)
                reinterpret_cast<Consumer*>(message.lParam)->Consume();
            else
                DispatchMessageW(&message);
        }
        if (self->m_window)
            DestroyWindow(self->m_window);
        return 0;
    }

    Consumer& m_consumer;
    bool m_useWindow = false;
    HANDLE m_ready = nullptr;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
    HWND m_window = nullptr;
};

class LoopThread : public obase::FrameworkThread {
public:
    LoopThread() : FrameworkThread(L"bench loop") {}
    ~LoopThread() override { Stop(); }
};

Figures MeasureFramework(obase::MessageLoop::Type type)
{
    Consumer consumer;
    LoopThread thread;
    thread.Start(type);
    std::shared_ptr<obase::MessageLoopProxy> proxy = thread.message_loop_proxy();
    const Figures figures =
        Measure(consumer, [&] { proxy->PostTask([&consumer] { consumer.Consume(); }); });
    thread.Stop();
    CloseHandle(consumer.reached);
    return figures;
}

Figures MeasureBare(bool useWindow)
{
    Consumer consumer;
    Figures figures;
    {
        BareLoopThread thread(consumer, useWindow);
        figures = Measure(consumer, [&] { thread.Post(); });
    }
    CloseHandle(consumer.reached);
    return figures;
}

void Report(const char* name, const Figures& ours, const Figures& bare)
{
    std::printf("%-13s latency median %8.1f us (bare %8.1f us, ratio %5.2f)", name,
                ours.medianLatencyUs, bare.medianLatencyUs,
                ours.medianLatencyUs / bare.medianLatencyUs);
    std::printf("  mean %8.1f us (bare %8.1f, ratio %5.2f)\n", ours.meanLatencyUs,
                bare.meanLatencyUs, ours.meanLatencyUs / bare.meanLatencyUs);
    std::printf("%-13s throughput %10.0f tasks/s (bare %10.0f msgs/s, ratio %5.2f)\n", name,
                ours.itemsPerSecond, bare.itemsPerSecond,
                ours.itemsPerSecond / bare.itemsPerSecond);
    const std::string prefix = name;
    PrintFigure((prefix + " latency median").c_str(), ours.medianLatencyUs, bare.medianLatencyUs,
                "us");
    PrintFigure((prefix + " latency mean").c_str(), ours.meanLatencyUs, bare.meanLatencyUs, "us");
    PrintFigure((prefix + " throughput").c_str(), ours.itemsPerSecond, bare.itemsPerSecond,
                "items/s");
}

double FileTimeMs(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

double ThreadCpuMs(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// CPU time (user + kernel) of the loop's thread while nothing is posted. A
// burst of tasks first shows that the thread's CPU counter does move.
void MeasureIdle(const char* name, obase::MessageLoop::Type type)
{
    Consumer consumer;
    LoopThread thread;
    thread.Start(type);
    HANDLE handle = OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread.thread_id());
    std::shared_ptr<obase::MessageLoopProxy> proxy = thread.message_loop_proxy();
    consumer.target = kBurst;
    for (int i = 0; i < kBurst; ++i)
        proxy->PostTask([&consumer] { consumer.Consume(); });
    WaitForSingleObject(consumer.reached, INFINITE);
    const double busyMs = ThreadCpuMs(handle);
    Sleep(kIdleMs);
    const double idleMs = ThreadCpuMs(handle) - busyMs;
    std::printf("%-13s idle CPU over %lu ms: %.1f ms (the %d tasks before it: %.1f ms)\n", name,
                kIdleMs, idleMs, kBurst, busyMs);
    PrintFigure((std::string(name) + " idle CPU per second").c_str(), idleMs * 1000.0 / kIdleMs,
                NAN, "ms/s");
    CloseHandle(handle);
    thread.Stop();
    CloseHandle(consumer.reached);
}

Figures Median(std::vector<Figures> rounds)
{
    const auto middle = [&rounds](double Figures::*field) {
        std::vector<double> values;
        for (const Figures& round : rounds)
            values.push_back(round.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    Figures median;
    median.medianLatencyUs = middle(&Figures::medianLatencyUs);
    median.meanLatencyUs = middle(&Figures::meanLatencyUs);
    median.itemsPerSecond = middle(&Figures::itemsPerSecond);
    return median;
}

} // namespace

int main()
{
    std::printf("items: %d single pings, %d bursts of %d; median of %d alternating rounds\n",
                kPings, kBursts, kBurst, kRounds);
    std::vector<Figures> bareWindow, uiLoop, bareThread, defaultLoop;
    for (int round = 0; round < kRounds; ++round) {
        bareWindow.push_back(MeasureBare(true));
        uiLoop.push_back(MeasureFramework(obase::MessageLoop::Type::kUI));
        bareThread.push_back(MeasureBare(false));
        defaultLoop.push_back(MeasureFramework(obase::MessageLoop::Type::kDefault));
    }
    Report("UI loop", Median(uiLoop), Median(bareWindow));
    Report("default loop", Median(defaultLoop), Median(bareThread));
    MeasureIdle("UI loop", obase::MessageLoop::Type::kUI);
    MeasureIdle("default loop", obase::MessageLoop::Type::kDefault);
    return 0;
}
