#pragma once

#include "ui/core/Box.h"
#include "ui/core/Control.h"
#include "ui/core/Window.h"

namespace ui::test {

// Clicks like a button: a release inside sends a click event.
class TestButton : public Control {
public:
    bool KeepsCaptionClick() const override { return true; }
    bool IsPushButton() const override { return true; }
    void Activate() override
    {
        if (!CanActivate())
            return;
        ++activations;
        if (m_window != nullptr)
            m_window->SendEvent(this, kEventClick);
    }

    int activations = 0;
};

// Clicks like an option does before selecting itself, but is no push button.
class TestOption : public TestButton {
public:
    bool IsPushButton() const override { return false; }
};

// Content of a fixed size, as text would measure.
class TextControl : public Control {
public:
    explicit TextControl(UiSize size = UiSize()) : textSize(size)
    {
        SetFixedWidth(kSizeAuto, false, false);
        SetFixedHeight(kSizeAuto, false, false);
    }
    UiSize EstimateTextSize(UiSize, bool&) override
    {
        ++measured;
        return textSize;
    }

    UiSize textSize;
    int measured = 0;
};

// Counts the layout requests that reach it.
class CountingBox : public Box {
public:
    using Box::Box;
    void RelayoutSelf() override
    {
        ++relayouts;
        Box::RelayoutSelf();
    }

    int relayouts = 0;
};

} // namespace ui::test
