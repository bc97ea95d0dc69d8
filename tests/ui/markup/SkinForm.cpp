#include "tests/ui/markup/SkinForm.h"

#include "ui/controls/ControlElements.h"
#include "ui/core/Box.h"
#include "ui/markup/GlobalManager.h"

namespace ui::test {

namespace {

void Visit(Control& control, const std::function<void(Control&)>& visit)
{
    visit(control);
    if (auto* box = dynamic_cast<Box*>(&control)) {
        for (size_t i = 0; i < box->GetCount(); ++i)
            Visit(*box->GetItemAt(i), visit);
    }
}

} // namespace

bool SkinForm::StartSkin()
{
    if (GlobalManager::OpenThemeResource(::GetModuleHandleW(nullptr)) != 0)
        return false;
    GlobalManager::Startup(L"resources\\", {}, L"themes\\default", L"lang\\zh_CN");
    RegisterControlElements();
    return true;
}

SkinForm* SkinForm::Open(const std::wstring& folder, const std::wstring& file)
{
    auto* form = new SkinForm(folder, file);
    // A failed creation deletes the form with its native window.
    if (form->Create(nullptr, L"KorVane skin", WS_POPUP | WS_CLIPCHILDREN, 0) == nullptr)
        return nullptr;
    return form;
}

void SkinForm::ForEachControl(const std::function<void(Control&)>& visit) const
{
    if (GetRoot() != nullptr)
        Visit(*GetRoot(), visit);
}

} // namespace ui::test
