#pragma once

#include "ui/render/GdiPlusApi.h"
#include "ui/render/IPen.h"

namespace ui {

class Pen_GdiPlus final : public IPen {
public:
    Pen_GdiPlus(uint32_t argb, int width);
    ~Pen_GdiPlus() override;
    Pen_GdiPlus(const Pen_GdiPlus&) = delete;
    Pen_GdiPlus& operator=(const Pen_GdiPlus&) = delete;

    std::unique_ptr<IPen> Clone() const override;
    void SetWidth(int width) override;
    int GetWidth() const override;
    void SetColor(uint32_t argb) override;
    uint32_t GetColor() const override;
    void SetStartCap(LineCap cap) override;
    void SetEndCap(LineCap cap) override;
    void SetLineJoin(LineJoin join) override;
    void SetDashStyle(DashStyle style) override;

    // Null when GDI+ could not make the pen; drawing with it does nothing.
    Gdiplus::GpPen* GetPen() const { return m_pen; }

private:
    explicit Pen_GdiPlus(Gdiplus::GpPen* pen) : m_pen(pen) {}

    Gdiplus::GpPen* m_pen = nullptr;
};

} // namespace ui
