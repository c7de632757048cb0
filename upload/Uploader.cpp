#include "upload/Uploader.h"

#include "base/LocalPath.h"
#include "base/WorkObserver.h"
#include "settings/FtpSettings.h"
#include "upload/FtpConnection.h"
#include "upload/FtpSession.h"


Uploader::Uploader() = default;

Uploader::~Uploader()
{
    closeSession();
    m_pConnection.reset();
}

int Uploader::UploadImages(const FtpSettings& settings, const QStringList& thumbnails,
                           const QStringList& largeImages, WorkObserver& observer)
{
    int stored = 0;
    ConnectFtp(settings, observer);
    observer.status(QStringLiteral("Uploading Images..."));
    // Thumbnails are small, so ten of them count as one large image.
    observer.progressRange(int(largeImages.size() + thumbnails.size() / 10));

    if (m_pConnection) {
        if (m_pConnection->SetCurrentDirectory(settings.ThumbnailFtpDir)) {
            // The bar moves after the 11th, 21st, 31st ... thumbnail.
            stored +=
                putFiles(thumbnails, observer, [](qsizetype i) { return i > 0 && i % 10 == 0; });
            // Up one level, so a large-image directory beside the thumbnail one is found.
            m_pConnection->SetCurrentDirectory(QStringLiteral("..//"));
        } else {
            observer.message(QStringLiteral("Failed to find thumbnail directory on FTP "
                                            "server.\nCheck FTP Settings under Options."));
        }
        if (m_pConnection->SetCurrentDirectory(settings.ImageFtpDir))
            stored += putFiles(largeImages, observer, [](qsizetype) { return true; });
        else
            observer.message(QStringLiteral("Failed to find large image directory on FTP "
                                            "server.\nCheck FTP Settings under Options."));
    }

    observer.status(QStringLiteral("Upload Complete"));
    observer.progressReset();
    return stored;
}

QString Uploader::remoteName(const QString& localPath)
{
    return localPath.mid(lastPathSeparator(localPath) + 1);
}

void Uploader::ConnectFtp(const FtpSettings& settings, WorkObserver& observer)
{
    observer.status(QStringLiteral("Connecting to FTP Server..."));
    closeSession();
    m_pSession = std::make_unique<FtpSession>();
    m_pConnection.reset();
    m_pConnection =
        m_pSession->GetFtpConnection(settings.Server, settings.UserName, settings.Password,
                                     quint16(settings.Port), settings.Passive != 0);
    if (!m_pConnection)
        observer.message(
            QStringLiteral("Failed to connect to FTP server.\nCheck FTP Settings under Options."));
    observer.status(QStringLiteral("Ready"));
}

int Uploader::putFiles(const QStringList& paths, WorkObserver& observer,
                       bool (*stepsAfter)(qsizetype index))
{
    int stored = 0;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (m_pConnection->PutFile(paths[i], remoteName(paths[i])))
            ++stored;
        else
            observer.message(QStringLiteral("Failed to upload file ") + paths[i]);
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
