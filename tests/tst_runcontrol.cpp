#include "FtpServer.h"
#include "RunningProgram.h"
#include "TestHome.h"
#include "TestPictures.h"

#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace TestPictures;

// A run in the window as a user meets it: what can be clicked while it goes on, how it is
// stopped, and closing the window during it.
class RunControlTest : public QObject
{
    Q_OBJECT

private:
    CMainFrame& frame() { return m_program.frame(); }
    CMorvaneView& view() { return m_program.view(); }
    QString path(const QString& name) const { return m_home.filePath(name); }
    QPushButton* button(const char* id) { return view().findChild<QPushButton*>(id); }

    // Four grouped pictures; each step of the progress bar runs whileRunning once, on the
    // window's thread, while the run waits for it.
    void startWithPictures(QSize size = QSize(320, 240), int largeQuality = 85)
    {
        ImageSettings images;
        images.thumbnail = {path("thumbs"), 40, 0, 1, 0, 70, "_t"};
        images.large = {path("images"), size.width(), 0, 1, 0, largeQuality, ""};
        images.RenameOriginalFile = 1;
        QVERIFY(images.save());
        QVERIFY(m_program.start());
        QStringList photos;
        for (int i = 1; i <= 4; ++i) {
            photos << path(QStringLiteral("photos/IMG_%1.jpg").arg(i));
            QVERIFY(write(photos.last(), jpeg(size)));
        }
        m_program.add(photos);
        for (int row = 1; row <= 4; ++row)
            m_program.setGroup(row, "1");
        auto* progress = view().findChild<QProgressBar*>("1029");
        connect(progress, &QProgressBar::valueChanged, this, [this](int value) {
            if (value > 0 && whileRunning)
                std::exchange(whileRunning, nullptr)();
        });
    }

    QStringList files(const QString& folder) const
    {
        return QDir(path(folder)).entryList(QDir::Files | QDir::Hidden);
    }

    TestHome m_home;
    RunningProgram m_program;
    std::function<void()> whileRunning;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void clicksDuringARunDoNothingThenOrAfterwards();
    void cancelStopsAfterTheRowBeingWritten_data();
    void cancelStopsAfterTheRowBeingWritten();
    void closingDuringARunAsksFirst_data();
    void closingDuringARunAsksFirst();
    void cancelGivesUpTheFileBeingSent();
};

void RunControlTest::initTestCase()
{
    QVERIFY(m_home.enter());
}

void RunControlTest::init()
{
    for (const char* folder : {"photos", "thumbs", "images"}) {
        QDir(path(folder)).removeRecursively();
        QVERIFY(QDir(m_home.path()).mkdir(folder));
    }
    whileRunning = nullptr;
}

void RunControlTest::cleanup()
{
    m_program.quit();
}

