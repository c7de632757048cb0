#include "upload/Uploader.h"

#include "base/CountedText.h"
#include "base/LocalPath.h"
#include "base/ReadyText.h"
#include "base/RegularFile.h"
#include "base/WorkObserver.h"
#include "settings/FtpSettings.h"
#include "upload/FileTransfer.h"
#include "upload/FolderWalk.h"
#include "upload/FtpConnection.h"
#include "upload/FtpLogin.h"
#include "upload/FtpSession.h"
#include "upload/RemotePath.h"
#include "upload/Security.h"
#include "upload/TransferQueue.h"
#include "upload/UploadRecord.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QSet>
#include <QStandardPaths>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// One local file of the upload as the plan sees it.
struct PlannedFile
{
    size_t folder = 0;
    QString localPath;
    QString remoteName;
    qint64 size = -1; // -1: the local file cannot be read
    QByteArray sha256;
    bool send = false;
    // A later file of the upload goes to the same remote path, and the later one wins, as
    // it did when files went one after another.
    bool superseded = false;
};

// A remote folder of the upload: where it was found and what the server holds in it.
struct PlannedFolder
{
    FolderVisit visit;
    std::optional<RemoteListing> listing; // none when it was not, or could not be, listed

    // Entered or made, or would be: its files have a place on the server.
    bool reachable() const
    {
        return visit.reached() || visit.outcome == FolderVisit::Outcome::WouldMake;
    }
};

// The size and SHA-256 of a local regular file; the size stays -1 when it cannot be read.
void digest(const QString& path, qint64& size, QByteArray& sha256)
{
    const FilePtr file = openRegularFile(path);
    if (!file)
        return;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[64 * 1024];
    qint64 total = 0;
    while (const size_t read = std::fread(buffer, 1, sizeof buffer, file.get())) {
        hash.addData(QByteArrayView(buffer, qsizetype(read)));
        total += qint64(read);
    }
    if (std::ferror(file.get()))
        return;
    size = total;
    sha256 = hash.result();
}

// The port the record is kept under: the protocol's own for 0.
int recordPort(const FtpSettings& settings)
{
    if (settings.Port != 0)
        return settings.Port;
    return Security(settings.Security) == Security::Sftp ? 22 : 21;
}

QString folderFailure(const UploadFolder& folder, const FolderVisit& visit)
{
    return QCoreApplication::translate(
               "Uploader", "Failed to find %1 on FTP server.\nCheck FTP Settings under "
                           "Options.\n\nThe folder %2 does not exist and could not be made.")
        .arg(folder.name, visit.path);
}

} // namespace

// One upload from the connection on: plans it, sends the files in parallel while reporting
// them in order, then removes what has become stale and keeps the record.
class Uploader::Run
{
public:
    Run(Uploader& uploader, FtpSession& session, const FtpSettings& settings,
        const UploadRequest& request, WorkObserver& observer, UploadResult& result)
        : m_uploader(uploader), m_session(session), m_settings(settings), m_request(request),
          m_observer(observer), m_result(result),
          m_record(UploadRecord::load(recordFolder(), settings.Server, recordPort(settings),
                                      settings.UserName)),
          m_connections(size_t(settings.connectionCount()))
    {
    }

    ~Run()
    {
        // Sending threads started while the plan was made, which then came to nothing, are
        // told there is nothing to send.
        if (m_threads.empty())
            return;
        if (!m_queue)
            release({});
        for (std::thread& thread : m_threads)
            thread.join();
    }

    void go()
    {
        plan();
        if (stopRequested()) {
            m_observer.progressRange(m_result.toSend);
            return;
        }
        if (m_request.dryRun) {
            m_observer.progressRange(m_result.toSend);
            planSteps();
            removeStale();
            return;
        }
        send();
        keepRecord();
        if (!stopRequested())
            removeStale();
        if (m_record.changed() && !m_record.save())
            m_observer.message(QCoreApplication::translate(
                                   "Uploader", "Failed to keep the record of what was uploaded "
                                               "in %1.\nThe next upload sends these files "
                                               "again.")
                                   .arg(m_record.path()));
    }

private:
    QString recordFolder() const
    {
        const QString& folder = m_uploader.m_options.recordFolder;
        return folder.isEmpty()
                   ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                   : folder;
    }

