#include "panel/SceneFile.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

std::wstring SystemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length != 0 ? std::wstring(text, length) : std::wstring();
    if (text != nullptr)
        ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    if (message.empty())
        message = L"error " + std::to_wstring(error);
    return message;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    HANDLE Get() const { return m_handle; }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

SceneDocument::ReadResult Failure(const std::wstring& path, const std::wstring& error)
{
    SceneDocument::ReadResult result;
    result.error = path + L": " + error;
    return result;
}

} // namespace

std::wstring SceneFile::Title(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring_view::npos && dot != 0)
        name = name.substr(0, dot);
    return std::wstring(name);
}

SceneDocument::ReadResult SceneFile::Read(const std::wstring& path)
{
    const FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return Failure(path, SystemMessage(::GetLastError()));
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        return Failure(path, SystemMessage(::GetLastError()));
    // Only so much is read that a file too large is told apart.
    const LONGLONG wanted =
        std::min<LONGLONG>(size.QuadPart, static_cast<LONGLONG>(SceneDocument::kMaxFileSize) + 1);
    std::vector<uint8_t> bytes(static_cast<size_t>(wanted));
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return Failure(path, SystemMessage(::GetLastError()));
    if (size.QuadPart > static_cast<LONGLONG>(SceneDocument::kMaxFileSize)) {
        return Failure(path, L"the file is too large to be a scene (" +
                                 std::to_wstring(size.QuadPart) + L" bytes; a scene has at most " +
                                 std::to_wstring(SceneDocument::kMaxFileSize) + L")");
    }
    SceneDocument::ReadResult result = SceneDocument::Read(bytes.data(), read);
    if (!result.scene)
        result.error = path + L": " + result.error;
    return result;
}

std::wstring SceneFile::Write(const std::wstring& path, const Scene& scene)
{
    const std::string bytes = SceneDocument::Write(scene, Title(path));
    // Written beside the target first, so that a failed write never leaves
    // a damaged scene where a good one was.
    const std::wstring temporary =
        path + L".saving-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    DWORD error = 0;
    {
        const FileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsOpen())
            return path + L": " + SystemMessage(::GetLastError());
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) ||
            written != bytes.size() || !::FlushFileBuffers(file.Get())) {
            error = ::GetLastError();
            if (error == 0)
                error = ERROR_WRITE_FAULT;
        }
    }
    if (error == 0 && !::MoveFileExW(temporary.c_str(), path.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = ::GetLastError();
    if (error != 0) {
        ::DeleteFileW(temporary.c_str());
        return path + L": " + SystemMessage(error);
    }
    return {};
}
