// morvane-window-bench: how long the window takes to list many pictures given at start, and
// how long their facts and row pictures take to come in after. The pictures are one camera
// photograph (with an EXIF thumbnail and a date) under many names, linked, so the files cost
// no room and the reading is what a warm disk cache gives; then a few hundred names of a
// photograph without a thumbnail, whose row pictures are decoded.

#include "app/CMainFrame.h"
#include "app/CMorvaneApp.h"
#include "app/StartArguments.h"
#include "base/ImageList.h"
#include "dialogkit/Prompter.h"
#include "imaging/JpegCodec.h"
#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"
#include "view/RowReader.h"

#include "PhotoPictures.h"
#include "PictureReference.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int rounds = 3;

// Answers nothing: the benchmark opens no dialog.
class SilentPrompter : public Prompter
{
public:
    Answer message(const QString&, MessageStyle) override { return Answer::No; }
    QStringList openJpegFiles(const QString&) override { return {}; }
    QString openDocumentFile() override { return {}; }
    std::optional<int> chooseGroup(const QStringList&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

double millisecondsSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// The processor time of the calling thread: on a shared machine it moves far less with the
// other work than the time on the clock does.
double threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A 12-megapixel camera's photograph, shrunk to keep the files small: the row pictures come
// from its EXIF thumbnail, as they do for most cameras.
QByteArray cameraPhoto()
{
    using namespace PhotoPictures;
    ExifBlock exif;
    exif.dateTaken("2023:07:14 10:20:30").thumbnail(quartersJpeg(160, 120, 90));
    return withExif(quartersJpeg(1024, 768, 90), exif);
}

// A 12-megapixel photograph as an editor leaves it, without an EXIF thumbnail.
QByteArray editedPhoto()
{
    return EncodeJpeg(PictureReference::drawPhoto(QSize(4000, 3000), 7).get(), 90);
}

// count names of the one file, in four folders as cards give them.
QStringList linkedPictures(const QTemporaryDir& dir, const QString& original, int count)
{
    QStringList paths;
    paths.reserve(count);
    const QString set = QFileInfo(original).baseName() + QString::number(count);
    for (int i = 0; i < count; ++i) {
        const QString folder = dir.filePath(QStringLiteral("%1/card%2").arg(set).arg(i % 4));
        QDir().mkpath(folder);
        const QString path = QStringLiteral("%1/DSC_%2.JPG").arg(folder).arg(i, 5, 10, QChar('0'));
        if (::link(QFile::encodeName(original).constData(), QFile::encodeName(path).constData()) !=
                0 &&
            !QFile::copy(original, path))
            qFatal("cannot make %s", qPrintable(path));
        paths << path;
    }
    return paths;
}

// What Add did for each path before the rows had pictures: the list and the grid's cells.
// Processor milliseconds.
double bareListing(const QStringList& paths)
{
    CMSFlexGrid grid(3);
    ImageList list;
    const double start = threadMilliseconds();
    grid.SetRowCount(1);
    for (const QString& path : paths) {
        if (!list.addNew(path))
            continue;
        const int row = grid.GetRowCount();
        grid.SetRowCount(row + 1);
        grid.SetCellText(row, 0, QString::number(row));
        grid.SetCellText(row, 1, list.last().GetFileName());
    }
    return threadMilliseconds() - start;
}

// Scrolls the list a little every few milliseconds, as a user skims it, and keeps the
// longest the window took to answer.
class Skimming
{
public:
    explicit Skimming(CMSFlexGrid& grid) : m_grid(grid)
    {
        m_ticker.setInterval(tickMs);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] { tick(); });
        m_sinceTick.start();
        m_ticker.start();
    }
    double longestWaitMs() const { return m_longest; }

private:
    static constexpr int tickMs = 5;
    void tick()
    {
        m_longest = std::max(m_longest, millisecondsSince(m_sinceTick) - tickMs);
        m_sinceTick.restart();
        QScrollBar* bar = m_grid.verticalScrollBar();
        bar->setValue(bar->value() + 3 > bar->maximum() ? 0 : bar->value() + 3);
    }

