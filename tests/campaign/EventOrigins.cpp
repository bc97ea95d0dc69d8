#include "tests/campaign/EventOrigins.h"

#include <array>
#include <cstring>
#include <cwchar>
#include <map>

namespace campaign {
namespace {

using Frames = std::array<void*, 8>;

// A slim lock: a recorder must not create the events it records.
SRWLOCK g_lock = SRWLOCK_INIT;
std::map<HANDLE, Frames>* g_origins = new std::map<HANDLE, Frames>; // kept for the process

using CreateEventAFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, BOOL, BOOL, LPCSTR);
using CreateEventWFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, BOOL, BOOL, LPCWSTR);
using CreateEventExWFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);

// The system's own functions: the module's import slots end up pointing
// at the recorders, so these are looked up by name.
template <typename Function>
Function SystemFunction(const char* name)
{
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

const auto g_createEventA = SystemFunction<CreateEventAFunction>("CreateEventA");
const auto g_createEventW = SystemFunction<CreateEventWFunction>("CreateEventW");
const auto g_createEventExW = SystemFunction<CreateEventExWFunction>("CreateEventExW");

HANDLE Record(HANDLE event)
{
    if (event == nullptr)
        return event;
    Frames frames = {};
    // Skips this function and the recorder that called it.
    ::RtlCaptureStackBackTrace(2, static_cast<DWORD>(frames.size()), frames.data(), nullptr);
    ::AcquireSRWLockExclusive(&g_lock);
    (*g_origins)[event] = frames;
    ::ReleaseSRWLockExclusive(&g_lock);
    return event;
}

HANDLE WINAPI RecordCreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL set, LPCSTR name)
{
    return Record(g_createEventA(security, manual, set, name));
}

HANDLE WINAPI RecordCreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL set,
                                 LPCWSTR name)
{
    return Record(g_createEventW(security, manual, set, name));
}

HANDLE WINAPI RecordCreateEventExW(LPSECURITY_ATTRIBUTES security, LPCWSTR name, DWORD flags,
                                   DWORD access)
{
    return Record(g_createEventExW(security, name, flags, access));
}

void* Redirect(const char* name)
{
    if (std::strcmp(name, "CreateEventA") == 0)
        return reinterpret_cast<void*>(&RecordCreateEventA);
    if (std::strcmp(name, "CreateEventW") == 0)
        return reinterpret_cast<void*>(&RecordCreateEventW);
    if (std::strcmp(name, "CreateEventExW") == 0)
        return reinterpret_cast<void*>(&RecordCreateEventExW);
    return nullptr;
}

std::wstring Describe(void* address)
{
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH] = {};
    if (!::GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<const wchar_t*>(address), &module) ||
        !::GetModuleFileNameW(module, path, MAX_PATH))
        return L"?";
    const wchar_t* name = std::wcsrchr(path, L'\\');
    wchar_t offset[32] = {};
    std::swprintf(offset, 32, L"+0x%llx",
                  static_cast<unsigned long long>(static_cast<char*>(address) -
                                                  reinterpret_cast<char*>(module)));
    return std::wstring(name ? name + 1 : path) + offset;
}

} // namespace

void TrackEventOrigins(HMODULE module)
{
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), "kernel32.dll") != 0 ||
            entry->OriginalFirstThunk == 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            void* recorder = Redirect(reinterpret_cast<const char*>(byName->Name));
            if (recorder == nullptr)
                continue;
            DWORD protection = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE,
                             &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(recorder);
            ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection,
                             &protection);
        }
    }
}

std::wstring EventOrigin(HANDLE event)
{
    Frames frames = {};
    ::AcquireSRWLockShared(&g_lock);
    const auto found = g_origins->find(event);
    const bool known = found != g_origins->end();
    if (known)
        frames = found->second;
    ::ReleaseSRWLockShared(&g_lock);
    std::wstring text;
    for (void* frame : frames) {
        if (frame == nullptr)
            break;
        text += (text.empty() ? L"" : L" < ") + Describe(frame);
    }
    return text;
}

} // namespace campaign
