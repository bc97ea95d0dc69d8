#pragma once

#include <windows.h>

#include <cstdint>

// The message box that ends the program when the driver library cannot be
// bound: text, caption and style for a non-zero binding status.
struct DriverLoadMessage {
    const wchar_t* text = nullptr;
    const wchar_t* caption = nullptr;
    UINT style = 0;
};

DriverLoadMessage DriverLoadMessageFor(uint32_t status);
// Shows the box without an owner window and waits until it is dismissed.
void ShowDriverLoadMessage(uint32_t status);
