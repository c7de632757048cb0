#pragma once

#include "imaging/PictureFacts.h"
#include "imaging/RowPictures.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QThreadPool>

#include <deque>

// Reads what the list shows of its pictures besides their names, on threads of its own so
// that listing and scrolling never wait for it: each picture's facts (size, date taken) and
// its row picture. Facts come first, being quick to read; the pictures of the rows in sight
// come before the others'. Results arrive on the reader's thread, each once, keyed by what
// the list gave with the path, a few milliseconds' worth at a time, so the window answers
// between them however fast they come.
class RowReader : public QObject
{
    Q_OBJECT

public:
    // Row pictures fit into pictureBox, in pixels of the screen, and are drawn at
    // devicePixelRatio.
    RowReader(QSize pictureBox, qreal devicePixelRatio, QObject* parent = nullptr);
    // Waits for the pictures being read; nothing is reported after it.
    ~RowReader() override;

    struct Row
    {
        qint64 key;
        QString path;
    };
    // Reads these rows after those queued already. A key queued already is read under its
    // new path instead.
    void read(const QList<Row>& rows);
    // Makes these rows' pictures next, the first first; replaces the rows preferred before.
    void prefer(const QList<qint64>& keys);
    // Reads nothing more of these rows; a result already on its way may still arrive.
    void forget(const QList<qint64>& keys);
    // Reads no facts of these rows, read elsewhere; their pictures still come.
    void forgetFacts(const QList<qint64>& keys);
    void clear();
    // Nothing queued, nothing being read and nothing on its way.
    bool isIdle() const;

signals:
    void factsRead(qint64 key, const QString& path, const PictureFacts& facts);
    // A null picture when the file cannot be read.
    void pictureMade(qint64 key, const QString& path, const QImage& picture);

private:
    enum class Kind
    {
        Facts,
        Picture
    };
    struct Task
    {
        Kind kind;
        qint64 key;
        QString path;
    };
    struct Result
    {
        Kind kind;
        qint64 key;
        QString path;
        PictureFacts facts;
        QImage picture;
    };

    // Runs on a pool thread until nothing is left to read.
    void work();
    // The next task, under the lock; false when none is left.
    bool takeTask(Task& task);
    void startWorkers();
    // Hands results over on the reader's thread until its time is up, and asks to go on
    // later while more are waiting.
    void deliver();

    const qreal m_devicePixelRatio;
    RowPictures m_pictures;
    QThreadPool m_pool;

    mutable QMutex m_mutex;
    // The queues may hold keys read or forgotten since: a key is still to be read while it
    // is in its pending table, with the path it is to be read under.
    std::deque<qint64> m_factsQueue;
    std::deque<qint64> m_picturesQueue;
    std::deque<qint64> m_preferred;
    QHash<qint64, QString> m_factsPending;
    QHash<qint64, QString> m_picturesPending;
    int m_workers = 0;
    std::deque<Result> m_results; // read, not yet handed over
    bool m_deliveryAsked = false;
    bool m_stopping = false;
};
