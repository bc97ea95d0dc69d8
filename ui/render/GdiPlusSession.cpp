#include "ui/render/GdiPlusSession.h"

#include "ui/render/GdiPlusApi.h"

namespace ui {

GdiPlusSession::GdiPlusSession()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok)
        m_token = token;
}

GdiPlusSession::~GdiPlusSession()
{
    if (m_token != 0)
        Gdiplus::GdiplusShutdown(m_token);
}

} // namespace ui
