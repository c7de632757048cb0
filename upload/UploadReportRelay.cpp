#include "upload/UploadReportRelay.h"

#include <QMetaObject>
#include <QThread>

void UploadReportRelay::status(const QString& text)
{
    relay([&] { m_observer.status(text); });
}

void UploadReportRelay::message(const QString& text)
{
    relay([&] { m_observer.message(text); });
}

void UploadReportRelay::progressRange(int maximum)
{
    relay([&] { m_observer.progressRange(maximum); });
}

void UploadReportRelay::progressStep()
{
    relay([&] { m_observer.progressStep(); });
}

void UploadReportRelay::progressReset()
{
    relay([&] { m_observer.progressReset(); });
}

bool UploadReportRelay::trustServer(const ServerKey& key)
{
    bool trusted = false;
    relay([&] { trusted = m_trust.trustServer(key); });
    return trusted;
}

void UploadReportRelay::relay(const std::function<void()>& call)
{
    // A blocking call to its own thread would wait for itself.
    if (QThread::currentThread() == m_context->thread())
        call();
    else
        QMetaObject::invokeMethod(m_context, call, Qt::BlockingQueuedConnection);
}
