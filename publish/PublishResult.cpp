#include "publish/PublishResult.h"

#include "base/CountedText.h"
#include "base/ReadyText.h"

namespace {

constexpr const char* context = "PublishResult";

QString translated(const char* source, int n = -1)
{
    return QCoreApplication::translate(context, source, nullptr, n);
}

// "21 of 25 pictures made", then what went wrong, if anything.
QString generationText(const GeneratedImages& generated)
{
    QString text =
        countedText(context, QT_TRANSLATE_N_NOOP("PublishResult", "%1 of %n picture made"),
                    QT_TRANSLATE_N_NOOP("PublishResult", "%1 of %n pictures made"),
                    generated.picturesToMake)
            .arg(generated.picturesMade);
    QStringList problems;
    if (generated.unreadable > 0)
        problems << translated(QT_TRANSLATE_N_NOOP("PublishResult", "%n could not be read"),
                               generated.unreadable);
    if (generated.outputsNotMade > 0)
        problems << countedText(
            context, QT_TRANSLATE_N_NOOP("PublishResult", "%n output could not be written"),
            QT_TRANSLATE_N_NOOP("PublishResult", "%n outputs could not be written"),
            generated.outputsNotMade);
    if (generated.fragmentsNotWritten > 0)
        problems << countedText(
            context, QT_TRANSLATE_N_NOOP("PublishResult", "%n HTML fragment could not be written"),
            QT_TRANSLATE_N_NOOP("PublishResult", "%n HTML fragments could not be written"),
            generated.fragmentsNotWritten);
    if (generated.renameFailures > 0)
        problems << translated(QT_TRANSLATE_N_NOOP("PublishResult", "%n could not be renamed"),
                               generated.renameFailures);
    for (const ProfileFiles& profile : generated.profiles)
        if (profile.skipped)
            problems << translated(
                            QT_TRANSLATE_NOOP("PublishResult", "no %1: their directory is missing"))
                            .arg(NamedProfile::outputsText(profile.outputs));
    if (!problems.isEmpty())
        text += QStringLiteral("; ") + problems.join(QStringLiteral(", "));
    return text + u'.';
}

// ", 78 unchanged, 3 removed": what the upload did besides sending, when it did anything.
QString besidesSending(const UploadResult& upload, bool dryRun)
{
    QString text;
    const auto add = [&text](const char* counted, int n) {
        if (n > 0)
            text += QStringLiteral(", ") + translated(counted, n);
    };
    add(QT_TRANSLATE_N_NOOP("PublishResult", "%n unchanged"), upload.unchanged);
    add(QT_TRANSLATE_N_NOOP("PublishResult", "%n removed"), upload.removed);
    add(QT_TRANSLATE_N_NOOP("PublishResult", "%n not removed"), upload.notRemoved);
    if (dryRun)
        add(QT_TRANSLATE_N_NOOP("PublishResult", "%n to remove"),
            upload.steps(UploadStep::Kind::Remove));
    return text;
}

QString filesSent(int n)
{
    return countedText(context, QT_TRANSLATE_N_NOOP("PublishResult", "%n file sent"),
                       QT_TRANSLATE_N_NOOP("PublishResult", "%n files sent"), n);
}

QString uploadText(const UploadResult& upload)
{
    if (!upload.connected)
        return translated(
            QT_TRANSLATE_NOOP("PublishResult", "Upload failed: no connection to the server."));
    const QString cleartext = translated(
        QT_TRANSLATE_NOOP("PublishResult", "without encryption: the server offers no TLS."));
    if (upload.dryRun) {
        const QString plan =
            countedText(context, QT_TRANSLATE_N_NOOP("PublishResult", "%n file to send"),
                        QT_TRANSLATE_N_NOOP("PublishResult", "%n files to send"),
                        upload.planned()) +
            besidesSending(upload, true) + u'.';
        const QString text =
            upload.stopped
                ? translated(QT_TRANSLATE_NOOP("PublishResult", "Cancelled: dry run, %1")).arg(plan)
                : translated(QT_TRANSLATE_NOOP("PublishResult", "Dry run: %1")).arg(plan);
        return upload.tlsDeclined
                   ? text + u' ' +
                         translated(QT_TRANSLATE_NOOP(
                             "PublishResult", "The server offers no TLS: it would go in clear."))
                   : text;
    }
    const QString sent =
        countedText(context, QT_TRANSLATE_N_NOOP("PublishResult", "%1 of %n file sent"),
                    QT_TRANSLATE_N_NOOP("PublishResult", "%1 of %n files sent"), upload.changed())
            .arg(upload.sent) +
        besidesSending(upload, false) + u'.';
    if (upload.stopped)
        return translated(QT_TRANSLATE_NOOP("PublishResult", "Cancelled: %1")).arg(sent);
    if (upload.complete()) {
        if (upload.unchanged == 0 && upload.removed == 0)
            return upload.tlsDeclined
                       ? translated(QT_TRANSLATE_NOOP("PublishResult", "Upload Complete, %1"))
                             .arg(cleartext)
                       : translated(QT_TRANSLATE_NOOP("PublishResult", "Upload Complete"));
        const QString counts = filesSent(upload.sent) + besidesSending(upload, false);
        return upload.tlsDeclined
                   ? translated(QT_TRANSLATE_NOOP("PublishResult", "Upload Complete: %1; %2"))
                         .arg(counts, cleartext)
                   : translated(QT_TRANSLATE_NOOP("PublishResult", "Upload Complete: %1."))
                         .arg(counts);
    }
    const bool noneSent = upload.sent == 0 && upload.changed() > 0;
    return (noneSent ? translated(QT_TRANSLATE_NOOP("PublishResult", "Upload failed: %1"))
                     : translated(QT_TRANSLATE_NOOP("PublishResult", "Upload finished: %1")))
        .arg(sent);
}

} // namespace

QString PublishResult::statusText() const
{
    if (generated.stopped)
        return translated(QT_TRANSLATE_NOOP("PublishResult", "Cancelled: %1"))
            .arg(generationText(generated));
    if (generated.refused)
        return translated(QT_TRANSLATE_NOOP("PublishResult", "Nothing made."));
    const bool generationComplete = generated.complete();
    if (!upload)
        return generationComplete ? readyText() : generationText(generated);
    const QString sent = uploadText(*upload);
    if (generationComplete)
        return sent;
    return (sent.endsWith(u'.') ? sent : sent + u'.') + u' ' + generationText(generated);
}
