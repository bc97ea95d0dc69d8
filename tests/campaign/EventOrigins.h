#pragma once

#include <windows.h>

#include <string>

namespace campaign {

// Remembers where each event of a module was created, so that an event left
// behind can be traced to its owner. The module's imports of CreateEventA,
// CreateEventW and CreateEventExW are redirected to recorders; events made
// by other modules (the system's own) are not seen.
void TrackEventOrigins(HMODULE module);

// The creator's call stack, innermost first, as "module+0xRVA" words
// separated by " < "; empty when no tracked module created the handle.
std::wstring EventOrigin(HANDLE event);

} // namespace campaign
