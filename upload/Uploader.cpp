#include "upload/Uploader.h"

#include "base/LocalPath.h"
#include "base/WorkObserver.h"
#include "settings/FtpSettings.h"
#include "upload/FtpConnection.h"
#include "upload/FtpLogin.h"
#include "upload/FtpSession.h"

// Tells the user of each file of a run that was not stored, one message each. A file whose
// transfer timed out is held back until the next transfer shows whether the server still
// answers: after two time-outs in a row the server is taken as gone, and one message counts
// every file it did not get from the first of the two on.
class FileReports
{
public:
    FileReports(WorkObserver& observer, qsizetype files) : m_observer(observer), m_toCome(files) {}

    // False once the server is taken as gone: nothing more is sent.
    bool report(const QString& path, TransferResult result)
    {
        --m_toCome;
        if (result == TransferResult::TimedOut && !m_heldBack.isEmpty()) {
            m_heldBack.clear();
            m_serverGone = true;
            m_observer.message(
                QStringLiteral("The server stopped answering; %1 files were not uploaded.")
                    .arg(m_toCome + 2));
            return false;
        }
        flush();
        if (result == TransferResult::TimedOut)
            m_heldBack = path;
        else if (result == TransferResult::Failed)
            m_observer.message(QStringLiteral("Failed to upload file ") + path);
        return true;
    }

    bool serverGone() const { return m_serverGone; }

    // Files that will not be tried, since their directory could not be entered.
    void skip(qsizetype files) { m_toCome -= files; }

    // Reports a file held back; due before any other message and at the end of the run.
    void flush()
    {
        if (!m_heldBack.isEmpty())
            m_observer.message(QStringLiteral("Failed to upload file ") +
                               std::exchange(m_heldBack, QString()) +
                               QStringLiteral("\n\nConnection timed out."));
    }

private:
    WorkObserver& m_observer;
    qsizetype m_toCome; // files of the run not tried yet
    QString m_heldBack;
    bool m_serverGone = false;
};

Uploader::Uploader(FtpOptions options) : m_options(std::move(options)) {}

Uploader::~Uploader()
{
    closeSession();
    m_pConnection.reset();
}

UploadResult Uploader::UploadImages(const FtpSettings& settings, const QStringList& thumbnails,
                                    const QStringList& largeImages, WorkObserver& observer,
                                    ServerTrust& trust)
{
    UploadResult result;
    result.toSend = int(thumbnails.size() + largeImages.size());
    result.tlsDeclined = ConnectFtp(settings, observer, trust);
    result.connected = m_pConnection != nullptr;
    observer.status(QStringLiteral("Uploading Images..."));
    observer.progressRange(result.toSend);
    if (m_pConnection) {
        FileReports reports(observer, result.toSend);
        sendLists(settings, thumbnails, largeImages, observer, reports, result);
        reports.flush();
    }
    result.stopped = stopRequested();
    observer.progressReset();
    return result;
}

QString Uploader::remoteName(const QString& localPath)
{
    return localPath.mid(lastPathSeparator(localPath) + 1);
}

bool Uploader::ConnectFtp(const FtpSettings& settings, WorkObserver& observer, ServerTrust& trust)
{
    observer.status(QStringLiteral("Connecting to FTP Server..."));
    closeSession();
    m_pSession = std::make_unique<FtpSession>(m_options);
    m_pConnection.reset();
    FtpConnectResult result = m_pSession->GetFtpConnection(FtpLogin::fromSettings(settings), trust);
    m_pConnection = std::move(result.connection);
    if (!m_pConnection && !stopRequested())
        observer.message(QStringLiteral("Failed to connect to FTP server.\nCheck FTP Settings "
                                        "under Options.\n\n") +
                         result.reason());
    observer.status(QStringLiteral("Ready"));
    return result.tlsDeclined;
}

void Uploader::sendLists(const FtpSettings& settings, const QStringList& thumbnails,
                         const QStringList& largeImages, WorkObserver& observer,
                         FileReports& reports, UploadResult& result)
{
    if (m_pConnection->SetCurrentDirectory(settings.ThumbnailFtpDir)) {
        putFiles(thumbnails, observer, reports, result);
        if (reports.serverGone() || stopRequested())
            return;
        // Up one level, so a large-image directory beside the thumbnail one is found.
        m_pConnection->SetCurrentDirectory(QStringLiteral("..//"));
    } else if (stopRequested()) {
        return;
    } else {
        reports.skip(thumbnails.size());
        observer.message(QStringLiteral("Failed to find thumbnail directory on FTP "
                                        "server.\nCheck FTP Settings under Options."));
    }
    if (m_pConnection->SetCurrentDirectory(settings.ImageFtpDir)) {
        putFiles(largeImages, observer, reports, result);
    } else if (!stopRequested()) {
        reports.flush();
        observer.message(QStringLiteral("Failed to find large image directory on FTP "
                                        "server.\nCheck FTP Settings under Options."));
    }
}

void Uploader::putFiles(const QStringList& paths, WorkObserver& observer, FileReports& reports,
                        UploadResult& result)
{
    for (const QString& path : paths) {
        if (stopRequested())
            return;
        const TransferResult transfer = m_pConnection->PutFile(path, remoteName(path));
        if (transfer == TransferResult::Stopped) {
            // Visitors must not meet half a picture under its final name.
            m_pConnection->RemoveFile(remoteName(path));
            return;
        }
        if (transfer == TransferResult::Stored)
            ++result.sent;
        if (!reports.report(path, transfer))
            return;
        observer.progressStep();
    }
}

void Uploader::closeSession()
{
    if (m_pSession)
        m_pSession->Close();
    m_pSession.reset();
}
