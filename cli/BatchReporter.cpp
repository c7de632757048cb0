#include "cli/BatchReporter.h"

#include "base/ErrorText.h"
#include "base/ReportEscape.h"
#include "publish/PublishResult.h"
#include "upload/ServerKey.h"

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
    // and blank lines become spaces. Every line of a message begins with a capital letter,
    // so a single line feed followed by anything else lies in a file name the message holds,
    // and is escaped as in every other report.
    static const QRegularExpression lineBreak(QStringLiteral("\n\n|\n(?=[A-Z])"));
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
    clearProgress();
}

void BatchReporter::renamed(int, const QString&) {}

void BatchReporter::notRenamed(int, const QString& newPath, std::error_code why)
{
    failure(QStringLiteral("Failed to rename picture to %1: %2").arg(newPath, errorText(why)));
}

void BatchReporter::unreadable(int, const QString& path, DecodeFailure why)
{
    failure(QStringLiteral("Failed to read picture %1: %2").arg(path, decodeFailureReason(why)));
}

void BatchReporter::notWritten(int, const QString& path, const OutputFailure& why)
{
    if (why.kind == OutputFailure::Kind::NotWritten)
        failure(QStringLiteral("Failed to write file %1: %2").arg(path, errorText(why.error)));
    else
        failure(QStringLiteral("Did not make file %1: %2").arg(path, why.reason()));
}

bool BatchReporter::trustServer(const ServerKey& key)
{
    // No one is there to ask, and a key is never trusted unseen.
    const QString report = key.untrustedReason() + u'\n' + key.description() +
                           QStringLiteral("\nTo trust this server, add this line to "
                                          "ftpsettings.cfg:\nTrustedFingerprint = ") +
                           key.fingerprint();
    for (const QString& line : report.split(u'\n'))
        writeLine(line);
    return false;
}

void BatchReporter::missing(const QString& path)
{
    failure(QStringLiteral("Failed to find file ") + path);
}

QString BatchReporter::summary(int listed, const PublishResult& result) const
{
    // Each profile's files of every format and size: "12 thumbnails and 12 large images".
    QStringList written;
    for (const ProfileFiles& profile : result.generated.profiles)
        written << QStringLiteral("%1 %2").arg(profile.written.size()).arg(profile.outputs);
    return QStringLiteral("%1 pictures listed, %2 written, %3 sources renamed, %4 files uploaded, "
                          "%5 failures")
        .arg(listed)
        .arg(written.join(QStringLiteral(" and ")))
        .arg(result.generated.renamed)
        .arg(result.upload ? result.upload->sent : 0)
        .arg(m_failures);
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
    const int filled = barWidth * std::min(m_position, m_maximum) / m_maximum;
    const QString bar = QString(filled, u'#') + QString(barWidth - filled, u'.');
    m_out.write(eraseLine);
    m_out.write(QStringLiteral("%1 [%2] %3/%4")
                    .arg(m_status, bar)
                    .arg(m_position)
                    .arg(m_maximum)
                    .toLocal8Bit());
    m_progressShown = true;
}

void BatchReporter::clearProgress()
{
    if (!m_progressShown)
        return;
    m_out.write(eraseLine);
    m_progressShown = false;
}
