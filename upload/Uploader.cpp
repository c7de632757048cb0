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

int Uploader::UploadImages(const FtpSettings& settings, const QStringList& thumbnails,
                           const QStringList& largeImages, WorkObserver& observer,
                           ServerTrust& trust)
{
    const bool tlsDeclined = ConnectFtp(settings, observer, trust);
    observer.status(QStringLiteral("Uploading Images..."));
    // Thumbnails are small, so ten of them count as one large image.
    observer.progressRange(int(largeImages.size() + thumbnails.size() / 10));
    int stored = 0;
    if (m_pConnection) {
        FileReports reports(observer, thumbnails.size() + largeImages.size());
        stored = sendLists(settings, thumbnails, largeImages, observer, reports);
        reports.flush();
    }
    // Said last, so that the window shows it until it puts "Ready" back.
    observer.status(tlsDeclined ? QStringLiteral("Upload Complete, without encryption: the "
                                                 "server offers no TLS.")
                                : QStringLiteral("Upload Complete"));
    observer.progressReset();
    return stored;
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
    if (!m_pConnection)
        observer.message(QStringLiteral("Failed to connect to FTP server.\nCheck FTP Settings "
                                        "under Options.\n\n") +
                         result.reason());
    observer.status(QStringLiteral("Ready"));
    return result.tlsDeclined;
}

int Uploader::sendLists(const FtpSettings& settings, const QStringList& thumbnails,
                        const QStringList& largeImages, WorkObserver& observer,
                        FileReports& reports)
{
    int stored = 0;
    if (m_pConnection->SetCurrentDirectory(settings.ThumbnailFtpDir)) {
        // The bar moves after the 11th, 21st, 31st ... thumbnail.
        const auto everyTenth = [](qsizetype i) { return i > 0 && i % 10 == 0; };
        stored += putFiles(thumbnails, observer, reports, everyTenth);
        if (reports.serverGone())
            return stored;
        // Up one level, so a large-image directory beside the thumbnail one is found.
        m_pConnection->SetCurrentDirectory(QStringLiteral("..//"));
    } else {
        reports.skip(thumbnails.size());
        observer.message(QStringLiteral("Failed to find thumbnail directory on FTP "
                                        "server.\nCheck FTP Settings under Options."));
    }
    if (m_pConnection->SetCurrentDirectory(settings.ImageFtpDir)) {
        stored += putFiles(largeImages, observer, reports, [](qsizetype) { return true; });
    } else {
        reports.flush();
        observer.message(QStringLiteral("Failed to find large image directory on FTP "
                                        "server.\nCheck FTP Settings under Options."));
    }
    return stored;
}

int Uploader::putFiles(const QStringList& paths, WorkObserver& observer, FileReports& reports,
                       bool (*stepsAfter)(qsizetype index))
{
    int stored = 0;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const TransferResult result = m_pConnection->PutFile(paths[i], remoteName(paths[i]));
        if (result == TransferResult::Stored)
            ++stored;
        if (!reports.report(paths[i], result))
            break;
        if (stepsAfter(i))
            observer.progressStep();
    }
    return stored;
}

void Uploader::closeSession()
{
    if (m_pSession)
        m_pSession->Close();
    m_pSession.reset();
}