    bool stopRequested() const { return m_uploader.stopRequested(); }
    FtpConnection& connection() const { return *m_uploader.m_pConnection; }

    // Enters, or makes, every folder in order, lists those the decisions need, and decides
    // which of its files go. Outputs are written anew on every run, so a file is judged by
    // its content, never by its time: it goes when the record does not know it, or knows
    // other content, or the server does not hold it at its size. Connections to send over
    // log in as soon as there are files for them, while the rest of the plan is made.
    void plan()
    {
        const bool list = m_settings.SendAll == 0 || m_settings.RemoveStale != 0;
        FolderWalk walk(connection(), !m_request.dryRun);
        QHash<QString, size_t> lastTo; // remote path to the last file going there
        int toSend = 0;
        for (size_t index = 0; index < m_request.folders.size(); ++index) {
            PlannedFolder folder;
            folder.visit = walk.enter(m_request.folders[index].remoteDir);
            if (folder.visit.reached() && list)
                folder.listing = connection().ListDirectory();
            else if (folder.visit.outcome == FolderVisit::Outcome::WouldMake)
                folder.listing = RemoteListing();
            m_folders.push_back(folder);
            if (stopRequested())
                return;
            const bool reachable = folder.reachable();
            for (const QString& path : m_request.folders[index].files) {
                PlannedFile file;
                file.folder = index;
                file.localPath = path;
                file.remoteName = remoteName(path);
                digest(path, file.size, file.sha256);
                file.send = reachable && (m_settings.SendAll != 0 || !unchanged(file));
                if (reachable) {
                    const QString target = RemotePath::join(folder.visit.path, file.remoteName);
                    if (const auto earlier = lastTo.constFind(target); earlier != lastTo.cend())
                        m_files[*earlier].superseded = true;
                    lastTo.insert(target, m_files.size());
                }
                m_files.push_back(file);
                m_result.unchanged += reachable && !file.send ? 1 : 0;
                toSend += file.send ? 1 : 0;
            }
            // The connection making the plan sends too, once it is done.
            if (!m_request.dryRun)
                startSenders(std::min(m_settings.connectionCount(), toSend) - 1);
        }
    }

    bool unchanged(const PlannedFile& file) const
    {
        const PlannedFolder& folder = m_folders[file.folder];
        if (file.size < 0 || !folder.listing)
            return false;
        const std::optional<UploadRecord::Entry> known =
            m_record.entry(folder.visit.path, file.remoteName);
        return known && known->size == file.size && known->sha256 == file.sha256 &&
               folder.listing->value(file.remoteName, -1) == file.size;
    }

    QString remotePath(const PlannedFile& file) const
    {
        return RemotePath::join(m_folders[file.folder].visit.path, file.remoteName);
    }

    void planSteps()
    {
        for (size_t index = 0; index < m_folders.size(); ++index) {
            const FolderVisit& visit = m_folders[index].visit;
            if (visit.outcome == FolderVisit::Outcome::WouldMake)
                m_result.plan.push_back({UploadStep::Kind::MakeFolder, visit.path});
            else if (!visit.reached())
                m_observer.message(folderFailure(m_request.folders[index], visit));
            for (const PlannedFile& file : m_files) {
                if (file.folder == index && m_folders[index].reachable())
                    m_result.plan.push_back(
                        {file.send ? UploadStep::Kind::Send : UploadStep::Kind::Skip,
                         remotePath(file)});
            }
        }
    }

    void send()
    {
        std::vector<qint64> sizes;
        for (size_t index = 0; index < m_files.size(); ++index) {
            if (!m_files[index].send)
                continue;
            m_sends.push_back(index);
            sizes.push_back(std::max<qint64>(m_files[index].size, 0));
            m_progress.bytes += sizes.back();
        }
        m_observer.progressRange(int(m_sends.size()));
        reportFoldersBeforeTheFiles();
        if (m_sends.empty())
            return;
        m_progress.files = int(m_sends.size());
        // The connection that found the folders sends as well.
        m_connections[0] = std::move(m_uploader.m_pConnection);
        m_threads.emplace_back([this] { sendFiles(0); });
        startSenders(std::min(m_settings.connectionCount(), int(m_sends.size())) - 1);
        m_started = Clock::now();
        release(std::move(sizes));
        reportInOrder();
        m_queue->end();
        for (std::thread& thread : m_threads)
            thread.join();
        m_threads.clear();
        m_uploader.m_pConnection = std::move(m_connections[0]);
    }

