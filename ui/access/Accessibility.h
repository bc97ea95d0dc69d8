#pragma once

namespace ui {

// Makes every framework window answer screen readers with the accessible
// objects of its controls. Call once at start-up, on the UI thread, after
// COM has been initialised there (the objects are marshalled through it).
void EnableAccessibility();

} // namespace ui
