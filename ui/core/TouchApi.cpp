#include "ui/core/TouchApi.h"

namespace ui {

namespace {

template <typename Function>
void Lookup(HMODULE module, const char* name, Function& function)
{
    // Through void(*)() so that the cast between function types is allowed.
    function =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

} // namespace

const TouchApi& TouchApi::Get()
{
    static const TouchApi api = [] {
        TouchApi result;
        HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        if (user32 == nullptr)
            return result;
        Lookup(user32, "RegisterTouchWindow", result.registerTouchWindow);
        Lookup(user32, "UnregisterTouchWindow", result.unregisterTouchWindow);
        Lookup(user32, "GetTouchInputInfo", result.getTouchInputInfo);
        Lookup(user32, "CloseTouchInputHandle", result.closeTouchInputHandle);
        Lookup(user32, "GetPointerType", result.getPointerType);
        Lookup(user32, "GetPointerTouchInfo", result.getPointerTouchInfo);
        Lookup(user32, "GetPointerPenInfo", result.getPointerPenInfo);
        return result;
    }();
    return api;
}

} // namespace ui