    // Starts sending threads besides the planning connection's own until there are extras of
    // them; each logs in at once and waits for the plan.
    void startSenders(int extras)
    {
        while (m_extraSenders < extras) {
            const int sender = ++m_extraSenders;
            m_threads.emplace_back([this, sender] { sendFiles(sender); });
        }
    }

    // Hands the files to send to the sending threads started.
    void release(std::vector<qint64> sizes)
    {
        m_queue = std::make_unique<TransferQueue>(std::move(sizes), int(m_threads.size()));
        m_planned.set_value();
    }

    // One sending thread: takes the next file until none are left, over its own connection.
    void sendFiles(int sender)
    {
        std::unique_ptr<FtpConnection>& connection = m_connections[size_t(sender)];
        if (sender > 0)
            connection = m_session.OpenAnother().connection;
        m_plannedFuture.wait();
        // A server that allows fewer connections than asked for gets fewer.
        if (!connection) {
            m_queue->senderGone();
            return;
        }
        const auto watch = [this, sender](FtpConnection& watched) {
            watched.SetProgressCallback(
                [this, sender](qint64 bytes) { m_queue->setBytesInFlight(sender, bytes); });
        };
        watch(*connection);
        bool lost = false;
        while (const std::optional<size_t> index = m_queue->take()) {
            const PlannedFile& file = m_files[m_sends[*index]];
            TransferOutcome outcome;
            if (file.superseded) {
                outcome.reason = QCoreApplication::translate(
                                     "Uploader", "A later file of this upload goes to the same "
                                                 "place: %1")
                                     .arg(remotePath(file));
            } else if (file.size >= 0) {
                const FileTransfer transfer{file.localPath, file.size,
                                            m_folders[file.folder].visit.path, file.remoteName};
                outcome = transfer.send(*connection);
                // A connection that broke off gets one more try, on a fresh connection.
                if (outcome.result == TransferResult::Dropped && !stopRequested()) {
                    if (std::unique_ptr<FtpConnection> fresh = m_session.OpenAnother().connection) {
                        connection = std::move(fresh);
                        watch(*connection);
                        outcome = transfer.send(*connection);
                    } else {
                        lost = true;
                    }
                }
                if (outcome.result == TransferResult::Dropped)
                    outcome = {stopRequested() ? TransferResult::Stopped : TransferResult::Failed,
                               QCoreApplication::translate(
                                   "Uploader", "The connection to the server broke off.")};
            }
            m_queue->setBytesInFlight(sender, 0);
            m_queue->finish(*index, outcome);
            if (lost)
                break;
        }
        connection->SetProgressCallback({});
        m_queue->senderGone();
    }

    // Tells what became of each file in list order, and of each folder not reached in its
    // place among them. A file that timed out is held back until the next one shows whether
    // the server still answers: after two time-outs in a row the server is taken as gone, and
    // one message counts every file it did not get from the first of the two on.
    void reportInOrder()
    {
        size_t next = 0; // in m_sends
        std::optional<size_t> heldBack;
        const auto flush = [&] {
            if (heldBack)
                message(
                    QCoreApplication::translate("Uploader",
                                                "Failed to upload file %1\n\nConnection timed out.")
                        .arg(m_files[m_sends[*std::exchange(heldBack, std::nullopt)]].localPath));
        };
        for (size_t folder = m_foldersReported; folder < m_folders.size(); ++folder) {
            if (!m_folders[folder].visit.reached()) {
                flush();
                message(folderFailure(m_request.folders[folder], m_folders[folder].visit));
                continue;
            }
            for (; next < m_sends.size() && m_files[m_sends[next]].folder == folder; ++next) {
                const TransferOutcome outcome = m_queue->waitFor(next, [this] { showProgress(); });
                if (outcome.result == TransferResult::Stopped)
                    return;
                if (outcome.result == TransferResult::TimedOut) {
                    if (heldBack) {
                        serverGone(*heldBack);
                        return;
                    }
                    heldBack = next;
                } else {
                    flush();
                    if (outcome.result != TransferResult::Stored)
                        message(QCoreApplication::translate("Uploader", "Failed to upload file %1")
                                    .arg(m_files[m_sends[next]].localPath) +
                                (outcome.reason.isEmpty()
                                     ? QString()
                                     : QStringLiteral("\n\n") + outcome.reason));
                }
                m_observer.progressStep();
                ++m_progress.filesDone;
                showProgress();
            }
        }
        flush();
    }

