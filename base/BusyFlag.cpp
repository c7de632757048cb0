#include "base/BusyFlag.h"

#include <thread>

void BusyFlag::AcquireBusy()
{
    while (m_flag.test_and_set(std::memory_order_acquire))
        std::this_thread::yield();
}

void BusyFlag::release()
{
    m_flag.clear(std::memory_order_release);
}
