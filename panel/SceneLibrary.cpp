#include "panel/SceneLibrary.h"

#include <windows.h>
#include <shlobj.h>

#include "panel/RecentScenes.h"
#include "ui/markup/TextEncoding.h"

namespace {

RecentScenes ReadList(const std::wstring& path)
{
    RecentScenes list;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return list;
    // A handful of paths; anything longer is not our list.
    std::string bytes(64 * 1024, '\0');
    DWORD read = 0;
    if (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        bytes.resize(read);
        list.Load(ui::TextEncoding::Utf8ToWide(bytes));
    }
    ::CloseHandle(file);
    return list;
}

void WriteList(const std::wstring& path, const RecentScenes& list)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string bytes = ui::TextEncoding::WideToUtf8(list.Text());
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

} // namespace

std::wstring SceneLibrary::DefaultRoot()
{
    wchar_t* appData = nullptr;
    std::wstring root;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &appData) == S_OK)
        root = std::wstring(appData) + L"\\KorVane Controls";
    ::CoTaskMemFree(appData);
    return root;
}

const std::wstring& SceneLibrary::Root() const
{
    if (!m_rootKnown) {
        m_root = DefaultRoot();
        m_rootKnown = true;
    }
    return m_root;
}

std::wstring SceneLibrary::SceneFolder() const
{
    if (Root().empty())
        return {};
    ::CreateDirectoryW(Root().c_str(), nullptr);
    const std::wstring folder = Root() + L"\\Scenes";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring SceneLibrary::RecentListPath() const
{
    return Root() + L"\\recent-scenes.txt";
}

std::vector<std::wstring> SceneLibrary::Recent() const
{
    std::vector<std::wstring> existing;
    if (Root().empty())
        return existing;
    const RecentScenes list = ReadList(RecentListPath());
    for (const std::wstring& path : list.Paths()) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            existing.push_back(path);
    }
    return existing;
}

void SceneLibrary::Remember(const std::wstring& path)
{
    if (Root().empty())
        return;
    ::CreateDirectoryW(Root().c_str(), nullptr);
    RecentScenes list = ReadList(RecentListPath());
    list.Add(path);
    WriteList(RecentListPath(), list);
}

void SceneLibrary::Forget(const std::wstring& path)
{
    if (Root().empty())
        return;
    RecentScenes list = ReadList(RecentListPath());
    list.Remove(path);
    WriteList(RecentListPath(), list);
}
