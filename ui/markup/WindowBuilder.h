#pragma once

#include "ui/markup/MarkupDocument.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/MarkupNode.h"

#include <memory>
#include <string>

namespace ui {

class Box;
class Control;
class Window;

// Turns a skin document into resources and controls. A layout is inline
// markup when it starts with "<"; otherwise it is read from the skin
// archive under the resource root, and from disk when the archive does
// not hold it.
class WindowBuilder {
public:
    bool LoadLayout(const std::wstring& layout);
    MarkupNode GetRoot() const { return m_document.GetRoot(); }
    const MarkupDocument& GetDocument() const { return m_document; }

    // A "Global" root: its attributes set the default text colours, its
    // Font, TextColor and Class children fill the global tables.
    void ApplyGlobalRoot(const MarkupNode& root);
    // The attribute list of a "Class" element (window classes use it too).
    static std::wstring GetClassAttributeList(const MarkupNode& classNode);

    // Control building (WindowBuilderControls.cpp, part of the core UI
    // library). Loads a layout and builds its controls: without a parent the
    // first top-level control is the result; with one they go into it.
    std::unique_ptr<Control> Create(const std::wstring& layout,
                                    const CreateControlCallback& callback = {},
                                    Window* window = nullptr, Box* parent = nullptr);
    // Builds again from the document already loaded.
    std::unique_ptr<Control> Create(const CreateControlCallback& callback, Window* window,
                                    Box* parent);
    // The content of a "ChildBox": each layout is read once per process.
    static std::unique_ptr<Control> BuildIntoBox(const std::wstring& layout, Window* window);
    // The element table; null for names it does not know.
    static std::unique_ptr<Control> CreateControlByClass(const std::wstring& className);

private:
    void AddFont(const MarkupNode& fontNode);
    void ApplyWindowRoot(const MarkupNode& root, Window& window);
    std::unique_ptr<Control> BuildChildren(const MarkupNode& node, Control* parent, Window* window);
    void BuildInclude(const MarkupNode& node, Control* parent, Window* window,
                      std::unique_ptr<Control>& result);
    static void AttachMarkupEvent(const MarkupNode& node, Control* owner, bool bubbled);

    MarkupDocument m_document;
    CreateControlCallback m_callback;
};

} // namespace ui
