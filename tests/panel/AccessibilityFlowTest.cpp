// The mixer, its tray menu and the settings window as a screen reader sees
// them: accessible objects obtained from the windows and read from the test
// thread, which is another COM apartment than the program's UI thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "panel/MainForm.h"
#include "panel/SettingForm.h"
#include "tests/panel/MainFormTestHost.h"
#include "ui/access/AccessibleControl.h"
#include "ui/core/AccessIid.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/core/Box.h"
#include "ui/render/IRenderContext.h"

namespace {

class Ref {
public:
    explicit Ref(IAccessible* object = nullptr) : m_object(object) {}
    Ref(Ref&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ~Ref()
    {
        if (m_object)
            m_object->Release();
    }
    IAccessible* operator->() const { return m_object; }
    IAccessible* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    IAccessible* m_object;
};

VARIANT Id(long id = CHILDID_SELF)
{
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

Ref FromDispatch(IDispatch* object)
{
    IAccessible* accessible = nullptr;
    if (object) {
        object->QueryInterface(ui::kIidAccessible, reinterpret_cast<void**>(&accessible));
        object->Release();
    }
    return Ref(accessible);
}

Ref FromVariant(VARIANT& result)
{
    return result.vt == VT_DISPATCH ? FromDispatch(result.pdispVal) : Ref();
}

Ref FromWindow(HWND window)
{
    IAccessible* object = nullptr;
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), ui::kIidAccessible,
                                 reinterpret_cast<void**>(&object));
    return Ref(object);
}

std::wstring Text(HRESULT (IAccessible::*get)(VARIANT, BSTR*), IAccessible* object,
                  long child = CHILDID_SELF)
{
    BSTR text = nullptr;
    (object->*get)(Id(child), &text);
    std::wstring result = text ? text : L"";
    ::SysFreeString(text);
    return result;
}

std::wstring Name(IAccessible* object, long child = CHILDID_SELF)
{
    return Text(&IAccessible::get_accName, object, child);
}

std::wstring Value(IAccessible* object)
{
    return Text(&IAccessible::get_accValue, object);
}

long Number(HRESULT (IAccessible::*get)(VARIANT, VARIANT*), IAccessible* object,
            long child = CHILDID_SELF)
{
    VARIANT result;
    ::VariantInit(&result);
    return SUCCEEDED((object->*get)(Id(child), &result)) && result.vt == VT_I4 ? result.lVal : -1;
}

long Role(IAccessible* object, long child = CHILDID_SELF)
{
    return Number(&IAccessible::get_accRole, object, child);
}

long State(IAccessible* object, long child = CHILDID_SELF)
{
    return Number(&IAccessible::get_accState, object, child);
}

RECT Location(IAccessible* object, long child = CHILDID_SELF)
{
    long x = 0, y = 0, cx = 0, cy = 0;
    object->accLocation(&x, &y, &cx, &cy, Id(child));
    return RECT{x, y, x + cx, y + cy};
}

// The first object below `parent`, depth first in tree order, that `visit`
// answers true for.
Ref Visit(IAccessible* parent, const std::function<bool(IAccessible*)>& visit)
{
    long count = 0;
    parent->get_accChildCount(&count);
    for (long i = 1; i <= count; ++i) {
        IDispatch* object = nullptr;
        if (parent->get_accChild(Id(i), &object) != S_OK)
            continue;
        Ref child = FromDispatch(object);
        if (!child)
            continue;
        if (visit(child.get()))
            return child;
        if (Ref found = Visit(child.get(), visit))
            return found;
    }
    return Ref();
}

Ref Find(IAccessible* parent, const std::wstring& name)
{
    return Visit(parent, [&](IAccessible* object) { return Name(object) == name; });
}

// A named control's rectangle in screen coordinates, as the form has it.
RECT ScreenRect(MainFormTestHost& host, const std::wstring& name)
{
    return host.Read<RECT>([&](MainForm& form) {
        const ui::UiRect rect = form.FindControl(name)->GetRect();
        POINT origin{rect.left, rect.top};
        ::ClientToScreen(form.GetHWND(), &origin);
        return RECT{origin.x, origin.y, origin.x + rect.Width(), origin.y + rect.Height()};
    });
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// WinEvents reach an out-of-context hook while its thread pumps messages.
struct WinEvent {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};
std::vector<WinEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                         DWORD)
{
    g_events.push_back(WinEvent{event, window, object, child});
}

// A value change of the window's slider of that name, turned into its object
// as a screen reader in another process does.
bool AnnouncesValue(const WinEvent& event, HWND window, const std::wstring& name)
{
    IAccessible* object = nullptr;
    VARIANT child;
    if (event.event != EVENT_OBJECT_VALUECHANGE || event.window != window ||
        FAILED(::AccessibleObjectFromEvent(event.window, static_cast<DWORD>(event.object),
                                           static_cast<DWORD>(event.child), &object, &child)))
        return false;
    const Ref held(object);
    return Name(object, child.lVal) == name && Role(object, child.lVal) == ROLE_SYSTEM_SLIDER;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    return done();
}

std::vector<std::wstring> SetCalls(const std::vector<std::wstring>& calls)
{
    std::vector<std::wstring> sets;
    for (const std::wstring& call : calls) {
        if (call.find(L"Set") != std::wstring::npos)
            sets.push_back(call.substr(0, call.find(L" = ")));
    }
    return sets;
}

class AccessibilityFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        MainFormTestHost::Sim().Control(L"plugged 0; volume in all 0; mute in all 0; gain 1 3");
    }
    void TearDown() override { ::CoUninitialize(); }
};

