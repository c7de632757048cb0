#pragma once

#include "upload/FtpOptions.h"
#include "upload/UploadRequest.h"
#include "upload/UploadResult.h"

#include <QStringList>

#include <memory>

class FtpConnection;
class FtpSession;
struct FtpSettings;
class ServerTrust;
class WorkObserver;

// Sends the files of one generation run to the server, each list into its remote folder.
// It keeps the session and the connection of the last upload open, idle, until the next
// upload or its own end. The options' stop, when given, must outlive the uploader.
class Uploader
{
public:
    explicit Uploader(FtpOptions options = {});
    ~Uploader();
    Uploader(const Uploader&) = delete;
    Uploader& operator=(const Uploader&) = delete;

    // Connects afresh, finds or makes the folders, and sends every file the server does not
    // have as it is (every file with SendAll), up to Connections at a time, each under a
    // temporary name until it is whole. Reports status texts, messages and progress in list
    // order, whatever order the files went in; ends with the progress back at 0 whatever
    // failed. A server key not trusted yet is put to trust once. Once the options' stop is
    // set, the files being sent are given up and their temporary files removed, and no other
    // file is sent. How the upload ended is for the caller to tell.
    UploadResult UploadImages(const FtpSettings& settings, const UploadRequest& request,
                              WorkObserver& observer, ServerTrust& trust);

    // The file name part of a local path (see lastPathSeparator).
    static QString remoteName(const QString& localPath);

private:
    class Run;

    // Replaces the session and the connection with new ones; the connection stays null
    // when none could be opened, and the message says why (unless a stop cut the login
    // short). True when the connection is plain FTP because TLS was only wished for and the
    // server offers none.
    bool ConnectFtp(const FtpSettings& settings, WorkObserver& observer, ServerTrust& trust);
    bool stopRequested() const { return m_options.stop && m_options.stop->load(); }
    void closeSession();

    FtpOptions m_options;
    std::unique_ptr<FtpSession> m_pSession;
    std::unique_ptr<FtpConnection> m_pConnection;
};
