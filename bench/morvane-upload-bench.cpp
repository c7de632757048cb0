// Measures the upload over a line with a round trip of delay: Morvane's uploader against
// lftp's mirror -R --parallel=4 over the same files, on the first upload, on a second one
// when nothing changed, and after one picture changed.

#include "FtpServer.h"
#include "PictureReference.h"
#include "QuietObserver.h"

#include "base/WorkObserver.h"
#include "imaging/ImageBatch.h"
#include "imaging/JpegCodec.h"
#include "publish/RemoteFolders.h"
#include "upload/NetworkLibrary.h"
#include "upload/ServerTrust.h"
#include "upload/Uploader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

using namespace PictureReference;

namespace {

using Clock = std::chrono::steady_clock;

const QSize photoSize(2400, 1600);
constexpr int photoQuality = 90;
const FtpServer::Account account{QStringLiteral("bench"), QStringLiteral("bench"), false, {}};

// Says nothing: only the time counts.
class Silent : public QuietObserver, public ServerTrust
{
public:
    void message(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool trustServer(const ServerKey&) override { return false; }
};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(u' ', 0, 2);
}

bool writePhoto(const QString& path, unsigned seed)
{
    QFile file(path);
    const QByteArray jpeg = EncodeJpeg(drawPhoto(photoSize, seed).get(), photoQuality);
    return file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size();
}

// The site: photographs, and the thumbnails and large images Generate makes of them.
struct Site
{
    QTemporaryDir folder;
    QStringList photos;
    GeneratedImages made;

    QString path(const QString& name) const { return folder.filePath(name); }

    bool draw(int pictures)
    {
        QDir(folder.path()).mkpath("photos");
        for (int index = 0; index < pictures; ++index) {
            photos << path(QStringLiteral("photos/IMG_%1.jpg").arg(index + 1));
            if (!writePhoto(photos.last(), unsigned(index + 1)))
                return false;
        }
        return generate();
    }

    // Writes every output anew, as every run of Generate does.
    bool generate()
    {
        QDir(folder.path()).mkpath("thumbs");
        QDir(folder.path()).mkpath("images");
        ImageSettings settings;
        settings.thumbnail = {path("thumbs"), 160, 0, 1, 0, 70, "_t"};
        settings.large = {path("images"), 800, 0, 1, 0, 85, ""};
        std::vector<BatchRow> rows;
        for (const QString& photo : std::as_const(photos)) {
            BatchRow row;
            row.entry.SetPath(photo);
            row.group = QStringLiteral("1");
            rows.push_back(row);
        }
        Silent silent;
        made = GenerateImages(rows, {QStringLiteral("p"), {}, {}, {}, {}}, settings, silent);
        return made.complete();
    }

    QStringList files() const
    {
        QStringList all;
        for (const ProfileFiles& profile : made.profiles)
            all += profile.written;
        return all;
    }

    qint64 bytes() const
    {
        qint64 total = 0;
        for (const QString& file : files())
            total += QFileInfo(file).size();
        return total;
    }
};

// A server on this machine that answers as one across a line: every reply and every data
// connection waits a round trip.
std::unique_ptr<FtpServer> startServer(double roundTrip)
{
    auto server = std::make_unique<FtpServer>();
    FtpServer::Behaviour line;
    line.replyDelay = line.dataDelay = roundTrip;
    if (!server->start(account, {"www/thumbs", "www/images"}, line))
        return nullptr;
    return server;
}

struct Upload
{
    double seconds = 0;
    int sent = 0;
};

// Morvane's upload of the site's files, as Generate / Upload sends them, with its record in
// recordFolder.
std::optional<Upload> uploadWithMorvane(const Site& site, const FtpServer& server,
                                        const QString& recordFolder, int connections)
{
    FtpSettings settings = server.settings();
    settings.Connections = connections;
    settings.ThumbnailFtpDir = QStringLiteral("www/thumbs");
    settings.ImageFtpDir = QStringLiteral("images");
    UploadRequest request;
    request.folders = remoteFolders(settings, site.made);
    FtpOptions options;
    options.recordFolder = recordFolder;
    Silent silent;
    const Clock::time_point start = Clock::now();
    // A new uploader, as a new run of the program has.
    Uploader uploader(options);
    const UploadResult result = uploader.UploadImages(settings, request, silent, silent);
    const double seconds = secondsSince(start);
    if (!result.complete())
        return std::nullopt;
    return Upload{seconds, result.sent};
}

QString lftpPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("lftp"));
}

