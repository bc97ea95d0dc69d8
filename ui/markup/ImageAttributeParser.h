#pragma once

#include "ui/render/UiRect.h"

#include <string>
#include <utility>
#include <vector>

namespace ui {

// The grammar of image attribute strings: key='value' pairs separated by
// blanks, as in "file='bk.png' corner='4,4,4,4'". Platform-independent.
class ImageAttributeParser {
public:
    using Pair = std::pair<std::wstring, std::wstring>;

    // The pairs in order, up to the first malformed one. A pair is taken
    // when its closing apostrophe is found; parsing then goes on only when
    // a blank and something after it follow.
    static std::vector<Pair> ParsePairs(const std::wstring& text);

    // Four decimal numbers (left, top, right, bottom), each read from one
    // character after the previous one ended; missing numbers are 0.
    static UiRect ParseRect(const std::wstring& text);

    // Leading blanks and a sign allowed; reading stops at the first other
    // character. No digits gives 0; out-of-range values are clamped.
    // `end` receives the position after the last digit, or `start` when
    // nothing was read.
    static int ParseInt(const std::wstring& text, size_t start, size_t* end);
};

} // namespace ui
