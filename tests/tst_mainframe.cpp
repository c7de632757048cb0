#include "RunningProgram.h"
#include "TestHome.h"

#include "app/WindowPlacement.h"
#include "settings/gui/CImagePropertiesDlg.h"
#include "upload/gui/CFtpSettingsDlg.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class MainFrameTest : public QObject
{
    Q_OBJECT

private:
    CMainFrame& frame() { return m_program.frame(); }
    CMorvaneView& view() { return m_program.view(); }

    void addTwoPictures()
    {
        m_program.add({"/P/a.jpg", "/P/b.jpg"});
        QCOMPARE(view().grid().GetRowCount(), 3);
    }

    TestHome m_home;
    RunningProgram m_program;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsReadyAtTheFormsSizeAndGrows();
    void placesTheWindowOnTheScreen_data();
    void placesTheWindowOnTheScreen();
    void remembersItsPlaceBetweenSessions();
    void startsWithTheFilesItIsGivenAsAddAddsThem();
    void showsMenuPromptsThenReady_data();
    void showsMenuPromptsThenReady();
    void newAndOpenRerunInitialUpdate_data();
    void newAndOpenRerunInitialUpdate();
    void saveKeepsCaptionAndList();
    void formTabOrderFollowsTemplate();
    void controlsAreNamedByTheirText();
    void aboutBoxClosesWithEscape();
    void optionsMenuOpensTheViewsDialogs_data();
    void optionsMenuOpensTheViewsDialogs();
};

void MainFrameTest::initTestCase()
{
    QVERIFY(m_home.enter());
}

void MainFrameTest::init()
{
    // Each test opens the window where it opens the first time.
    QSettings("Quarnel").remove("MainWindowGeometry");
    QVERIFY(m_program.start());
}

void MainFrameTest::cleanup()
{
    m_program.quit();
}

void MainFrameTest::startsWithTheFilesItIsGivenAsAddAddsThem()
{
    m_program.quit();
    QSettings("Quarnel").setValue("CommonFilePath", "/start/");
    QVERIFY(m_program.start({"/P/a.jpg", "/Q/b.jpg", "/P/a.jpg"}));
    QCOMPARE(view().grid().GetRowCount(), 3);
    QCOMPARE(view().grid().GetCellText(1, 1), QStringLiteral("a.jpg"));
    QCOMPARE(view().grid().GetCellText(2, 1), QStringLiteral("b.jpg"));
    QCOMPARE(view().images()[1].GetFullPath(), QStringLiteral("/Q/b.jpg"));
    QCOMPARE(QSettings("Quarnel").value("CommonFilePath").toString(), QStringLiteral("/P/"));
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Ready"));

    // Add goes on from there, as after an Add of its own.
    m_program.add({"/Q/b.jpg", "/R/c.jpg"});
    QCOMPARE(m_program.prompter.lastStartFolder, QStringLiteral("/P/"));
    QCOMPARE(view().grid().GetRowCount(), 4);
}

