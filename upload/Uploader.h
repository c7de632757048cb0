#pragma once

#include "upload/FtpOptions.h"
#include "upload/UploadResult.h"

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
// connection of the last upload open, idle, until the next upload or its own end. The
// options' stop, when given, must outlive the uploader.
class Uploader
{
public:
    explicit Uploader(FtpOptions options = {});
    ~Uploader();
    Uploader(const Uploader&) = delete;
    Uploader& operator=(const Uploader&) = delete;

    // Connects afresh and sends both lists, reporting status texts, messages and one step of
    // progress per file, and ends with the progress back at 0 whatever failed. A server key
    // not trusted yet is put to trust. Once the options' stop is set, the file being sent is
    // given up, what reached the server of it removed, and no other file is sent. How the
    // upload ended is for the caller to tell.
    UploadResult UploadImages(const FtpSettings& settings, const QStringList& thumbnails,
                              const QStringList& largeImages, WorkObserver& observer,
                              ServerTrust& trust);

    // The file name part of a local path (see lastPathSeparator).
    static QString remoteName(const QString& localPath);

private:
    // Replaces the session and the connection with new ones; the connection stays null
    // when none could be opened, and the message says why (unless a stop cut the login
    // short). True when the connection is plain FTP because TLS was only wished for and the
    // server offers none.
    bool ConnectFtp(const FtpSettings& settings, WorkObserver& observer, ServerTrust& trust);
    // Both lists into their directories.
    void sendLists(const FtpSettings& settings, const QStringList& thumbnails,
                   const QStringList& largeImages, WorkObserver& observer, FileReports& reports,
                   UploadResult& result);
    // Every file is tried and stepped for, whether or not it was stored, until the server
    // is taken as gone or a stop comes.
    void putFiles(const QStringList& paths, WorkObserver& observer, FileReports& reports,
                  UploadResult& result);
    bool stopRequested() const { return m_options.stop && m_options.stop->load(); }
    void closeSession();

    FtpOptions m_options;
    std::unique_ptr<FtpSession> m_pSession;
    std::unique_ptr<FtpConnection> m_pConnection;
};
