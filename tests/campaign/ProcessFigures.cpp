#include "tests/campaign/ProcessFigures.h"

#include <algorithm>

#include <vector>

namespace campaign {

namespace {

// The system handle table as NtQuerySystemInformation answers it for its
// extended handle class (64).
struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

uint32_t CountHandles(HANDLE process)
{
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr)
        return 0;
    constexpr ULONG kExtendedHandleInformation = 64;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<unsigned char> buffer(1 << 20);
    LONG status = kInfoLengthMismatch;
    for (int attempt = 0; attempt < 8 && status == kInfoLengthMismatch; ++attempt) {
        ULONG needed = 0;
        status = query(kExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                       &needed);
        if (status == kInfoLengthMismatch)
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    }
    if (status < 0)
        return 0;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    const ULONG_PTR id = ::GetProcessId(process);
    uint32_t count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        if (table->entries[i].processId == id)
            ++count;
    }
    return count;
}

uint64_t ToUint64(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t PrivateCommittedBytes(HANDLE process)
{
    uint64_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* address = nullptr;
    while (::VirtualQueryEx(process, address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

} // namespace

ProcessFigures MeasureProcess(HANDLE process)
{
    ProcessFigures figures;
    figures.handles = CountHandles(process);
    figures.privateBytes = PrivateCommittedBytes(process);
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (::GetProcessTimes(process, &creation, &exit, &kernel, &user))
        figures.cpuTime100ns = ToUint64(kernel) + ToUint64(user);
    return figures;
}

} // namespace campaign