// The form's own size where the screen has room for it; the list and the preview take what
// the window grows by, and the group names keep their width.
void MainFrameTest::startsReadyAtTheFormsSizeAndGrows()
{
    QCOMPARE(frame().windowTitle(), QStringLiteral("Morvane"));
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Ready"));
    QCOMPARE(frame().maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QVERIFY(frame().minimumSizeHint().height() < view().sizeHint().height());
    const QRect available = frame().screen()->availableGeometry();
    QCOMPARE(frame().size(), frame().sizeHint().boundedTo(available.size()));
    QVERIFY(available.contains(frame().geometry()));

    auto* grid = view().findChild<QWidget*>("1001");
    auto* preview = view().findChild<QWidget*>("1032")->parentWidget();
    auto* groupName = view().findChild<QWidget*>("1002")->parentWidget();
    const QSize gridBefore = grid->size();
    const QSize previewBefore = preview->size();
    const int groupNameWidth = groupName->width();
    frame().resize(frame().size() + QSize(300, 200));
    QTRY_VERIFY(grid->width() >= gridBefore.width() + 300);
    QVERIFY(grid->height() > gridBefore.height());
    QVERIFY(preview->height() > previewBefore.height());
    QCOMPARE(preview->width(), preview->height());
    QCOMPARE(groupName->width(), groupNameWidth);

    frame().showMaximized();
    QTRY_VERIFY(frame().isMaximized());
}

void MainFrameTest::placesTheWindowOnTheScreen_data()
{
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QMargins>("frameMargins");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("placed");

    const QMargins titleBar(0, 30, 0, 0);
    QTest::newRow("fits, centred") << QSize(786, 610) << QSize(400, 300) << titleBar
                                   << QRect(0, 0, 1920, 1040) << QRect(567, 230, 786, 610);
    // A scale factor of 2 on a 1080p screen: the status bar must stay on the screen.
    QTest::newRow("too tall at scale 2") << QSize(1572, 1220) << QSize(800, 600) << titleBar
                                         << QRect(0, 0, 1920, 1040) << QRect(174, 30, 1572, 1010);
    QTest::newRow("too wide and tall") << QSize(3000, 2000) << QSize(400, 300) << QMargins()
                                       << QRect(100, 50, 1280, 720) << QRect(100, 50, 1280, 720);
    QTest::newRow("smaller than its least") << QSize(786, 610) << QSize(700, 500) << titleBar
                                            << QRect(0, 0, 640, 480) << QRect(0, 30, 700, 500);
}

void MainFrameTest::placesTheWindowOnTheScreen()
{
    QFETCH(QSize, wanted);
    QFETCH(QSize, minimum);
    QFETCH(QMargins, frameMargins);
    QFETCH(QRect, available);
    QTEST(initialWindowGeometry(wanted, minimum, frameMargins, available), "placed");
}

void MainFrameTest::remembersItsPlaceBetweenSessions()
{
    const QRect moved(QPoint(60, 50), frame().minimumSizeHint() + QSize(40, 30));
    frame().setGeometry(moved);
    QTRY_COMPARE(frame().geometry(), moved);
    QVERIFY(frame().close());
    m_program.quit();

    QVERIFY(m_program.start());
    QCOMPARE(frame().geometry(), moved);
}

void MainFrameTest::showsMenuPromptsThenReady_data()
{
    QTest::addColumn<QString>("menuTitle");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("prompt");

    QTest::newRow("New") << "&File"
                         << "&New"
                         << "Create a new document";
    QTest::newRow("Exit") << "&File"
                          << "E&xit"
                          << "Quit the application; prompts to save documents";
    const std::tuple<const char*, const char*> viewItems[] = {
        {"Sort by File &Name", "Sort the list by file name."},
        {"Sort by &Date Taken", "Sort the list by the date the pictures were taken."},
        {"Sort by Order &Added", "Put the list back in the order the pictures were added."},
        {"Move &Up", "Move the selected pictures up one row."},
        {"Move Do&wn", "Move the selected pictures down one row."}};
    for (const auto& [item, prompt] : viewItems)
        QTest::addRow("%s", item) << "&View" << item << prompt;
    QTest::newRow("Image Properties") << "&Options"
                                      << "&Image Properties"
                                      << "Modify the image save settings.";
    QTest::newRow("Ftp Settings") << "&Options"
                                  << "&Ftp Settings"
                                  << "Modify the FTP settings.";
}

void MainFrameTest::showsMenuPromptsThenReady()
{
    QFETCH(QString, menuTitle);
    QFETCH(QString, item);
    frame().SetMessageText(QStringLiteral("Upload Complete"));
    QMenu* shown = m_program.menu(menuTitle);
    QVERIFY(shown);
    shown->popup(frame().mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    for (QAction* action : shown->actions()) {
        if (action->text() == item)
            shown->setActiveAction(action);
    }
    QTEST(frame().GetMessageText(), "prompt");
    shown->hide();
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Ready"));
}

void MainFrameTest::newAndOpenRerunInitialUpdate_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("chosenDocument");
    QTest::addColumn<int>("rowsAfter");

    QTest::newRow("Ctrl+N") << QKeySequence(Qt::CTRL | Qt::Key_N) << "" << 1;
    QTest::newRow("Ctrl+O with a file") << QKeySequence(Qt::CTRL | Qt::Key_O) << "/any/file" << 1;
    QTest::newRow("Ctrl+O cancelled") << QKeySequence(Qt::CTRL | Qt::Key_O) << "" << 3;
}

void MainFrameTest::newAndOpenRerunInitialUpdate()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, chosenDocument);
    addTwoPictures();
    m_program.prompter.nextDocument = chosenDocument;
    QTest::keySequence(&frame(), keys);
    QTEST(view().grid().GetRowCount(), "rowsAfter");
    QCOMPARE(view().images().size(), view().grid().GetRowCount() - 1);
    QCOMPARE(frame().windowTitle(), QStringLiteral("Morvane"));
}

