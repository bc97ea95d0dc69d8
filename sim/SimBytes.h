#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Little-endian writers for the driver's records.
namespace SimBytes {

void PutU16(uint8_t* record, size_t offset, uint16_t value);
void PutU32(uint8_t* record, size_t offset, uint32_t value);
// Writes `text` as UTF-16 into `capacity` code units (the last one always 0).
void PutText(uint8_t* record, size_t offset, const std::wstring& text, size_t capacity);
// Copies `text` into a caller's wide buffer of `capacity` characters, terminated;
// false when it does not fit.
bool CopyText(const std::wstring& text, wchar_t* buffer, size_t capacity);

} // namespace SimBytes
