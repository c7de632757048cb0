#include "cli/Interruption.h"

namespace {

constexpr int handledSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<bool> interrupted = false;
std::atomic<int> firstSignal = 0;
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

void noteInterruption(int signal)
{
    int none = 0;
    firstSignal.compare_exchange_strong(none, signal);
    interrupted.store(true);
}

} // namespace

Interruption::Interruption()
{
    interrupted.store(false);
    firstSignal.store(0);
    struct sigaction action = {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    // Writes in progress carry on rather than fail halfway.
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        sigaction(handledSignals[i], &action, &m_previous[i]);
}

Interruption::~Interruption()
{
    for (int i = 0; i < 3; ++i)
        sigaction(handledSignals[i], &m_previous[i], nullptr);
}

const std::atomic<bool>& Interruption::flag() const
{
    return interrupted;
}

int Interruption::exitStatus() const
{
    return 128 + firstSignal.load();
}
