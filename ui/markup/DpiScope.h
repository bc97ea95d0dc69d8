#pragma once

#include "ui/markup/DpiManager.h"

namespace ui {

// Makes a scale the current one for as long as it lives and then gives the
// previous one back (scopes nest: a message sent to another window inside
// a message handler).
class DpiScope {
public:
    explicit DpiScope(int percent) : m_previous(DpiManager::GetInstance().GetScale())
    {
        DpiManager::GetInstance().SetScale(percent);
    }
    ~DpiScope() { DpiManager::GetInstance().SetScale(m_previous); }
    DpiScope(const DpiScope&) = delete;
    DpiScope& operator=(const DpiScope&) = delete;

private:
    int m_previous;
};

} // namespace ui
