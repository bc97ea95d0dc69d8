#include "ui/access/Accessibility.h"

#include "ui/access/AccessibleControl.h"
#include "ui/core/Window.h"

namespace ui {

void EnableAccessibility()
{
    Window::SetAccessibleFactory(
        [](Window& window) -> IAccessible* { return AccessibleControl::ForClient(window); });
}

} // namespace ui