// lftp's mirror of both folders, four files at a time; the files it sent are the server's
// STOR commands since.
std::optional<Upload> uploadWithLftp(const Site& site, const FtpServer& server)
{
    const QString script =
        QStringLiteral("set ftp:ssl-allow no; set ftp:passive-mode on; set net:max-retries 1; "
                       "open -u %1,%2 -p %3 127.0.0.1; "
                       "mirror -R --parallel=4 %4 www/thumbs; "
                       "mirror -R --parallel=4 %5 www/images")
            .arg(account.userName, account.password)
            .arg(server.port())
            .arg(site.path("thumbs"), site.path("images"));
    const qsizetype storesBefore = server.commandLog().count(QStringLiteral("<- STOR"));
    QProcess lftp;
    // Its history and settings go to a home of its own, not the user's.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), site.path("lftp-home"));
    lftp.setProcessEnvironment(environment);
    const Clock::time_point start = Clock::now();
    lftp.start(lftpPath(), {QStringLiteral("-c"), script});
    if (!lftp.waitForFinished(300000) || lftp.exitStatus() != QProcess::NormalExit ||
        lftp.exitCode() != 0) {
        std::fprintf(stderr, "lftp: %s\n", lftp.readAllStandardError().constData());
        return std::nullopt;
    }
    const double seconds = secondsSince(start);
    return Upload{seconds,
                  int(server.commandLog().count(QStringLiteral("<- STOR")) - storesBefore)};
}

void keepFaster(std::optional<Upload>& best, const std::optional<Upload>& run)
{
    if (run && (!best || run->seconds < best->seconds))
        best = run;
}

