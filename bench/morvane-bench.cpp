// Measures generation on photograph-like pictures: morvane-batch against the sequential
// full-size GD path it replaced, against vipsthumbnail, and against the time it takes only to
// decode the same files; peak memory of each; and how close each output comes to the ideal.

#include "PictureReference.h"

#include "base/BusyFlag.h"
#include "imaging/BatchObserver.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegDecoder.h"
#include "imaging/OutputSize.h"
#include "imaging/PreviewThumbnail.h"
#include "settings/ImageSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

extern char** environ;

using namespace PictureReference;

namespace {

using Clock = std::chrono::steady_clock;

const QSize photoSizes[] = {{4000, 3000}, {3000, 4000}, {6000, 4000}, {4000, 6000}};
const QSize previewPhoto(4480, 3360); // 15 megapixels
constexpr int photoQuality = 90;
constexpr int previewRounds = 5;
constexpr int rounds = 3;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

OutputProfile widthProfile(const QString& saveDir, int width, int quality, const QString& extension)
{
    OutputProfile profile;
    profile.SaveDir = saveDir;
    profile.Width = width;
    profile.UseWidth = 1;
    profile.Quality = quality;
    profile.Extension = extension;
    return profile;
}

ImageSettings settingsFor(const QString& outputDir)
{
    ImageSettings settings;
    settings.thumbnail = widthProfile(outputDir + "/thumbs", 160, 70, "_t");
    settings.large = widthProfile(outputDir + "/images", 800, 85, "");
    return settings;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The name both measured paths give the output of the index-th picture (from 0).
QString outputName(int index, const OutputProfile& profile)
{
    return QStringLiteral("p%1%2.jpg")
        .arg(index + 1, 2, 10, QLatin1Char('0'))
        .arg(profile.Extension);
}

// The sequential path as Generate ran it before: one picture after the other, each decoded at
// full size by GD and scaled from that with gdImageCopyResampled.
int runSequential(const QString& outputDir, const QStringList& files)
{
    const ImageSettings settings = settingsFor(outputDir);
    for (int index = 0; index < files.size(); ++index) {
        const GdImage source = decodeFullSize(readFile(files[index]));
        if (!source)
            return 1;
        for (const OutputProfile* profile : {&settings.thumbnail, &settings.large})
            writeFile(profile->SaveDir + '/' + outputName(index, *profile),
                      sequentialOutput(source.get(), *profile));
    }
    return 0;
}

// The floor: the same files decoded at the size the batch decodes them, on every core, and
// nothing else.
int runDecodeFloor(const QStringList& files)
{
    const ImageSettings settings = settingsFor(QString());
    std::atomic<int> failures = 0;
    QtConcurrent::blockingMap(files, [&](const QString& path) {
        JpegDecoder decoder(path);
        QSize needed(0, 0);
        for (const OutputProfile* profile : {&settings.thumbnail, &settings.large})
            needed = needed.expandedTo(outputSize(*profile, decoder.fullSize()).value_or(QSize()));
        if (!decoder.decode(needed))
            ++failures;
    });
    return failures == 0 ? 0 : 1;
}

struct ChildRun
{
    double seconds = 0;
    long peakKilobytes = 0;
    bool succeeded = false;
};

// Runs a program to its end with its output discarded, and prints its time, its peak resident
// memory and whether it succeeded. A child spawned from the big benchmark would inherit the
// benchmark's peak in its own figure; spawned from this small process it starts clean.
int measure(const QStringList& arguments)
{
    std::vector<QByteArray> bytes;
    for (const QString& argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child)
        return 1;
    std::printf("%f %ld %d\n", secondsSince(start), usage.ru_maxrss,
                WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return 0;
}

ChildRun runChild(const QStringList& arguments)
{
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), QStringList{"--measure"} + arguments);
    ChildRun run;
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return run;
    const QStringList figures = QString::fromLatin1(process.readAllStandardOutput()).split(u' ');
    run.seconds = figures.value(0).toDouble();
    run.peakKilobytes = figures.value(1).toLong();
    run.succeeded = figures.value(2).trimmed() == u"1";
    return run;
}

// Other work on the machine only ever slows a run down, so the fastest of a few is the
// fairest figure; memory is the same each time.
void keepBest(ChildRun& best, const ChildRun& run)
{
    if (!best.succeeded || (run.succeeded && run.seconds < best.seconds))
        best = run;
}

// vipsthumbnail in batch mode: one call per output size over all files.
std::optional<ChildRun> runVips(const QString& outputDir, const QStringList& files)
{
    const QString vips = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (vips.isEmpty())
        return std::nullopt;
    ChildRun total{0, 0, true};
    for (const auto& [size, output] :
         {std::pair{"160x", "/thumbs/%s_t.jpg[Q=70]"}, std::pair{"800x", "/images/%s.jpg[Q=85]"}}) {
        const ChildRun run =
            runChild(QStringList{vips, "--size", size, "-o", outputDir + output} + files);
        total.seconds += run.seconds;
        total.peakKilobytes = std::max(total.peakKilobytes, run.peakKilobytes);
        total.succeeded = total.succeeded && run.succeeded;
    }
    return total;
}

void makeOutputDirs(const QString& outputDir)
{
    QDir().mkpath(outputDir + "/thumbs");
    QDir().mkpath(outputDir + "/images");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct QualityFigures
{
    double worst = 0;  // the largest loss against the sequential path, in dB
    double median = 0; // the median loss
};

// How far below the sequential path each output of a path lands, both measured against the
// ideal; outputs of the index-th picture are named by outputName.
QualityFigures compareQuality(const QStringList& files, const QString& sequentialDir,
                              const QString& oursDir,
                              const std::function<QString(int, const OutputProfile&)>& ourName)
{
    std::vector<double> losses;
    const ImageSettings settings = settingsFor(QString());
    for (int index = 0; index < files.size(); ++index) {
        const GdImage source = decodeFullSize(readFile(files[index]));
        for (const OutputProfile* profile : {&settings.thumbnail, &settings.large}) {
            const QSize size = *outputSize(*profile, QSize(source->sx, source->sy));
            const IdealPicture ideal = idealAverage(source.get(), size);
            const QString folder = profile == &settings.thumbnail ? "/thumbs/" : "/images/";
            const double sequential =
                psnr(readFile(sequentialDir + folder + outputName(index, *profile)), ideal);
            // vipsthumbnail rounds a side where the others cut it, so it may be one pixel off.
            const QByteArray measured = readFile(oursDir + folder + ourName(index, *profile));
            const GdImage decoded = decodeFullSize(measured);
            const QSize measuredSize = decoded ? QSize(decoded->sx, decoded->sy) : size;
            const double ours = psnr(
                measured, measuredSize == size ? ideal : idealAverage(source.get(), measuredSize));
            losses.push_back(sequential - ours);
            if (qEnvironmentVariableIsSet("MORVANE_BENCH_VERBOSE"))
                std::printf("  %s %dx%d: sequential %.2f dB, measured %.2f dB\n",
                            qPrintable(QFileInfo(files[index]).fileName()), size.width(),
                            size.height(), sequential, ours);
        }
    }
    return {*std::max_element(losses.begin(), losses.end()), median(losses)};
}

double previewMilliseconds(const QString& folder)
{
    const QString photo = folder + "/preview-source.jpg";
    writeFile(photo, EncodeJpeg(drawPhoto(previewPhoto, 99).get(), photoQuality));
    BusyFlag busy;
    std::vector<double> times;
    for (int round = 0; round < previewRounds; ++round) {
        const auto start = Clock::now();
        WritePreviewFile(photo, folder + "/thumbPreview.jpg", busy, [] { return true; });
        times.push_back(secondsSince(start) * 1000);
    }
    return median(times);
}

QString loadAverage()
{
    return QString::fromLatin1(readFile("/proc/loadavg")).section(u' ', 0, 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    // The measured paths run as child processes of this program, so each has its own memory.
    if (arguments.value(0) == "--sequential")
        return runSequential(arguments.value(1), arguments.mid(2));
    if (arguments.value(0) == "--measure")
        return measure(arguments.mid(1));
    if (arguments.value(0) == "--decode-floor")
        return runDecodeFloor(arguments.mid(1));
    int pictures = 8;
    if (arguments.size() == 2 && (arguments[0] == "--pictures" || arguments[0] == "-n"))
        pictures = arguments[1].toInt();
    else if (!arguments.isEmpty())
        pictures = 0;
    if (pictures < 1) {
        std::fprintf(stderr, "usage: morvane-bench [--pictures N]   (N at least 1, default 8)\n");
        return 2;
    }

    QTemporaryDir dir;
    QDir(dir.path()).mkpath("photos");
    std::printf("Load average before: %s (2 cores: figures are fair only on a quiet machine)\n",
                qPrintable(loadAverage()));
    std::printf("Drawing %d photograph-like pictures of 12 and 24 megapixels...\n", pictures);
    QStringList files;
    double megapixels = 0;
    for (int index = 0; index < pictures; ++index) {
        const QSize size = photoSizes[index % std::size(photoSizes)];
        const QString path = dir.filePath(QStringLiteral("photos/IMG_%1.jpg").arg(index + 1));
        writeFile(path, EncodeJpeg(drawPhoto(size, index + 1).get(), photoQuality));
        files << path;
        megapixels += size.width() * size.height() / 1e6;
    }

    const QString configDir = dir.filePath("config");
    QDir().mkpath(configDir);
    ImageSettings settings = settingsFor(dir.filePath("ours"));
    settings.save(configDir + "/" + ImageSettings::fileName);
    for (const char* path : {"ours", "sequential", "vips"})
        makeOutputDirs(dir.filePath(path));

    std::printf("Running the paths over the same %d files (%.0f megapixels), the fast ones %d "
                "times in turn, keeping the best...\n",
                pictures, megapixels, rounds);
    const ChildRun sequential = runChild(
        QStringList{app.applicationFilePath(), "--sequential", dir.filePath("sequential")} + files);
    ChildRun ours, floor;
    std::optional<ChildRun> vips;
    for (int round = 0; round < rounds; ++round) {
        keepBest(ours, runChild(QStringList{MORVANE_BATCH_PATH, "--config-dir", configDir,
                                            "--prefix", "1=p"} +
                                files));
        keepBest(floor, runChild(QStringList{app.applicationFilePath(), "--decode-floor"} + files));
        if (const std::optional<ChildRun> run = runVips(dir.filePath("vips"), files)) {
            if (!vips)
                vips = ChildRun();
            keepBest(*vips, *run);
        }
    }
    if (!ours.succeeded || !sequential.succeeded || !floor.succeeded) {
        std::fprintf(stderr, "morvane-bench: a measured path failed\n");
        return 1;
    }

    std::printf("\nmorvane-batch: %.2f pictures/s (%.2f s, %.0f megapixels/s)\n",
                pictures / ours.seconds, ours.seconds, megapixels / ours.seconds);
    std::printf("  %.2fx the sequential full-size GD path (%.2f s)\n",
                sequential.seconds / ours.seconds, sequential.seconds);
    if (vips)
        std::printf("  %.2fx vipsthumbnail in batch mode (%.2f s, one call per size)\n",
                    vips->seconds / ours.seconds, vips->seconds);
    else
        std::printf("  vipsthumbnail: not installed (Debian package libvips-tools)\n");
    std::printf("  %.2fx the decode floor (%.2f s: decoding alone at the same scale, all cores)\n",
                ours.seconds / floor.seconds, floor.seconds);
    std::printf("Peak resident memory: morvane-batch %.0f MB, sequential path %.0f MB",
                ours.peakKilobytes / 1024.0, sequential.peakKilobytes / 1024.0);
    if (vips)
        std::printf(", vipsthumbnail %.0f MB", vips->peakKilobytes / 1024.0);
    std::printf("\n");

    const QualityFigures quality =
        compareQuality(files, dir.filePath("sequential"), dir.filePath("ours"), outputName);
    std::printf("PSNR against the ideal area average, below the sequential path: worst %.2f dB, "
                "median %.2f dB (%d outputs)\n",
                quality.worst, quality.median, 2 * pictures);
    if (vips) {
        const QualityFigures vipsQuality = compareQuality(
            files, dir.filePath("sequential"), dir.filePath("vips"),
            [](int index, const OutputProfile& profile) {
                return QStringLiteral("IMG_%1%2.jpg").arg(index + 1).arg(profile.Extension);
            });
        std::printf("  vipsthumbnail: worst %.2f dB, median %.2f dB\n", vipsQuality.worst,
                    vipsQuality.median);
    }
    std::printf("Preview file of a 15-megapixel photo written in %.1f ms (median of %d)\n",
                previewMilliseconds(dir.path()), previewRounds);
    std::printf("Load average after: %s\n", qPrintable(loadAverage()));
    return 0;
}
