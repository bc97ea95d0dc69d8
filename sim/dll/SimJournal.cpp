#include "sim/dll/SimJournal.h"

#include "sim/SimText.h"

SimJournal::~SimJournal()
{
    Close();
}

bool SimJournal::Open(const std::wstring& newPath)
{
    Close();
    m_path = newPath;
    if (m_path.empty()) {
        return true;
    }
    // Appending lets several loads of the library in one test share one journal.
    m_file = ::CreateFileW(m_path.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_file != INVALID_HANDLE_VALUE;
}

void SimJournal::Write(const std::wstring& line)
{
    if (m_file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string bytes = SimText::ToUtf8(line) + "\n";
    DWORD written = 0;
    ::WriteFile(m_file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void SimJournal::Close()
{
    if (m_file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}
