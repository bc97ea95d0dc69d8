#pragma once

#include <cstdint>
#include <vector>

// A change of the interface that every process using it must hear of:
// a notification for the open handles, or the device going or coming.
struct SimMachineEvent {
    enum class Kind : uint32_t { kNotify = 1, kPlug = 2, kUnplug = 3 };
    static constexpr size_t kMaxData = 16;

    Kind kind = Kind::kNotify;
    uint32_t category = 0;
    std::vector<uint8_t> data; // at most kMaxData bytes
};
