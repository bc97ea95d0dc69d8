#include "base/UIMessageLoop.h"

#include <memory>

namespace obase {

UIMessageLoop::UIMessageLoop() : MessageLoop(Type::kUI, std::make_unique<WinUIMessagePump>()) {}

UIMessageLoop* UIMessageLoop::current()
{
    MessageLoop* loop = MessageLoop::current();
    return loop && loop->type() == Type::kUI ? static_cast<UIMessageLoop*>(loop) : nullptr;
}

void UIMessageLoop::RunPump()
{
    uiPump().RunWithDispatcher(this, CurrentDispatcher());
}

void UIMessageLoop::AddUIObserver(WinUIMessagePump::Observer* observer)
{
    uiPump().AddObserver(observer);
}

void UIMessageLoop::RemoveUIObserver(WinUIMessagePump::Observer* observer)
{
    uiPump().RemoveObserver(observer);
}

void UIMessageLoop::SetOSModalLoop(bool inModalLoop)
{
    uiPump().SetInOSModalLoop(inModalLoop);
}

bool UIMessageLoop::OSModalLoop() const
{
    return uiPump().InOSModalLoop();
}

} // namespace obase
