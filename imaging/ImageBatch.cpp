#include "imaging/ImageBatch.h"

#include "imaging/BatchObserver.h"
#include "imaging/ColourTransforms.h"
#include "imaging/Credits.h"
#include "imaging/GroupMarkup.h"
#include "imaging/GroupNaming.h"
#include "imaging/OutputFailure.h"
#include "imaging/OutputSize.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PictureEncoder.h"
#include "imaging/PictureFiles.h"
#include "imaging/PixelBudget.h"
#include "imaging/ProfileOutputs.h"
#include "imaging/RenameRecord.h"
#include "imaging/ReplaceFile.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

namespace {

// Enough rows ahead to keep every thread busy while one row waits to be written, few enough
// that their pictures stay a small part of memory.
constexpr int rowsInFlightPerThread = 2;
// Queued before the next rows' pictures: the outputs of a row already decoded are what the
// commit waits for, and what frees its picture.
constexpr int outputPriority = 1;

// One grouped row as the run sees it before any work: its name and its place in the queue.
struct PlannedRow
{
    int row;
    QString name; // prefix and number, empty for a text that names no group
    int group;    // 1 to 5, or 0 for a text that names no group
    // Its picture may be the file an earlier row renames or writes, so it is read only once
    // every earlier row is written, as the sequential run would read it.
    bool afterEarlierRows;
};

// What every row's picture is made into: the profiles whose save directory exists (null
// for the others), and how their outputs are encoded.
struct RenderSettings
{
    std::vector<std::optional<OutputProfile>> profiles;
    bool progressive = false;
    bool keepCredits = false;
    bool markup = false;
};

// One output of a row: the file it becomes and, once made, its bytes.
struct RowOutput
{
    int profile; // in the run's profiles
    ProfileOutput output;
    int scaled = -1;  // the scaled picture it is encoded from; -1 when it has no size
    QByteArray bytes; // empty when not made
    OutputFailure::Kind notMade = OutputFailure::Kind::NotEncoded;
};

// The picture at one size, shared by every output of that size: the first to need it scales
// it, the last to use it drops it.
struct ScaledPicture
{
    explicit ScaledPicture(QSize scaledSize) : size(scaledSize) {}

    const QSize size;
    std::once_flag once;
    GdImage picture;
    std::atomic<int> users = 0;
};

qint64 area(QSize size)
{
    return size.isValid() ? qint64(size.width()) * size.height() : 0;
}

// One row's picture on its way to its outputs. The row's own task decodes the picture once,
// at the size its largest output needs, and lists the outputs; then that task, joined by
// helpers on threads that are free, takes the outputs one by one, scaling and encoding each,
// so the formats of one picture share every core. The commit waits for the last.
class RowRender
{
public:
    // On the pool, once. Touches no file but the picture.
    void prepare(const QString& path, const QString& name, const QString& fileName,
                 const RenderSettings& settings, PixelBudget& budget, ColourTransforms& transforms);
    // On the pool, by the row's task and its helpers: makes outputs until none is left.
    void makeOutputs(const std::atomic<bool>* stop);
    // Outputs still to be taken up.
    int outputsLeft() const { return std::max(0, int(outputs.size()) - m_next.load()); }
    // On the committing thread: waits until every output is made or given up.
    void waitForOutputs() const { m_finished.wait(false); }
    // Instead of prepare(), for a row that is not to be made.
    void giveUp() { finish(); }

    DecodeFailure failure = DecodeFailure::None;
    PictureFormat format = PictureFormat::Other; // what the file turned out to hold
    QString altText;                             // with markup only
    std::vector<RowOutput> outputs;              // profile by profile, as each lists them

private:
    void finish();
    void outputDone();

