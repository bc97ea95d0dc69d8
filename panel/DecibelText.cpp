#include "panel/DecibelText.h"

#include <cstdlib>

std::wstring DecibelText(int16_t volume)
{
    // Tenths of a dB, rounded half away from zero.
    const int tenths = (volume * 10 + (volume < 0 ? -128 : 128)) / 256;
    std::wstring text = tenths < 0 ? L"-" : L"";
    text += std::to_wstring(std::abs(tenths) / 10);
    if (tenths % 10 != 0)
        text += L"." + std::to_wstring(std::abs(tenths) % 10);
    return text + L" dB";
}
