#include "sim/dll/SimMachine.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <vector>

#include "sim/SimDriver.h"
#include "sim/SimMachineState.h"
#include "sim/SimNotification.h"
#include "sim/SimText.h"

namespace {

constexpr uint32_t kMagic = 0x4D53564B; // "KVSM"
// Raised whenever the layout below changes: libraries of two layouts never
// share an interface.
constexpr uint32_t kLayout = 1;
constexpr uint32_t kRingSize = 256;
constexpr uint32_t kMaxListeners = 64;
constexpr uint32_t kStateCapacity = 128 * 1024;
// How long a leaving process waits for the lock to take its name off the
// listeners; a stale entry is dropped by the next process that wakes it.
constexpr ULONGLONG kLeaveWaitMs = 2000;
// Spins before a waiter starts sleeping, and how often (in sleeps of about
// a millisecond) it checks whether the owner is still alive.
constexpr int kSpins = 64;
constexpr int kOwnerCheckEvery = 50;

bool ProcessHasEnded(DWORD processId)
{
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    }
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

struct SharedEvent {
    uint32_t origin;
    uint32_t kind;
    uint32_t category;
    uint32_t size;
    uint8_t data[SimMachineEvent::kMaxData];
};

} // namespace

struct SimMachine::Shared {
    volatile LONG lockOwner; // process id of the owner, 0 when free
    uint32_t magic;
    uint32_t layout;
    uint32_t nextInstance;
    uint32_t stateVersion;
    uint32_t stateSize;
    uint32_t reserved;
    uint64_t eventCount;
    uint32_t listeners[kMaxListeners];
    SharedEvent events[kRingSize];
    uint8_t state[kStateCapacity];
};

SimMachine::~SimMachine()
{
    if (m_shared != nullptr) {
        // The library is going: no call of it runs any more, so a lock this
        // process still holds belongs to a thread that was ended inside one
        // (at process exit, or a control thread stopped in the middle of a
        // request) and is given back. Another process's lock is waited for
        // a while; failing that, the entry is left for others to drop.
        const LONG self = static_cast<LONG>(::GetCurrentProcessId());
        const ULONGLONG deadline = ::GetTickCount64() + kLeaveWaitMs;
        bool owned = false;
        for (;;) {
            const LONG owner = ::InterlockedCompareExchange(&m_shared->lockOwner, self, 0);
            owned = owner == 0 || owner == self;
            if (owned || ::GetTickCount64() >= deadline) {
                break;
            }
            ::Sleep(1);
        }
        if (owned) {
            std::replace(std::begin(m_shared->listeners), std::end(m_shared->listeners), m_instance,
                         0u);
            Release();
        }
        ::UnmapViewOfFile(m_shared);
    }
    for (HANDLE handle : {m_wake, m_mapping}) {
        if (handle != nullptr) {
            ::CloseHandle(handle);
        }
    }
}

std::wstring SimMachine::ObjectName(const std::wstring& key, const wchar_t* what)
{
    // Object names cannot hold backslashes and may be shorter than a pipe
    // name: the key's hash (pipe names do not depend on case) stands in.
    uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : key) {
        hash = (hash ^ static_cast<uint64_t>(std::towlower(c))) * 1099511628211ull;
    }
    return SimText::Format("Local\\KvUsbAudioSim-%016llX-", static_cast<unsigned long long>(hash)) +
           what;
}

std::wstring SimMachine::WakeName(uint32_t instance) const
{
    return ObjectName(m_key, L"wake-") + std::to_wstring(instance);
}

bool SimMachine::Join(const std::wstring& key, SimDriver& driver)
{
    m_key = key;
    m_mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(Shared), ObjectName(key, L"state").c_str());
    if (m_mapping == nullptr) {
        return false;
    }
    m_shared =
        static_cast<Shared*>(::MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(Shared)));
    if (m_shared == nullptr) {
        return false;
    }
    Acquire();
    // What the configuration changed before anyone could be registered
    // concerns nobody.
    driver.TakeMachineEvents();
    bool joined = true;
    if (m_shared->magic == 0) {
        // The first process: a fresh mapping is all zeros.
        m_shared->magic = kMagic;
        m_shared->layout = kLayout;
        m_shared->nextInstance = 1;
        Push(driver);
    } else if (m_shared->magic != kMagic || m_shared->layout != kLayout) {
        joined = false;
    } else if (m_shared->stateSize > kStateCapacity ||
               !SimMachineState::Load(m_shared->state, m_shared->stateSize, driver)) {
        Push(driver); // a process that died while writing left a broken state
    }
    if (joined) {
        m_instance = m_shared->nextInstance++;
        m_seenVersion = m_shared->stateVersion;
        m_seenEvents = m_shared->eventCount;
        const auto free =
            std::find(std::begin(m_shared->listeners), std::end(m_shared->listeners), 0u);
        if (free != std::end(m_shared->listeners)) {
            *free = m_instance;
            m_wake = ::CreateEventW(nullptr, FALSE, FALSE, WakeName(m_instance).c_str());
        }
    }
    Release();
    if (!joined) {
        ::UnmapViewOfFile(m_shared);
        m_shared = nullptr;
    }
    return joined;
}