    DecodedPicture m_picture;
    std::unique_ptr<PixelReservation> m_pixels;
    std::deque<ScaledPicture> m_scaled;
    std::vector<EncodeOptions> m_options; // by profile
    std::atomic<int> m_next = 0;          // the next output to take up
    std::atomic<int> m_left = 0;          // outputs taken up but not done, and not taken up
    std::atomic<bool> m_finished = false;
};

void RowRender::prepare(const QString& path, const QString& name, const QString& fileName,
                        const RenderSettings& settings, PixelBudget& budget,
                        ColourTransforms& transforms)
{
    PictureDecoder decoder(path, transforms);
    failure = decoder.failure();
    if (failure != DecodeFailure::None)
        return finish();
    const QSize full = decoder.fullSize();
    QSize needed(0, 0);
    qint64 scaledPixels = 0;
    qint64 largestOutput = 0;
    for (int profile = 0; profile < int(settings.profiles.size()); ++profile) {
        if (!settings.profiles[size_t(profile)])
            continue;
        const OutputProfile& outputProfile = *settings.profiles[size_t(profile)];
        for (const ProfileOutput& output : profileOutputs(outputProfile, full, name)) {
            RowOutput row{profile, output, -1, {}, OutputFailure::Kind::NotEncoded};
            if (!output.size) {
                row.notMade =
                    unusableSizeReason(output.density * intendedSize(outputProfile, full));
                outputs.push_back(std::move(row));
                continue;
            }
            const auto same =
                std::find_if(m_scaled.begin(), m_scaled.end(),
                             [&](const ScaledPicture& s) { return s.size == *output.size; });
            row.scaled = int(same - m_scaled.begin());
            if (same == m_scaled.end()) {
                m_scaled.emplace_back(*output.size);
                // An output turned a quarter is held twice for a moment.
                scaledPixels += 2 * area(*output.size);
                largestOutput = std::max(largestOutput, area(*output.size));
                needed = needed.expandedTo(*output.size);
            }
            ++m_scaled[size_t(row.scaled)].users;
            outputs.push_back(std::move(row));
        }
    }
    // Only the credits of the picture go into its outputs, and only when asked.
    const QByteArray exif = settings.keepCredits || settings.markup ? decoder.exif() : QByteArray();
    const QByteArray credits = settings.keepCredits ? creditsExif(readCredits(exif)) : QByteArray();
    for (const std::optional<OutputProfile>& profile : settings.profiles)
        m_options.push_back({.quality = profile ? profile->Quality : 0,
                             .progressive = settings.progressive,
                             .exif = credits});
    if (settings.markup)
        altText = markupAltText(exif, decoder.xmp(), fileName);

    m_pixels = std::make_unique<PixelReservation>(budget, decoder.pixelsHeld(needed) + scaledPixels,
                                                  area(full) + largestOutput);
    m_picture = decoder.decode(needed);
    if (!m_picture) {
        const DecodeFailure decodeFailure = decoder.failure();
        failure = decodeFailure == DecodeFailure::None ? DecodeFailure::NotAPicture : decodeFailure;
        outputs.clear();
        return finish();
    }
    format = decoder.format();
    int withSize = 0;
    for (const RowOutput& output : outputs)
        withSize += output.scaled >= 0 ? 1 : 0;
    m_left = withSize;
    if (withSize == 0)
        finish();
}

void RowRender::makeOutputs(const std::atomic<bool>* stop)
{
    for (int index = m_next++; index < int(outputs.size()); index = m_next++) {
        RowOutput& output = outputs[size_t(index)];
        if (output.scaled < 0)
            continue;
        ScaledPicture& scaled = m_scaled[size_t(output.scaled)];
        // A stopped run writes nothing more, so nothing more is worth making.
        if (!stop || !stop->load()) {
            std::call_once(scaled.once, [&] { scaled.picture = m_picture.scaled(scaled.size); });
            if (scaled.picture)
                output.bytes = pictureEncoder(output.output.format)
                                   .encode(*scaled.picture, m_options[size_t(output.profile)]);
        }
        if (--scaled.users == 0)
            scaled.picture.reset();
        outputDone();
    }
}

void RowRender::outputDone()
{
    if (--m_left == 0)
        finish();
}

void RowRender::finish()
{
    // The last output made: the picture and its pixels go before the commit goes on.
    m_picture = {};
    m_pixels.reset();
    m_finished = true;
    m_finished.notify_all();
}

// A row's task on the pool: prepares the row, calls in helpers while outputs are left to
// take up, and makes outputs itself until none is left. It never waits for a helper, so
// outputs never wait for a thread that is waiting.
std::shared_ptr<RowRender> render(const QString& path, const QString& name, const QString& fileName,
                                  const RenderSettings& settings, PixelBudget& budget,
                                  ColourTransforms& transforms, QThreadPool* pool,
                                  const std::atomic<bool>* stop)
{
    auto rendered = std::make_shared<RowRender>();
    // A stopped run writes nothing more, so nothing more is worth decoding.
    if (stop && stop->load()) {
        rendered->giveUp();
        return rendered;
    }
    rendered->prepare(path, name, fileName, settings, budget, transforms);
    const int helpers = std::min(rendered->outputsLeft(), pool->maxThreadCount()) - 1;
    for (int helper = 0; helper < helpers; ++helper)
        pool->start([rendered, stop] { rendered->makeOutputs(stop); }, outputPriority);
    rendered->makeOutputs(stop);
    return rendered;
}

QStringList picturePaths(const std::vector<BatchRow>& rows)
{
    QStringList paths;
    for (const BatchRow& row : rows)
        paths << row.entry.GetFullPath();
    return paths;
}

// The fragment of a group is named after its prefix.
QString fragmentName(const QString& prefix)
{
    return (prefix.isEmpty() ? QStringLiteral("gallery") : prefix) + QStringLiteral(".html");
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
          m_control(control), m_pictures(picturePaths(rows)), m_profiles(settings.profiles())
    {
        for (const NamedProfile& profile : m_profiles)
            m_generated.profiles.push_back({profile.outputs, {}, false});
        m_render.progressive = settings.ProgressiveJpeg != 0;
        m_render.keepCredits = settings.KeepCredits != 0;
    }

    GeneratedImages run();

private:
    // One HTML fragment and the pictures it shows, in list order.
    struct Fragment
    {
        QString name;
        std::vector<MarkupPicture> pictures;
    };

    // Checks what would make the whole run go wrong before any file is touched, and says why.
    bool mayStart();
    bool groupNamesUsable();
    bool extensionsUsable();
    bool outputsApart();
    std::vector<PlannedRow> plan();
    void makeRows();
    bool stopRequested() const { return m_control.stop && m_control.stop->load(); }
    void commit(const PlannedRow& planned, const RowRender& rendered);
    // The output in place, or why not.
    std::optional<OutputFailure> writeOutput(const QString& path, const RowOutput& output);
    void renameSource(const PlannedRow& planned, PictureFormat format);
    bool writesMarkup() const { return m_render.markup; }
    // The fragment of that name, added when new.
    size_t fragmentFor(const QString& name);
    void writeFragments();

    const std::vector<BatchRow>& m_rows;
    const std::array<QString, 5>& m_groupText;
    const ImageSettings& m_settings;
    BatchObserver& m_observer;
    const BatchControl& m_control;
    const PictureFiles m_pictures;
    const std::vector<NamedProfile> m_profiles;
    RenderSettings m_render; // its profiles: those whose save directory exists
    std::vector<Fragment> m_fragments;
    std::array<std::optional<size_t>, 5> m_fragmentOfGroup; // in m_fragments, for a group used
    GeneratedImages m_generated;
    RenameRecord m_renames;
};

GeneratedImages BatchRun::run()
{
    m_observer.status(QCoreApplication::translate("ImageBatch", "Generating Images..."));
    m_observer.progressRange(int(m_rows.size()));
    if (mayStart()) {
        makeRows();
        if (writesMarkup() && !m_generated.stopped)
            writeFragments();
    } else {
        m_generated.refused = true;
    }
    m_observer.progressReset();
    return std::move(m_generated);
}

bool BatchRun::mayStart()
{
    if (!groupNamesUsable() || !extensionsUsable())
        return false;
    // Every directory is tested in every run, so every message can appear.
    bool any = false;
    for (size_t p = 0; p < m_profiles.size(); ++p) {
        const bool exists = QFileInfo::exists(m_profiles[p].profile.SaveDir);
        if (!exists)
            m_observer.message(m_profiles[p].missingDirectory);
        m_render.profiles.push_back(exists ? std::optional(m_profiles[p].profile) : std::nullopt);
        m_generated.profiles[p].skipped = !exists;
        any = any || exists;
    }
    if (!any)
        return false;
    // The fragments lie beside the first profile's outputs.
    m_render.markup = m_settings.WriteMarkup && m_render.profiles.front();
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
            QCoreApplication::translate("ImageBatch",
                                        "Invalid Group %1 Text. Group names cannot contain \"/\".")
                .arg(g));
    return refused.empty();
}

