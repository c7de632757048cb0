#pragma once

#include <atomic>

#include <signal.h>

// Turns Ctrl+C (SIGINT), SIGTERM and SIGHUP into a request to stop, for as long as it lives:
// the run finishes the file it is writing, or gives up the one it is sending, and ends
// early instead of dying halfway through it. The handler only sets lock-free flags, which is
// safe to do in a signal handler. One at a time.
class Interruption
{
public:
    Interruption();
    // Puts back what the signals did before.
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    const std::atomic<bool>& flag() const;
    bool requested() const { return flag().load(); }
    // The exit status a shell expects of a program a signal ended: 128 and the signal's
    // number (130 for Ctrl+C). Meaningful once requested.
    int exitStatus() const;

private:
    struct sigaction m_previous[3];
};
