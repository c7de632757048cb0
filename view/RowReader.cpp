#include "view/RowReader.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThread>

namespace {

// How long the window's thread hands results over before it answers its user again.
constexpr qint64 deliveryMs = 4;

QImage imageOf(const RowPicture& picture, qreal devicePixelRatio)
{
    if (picture.isNull())
        return {};
    QImage image(reinterpret_cast<const uchar*>(picture.rgb.constData()), picture.size.width(),
                 picture.size.height(), 3 * picture.size.width(), QImage::Format_RGB888);
    // The bytes belong to the row picture, which is gone when this returns.
    image = image.copy();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

// The first key of the queue that is still pending, taken off it with its path.
bool takePending(std::deque<qint64>& queue, QHash<qint64, QString>& pending, qint64& key,
                 QString& path)
{
    while (!queue.empty()) {
        const qint64 front = queue.front();
        queue.pop_front();
        if (const auto found = pending.constFind(front); found != pending.cend()) {
            key = front;
            path = found.value();
            pending.erase(found);
            return true;
        }
    }
    return false;
}

} // namespace

RowReader::RowReader(QSize pictureBox, qreal devicePixelRatio, QObject* parent)
    : QObject(parent), m_devicePixelRatio(devicePixelRatio),
      m_pictures((QSizeF(pictureBox) * devicePixelRatio).toSize())
{
    // Where the system ranks threads, the window and a run of Generate come first.
    m_pool.setThreadPriority(QThread::LowPriority);
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

RowReader::~RowReader()
{
    {
        const QMutexLocker lock(&m_mutex);
        m_stopping = true;
    }
    m_pool.waitForDone();
}

void RowReader::read(const QList<Row>& rows)
{
    {
        const QMutexLocker lock(&m_mutex);
        for (const Row& row : rows) {
            m_factsQueue.push_back(row.key);
            m_picturesQueue.push_back(row.key);
            m_factsPending.insert(row.key, row.path);
            m_picturesPending.insert(row.key, row.path);
        }
    }
    startWorkers();
}

void RowReader::prefer(const QList<qint64>& keys)
{
    const QMutexLocker lock(&m_mutex);
    m_preferred.assign(keys.begin(), keys.end());
}

void RowReader::forget(const QList<qint64>& keys)
{
    const QMutexLocker lock(&m_mutex);
    for (const qint64 key : keys) {
        m_factsPending.remove(key);
        m_picturesPending.remove(key);
    }
}

void RowReader::forgetFacts(const QList<qint64>& keys)
{
    const QMutexLocker lock(&m_mutex);
    for (const qint64 key : keys)
        m_factsPending.remove(key);
}

void RowReader::clear()
{
    const QMutexLocker lock(&m_mutex);
    m_factsQueue.clear();
    m_picturesQueue.clear();
    m_preferred.clear();
    m_factsPending.clear();
    m_picturesPending.clear();
    m_results.clear();
}

bool RowReader::isIdle() const
{
    const QMutexLocker lock(&m_mutex);
    return m_workers == 0 && m_results.empty() && !m_deliveryAsked && m_factsPending.isEmpty() &&
           m_picturesPending.isEmpty();
}

void RowReader::startWorkers()
{
    const QMutexLocker lock(&m_mutex);
    const int wanted = std::min<qsizetype>(m_pool.maxThreadCount(),
                                           m_factsPending.size() + m_picturesPending.size());
    for (; m_workers < wanted; ++m_workers)
        m_pool.start([this] { work(); });
}

// Pictures in sight first, as they are what the user waits for; then every row's facts,
// which take a moment each; then the other pictures, in the list's order.
bool RowReader::takeTask(Task& task)
{
    if (m_stopping)
        return false;
    if (takePending(m_preferred, m_picturesPending, task.key, task.path)) {
        task.kind = Kind::Picture;
        return true;
    }
    if (takePending(m_factsQueue, m_factsPending, task.key, task.path)) {
        task.kind = Kind::Facts;
        return true;
    }
    if (takePending(m_picturesQueue, m_picturesPending, task.key, task.path)) {
        task.kind = Kind::Picture;
        return true;
    }
    return false;
}

void RowReader::work()
{
    for (;;) {
        Task task;
        {
            const QMutexLocker lock(&m_mutex);
            if (!takeTask(task)) {
                --m_workers;
                return;
            }
        }
        Result result{task.kind, task.key, task.path, {}, {}};
        if (task.kind == Kind::Facts)
            result.facts = readPictureFacts(task.path);
        else
            result.picture = imageOf(m_pictures.make(task.path), m_devicePixelRatio);
        const QMutexLocker lock(&m_mutex);
        m_results.push_back(std::move(result));
        // Posted to this object, so a delivery still asked for when it goes is dropped with it.
        if (!std::exchange(m_deliveryAsked, true))
            QMetaObject::invokeMethod(this, &RowReader::deliver, Qt::QueuedConnection);
    }
}

void RowReader::deliver()
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        Result result;
        {
            const QMutexLocker lock(&m_mutex);
            if (m_results.empty()) {
                m_deliveryAsked = false;
                return;
            }
            if (timer.elapsed() >= deliveryMs) {
                QMetaObject::invokeMethod(this, &RowReader::deliver, Qt::QueuedConnection);
                return;
            }
            result = std::move(m_results.front());
            m_results.pop_front();
        }
        if (result.kind == Kind::Facts)
            emit factsRead(result.key, result.path, result.facts);
        else
            emit pictureMade(result.key, result.path, result.picture);
    }
}