bool BatchRun::extensionsUsable()
{
    const QStringList keys = m_settings.unusableExtensions();
    for (const QString& key : keys)
        m_observer.message(
            QCoreApplication::translate(
                "ImageBatch", "Invalid %1 setting. Extensions cannot contain \"/\" or a NUL byte.")
                .arg(key));
    return keys.isEmpty();
}

// Outputs of two profiles named alike in one folder would be written over each other, each
// destroying the other just made. Every name a profile may give is compared, 2x versions
// included, since whether a picture gets one is known only once it is read.
bool BatchRun::outputsApart()
{
    for (size_t p = 0; p < m_profiles.size(); ++p) {
        for (size_t q = p + 1; q < m_profiles.size(); ++q) {
            const OutputProfile& first = m_profiles[p].profile;
            const OutputProfile& second = m_profiles[q].profile;
            if (!m_render.profiles[p] || !m_render.profiles[q] ||
                fileIdentity(first.SaveDir) != fileIdentity(second.SaveDir))
                continue;
            // Both name every picture by the same prefix and number.
            const QStringList firstNames = possibleFileNames(first, QString());
            const QStringList secondNames = possibleFileNames(second, QString());
            const auto shared =
                std::find_if(firstNames.begin(), firstNames.end(),
                             [&](const QString& name) { return secondNames.contains(name); });
            if (shared == firstNames.end())
                continue;
            const QString which =
                first.Extension == second.Extension
                    ? QCoreApplication::translate(
                          "ImageBatch", "have the same Save Directory and the same Extension")
                    : QCoreApplication::translate(
                          "ImageBatch", "have the same Save Directory, and their Extensions give "
                                        "the same names once a 2x version's \"@2x\" is added: "
                                        "names ending in \"%1\"")
                          .arg(*shared);
            m_observer.message(
                QCoreApplication::translate(
                    "ImageBatch",
                    "The %1 and the %2 would be written to the same files: the %3 and the %4 "
                    "%5.\nGive them different directories or extensions under Options > Image "
                    "Properties.")
                    .arg(NamedProfile::outputsText(m_profiles[p].outputs),
                         NamedProfile::outputsText(m_profiles[q].outputs), m_profiles[p].title,
                         m_profiles[q].title, which));
            return false;
        }
    }
    return true;
}