void RunControlTest::clicksDuringARunDoNothingThenOrAfterwards()
{
    startWithPictures();
    QString startFolder = m_program.prompter.lastStartFolder;
    QStringList idleOnly;
    whileRunning = [&] {
        QVERIFY(view().isRunning());
        QVERIFY(button("1034")->isEnabled());
        for (const char* id : {"1007", "1008", "1009", "3", "4"}) {
            if (button(id)->isEnabled())
                idleOnly << id;
            QTest::mouseClick(button(id), Qt::LeftButton);
        }
        if (view().findChild<QWidget*>("1002")->isEnabled())
            idleOnly << "group name";
        view().grid().setCurrentCell(0, 0);
        QTest::keyClick(&view().grid(), Qt::Key_Delete);
        // Nor are the rows ordered or grouped: by key, by the header, or dragged.
        for (const int key : {int(Qt::Key_3), int(Qt::Key_0)})
            QTest::keyClick(&view().grid(), Qt::Key(key));
        QTest::keyClick(&view().grid(), Qt::Key_Down, Qt::ControlModifier);
        QHeaderView* header = view().grid().horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
        const std::unique_ptr<QMimeData> rows(view().grid().rowDragData());
        const QPoint below = view().grid().visualItemRect(view().grid().item(3, 0)).center();
        QDragEnterEvent drag(below, Qt::MoveAction, rows.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view().grid().viewport(), &drag);
        if (drag.isAccepted())
            idleOnly << "drag";
        for (const auto& [menu, item] : {std::pair{"&File", "&New"},
                                         {"&View", "Sort by File &Name"},
                                         {"&View", "Sort by &Date Taken"},
                                         {"&View", "Sort by Order &Added"},
                                         {"&View", "Move &Up"},
                                         {"&View", "Move Do&wn"},
                                         {"&Options", "&Image Properties"},
                                         {"&Options", "&Ftp Settings"}}) {
            QAction* action = m_program.menuItem(menu, item);
            if (action->isEnabled())
                idleOnly << item;
            action->trigger();
        }
        m_program.prompter.nextFiles = {path("photos/extra.jpg")};
    };

    m_program.pressGenerate();

    QCOMPARE(idleOnly, QStringList());
    QCOMPARE(view().grid().GetRowCount(), 5);
    QCOMPARE(m_program.prompter.groupDialogs, 0);
    QCOMPARE(m_program.prompter.lastStartFolder, startFolder);
    QCOMPARE(files("thumbs").size(), 4);
    QCOMPARE(view().grid().GetCellText(4, 1), QStringLiteral("04.jpg"));
    QCOMPARE(view().grid().GetCellText(1, 1), QStringLiteral("01.jpg"));
    for (int row = 1; row <= 4; ++row)
        QCOMPARE(view().grid().GetCellText(row, 2), QStringLiteral("1"));
    QVERIFY(!view().grid().horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Ready"));
    // Everything answers again, and Cancel has nothing to stop.
    for (const char* id : {"1007", "1008", "1009", "3", "4"})
        QVERIFY(button(id)->isEnabled());
    QVERIFY(!button("1034")->isEnabled());
    QVERIFY(m_program.menuItem("&File", "&New")->isEnabled());
    QVERIFY(m_program.menuItem("&View", "Move &Up")->isEnabled());
}

void RunControlTest::cancelStopsAfterTheRowBeingWritten_data()
{
    QTest::addColumn<bool>("escape");

    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
}

void RunControlTest::cancelStopsAfterTheRowBeingWritten()
{
    QFETCH(bool, escape);
    startWithPictures();
    frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame()));
    whileRunning = [&] {
        if (escape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            QTest::mouseClick(button("1034"), Qt::LeftButton);
    };

    m_program.pressGenerate();

    QCOMPARE(frame().GetMessageText(), QStringLiteral("Cancelled: 1 of 4 pictures made."));
    QCOMPARE(files("thumbs"), QStringList({"01_t.jpg"}));
    QCOMPARE(files("images"), QStringList({"01.jpg"}));
    QCOMPARE(files("photos"), QStringList({"01.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"}));
    QCOMPARE(view().grid().GetCellText(2, 1), QStringLiteral("IMG_2.jpg"));
}

void RunControlTest::closingDuringARunAsksFirst_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("made");

    QTest::newRow("Yes stops it and closes") << Answer::Yes << 1;
    QTest::newRow("No keeps it running") << Answer::No << 4;
}

void RunControlTest::closingDuringARunAsksFirst()
{
    QFETCH(Answer, answer);
    QFETCH(int, made);
    startWithPictures();
    m_program.prompter.answers = {answer};
    whileRunning = [&] { frame().close(); };

    m_program.pressGenerate();

    QCOMPARE(m_program.prompter.messages,
             QStringList({"Morvane is still making or sending pictures.\nStop and close?"}));
    QCOMPARE(m_program.prompter.messageStyles, QList<MessageStyle>({MessageStyle::YesNoQuestion}));
    QTRY_COMPARE(frame().isVisible(), answer == Answer::No);
    QCOMPARE(files("images").size(), made);
}

// Against a server that takes a few kilobytes a second, Cancel ends the run at once rather
// than when the file is through, and takes away the part of it the server got.
void RunControlTest::cancelGivesUpTheFileBeingSent()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour slow;
    slow.readLimit = 2048;
    QVERIFY(server.start(FtpServer::Account(), {"thumbs", "images"}, slow));
    FtpSettings ftp = server.settings();
    ftp.ThumbnailFtpDir = "thumbs";
    ftp.ImageFtpDir = "/images";
    QVERIFY(ftp.save());
    startWithPictures(QSize(1200, 900), 100);
    m_program.press("4");
    // A large image is on its way, under a temporary name beside its own.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(server.homePath("images")).entryList(QDir::Files | QDir::Hidden).isEmpty(), 30000);
    QVERIFY(view().isRunning());

    QTest::mouseClick(button("1034"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!view().isRunning(), 5000);

    QVERIFY2(frame().GetMessageText().startsWith("Cancelled: "),
             qPrintable(frame().GetMessageText()));
    QVERIFY(m_program.prompter.messages.isEmpty());
    // Thumbnails go up whole or not at all, and no temporary file stays.
    for (const QString& name :
         QDir(server.homePath("thumbs")).entryList(QDir::Files | QDir::Hidden))
        QCOMPARE(read(server.homePath("thumbs/" + name)), read(path("thumbs/" + name)));
    QCOMPARE(QDir(server.homePath("images")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_MAIN(RunControlTest)
#include "tst_runcontrol.moc"
