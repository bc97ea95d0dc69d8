#pragma once

#include <string>

// What the mixer rules need of a label: its text.
class LabelWidget {
public:
    virtual ~LabelWidget() = default;
    virtual void SetText(const std::wstring& text) = 0;
};
