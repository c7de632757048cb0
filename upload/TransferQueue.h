#pragma once

#include "upload/FtpConnection.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// What became of one file of the queue, with the reason for the user when it failed.
struct TransferOutcome
{
    TransferResult result = TransferResult::Failed;
    QString reason;
};

// Hands the files of an upload to the threads that send them, in list order, and their
// outcomes back to the one thread that reports them, also in list order: that thread waits for
// the first file's outcome, then the second's, whichever thread sent it and whenever it ended.
// The outcome is the same for one sending thread and for many.
class TransferQueue
{
public:
    // sizes: the bytes of each file to send, in list order.
    TransferQueue(std::vector<qint64> sizes, int senders);

    // Sending threads. The next file to send, until there are none or the queue was ended;
    // waits while the queue is held.
    std::optional<size_t> take();
    void finish(size_t index, TransferOutcome outcome);
    // The bytes sent of the file a sender has under way; any thread, at any time.
    void setBytesInFlight(int sender, qint64 bytes);
    // A sending thread takes no more files. Once every one is gone, the files nobody took
    // are given up, so the reporting thread never waits for them.
    void senderGone();

    // The reporting thread. Waits for the file's outcome; while it waits, tick runs a few
    // times a second, so progress shows within a file.
    TransferOutcome waitFor(size_t index, const std::function<void()>& tick);
    // No further file is handed out; those under way go on to their end.
    void end();
    // While held, no further file is handed out: a message the user has to answer holds the
    // upload, as it did when files went one at a time. Those under way go on.
    void hold(bool held);
    // The outcome of a finished file; none while it is under way or was never taken.
    std::optional<TransferOutcome> outcome(size_t index) const;

    // Bytes of every file finished, whatever became of it, and of those under way.
    qint64 bytesDone() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<qint64> m_sizes;
    std::vector<std::optional<TransferOutcome>> m_outcomes;
    std::vector<qint64> m_inFlight; // per sender
    size_t m_next = 0;
    int m_senders;
    bool m_ended = false;
    bool m_held = false;
    qint64 m_finishedBytes = 0;
};
