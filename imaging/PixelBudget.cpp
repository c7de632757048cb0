#include "imaging/PixelBudget.h"

#include <algorithm>

void PixelBudget::acquire(qint64 pixels, qint64 sequentialPixels)
{
    std::unique_lock lock(m_mutex);
    m_limit = std::max(m_limit, sequentialPixels);
    // Waiting holds nothing, so whoever holds pixels finishes and releases them.
    m_released.wait(lock, [&] { return m_held == 0 || m_held + pixels <= m_limit; });
    m_held += pixels;
}

void PixelBudget::release(qint64 pixels)
{
    {
        const std::lock_guard lock(m_mutex);
        m_held -= pixels;
    }
    m_released.notify_all();
}
