#pragma once

#include <cstdint>
#include <vector>

// Notification categories the simulated driver queues.
inline constexpr uint32_t kSimCategorySampleRate = 1;
inline constexpr uint32_t kSimCategoryStreamFormat = 2;
inline constexpr uint32_t kSimCategoryVolume = 3;
inline constexpr uint32_t kSimCategoryMute = 4;
inline constexpr uint32_t kSimCategoryAudioControl = 5;
inline constexpr uint32_t kSimCategoryAsio = 6;

struct SimNotification {
    uint32_t category = 0;
    std::vector<uint8_t> data;
};
