#pragma once

namespace ui {

// Base of the objects a program attaches to a control; the control owns it.
class UserData {
public:
    virtual ~UserData() = default;
};

} // namespace ui
