#include "ui/render/Pen_GdiPlus.h"

namespace ui {

Pen_GdiPlus::Pen_GdiPlus(uint32_t argb, int width)
{
    gdip::GdipCreatePen1(argb, static_cast<float>(width), Gdiplus::UnitPixel, &m_pen);
}

Pen_GdiPlus::~Pen_GdiPlus()
{
    if (m_pen != nullptr)
        gdip::GdipDeletePen(m_pen);
}

std::unique_ptr<IPen> Pen_GdiPlus::Clone() const
{
    Gdiplus::GpPen* copy = nullptr;
    if (m_pen != nullptr)
        gdip::GdipClonePen(m_pen, &copy);
    return std::unique_ptr<IPen>(new Pen_GdiPlus(copy));
}

void Pen_GdiPlus::SetWidth(int width)
{
    if (m_pen != nullptr)
        gdip::GdipSetPenWidth(m_pen, static_cast<float>(width));
}

int Pen_GdiPlus::GetWidth() const
{
    float width = 0;
    if (m_pen != nullptr)
        gdip::GdipGetPenWidth(m_pen, &width);
    return static_cast<int>(width + 0.5f);
}

void Pen_GdiPlus::SetColor(uint32_t argb)
{
    if (m_pen != nullptr)
        gdip::GdipSetPenColor(m_pen, argb);
}

uint32_t Pen_GdiPlus::GetColor() const
{
    Gdiplus::ARGB argb = 0;
    if (m_pen != nullptr)
        gdip::GdipGetPenColor(m_pen, &argb);
    return argb;
}

void Pen_GdiPlus::SetStartCap(LineCap cap)
{
    if (m_pen != nullptr)
        gdip::GdipSetPenStartCap(m_pen, static_cast<Gdiplus::LineCap>(cap));
}

void Pen_GdiPlus::SetEndCap(LineCap cap)
{
    if (m_pen != nullptr)
        gdip::GdipSetPenEndCap(m_pen, static_cast<Gdiplus::LineCap>(cap));
}

void Pen_GdiPlus::SetLineJoin(LineJoin join)
{
    if (m_pen != nullptr)
        gdip::GdipSetPenLineJoin(m_pen, static_cast<Gdiplus::LineJoin>(join));
}

void Pen_GdiPlus::SetDashStyle(DashStyle style)
{
    if (m_pen != nullptr)
        gdip::GdipSetPenDashStyle(m_pen, static_cast<Gdiplus::DashStyle>(style));
}

} // namespace ui
