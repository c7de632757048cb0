#include "imaging/ImageBatch.h"

#include "base/EventWait.h"
#include "imaging/BatchObserver.h"
#include "imaging/ColourTransforms.h"
#include "imaging/JpegCodec.h"
#include "imaging/OutputSize.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PictureFiles.h"
#include "imaging/PixelBudget.h"
#include "imaging/RenameNoReplace.h"
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
    bool readable = false;
    PictureFormat format = PictureFormat::Other; // what the file turned out to hold
    std::array<QByteArray, 2> jpegs;             // empty when that output could not be made
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
    if (stop && stop->load())
        return rendered;
    PictureDecoder decoder(path, transforms);
    if (decoder.failure() != DecodeFailure::None)
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
        }
    }
    // An output turned a quarter is held twice for a moment.
    const PixelReservation pixels(budget, decoder.pixelsHeld(needed) + 2 * largestOutput,
                                  area(decoder.fullSize()) + largestOutput);
    const DecodedPicture picture = decoder.decode(needed);
    if (!picture)
        return rendered;
    rendered.readable = true;
    rendered.format = decoder.format();
    for (int kind : {Thumbnail, Large}) {
        if (!sizes[kind])
            continue;
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
    bool groupNamesUsable();
    bool extensionsUsable();
    bool saveDirExists(const OutputProfile& profile, const char* message);
    std::vector<PlannedRow> plan() const;
    void makeRows();
    bool stopRequested() const { return m_control.stop && m_control.stop->load(); }
    void commit(const PlannedRow& planned, const RenderedRow& rendered);
    void writeOutput(int row, const OutputProfile& profile, const QString& name,
                     const QByteArray& jpeg, QStringList& written);

    const std::vector<BatchRow>& m_rows;
    const std::array<QString, 5>& m_groupText;
    const ImageSettings& m_settings;
    BatchObserver& m_observer;
    const BatchControl& m_control;
    const PictureFiles m_pictures;
    OutputProfiles m_profiles; // the kinds whose save directory exists
    GeneratedImages m_generated;
};

GeneratedImages BatchRun::run()
{
    m_observer.status(QStringLiteral("Generating Images..."));
    m_observer.progressRange(int(m_rows.size()));
    if (groupNamesUsable() && extensionsUsable()) {
        // Both directories are tested in every run, so both messages can appear.
        if (saveDirExists(m_settings.thumbnail, "Invalid thumbnail directory. Check Image "
                                                "Property settings under Options."))
            m_profiles[Thumbnail] = m_settings.thumbnail;
        if (saveDirExists(m_settings.large, "Invalid large image directory. Check Image "
                                            "Property settings under Options."))
            m_profiles[Large] = m_settings.large;
        if (m_profiles[Thumbnail] || m_profiles[Large])
            makeRows();
    }
    m_observer.progressReset();
    m_observer.status(QStringLiteral("Ready"));
    return std::move(m_generated);
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

// Numbering depends on the group cells alone, so every name is known before any work starts.
std::vector<PlannedRow> BatchRun::plan() const
{
    std::vector<PlannedRow> planned;
    std::array<int, 5> counters{};
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
            name = m_groupText[g - 1] + QString::asprintf("%02d", ++counters[g - 1]);
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
        if (stopRequested())
            return;
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
        const RenderedRow rendered = waitProcessingEvents(renders[next]);
        renders[next] = {};
        // A stop that came while waiting leaves this row unwritten too.
        if (stopRequested())
            return;
        commit(planned[next], rendered);
        ++next;
        m_observer.progressStep();
    }
}

void BatchRun::commit(const PlannedRow& planned, const RenderedRow& rendered)
{
    const ImageEntry& entry = m_rows[planned.row].entry;
    if (!rendered.readable) {
        m_observer.unreadable(planned.row, entry.GetFullPath());
        return;
    }
    if (m_profiles[Thumbnail])
        writeOutput(planned.row, m_settings.thumbnail, planned.name, rendered.jpegs[Thumbnail],
                    m_generated.thumbnails);
    if (m_profiles[Large])
        writeOutput(planned.row, m_settings.large, planned.name, rendered.jpegs[Large],
                    m_generated.largeImages);
    if (!m_settings.RenameOriginalFile)
        return;
    // A renamed HEIF picture keeps its real type in its name; a JPEG ends in ".jpg" as always.
    const QString newPath = entry.GetFolder() + planned.name + m_settings.OriginalExtension +
                            originalFileSuffix(rendered.format, entry.GetFileName());
    if (renameNoReplace(entry.GetFullPath(), newPath))
        m_observer.renamed(planned.row, newPath);
}

void BatchRun::writeOutput(int row, const OutputProfile& profile, const QString& name,
                           const QByteArray& jpeg, QStringList& written)
{
    const QString path = profile.SaveDir + u'/' + name + profile.Extension + QStringLiteral(".jpg");
    // A save directory equal to the photos' folder can give an output the name of a
    // photograph, which its own thumbnail would then destroy.
    if (m_pictures.contains(path) || jpeg.isEmpty() || !replaceFile(path, jpeg)) {
        m_observer.notWritten(row, path);
        return;
    }
    written << path;
}

} // namespace

GeneratedImages GenerateImages(const std::vector<BatchRow>& rows,
                               const std::array<QString, 5>& groupText,
                               const ImageSettings& settings, BatchObserver& observer,
                               const BatchControl& control)
{
    return BatchRun(rows, groupText, settings, observer, control).run();
}