// Numbering depends on the group cells alone, so every name is known before any work starts.
std::vector<PlannedRow> BatchRun::plan()
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
        int g = SettingsFile::leadingInteger(group);
        QString name;
        if (g >= 1 && g <= 5)
            name = naming.next(g);
        else
            g = 0;
        // Groups whose prefixes give one fragment name share that fragment, as they share
        // their outputs' names.
        if (g != 0 && writesMarkup() && !m_fragmentOfGroup[size_t(g - 1)])
            m_fragmentOfGroup[size_t(g - 1)] = fragmentFor(fragmentName(naming.prefix(g)));
        // A missing picture may be made by an earlier row's output or rename, and one listed
        // twice may be renamed away by its first row.
        const auto picture = fileIdentity(m_rows[row].entry.GetFullPath());
        planned.push_back({row, name, g, !picture || !pictures.insert(*picture).second});
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
    std::vector<QFuture<std::shared_ptr<RowRender>>> renders(planned.size());
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
            const ImageEntry& entry = m_rows[planned[started].row].entry;
            renders[started] = QtConcurrent::run(
                &pool, render, entry.GetFullPath(), planned[started].name, entry.GetFileName(),
                std::cref(m_render), std::ref(budget), std::ref(transforms), &pool, m_control.stop);
            ++started;
        }
        const std::shared_ptr<RowRender> rendered = renders[next].result();
        renders[next] = {};
        rendered->waitForOutputs();
        // A stop that came while waiting leaves this row unwritten too.
        if (stopRequested()) {
            m_generated.stopped = true;
            return;
        }
        commit(planned[next], *rendered);
        ++next;
        m_observer.progressStep();
    }
}

