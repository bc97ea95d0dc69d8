#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Little-endian writers for the driver's records.
namespace SimBytes {

void PutU16(uint8_t* record, size_t offset, uint16_t value);
void PutU32(uint8_t* record, size_t offset, uint32_t value);
// `text` as UTF-16 code units, without a terminator.
std::vector<uint16_t> Utf16Units(const std::wstring& text);
// Copies a whole record into the caller's buffer, which holds at least one.
template <typename Record>
void Store(uint8_t* destination, const Record& record)
{
    std::memcpy(destination, &record, sizeof record);
}
// Copies `text` into a caller's wide buffer of `capacity` characters, terminated;
// false when it does not fit.
bool CopyText(const std::wstring& text, wchar_t* buffer, size_t capacity);

} // namespace SimBytes
