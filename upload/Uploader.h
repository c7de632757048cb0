#pragma once

#include "upload/FtpOptions.h"

#include <QStringList>

#include <memory>

class FileReports;
class FtpConnection;
class FtpSession;
struct FtpSettings;
class ServerTrust;
class WorkObserver;

// Sends the files of one generation run to the server: thumbnails into the thumbnail
// directory, large images into the large-image directory. It keeps the session and the
// connection of the last upload open, idle, until the next upload or its own end.
class Uploader
{
public:
    explicit Uploader(FtpOptions options = {});
    ~Uploader();
    Uploader(const Uploader&) = delete;
    Uploader& operator=(const Uploader&) = delete;

    // Connects afresh and sends both lists, reporting status texts, messages and progress,
    // and ends with "Upload Complete" and the progress back at 0 whatever failed; an upload
    // in clear because the server offers no TLS says so there. A server
    // key not trusted yet is put to trust. The window puts "Ready" back later. Returns how
    // many files the server stored.
    int UploadImages(const FtpSettings& settings, const QStringList& thumbnails,
                     const QStringList& largeImages, WorkObserver& observer, ServerTrust& trust);

    // The file name part of a local path (see lastPathSeparator).
    static QString remoteName(const QString& localPath);

private:
    // Replaces the session and the connection with new ones; the connection stays null
    // when none could be opened, and the message says why. True when the connection is
    // plain FTP because TLS was only wished for and the server offers none.
    bool ConnectFtp(const FtpSettings& settings, WorkObserver& observer, ServerTrust& trust);
    // Both lists into their directories; returns how many files were stored.
    int sendLists(const FtpSettings& settings, const QStringList& thumbnails,
                  const QStringList& largeImages, WorkObserver& observer, FileReports& reports);
    // Every file is tried and stepped for, whether or not it was stored, until the server
    // is taken as gone; returns how many were stored.
    int putFiles(const QStringList& paths, WorkObserver& observer, FileReports& reports,
                 bool (*stepsAfter)(qsizetype index));
    void closeSession();

    FtpOptions m_options;
    std::unique_ptr<FtpSession> m_pSession;
    std::unique_ptr<FtpConnection> m_pConnection;
};
