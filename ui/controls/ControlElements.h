#pragma once

namespace ui {

// Enters the element names of this library's controls ("Label", "Button",
// "CheckBox", "Option", their "...Box" forms, the list boxes and list
// element, "Progress", "Slider", "CircleProgress", "CircleSlider", "Combo", "RichEdit") in the
// window builder's element table. Called once at start-up, before the
// first window is built.
void RegisterControlElements();

} // namespace ui
