#pragma once

#include <windows.h>

#include <string>

// Appends one UTF-8 line per entry to the journal file, if one is open.
class SimJournal {
public:
    SimJournal() = default;
    SimJournal(const SimJournal&) = delete;
    SimJournal& operator=(const SimJournal&) = delete;
    ~SimJournal();

    // An empty path closes the journal. False when the file cannot be opened.
    bool Open(const std::wstring& m_path);
    const std::wstring& Path() const { return m_path; }
    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    void Write(const std::wstring& line);

private:
    void Close();

    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::wstring m_path;
};
