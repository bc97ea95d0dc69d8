#include "ui/render/GdiPlusCodecWarmUp.h"

#include "ui/render/GdiPlusApi.h"

#include <process.h>
#include <shlwapi.h>

#include <cstdint>

namespace ui {
namespace {

// A 1 x 1 PNG with an alpha channel and a background colour chunk: the
// format, the conversion and the metadata that skin images take.
constexpr uint8_t kTinyPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F,
    0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x06, 0x62, 0x4B, 0x47, 0x44, 0x00, 0xFF, 0x00, 0xFF,
    0x00, 0xFF, 0xA0, 0xBD, 0xA7, 0x93, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9C, 0x63, 0x50, 0x70, 0x48, 0x68, 0x00, 0x00, 0x02, 0x85, 0x01, 0x41, 0x5C, 0x42, 0x11,
    0x57, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

unsigned __stdcall DecodeTinyImage(void*)
{
    // Codecs may be COM objects; this thread has no windows to serve.
    const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    if (IStream* stream = ::SHCreateMemStream(kTinyPng, sizeof kTinyPng)) {
        Gdiplus::GpBitmap* bitmap = nullptr;
        if (gdip::GdipCreateBitmapFromStream(stream, &bitmap) == gdip::Ok) {
            HBITMAP converted = nullptr;
            if (gdip::GdipCreateHBITMAPFromBitmap(bitmap, &converted, 0xFF000000) == gdip::Ok &&
                converted != nullptr)
                ::DeleteObject(converted);
            gdip::GdipDisposeImage(bitmap);
        }
        stream->Release();
    }
    if (com)
        ::CoUninitialize();
    return 0;
}

} // namespace

GdiPlusCodecWarmUp::GdiPlusCodecWarmUp()
    : m_thread(reinterpret_cast<HANDLE>(
          ::_beginthreadex(nullptr, 0, &DecodeTinyImage, nullptr, 0, nullptr)))
{
}

GdiPlusCodecWarmUp::~GdiPlusCodecWarmUp()
{
    if (m_thread == nullptr)
        return;
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
}

} // namespace ui