    // The folders not reached before the first file to send, or all of them when there is
    // none: told before any file goes, as nothing comes before them.
    void reportFoldersBeforeTheFiles()
    {
        const size_t firstFilesFolder =
            m_sends.empty() ? m_folders.size() : m_files[m_sends.front()].folder;
        for (; m_foldersReported < firstFilesFolder; ++m_foldersReported) {
            if (!m_folders[m_foldersReported].visit.reached())
                m_observer.message(folderFailure(m_request.folders[m_foldersReported],
                                                 m_folders[m_foldersReported].visit));
        }
    }

    // A message holds the upload until it is answered: no further file goes out meanwhile.
    void message(const QString& text)
    {
        m_queue->hold(true);
        m_observer.message(text);
        m_queue->hold(false);
    }

    void serverGone(size_t first)
    {
        m_serverGone = true;
        m_queue->end();
        // The files under way end by themselves, most likely timed out as well.
        int notSent = 0;
        for (size_t index = first; index < m_sends.size(); ++index)
            notSent += m_queue->waitFor(index, [] {}).result != TransferResult::Stored ? 1 : 0;
        m_observer.message(countedText(
            "Uploader",
            QT_TRANSLATE_N_NOOP("Uploader",
                                "The server stopped answering; %n file was not uploaded."),
            QT_TRANSLATE_N_NOOP("Uploader",
                                "The server stopped answering; %n files were not uploaded."),
            notSent));
    }

