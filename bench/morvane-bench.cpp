// Measures generation on photograph-like pictures: morvane-batch against the sequential
// full-size path, against vipsthumbnail, and against the time it takes only to decode the
// same files; peak memory of each; and how close each output comes to the ideal. Then the
// same for phone photos stored on their side with a wide-gamut profile, with what turning
// them upright and converting their colours costs; what optimised Huffman tables save; how
// close the outputs of real photographs come to the full-size path; and a web run, every
// output as JPEG, WebP and AVIF, against sharp.

#include "PhotoPictures.h"
#include "PictureReference.h"

#include "base/BusyFlag.h"
#include "imaging/AvifEncoder.h"
#include "imaging/BatchObserver.h"
#include "imaging/ColourTransforms.h"
#include "imaging/JpegCodec.h"
#include "imaging/Orientation.h"
#include "imaging/OutputSize.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PictureEncoder.h"
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
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>

extern char** environ;

using namespace PictureReference;

namespace {

using Clock = std::chrono::steady_clock;

const QSize photoSizes[] = {{4000, 3000}, {3000, 4000}, {6000, 4000}, {4000, 6000}};
// A phone's 12-megapixel portrait, as its sensor stores it: lying on its side.
const QSize phoneStored(4032, 3024);
const QSize previewPhoto(4480, 3360); // 15 megapixels
constexpr int photoQuality = 90;
constexpr int previewRounds = 5;
constexpr int rounds = 3;
// Turning and colour are a small difference between two runs; more rounds steady it.
constexpr int phoneRounds = 7;
constexpr int inProcessRounds = 9;

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

// The most detail either output of a picture of this size needs.
QSize neededFor(QSize upright)
{
    const ImageSettings settings = settingsFor(QString());
    QSize needed(0, 0);
    for (const OutputProfile* profile : {&settings.thumbnail, &settings.large})
        needed = needed.expandedTo(outputSize(*profile, upright).value_or(QSize()));
    return needed;
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

// A picture whole and as it is meant to be seen: for plain pictures GD's own decoding, as
// Generate read pictures before; for phone photos the program's decoder at full size, which
// turns and converts the whole picture.
GdImage fullSizeAsSeen(const QString& path, bool phone)
{
    if (!phone)
        return decodeFullSize(readFile(path));
    ColourTransforms transforms;
    PictureDecoder decoder(path, transforms);
    return decoder.decode(decoder.fullSize()).upright();
}

// The sequential path: one picture after the other, each whole, scaled from that with
// gdImageCopyResampled.
int runSequential(const QString& outputDir, const QStringList& files, bool phone)
{
    const ImageSettings settings = settingsFor(outputDir);
    for (int index = 0; index < files.size(); ++index) {
        const GdImage source = fullSizeAsSeen(files[index], phone);
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
    std::atomic<int> failures = 0;
    ColourTransforms transforms;
    QtConcurrent::blockingMap(files, [&](const QString& path) {
        PictureDecoder decoder(path, transforms);
        if (!decoder.decode(neededFor(decoder.fullSize())))
            ++failures;
    });
    return failures == 0 ? 0 : 1;
}

struct ChildRun
{
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of all its threads
    long peakKilobytes = 0;
    bool succeeded = false;
};

double seconds(const timeval& time)
{
    return double(time.tv_sec) + time.tv_usec / 1e6;
}

// Runs a program to its end with its output discarded, and prints its time, its processor
// time, its peak resident memory and whether it succeeded. A child spawned from the big
// benchmark would inherit the benchmark's peak in its own figure; spawned from this small
// process it starts clean.
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
    std::printf("%f %f %ld %d\n", secondsSince(start),
                seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss,
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
    run.cpuSeconds = figures.value(1).toDouble();
    run.peakKilobytes = figures.value(2).toLong();
    run.succeeded = figures.value(3).trimmed() == u"1";
    return run;
}

// Other work on the machine only ever slows a run down, so the fastest of a few is the
// fairest figure, for time and for processor time alike; memory is the same each time.
void keepBest(ChildRun& best, const ChildRun& run)
{
    if (!run.succeeded)
        return;
    if (!best.succeeded) {
        best = run;
        return;
    }
    best.seconds = std::min(best.seconds, run.seconds);
    best.cpuSeconds = std::min(best.cpuSeconds, run.cpuSeconds);
}

// vipsthumbnail in batch mode: one call per output size over all files; asked to bring
// phone photos into sRGB, as the batch does (it turns them upright by itself).
std::optional<ChildRun> runVips(const QString& outputDir, const QStringList& files, bool phone)
{
    const QString vips = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (vips.isEmpty())
        return std::nullopt;
    const QStringList colour =
        phone ? QStringList{"--export-profile", "srgb", "--intent", "perceptual"} : QStringList();
    ChildRun total{0, 0, 0, true};
    for (const auto& [size, output] :
         {std::pair{"160x", "/thumbs/%s_t.jpg[Q=70]"}, std::pair{"800x", "/images/%s.jpg[Q=85]"}}) {
        const ChildRun run =
            runChild(QStringList{vips, "--size", size, "-o", outputDir + output} + colour + files);
        total.seconds += run.seconds;
        total.cpuSeconds += run.cpuSeconds;
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
QualityFigures compareQuality(const QStringList& files, bool phone, const QString& sequentialDir,
                              const QString& oursDir,
                              const std::function<QString(int, const OutputProfile&)>& ourName)
{
    std::vector<double> losses;
    const ImageSettings settings = settingsFor(QString());
    for (int index = 0; index < files.size(); ++index) {
        const GdImage source = fullSizeAsSeen(files[index], phone);
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
    ColourTransforms transforms;
    std::vector<double> times;
    for (int round = 0; round < previewRounds; ++round) {
        const auto start = Clock::now();
        WritePreviewFile(
            photo, folder + "/thumbPreview.jpg", busy, [] { return true; }, transforms);
        times.push_back(secondsSince(start) * 1000);
    }
    return median(times);
}

QString loadAverage()
{
    return QString::fromLatin1(readFile("/proc/loadavg")).section(u' ', 0, 2);
}

// One set of pictures, measured every way.
struct PictureSet
{
    QString name; // its folder below the benchmark's, and what the runs' options call it
    bool phone;   // phone photos: stored on their side, with a Display P3 profile
    QStringList files;
    // The same pictures upright, without tag or profile: the decode floor reads them, and for
    // phone photos they tell what turning and colour cost.
    QStringList plainFiles;
    double megapixels = 0;
};

struct SetFigures
{
    ChildRun ours, sequential, floor;
    std::optional<ChildRun> plain; // morvane-batch on the plain files of a phone set
    std::optional<ChildRun> vips;
    QualityFigures quality;
    std::optional<QualityFigures> vipsQuality;
};

// Draws the pictures of the regular set: 12 and 24 megapixels, landscape and portrait in turn.
PictureSet regularSet(const QString& folder, int pictures)
{
    PictureSet set{"regular", false, {}, {}, 0};
    QDir().mkpath(folder + "/photos");
    for (int index = 0; index < pictures; ++index) {
        const QSize size = photoSizes[index % std::size(photoSizes)];
        const QString path = QStringLiteral("%1/photos/IMG_%2.jpg").arg(folder).arg(index + 1);
        writeFile(path, EncodeJpeg(drawPhoto(size, index + 1).get(), photoQuality));
        set.files << path;
        set.megapixels += size.width() * size.height() / 1e6;
    }
    set.plainFiles = set.files;
    return set;
}

// Draws the phone set: portraits stored on their side, tagged to be turned a quarter
// clockwise, with a Display P3 profile as phones embed it; beside each, the same portrait
// stored upright without either.
PictureSet phoneSet(const QString& folder, int pictures)
{
    using namespace PhotoPictures;
    PictureSet set{"phone", true, {}, {}, 0};
    QDir().mkpath(folder + "/photos");
    QDir().mkpath(folder + "/plain");
    const QByteArray displayP3 = rgbProfile(displayP3Space);
    for (int index = 0; index < pictures; ++index) {
        const GdImage upright = drawPhoto(phoneStored.transposed(), 100 + index);
        const QString name = QStringLiteral("IMG_%1.jpg").arg(index + 1);
        writeFile(folder + "/plain/" + name, EncodeJpeg(upright.get(), photoQuality));
        const GdImage stored = turnUpright(GdImage(gdImageClone(upright.get())),
                                           Orientation::Rotate90CounterClockwise);
        const QByteArray photo =
            withExif(withIccProfile(EncodeJpeg(stored.get(), photoQuality), displayP3),
                     ExifBlock().orientation(int(Orientation::Rotate90Clockwise)));
        writeFile(folder + "/photos/" + name, photo);
        set.files << folder + "/photos/" + name;
        set.plainFiles << folder + "/plain/" + name;
        set.megapixels += phoneStored.width() * phoneStored.height() / 1e6;
    }
    return set;
}

ChildRun runBatch(const QString& configDir, const QStringList& files)
{
    return runChild(QStringList{MORVANE_BATCH_PATH, "--config-dir", configDir, "--prefix", "1=p"} +
                    files);
}

SetFigures measureSet(const PictureSet& set, const QString& folder)
{
    const QString configDir = folder + "/config";
    QDir().mkpath(configDir);
    ImageSettings settings = settingsFor(folder + "/ours");
    settings.save(configDir + "/" + ImageSettings::fileName);
    const QString plainConfigDir = folder + "/config-plain";
    QDir().mkpath(plainConfigDir);
    settingsFor(folder + "/ours-plain").save(plainConfigDir + "/" + ImageSettings::fileName);
    for (const char* path : {"ours", "ours-plain", "sequential", "vips"})
        makeOutputDirs(folder + "/" + path);

    SetFigures figures;
    figures.sequential = runChild(QStringList{QCoreApplication::applicationFilePath(),
                                              "--sequential", set.name, folder + "/sequential"} +
                                  set.files);
    for (int round = 0; round < (set.phone ? phoneRounds : rounds); ++round) {
        keepBest(figures.ours, runBatch(configDir, set.files));
        if (set.phone) {
            if (!figures.plain)
                figures.plain = ChildRun();
            keepBest(*figures.plain, runBatch(plainConfigDir, set.plainFiles));
        }
        keepBest(figures.floor,
                 runChild(QStringList{QCoreApplication::applicationFilePath(), "--decode-floor"} +
                          set.plainFiles));
        if (round >= rounds)
            continue;
        if (const std::optional<ChildRun> run = runVips(folder + "/vips", set.files, set.phone)) {
            if (!figures.vips)
                figures.vips = ChildRun();
            keepBest(*figures.vips, *run);
        }
    }
    figures.quality =
        compareQuality(set.files, set.phone, folder + "/sequential", folder + "/ours", outputName);
    if (figures.vips)
        figures.vipsQuality = compareQuality(
            set.files, set.phone, folder + "/sequential", folder + "/vips",
            [](int index, const OutputProfile& profile) {
                return QStringLiteral("IMG_%1%2.jpg").arg(index + 1).arg(profile.Extension);
            });
    return figures;
}

bool succeeded(const SetFigures& figures)
{
    return figures.ours.succeeded && figures.sequential.succeeded && figures.floor.succeeded &&
           (!figures.plain || figures.plain->succeeded);
}

void printFigures(const PictureSet& set, const SetFigures& figures)
{
    const int pictures = int(set.files.size());
    const ChildRun& ours = figures.ours;
    std::printf("morvane-batch: %.2f pictures/s (%.2f s, %.0f megapixels/s)\n",
                pictures / ours.seconds, ours.seconds, set.megapixels / ours.seconds);
    std::printf("  %.2fx the sequential full-size path (%.2f s)\n",
                figures.sequential.seconds / ours.seconds, figures.sequential.seconds);
    if (figures.vips)
        std::printf("  %.2fx vipsthumbnail in batch mode (%.2f s, one call per size)\n",
                    figures.vips->seconds / ours.seconds, figures.vips->seconds);
    else
        std::printf("  vipsthumbnail: not installed (Debian package libvips-tools)\n");
    std::printf("  %.2fx the decode floor (%.2f s: decoding alone at the same scale, all cores)\n",
                ours.seconds / figures.floor.seconds, figures.floor.seconds);
    std::printf("Peak resident memory: morvane-batch %.0f MB, sequential path %.0f MB",
                ours.peakKilobytes / 1024.0, figures.sequential.peakKilobytes / 1024.0);
    if (figures.vips)
        std::printf(", vipsthumbnail %.0f MB", figures.vips->peakKilobytes / 1024.0);
    std::printf("\n");
    std::printf("PSNR against the ideal area average, below the sequential path: worst %.2f dB, "
                "median %.2f dB (%d outputs)\n",
                figures.quality.worst, figures.quality.median, 2 * pictures);
    if (figures.vipsQuality)
        std::printf("  vipsthumbnail: worst %.2f dB, median %.2f dB\n", figures.vipsQuality->worst,
                    figures.vipsQuality->median);
}

// This thread's processor time, which other work on the machine does not add to.
double threadSeconds()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) + time.tv_nsec / 1e9;
}

// The processor time the picture's outputs take here up to encoding: decoding at the size
// the run decodes it, and scaling each output, which turns it upright.
double renderSeconds(const QString& path, ColourTransforms& transforms)
{
    const ImageSettings settings = settingsFor(QString());
    const double start = threadSeconds();
    PictureDecoder decoder(path, transforms);
    const DecodedPicture picture = decoder.decode(neededFor(decoder.fullSize()));
    for (const OutputProfile* profile : {&settings.thumbnail, &settings.large})
        const GdImage output = picture.scaled(*outputSize(*profile, decoder.fullSize()));
    return threadSeconds() - start;
}

// What turning upright and converting colour take of a run of the phone set, measured
// three ways against the same portraits stored upright without a profile: the two runs'
// times, their processor times, and decoding and scaling alone in this process.
void printPhoneCost(const PictureSet& set, const SetFigures& figures)
{
    const ChildRun& ours = figures.ours;
    const ChildRun& plain = *figures.plain;
    std::printf("Turning upright and converting colour, against the same portraits stored "
                "upright without a profile:\n");
    std::printf("  %.1f %% of the run's time (%.2f s against %.2f s)\n",
                100 * (ours.seconds - plain.seconds) / ours.seconds, ours.seconds, plain.seconds);
    std::printf("  %.1f %% of its processor time (%.2f s against %.2f s)\n",
                100 * (ours.cpuSeconds - plain.cpuSeconds) / ours.cpuSeconds, ours.cpuSeconds,
                plain.cpuSeconds);
    // Each phone photo and its plain twin in turn, so both meet the same disturbances.
    ColourTransforms transforms;
    double extra = 0;
    for (int index = 0; index < set.files.size(); ++index) {
        double phone = 1e30, plainPicture = 1e30;
        for (int round = 0; round < inProcessRounds; ++round) {
            phone = std::min(phone, renderSeconds(set.files[index], transforms));
            plainPicture = std::min(plainPicture, renderSeconds(set.plainFiles[index], transforms));
        }
        extra += phone - plainPicture;
    }
    std::printf("  %.1f %% of its processor time by decoding and scaling alone here (%.1f ms a "
                "picture)\n",
                100 * extra / ours.cpuSeconds, 1000 * extra / set.files.size());
}

// --- Optimised Huffman tables ---

QByteArray gdJpeg(gdImagePtr picture, int quality)
{
    int size = 0;
    const std::unique_ptr<void, void (*)(void*)> data(gdImageJpegPtr(picture, &size, quality),
                                                      gdFree);
    return QByteArray(static_cast<const char*>(data.get()), size);
}

// The bench's outputs of the set, each encoded with GD's standard Huffman tables and with
// tables made for the picture: the same pixels, in fewer bytes.
void printHuffmanSaving(const PictureSet& set)
{
    const ImageSettings settings = settingsFor(QString());
    ColourTransforms transforms;
    qint64 standard = 0, optimised = 0;
    int outputs = 0;
    for (const QString& path : set.files) {
        PictureDecoder decoder(path, transforms);
        const DecodedPicture picture = decoder.decode(neededFor(decoder.fullSize()));
        for (const OutputProfile* profile : {&settings.thumbnail, &settings.large}) {
            const GdImage scaled = picture.scaled(*outputSize(*profile, decoder.fullSize()));
            standard += gdJpeg(scaled.get(), profile->Quality).size();
            optimised += EncodeJpeg(scaled.get(), profile->Quality).size();
            ++outputs;
        }
    }
    std::printf("Optimised Huffman tables: %.0f KB against %.0f KB with GD's standard tables, "
                "%.3fx the bytes (%.1f %% saved; %d outputs, the same pixels)\n",
                optimised / 1024.0, standard / 1024.0, double(optimised) / double(standard),
                100.0 * double(standard - optimised) / double(standard), outputs);
}

// --- Real photographs ---

// The JPEG files of a folder, in name order.
QStringList photosIn(const QString& folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({"*.jpg", "*.jpeg", "*.JPG", "*.JPEG"}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

// How far below the full-size path one output of a picture lands, made as the batch makes
// it: decoded once at the size the outputs need, area-averaged, encoded.
double lossBelowSequential(const QString& path, const GdImage& full, const OutputProfile& profile,
                           QSize needed, ColourTransforms& transforms)
{
    const QSize size = *outputSize(profile, QSize(full->sx, full->sy));
    const IdealPicture ideal = idealAverage(full.get(), size);
    PictureDecoder decoder(path, transforms);
    const GdImage ours = decoder.decode(needed).scaled(size);
    return psnr(sequentialOutput(full.get(), profile), ideal) -
           psnr(EncodeJpeg(ours.get(), profile.Quality), ideal);
}

// Real photographs carry detail no drawn picture has. Each at the bench's two outputs, then
// alone at every width from 100 to 900 pixels, against the bound of 1.5 dB.
void printRealPhotoQuality(const QStringList& photos, const QString& folder)
{
    std::printf("\nReal photographs: %d JPEGs from %s\n", int(photos.size()), qPrintable(folder));
    const ImageSettings settings = settingsFor(QString());
    ColourTransforms transforms;
    std::vector<double> benchLosses, sweepLosses;
    QString worstOutput;
    double worst = -1e9;
    for (const QString& path : photos) {
        const GdImage full = decodeFullSize(readFile(path));
        if (!full)
            continue;
        const QSize upright(full->sx, full->sy);
        for (const OutputProfile* profile : {&settings.thumbnail, &settings.large})
            benchLosses.push_back(
                lossBelowSequential(path, full, *profile, neededFor(upright), transforms));
        for (int width = 100; width <= 900; width += 80) {
            OutputProfile alone = widthProfile(QString(), width, width <= 300 ? 70 : 85, {});
            const double loss =
                lossBelowSequential(path, full, alone, *outputSize(alone, upright), transforms);
            sweepLosses.push_back(loss);
            if (loss > worst) {
                worst = loss;
                worstOutput = QStringLiteral("%1 at %2 pixels wide")
                                  .arg(QFileInfo(path).fileName())
                                  .arg(width);
            }
        }
    }
    if (benchLosses.empty())
        return;
    std::printf("PSNR against the ideal area average, below the sequential path:\n");
    std::printf("  the bench's outputs: worst %.2f dB, median %.2f dB (%d outputs)\n",
                *std::max_element(benchLosses.begin(), benchLosses.end()), median(benchLosses),
                int(benchLosses.size()));
    std::printf("  each width from 100 to 900 alone: worst %.2f dB (%s), median %.2f dB (%d "
                "outputs); the bound is 1.5 dB\n",
                worst, qPrintable(worstOutput), median(sweepLosses), int(sweepLosses.size()));
}

// --- The web run against sharp ---

const std::array<OutputFormat, 3> webFormats = {OutputFormat::Jpeg, OutputFormat::Webp,
                                                OutputFormat::Avif};
const char* formatName(OutputFormat format)
{
    return format == OutputFormat::Jpeg ? "JPEG" : format == OutputFormat::Webp ? "WebP" : "AVIF";
}

ImageSettings webSettingsFor(const QString& outputDir)
{
    ImageSettings settings = settingsFor(outputDir);
    for (OutputProfile* profile : {&settings.thumbnail, &settings.large}) {
        profile->Webp = 1;
        profile->Avif = 1;
    }
    return settings;
}

// sharp makes the same six outputs of every picture, named as the bench names them, with as
// many pipelines at a time as morvane-batch has threads, each on one thread.
const char sharpScript[] = R"(
const sharp = require('sharp');
sharp.concurrency(1);
sharp.cache(false);
const [out, ...files] = process.argv.slice(2);
const jobs = [];
files.forEach((file, index) => {
  const name = 'p' + String(index + 1).padStart(2, '0');
  for (const [width, quality, folder, extension] of
       [[160, 70, 'thumbs', '_t'], [800, 85, 'images', '']]) {
    const base = out + '/' + folder + '/' + name + extension;
    jobs.push(sharp(file).resize({width}).jpeg({quality}).toFile(base + '.jpg'));
    jobs.push(sharp(file).resize({width}).webp({quality}).toFile(base + '.webp'));
    jobs.push(sharp(file).resize({width}).avif({quality}).toFile(base + '.avif'));
  }
});
Promise.all(jobs).then(() => process.exit(0), error => { console.error(error); process.exit(1); });
)";

struct SharpPeer
{
    QString node;
    QString modules; // the node_modules folder holding sharp
    QString version;
};

std::optional<SharpPeer> findSharp(const QString& folder)
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    const QString modules = QDir(folder).filePath("node_modules");
    if (folder.isEmpty() || node.isEmpty() || !QFileInfo::exists(modules + "/sharp/package.json"))
        return std::nullopt;
    const QByteArray package = readFile(modules + "/sharp/package.json");
    const qsizetype at = package.indexOf("\"version\"");
    const QString version =
        at < 0 ? QString() : QString::fromUtf8(package.mid(at)).section(u'"', 3, 3);
    return SharpPeer{node, modules, version};
}

ChildRun runSharp(const SharpPeer& sharp, const QString& script, const QString& outputDir,
                  const QStringList& files)
{
    qputenv("NODE_PATH", QFile::encodeName(sharp.modules));
    // libuv's threads carry sharp's pipelines.
    qputenv("UV_THREADPOOL_SIZE", QByteArray::number(QThread::idealThreadCount()));
    return runChild(QStringList{sharp.node, script, outputDir} + files);
}

// Bytes and PSNR of each format: morvane-batch's outputs of one run against sharp's.
struct FormatFigures
{
    qint64 bytes = 0, peerBytes = 0;
    std::vector<double> gains; // our PSNR minus sharp's, output by output
    qint64 bytesAtPeerPsnr =
        0; // AVIF only: our encoder at the coarsest level that reaches sharp's PSNR
};

// The bytes of our AVIF encoder at the coarsest quantizer whose PSNR reaches target, with
// whichever chroma, every pixel's or one per four, gives the smaller file; the finest when
// none does.
qint64 avifBytesAtPsnr(const gdImage& scaled, const IdealPicture& ideal, double target)
{
    const AvifEncoder encoder;
    qint64 smallest = 0;
    for (bool fullChroma : {false, true}) {
        int finer = 0, coarser = 63;
        QByteArray best = encoder.encodeAt(scaled, {0, fullChroma}, {});
        while (finer < coarser) {
            const int middle = (finer + coarser + 1) / 2;
            const QByteArray file = encoder.encodeAt(scaled, {middle, fullChroma}, {});
            if (psnr(file, ideal) >= target) {
                finer = middle;
                best = file;
            } else {
                coarser = middle - 1;
            }
        }
        smallest = smallest == 0 ? best.size() : std::min<qint64>(smallest, best.size());
    }
    return smallest;
}

void compareWebOutputs(const QStringList& files, const QString& oursDir, const QString& sharpDir)
{
    const ImageSettings settings = settingsFor(QString());
    std::map<OutputFormat, FormatFigures> figures;
    ColourTransforms transforms;
    for (int index = 0; index < files.size(); ++index) {
        const GdImage full = decodeFullSize(readFile(files[index]));
        if (!full)
            continue;
        const QSize upright(full->sx, full->sy);
        PictureDecoder decoder(files[index], transforms);
        const DecodedPicture picture = decoder.decode(neededFor(upright));
        for (const OutputProfile* profile : {&settings.thumbnail, &settings.large}) {
            const QString folder = profile == &settings.thumbnail ? "/thumbs/" : "/images/";
            const QString base = QStringLiteral("p%1%2")
                                     .arg(index + 1, 2, 10, QLatin1Char('0'))
                                     .arg(profile->Extension);
            for (OutputFormat format : webFormats) {
                const QString name = base + pictureEncoder(format).suffix();
                const QByteArray ours = readFile(oursDir + folder + name);
                const QByteArray theirs = readFile(sharpDir + folder + name);
                // sharp rounds a side where the batch cuts it: each against its own ideal.
                const auto measured = [&](const QByteArray& file) {
                    const GdImage decoded = decodeOutput(file);
                    return decoded ? psnr(decoded.get(),
                                          idealAverage(full.get(), QSize(decoded->sx, decoded->sy)))
                                   : 0.0;
                };
                FormatFigures& format_ = figures[format];
                format_.bytes += ours.size();
                format_.peerBytes += theirs.size();
                const double peerPsnr = measured(theirs);
                format_.gains.push_back(measured(ours) - peerPsnr);
                if (format == OutputFormat::Avif) {
                    const QSize size = *outputSize(*profile, upright);
                    const GdImage scaled = picture.scaled(size);
                    format_.bytesAtPeerPsnr +=
                        avifBytesAtPsnr(*scaled, idealAverage(full.get(), size), peerPsnr);
                }
            }
        }
    }
    for (OutputFormat format : webFormats) {
        const FormatFigures& f = figures[format];
        if (f.gains.empty())
            continue;
        double mean = 0;
        for (double gain : f.gains)
            mean += gain;
        mean /= double(f.gains.size());
        std::printf("  %s: %.2fx sharp's bytes (%.0f KB against %.0f KB); PSNR against the ideal "
                    "%+.2f dB on average, %+.2f dB at worst\n",
                    formatName(format), double(f.bytes) / double(std::max<qint64>(1, f.peerBytes)),
                    f.bytes / 1024.0, f.peerBytes / 1024.0, mean,
                    *std::min_element(f.gains.begin(), f.gains.end()));
        if (format == OutputFormat::Avif)
            std::printf(
                "  AVIF at sharp's PSNR (the coarsest quantizer and the chroma of our encoder "
                "that reach it, output by output): %.2fx sharp's bytes (%.0f KB)\n",
                double(f.bytesAtPeerPsnr) / double(std::max<qint64>(1, f.peerBytes)),
                f.bytesAtPeerPsnr / 1024.0);
    }
}

// The web run over a set: speed against sharp (the best of a few runs each), then bytes and
// quality of each format.
void printWebRun(const QString& name, const QStringList& files, const QString& folder,
                 const std::optional<SharpPeer>& sharp, int runs)
{
    const QString configDir = folder + "/config";
    QDir().mkpath(configDir);
    webSettingsFor(folder + "/ours").save(configDir + "/" + ImageSettings::fileName);
    makeOutputDirs(folder + "/ours");
    makeOutputDirs(folder + "/sharp");
    const QString script = folder + "/sharp-peer.js";
    writeFile(script, sharpScript);
    ChildRun ours, peer;
    for (int round = 0; round < runs; ++round) {
        keepBest(ours, runBatch(configDir, files));
        if (sharp)
            keepBest(peer, runSharp(*sharp, script, folder + "/sharp", files));
    }
    const int pictures = int(files.size());
    std::printf("\nWeb run on %s: %d pictures, a 160-pixel thumbnail at quality 70 and an "
                "800-pixel large image at 85, each as JPEG, WebP and AVIF (%d files)\n",
                qPrintable(name), pictures, 6 * pictures);
    if (!ours.succeeded) {
        std::printf("morvane-batch failed\n");
        return;
    }
    std::printf("morvane-batch: %.2f pictures/s (%.2f s, %.2f s of processor time)\n",
                pictures / ours.seconds, ours.seconds, ours.cpuSeconds);
    if (!sharp || !peer.succeeded) {
        std::printf("  sharp: %s (npm install sharp in a scratch folder, then --sharp FOLDER)\n",
                    sharp ? "failed" : "not found");
        return;
    }
    std::printf("  %.2fx sharp %s at the same concurrency (%.2f s, %.2f s of processor time: %d "
                "pipelines at a time, each on one thread)\n",
                peer.seconds / ours.seconds, qPrintable(sharp->version), peer.seconds,
                peer.cpuSeconds, QThread::idealThreadCount());
    compareWebOutputs(files, folder + "/ours", folder + "/sharp");
}

// The JPEG-only runs of both sets, against their peers; false when a measured path failed.
bool measureJpegRuns(const PictureSet& regular, const PictureSet& phone, const QTemporaryDir& dir)
{
    const int pictures = int(regular.files.size());
    std::printf("Running the paths over the same %d files (%.0f megapixels), the fast ones %d "
                "times in turn, keeping the best...\n\n",
                pictures, regular.megapixels, rounds);
    const SetFigures regularFigures = measureSet(regular, dir.filePath("regular"));
    if (!succeeded(regularFigures)) {
        std::fprintf(stderr, "morvane-bench: a measured path failed\n");
        return false;
    }
    printFigures(regular, regularFigures);
    printHuffmanSaving(regular);
    std::printf("Preview file of a 15-megapixel photo written in %.1f ms (median of %d)\n",
                previewMilliseconds(dir.path()), previewRounds);

    std::printf("\nPhone photos: %d portraits of %.0f megapixels stored on their side "
                "(orientation 6) with a Display P3 profile;\n"
                "the sequential path decodes, turns and converts each whole, and the floor "
                "decodes the same portraits stored upright (%d rounds)\n",
                pictures, phoneStored.width() * phoneStored.height() / 1e6, phoneRounds);
    const SetFigures phoneFigures = measureSet(phone, dir.filePath("phone"));
    if (!succeeded(phoneFigures)) {
        std::fprintf(stderr, "morvane-bench: a measured path failed on the phone photos\n");
        return false;
    }
    printFigures(phone, phoneFigures);
    printPhoneCost(phone, phoneFigures);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    // The measured paths run as child processes of this program, so each has its own memory.
    if (arguments.value(0) == "--sequential")
        return runSequential(arguments.value(2), arguments.mid(3), arguments.value(1) == "phone");
    if (arguments.value(0) == "--measure")
        return measure(arguments.mid(1));
    if (arguments.value(0) == "--decode-floor")
        return runDecodeFloor(arguments.mid(1));
    int pictures = 8;
    QString sharpFolder;
    bool webOnly = false;
    if (arguments.removeAll(QStringLiteral("--web-only")) > 0)
        webOnly = true;
    QString photoFolder = QStringLiteral("/usr/share/backgrounds/mate/nature");
    while (arguments.size() >= 2) {
        const QString option = arguments.takeFirst();
        const QString value = arguments.takeFirst();
        if (option == "--pictures" || option == "-n")
            pictures = value.toInt();
        else if (option == "--sharp")
            sharpFolder = value;
        else if (option == "--photos")
            photoFolder = value;
        else
            pictures = 0;
    }
    if (pictures < 1 || !arguments.isEmpty()) {
        std::fprintf(stderr,
                     "usage: morvane-bench [--pictures N] [--sharp FOLDER] [--photos "
                     "FOLDER] [--web-only]\n  N at least 1, default 8; FOLDER of --sharp holds "
                     "node_modules/sharp; --photos defaults to %s\n",
                     qPrintable(photoFolder));
        return 2;
    }

    QTemporaryDir dir;
    std::printf("Load average before: %s (2 cores: figures are fair only on a quiet machine)\n",
                qPrintable(loadAverage()));
    std::printf("Drawing %d photograph-like pictures of 12 and 24 megapixels%s...\n", pictures,
                webOnly ? "" : ", and as many phone portraits");
    const PictureSet regular = regularSet(dir.filePath("regular"), pictures);
    if (!webOnly && !measureJpegRuns(regular, phoneSet(dir.filePath("phone"), pictures), dir))
        return 1;

    const QStringList photos = photosIn(photoFolder);
    if (photos.isEmpty())
        std::printf("\nReal photographs: none in %s (Debian package mate-backgrounds, or "
                    "--photos FOLDER)\n",
                    qPrintable(photoFolder));
    else if (!webOnly)
        printRealPhotoQuality(photos, photoFolder);

    const std::optional<SharpPeer> sharp = findSharp(sharpFolder);
    printWebRun(QStringLiteral("the drawn photographs"), regular.files, dir.filePath("web"), sharp,
                rounds);
    if (!photos.isEmpty())
        printWebRun(QStringLiteral("the real photographs"), photos, dir.filePath("web-photos"),
                    sharp, 1);
    std::printf("Load average after: %s\n", qPrintable(loadAverage()));
    return 0;
}
