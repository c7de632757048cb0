#pragma once

#include <atomic>

#include <signal.h>

// Turns Ctrl+C (SIGINT) into a request to stop, for as long as it lives: the run finishes the
// file it is writing and ends early instead of dying halfway through it. The handler only sets
// a lock-free flag, which is safe to do in a signal handler. One at a time.
class Interruption
{
public:
    Interruption();
    // Puts back what Ctrl+C did before.
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    const std::atomic<bool>& flag() const;
    bool requested() const { return flag().load(); }

private:
    struct sigaction m_previous;
};
