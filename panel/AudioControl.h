#pragma once

#include <cstdint>

// The device's custom controls live on audio-control entity 10 and are all
// addressed with request code 1 on channel 0.
namespace AudioControl {

inline constexpr uint8_t kEntity = 10;
inline constexpr uint8_t kRequest = 1;
inline constexpr uint8_t kChannel = 0;
inline constexpr uint32_t kTimeoutMs = 1000;

// Selectors, with the lengths the device expects.
inline constexpr uint8_t kPhantomPower = 16; // set 1 byte (1/0); get 1 byte
inline constexpr uint8_t kInvert = 17;       // set 2 bytes (1/0, 0); get 1 byte
inline constexpr uint8_t kPreampGain =
    19; // set 2 bytes (input, step); get 1 byte (MIC1 << 4 | MIC2)
inline constexpr uint8_t kDeviceVolume = 20; // set 2 bytes (fader index, level); get 8 bytes

} // namespace AudioControl
