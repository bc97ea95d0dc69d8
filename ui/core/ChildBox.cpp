#include "ui/core/ChildBox.h"

#include "ui/markup/WindowBuilder.h"

namespace ui {

void ChildBox::SetAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name == L"xmlfile")
        m_xmlFile = value;
    else
        Box::SetAttribute(name, value);
}

void ChildBox::OnInit()
{
    if (m_xmlFile.empty())
        return;
    if (std::unique_ptr<Control> content = WindowBuilder::BuildIntoBox(m_xmlFile, m_window))
        Add(std::move(content));
}

} // namespace ui