// One program run, as the program's fade timers serve the first UI thread
// of the process only.
TEST_F(AccessibilityFlowTest, MixerMenuAndSettingsReadAsAScreenReaderReadsThem)
{
    MainFormTestHost host;
    ASSERT_NE(nullptr, host.Window());
    Ref client = FromWindow(host.Window());
    ASSERT_TRUE(client) << "no accessible object for the main window";
    EXPECT_EQ(ROLE_SYSTEM_WINDOW, Role(client.get()));
    wchar_t title[64] = {};
    ::GetWindowTextW(host.Window(), title, 64);
    EXPECT_EQ(title, Name(client.get()));

    // Disconnected: everything greyed, the faders at their "0 dB" top.
    Ref fader = Find(client.get(), L"MIC1 level");
    ASSERT_TRUE(fader);
    // A strip is named by its caption and reads caption, channel, fader, mute box.
    IDispatch* strip = nullptr;
    ASSERT_EQ(S_OK, fader->get_accParent(&strip));
    EXPECT_EQ(L"MIC1", Name(FromDispatch(strip).get()));
    VARIANT next;
    ASSERT_EQ(S_OK, fader->accNavigate(NAVDIR_NEXT, Id(), &next));
    Ref mute = FromVariant(next);
    Ref knob = Find(client.get(), L"MIC1 gain");
    Ref settings = Find(client.get(), L"Settings");
    ASSERT_TRUE(mute && knob && settings);
    EXPECT_EQ(L"MIC1 mute", Name(mute.get()));
    EXPECT_EQ(ROLE_SYSTEM_SLIDER, Role(fader.get()));
    EXPECT_EQ(L"0 dB", Value(fader.get()));
    EXPECT_EQ(ROLE_SYSTEM_CHECKBUTTON, Role(mute.get()));
    EXPECT_EQ(ROLE_SYSTEM_SLIDER, Role(knob.get()));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(settings.get()));
    for (IAccessible* object : {fader.get(), mute.get(), knob.get(), settings.get()})
        EXPECT_NE(0, State(object) & STATE_SYSTEM_UNAVAILABLE) << Name(object);
    EXPECT_TRUE(SameRect(ScreenRect(host, L"input_mic1_mute"), Location(mute.get())));

    // Connected: enabled, the fader's value is its tool tip, the knob's its read-out.
    MainFormTestHost::Sim().Control(L"plug");
    ASSERT_TRUE(PumpUntil([&] { return (State(mute.get()) & STATE_SYSTEM_UNAVAILABLE) == 0; }));
    EXPECT_EQ(host.Read<std::wstring>([](MainForm& f) { return ToolTip(f, L"input_mic1"); }),
              Value(fader.get()));
    EXPECT_EQ(host.Read<std::wstring>([](MainForm& f) { return Text(f, L"mic1_value"); }),
              Value(knob.get()));
    EXPECT_EQ(L"Check", Text(&IAccessible::get_accDefaultAction, mute.get()));

    // Child ids it does not know, of a kind it does not take, or a point
    // outside the window are refused rather than guessed at.
    BSTR none = nullptr;
    EXPECT_EQ(E_INVALIDARG, client->get_accName(Id(100000), &none));
    EXPECT_EQ(E_INVALIDARG, client->get_accName(Id(-0x7fffffff), &none));
    VARIANT text;
    ::VariantInit(&text);
    text.vt = VT_BSTR;
    EXPECT_EQ(E_INVALIDARG, client->get_accName(text, &none));
    VARIANT outside;
    EXPECT_EQ(S_FALSE, client->accHitTest(-30000, -30000, &outside));
    EXPECT_EQ(VT_EMPTY, outside.vt);

    // Hit testing at the box's centre finds the box.
    const RECT box = Location(mute.get());
    VARIANT hit;
    ASSERT_EQ(S_OK,
              client->accHitTest((box.left + box.right) / 2, (box.top + box.bottom) / 2, &hit));
    Ref hitBox = FromVariant(hit);
    ASSERT_TRUE(hitBox);
    EXPECT_TRUE(SameRect(box, Location(hitBox.get())));
    EXPECT_EQ(ROLE_SYSTEM_CHECKBUTTON, Role(hitBox.get()));

    // The default action takes the click's path: the same driver request.
    host.NewCalls();
    host.Click(L"input_mic1_mute");
    const std::vector<std::wstring> clicked = SetCalls(host.NewCalls());
    ASSERT_FALSE(clicked.empty());
    host.Click(L"input_mic1_mute");
    host.NewCalls();
    EXPECT_EQ(0, State(mute.get()) & STATE_SYSTEM_CHECKED);
    ASSERT_EQ(S_OK, mute->accDoDefaultAction(Id()));
    host.Flush();
    EXPECT_EQ(clicked, SetCalls(host.NewCalls()));
    EXPECT_NE(0, State(mute.get()) & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, fader->accDoDefaultAction(Id()));

    // A change made on the device raises a value change naming the fader.
    HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr, OnWinEvent,
                          ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hook);
    g_events.clear();
    MainFormTestHost::Sim().Control(L"volume in 1 -2560");
    const auto namesMic1 = [&](const WinEvent& event) {
        return AnnouncesValue(event, host.Window(), L"MIC1 level");
    };
    EXPECT_TRUE(PumpUntil([&] {
        // Hook calls may come in while the object is asked for.
        const std::vector<WinEvent> events = g_events;
        return std::any_of(events.begin(), events.end(), namesMic1);
    }));
    EXPECT_EQ(host.Read<std::wstring>([](MainForm& f) { return ToolTip(f, L"input_mic1"); }),
              Value(fader.get()));
    EXPECT_NE(L"0 dB", Value(fader.get()));

    // The tray menu: a pop-up menu of two items, announced when it opens.
    g_events.clear();
    ::UnhookWinEvent(hook);
    hook = ::SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPEND, nullptr,
                             OnWinEvent, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    host.OnUi([](MainForm& form) { form.ShowTrayMenu(); });
    HWND menuWindow = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (menuWindow = ::FindWindowW(L"MenuWnd", nullptr)) != nullptr; }));
    {
        Ref menu = FromWindow(menuWindow);
        ASSERT_TRUE(menu);
        EXPECT_EQ(ROLE_SYSTEM_MENUPOPUP, Role(menu.get()));
        Ref show = Find(menu.get(), L"Show");
        Ref exit = Find(menu.get(), L"Exit");
        ASSERT_TRUE(show && exit);
        EXPECT_EQ(ROLE_SYSTEM_MENUITEM, Role(show.get()));
        EXPECT_EQ(L"Execute", Text(&IAccessible::get_accDefaultAction, exit.get()));
    }
    EXPECT_TRUE(PumpUntil([&] {
        return !g_events.empty() && g_events.front().event == EVENT_SYSTEM_MENUPOPUPSTART &&
               g_events.front().window == menuWindow;
    }));
    ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(menuWindow); }));
    ::UnhookWinEvent(hook);

    // The settings window's status texts, line by line; its showing is announced.
    EXPECT_TRUE(PumpUntil([&] { return (State(settings.get()) & STATE_SYSTEM_UNAVAILABLE) == 0; }));
    g_events.clear();
    hook = ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, OnWinEvent,
                             ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_EQ(S_OK, settings->accDoDefaultAction(Id()));
    host.Flush();
    HWND settingsWindow = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        settingsWindow = host.Read<HWND>([](MainForm& form) {
            SettingForm* open = form.GetSettingForm();
            return open ? open->GetHWND() : nullptr;
        });
        return settingsWindow != nullptr;
    }));
    EXPECT_TRUE(PumpUntil([&] {
        return std::any_of(g_events.begin(), g_events.end(), [&](const WinEvent& event) {
            return event.window == settingsWindow && event.object == OBJID_CLIENT;
        });
    }));
    ::UnhookWinEvent(hook);
    Ref settingsClient = FromWindow(settingsWindow);
    ASSERT_TRUE(settingsClient);
    Ref deviceInfo = Find(settingsClient.get(), L"device info");
    ASSERT_TRUE(deviceInfo);
    EXPECT_EQ(ROLE_SYSTEM_TEXT, Role(deviceInfo.get()));
    EXPECT_NE(0, State(deviceInfo.get()) & STATE_SYSTEM_READONLY);
    long lines = 0;
    deviceInfo->get_accChildCount(&lines);
    EXPECT_EQ(5, lines);
    EXPECT_EQ(0u, Name(deviceInfo.get(), 1).rfind(L"Manufacturer: ", 0))
        << Name(deviceInfo.get(), 1);
    EXPECT_EQ(0u, Name(deviceInfo.get(), 5).rfind(L"Serial No:", 0)) << Name(deviceInfo.get(), 5);
    EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, Role(deviceInfo.get(), 2));
    const RECT first = Location(deviceInfo.get(), 1);
    const RECT second = Location(deviceInfo.get(), 2);
    EXPECT_LT(first.top, second.top);
    EXPECT_LE(first.bottom, second.top + 1);
    IDispatch* lineObject = nullptr;
    EXPECT_EQ(S_FALSE, deviceInfo->get_accChild(Id(1), &lineObject)); // a simple element
    EXPECT_EQ(nullptr, lineObject);
    VARIANT down;
    ASSERT_EQ(S_OK, deviceInfo->accNavigate(NAVDIR_NEXT, Id(1), &down));
    EXPECT_EQ(VT_I4, down.vt);
    EXPECT_EQ(2, down.lVal);

    // Objects held after their window is gone answer that they are disconnected.
    ::PostMessageW(settingsWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(settingsWindow); }));
    BSTR name = nullptr;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, deviceInfo->get_accName(Id(), &name));
    long count = 0;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, settingsClient->get_accChildCount(&count));

    // And a control taken out of the tree, asked on the UI thread itself.
    host.OnUi([](MainForm& form) {
        auto* root = dynamic_cast<ui::Box*>(form.GetRoot());
        auto label = std::make_unique<ui::Label>();
        label->SetName(L"probe_label");
        ui::Label* control = label.get();
        ASSERT_TRUE(root && root->Add(std::move(label)));
        IAccessible* held = ui::AccessibleControl::ForControl(form, *control);
        EXPECT_EQ(L"probe label", Name(held));
        root->Remove(control);
        BSTR gone = nullptr;
        EXPECT_EQ(CO_E_OBJNOTCONNECTED, held->get_accName(Id(), &gone));
        VARIANT role;
        EXPECT_EQ(CO_E_OBJNOTCONNECTED, held->get_accRole(Id(), &role));
        held->Release();
    });
}

