#pragma once

#include <string>
#include <vector>

// Where the panel keeps scenes: the default folder for the file dialogs and
// the list of scenes used last, both under the user's application data
// ("%APPDATA%\KorVane Controls"). A test gives a folder of its own.
class SceneLibrary {
public:
    static constexpr wchar_t kExtension[] = L"kvscene";

    // The user's "%APPDATA%\KorVane Controls".
    static std::wstring DefaultRoot();

    explicit SceneLibrary(std::wstring root = DefaultRoot()) : m_root(std::move(root)) {}

    // The "Scenes" folder under the root, made when missing.
    std::wstring SceneFolder() const;
    // The recent scenes that still exist, most recent first.
    std::vector<std::wstring> Recent() const;
    void Remember(const std::wstring& path);
    void Forget(const std::wstring& path);

private:
    std::wstring RecentListPath() const;

    std::wstring m_root;
};
