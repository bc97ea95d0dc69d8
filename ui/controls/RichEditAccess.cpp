// What screen readers are told about a rich edit: its text, and the lines
// of a multi-line text one by one with the rectangles they stand in.
#include "ui/controls/RichEdit.h"

#include "ui/controls/CTxtWinHost.h"

#include <oleacc.h>
#include <richedit.h>

namespace ui {

namespace {

// The character index where each line break-separated line starts.
std::vector<long> LineStarts(const std::wstring& text)
{
    std::vector<long> starts{0};
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n')
            starts.push_back(static_cast<long>(i + 1));
    }
    // A final line break ends the last line; it starts no new one.
    if (starts.size() > 1 && static_cast<size_t>(starts.back()) == text.size())
        starts.pop_back();
    return starts;
}

} // namespace

uint32_t RichEdit::GetAccessRole() const
{
    return ROLE_SYSTEM_TEXT;
}

std::wstring RichEdit::GetAccessValue() const
{
    return m_password ? std::wstring() : GetText();
}

uint32_t RichEdit::GetAccessState() const
{
    uint32_t state = ScrollableBox::GetAccessState();
    if (m_readOnly)
        state |= STATE_SYSTEM_READONLY;
    if (m_password)
        state |= STATE_SYSTEM_PROTECTED;
    return state;
}

std::vector<std::wstring> RichEdit::GetAccessLines() const
{
    if ((m_style & kMultiLine) == 0 || m_password)
        return {};
    const std::wstring text = GetText();
    if (text.empty())
        return {};
    const std::vector<long> starts = LineStarts(text);
    std::vector<std::wstring> lines;
    for (size_t i = 0; i < starts.size(); ++i) {
        const size_t begin = static_cast<size_t>(starts[i]);
        size_t end = i + 1 < starts.size() ? static_cast<size_t>(starts[i + 1]) - 1 : text.size();
        if (end > begin && text[end - 1] == L'\n')
            --end;
        lines.push_back(text.substr(begin, end - begin));
    }
    return lines;
}

UiRect RichEdit::GetAccessLineRect(size_t line) const
{
    const std::wstring text = GetText();
    const std::vector<long> starts = LineStarts(text);
    UiRect rect = m_textRect;
    if (line >= starts.size())
        return UiRect();
    // Without the text services the lines share the text rectangle evenly.
    const auto count = static_cast<int32_t>(starts.size());
    const auto index = static_cast<int32_t>(line);
    const int32_t even = rect.Height() / count;
    rect.top = m_textRect.top + even * index;
    rect.bottom = index + 1 == count ? m_textRect.bottom : rect.top + even;
    if (!HasTextServices())
        return rect;
    const auto top = [this](long character) {
        POINTL point{};
        m_host->Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), character);
        return static_cast<int32_t>(point.y);
    };
    rect.top = top(starts[line]);
    if (index + 1 < count) {
        rect.bottom = top(starts[line + 1]);
    } else if (index > 0) {
        // The last line is as high as the one before it.
        rect.bottom = rect.top + (rect.top - top(starts[line - 1]));
    } else {
        rect.bottom = m_textRect.bottom;
    }
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    return rect;
}

} // namespace ui
