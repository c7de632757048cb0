#include "PaintRecorder.h"
#include "ScriptedPrompter.h"
#include "TestHome.h"
#include "TestPictures.h"

#include "app/CMainFrame.h"
#include "app/CMorvaneApp.h"
#include "settings/ImageSettings.h"
#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

// The Generate button driven through the real window.
class GenerateTest : public QObject
{
    Q_OBJECT

private:
    CMainFrame& frame() { return *m_app->mainFrame(); }
    CMorvaneView& view() { return *frame().GetActiveView(); }
    QString path(const QString& name) const { return m_home.filePath(name); }

    // Starts the program with these image settings in morvane.cfg.
    void start(ImageSettings settings)
    {
        QVERIFY(settings.save());
        m_app = std::make_unique<CMorvaneApp>(m_prompter);
        QVERIFY(m_app->InitInstance());
        QVERIFY(QTest::qWaitForWindowExposed(&frame()));
    }

    void pressGenerate() { QTest::mouseClick(view().findChild<QPushButton*>("3"), Qt::LeftButton); }

    TestHome m_home;
    ScriptedPrompter m_prompter;
    std::unique_ptr<CMorvaneApp> m_app;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writesFilesRenamesAndShowsProgress();
    void missingDirectoriesShowBothMessages();
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
    m_prompter = ScriptedPrompter();
}

void GenerateTest::cleanup()
{
    m_app.reset();
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
    m_prompter.nextFiles = photos;
    view().OnAdd();
    view().grid().SetCellText(1, 2, "2");
    view().grid().SetCellText(3, 2, "2");
    // Typed but not yet taken into the view: Generate must take it first.
    QTest::keyClicks(view().findChild<QLineEdit*>("1003"), "beach");

    PaintRecorder status(frame().GetMessageBar());
    auto* progress = view().findChild<QProgressBar*>("1029");
    QList<int> values;
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) { values << value; });
    pressGenerate();

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
    QCOMPARE(progress->maximum(), 4);
    QCOMPARE(values, QList<int>({0, 1, 2, 3, 0}));
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(m_prompter.messages.isEmpty());
}

void GenerateTest::missingDirectoriesShowBothMessages()
{
    ImageSettings settings;
    settings.large.SaveDir = path("gone");
    settings.RenameOriginalFile = 1;
    start(settings);
    QVERIFY(write(path("photos/IMG_1.jpg"), jpeg(QSize(16, 12))));
    m_prompter.nextFiles = {path("photos/IMG_1.jpg")};
    view().OnAdd();
    view().grid().SetCellText(1, 2, "1");

    pressGenerate();
    QCOMPARE(
        m_prompter.messages,
        QStringList({"Invalid thumbnail directory. Check Image Property settings under Options.",
                     "Invalid large image directory. Check Image Property settings under "
                     "Options."}));
    QCOMPARE(m_prompter.messageStyles, QList<MessageStyle>({MessageStyle::Ok, MessageStyle::Ok}));
    QCOMPARE(view().grid().GetCellText(1, 1), QStringLiteral("IMG_1.jpg"));
    QVERIFY(QFile::exists(path("photos/IMG_1.jpg")));
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Ready"));
    QCOMPARE(view().findChild<QProgressBar*>("1029")->value(), 0);
}

QTEST_MAIN(GenerateTest)
#include "tst_generate.moc"