    CMSFlexGrid& m_grid;
    QTimer m_ticker;
    QElapsedTimer m_sinceTick;
    double m_longest = 0;
};

// Runs the event loop until done() holds; the milliseconds it took.
template <typename Done> double waitUntil(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return millisecondsSince(timer);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    // The window's settings and the folder last added from stay out of the user's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    QDir::setCurrent(dir.path());
    struct Set
    {
        int count;
        QString photo;
    };
    const QString camera = dir.filePath(QStringLiteral("camera.jpg"));
    const QString edited = dir.filePath(QStringLiteral("edited.jpg"));
    for (const auto& [path, bytes] : {std::pair{camera, cameraPhoto()}, {edited, editedPhoto()}}) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) <= 0)
            qFatal("cannot write the photograph");
    }
    std::printf("Listing pictures given at start, on %d cores (the window on the offscreen "
                "platform),\nfirst a camera's 1024 x 768 photograph with an EXIF thumbnail, "
                "then a 12-megapixel one without:\n",
                QThread::idealThreadCount());
    for (const auto& [count, original] : {Set{2000, camera}, {10000, camera}, {400, edited}}) {
        const QStringList paths = linkedPictures(dir, original, count);
        QElapsedTimer timer;
        timer.start();
        const StartArguments started(paths);
        const double parsing = millisecondsSince(timer);

        // As main() starts the program with them: the window made, the pictures listed and
        // the window shown, then its first paint.
        SilentPrompter prompter;
        CMorvaneApp app(prompter);
        timer.restart();
        app.InitInstance(started.pictures());
        const double up = millisecondsSince(timer);
        CMainFrame& frame = *app.mainFrame();
        CMorvaneView& view = *frame.GetActiveView();
        QCoreApplication::processEvents();
        const double painted = millisecondsSince(timer);
        const RowReader& reader = view.rowReader();
        double longestWait = 0;
        double allRead = painted;
        {
            const Skimming skimming(view.grid());
            allRead += waitUntil([&] { return reader.isIdle(); });
            longestWait = skimming.longestWaitMs();
        }
        int pictured = 0;
        for (int row = 1; row < view.grid().GetRowCount(); ++row)
            pictured += view.grid().rowPicture(row).isNull() ? 0 : 1;
        // The same scrolling with nothing to read: what the machine's other work costs.
        double longestIdleWait = 0;
        {
            const Skimming skimming(view.grid());
            QElapsedTimer idle;
            idle.start();
            waitUntil([&] { return idle.elapsed() >= 1000; });
            longestIdleWait = skimming.longestWaitMs();
        }

        // The listing alone, in a window that is up already, beside what Add did before the
        // rows had pictures and details; the best of a few rounds, as other work on the
        // machine only ever slows a round down.
        double listing = 1e300;
        double bare = 1e300;
        for (int round = 0; round < rounds; ++round) {
            view.OnInitialUpdate();
            const double start = threadMilliseconds();
            view.addPictures(started.pictures());
            listing = std::min(listing, threadMilliseconds() - start);
            // Nothing is read beside the next round.
            view.OnInitialUpdate();
            waitUntil([&] { return reader.isIdle(); });
            bare = std::min(bare, bareListing(started.pictures()));
        }

        std::printf("  %5d pictures: arguments checked in %.0f ms, the window up with them in "
                    "%.0f ms and painted at %.0f ms\n",
                    count, parsing, up, painted);
        std::printf("                 listed in %.0f ms of the window's processor time (the list "
                    "and grid alone, as Add listed before: %.0f ms; best of %d)\n",
                    listing, bare, rounds);
        std::printf("                 every row's facts and picture in at %.1f s (%d pictures, "
                    "%.2f ms a row),\n"
                    "                 while the list was scrolled every 5 ms: the window answered "
                    "within %.0f ms (%.0f ms with nothing to read)\n",
                    allRead / 1000, pictured, allRead / count, longestWait, longestIdleWait);
    }
    return 0;
}
