#include "publish/ReportRelay.h"

#include <QMetaObject>
#include <QThread>

void ReportRelay::status(const QString& text)
{
    relay([&] { m_observer.status(text); });
}

void ReportRelay::message(const QString& text)
{
    relay([&] { m_observer.message(text); });
}

void ReportRelay::progressRange(int maximum)
{
    relay([&] { m_observer.progressRange(maximum); });
}

void ReportRelay::progressStep()
{
    relay([&] { m_observer.progressStep(); });
}

void ReportRelay::progressReset()
{
    relay([&] { m_observer.progressReset(); });
}

void ReportRelay::transferProgress(const TransferProgress& progress)
{
    relay([&] { m_observer.transferProgress(progress); });
}

void ReportRelay::renamed(int row, const QString& newPath)
{
    relay([&] { m_observer.renamed(row, newPath); });
}

void ReportRelay::notRenamed(int row, const QString& newPath, std::error_code why)
{
    relay([&] { m_observer.notRenamed(row, newPath, why); });
}

void ReportRelay::unreadable(int row, const QString& path, DecodeFailure why)
{
    relay([&] { m_observer.unreadable(row, path, why); });
}

void ReportRelay::notWritten(int row, const QString& path, const OutputFailure& why)
{
    relay([&] { m_observer.notWritten(row, path, why); });
}

bool ReportRelay::trustServer(const ServerKey& key)
{
    bool trusted = false;
    relay([&] { trusted = m_trust.trustServer(key); });
    return trusted;
}

void ReportRelay::relay(const std::function<void()>& call)
{
    // A blocking call to its own thread would wait for itself.
    if (QThread::currentThread() == m_context->thread())
        call();
    else
        QMetaObject::invokeMethod(m_context, call, Qt::BlockingQueuedConnection);
}
