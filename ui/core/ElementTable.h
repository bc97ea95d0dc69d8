#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace ui {

class Control;

// The control classes that skin element names create ("Box", "HBox",
// "Label", ...). The containers of this folder are always there; the
// libraries of further controls register theirs at start-up.
class ElementTable {
public:
    using Factory = std::function<std::unique_ptr<Control>()>;

    // A later registration of the same name replaces the earlier one.
    static void Register(const std::wstring& element, Factory factory);
    // Null for names the table does not hold.
    static std::unique_ptr<Control> Create(const std::wstring& element);

private:
    static std::map<std::wstring, Factory>& Entries();
};

} // namespace ui
