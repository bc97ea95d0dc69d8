#include "ui/markup/MarkupNode.h"

#include "ui/markup/MarkupDocument.h"

#include <algorithm>
#include <cwchar>

namespace ui {

MarkupNode::MarkupNode(const MarkupDocument* document, uint32_t element)
    : m_document(document), m_element(element)
{
}

MarkupNode::MarkupNode(const MarkupNode& other)
    : m_document(other.m_document),
      m_element(other.m_element),
      m_mapped(other.m_mapped),
      m_attributeCount(other.m_attributeCount)
{
    std::copy_n(other.m_attributes, other.m_attributeCount, m_attributes);
}

MarkupNode& MarkupNode::operator=(const MarkupNode& other)
{
    m_document = other.m_document;
    m_element = other.m_element;
    m_mapped = other.m_mapped;
    m_attributeCount = other.m_attributeCount;
    std::copy_n(other.m_attributes, other.m_attributeCount, m_attributes);
    return *this;
}

const wchar_t* MarkupNode::GetName() const
{
    if (m_document == nullptr) {
        return L"";
    }
    return m_document->m_text.c_str() + m_document->m_elements[m_element].nameStart;
}

const wchar_t* MarkupNode::GetValue() const
{
    if (m_document == nullptr) {
        return L"";
    }
    return m_document->m_text.c_str() + m_document->m_elements[m_element].dataStart;
}

MarkupNode MarkupNode::Link(uint32_t element) const
{
    return element == 0 ? MarkupNode() : MarkupNode(m_document, element);
}

MarkupNode MarkupNode::GetChild() const
{
    return m_document == nullptr ? MarkupNode()
                                 : Link(m_document->m_elements[m_element].firstChild);
}

MarkupNode MarkupNode::GetSibling() const
{
    return m_document == nullptr ? MarkupNode()
                                 : Link(m_document->m_elements[m_element].nextSibling);
}

MarkupNode MarkupNode::GetParent() const
{
    return m_document == nullptr ? MarkupNode() : Link(m_document->m_elements[m_element].parent);
}

// Walks the attribute block between the element name and the element's
// data: each attribute is a NUL-terminated name, blanks, a quote and a
// NUL-terminated value. Every string ends in a NUL inside the buffer, so the
// scans are safe; a scan that ends at or past the data start ends the walk.
// Short strings make a plain loop faster than wcslen here.
void MarkupNode::Map() const
{
    m_mapped = true;
    const wchar_t* const text = m_document->m_text.c_str();
    const MarkupElement& element = m_document->m_elements[m_element];
    const wchar_t* const limit = text + element.dataStart;
    auto skipBlanks = [limit](const wchar_t* p) {
        while (p<limit&& * p> 0 && *p <= 32) {
            ++p;
        }
        return p;
    };
    auto toEnd = [](const wchar_t* p) {
        while (*p != 0) {
            ++p;
        }
        return p;
    };
    const wchar_t* s = toEnd(text + element.nameStart) + 1;
    while (m_attributeCount < kMaxAttributes) {
        const wchar_t* const name = skipBlanks(s);
        s = toEnd(name);
        if (s >= limit) {
            return;
        }
        s = skipBlanks(s + 1);
        if (s >= limit || *s != L'"') {
            return;
        }
        const wchar_t* const value = s + 1;
        s = toEnd(value);
        if (s >= limit) {
            return;
        }
        ++s;
        m_attributes[m_attributeCount++] = {static_cast<uint32_t>(name - text),
                                            static_cast<uint32_t>(value - text)};
    }
}

uint32_t MarkupNode::GetAttributeCount() const
{
    MapAttributes();
    return m_attributeCount;
}

const wchar_t* MarkupNode::GetAttributeName(uint32_t index) const
{
    MapAttributes();
    return index < m_attributeCount ? m_document->m_text.c_str() + m_attributes[index].nameStart
                                    : L"";
}

const wchar_t* MarkupNode::GetAttributeValue(uint32_t index) const
{
    MapAttributes();
    return index < m_attributeCount ? m_document->m_text.c_str() + m_attributes[index].valueStart
                                    : L"";
}

const wchar_t* MarkupNode::FindAttribute(const wchar_t* name) const
{
    MapAttributes();
    for (uint32_t i = 0; i < m_attributeCount; ++i) {
        if (std::wcscmp(m_document->m_text.c_str() + m_attributes[i].nameStart, name) == 0) {
            return m_document->m_text.c_str() + m_attributes[i].valueStart;
        }
    }
    return nullptr;
}

const wchar_t* MarkupNode::GetAttributeValue(const wchar_t* name) const
{
    const wchar_t* value = FindAttribute(name);
    return value != nullptr ? value : L"";
}

bool MarkupNode::HasAttribute(const wchar_t* name) const
{
    return FindAttribute(name) != nullptr;
}

} // namespace ui
