#include "imaging/ImageBatch.h"

#include "imaging/BatchObserver.h"
#include "imaging/JpegCodec.h"
#include "imaging/OutputSize.h"
#include "imaging/PictureFiles.h"
#include "imaging/RenameNoReplace.h"
#include "settings/SettingsFile.h"

#include <QFileInfo>

namespace {

QStringList picturePaths(const std::vector<BatchRow>& rows)
{
    QStringList paths;
    for (const BatchRow& row : rows)
        paths << row.entry.GetFullPath();
    return paths;
}

// The state of one run: nothing is kept from one run to the next.
class BatchRun
{
public:
    BatchRun(const std::vector<BatchRow>& rows, const std::array<QString, 5>& groupText,
             const ImageSettings& settings, BatchObserver& observer)
        : m_rows(rows), m_groupText(groupText), m_settings(settings), m_observer(observer),
          m_pictures(picturePaths(rows))
    {
    }

    GeneratedImages run();

private:
    bool saveDirExists(const OutputProfile& profile, const char* message);
    void processRow(int row);
    bool writeOutputs(int row, const QString& name);
    void writeOutput(int row, const OutputProfile& profile, gdImagePtr source, const QString& name,
                     QStringList& written);

    const std::vector<BatchRow>& m_rows;
    const std::array<QString, 5>& m_groupText;
    const ImageSettings& m_settings;
    BatchObserver& m_observer;
    const PictureFiles m_pictures;
    std::array<int, 5> m_counters{};
    bool m_thumbnailsValid = true;
    bool m_largeValid = true;
    GeneratedImages m_generated;
};

GeneratedImages BatchRun::run()
{
    m_observer.status(QStringLiteral("Generating Images..."));
    m_observer.progressRange(int(m_rows.size()));
    // Both directories are tested in every run, so both messages can appear.
    m_thumbnailsValid =
        saveDirExists(m_settings.thumbnail,
                      "Invalid thumbnail directory. Check Image Property settings under Options.");
    m_largeValid = saveDirExists(
        m_settings.large,
        "Invalid large image directory. Check Image Property settings under Options.");
    if (m_thumbnailsValid || m_largeValid) {
        for (int row = 0; row < int(m_rows.size()); ++row) {
            processRow(row);
            m_observer.progressStep();
        }
    }
    m_observer.progressReset();
    m_observer.status(QStringLiteral("Ready"));
    return std::move(m_generated);
}

bool BatchRun::saveDirExists(const OutputProfile& profile, const char* message)
{
    if (QFileInfo::exists(profile.SaveDir))
        return true;
    m_observer.message(QString::fromLatin1(message));
    return false;
}

void BatchRun::processRow(int row)
{
    const QString& group = m_rows[row].group;
    if (group.isEmpty())
        return;
    // Any other text names no group: the row is made all the same, without prefix or number.
    const int g = SettingsFile::leadingInteger(group);
    QString name;
    if (g >= 1 && g <= 5)
        name = m_groupText[g - 1] + QString::asprintf("%02d", ++m_counters[g - 1]);
    if (!writeOutputs(row, name) || !m_settings.RenameOriginalFile)
        return;
    const ImageEntry& entry = m_rows[row].entry;
    const QString newPath =
        entry.GetFolder() + name + m_settings.OriginalExtension + QStringLiteral(".jpg");
    if (renameNoReplace(entry.GetFullPath(), newPath))
        m_observer.renamed(row, newPath);
}

// Decodes the row's picture once and scales both outputs straight from it; false when the
// picture cannot be read.
bool BatchRun::writeOutputs(int row, const QString& name)
{
    const QString path = m_rows[row].entry.GetFullPath();
    const GdImage source = LoadJpegFile(path);
    if (!source) {
        m_observer.unreadable(row, path);
        return false;
    }
    if (m_thumbnailsValid)
        writeOutput(row, m_settings.thumbnail, source.get(), name, m_generated.thumbnails);
    if (m_largeValid)
        writeOutput(row, m_settings.large, source.get(), name, m_generated.largeImages);
    return true;
}

void BatchRun::writeOutput(int row, const OutputProfile& profile, gdImagePtr source,
                           const QString& name, QStringList& written)
{
    const QString path = profile.SaveDir + u'/' + name + profile.Extension + QStringLiteral(".jpg");
    // A save directory equal to the photos' folder can give an output the name of a
    // photograph, which its own thumbnail would then destroy.
    if (m_pictures.contains(path)) {
        m_observer.notWritten(row, path);
        return;
    }
    const std::optional<QSize> size = outputSize(profile, QSize(source->sx, source->sy));
    const GdImage scaled(size ? gdImageCreateTrueColor(size->width(), size->height()) : nullptr);
    if (!scaled) {
        m_observer.notWritten(row, path);
        return;
    }
    gdImageCopyResampled(scaled.get(), source, 0, 0, 0, 0, size->width(), size->height(),
                         source->sx, source->sy);
    if (!SaveJpegFile(path, scaled.get(), profile.Quality))
        m_observer.notWritten(row, path);
    written << path;
}

} // namespace

GeneratedImages GenerateImages(const std::vector<BatchRow>& rows,
                               const std::array<QString, 5>& groupText,
                               const ImageSettings& settings, BatchObserver& observer)
{
    return BatchRun(rows, groupText, settings, observer).run();
}
