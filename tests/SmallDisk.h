#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/mount.h>

// A tiny file system of its own, to run out of space on purpose. Mounting needs root; where
// it is refused, isMounted() says so and the test skips.
class SmallDisk
{
public:
    explicit SmallDisk(const QByteArray& size)
    {
        m_mounted = m_dir.isValid() && mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                             "tmpfs", 0, ("size=" + size).constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Takes up what space is left with one file, so the next write fails.
    void fill()
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
