#include "PaintRecorder.h"
#include "RunningProgram.h"
#include "TestHome.h"
#include "TestPictures.h"

#include "settings/ImageSettings.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace TestPictures;

// The Generate button driven through the real window.
class GenerateTest : public QObject
{
    Q_OBJECT

private:
    CMainFrame& frame() { return m_program.frame(); }
    CMorvaneView& view() { return m_program.view(); }
    QString path(const QString& name) const { return m_home.filePath(name); }

    // Starts the program with these image settings in morvane.cfg.
    void start(ImageSettings settings)
    {
        QVERIFY(settings.save());
        QVERIFY(m_program.start());
    }

    TestHome m_home;
    RunningProgram m_program;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writesFilesRenamesAndShowsProgress();
    void missingDirectoriesShowBothMessages();
    void keepsPaintingAndFiringTimersWhileGenerating();
};

void GenerateTest::initTestCase()
{
    QVERIFY(m_home.enter());
}

void GenerateTest::init()
{
    for (const char* folder : {"photos", "thumbs", "images"}) {
        QDir(path(folder)).removeRecursively();
        QVERIFY(QDir(m_home.path()).mkdir(folder));
    }
}

void GenerateTest::cleanup()
{
    m_program.quit();
}

void GenerateTest::writesFilesRenamesAndShowsProgress()
{
    ImageSettings settings;
    settings.thumbnail.SaveDir = path("thumbs");
    settings.thumbnail.UseWidth = 1;
    settings.thumbnail.Width = 40;
    settings.thumbnail.Quality = 70;
    settings.thumbnail.Extension = "_t";
    settings.large.SaveDir = path("images");
    settings.large.UseHeight = 1;
    settings.large.Height = 90;
    settings.large.Quality = 85;
    settings.RenameOriginalFile = 1;
    settings.OriginalExtension = "_orig";
    start(settings);
    const QStringList photos = {path("photos/IMG_1.jpg"), path("photos/IMG_2.jpg"),
                                path("photos/IMG_3.jpg")};
    for (const QString& photo : photos)
        QVERIFY(write(photo, jpeg(QSize(160, 120))));
    m_program.add(photos);
    m_program.setGroup(1, "2");
    m_program.setGroup(3, "2");
    // Typed but not yet taken into the view: Generate must take it first.
    QTest::keyClicks(m_program.groupName(2), "beach");

    PaintRecorder status(frame().GetMessageBar());
    auto* progress = view().findChild<QProgressBar*>("1029");
    QList<int> values;
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) { values << value; });
    m_program.pressGenerate();

    QCOMPARE(jpegSize(path("thumbs/beach01_t.jpg")), QSize(40, 30));
    QCOMPARE(jpegSize(path("thumbs/beach02_t.jpg")), QSize(40, 30));
    QCOMPARE(jpegSize(path("images/beach01.jpg")), QSize(120, 90));
    QCOMPARE(jpegSize(path("images/beach02.jpg")), QSize(120, 90));
    QCOMPARE(view().grid().GetCellText(1, 1), QStringLiteral("beach01_orig.jpg"));
    QCOMPARE(view().grid().GetCellText(2, 1), QStringLiteral("IMG_2.jpg"));
    QCOMPARE(view().grid().GetCellText(3, 1), QStringLiteral("beach02_orig.jpg"));
    QCOMPARE(view().images()[2].GetFullPath(), path("photos/beach02_orig.jpg"));
    QVERIFY(QFile::exists(path("photos/beach02_orig.jpg")));

    QCOMPARE(status.painted, QStringList({"Generating Images...", "Ready"}));
    QCOMPARE(progress->maximum(), 3);
    QCOMPARE(values, QList<int>({0, 1, 2, 3, 0}));
    QCOMPARE(view().cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_program.prompter.messages.isEmpty());
}

void GenerateTest::missingDirectoriesShowBothMessages()
{
    ImageSettings settings;
    settings.large.SaveDir = path("gone");
    settings.RenameOriginalFile = 1;
    start(settings);
    QVERIFY(write(path("photos/IMG_1.jpg"), jpeg(QSize(16, 12))));
    m_program.add({path("photos/IMG_1.jpg")});
    m_program.setGroup(1, "1");

    m_program.pressGenerate();
    QCOMPARE(
        m_program.prompter.messages,
        QStringList({"Invalid thumbnail directory. Check Image Property settings under Options.",
                     "Invalid large image directory. Check Image Property settings under "
                     "Options."}));
    QCOMPARE(m_program.prompter.messageStyles,
             QList<MessageStyle>({MessageStyle::Ok, MessageStyle::Ok}));
    QCOMPARE(view().grid().GetCellText(1, 1), QStringLiteral("IMG_1.jpg"));
    QVERIFY(QFile::exists(path("photos/IMG_1.jpg")));
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Nothing made."));
    QCOMPARE(view().findChild<QProgressBar*>("1029")->value(), 0);
}

// The window is not frozen: while pictures are made, timers fire and deferred paints are
// done, under the busy cursor, before the run ends.
void GenerateTest::keepsPaintingAndFiringTimersWhileGenerating()
{
    ImageSettings settings;
    settings.thumbnail.SaveDir = path("thumbs");
    settings.large.SaveDir = path("images");
    settings.large.UseWidth = 1;
    settings.large.Width = 300;
    start(settings);
    QStringList photos;
    for (int index = 1; index <= 4; ++index) {
        photos << path(QStringLiteral("photos/IMG_%1.jpg").arg(index));
        QVERIFY(write(photos.last(), jpeg(QSize(640, 480))));
    }
    m_program.add(photos);
    for (int row = 1; row <= photos.size(); ++row)
        m_program.setGroup(row, "1");

    auto* progress = view().findChild<QProgressBar*>("1029");
    int firedAt = -1;
    bool busyCursor = false;
    PaintRecorder status(frame().GetMessageBar());
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (value != 1)
            return;
        // Both only happen when the thread goes back to its events.
        QTimer::singleShot(0, this, [&] {
            firedAt = progress->value();
            busyCursor = view().cursor().shape() == Qt::BusyCursor;
        });
        frame().GetMessageBar()->setText(QStringLiteral("painted while generating"));
        frame().GetMessageBar()->update();
    });
    m_program.pressGenerate();

    QVERIFY2(firedAt >= 1 && firedAt < photos.size(), qPrintable(QString::number(firedAt)));
    QVERIFY(busyCursor);
    QVERIFY(status.painted.contains(QStringLiteral("painted while generating")));
    QCOMPARE(QDir(path("images")).entryList(QDir::Files).size(), photos.size());
}

QTEST_MAIN(GenerateTest)
#include "tst_generate.moc"
