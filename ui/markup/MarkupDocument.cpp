#include "ui/markup/MarkupDocument.h"

#include "ui/markup/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <limits>
#include <type_traits>

namespace ui {
namespace {

// Character classes of the ASCII range, for the scanning loops.
enum CharClass : uint8_t {
    kNameChar = 1,        // "_", ":", letters and digits
    kElementTextStop = 2, // "<", "&" and the end of the text
    kAttributeStop = 4,   // the double quote, "&" and the end of the text
};

constexpr std::array<uint8_t, 128> MakeCharClasses()
{
    std::array<uint8_t, 128> classes{};
    for (int c = 0; c < 128; ++c) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '_' || c == ':') {
            classes[c] |= kNameChar;
        }
    }
    classes[0] |= kElementTextStop | kAttributeStop;
    classes['&'] |= kElementTextStop | kAttributeStop;
    classes['<'] |= kElementTextStop;
    classes['"'] |= kAttributeStop;
    return classes;
}

constexpr std::array<uint8_t, 128> kCharClasses = MakeCharClasses();

inline auto Unsigned(wchar_t c)
{
    return static_cast<std::make_unsigned_t<wchar_t>>(c);
}

inline bool IsWhitespace(wchar_t c)
{
    return c > 0 && c <= 32;
}

inline void SkipWhitespace(wchar_t*& s)
{
    while (IsWhitespace(*s)) {
        ++s;
    }
}

// Characters outside ASCII follow the C library's wide classification
// (Unicode on Windows).
inline bool IsNameChar(wchar_t c)
{
    const auto u = Unsigned(c);
    return u < 128 ? (kCharClasses[u] & kNameChar) != 0
                   : std::iswalnum(static_cast<wint_t>(u)) != 0;
}

template <uint8_t StopClass>
inline bool IsStop(wchar_t c)
{
    const auto u = Unsigned(c);
    return u < 128 && (kCharClasses[u] & StopClass) != 0;
}

// Advances to the next stop character; the end of the text is one, so the
// unrolled reads never pass it.
template <uint8_t StopClass>
inline void ScanToStop(wchar_t*& s)
{
    for (;;) {
        if (IsStop<StopClass>(s[0])) {
            return;
        }
        if (IsStop<StopClass>(s[1])) {
            s += 1;
            return;
        }
        if (IsStop<StopClass>(s[2])) {
            s += 2;
            return;
        }
        if (IsStop<StopClass>(s[3])) {
            s += 3;
            return;
        }
        s += 4;
    }
}

// Decodes the named entity at s ("&" included) into out; returns its length
// or 0 when the text there is not one of the five entities.
inline size_t MatchEntity(const wchar_t* s, wchar_t& out)
{
    switch (s[1]) {
    case L'a':
        if (s[2] == L'm' && s[3] == L'p' && s[4] == L';') {
            out = L'&';
            return 5;
        }
        if (s[2] == L'p' && s[3] == L'o' && s[4] == L's' && s[5] == L';') {
            out = L'\'';
            return 6;
        }
        return 0;
    case L'l':
        if (s[2] == L't' && s[3] == L';') {
            out = L'<';
            return 4;
        }
        return 0;
    case L'g':
        if (s[2] == L't' && s[3] == L';') {
            out = L'>';
            return 4;
        }
        return 0;
    case L'q':
        if (s[2] == L'u' && s[3] == L'o' && s[4] == L't' && s[5] == L';') {
            out = L'"';
            return 6;
        }
        return 0;
    default:
        return 0;
    }
}

// Text up to the terminator (or the end), entities decoded in place. The
// room that decoding frees before the terminator is filled with spaces so
// that the attribute block keeps its shape. Returns the end of the copy;
// s is left on the terminator.
template <wchar_t Terminator, uint8_t StopClass>
wchar_t* ParseText(wchar_t*& s)
{
    ScanToStop<StopClass>(s);
    wchar_t* dest = s;
    while (*s != Terminator && *s != 0) {
        wchar_t decoded = 0;
        const size_t length = MatchEntity(s, decoded);
        if (length != 0) {
            *dest++ = decoded;
            s += length;
        } else {
            *dest++ = *s++;
        }
        while (!IsStop<StopClass>(*s)) {
            *dest++ = *s++;
        }
    }
    std::fill(dest, s, L' ');
    return dest;
}

// Skips a comment (from "!" to "->") or a processing instruction (from "?"
// to "?>"); at the end of the text it stops there.
void SkipMarkupDeclaration(wchar_t*& s)
{
    const wchar_t first = (*s == L'!') ? L'-' : L'?';
    while (*s != 0 && !(s[0] == first && s[1] == L'>')) {
        ++s;
    }
    if (*s != 0) {
        s += 2;
    }
}

template <size_t N>
void CopyTruncated(wchar_t (&target)[N], const wchar_t* source)
{
    size_t i = 0;
    for (; source != nullptr && i + 1 < N && source[i] != 0; ++i) {
        target[i] = source[i];
    }
    std::fill(target + i, target + N, L'\0');
}

} // namespace

bool MarkupDocument::LoadFromString(std::wstring text)
{
    Release();
    if (text.size() >= std::numeric_limits<uint32_t>::max()) {
        return Fail(L"File too large", nullptr);
    }
    m_text = std::move(text);
    return Parse();
}

