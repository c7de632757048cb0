#include "base/BusyFlag.h"

void BusyFlag::AcquireBusy()
{
    while (m_set.exchange(true, std::memory_order_acquire))
        m_set.wait(true, std::memory_order_relaxed);
}

bool BusyFlag::tryAcquire()
{
    return !m_set.exchange(true, std::memory_order_acquire);
}

void BusyFlag::release()
{
    m_set.store(false, std::memory_order_release);
    m_set.notify_one();
}
