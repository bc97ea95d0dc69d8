#pragma once

#include "ui/core/WindowImplBase.h"

#include <functional>
#include <string>

namespace ui::test {

// A window built from one layout file of the program's own skin archive
// (the THEME resource of the test program), with no application code
// behind it: to check and to look at the skin by itself.
class SkinForm : public WindowImplBase {
public:
    SkinForm(std::wstring folder, std::wstring file)
        : m_folder(std::move(folder)), m_file(std::move(file))
    {
    }

    std::wstring GetWindowClassName() const override { return L"KvSkinForm"; }
    std::wstring GetSkinFolder() override { return m_folder; }
    std::wstring GetSkinFile() override { return m_file; }

    // Opens the skin archive of this program and starts the UI resources
    // as the program does; false when the archive is missing.
    static bool StartSkin();
    // Creates the native window (hidden); null when the layout fails. The
    // form deletes itself with its window.
    static SkinForm* Open(const std::wstring& folder, const std::wstring& file);

    // Calls visit for every control of the tree, boxes before their items.
    void ForEachControl(const std::function<void(Control&)>& visit) const;

private:
    std::wstring m_folder;
    std::wstring m_file;
};

} // namespace ui::test
