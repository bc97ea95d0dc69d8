#pragma once

#include "ui/markup/MarkupElement.h"
#include "ui/markup/MarkupNode.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ui {

// A skin document parsed in place: the text buffer receives NULs that end
// names and values, and nodes hand out pointers into it. Every load drops
// the previous content, so nodes of an earlier load must not be used.
// Whitespace in text and attribute values is always kept as written.
class MarkupDocument {
public:
    static constexpr size_t kMaxFileSize = 4 * 1024 * 1024;

    bool LoadFromString(std::wstring text);
    // File contents as read from disk: size rules, UTF-8 byte-order mark
    // dropped, converted from UTF-8.
    bool LoadFromFileData(const uint8_t* data, size_t size);
#ifdef _WIN32
    // Relative paths are taken under the resource root.
    bool LoadFromFile(const std::wstring& path);
#endif
    void Release();

    MarkupNode GetRoot() const;
    const wchar_t* GetErrorMessage() const
    {
        return m_errorMessage;
    }
    const wchar_t* GetErrorLocation() const
    {
        return m_errorLocation;
    }

private:
    friend class MarkupNode;

    bool Parse();
    bool Fail(const wchar_t* message, const wchar_t* location);
    uint32_t AppendElement();

    std::wstring m_text;
    std::unique_ptr<MarkupElement[]> m_elements;
    uint32_t m_elementCount = 0;
    uint32_t m_elementCapacity = 0;
    wchar_t m_errorMessage[100] = {};
    wchar_t m_errorLocation[50] = {};
};

} // namespace ui
