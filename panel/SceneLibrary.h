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

    // The user's folder is looked up on first use: the lookup costs the
    // program's start milliseconds, and scenes wait for the user.
    SceneLibrary() = default;
    explicit SceneLibrary(std::wstring root) : m_root(std::move(root)), m_rootKnown(true) {}

    // The "Scenes" folder under the root, made when missing.
    std::wstring SceneFolder() const;
    // The recent scenes that still exist, most recent first.
    std::vector<std::wstring> Recent() const;
    void Remember(const std::wstring& path);
    void Forget(const std::wstring& path);

private:
    const std::wstring& Root() const;
    std::wstring RecentListPath() const;

    mutable std::wstring m_root;
    mutable bool m_rootKnown = false;
};
