#pragma once

#include "imaging/BatchObserver.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include <functional>

// Records every report of a run, in order, as short lines.
class RecordingObserver : public BatchObserver
{
public:
    void status(const QString& text) override { events << "status " + text; }
    void message(const QString& text) override { events << "message " + text; }
    void progressRange(int maximum) override { events << QStringLiteral("range %1").arg(maximum); }
    void progressStep() override
    {
        events << QStringLiteral("step");
        if (afterStep)
            afterStep();
    }
    void progressReset() override { events << QStringLiteral("reset"); }
    // Kept apart: how often it comes depends on the pace of the transfers.
    void transferProgress(const TransferProgress& progress) override { transfers << progress; }
    void renamed(int row, const QString& newPath) override
    {
        events << QStringLiteral("renamed %1 %2").arg(row).arg(newPath);
    }
    void notRenamed(int row, const QString& newPath, std::error_code why) override
    {
        events << QStringLiteral("notRenamed %1 %2").arg(row).arg(newPath);
        reasons << QString::fromStdString(why.message());
    }
    void unreadable(int row, const QString& path, DecodeFailure why) override
    {
        events << QStringLiteral("unreadable %1 %2").arg(row).arg(path);
        reasons << decodeFailureReason(why);
    }
    void notWritten(int row, const QString& path, const OutputFailure& why) override
    {
        events << QStringLiteral("notWritten %1 %2").arg(row).arg(path);
        reasons << why.reason();
    }

    QStringList filtered(const QString& kind) const
    {
        return events.filter(QRegularExpression("^" + kind));
    }

    QStringList events;
    QStringList reasons; // why, for each row that did not come out whole
    QList<TransferProgress> transfers;
    std::function<void()> afterStep;
};
