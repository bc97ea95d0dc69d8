#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ui {

// Traditional PKWARE stream cipher of ZIP entries, decryption side.
class PkwareCipher {
public:
    explicit PkwareCipher(std::string_view password);

    void Decrypt(uint8_t* data, size_t size);

private:
    void UpdateKeys(uint8_t plain);

    uint32_t m_keys[3] = {0x12345678, 0x23456789, 0x34567890};
};

} // namespace ui
