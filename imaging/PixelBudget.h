#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>

// Keeps the pixels that renders side by side hold at once within what the sequential run
// would hold for the largest picture so far, so spreading a run over every core never needs
// more memory than working row by row. A render alone always gets its pixels.
class PixelBudget
{
public:
    // Waits until pixels fit beside those already held, or nothing is held. The sequential
    // run would hold sequentialPixels for the same picture; the limit grows to the largest.
    void acquire(qint64 pixels, qint64 sequentialPixels);
    void release(qint64 pixels);

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    qint64 m_held = 0;
    qint64 m_limit = 0;
};

// Holds pixels of a budget for one scope.
class PixelReservation
{
public:
    PixelReservation(PixelBudget& budget, qint64 pixels, qint64 sequentialPixels)
        : m_budget(budget), m_pixels(pixels)
    {
        m_budget.acquire(pixels, sequentialPixels);
    }
    ~PixelReservation() { m_budget.release(m_pixels); }
    PixelReservation(const PixelReservation&) = delete;
    PixelReservation& operator=(const PixelReservation&) = delete;

private:
    PixelBudget& m_budget;
    const qint64 m_pixels;
};
