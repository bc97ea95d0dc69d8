#pragma once

#include <string>

// What the mixer rules need of a fader. Values written here come from the
// device or from the rules themselves: they never raise a change event.
class FaderWidget {
public:
    virtual ~FaderWidget() = default;
    virtual double Value() const = 0;
    virtual void ShowValue(double value) = 0;
    virtual void SetMaxValue(double maximum) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetBackgroundImage(const std::wstring& image) = 0;
};
