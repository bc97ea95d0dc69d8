#pragma once

#include <array>
#include <cstdint>

// The 8-byte device-volume block: scale tops (bytes 0-2), the levels of the
// four device faders (bytes 3-6) and the lock-out flag (byte 7).
struct DeviceVolumeBlock {
    static constexpr uint32_t kSize = 8;
    static constexpr int kLockOut = 7;

    std::array<uint8_t, kSize> bytes{};

    // Byte holding the scale top of device fader `index` (MIC1 and MIC2 share one).
    static constexpr int TopByte(int index) { return index == 0 ? 0 : index - 1; }
    static constexpr int LevelByte(int index) { return 3 + index; }

    bool operator==(const DeviceVolumeBlock&) const = default;
};