void BatchRun::commit(const PlannedRow& planned, const RowRender& rendered)
{
    const ImageEntry& entry = m_rows[planned.row].entry;
    if (rendered.failure != DecodeFailure::None) {
        ++m_generated.unreadable;
        m_observer.unreadable(planned.row, entry.GetFullPath(), rendered.failure);
        return;
    }
    const int shown = 0;
    const int linked = int(m_profiles.size()) - 1;
    MarkupPicture markup{{}, {}, rendered.altText};
    bool allWritten = true;
    for (const RowOutput& output : rendered.outputs) {
        const QString path =
            m_profiles[size_t(output.profile)].profile.SaveDir + u'/' + output.output.fileName;
        if (const std::optional<OutputFailure> failure = writeOutput(path, output)) {
            allWritten = false;
            ++m_generated.outputsNotMade;
            m_observer.notWritten(planned.row, path, *failure);
            continue;
        }
        m_generated.profiles[size_t(output.profile)].written << path;
        if (output.profile == shown)
            markup.thumbnails.push_back(output.output);
        else if (output.profile == linked && output.output.format == OutputFormat::Jpeg &&
                 output.output.density == 1)
            markup.largeImage = output.output.fileName;
    }
    if (allWritten)
        ++m_generated.picturesMade;
    if (writesMarkup() && planned.group != 0)
        m_fragments[*m_fragmentOfGroup[size_t(planned.group - 1)]].pictures.push_back(
            std::move(markup));
    if (m_settings.RenameOriginalFile)
        renameSource(planned, rendered.format);
}

std::optional<OutputFailure> BatchRun::writeOutput(const QString& path, const RowOutput& output)
{
    // A save directory equal to the photos' folder can give an output the name of a
    // photograph, which its own thumbnail would then destroy.
    if (m_pictures.contains(path))
        return OutputFailure{OutputFailure::Kind::WouldReplacePicture};
    if (output.bytes.isEmpty())
        return OutputFailure{output.notMade};
    if (const std::error_code error = replaceFile(path, output.bytes))
        return OutputFailure{OutputFailure::Kind::NotWritten, error};
    return std::nullopt;
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

size_t BatchRun::fragmentFor(const QString& name)
{
    const auto same = std::find_if(m_fragments.begin(), m_fragments.end(),
                                   [&](const Fragment& fragment) { return fragment.name == name; });
    if (same != m_fragments.end())
        return size_t(same - m_fragments.begin());
    m_fragments.push_back({name, {}});
    return m_fragments.size() - 1;
}

// Once every row is written, so each fragment names exactly the files that were made. A
// group whose pictures all failed still gets its fragment, empty, so a page never shows
// pictures an earlier run made of it.
void BatchRun::writeFragments()
{
    const QString folder = m_profiles.front().profile.SaveDir;
    for (const Fragment& fragment : m_fragments) {
        const QString path = folder + u'/' + fragment.name;
        std::optional<OutputFailure> failure;
        if (m_pictures.contains(path))
            failure = OutputFailure{OutputFailure::Kind::WouldReplacePicture};
        else if (const std::error_code error =
                     replaceFile(path, groupMarkup(fragment.pictures, m_control.markupLinkFolder)))
            failure = OutputFailure{OutputFailure::Kind::NotWritten, error};
        if (!failure) {
            m_generated.fragments << path;
            continue;
        }
        ++m_generated.fragmentsNotWritten;
        m_observer.message(QCoreApplication::translate("ImageBatch", "Failed to write file %1: %2")
                               .arg(path, failure->reason()));
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
