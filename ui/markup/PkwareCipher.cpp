#include "ui/markup/PkwareCipher.h"

#include <array>

namespace ui {
namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

inline uint32_t CrcByte(uint32_t crc, uint8_t byte)
{
    return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

} // namespace

PkwareCipher::PkwareCipher(std::string_view password)
{
    for (const char c : password) {
        UpdateKeys(static_cast<uint8_t>(c));
    }
}

void PkwareCipher::UpdateKeys(uint8_t plain)
{
    m_keys[0] = CrcByte(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = CrcByte(m_keys[2], static_cast<uint8_t>(m_keys[1] >> 24));
}

void PkwareCipher::Decrypt(uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        const uint32_t temp = (m_keys[2] | 2) & 0xFFFF;
        data[i] = static_cast<uint8_t>(data[i] ^ ((temp * (temp ^ 1)) >> 8));
        UpdateKeys(data[i]);
    }
}

} // namespace ui