int valueOf(const QStringList& arguments, const QString& option, int fallback)
{
    const qsizetype at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int pictures = std::max(1, valueOf(arguments, QStringLiteral("--pictures"), 40));
    const int rounds = std::max(1, valueOf(arguments, QStringLiteral("--rounds"), 3));
    const double roundTrip = valueOf(arguments, QStringLiteral("--latency-ms"), 25) / 1000.0;
    // The program's own default unless told otherwise.
    const int connections = std::clamp(
        valueOf(arguments, QStringLiteral("--connections"), FtpSettings().Connections), 1, 8);
    const NetworkLibrary network;
    if (!FtpServer::unavailableReason().isEmpty() || !network.isReady()) {
        std::fprintf(stderr, "No FTP test server here: %s\n",
                     qPrintable(FtpServer::unavailableReason()));
        return 1;
    }
    const bool haveLftp = !lftpPath().isEmpty();

    std::printf("Load average before: %s\n", qPrintable(loadAverage()));
    std::printf("Drawing %d pictures of %dx%d and making their outputs...\n", pictures,
                photoSize.width(), photoSize.height());
    std::fflush(stdout);
    Site site;
    if (!site.draw(pictures)) {
        std::fprintf(stderr, "The pictures could not be made.\n");
        return 1;
    }
    const int files = int(site.files().size());
    std::printf("Uploading %d files (%.1f MB) to a local FTP server that waits %.0f ms before "
                "every reply and every data connection; %d rounds, the best of each counts\n",
                files, double(site.bytes()) / 1e6, roundTrip * 1000, rounds);
    if (!haveLftp)
        std::printf("lftp is not installed (Debian: apt-get install lftp): Morvane alone\n");
    std::fflush(stdout);

    std::optional<Upload> first, second, lftpFirst, lftpSecond;
    std::unique_ptr<FtpServer> ours, theirs;
    QTemporaryDir records;
    for (int round = 0; round < rounds; ++round) {
        // Every round starts from empty servers and an empty record.
        ours = startServer(roundTrip);
        QDir(records.path()).removeRecursively();
        if (!ours) {
            std::fprintf(stderr, "The FTP server did not start.\n");
            return 1;
        }
        keepFaster(first, uploadWithMorvane(site, *ours, records.path(), connections));
        keepFaster(second, uploadWithMorvane(site, *ours, records.path(), connections));
        if (haveLftp) {
            theirs = startServer(roundTrip);
            if (!theirs)
                return 1;
            keepFaster(lftpFirst, uploadWithLftp(site, *theirs));
            keepFaster(lftpSecond, uploadWithLftp(site, *theirs));
        }
    }
    if (!first || !second || (haveLftp && (!lftpFirst || !lftpSecond))) {
        std::fprintf(stderr, "An upload failed.\n");
        return 1;
    }

    // One photograph changes; Generate writes every output anew.
    const int changed = std::min(7, pictures);
    if (!writePhoto(site.photos[changed - 1], 1000) || !site.generate()) {
        std::fprintf(stderr, "The changed picture could not be made.\n");
        return 1;
    }
    const std::optional<Upload> afterChange =
        uploadWithMorvane(site, *ours, records.path(), connections);
    const std::optional<Upload> lftpAfterChange =
        haveLftp ? uploadWithLftp(site, *theirs) : std::nullopt;
    if (!afterChange || (haveLftp && !lftpAfterChange)) {
        std::fprintf(stderr, "An upload failed.\n");
        return 1;
    }

    std::printf("\nFirst upload: Morvane %.2f s (%d files, %d connections)", first->seconds,
                first->sent, connections);
    if (haveLftp)
        std::printf(", lftp mirror -R --parallel=4 %.2f s: %.2fx lftp's time (goal: at most "
                    "0.80x)",
                    lftpFirst->seconds, first->seconds / lftpFirst->seconds);
    std::printf("\nSecond upload, nothing changed: Morvane %.2f s, %d files sent", second->seconds,
                second->sent);
    if (haveLftp)
        std::printf("; lftp %.2f s, %d files sent: %.2fx lftp's time (goal: at most 1.00x)",
                    lftpSecond->seconds, lftpSecond->sent, second->seconds / lftpSecond->seconds);
    std::printf("\nPicture %d changed, every output written anew: Morvane sent %d files in "
                "%.2f s (goal: exactly its 2)",
                changed, afterChange->sent, afterChange->seconds);
    if (haveLftp)
        std::printf("; lftp sent %d files in %.2f s", lftpAfterChange->sent,
                    lftpAfterChange->seconds);
    std::printf("\nLoad average after: %s\n", qPrintable(loadAverage()));
    // The commands each side sent, to see where the round trips go.
    if (qEnvironmentVariableIntValue("MORVANE_BENCH_VERBOSE")) {
        for (const auto& [who, server] :
             {std::pair{"Morvane", ours.get()}, {"lftp", theirs.get()}}) {
            if (!server)
                continue;
            std::printf("\nCommands %s sent, last round:\n", who);
            for (const QString& line : server->commandLog().split(u'\n')) {
                if (line.contains(QLatin1String("<- ")) ||
                    line.contains(QLatin1String("session opened")))
                    std::printf(
                        "%s\n",
                        qPrintable(line.section(QLatin1String("-["), 0, 0).section(u':', -1) +
                                   u' ' + line.section(QLatin1String("] "), 1)));
            }
        }
    }
    return afterChange->sent == 2 && second->sent == 0 ? 0 : 1;
}
