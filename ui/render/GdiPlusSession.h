#pragma once

#include <cstdint>

namespace ui {

// GDI+ started for the life of this object.
class GdiPlusSession {
public:
    GdiPlusSession();
    ~GdiPlusSession();
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;

    bool IsStarted() const { return m_token != 0; }

private:
    uintptr_t m_token = 0;
};

} // namespace ui
