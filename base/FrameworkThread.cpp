#include "base/FrameworkThread.h"

#include <utility>

#include "base/ThreadRecord.h"
#include "base/ThreadRegistry.h"
#include "base/UIMessageLoop.h"

namespace obase {

FrameworkThread::FrameworkThread(std::wstring name, int32_t priority)
    : Thread(priority),
      startedEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      name_(std::move(name))
{
    // Stop binds its quit task weakly to this object, possibly from another
    // thread; making the flag now means no thread ever creates it lazily.
    GetWeakFlag();
}

FrameworkThread::~FrameworkThread()
{
    Stop();
    if (startedEvent_)
        CloseHandle(startedEvent_);
}

bool FrameworkThread::Start(MessageLoop::Type type)
{
    if (running_)
        return false;
    loopType_ = type;
    if (!Thread::Start())
        return false;
    WaitForSingleObject(startedEvent_, INFINITE);
    running_ = true;
    return true;
}

void FrameworkThread::Stop()
{
    if (!running_)
        return;
    if (!quitRequested_ && proxy_) {
        quitRequested_ = true;
        proxy_->PostTask(ToWeakCallback([] {
            if (MessageLoop* loop = MessageLoop::current())
                loop->Quit();
            SetCurrentThreadQuitting();
        }));
    }
    Join();
    running_ = false;
    quitRequested_ = false;
}

void FrameworkThread::Run()
{
    std::unique_ptr<ThreadRecord> ownRecord;
    if (!ThreadRecord::Current()) {
        ownRecord = std::make_unique<ThreadRecord>();
        ownRecord->owner = this;
        ThreadRecord::SetCurrent(ownRecord.get());
    }
    ThreadRecord::Current()->quit = 0;
    SetThreadId(GetCurrentThreadId());

    std::unique_ptr<MessageLoop> loop = CreateLoop();
    proxy_ = loop->proxy();
    Init();
    SetEvent(startedEvent_);
    if (UIMessageLoop* uiLoop = UIMessageLoop::current())
        uiLoop->RunWithDispatcher(dispatcher_);
    else
        loop->Run();
    Cleanup();

    if (ownRecord) {
        // An identifier left registered would keep pointing at this thread
        // after its loop is gone.
        while (ownRecord->registrationCount > 0)
            ThreadRegistry::UnregisterThread();
    }
    loop.reset();
    SetThreadId(0);
    if (ownRecord)
        ThreadRecord::SetCurrent(nullptr);
}

std::unique_ptr<MessageLoop> FrameworkThread::CreateLoop() const
{
    if (loopType_ == MessageLoop::Type::kUI)
        return std::make_unique<UIMessageLoop>();
    return std::make_unique<MessageLoop>();
}

FrameworkThread* FrameworkThread::Current()
{
    ThreadRecord* record = ThreadRecord::Current();
    return record ? record->owner : nullptr;
}

void FrameworkThread::SetCurrentThreadQuitting()
{
    if (ThreadRecord* record = ThreadRecord::Current())
        record->quit = 1;
}

bool FrameworkThread::IsCurrentThreadQuitting()
{
    ThreadRecord* record = ThreadRecord::Current();
    return record && record->quit != 0;
}

}  // namespace obase
