// The control-building part of WindowBuilder: element table, markup
// events, "Include" and the window-root attributes. It is compiled into the
// core UI library (ui/core), which holds the controls and the window it
// builds, so that the markup library does not depend on them.
#include "ui/markup/WindowBuilder.h"

#include "ui/core/AttributeText.h"
#include "ui/core/Box.h"
#include "ui/core/ElementTable.h"
#include "ui/core/FindFlags.h"
#include "ui/core/Window.h"
#include "ui/markup/GlobalManager.h"

#include <cwchar>
#include <map>
#include <string_view>

namespace ui {

namespace {

constexpr size_t kMaxIncludeValue = 499;
// Includes nest through files; a file that includes itself must not
// recurse without end.
constexpr int kMaxIncludeDepth = 16;
int g_includeDepth = 0;
// Limits of one build, included files counted in: controls nest no deeper
// than painting and layout can recurse, and includes that multiply
// (counts, files including themselves several times) stop long before they
// would exhaust time or memory. What lies beyond is skipped.
constexpr int kMaxNestingDepth = 256;
constexpr int kMaxIncludes = 1000;
constexpr int kMaxControls = 50000;
int g_activeBuilds = 0;
int g_nestingDepth = 0;
int g_includes = 0;
int g_controls = 0;

// Marks one build running; the outermost one starts the budgets afresh.
class ActiveBuild {
public:
    ActiveBuild()
    {
        if (g_activeBuilds++ == 0) {
            g_nestingDepth = 0;
            g_includes = 0;
            g_controls = 0;
        }
    }
    ~ActiveBuild() { --g_activeBuilds; }
    ActiveBuild(const ActiveBuild&) = delete;
    ActiveBuild& operator=(const ActiveBuild&) = delete;
};

bool NameIs(const MarkupNode& node, const wchar_t* name)
{
    return std::wcscmp(node.GetName(), name) == 0;
}

bool IsResourceElement(const MarkupNode& node)
{
    return NameIs(node, L"Image") || NameIs(node, L"Font") || NameIs(node, L"Class") ||
           NameIs(node, L"TextColor");
}

// The receiver of a markup event: "./name" (or ".\name") inside the owner,
// any other name through the window.
Control* FindReceiver(Control& owner, const std::wstring& receiver)
{
    const std::wstring_view name(receiver);
    if (name.starts_with(L"./") || name.starts_with(L".\\")) {
        const std::wstring inner(name.substr(2));
        return owner.FindControl(
            [&inner](Control* control) { return control->GetName() == inner ? control : nullptr; },
            UiPoint(), kFindAll);
    }
    Window* window = owner.GetWindow();
    return window != nullptr ? window->FindControl(receiver) : nullptr;
}

} // namespace

std::unique_ptr<Control> WindowBuilder::Create(const std::wstring& layout,
                                               const CreateControlCallback& callback,
                                               Window* window, Box* parent)
{
    if (!LoadLayout(layout))
        return nullptr;
    return Create(callback, window, parent);
}

std::unique_ptr<Control> WindowBuilder::Create(const CreateControlCallback& callback,
                                               Window* window, Box* parent)
{
    m_callback = callback;
    const ActiveBuild active;
    const MarkupNode root = GetRoot();
    if (!root.IsValid())
        return nullptr;
    if (NameIs(root, L"Global")) {
        ApplyGlobalRoot(root);
    } else if (NameIs(root, L"Window") && window != nullptr) {
        if (window->GetHWND() != nullptr)
            ApplyWindowRoot(root, *window);
        for (MarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
            if (NameIs(node, L"Class"))
                window->AddClass(node.GetAttributeValue(L"name"), GetClassAttributeList(node));
        }
    }
    if (window != nullptr)
        window->EnterBuild();
    std::unique_ptr<Control> result = BuildChildren(root, parent, window);
    if (window != nullptr)
        window->LeaveBuild();
    return result;
}

std::unique_ptr<Control> WindowBuilder::BuildIntoBox(const std::wstring& layout, Window* window)
{
    static std::map<std::wstring, std::unique_ptr<WindowBuilder>> cache;
    const auto found = cache.find(layout);
    if (found != cache.end())
        return found->second->Create(CreateControlCallback(), window, nullptr);
    auto builder = std::make_unique<WindowBuilder>();
    if (!builder->LoadLayout(layout))
        return nullptr;
    std::unique_ptr<Control> root = builder->Create(CreateControlCallback(), window, nullptr);
    cache[layout] = std::move(builder);
    return root;
}

std::unique_ptr<Control> WindowBuilder::CreateControlByClass(const std::wstring& className)
{
    return ElementTable::Create(className);
}

void WindowBuilder::ApplyWindowRoot(const MarkupNode& root, Window& window)
{
    for (uint32_t i = 0; i < root.GetAttributeCount(); ++i) {
        const std::wstring name = root.GetAttributeName(i);
        const std::wstring value = root.GetAttributeValue(i);
        if (name == L"size") {
            const UiSize size = AttributeText::ParseSize(value);
            window.SetInitSize(size.cx, size.cy, false, true);
        } else if (name == L"heightpercent") {
            const double percent = std::wcstod(value.c_str(), nullptr);
            window.SetHeightPercent(percent);
            MONITORINFO monitor{};
            monitor.cbSize = sizeof(monitor);
            ::GetMonitorInfoW(::MonitorFromWindow(window.GetHWND(), MONITOR_DEFAULTTOPRIMARY),
                              &monitor);
            int height = static_cast<int>((monitor.rcWork.bottom - monitor.rcWork.top) * percent);
            const int minimum = window.GetMinInfo(false).cy;
            const int maximum = window.GetMaxInfo(false).cy;
            if (minimum != 0 && height < minimum)
                height = minimum;
            if (maximum != 0 && height > maximum)
                height = maximum;
            window.SetInitSize(window.GetInitSize(false).cx, height, false, false);
        } else if (name == L"sizebox") {
            window.SetSizeBox(AttributeText::ParseRect(value));
        } else if (name == L"caption") {
            window.SetCaptionRect(AttributeText::ParseRect(value), true);
        } else if (name == L"textid") {
            const std::wstring title = GlobalManager::GetLanguageStrings().GetStringById(value);
            ::SetWindowTextW(window.GetHWND(), title.c_str());
        } else if (name == L"roundcorner") {
            const UiSize round = AttributeText::ParseSize(value);
            window.SetRoundCorner(round.cx, round.cy, true);
        } else if (name == L"mininfo") {
            const UiSize size = AttributeText::ParseSize(value);
            window.SetMinInfo(size.cx, size.cy, false, true);
        } else if (name == L"maxinfo") {
            const UiSize size = AttributeText::ParseSize(value);
            window.SetMaxInfo(size.cx, size.cy, false, true);
        } else if (name == L"shadowattached") {
            window.GetShadow().SetAttached(value == L"true");
        } else if (name == L"shadowimage") {
            window.GetShadow().SetImage(value);
        } else if (name == L"shadowcorner") {
            window.GetShadow().SetCorner(AttributeText::ParseRect(value), true);
        } else if (name == L"alphafixcorner" || name == L"custom_shadow") {
            window.SetAlphaFixCorner(AttributeText::ParseRect(value), true);
        }
    }
}

std::unique_ptr<Control> WindowBuilder::BuildChildren(const MarkupNode& node, Control* parent,
                                                      Window* window)
{
    std::unique_ptr<Control> result;
    for (MarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        if (IsResourceElement(child))
            continue;
        if (NameIs(child, L"Include")) {
            BuildInclude(child, parent, window, result);
            continue;
        }
        if (g_nestingDepth >= kMaxNestingDepth || g_controls >= kMaxControls)
            break;
        const std::wstring className = child.GetName();
        std::unique_ptr<Control> control = CreateControlByClass(className);
        if (control == nullptr) {
            if (NameIs(child, L"Event") || NameIs(child, L"BubbledEvent")) {
                AttachMarkupEvent(child, parent, NameIs(child, L"BubbledEvent"));
                continue;
            }
            if (const CreateControlCallback& global = GlobalManager::GetCreateControlCallback())
                control = global(className);
            if (control == nullptr && m_callback)
                control = m_callback(className);
            // Nothing knows the element: it is skipped with its subtree.
            if (control == nullptr)
                continue;
        }
        ++g_controls;
        control->SetWindow(window);
        // Class lists apply inside SetAttribute, where "class" stands.
        for (uint32_t i = 0; i < child.GetAttributeCount(); ++i)
            control->SetAttribute(child.GetAttributeName(i), child.GetAttributeValue(i));
        if (child.GetChild().IsValid()) {
            ++g_nestingDepth;
            BuildChildren(child, control.get(), window);
            --g_nestingDepth;
        }

        if (parent == nullptr) {
            // Only the first control of a parentless level is kept.
            if (result == nullptr)
                result = std::move(control);
            continue;
        }
        auto* box = dynamic_cast<Box*>(parent);
        if (box == nullptr)
            break;
        box->Add(std::move(control));
    }
    return result;
}

void WindowBuilder::BuildInclude(const MarkupNode& node, Control* parent, Window* window,
                                 std::unique_ptr<Control>& result)
{
    if (g_includeDepth >= kMaxIncludeDepth)
        return;
    const std::wstring count(
        std::wstring_view(node.GetAttributeValue(L"count")).substr(0, kMaxIncludeValue));
    const std::wstring source(
        std::wstring_view(node.GetAttributeValue(L"source")).substr(0, kMaxIncludeValue));
    const int times = count.empty() ? 1 : AttributeText::ParseInt(count);
    auto* box = dynamic_cast<Box*>(parent);
    if (parent != nullptr && box == nullptr)
        return;
    ++g_includeDepth;
    for (int i = 0; i < times && g_includes < kMaxIncludes; ++i) {
        ++g_includes;
        WindowBuilder builder;
        std::unique_ptr<Control> included = builder.Create(source, m_callback, window, box);
        if (parent == nullptr && result == nullptr)
            result = std::move(included);
    }
    --g_includeDepth;
}

void WindowBuilder::AttachMarkupEvent(const MarkupNode& node, Control* owner, bool bubbled)
{
    if (owner == nullptr)
        return;
    auto* box = dynamic_cast<Box*>(owner);
    if (bubbled && box == nullptr)
        return;
    const std::wstring types = node.GetAttributeValue(L"type");
    const std::wstring receivers = node.GetAttributeValue(L"receiver");
    const std::wstring attributes = node.GetAttributeValue(L"applyattribute");
    for (const std::wstring& typeName : AttributeText::SplitWords(types)) {
        const EventType type = EventTypeFromName(typeName);
        for (const std::wstring& receiver : AttributeText::SplitWords(receivers)) {
            auto handler = owner->ToWeakCallback([owner, receiver, attributes](const EventArgs&) {
                if (Control* target = FindReceiver(*owner, receiver))
                    target->ApplyAttributes(attributes);
                return true;
            });
            if (bubbled)
                box->AddBubbledEventHandler(type, handler);
            else
                owner->AddMarkupEventHandler(type, handler);
        }
    }
}

} // namespace ui