void MainFrameTest::saveKeepsCaptionAndList()
{
    addTwoPictures();
    QTest::keySequence(&frame(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(view().grid().GetRowCount(), 3);
    QCOMPARE(frame().windowTitle(), QStringLiteral("Morvane"));
    QVERIFY(QDir(m_home.path()).entryList(QDir::Files).isEmpty());
}

void MainFrameTest::formTabOrderFollowsTemplate()
{
    const QStringList expected = {"1002", "1003", "1004", "1005", "1006", "1007",
                                  "1008", "1009", "3",    "4",    "1001"};
    QWidget* widget = view().findChild<QWidget*>("1002");
    QStringList order;
    for (int i = 0; i < expected.size(); ++i) {
        order << widget->objectName();
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible() ||
               !widget->isEnabled() || widget->objectName().isEmpty())
            widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void MainFrameTest::controlsAreNamedByTheirText()
{
    const auto name = [](QObject* object) {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    };
    QCOMPARE(name(view().findChild<QPushButton*>("4")), QStringLiteral("Generate / Upload"));
    QCOMPARE(name(view().findChild<QWidget*>("1004")), QStringLiteral("Group 3 Text"));
    const QList<QGroupBox*> boxes = view().findChildren<QGroupBox*>();
    QStringList titles;
    for (QGroupBox* box : boxes)
        titles << name(box);
    QVERIFY(titles.contains("Images"));
    QVERIFY(titles.contains("Group 5 Text"));

    addTwoPictures();
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&view().grid());
    QCOMPARE(grid->role(), QAccessible::Table);
    QAccessibleTableInterface* table = grid->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("b.jpg"));
}

void MainFrameTest::aboutBoxClosesWithEscape()
{
    QTimer::singleShot(0, this, [] {
        QWidget* about = QApplication::activeModalWidget();
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("About Quarnel"));
        QStringList texts;
        for (const QLabel* label : about->findChildren<QLabel*>())
            texts << label->text();
        QVERIFY2(texts.contains(QStringLiteral("Version " MORVANE_VERSION)),
                 qPrintable(texts.join(u'|')));
        QTest::keyClick(about, Qt::Key_Escape);
    });
    m_program.app().OnAppAbout();
    QVERIFY(!QApplication::activeModalWidget());
}

void MainFrameTest::optionsMenuOpensTheViewsDialogs_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Image Properties") << "&Image Properties"
                                      << "Image Properties";
    QTest::newRow("Ftp Settings") << "&Ftp Settings"
                                  << "FTP Settings";
}

void MainFrameTest::optionsMenuOpensTheViewsDialogs()
{
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QWidget* expected = caption == "FTP Settings" ? static_cast<QWidget*>(&view().ftpSettings())
                                                  : &view().imageProperties();
    QTimer::singleShot(0, this, [=] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        QCOMPARE(dialog, expected);
        QCOMPARE(dialog->windowTitle(), caption);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QAction* action = m_program.menuItem("&Options", item);
    QVERIFY(action);
    action->trigger();
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(MainFrameTest)
#include "tst_mainframe.moc"
