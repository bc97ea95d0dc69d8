#pragma once

#include "ui/render/GdiPlusApi.h"
#include "ui/render/IBrush.h"

namespace ui {

class Brush_GdiPlus final : public IBrush {
public:
    static std::unique_ptr<Brush_GdiPlus> CreateSolid(uint32_t argb);
    // A brush that tiles a copy of the bitmap's pixels.
    static std::unique_ptr<Brush_GdiPlus> CreateTexture(HBITMAP bitmap);

    ~Brush_GdiPlus() override;
    Brush_GdiPlus(const Brush_GdiPlus&) = delete;
    Brush_GdiPlus& operator=(const Brush_GdiPlus&) = delete;

    std::unique_ptr<IBrush> Clone() const override;
    uint32_t GetColor() const override { return m_color; }

    // Null when GDI+ could not make the brush; filling with it does nothing.
    Gdiplus::GpBrush* GetBrush() const { return m_brush; }

private:
    Brush_GdiPlus(Gdiplus::GpBrush* brush, uint32_t color) : m_brush(brush), m_color(color) {}

    Gdiplus::GpBrush* m_brush = nullptr;
    uint32_t m_color = 0;
};

} // namespace ui