void SimMachine::Acquire()
{
    const LONG self = static_cast<LONG>(::GetCurrentProcessId());
    for (int attempt = 0;; ++attempt) {
        const LONG owner = ::InterlockedCompareExchange(&m_shared->lockOwner, self, 0);
        if (owner == 0) {
            return;
        }
        if (attempt < kSpins) {
            ::SwitchToThread();
            continue;
        }
        ::Sleep(1);
        // A process that died holding the lock would leave it taken for good.
        if ((attempt - kSpins) % kOwnerCheckEvery == kOwnerCheckEvery - 1 && owner != self &&
            ProcessHasEnded(static_cast<DWORD>(owner)) &&
            ::InterlockedCompareExchange(&m_shared->lockOwner, self, owner) == owner) {
            return;
        }
    }
}

void SimMachine::Release()
{
    ::InterlockedExchange(&m_shared->lockOwner, 0);
}

void SimMachine::Enter(SimDriver& driver)
{
    if (m_shared == nullptr) {
        return;
    }
    Acquire();
    m_owned = true;
    Pull(driver);
}

void SimMachine::Leave(SimDriver& driver)
{
    if (!m_owned) {
        return;
    }
    const std::vector<SimMachineEvent> events = driver.TakeMachineEvents();
    for (const SimMachineEvent& event : events) {
        SharedEvent& slot = m_shared->events[m_shared->eventCount % kRingSize];
        slot.origin = m_instance;
        slot.kind = static_cast<uint32_t>(event.kind);
        slot.category = event.category;
        slot.size = static_cast<uint32_t>(std::min(event.data.size(), sizeof slot.data));
        std::copy_n(event.data.begin(), slot.size, slot.data);
        ++m_shared->eventCount;
    }
    m_seenEvents = m_shared->eventCount;
    Push(driver);
    if (!events.empty()) {
        WakeOthers();
    }
    m_owned = false;
    Release();
}

void SimMachine::Pull(SimDriver& driver)
{
    const bool wasPlugged = driver.m_plugged;
    if (m_shared->stateVersion != m_seenVersion && m_shared->stateSize <= kStateCapacity &&
        SimMachineState::Load(m_shared->state, m_shared->stateSize, driver)) {
        m_seenVersion = m_shared->stateVersion;
    }
    const uint64_t count = m_shared->eventCount;
    if (count - m_seenEvents > kRingSize) {
        // Too far behind to replay: every category once, and plug and play
        // as the state has it now.
        for (uint32_t category = kSimCategorySampleRate; category <= kSimCategoryAsio; ++category) {
            driver.ApplyRemote({SimMachineEvent::Kind::kNotify, category, {}});
        }
        if (wasPlugged != driver.m_plugged) {
            driver.ApplyRemote(
                {driver.m_plugged ? SimMachineEvent::Kind::kPlug : SimMachineEvent::Kind::kUnplug,
                 0,
                 {}});
        }
        m_seenEvents = count;
    }
    for (; m_seenEvents < count; ++m_seenEvents) {
        const SharedEvent& slot = m_shared->events[m_seenEvents % kRingSize];
        if (slot.origin == m_instance) {
            continue;
        }
        SimMachineEvent event;
        event.kind = static_cast<SimMachineEvent::Kind>(slot.kind);
        event.category = slot.category;
        event.data.assign(slot.data, slot.data + std::min<uint32_t>(slot.size, sizeof slot.data));
        driver.ApplyRemote(event);
    }
}

void SimMachine::Push(SimDriver& driver)
{
    const std::vector<uint8_t> state = SimMachineState::Save(driver);
    if (state.size() > kStateCapacity) {
        ::OutputDebugStringW(L"KvUsbAudioSim: state too large to share\r\n");
        return;
    }
    if (state.size() == m_shared->stateSize &&
        std::memcmp(state.data(), m_shared->state, state.size()) == 0) {
        return;
    }
    std::memcpy(m_shared->state, state.data(), state.size());
    m_shared->stateSize = static_cast<uint32_t>(state.size());
    m_seenVersion = ++m_shared->stateVersion;
}

void SimMachine::WakeOthers()
{
    for (uint32_t& listener : m_shared->listeners) {
        if (listener == 0 || listener == m_instance) {
            continue;
        }
        const HANDLE wake = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, WakeName(listener).c_str());
        if (wake == nullptr) {
            listener = 0; // its process has gone without leaving
            continue;
        }
        ::SetEvent(wake);
        ::CloseHandle(wake);
    }
}
