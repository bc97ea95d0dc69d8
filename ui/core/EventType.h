#pragma once

#include <cstdint>
#include <string_view>

namespace ui {

// Kinds of control events. Values below kEventNone are internal; the mouse
// kinds are exactly kEventMouseBegin..kEventMouseEnd.
enum EventType : int32_t {
    kEventInternalDoubleClick = 0,
    kEventInternalMenu = 1,
    kEventInternalSetFocus = 2,
    kEventInternalKillFocus = 3,
    kEventNone = 4,
    kEventAll = 6,
    kEventKeyDown = 8,
    kEventKeyUp = 9,
    kEventChar = 10,
    kEventSystemKey = 11,
    kEventMouseMove = 14,
    kEventMouseEnter = 15,
    kEventMouseLeave = 16,
    kEventMouseHover = 17,
    kEventMouseButtonDown = 18,
    kEventMouseButtonUp = 19,
    kEventMouseRightButtonDown = 20,
    kEventMouseRightButtonUp = 21,
    kEventMouseDoubleClick = 22,
    kEventMouseMenu = 23,
    kEventMouseScrollWheel = 24,
    kEventTouchDown = 26,
    kEventTouchMove = 27,
    kEventTouchUp = 28,
    kEventPointDown = 32,
    kEventPointMove = 33,
    kEventPointUp = 34,
    kEventSetFocus = 36,
    kEventKillFocus = 37,
    kEventWindowResize = 38,
    kEventWindowClose = 39,
    kEventSetCursor = 40,
    kEventClick = 41,
    kEventSelect = 42,
    kEventUnSelect = 43,
    kEventReturn = 45,
    kEventTab = 46,
    kEventImeStartComposition = 47,
    kEventImeEndComposition = 48,
    kEventScrollChange = 50,
    kEventValueChange = 51,

    kEventMouseBegin = kEventMouseMove,
    kEventMouseEnd = kEventMouseScrollWheel,
};

inline bool IsMouseEvent(int32_t type)
{
    return type >= kEventMouseBegin && type <= kEventMouseEnd;
}

// The kind a skin names in an event type list ("select", "buttonup", ...);
// kEventNone for names it does not know.
EventType EventTypeFromName(std::wstring_view name);

} // namespace ui
