#include "base/FrameworkThread.h"

#include <utility>

#include "base/ThreadRecord.h"
#include "base/ThreadRegistry.h"
#include "base/UIMessageLoop.h"

namespace obase {

FrameworkThread::FrameworkThread(std::wstring name, int32_t priority)
    : Thread(priority),
      m_startedEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_name(std::move(name))
{
    // Stop binds its quit task weakly to this object, possibly from another
    // thread; making the flag now means no thread ever creates it lazily.
    GetWeakFlag();
}

FrameworkThread::~FrameworkThread()
{
    if (m_running) {
        OutputDebugStringW(
            L"FrameworkThread destroyed while running: the derived class must "
            L"call Stop in its destructor; Cleanup skipped\r\n");
        m_derivedGone = true;
        Stop();
    }
    if (m_startedEvent)
        CloseHandle(m_startedEvent);
}

bool FrameworkThread::Start(MessageLoop::Type type)
{
    if (m_running)
        return false;
    m_loopType = type;
    if (!Thread::Start())
        return false;
    WaitForSingleObject(m_startedEvent, INFINITE);
    m_running = true;
    return true;
}

void FrameworkThread::Stop()
{
    if (!m_running)
        return;
    if (!m_quitRequested && m_proxy) {
        m_quitRequested = true;
        m_proxy->PostTask(ToWeakCallback([] {
            if (MessageLoop* loop = MessageLoop::current())
                loop->Quit();
            SetCurrentThreadQuitting();
        }));
    }
    Join();
    m_running = false;
    m_quitRequested = false;
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
    m_proxy = loop->proxy();
    Init();
    SetEvent(m_startedEvent);
    if (UIMessageLoop* uiLoop = UIMessageLoop::current())
        uiLoop->RunWithDispatcher(m_dispatcher);
    else
        loop->Run();
    if (!m_derivedGone)
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
    if (m_loopType == MessageLoop::Type::kUI)
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

} // namespace obase