std::wstring FocusName(MainFormTestHost& host)
{
    return host.Read<std::wstring>([](MainForm& form) {
        return form.GetFocus() != nullptr ? form.GetFocus()->GetName() : std::wstring();
    });
}

// Tab until the named control has the focus (at most once round the window).
bool TabTo(MainFormTestHost& host, const std::wstring& name)
{
    for (int i = 0; i < 60 && FocusName(host) != name; ++i)
        host.Key(VK_TAB);
    return FocusName(host) == name;
}

// The back buffer's pixel, as 0xRRGGBB.
uint32_t BackBufferPixel(MainFormTestHost& host, POINT at)
{
    return host.Read<uint32_t>([at](MainForm& form) {
        const ui::IRenderContext* buffer = form.GetRenderContext();
        const auto* row = reinterpret_cast<const uint32_t*>(buffer->GetBits()) +
                          static_cast<size_t>(at.y) * static_cast<size_t>(buffer->GetWidth());
        return row[at.x] & 0xFFFFFF;
    });
}

// Keyboard cues as Windows has them by default (Wine shows them always),
// for the life of one test.
class DefaultKeyboardCues {
public:
    DefaultKeyboardCues()
    {
        ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &m_before, 0);
        ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, nullptr, 0);
    }
    ~DefaultKeyboardCues()
    {
        ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0,
                                reinterpret_cast<void*>(static_cast<INT_PTR>(m_before)), 0);
    }

