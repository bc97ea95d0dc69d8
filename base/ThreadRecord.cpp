#include "base/ThreadRecord.h"

namespace obase {

namespace {

thread_local ThreadRecord* tCurrentRecord = nullptr;

} // namespace

ThreadRecord* ThreadRecord::Current()
{
    return tCurrentRecord;
}

void ThreadRecord::SetCurrent(ThreadRecord* record)
{
    tCurrentRecord = record;
}

} // namespace obase
