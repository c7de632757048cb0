#include "cli/Interruption.h"

namespace {

std::atomic<bool> interrupted = false;
static_assert(std::atomic<bool>::is_always_lock_free);

void noteInterruption(int)
{
    interrupted.store(true);
}

} // namespace

Interruption::Interruption()
{
    interrupted.store(false);
    struct sigaction action = {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    // Writes in progress carry on rather than fail halfway.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &m_previous);
}

Interruption::~Interruption()
{
    sigaction(SIGINT, &m_previous, nullptr);
}

const std::atomic<bool>& Interruption::flag() const
{
    return interrupted;
}
