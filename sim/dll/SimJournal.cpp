#include "sim/dll/SimJournal.h"

#include "sim/SimText.h"

SimJournal::~SimJournal()
{
    Close();
}

bool SimJournal::Open(const std::wstring& newPath)
{
    Close();
    path = newPath;
    if (path.empty()) {
        return true;
    }
    // Appending lets several loads of the library in one test share one journal.
    file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
}

void SimJournal::Write(const std::wstring& line)
{
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string bytes = SimText::ToUtf8(line) + "\n";
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void SimJournal::Close()
{
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
}
