#pragma once

#include "RecordingObserver.h"
#include "TestPictures.h"

#include "imaging/ImageBatch.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>
#include <vector>

// A run's files in a temporary folder: photos/ for the pictures listed, thumbs/ and images/
// for the outputs, and the user's data folder, where renames are recorded, beside them.
// Test classes derive from it next to QObject and fill in the settings they test.
class BatchFixture
{
protected:
    QString photo(const QString& name) const { return m_dir->filePath("photos/" + name); }
    QString thumb(const QString& name) const { return m_dir->filePath("thumbs/" + name); }
    QString large(const QString& name) const { return m_dir->filePath("images/" + name); }

    // The names in a folder of the run, sorted.
    QStringList files(const QString& folder, QDir::Filters filters = QDir::Files) const
    {
        QStringList names = QDir(m_dir->filePath(folder)).entryList(filters);
        names.sort();
        return names;
    }

    // A new temporary folder with the three empty folders, an empty list and no reports.
    void makeFolders()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath("data")));
        for (const char* folder : {"photos", "thumbs", "images"})
            QVERIFY(QDir(m_dir->path()).mkdir(folder));
        m_rows.clear();
        m_observer = RecordingObserver();
    }

    // Writes a picture into the photos folder and lists it in the given group.
    void addPhoto(const QString& name, const QString& group, const QByteArray& bytes)
    {
        QVERIFY(TestPictures::write(photo(name), bytes));
        addRow(photo(name), group);
    }
    void addPhoto(const QString& name, const QString& group, QSize size = QSize(64, 48))
    {
        addPhoto(name, group, TestPictures::jpeg(size));
    }
    void addRow(const QString& path, const QString& group)
    {
        BatchRow row;
        row.entry.SetPath(path);
        row.group = group;
        m_rows.push_back(row);
    }

    GeneratedImages run(const BatchControl& control = {})
    {
        return GenerateImages(m_rows, m_groupText, m_settings, m_observer, control);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<BatchRow> m_rows;
    std::array<QString, 5> m_groupText;
    ImageSettings m_settings;
    RecordingObserver m_observer;
};

inline const QStringList& thumbnailFiles(const GeneratedImages& generated)
{
    return generated.profiles.at(0).written;
}

inline const QStringList& largeImageFiles(const GeneratedImages& generated)
{
    return generated.profiles.at(1).written;
}