    void showProgress()
    {
        TransferProgress progress = m_progress;
        progress.bytesDone = std::min(m_queue->bytesDone(), progress.bytes);
        progress.elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_started);
        if (progress.filesDone == m_shown.filesDone && progress.bytesDone == m_shown.bytesDone)
            return;
        m_shown = progress;
        m_observer.transferProgress(progress);
    }

    // Notes each file stored, and counts them.
    void keepRecord()
    {
        for (size_t index = 0; index < m_sends.size(); ++index) {
            const std::optional<TransferOutcome> outcome =
                m_queue ? m_queue->outcome(index) : std::nullopt;
            if (!outcome || outcome->result != TransferResult::Stored)
                continue;
            const PlannedFile& file = m_files[m_sends[index]];
            ++m_result.sent;
            m_record.set(m_folders[file.folder].visit.path, file.remoteName,
                         {file.size, file.sha256});
        }
    }

    // Removes the files the record says an earlier upload put into these folders and this
    // set no longer makes: only when asked, only when every file of this upload is on the
    // server, and never a file that is not as the record knows it.
    void removeStale()
    {
        if (m_settings.RemoveStale == 0 || !m_request.mayRemoveStale || m_serverGone ||
            !m_uploader.m_pConnection)
            return;
        if (!m_result.allFilesThere())
            return;
        QStringList dirs;
        QHash<QString, QSet<QString>> made;
        QHash<QString, const RemoteListing*> listings;
        for (const PlannedFolder& folder : m_folders) {
            if (!folder.listing)
                return;
            if (!dirs.contains(folder.visit.path))
                dirs << folder.visit.path;
            listings.insert(folder.visit.path, &*folder.listing);
        }
        for (const PlannedFile& file : m_files)
            made[m_folders[file.folder].visit.path].insert(file.remoteName);

        QList<std::pair<QString, QString>> stale;
        for (const QString& dir : std::as_const(dirs)) {
            for (const QString& name : m_record.names(dir)) {
                if (made[dir].contains(name))
                    continue;
                // A file replaced since, or gone, is no longer Morvane's to remove.
                if (listings[dir]->value(name, -1) == m_record.entry(dir, name)->size)
                    stale.append({dir, name});
                else
                    m_record.forget(dir, name);
            }
        }
        if (stale.size() > UploadRequest::staleLimit && !m_request.removeEveryStaleFile) {
            m_observer.message(
                QCoreApplication::translate("Uploader",
                                            "%n files this set no longer makes were left on the "
                                            "server: more than %1 at once looks like a mistake.\n"
                                            "To remove them all, run morvane-batch --upload "
                                            "--remove-stale=all.",
                                            nullptr, int(stale.size()))
                    .arg(UploadRequest::staleLimit));
            return;
        }
        for (const auto& [dir, name] : std::as_const(stale)) {
            if (m_request.dryRun) {
                m_result.plan.push_back({UploadStep::Kind::Remove, RemotePath::join(dir, name)});
                continue;
            }
            FtpConnection& connection = *m_uploader.m_pConnection;
            connection.AdoptDirectory(dir);
            if (connection.RemoveFile(name)) {
                ++m_result.removed;
                m_record.forget(dir, name);
            } else {
                ++m_result.notRemoved;
                m_observer.message(QCoreApplication::translate(
                                       "Uploader", "Failed to remove file %1 from the server.")
                                       .arg(RemotePath::join(dir, name)));
            }
        }
    }

    Uploader& m_uploader;
    FtpSession& m_session;
    const FtpSettings& m_settings;
    const UploadRequest& m_request;
    WorkObserver& m_observer;
    UploadResult& m_result;
    UploadRecord m_record;
    std::vector<PlannedFolder> m_folders;
    std::vector<PlannedFile> m_files;
    std::vector<size_t> m_sends; // the files to send, as indexes into m_files, in list order
    std::unique_ptr<TransferQueue> m_queue;
    // One per sending thread, the planning connection's first; sized once, as the threads
    // hold on to their places.
    std::vector<std::unique_ptr<FtpConnection>> m_connections;
    std::vector<std::thread> m_threads;
    int m_extraSenders = 0; // sending threads besides the planning connection's
    std::promise<void> m_planned;
    std::shared_future<void> m_plannedFuture = m_planned.get_future().share();
    TransferProgress m_progress;
    TransferProgress m_shown;
    Clock::time_point m_started;
    bool m_serverGone = false;
    size_t m_foldersReported = 0; // folders told about before any file went out
};

Uploader::Uploader(FtpOptions options) : m_options(std::move(options)) {}

Uploader::~Uploader()
{
    closeSession();
    m_pConnection.reset();
}

UploadResult Uploader::UploadImages(const FtpSettings& settings, const UploadRequest& request,
                                    WorkObserver& observer, ServerTrust& trust)
{
    UploadResult result;
    for (const UploadFolder& folder : request.folders)
        result.toSend += int(folder.files.size());
    result.dryRun = request.dryRun;
    result.tlsDeclined = ConnectFtp(settings, observer, trust);
    result.connected = m_pConnection != nullptr;
    observer.status(QCoreApplication::translate("Uploader", "Uploading Images..."));
    if (m_pConnection)
        Run(*this, *m_pSession, settings, request, observer, result).go();
    else
        observer.progressRange(result.toSend);
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
    observer.status(QCoreApplication::translate("Uploader", "Connecting to FTP Server..."));
    closeSession();
    m_pSession = std::make_unique<FtpSession>(m_options);
    m_pConnection.reset();
    FtpConnectResult result = m_pSession->GetFtpConnection(FtpLogin::fromSettings(settings), trust);
    m_pConnection = std::move(result.connection);
    if (!m_pConnection && !stopRequested())
        observer.message(QCoreApplication::translate("Uploader",
                                                     "Failed to connect to FTP server.\nCheck FTP "
                                                     "Settings under Options.\n\n%1")
                             .arg(result.reason()));
    observer.status(readyText());
    return result.tlsDeclined;
}

void Uploader::closeSession()
{
    if (m_pSession)
        m_pSession->Close();
    m_pSession.reset();
}
