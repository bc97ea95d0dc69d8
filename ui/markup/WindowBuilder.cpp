#include "ui/markup/WindowBuilder.h"

#include "ui/markup/GlobalManager.h"
#include "ui/markup/TextEncoding.h"

#include <cwchar>
#include <string_view>
#include <utility>

namespace ui {
namespace {

bool IsTrue(const wchar_t* value)
{
    return std::wcscmp(value, L"true") == 0;
}

bool NameIs(const MarkupNode& node, const wchar_t* name)
{
    return std::wcscmp(node.GetName(), name) == 0;
}

} // namespace

bool WindowBuilder::LoadLayout(const std::wstring& layout)
{
    if (!layout.empty() && layout[0] == L'<') {
        return m_document.LoadFromString(layout);
    }
    if (GlobalManager::IsArchiveInUse()) {
        const GlobalBlock block = GlobalManager::GetData(GlobalManager::GetResourcePath() + layout);
        if (block) {
            // Archive documents are taken up to the first NUL byte, byte-order
            // mark included.
            const auto* bytes = reinterpret_cast<const char*>(block.Lock());
            std::string_view text(bytes, bytes != nullptr ? block.GetSize() : 0);
            text = text.substr(0, text.find('\0'));
            std::wstring wide = TextEncoding::Utf8ToWide(text);
            block.Unlock();
            return m_document.LoadFromString(std::move(wide));
        }
    }
    return m_document.LoadFromFile(layout);
}

void WindowBuilder::ApplyGlobalRoot(const MarkupNode& root)
{
    for (uint32_t i = 0; i < root.GetAttributeCount(); ++i) {
        const wchar_t* name = root.GetAttributeName(i);
        if (std::wcscmp(name, L"defaultfontcolor") == 0) {
            GlobalManager::SetDefaultTextColor(root.GetAttributeValue(i));
        } else if (std::wcscmp(name, L"disabledfontcolor") == 0) {
            GlobalManager::SetDefaultDisabledTextColor(root.GetAttributeValue(i));
        }
        // "linkfontcolor", "linkhoverfontcolor" and "selectedcolor" are
        // accepted by the skin format but not used by any control.
    }
    for (MarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (NameIs(node, L"Font")) {
            AddFont(node);
        } else if (NameIs(node, L"TextColor")) {
            GlobalManager::AddTextColor(node.GetAttributeValue(L"name"),
                                        node.GetAttributeValue(L"value"));
        } else if (NameIs(node, L"Class")) {
            GlobalManager::AddClass(node.GetAttributeValue(L"name"), GetClassAttributeList(node));
        }
    }
}

void WindowBuilder::AddFont(const MarkupNode& fontNode)
{
    std::wstring id;
    std::wstring faceName;
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool isDefault = false;
    for (uint32_t i = 0; i < fontNode.GetAttributeCount(); ++i) {
        const wchar_t* name = fontNode.GetAttributeName(i);
        const wchar_t* value = fontNode.GetAttributeValue(i);
        if (std::wcscmp(name, L"id") == 0) {
            id = value;
        } else if (std::wcscmp(name, L"name") == 0) {
            faceName = value;
        } else if (std::wcscmp(name, L"size") == 0) {
            size = static_cast<int>(std::wcstol(value, nullptr, 10));
        } else if (std::wcscmp(name, L"bold") == 0) {
            bold = IsTrue(value);
        } else if (std::wcscmp(name, L"underline") == 0) {
            underline = IsTrue(value);
        } else if (std::wcscmp(name, L"italic") == 0) {
            italic = IsTrue(value);
        } else if (std::wcscmp(name, L"default") == 0) {
            isDefault = IsTrue(value);
        }
    }
    if (!faceName.empty()) {
        GlobalManager::AddFont(id, faceName, size, bold, underline, italic, isDefault);
    }
}

std::wstring WindowBuilder::GetClassAttributeList(const MarkupNode& classNode)
{
    std::wstring list;
    for (uint32_t i = 0; i < classNode.GetAttributeCount(); ++i) {
        const wchar_t* name = classNode.GetAttributeName(i);
        const wchar_t* value = classNode.GetAttributeValue(i);
        if (std::wcscmp(name, L"name") == 0) {
            continue;
        }
        if (std::wcscmp(name, L"value") == 0) {
            list += value;
            continue;
        }
        // "_value" sets a control's own "value" attribute through the class.
        list += L' ';
        list += std::wcscmp(name, L"_value") == 0 ? L"value" : name;
        list += L"=\"";
        list += value;
        list += L'"';
    }
    // Leading blanks and control characters go, so the list starts with a name.
    size_t first = 0;
    while (first < list.size() &&
           (list[first] == L' ' || static_cast<unsigned>(list[first]) <= 29)) {
        ++first;
    }
    return list.substr(first);
}

} // namespace ui
