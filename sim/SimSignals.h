#pragma once

#include <cstdint>
#include <vector>

// A window message the driver posts for plug and play.
struct SimPost {
    uintptr_t window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
};

// The name under which `delay` holds back the delivery of a call's events
// and messages, as a slow driver would signal late.
inline constexpr wchar_t kSimSignalsDelay[] = L"signals";

// Events to set and messages to post when a call or control request ends.
struct SimSignals {
    std::vector<uintptr_t> events;
    std::vector<SimPost> posts;
};
