#include "tests/ui/controls/ControlTestHost.h"

#include "ui/controls/ControlElements.h"
#include "ui/markup/GlobalManager.h"
#include "ui/markup/WindowBuilder.h"
#include "ui/render/GdiPlusApi.h"
#include "ui/render/IRenderFactory.h"

#include "tests/ui/markup/ImageTestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace ui::test {

namespace {

class TestWindow : public Window {
public:
    std::wstring GetWindowClassName() const override { return L"KvControlsTestWindow"; }
};

constexpr char kGlobalXml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Global>
  <Font id="small" name="Tahoma" size="12" default="true"/>
  <Font id="big" name="Tahoma" size="28" bold="true"/>
  <TextColor name="textdefaultcolor" value="#ff333333"/>
  <TextColor name="textdefaultdisablecolor" value="#ffa1a1a1"/>
  <TextColor name="white" value="#ffffffff"/>
  <TextColor name="black" value="#ff000000"/>
  <TextColor name="red" value="#ffff0000"/>
  <TextColor name="green" value="#ff00ff00"/>
  <TextColor name="blue" value="#ff0000ff"/>
  <TextColor name="gray" value="#ff808080"/>
</Global>
)";

void StartUi()
{
    static const bool started = [] {
        const std::wstring root = ImageTestFiles::MakeTempFolder(L"kv_controls_test");
        ::CreateDirectoryW((root + L"themes").c_str(), nullptr);
        ::CreateDirectoryW(ControlTestHost::SkinFolder().c_str(), nullptr);
        std::ofstream(std::filesystem::path(ControlTestHost::SkinFolder() + L"global.xml"))
            << kGlobalXml;
        GlobalManager::CloseArchive();
        GlobalManager::Startup(root, {}, L"themes\\default", L"lang\\zh_CN");
        RegisterControlElements();
        return true;
    }();
    (void)started;
}

} // namespace

const std::wstring& ControlTestHost::SkinFolder()
{
    static const std::wstring folder =
        ImageTestFiles::MakeTempFolder(L"kv_controls_test") + L"themes\\default\\";
    return folder;
}

bool ControlTestHost::WriteImage(const std::wstring& name, int width, int height, uint32_t argb)
{
    StartUi();
    return ImageTestFiles::WritePng(SkinFolder() + name, width, height, PixelFormat32bppARGB,
                                    [argb](int, int) { return argb; });
}

ControlTestHost::ControlTestHost(const std::wstring& body, int width, int height)
    : m_window(std::make_unique<TestWindow>()), m_width(width), m_height(height)
{
    StartUi();
    HWND hwnd = m_window->Create(nullptr, L"controls test", WS_POPUP, 0, false,
                                 UiRect(0, 0, width, height));
    m_window->Init(hwnd);
    WindowBuilder builder;
    std::unique_ptr<Control> root = builder.Create(
        L"<Window><VBox name=\"root\">" + body + L"</VBox></Window>", {}, m_window.get(), nullptr);
    m_window->AttachRoot(std::move(root));
    m_canvas = GlobalManager::GetRenderFactory()->CreateRenderContext();
    Layout();
}

ControlTestHost::~ControlTestHost()
{
    if (m_window->GetHWND() != nullptr)
        ::DestroyWindow(m_window->GetHWND());
}

Control* ControlTestHost::Find(const std::wstring& name) const
{
    return m_window->FindControl(name);
}

void ControlTestHost::Layout()
{
    if (Control* root = m_window->GetRoot())
        root->SetRect(UiRect(0, 0, m_width, m_height));
}

const IRenderContext& ControlTestHost::Paint()
{
    Layout();
    m_canvas->Resize(m_width, m_height, true);
    m_canvas->Clear();
    const UiRect all(0, 0, m_width, m_height);
    m_window->GetRoot()->PaintWithAlpha(*m_canvas, all);
    return *m_canvas;
}

void ControlTestHost::MouseDown(UiPoint point)
{
    ::SendMessageW(m_window->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

void ControlTestHost::MouseMove(UiPoint point)
{
    ::SendMessageW(m_window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
}

void ControlTestHost::MouseUp(UiPoint point)
{
    ::SendMessageW(m_window->GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void ControlTestHost::Click(UiPoint point)
{
    MouseDown(point);
    MouseUp(point);
}

void ControlTestHost::Wheel(UiPoint point, int delta)
{
    POINT screen{point.x, point.y};
    ::ClientToScreen(m_window->GetHWND(), &screen);
    ::SendMessageW(m_window->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                   MAKELPARAM(screen.x, screen.y));
}

void ControlTestHost::KeyDown(WPARAM key)
{
    ::SendMessageW(m_window->GetHWND(), WM_KEYDOWN, key, 0);
}

void ControlTestHost::Send(Control& control, EventType type, UiPoint point, uint64_t wParam)
{
    EventArgs event;
    event.type = type;
    event.sender = &control;
    event.timestamp = ::GetTickCount();
    event.mousePoint = point;
    event.wParam = wParam;
    control.DispatchEvent(event);
}

void EventLog::Watch(Control& control, std::initializer_list<EventType> types)
{
    for (const EventType type : types) {
        control.AddEventHandler(type, [this](const EventArgs& event) {
            m_entries.push_back(Entry{event.type, event.sender, event.wParam, event.lParam});
            return true;
        });
    }
}

size_t EventLog::Count(EventType type, const Control* sender) const
{
    const auto matches = [&](const Entry& entry) {
        return entry.type == type && (sender == nullptr || entry.sender == sender);
    };
    return static_cast<size_t>(std::count_if(m_entries.begin(), m_entries.end(), matches));
}

} // namespace ui::test
