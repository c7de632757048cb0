#include "imaging/ImageBatch.h"

#include "imaging/BatchObserver.h"
#include "imaging/ColourTransforms.h"
#include "imaging/GroupNaming.h"
#include "imaging/JpegCodec.h"
#include "imaging/OutputFailure.h"
#include "imaging/OutputSize.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PictureFiles.h"
#include "imaging/PixelBudget.h"
#include "imaging/RenameRecord.h"
#include "imaging/ReplaceFile.h"
#include "settings/SettingsFile.h"

#include <QFileInfo>
#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <optional>
#include <set>

namespace {

enum OutputKind
{
    Thumbnail,
    Large
};

// Enough rows ahead to keep every thread busy while one row waits to be written, few enough
// that their pictures stay a small part of memory.
constexpr int rowsInFlightPerThread = 2;

using OutputProfiles = std::array<std::optional<OutputProfile>, 2>;

// One grouped row as the run sees it before any work: its name and its place in the queue.
struct PlannedRow
{
    int row;
    QString name; // prefix and number, empty for a text that names no group
    // Its picture may be the file an earlier row renames or writes, so it is read only once
    // every earlier row is written, as the sequential run would read it.
    bool afterEarlierRows;
};

// A row's outputs encoded in memory, waiting to be written in row order.
struct RenderedRow
{
    DecodeFailure failure = DecodeFailure::None;
    PictureFormat format = PictureFormat::Other;  // what the file turned out to hold
    std::array<QByteArray, 2> jpegs;              // empty when that output could not be made
    std::array<OutputFailure::Kind, 2> notMade{}; // why, for an empty one
};

qint64 area(QSize size)
{
    return size.isValid() ? qint64(size.width()) * size.height() : 0;
}

// Decodes the picture once, upright and in sRGB, with enough detail for both outputs, and
// scales and encodes each straight from it. Runs on the pool; touches no file but the picture.
RenderedRow render(const QString& path, const OutputProfiles& profiles, PixelBudget& budget,
                   ColourTransforms& transforms, const std::atomic<bool>* stop)
{
    RenderedRow rendered;
    // A stopped run writes nothing more, so nothing more is worth decoding.
    if (stop && stop->load())
        return rendered;
    PictureDecoder decoder(path, transforms);
    rendered.failure = decoder.failure();
    if (rendered.failure != DecodeFailure::None)
        return rendered;
    std::array<std::optional<QSize>, 2> sizes;
    QSize needed(0, 0);
    qint64 largestOutput = 0;
    for (int kind : {Thumbnail, Large}) {
        if (!profiles[kind])
            continue;
        sizes[kind] = outputSize(*profiles[kind], decoder.fullSize());
        if (sizes[kind]) {
            needed = needed.expandedTo(*sizes[kind]);
            largestOutput = std::max(largestOutput, area(*sizes[kind]));
        } else {
            rendered.notMade[kind] = outputSizeFailure(*profiles[kind], decoder.fullSize());
        }
    }
    // An output turned a quarter is held twice for a moment.
    const PixelReservation pixels(budget, decoder.pixelsHeld(needed) + 2 * largestOutput,
                                  area(decoder.fullSize()) + largestOutput);
    const DecodedPicture picture = decoder.decode(needed);
    if (!picture) {
        const DecodeFailure failure = decoder.failure();
        rendered.failure = failure == DecodeFailure::None ? DecodeFailure::NotAPicture : failure;
        return rendered;
    }
    rendered.format = decoder.format();
    for (int kind : {Thumbnail, Large}) {
        if (!sizes[kind])
            continue;
        rendered.notMade[kind] = OutputFailure::Kind::NotEncoded;
        if (const GdImage scaled = picture.scaled(*sizes[kind]))
            rendered.jpegs[kind] = EncodeJpeg(scaled.get(), profiles[kind]->Quality);
    }
    return rendered;
}

QStringList picturePaths(const std::vector<BatchRow>& rows)
{
    QStringList paths;
    for (const BatchRow& row : rows)
        paths << row.entry.GetFullPath();
    return paths;
}

// The state of one run: nothing is kept from one run to the next. Pictures are rendered on a
// pool ahead of time; everything that touches a file or reports happens here, on the calling
// thread, in row order, exactly as a run row by row would do it.
class BatchRun
{
public:
    BatchRun(const std::vector<BatchRow>& rows, const std::array<QString, 5>& groupText,
             const ImageSettings& settings, BatchObserver& observer, const BatchControl& control)
        : m_rows(rows), m_groupText(groupText), m_settings(settings), m_observer(observer),
          m_control(control), m_pictures(picturePaths(rows))
    {
    }

