#include "app/kvctl/KvctlConsole.h"

#include "ui/markup/TextEncoding.h"

void KvctlConsole::Write(HANDLE stream, const std::wstring& text)
{
    if (stream == nullptr || stream == INVALID_HANDLE_VALUE || text.empty())
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(stream, &mode)) {
        ::WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = ui::TextEncoding::WideToUtf8(text);
    ::WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
