#pragma once

#include "ui/render/UiRect.h"

#include <windows.h>

#include <cstdint>

namespace ui {

// A 32-bit DIB section (premultiplied BGRA in memory order B, G, R, A).
// Owns the bitmap until it is detached.
class GdiBitmap {
public:
    GdiBitmap() = default;
    ~GdiBitmap();
    GdiBitmap(const GdiBitmap&) = delete;
    GdiBitmap& operator=(const GdiBitmap&) = delete;

    // Replaces the bitmap; width and height below 1 leave no bitmap and
    // answer false. Top-down rows when flipHeight is set.
    bool Init(HDC dc, int width, int height, bool flipHeight);
    // Deletes the bitmap.
    void Reset();
    // Hands the bitmap over; this object is empty afterwards.
    HBITMAP DetachBitmap();

    HBITMAP GetBitmap() const { return m_bitmap; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    bool IsTopDown() const { return m_topDown; }
    uint8_t* GetBits() const { return m_bits; }

    // Sets every byte of the pixels in rect (clipped to the bitmap) to value.
    void ClearAlpha(const UiRect& rect, uint8_t value);
    // Sets only the alpha byte of the pixels in rect (clipped to the bitmap).
    void SetAlpha(const UiRect& rect, uint8_t alpha);
    // Inside rect shrunk by the insets of padding: pixels whose alpha equals
    // `alpha` become opaque.
    void RestoreAlpha(const UiRect& rect, const UiRect& padding, uint8_t alpha);

private:
    uint8_t* Row(int y) const;
    UiRect ClipToBitmap(const UiRect& rect) const;

    HBITMAP m_bitmap = nullptr;
    uint8_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_topDown = false;
};

} // namespace ui
