#pragma once

#include <cstdint>

namespace ui {

class MarkupDocument;

// A view of one element of a MarkupDocument. Strings point into the
// document's buffer and live as long as its current content. Attributes
// are located on first use; only the first kMaxAttributes are visible.
class MarkupNode {
public:
    static constexpr uint32_t kMaxAttributes = 64;

    MarkupNode() = default;
    MarkupNode(const MarkupDocument* document, uint32_t element);
    // Copies only the attribute entries in use.
    MarkupNode(const MarkupNode& other);
    MarkupNode& operator=(const MarkupNode& other);

    bool IsValid() const { return m_document != nullptr; }
    const wchar_t* GetName() const;
    const wchar_t* GetValue() const;
    MarkupNode GetChild() const;
    MarkupNode GetSibling() const;
    MarkupNode GetParent() const;

    uint32_t GetAttributeCount() const;
    const wchar_t* GetAttributeName(uint32_t index) const;
    const wchar_t* GetAttributeValue(uint32_t index) const;
    // Exact, case-sensitive match; the first one wins; "" when absent.
    const wchar_t* GetAttributeValue(const wchar_t* name) const;
    bool HasAttribute(const wchar_t* name) const;

private:
    struct Attribute {
        uint32_t nameStart;
        uint32_t valueStart;
    };

    void MapAttributes() const
    {
        if (!m_mapped && m_document != nullptr) {
            Map();
        }
    }
    void Map() const;
    const wchar_t* FindAttribute(const wchar_t* name) const;
    MarkupNode Link(uint32_t element) const;

    const MarkupDocument* m_document = nullptr;
    uint32_t m_element = 0;
    mutable bool m_mapped = false;
    mutable uint32_t m_attributeCount = 0;
    // Only the first m_attributeCount entries are ever written or read;
    // leaving the rest uninitialised keeps node creation cheap.
    mutable Attribute m_attributes[kMaxAttributes];
};

} // namespace ui
