#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <utility>

namespace ui {

// Owns a movable global memory block and frees it with GlobalFree.
class GlobalBlock {
public:
    GlobalBlock() = default;
    explicit GlobalBlock(HGLOBAL handle) : m_handle(handle) {}
    GlobalBlock(GlobalBlock&& other) noexcept : m_handle(other.Release()) {}
    GlobalBlock& operator=(GlobalBlock&& other) noexcept
    {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock()
    {
        if (m_handle != nullptr) {
            GlobalFree(m_handle);
        }
    }

    explicit operator bool() const { return m_handle != nullptr; }
    HGLOBAL Get() const { return m_handle; }
    // Gives up ownership, for APIs that free the block themselves.
    HGLOBAL Release() { return std::exchange(m_handle, nullptr); }
    size_t GetSize() const { return m_handle != nullptr ? GlobalSize(m_handle) : 0; }
    // Null for an empty block; every Lock needs its Unlock.
    const uint8_t* Lock() const { return static_cast<const uint8_t*>(GlobalLock(m_handle)); }
    void Unlock() const { GlobalUnlock(m_handle); }

private:
    HGLOBAL m_handle = nullptr;
};

} // namespace ui
