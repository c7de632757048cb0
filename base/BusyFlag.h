#pragma once

#include <atomic>
#include <mutex>

// Guards the preview file between the preview workers, the paint and Add. A thread that
// waits for it sleeps. The window's thread never waits for it while painting: a paint may
// run inside Add, which holds the flag across its file dialog, and would then wait for
// itself forever.
class BusyFlag
{
public:
    // Waits until the flag is clear, then sets it in the same atomic step.
    void AcquireBusy();
    // Sets the flag if it is clear; never waits. Whether it was set.
    bool tryAcquire();
    void release();

private:
    std::atomic<bool> m_set = false;
};

// Holds the flag for one scope: waiting for it, or only if it is free (std::try_to_lock).
class BusyLock
{
public:
    explicit BusyLock(BusyFlag& flag) : m_flag(flag), m_owns(true) { m_flag.AcquireBusy(); }
    BusyLock(BusyFlag& flag, std::try_to_lock_t) : m_flag(flag), m_owns(flag.tryAcquire()) {}
    ~BusyLock()
    {
        if (m_owns)
            m_flag.release();
    }
    BusyLock(const BusyLock&) = delete;
    BusyLock& operator=(const BusyLock&) = delete;

    bool ownsFlag() const { return m_owns; }

private:
    BusyFlag& m_flag;
    const bool m_owns;
};