private:
    BOOL m_before = FALSE;
};

// The mixer from the keyboard alone: posted keys only, checked in the
// simulator's journal and through the accessible objects.
TEST_F(AccessibilityFlowTest, TheMixerIsPlayedFromTheKeyboardAlone)
{
    const DefaultKeyboardCues cues;
    MainFormTestHost::Sim().Control(
        L"plugged 1; volume in 1 -2560; devtop 0 100; devvol 0 50; lockout 0");
    MainFormTestHost host;
    ASSERT_NE(nullptr, host.Window());
    ASSERT_TRUE(PumpUntil(
        [&] { return host.Read<bool>([](MainForm& f) { return IsEnabled(f, L"settings"); }); }));
    Ref client = FromWindow(host.Window());
    ASSERT_TRUE(client);

    // Every control says what it is and which strip it belongs to; the dB
    // scale and the decoration are not read.
    std::vector<std::wstring> operable;
    Visit(client.get(), [&](IAccessible* object) {
        const long role = Role(object);
        EXPECT_NE(ROLE_SYSTEM_GRAPHIC, role) << Name(object);
        EXPECT_NE(L"-127", Name(object));
        if (role == ROLE_SYSTEM_SLIDER || role == ROLE_SYSTEM_CHECKBUTTON)
            operable.push_back(Name(object));
        return false;
    });
    EXPECT_EQ(23u + 18u, operable.size()); // faders and knobs; boxes
    std::vector<std::wstring> unique = operable;
    std::sort(unique.begin(), unique.end());
    EXPECT_EQ(unique.end(), std::adjacent_find(unique.begin(), unique.end()));
    for (const wchar_t* name :
         {L"MIC1 level", L"MIC1 mute", L"Phone1 input level, left", L"Phone1 input link",
          L"HP output level, right", L"MIC1 device volume", L"MIC1 gain", L"Master output mute"})
        EXPECT_NE(operable.end(), std::find(operable.begin(), operable.end(), name)) << name;

    // A click shows no focus ring; Tab does, and goes through in reading order.
    // The system's UI state says the same to other programs.
    const auto systemHidesFocus = [&] {
        return (::SendMessageW(host.Window(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    };
    host.Click(L"title");
    EXPECT_FALSE(host.Read<bool>([](MainForm& form) { return form.AreFocusCuesShown(); }));
    EXPECT_TRUE(systemHidesFocus());
    std::vector<std::wstring> order;
    for (int i = 0; i < 45; ++i) {
        host.Key(VK_TAB);
        order.push_back(FocusName(host));
    }
    std::vector<std::wstring> expected = {L"scenes", L"settings", L"hidebtn"};
    for (const wchar_t* strip : {L"input_master", L"input_mic1", L"input_phone1", L"input_mic2",
                                 L"input_guitar", L"input_phone2", L"output_master", L"output_ear",
                                 L"output_phone1", L"output_phone2", L"output_box"}) {
        const std::wstring name = strip;
        const bool stereo = name.find(L"phone") != std::wstring::npos || name == L"output_ear" ||
                            name == L"output_box";
        for (const wchar_t* part :
             stereo ? std::vector<const wchar_t*>{L"_left", L"_right", L"_mute", L"_lock"}
                    : std::vector<const wchar_t*>{L"", L"_mute"})
            expected.push_back(name + part);
    }
    for (const wchar_t* name : {L"device_MIC1", L"device_MIC2", L"device_GUITAR", L"device_HP",
                                L"mic1amp", L"mic2amp", L"input_invert", L"scenes"})
        expected.push_back(name);
    EXPECT_EQ(expected, order);
    EXPECT_TRUE(host.Read<bool>([](MainForm& form) { return form.AreFocusCuesShown(); }));
    EXPECT_FALSE(systemHidesFocus());

    // The ring in the accent colour around the focused box, gone when the focus moves on.
    ASSERT_TRUE(TabTo(host, L"input_mic1_mute"));
    const RECT box = host.Read<RECT>([](MainForm& form) {
        const ui::UiRect rect = form.FindControl(std::wstring(L"input_mic1_mute"))->GetRect();
        return RECT{rect.left, rect.top, rect.right, rect.bottom};
    });
    const POINT ring{box.left - 2, (box.top + box.bottom) / 2};
    EXPECT_EQ(0x3DDC84u, BackBufferPixel(host, ring));
    host.Key(VK_TAB);
    EXPECT_NE(0x3DDC84u, BackBufferPixel(host, ring));

    // A fader: arrows, Page and Home/End, quantised and sent as a drag is;
    // a held key's repeats arrive counted and make one request.
    HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, OnWinEvent,
                          ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    g_events.clear();
    ASSERT_TRUE(TabTo(host, L"input_mic1"));
    host.NewCalls();
    for (const WPARAM key : {VK_UP, VK_NEXT, VK_HOME, VK_END})
        host.Key(key);
    ::PostMessageW(host.Window(), WM_KEYDOWN, VK_RIGHT, 3);
    host.Flush();
    EXPECT_EQ((std::vector<std::wstring>{
                  L"TUSBAUDIO_SetVolume(1,1,1,-2304)", L"TUSBAUDIO_SetVolume(1,1,1,-3840)",
                  L"TUSBAUDIO_SetVolume(1,1,1,0)", L"TUSBAUDIO_SetVolume(1,1,1,-32512)",
                  L"TUSBAUDIO_SetVolume(1,1,1,-13568)"}),
              SetCalls(host.NewCalls()));
    Ref fader = Find(client.get(), L"MIC1 level");
    ASSERT_TRUE(fader);
    EXPECT_EQ(L"-53 dB", Value(fader.get()));
    EXPECT_TRUE(PumpUntil([&] {
        const std::vector<WinEvent> events = g_events;
        return std::any_of(events.begin(), events.end(), [&](const WinEvent& event) {
            return AnnouncesValue(event, host.Window(), L"MIC1 level");
        });
    }));
    ::UnhookWinEvent(hook);

    // A locked pair moves together, the moved side first; Space mutes the strip.
    ASSERT_TRUE(TabTo(host, L"input_phone1_left"));
    host.Key(VK_DOWN);
    ASSERT_TRUE(TabTo(host, L"input_phone1_mute"));
    host.Key(VK_SPACE);
    EXPECT_EQ((std::vector<std::wstring>{
                  L"TUSBAUDIO_SetVolume(1,1,3,-256)", L"TUSBAUDIO_SetVolume(1,1,4,-256)",
                  L"TUSBAUDIO_SetMute(1,1,3,1)", L"TUSBAUDIO_SetMute(1,1,4,1)"}),
              SetCalls(host.NewCalls()));
    Ref right = Find(client.get(), L"Phone1 input level, right");
    Ref phoneMute = Find(client.get(), L"Phone1 input mute");
    ASSERT_TRUE(right && phoneMute);
    EXPECT_EQ(L"-1 dB", Value(right.get()));
    EXPECT_NE(0, State(right.get()) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_NE(0, State(phoneMute.get()) & STATE_SYSTEM_CHECKED);

    // A device-volume fader pages by ten; a knob steps and goes to its ends.
    ASSERT_TRUE(TabTo(host, L"device_MIC1"));
    for (const WPARAM key : {VK_PRIOR, VK_END, VK_HOME})
        host.Key(key);
    ASSERT_TRUE(TabTo(host, L"mic1amp"));
    for (const WPARAM key : {VK_UP, VK_END, VK_LEFT})
        host.Key(key);
    const std::wstring set = L"TUSBAUDIO_AudioControlRequestSet(1,10,1,";
    EXPECT_EQ((std::vector<std::wstring>{
                  set + L"20,0,[00 3C],2,0,1000)", set + L"20,0,[00 00],2,0,1000)",
                  set + L"20,0,[00 64],2,0,1000)", set + L"19,0,[01 04],2,0,1000)",
                  set + L"19,0,[01 09],2,0,1000)", set + L"19,0,[01 08],2,0,1000)"}),
              SetCalls(host.NewCalls()));
    Ref knob = Find(client.get(), L"MIC1 gain");
    Ref device = Find(client.get(), L"MIC1 device volume");
    ASSERT_TRUE(knob && device);
    EXPECT_EQ(L"18DB", Value(knob.get()));
    EXPECT_EQ(L"100", Value(device.get()));
}

} // namespace
