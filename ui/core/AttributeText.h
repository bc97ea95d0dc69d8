#pragma once

#include "ui/render/UiPoint.h"
#include "ui/render/UiRect.h"
#include "ui/render/UiSize.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// Reading the values of skin attributes: decimal numbers, comma separated
// number lists, booleans, size keywords and attribute lists.
class AttributeText {
public:
    // Leading blanks and a sign are allowed; reading stops at the first
    // non-digit and saturates at the 32-bit range. `consumed` receives the
    // characters read (0 when there is no digit).
    static int32_t ParseInt(std::wstring_view text, size_t* consumed = nullptr);
    // left,top,right,bottom: each number is read one character after the
    // previous one ended; numbers missing at the end of the text are 0.
    static UiRect ParseRect(std::wstring_view text);
    static UiSize ParseSize(std::wstring_view text);
    static UiPoint ParsePoint(std::wstring_view text);
    static bool ParseBool(std::wstring_view text) { return text == L"true"; }
    // "stretch" and "auto" as their size requests; nothing for other text.
    static std::optional<int32_t> ParseSizeKeyword(std::wstring_view text);

    // name="value" pairs separated by exactly one blank, handed out in order;
    // stops silently at the first malformed pair.
    using PairVisitor = std::function<void(const std::wstring& name, const std::wstring& value)>;
    static void ForEachPair(std::wstring_view list, const PairVisitor& visit);
    // The non-empty words of a list separated by blanks.
    static std::vector<std::wstring> SplitWords(std::wstring_view text);

    // Characters up to code 32 at the start are dropped (colour names).
    static std::wstring_view SkipLeadingBlanks(std::wstring_view text);
    // Every "<n>" becomes a carriage return and line feed.
    static std::wstring ExpandLineBreaks(std::wstring_view text);
};

} // namespace ui