bool MarkupDocument::LoadFromFileData(const uint8_t* data, size_t size)
{
    Release();
    if (size == 0) {
        return Fail(L"File is empty", nullptr);
    }
    if (size > kMaxFileSize) {
        return Fail(L"File too large", nullptr);
    }
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        data += 3;
        size -= 3;
    }
    m_text = TextEncoding::Utf8ToWide({reinterpret_cast<const char*>(data), size});
    return Parse();
}

void MarkupDocument::Release()
{
    std::wstring().swap(m_text);
    m_elements.reset();
    m_elementCount = 0;
    m_elementCapacity = 0;
}

MarkupNode MarkupDocument::GetRoot() const
{
    return m_elementCount > 1 ? MarkupNode(this, 1) : MarkupNode();
}

bool MarkupDocument::Fail(const wchar_t* message, const wchar_t* location)
{
    CopyTruncated(m_errorMessage, message);
    CopyTruncated(m_errorLocation, location);
    Release();
    return false;
}

uint32_t MarkupDocument::AppendElement()
{
    if (m_elementCount == m_elementCapacity) {
        const uint32_t capacity = m_elementCapacity + m_elementCapacity / 2 + 500;
        auto grown = std::make_unique<MarkupElement[]>(capacity);
        std::copy(m_elements.get(), m_elements.get() + m_elementCount, grown.get());
        m_elements = std::move(grown);
        m_elementCapacity = capacity;
    }
    m_elements[m_elementCount] = MarkupElement{};
    return m_elementCount++;
}

// Iterative form of the element grammar: `parent` is the element whose
// children are being read (0 at the top level) and `previous` the last
// element read at that level. Closing a tag climbs back through the parent
// links, so nesting depth costs no stack.
bool MarkupDocument::Parse()
{
    std::fill(std::begin(m_errorMessage), std::end(m_errorMessage), L'\0');
    std::fill(std::begin(m_errorLocation), std::end(m_errorLocation), L'\0');
    AppendElement();

    wchar_t* const base = m_text.data();
    wchar_t* s = base;
    uint32_t parent = 0;
    uint32_t previous = 0;
    SkipWhitespace(s);
    for (;;) {
        if (*s == 0 && parent <= 1) {
            return true;
        }
        SkipWhitespace(s);
        if (*s != L'<') {
            return Fail(L"Expected start tag", s);
        }
        if (s[1] == L'/') {
            if (parent == 0) {
                return true;
            }
            *s = 0;
            s += 2;
            SkipWhitespace(s);
            const wchar_t* name = base + m_elements[parent].nameStart;
            while (*name != 0 && *name == *s) {
                ++name;
                ++s;
            }
            if (*name != 0) {
                return Fail(L"Unmatched closing tag", s);
            }
            SkipWhitespace(s);
            if (*s != L'>') {
                return Fail(L"Unmatched closing tag", s);
            }
            ++s;
            SkipWhitespace(s);
            previous = parent;
            parent = m_elements[parent].parent;
            continue;
        }

        *s++ = 0;
        SkipWhitespace(s);
        if (*s == L'!' || *s == L'?') {
            SkipMarkupDeclaration(s);
            SkipWhitespace(s);
            continue;
        }

        const uint32_t element = AppendElement();
        m_elements[element].nameStart = static_cast<uint32_t>(s - base);
        m_elements[element].parent = parent;
        if (previous != 0) {
            m_elements[previous].nextSibling = element;
        } else if (parent != 0) {
            m_elements[parent].firstChild = element;
        }
        while (IsNameChar(*s)) {
            ++s;
        }
        if (*s == 0) {
            return Fail(L"Error parsing element name", s);
        }
        wchar_t* const nameEnd = s;

        // Attributes: name="value" pairs; "=" becomes a blank and the
        // name and value ends become NULs, which attribute mapping follows.
        if (*s != L'>' && !(s[0] == L'/' && s[1] == L'>')) {
            *s++ = 0;
            SkipWhitespace(s);
            while (*s != 0 && *s != L'>' && *s != L'/') {
                while (IsNameChar(*s)) {
                    ++s;
                }
                wchar_t* const attributeNameEnd = s;
                SkipWhitespace(s);
                if (*s != L'=') {
                    return Fail(L"Error while parsing attributes", s);
                }
                *s = L' ';
                *attributeNameEnd = 0;
                ++s;
                SkipWhitespace(s);
                if (*s != L'"') {
                    return Fail(L"Expected attribute value", s);
                }
                ++s;
                wchar_t* const valueEnd = ParseText<L'"', kAttributeStop>(s);
                if (*s == 0) {
                    return Fail(L"Error while parsing attribute string", s);
                }
                *s = L' ';
                *valueEnd = 0;
                ++s;
                SkipWhitespace(s);
            }
        }

        SkipWhitespace(s);
        if (s[0] == L'/' && s[1] == L'>') {
            m_elements[element].dataStart = static_cast<uint32_t>(s - base);
            *s = 0;
            *nameEnd = 0;
            s += 2;
            SkipWhitespace(s);
            previous = element;
            continue;
        }
        if (*s != L'>') {
            return Fail(L"Expected start-tag closing", s);
        }
        *nameEnd = 0;
        ++s;
        m_elements[element].dataStart = static_cast<uint32_t>(s - base);
        wchar_t* const dataEnd = ParseText<L'<', kElementTextStop>(s);
        if (dataEnd != s) {
            *dataEnd = 0;
        }
        if (*s == 0) {
            if (parent <= 1) {
                return true;
            }
            return Fail(L"Expected end-tag start", s);
        }
        // At "<": either this element's closing tag or its first child.
        parent = element;
        previous = 0;
    }
}

} // namespace ui
