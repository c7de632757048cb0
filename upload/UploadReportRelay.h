#pragma once

#include "base/WorkObserver.h"
#include "upload/ServerTrust.h"

#include <QObject>

#include <functional>

// Carries the reports and questions of an upload that runs on a worker thread over to the
// thread of a receiver, such as the window's, one at a time. Each call waits until the
// receiver has dealt with it, so reports keep their order and a message box holds the upload
// until it is answered.
class UploadReportRelay : public WorkObserver, public ServerTrust
{
public:
    // The receiver's thread is that of context, which must outlive the relay.
    UploadReportRelay(QObject* context, WorkObserver& observer, ServerTrust& trust)
        : m_context(context), m_observer(observer), m_trust(trust)
    {
    }

    void status(const QString& text) override;
    void message(const QString& text) override;
    void progressRange(int maximum) override;
    void progressStep() override;
    void progressReset() override;
    bool trustServer(const ServerKey& key) override;

private:
    // Runs call on the receiver's thread and waits for it.
    void relay(const std::function<void()>& call);

    QObject* m_context;
    WorkObserver& m_observer;
    ServerTrust& m_trust;
};
