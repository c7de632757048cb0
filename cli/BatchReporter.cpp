#include "cli/BatchReporter.h"

#include "base/ErrorText.h"
#include "base/ReportEscape.h"
#include "publish/PublishResult.h"
#include "upload/ServerKey.h"
#include "upload/UploadResult.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr int barWidth = 30;
// Back to the start of the line and erase it.
constexpr char eraseLine[] = "\r\033[K";

} // namespace

BatchReporter::BatchReporter(QIODevice& out, bool showProgress)
    : m_out(out), m_showProgress(showProgress)
{
}

void BatchReporter::status(const QString& text)
{
    m_status = text;
    writeLine(text);
}

void BatchReporter::message(const QString& text)
{
    // A message box breaks its lines; here each message stays on one line, its line breaks
    // and blank lines become spaces. Every line of a message, in every language, begins with
    // a capital letter or an opening question or exclamation mark, so a single line feed
    // followed by anything else lies in a file name the message holds, and is escaped as in
    // every other report.
    static const QRegularExpression lineBreak(QStringLiteral("\n\n|\n(?=[\\p{Lu}¿¡])"));
    QString oneLine = text;
    oneLine.replace(lineBreak, QStringLiteral(" "));
    failure(oneLine);
}

void BatchReporter::progressRange(int maximum)
{
    m_maximum = maximum;
    m_position = 0;
    drawProgress();
}

void BatchReporter::progressStep()
{
    ++m_position;
    drawProgress();
}

void BatchReporter::progressReset()
{
    m_position = 0;
    m_transfer.reset();
    clearProgress();
}

void BatchReporter::transferProgress(const TransferProgress& progress)
{
    m_transfer = progress;
    drawProgress();
}

void BatchReporter::renamed(int, const QString&) {}

void BatchReporter::notRenamed(int, const QString& newPath, std::error_code why)
{
    failure(QCoreApplication::translate("BatchReporter", "Failed to rename picture to %1: %2")
                .arg(newPath, errorText(why)));
}

void BatchReporter::unreadable(int, const QString& path, DecodeFailure why)
{
    failure(QCoreApplication::translate("BatchReporter", "Failed to read picture %1: %2")
                .arg(path, decodeFailureReason(why)));
}

void BatchReporter::notWritten(int, const QString& path, const OutputFailure& why)
{
    if (why.kind == OutputFailure::Kind::NotWritten)
        failure(QCoreApplication::translate("BatchReporter", "Failed to write file %1: %2")
                    .arg(path, errorText(why.error)));
    else
        failure(QCoreApplication::translate("BatchReporter", "Did not make file %1: %2")
                    .arg(path, why.reason()));
}

bool BatchReporter::trustServer(const ServerKey& key)
{
    // No one is there to ask, and a key is never trusted unseen.
    // The line to add is the file's own, in every language.
    const QString report =
        key.untrustedReason() + u'\n' + key.description() + u'\n' +
        QCoreApplication::translate("BatchReporter",
                                    "To trust this server, add this line to ftpsettings.cfg:") +
        QStringLiteral("\nTrustedFingerprint = ") + key.fingerprint();
    for (const QString& line : report.split(u'\n'))
        writeLine(line);
    return false;
}

void BatchReporter::missing(const QString& path)
{
    failure(QCoreApplication::translate("BatchReporter", "Failed to find file %1").arg(path));
}

QString BatchReporter::summary(int listed, const PublishResult& result) const
{
    // Each profile's files of every format and size: "12 thumbnails and 12 large images". The
    // same words whatever the counts and whatever the user's language, so a script can read
    // the numbers by position.
    QStringList written;
    for (const ProfileFiles& profile : result.generated.profiles)
        written << QStringLiteral("%1 %2").arg(profile.written.size()).arg(profile.outputs);
    const UploadResult upload = result.upload.value_or(UploadResult());
    return QStringLiteral("%1 pictures listed, %2 written, %3 sources renamed, %4 files uploaded, "
                          "%5 unchanged, %6 removed, %7 failures")
        .arg(listed)
        .arg(written.join(QStringLiteral(" and ")))
        .arg(result.generated.renamed)
        .arg(upload.sent)
        .arg(upload.unchanged)
        .arg(upload.removed)
        .arg(m_failures);
}

QStringList BatchReporter::planLines(const UploadResult& upload)
{
    QStringList lines;
    for (const UploadStep& step : upload.plan) {
        const char* action = "";
        switch (step.kind) {
        case UploadStep::Kind::MakeFolder:
            action = "make folder";
            break;
        case UploadStep::Kind::Send:
            action = "send";
            break;
        case UploadStep::Kind::Skip:
            action = "skip";
            break;
        case UploadStep::Kind::Remove:
            action = "remove";
            break;
        }
        lines << QLatin1String(action) + u' ' + escapeForReport(step.remotePath);
    }
    return lines;
}

void BatchReporter::failure(const QString& text)
{
    ++m_failures;
    writeLine(text);
}

void BatchReporter::writeLine(const QString& text)
{
    const bool redraw = m_progressShown;
    clearProgress();
    m_out.write((escapeForReport(text) + u'\n').toLocal8Bit());
    if (redraw)
        drawProgress();
}

void BatchReporter::drawProgress()
{
    if (!m_showProgress || m_maximum <= 0)
        return;
    // Files going out are counted by their bytes, with the time the rest should take.
    const qint64 done = m_transfer ? m_transfer->bytesDone : m_position;
    const qint64 total = m_transfer ? std::max<qint64>(m_transfer->bytes, 1) : m_maximum;
    const int filled = int(barWidth * std::min(done, total) / total);
    const QString bar = QString(filled, u'#') + QString(barWidth - filled, u'.');
    QString line;
    if (m_transfer) {
        line = QStringLiteral("%1 [%2]").arg(m_transfer->text(), bar);
        if (const std::optional<std::chrono::seconds> left = m_transfer->timeLeft())
            line += u' ' + QCoreApplication::translate("BatchReporter", "about %1 left")
                               .arg(durationText(*left));
    } else {
        line = QStringLiteral("%1 [%2] %3/%4").arg(m_status, bar).arg(m_position).arg(m_maximum);
    }
    m_out.write(eraseLine);
    m_out.write(line.toLocal8Bit());
    m_progressShown = true;
}

void BatchReporter::clearProgress()
{
    if (!m_progressShown)
        return;
    m_out.write(eraseLine);
    m_progressShown = false;
}
