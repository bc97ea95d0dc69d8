#pragma once

#include <cstdint>
#include <vector>

// A window message the driver posts for plug and play.
struct SimPost {
    uintptr_t window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
};

// Events to set and messages to post once the driver's lock is released.
struct SimSignals {
    std::vector<uintptr_t> events;
    std::vector<SimPost> posts;
};
