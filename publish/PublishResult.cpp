#include "publish/PublishResult.h"

namespace {

QString count(int number, const char* singular, const char* plural)
{
    return QStringLiteral("%1 %2").arg(number).arg(QLatin1String(number == 1 ? singular : plural));
}

// "21 of 25 pictures made", then what went wrong, if anything.
QString generationText(const GeneratedImages& generated)
{
    QString text = QStringLiteral("%1 of %2")
                       .arg(generated.picturesMade)
                       .arg(count(generated.picturesToMake, "picture made", "pictures made"));
    QStringList problems;
    if (generated.unreadable > 0)
        problems << QStringLiteral("%1 could not be read").arg(generated.unreadable);
    if (generated.outputsNotMade > 0)
        problems << count(generated.outputsNotMade, "output", "outputs") +
                        QStringLiteral(" could not be written");
    if (generated.fragmentsNotWritten > 0)
        problems << count(generated.fragmentsNotWritten, "HTML fragment", "HTML fragments") +
                        QStringLiteral(" could not be written");
    if (generated.renameFailures > 0)
        problems << QStringLiteral("%1 could not be renamed").arg(generated.renameFailures);
    for (const ProfileFiles& profile : generated.profiles)
        if (profile.skipped)
            problems << QStringLiteral("no %1: their directory is missing").arg(profile.outputs);
    if (!problems.isEmpty())
        text += QStringLiteral("; ") + problems.join(QStringLiteral(", "));
    return text + u'.';
}

QString uploadText(const UploadResult& upload)
{
    const QString sent = QStringLiteral("%1 of %2")
                             .arg(upload.sent)
                             .arg(count(upload.toSend, "file sent.", "files sent."));
    if (upload.stopped)
        return QStringLiteral("Cancelled: ") + sent;
    if (!upload.connected)
        return QStringLiteral("Upload failed: no connection to the server.");
    if (upload.complete())
        return upload.tlsDeclined ? QStringLiteral("Upload Complete, without encryption: the "
                                                   "server offers no TLS.")
                                  : QStringLiteral("Upload Complete");
    return (upload.sent == 0 ? QStringLiteral("Upload failed: ")
                             : QStringLiteral("Upload finished: ")) +
           sent;
}

} // namespace

QString PublishResult::statusText() const
{
    if (generated.stopped)
        return QStringLiteral("Cancelled: ") + generationText(generated);
    if (generated.refused)
        return QStringLiteral("Nothing made.");
    const bool generationComplete = generated.complete();
    if (!upload)
        return generationComplete ? QStringLiteral("Ready") : generationText(generated);
    const QString sent = uploadText(*upload);
    if (generationComplete)
        return sent;
    return (sent.endsWith(u'.') ? sent : sent + u'.') + u' ' + generationText(generated);
}
