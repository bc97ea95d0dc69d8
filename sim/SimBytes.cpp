#include "sim/SimBytes.h"

namespace SimBytes {

void PutU16(uint8_t* record, size_t offset, uint16_t value)
{
    record[offset] = static_cast<uint8_t>(value);
    record[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* record, size_t offset, uint32_t value)
{
    PutU16(record, offset, static_cast<uint16_t>(value));
    PutU16(record, offset + 2, static_cast<uint16_t>(value >> 16));
}

std::vector<uint16_t> Utf16Units(const std::wstring& text)
{
    std::vector<uint16_t> units;
    for (const wchar_t c : text) {
        const uint32_t code = static_cast<uint32_t>(c);
        if (code > 0xFFFF) {
            units.push_back(static_cast<uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<uint16_t>(code));
        }
    }
    return units;
}

bool CopyText(const std::wstring& text, wchar_t* buffer, size_t capacity)
{
    if (buffer == nullptr || text.size() + 1 > capacity) {
        return false;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = L'\0';
    return true;
}

} // namespace SimBytes
