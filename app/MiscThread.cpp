#include "app/MiscThread.h"

#include "base/ThreadRegistry.h"

MiscThread::MiscThread() : obase::FrameworkThread(L"Global Misc Thread") {}

MiscThread::~MiscThread()
{
    Stop();
}

void MiscThread::Init()
{
    obase::ThreadRegistry::RegisterThread(m_identifier);
}

void MiscThread::Cleanup()
{
    obase::ThreadRegistry::UnregisterThread();
}
