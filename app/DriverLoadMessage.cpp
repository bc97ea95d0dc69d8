#include "app/DriverLoadMessage.h"

#include "device/DeviceStatus.h"

DriverLoadMessage DriverLoadMessageFor(uint32_t status)
{
    if (status == ERROR_FILE_NOT_FOUND)
        return {L"Can't find driver!", L"KORVANE", MB_OK | MB_ICONERROR};
    if (status == kStatusApiVersionRefused)
        return {L"The driver version mismatched!", L"KORVANE", MB_OK | MB_ICONERROR};
    // Any other failure names where it happened; the status itself is the
    // exit code, so the box keeps the style of its siblings.
    return {L"_tWinMain", L"Load", MB_OK | MB_ICONERROR};
}

void ShowDriverLoadMessage(uint32_t status)
{
    const DriverLoadMessage message = DriverLoadMessageFor(status);
    ::MessageBoxW(nullptr, message.text, message.caption, message.style);
}
