#pragma once

#include <atomic>

// Guards the preview file between the preview workers, the paint and Add.
class BusyFlag
{
public:
    // Waits, yielding the processor, until the flag is clear, then sets it in the same
    // atomic step.
    void AcquireBusy();
    void release();

private:
    std::atomic_flag m_flag;
};

// Holds the flag for one scope.
class BusyLock
{
public:
    explicit BusyLock(BusyFlag& flag) : m_flag(flag) { m_flag.AcquireBusy(); }
    ~BusyLock() { m_flag.release(); }
    BusyLock(const BusyLock&) = delete;
    BusyLock& operator=(const BusyLock&) = delete;

private:
    BusyFlag& m_flag;
};
