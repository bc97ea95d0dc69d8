#include "ui/core/EventType.h"

namespace ui {

EventType EventTypeFromName(std::wstring_view name)
{
    struct Entry {
        std::wstring_view name;
        EventType type;
    };
    static constexpr Entry kNames[] = {
        {L"all", kEventAll},
        {L"keydown", kEventKeyDown},
        {L"keyup", kEventKeyUp},
        {L"char", kEventChar},
        {L"syskey", kEventSystemKey},
        {L"mousemove", kEventMouseMove},
        {L"mouseenter", kEventMouseEnter},
        {L"mouseleave", kEventMouseLeave},
        {L"mousehover", kEventMouseHover},
        {L"buttondown", kEventMouseButtonDown},
        {L"buttonup", kEventMouseButtonUp},
        {L"rbuttondown", kEventMouseRightButtonDown},
        {L"doubleclick", kEventMouseDoubleClick},
        {L"menu", kEventMouseMenu},
        {L"scrollwheel", kEventMouseScrollWheel},
        {L"setfocus", kEventSetFocus},
        {L"killfocus", kEventKillFocus},
        {L"windowclose", kEventWindowClose},
        {L"setcursor", kEventSetCursor},
        {L"select", kEventSelect},
        {L"unselect", kEventUnSelect},
        {L"return", kEventReturn},
        {L"tab", kEventTab},
        {L"scrollchange", kEventScrollChange},
        {L"valuechange", kEventValueChange},
    };
    for (const Entry& entry : kNames) {
        if (entry.name == name)
            return entry.type;
    }
    return kEventNone;
}

} // namespace ui
