#pragma once

#include "imaging/BatchObserver.h"
#include "upload/ServerTrust.h"

#include <QObject>

#include <functional>

// Carries the reports and questions of a run on a worker thread over to the thread of a
// receiver, such as the window's, one at a time. Each call waits until the receiver has
// dealt with it, so reports keep their order and a message box holds the run until it is
// answered.
class ReportRelay : public BatchObserver, public ServerTrust
{
public:
    // The receiver's thread is that of context, which must outlive the relay.
    ReportRelay(QObject* context, BatchObserver& observer, ServerTrust& trust)
        : m_context(context), m_observer(observer), m_trust(trust)
    {
    }

    void status(const QString& text) override;
    void message(const QString& text) override;
    void progressRange(int maximum) override;
    void progressStep() override;
    void progressReset() override;
    void transferProgress(const TransferProgress& progress) override;
    void renamed(int row, const QString& newPath) override;
    void notRenamed(int row, const QString& newPath, std::error_code why) override;
    void unreadable(int row, const QString& path, DecodeFailure why) override;
    void notWritten(int row, const QString& path, const OutputFailure& why) override;
    bool trustServer(const ServerKey& key) override;

private:
    // Runs call on the receiver's thread and waits for it.
    void relay(const std::function<void()>& call);

    QObject* m_context;
    BatchObserver& m_observer;
    ServerTrust& m_trust;
};
