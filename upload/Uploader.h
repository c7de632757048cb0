#pragma once

#include <QStringList>

#include <memory>

class FtpConnection;
class FtpSession;
struct FtpSettings;
class WorkObserver;

// Sends the files of one generation run to the FTP server: thumbnails into the thumbnail
// directory, large images into the large-image directory. It keeps the session and the
// connection of the last upload open, idle, until the next upload or its own end.
class Uploader
{
public:
    Uploader();
    ~Uploader();
    Uploader(const Uploader&) = delete;
    Uploader& operator=(const Uploader&) = delete;

    // Connects afresh and sends both lists, reporting status texts, messages and progress,
    // and ends with "Upload Complete" and the progress back at 0 whatever failed. The
    // window puts "Ready" back later. Returns how many files the server stored.
    int UploadImages(const FtpSettings& settings, const QStringList& thumbnails,
                      const QStringList& largeImages, WorkObserver& observer);

    // The file name part of a local path (see lastPathSeparator).
    static QString remoteName(const QString& localPath);

private:
    // Replaces the session and the connection with new ones; the connection stays null
    // when the server cannot be reached.
    void ConnectFtp(const FtpSettings& settings, WorkObserver& observer);
    // Every file is tried and stepped for, whether or not it was stored; returns how many
    // were stored.
    int putFiles(const QStringList& paths, WorkObserver& observer,
                 bool (*stepsAfter)(qsizetype index));
    void closeSession();

    std::unique_ptr<FtpSession> m_pSession;
    std::unique_ptr<FtpConnection> m_pConnection;
};
