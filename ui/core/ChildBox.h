#pragma once

#include "ui/core/Box.h"

#include <string>

namespace ui {

// A box filled from another layout file ("xmlfile") when it is attached;
// documents read this way are kept for later boxes of the same file.
class ChildBox : public Box {
public:
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void OnInit() override;

    const std::wstring& GetChildLayoutXml() const { return m_xmlFile; }

private:
    std::wstring m_xmlFile;
};

} // namespace ui
