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

// ", 78 unchanged, 3 removed": what the upload did besides sending, when it did anything.
QString besidesSending(const UploadResult& upload, bool dryRun)
{
    QString text;
    if (upload.unchanged > 0)
        text += QStringLiteral(", %1 unchanged").arg(upload.unchanged);
    if (upload.removed > 0)
        text += QStringLiteral(", %1 removed").arg(upload.removed);
    if (upload.notRemoved > 0)
        text += QStringLiteral(", %1 not removed").arg(upload.notRemoved);
    if (dryRun) {
        int toRemove = 0;
        for (const UploadStep& step : upload.plan)
            toRemove += step.kind == UploadStep::Kind::Remove ? 1 : 0;
        if (toRemove > 0)
            text += QStringLiteral(", %1 to remove").arg(toRemove);
    }
    return text;
}

QString uploadText(const UploadResult& upload)
{
    if (!upload.connected)
        return QStringLiteral("Upload failed: no connection to the server.");
    const QString cleartext = QStringLiteral("without encryption: the server offers no TLS.");
    if (upload.dryRun) {
        QString text =
            upload.stopped ? QStringLiteral("Cancelled: dry run, ") : QStringLiteral("Dry run: ");
        text += count(upload.planned(), "file", "files") + QStringLiteral(" to send") +
                besidesSending(upload, true) + u'.';
        return upload.tlsDeclined
                   ? text + QStringLiteral(" The server offers no TLS: it would go in clear.")
                   : text;
    }
    const QString sent = QStringLiteral("%1 of %2")
                             .arg(upload.sent)
                             .arg(count(upload.changed(), "file sent", "files sent")) +
                         besidesSending(upload, false) + u'.';
    if (upload.stopped)
        return QStringLiteral("Cancelled: ") + sent;
    if (upload.complete()) {
        if (upload.unchanged == 0 && upload.removed == 0)
            return upload.tlsDeclined ? QStringLiteral("Upload Complete, ") + cleartext
                                      : QStringLiteral("Upload Complete");
        const QString counts =
            count(upload.sent, "file sent", "files sent") + besidesSending(upload, false);
        return upload.tlsDeclined
                   ? QStringLiteral("Upload Complete: ") + counts + QStringLiteral("; ") + cleartext
                   : QStringLiteral("Upload Complete: ") + counts + u'.';
    }
    const bool noneSent = upload.sent == 0 && upload.changed() > 0;
    return (noneSent ? QStringLiteral("Upload failed: ") : QStringLiteral("Upload finished: ")) +
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
