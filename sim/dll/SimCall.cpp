#include "sim/dll/SimCall.h"

#include "sim/SimText.h"
#include "sim/dll/SimRuntime.h"

namespace {

std::wstring FormatBytes(const SimCall::Bytes& bytes)
{
    if (bytes.data == nullptr) {
        return L"0";
    }
    std::wstring text = L"[";
    const auto* data = static_cast<const uint8_t*>(bytes.data);
    for (uint32_t i = 0; i < bytes.size; ++i) {
        text += SimText::Format(i == 0 ? "%02X" : " %02X", data[i]);
    }
    return text + L"]";
}

} // namespace

SimCall::SimCall(const wchar_t* entry) : m_line(entry)
{
    SimRuntime& runtime = SimRuntime::Get();
    runtime.EnsureStarted();
    m_lock.emplace(runtime);
    // A slow entry waits without the lock, as other calls go on meanwhile.
    if (const uint32_t delay = runtime.Driver().m_injection.TakeDelay(entry)) {
        m_lock.reset();
        ::Sleep(delay);
        m_lock.emplace(runtime);
    }
    m_injected = runtime.Driver().m_injection.TakeFailure(entry);
    m_journaled = runtime.IsJournaling();
    m_line += L"(";
}

SimCall::~SimCall()
{
    if (!m_finished) {
        Finish(0);
    }
}

SimDriver& SimCall::Driver()
{
    return SimRuntime::Get().Driver();
}

uint32_t SimCall::Finish(uint32_t status)
{
    SimRuntime& runtime = SimRuntime::Get();
    m_finished = true;
    if (m_injected) {
        status = *m_injected;
    }
    if (m_journaled) {
        runtime.Journal(m_line + SimText::Format(") = 0x%08X", status) +
                        (m_injected ? std::wstring() : m_outputs) +
                        (m_injected ? L" (injected)" : L""));
    }
    m_lock.reset();
    return status;
}

void SimCall::Out(const wchar_t* name, int64_t value)
{
    if (!m_journaled)
        return;
    m_outputs += L" " + std::wstring(name) + L"=" + std::to_wstring(value);
}

void SimCall::Out(const wchar_t* name, Bytes value)
{
    if (!m_journaled)
        return;
    m_outputs += L" " + std::wstring(name) + L"=" + FormatBytes(value);
}

void SimCall::Add(const std::wstring& text)
{
    if (!m_firstArg) {
        m_line += L",";
    }
    m_firstArg = false;
    m_line += text;
}

void SimCall::AddArg(uint32_t value)
{
    Add(std::to_wstring(value));
}

void SimCall::AddArg(int value)
{
    Add(std::to_wstring(value));
}

void SimCall::AddArg(int16_t value)
{
    Add(std::to_wstring(value));
}

void SimCall::AddArg(uint16_t value)
{
    Add(std::to_wstring(value));
}

void SimCall::AddArg(uint8_t value)
{
    Add(std::to_wstring(value));
}

void SimCall::AddArg(Hex value)
{
    Add(SimText::Format("0x%08X", value.value));
}

void SimCall::AddArg(Bytes value)
{
    Add(FormatBytes(value));
}

void SimCall::AddArg(HWND window)
{
    Add(SimText::Format("0x%llX",
                        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window))));
}

void SimCall::AddArg(const wchar_t* text)
{
    Add(text != nullptr ? L"\"" + std::wstring(text) + L"\"" : std::wstring(L"0"));
}

void SimCall::AddArg(wchar_t* buffer)
{
    AddArg(static_cast<const void*>(buffer));
}

void SimCall::AddArg(const void* pointer)
{
    Add(pointer != nullptr ? L"&" : L"0");
}
