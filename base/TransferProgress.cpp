#include "base/TransferProgress.h"

#include "base/CountedText.h"

namespace {

// Sizes as file managers show them: decimal units, one digit after the point.
QString amounts(qint64 done, qint64 total)
{
    const bool megabytes = total >= 1000 * 1000;
    const double unit = megabytes ? 1e6 : 1e3;
    return (megabytes ? QCoreApplication::translate("TransferProgress", "%1 of %2 MB")
                      : QCoreApplication::translate("TransferProgress", "%1 of %2 KB"))
        .arg(double(done) / unit, 0, 'f', 1)
        .arg(double(total) / unit, 0, 'f', 1);
}

} // namespace

QString TransferProgress::text() const
{
    return countedText("TransferProgress",
                       QT_TRANSLATE_N_NOOP("TransferProgress", "Uploading %1 of %n file (%2)..."),
                       QT_TRANSLATE_N_NOOP("TransferProgress", "Uploading %1 of %n files (%2)..."),
                       files)
        .arg(filesDone)
        .arg(amounts(bytesDone, bytes));
}

std::optional<std::chrono::seconds> TransferProgress::timeLeft() const
{
    using namespace std::chrono;
    // Less than a second or a few kilobytes in, the pace says little.
    if (bytesDone < 4096 || elapsed < seconds(1) || bytesDone > bytes)
        return std::nullopt;
    const double rest = double(elapsed.count()) * double(bytes - bytesDone) / double(bytesDone);
    return ceil<seconds>(milliseconds(qint64(rest)));
}

QString durationText(std::chrono::seconds duration)
{
    const qint64 total = std::max<qint64>(0, duration.count());
    const qint64 hours = total / 3600;
    const qint64 minutes = total / 60 % 60;
    const qint64 seconds = total % 60;
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(seconds, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}
