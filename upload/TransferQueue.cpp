#include "upload/TransferQueue.h"

#include <QCoreApplication>

#include <numeric>

TransferQueue::TransferQueue(std::vector<qint64> sizes, int senders)
    : m_sizes(std::move(sizes)), m_outcomes(m_sizes.size()), m_inFlight(size_t(senders)),
      m_senders(senders)
{
}

std::optional<size_t> TransferQueue::take()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_held || m_ended; });
    if (m_ended || m_next >= m_sizes.size())
        return std::nullopt;
    return m_next++;
}

void TransferQueue::finish(size_t index, TransferOutcome outcome)
{
    {
        const std::lock_guard lock(m_mutex);
        m_outcomes[index] = std::move(outcome);
        m_finishedBytes += m_sizes[index];
        // Two time-outs in a row, in list order, end the upload: nothing more goes to a server
        // taken as gone, just as when files go one at a time.
        const auto timedOut = [this](size_t at) {
            return at < m_outcomes.size() && m_outcomes[at] &&
                   m_outcomes[at]->result == TransferResult::TimedOut;
        };
        if (timedOut(index) && ((index > 0 && timedOut(index - 1)) || timedOut(index + 1)))
            m_ended = true;
    }
    m_changed.notify_all();
}

void TransferQueue::setBytesInFlight(int sender, qint64 bytes)
{
    const std::lock_guard lock(m_mutex);
    if (size_t(sender) >= m_inFlight.size())
        m_inFlight.resize(size_t(sender) + 1);
    m_inFlight[size_t(sender)] = bytes;
}

void TransferQueue::senderGone()
{
    {
        const std::lock_guard lock(m_mutex);
        if (--m_senders > 0 || m_ended)
            return;
        m_ended = true;
        // Nobody is left to send these: every connection broke off.
        for (size_t index = m_next; index < m_sizes.size(); ++index)
            m_outcomes[index] = TransferOutcome{
                TransferResult::Failed,
                QCoreApplication::translate("TransferQueue", "The connection to the server "
                                                             "was lost.")};
        m_next = m_sizes.size();
    }
    m_changed.notify_all();
}

TransferOutcome TransferQueue::waitFor(size_t index, const std::function<void()>& tick)
{
    std::unique_lock lock(m_mutex);
    while (!m_outcomes[index]) {
        // An ended queue hands this file to nobody: it was not tried.
        if (m_ended && index >= m_next)
            return {TransferResult::Stopped, {}};
        if (!m_changed.wait_for(lock, std::chrono::milliseconds(250), [&] {
                return m_outcomes[index] || (m_ended && index >= m_next);
            })) {
            lock.unlock();
            tick();
            lock.lock();
        }
    }
    return *m_outcomes[index];
}

void TransferQueue::end()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_changed.notify_all();
}

void TransferQueue::hold(bool held)
{
    {
        const std::lock_guard lock(m_mutex);
        m_held = held;
    }
    m_changed.notify_all();
}

std::optional<TransferOutcome> TransferQueue::outcome(size_t index) const
{
    const std::lock_guard lock(m_mutex);
    return m_outcomes[index];
}

qint64 TransferQueue::bytesDone() const
{
    const std::lock_guard lock(m_mutex);
    return std::accumulate(m_inFlight.begin(), m_inFlight.end(), m_finishedBytes);
}