    GeneratedImages run();

private:
    // Checks what would make the whole run go wrong before any file is touched, and says why.
    bool mayStart();
    bool groupNamesUsable();
    bool extensionsUsable();
    bool saveDirExists(const OutputProfile& profile, const char* message);
    bool outputsApart();
    std::vector<PlannedRow> plan() const;
    void makeRows();
    bool stopRequested() const { return m_control.stop && m_control.stop->load(); }
    void commit(const PlannedRow& planned, const RenderedRow& rendered);
    // True when the output is in place.
    bool writeOutput(int row, int kind, const QString& name, const RenderedRow& rendered,
                     QStringList& written);
    void renameSource(const PlannedRow& planned, PictureFormat format);

    const std::vector<BatchRow>& m_rows;
    const std::array<QString, 5>& m_groupText;
    const ImageSettings& m_settings;
    BatchObserver& m_observer;
    const BatchControl& m_control;
    const PictureFiles m_pictures;
    OutputProfiles m_profiles; // the kinds whose save directory exists
    GeneratedImages m_generated;
    RenameRecord m_renames;
};

GeneratedImages BatchRun::run()
{
    m_observer.status(QStringLiteral("Generating Images..."));
    m_observer.progressRange(int(m_rows.size()));
    if (mayStart())
        makeRows();
    else
        m_generated.refused = true;
    m_observer.progressReset();
    return std::move(m_generated);
}

bool BatchRun::mayStart()
{
    if (!groupNamesUsable() || !extensionsUsable())
        return false;
    // Both directories are tested in every run, so both messages can appear.
    if (saveDirExists(m_settings.thumbnail, "Invalid thumbnail directory. Check Image "
                                            "Property settings under Options."))
        m_profiles[Thumbnail] = m_settings.thumbnail;
    if (saveDirExists(m_settings.large, "Invalid large image directory. Check Image "
                                        "Property settings under Options."))
        m_profiles[Large] = m_settings.large;
    if (!m_profiles[Thumbnail] && !m_profiles[Large])
        return false;
    m_generated.thumbnailsSkipped = !m_profiles[Thumbnail];
    m_generated.largeImagesSkipped = !m_profiles[Large];
    return outputsApart();
}

// A name with a slash would put outputs, and renamed photographs, into other folders.
bool BatchRun::groupNamesUsable()
{
    std::set<int> refused;
    for (const BatchRow& row : m_rows) {
        const int g = SettingsFile::leadingInteger(row.group);
        if (!row.group.isEmpty() && g >= 1 && g <= 5 && m_groupText[g - 1].contains(u'/'))
            refused.insert(g);
    }
    for (int g : refused)
        m_observer.message(
            QStringLiteral("Invalid Group %1 Text. Group names cannot contain \"/\".").arg(g));
    return refused.empty();
}

bool BatchRun::extensionsUsable()
{
    const QStringList keys = m_settings.unusableExtensions();
    for (const QString& key : keys)
        m_observer.message(
            QStringLiteral("Invalid %1 setting. Extensions cannot contain \"/\" or a NUL byte.")
                .arg(key));
    return keys.isEmpty();
}

bool BatchRun::saveDirExists(const OutputProfile& profile, const char* message)
{
    if (QFileInfo::exists(profile.SaveDir))
        return true;
    m_observer.message(QString::fromLatin1(message));
    return false;
}

// Thumbnails and large images named alike in one folder would be written over each other,
// each large image destroying the thumbnail just made.
bool BatchRun::outputsApart()
{
    if (!m_profiles[Thumbnail] || !m_profiles[Large] ||
        m_settings.thumbnail.Extension != m_settings.large.Extension ||
        fileIdentity(m_settings.thumbnail.SaveDir) != fileIdentity(m_settings.large.SaveDir))
        return true;
    m_observer.message(QStringLiteral(
        "The thumbnails and the large images would be written to the same files: the "
        "Thumbnail Properties and the Image Properties have the same Save Directory and the "
        "same Extension.\nGive them different directories or extensions under Options > "
        "Image Properties."));
    return false;
}

// Numbering depends on the group cells alone, so every name is known before any work starts.
std::vector<PlannedRow> BatchRun::plan() const
{
    std::vector<PlannedRow> planned;
    GroupNaming naming(m_groupText, m_settings.WebSafeNames != 0);
    for (const BatchRow& row : m_rows)
        if (const int g = SettingsFile::leadingInteger(row.group); g >= 1 && g <= 5)
            naming.count(g);
    std::set<FileIdentity> pictures;
    for (int row = 0; row < int(m_rows.size()); ++row) {
        const QString& group = m_rows[row].group;
        if (group.isEmpty())
            continue;
        // Any other text names no group: the row is made all the same, without prefix or
        // number.
        const int g = SettingsFile::leadingInteger(group);
        QString name;
        if (g >= 1 && g <= 5)
            name = naming.next(g);
        // A missing picture may be made by an earlier row's output or rename, and one listed
        // twice may be renamed away by its first row.
        const auto picture = fileIdentity(m_rows[row].entry.GetFullPath());
        planned.push_back({row, name, !picture || !pictures.insert(*picture).second});
    }
    return planned;
}

void BatchRun::makeRows()
{
    const std::vector<PlannedRow> planned = plan();
    m_generated.picturesToMake = int(planned.size());
    PixelBudget budget;
    // A batch from one camera meets its profile in every picture and builds it once.
    ColourTransforms transforms;
    // Declared after what its renders use: leaving here waits for renders still running.
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, m_control.threads));
    const size_t inFlight = size_t(rowsInFlightPerThread) * pool.maxThreadCount();
    std::vector<QFuture<RenderedRow>> renders(planned.size());
    size_t started = 0;
    size_t next = 0; // the next planned row to write
    for (int row = 0; row < int(m_rows.size()); ++row) {
        if (next < planned.size() && stopRequested()) {
            m_generated.stopped = true;
            return;
        }
        if (next == planned.size() || planned[next].row != row) {
            m_observer.progressStep();
            continue;
        }
        while (started < planned.size() && started < next + inFlight &&
               (!planned[started].afterEarlierRows || started == next)) {
            renders[started] = QtConcurrent::run(
                &pool, render, m_rows[planned[started].row].entry.GetFullPath(), m_profiles,
                std::ref(budget), std::ref(transforms), m_control.stop);
            ++started;
        }
        const RenderedRow rendered = renders[next].result();
        renders[next] = {};
        // A stop that came while waiting leaves this row unwritten too.
        if (stopRequested()) {
            m_generated.stopped = true;
            return;
        }
        commit(planned[next], rendered);
        ++next;
        m_observer.progressStep();
    }
}

