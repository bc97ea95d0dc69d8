#pragma once

#include <cstdint>
#include <deque>

#include "sim/SimNotification.h"

// What the driver keeps per open device handle: the notification
// registration and the queue of notifications not yet read.
struct SimOpenHandle {
    uint32_t categoryFilter = 0;
    uintptr_t event = 0;
    std::deque<SimNotification> queue;
};