void BatchRun::commit(const PlannedRow& planned, const RenderedRow& rendered)
{
    const ImageEntry& entry = m_rows[planned.row].entry;
    if (rendered.failure != DecodeFailure::None) {
        ++m_generated.unreadable;
        m_observer.unreadable(planned.row, entry.GetFullPath(), rendered.failure);
        return;
    }
    bool allWritten = true;
    if (m_profiles[Thumbnail])
        allWritten &=
            writeOutput(planned.row, Thumbnail, planned.name, rendered, m_generated.thumbnails);
    if (m_profiles[Large])
        allWritten &=
            writeOutput(planned.row, Large, planned.name, rendered, m_generated.largeImages);
    if (allWritten)
        ++m_generated.picturesMade;
    if (m_settings.RenameOriginalFile)
        renameSource(planned, rendered.format);
}

bool BatchRun::writeOutput(int row, int kind, const QString& name, const RenderedRow& rendered,
                           QStringList& written)
{
    const OutputProfile& profile = *m_profiles[kind];
    const QString path = profile.SaveDir + u'/' + name + profile.Extension + QStringLiteral(".jpg");
    std::optional<OutputFailure> failure;
    // A save directory equal to the photos' folder can give an output the name of a
    // photograph, which its own thumbnail would then destroy.
    if (m_pictures.contains(path))
        failure = OutputFailure{OutputFailure::Kind::WouldReplacePicture};
    else if (rendered.jpegs[kind].isEmpty())
        failure = OutputFailure{rendered.notMade[kind]};
    else if (const std::error_code error = replaceFile(path, rendered.jpegs[kind]))
        failure = OutputFailure{OutputFailure::Kind::NotWritten, error};
    if (failure) {
        ++m_generated.outputsNotMade;
        m_observer.notWritten(row, path, *failure);
        return false;
    }
    written << path;
    return true;
}

void BatchRun::renameSource(const PlannedRow& planned, PictureFormat format)
{
    const ImageEntry& entry = m_rows[planned.row].entry;
    // A renamed HEIF picture keeps its real type in its name; a JPEG ends in ".jpg" as always.
    const QString newPath = entry.GetFolder() + planned.name + m_settings.OriginalExtension +
                            originalFileSuffix(format, entry.GetFileName());
    const std::error_code error = m_renames.rename(entry.GetFullPath(), newPath);
    if (!error) {
        ++m_generated.renamed;
        m_observer.renamed(planned.row, newPath);
    } else if (!m_renames.problem().isEmpty()) {
        // Without its record a rename could not be taken back: the message says so once.
        ++m_generated.renameFailures;
        if (const QString failure = m_renames.takeFailure(); !failure.isEmpty())
            m_observer.message(failure);
    } else if (error != std::errc::file_exists) {
        ++m_generated.renameFailures;
        m_observer.notRenamed(planned.row, newPath, error);
    }
}

} // namespace

GeneratedImages GenerateImages(const std::vector<BatchRow>& rows,
                               const std::array<QString, 5>& groupText,
                               const ImageSettings& settings, BatchObserver& observer,
                               const BatchControl& control)
{
    return BatchRun(rows, groupText, settings, observer, control).run();
}
