#include "ListGestures.h"
#include "TestHome.h"
#include "TestView.h"

#include "base/LocalPath.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstdio>

class MorvaneViewTest : public QObject
{
    Q_OBJECT

private:
    QString commonFilePath() const
    {
        return QSettings("Quarnel").value("CommonFilePath").toString();
    }

    void add(const QStringList& paths)
    {
        m_view.prompter.nextFiles = paths;
        QTest::mouseClick(m_view->findChild<QPushButton*>("1007"), Qt::LeftButton);
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ListGestures::clickRow(m_view->grid(), row, modifiers);
    }
    void selectRows(int first, int last) { ListGestures::selectRows(m_view->grid(), first, last); }
    // The grid shows the list: one numbered row per entry, in order.
    void verifyGridMatchesList() { QCOMPARE(ListGestures::gridMismatch(*m_view.get()), QString()); }

    // Drops the URLs onto the list as a file manager does; false when the list refused them.
    bool drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint middle = m_view->grid().viewport()->rect().center();
        return ListGestures::dropOnto(m_view->grid(), data, middle, Qt::CopyAction);
    }

    QStringList fileNames() const
    {
        QStringList names;
        for (int i = 0; i < m_view->images().size(); ++i)
            names << m_view->images()[i].GetFileName();
        return names;
    }

    TestHome m_home;
    TestView m_view;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addsFilesAndRemembersTheirFolder();
    void skipsDuplicatesWithinAndAcrossCommands();
    void remembersFolderOfFirstFileReallyAdded();
    void dropsFilesAsAddAddsThem_data();
    void dropsFilesAsAddAddsThem();
    void removesRowRangeFromEitherEnd_data();
    void removesRowRangeFromEitherEnd();
    void removingLastRowLeavesHeader();
    void deleteKeyRemovesOnlyFromTheList_data();
    void deleteKeyRemovesOnlyFromTheList();
    void removeWithoutDataRowStillRenumbers();
    void groupsSelectedRows_data();
    void groupsSelectedRows();
    void cancelledGroupChangesNothing();
    void initialUpdateEmptiesListButKeepsGroupNames();
    void bareViewWritesStatusAndPutsReadyBack();
};

void MorvaneViewTest::initTestCase()
{
    QVERIFY(m_home.enter());
}

void MorvaneViewTest::init()
{
    QSettings("Quarnel").clear();
    m_view.open();
    QVERIFY(m_view.show());
}

void MorvaneViewTest::cleanup()
{
    m_view.reset();
}

void MorvaneViewTest::addsFilesAndRemembersTheirFolder()
{
    QSettings("Quarnel").setValue("CommonFilePath", "/start/");
    add({"/P/a.jpg", "/P/b.jpg"});
    QCOMPARE(m_view.prompter.lastStartFolder, QStringLiteral("/start/"));
    const CMSFlexGrid& grid = m_view->grid();
    QCOMPARE(grid.GetRowCount(), 3);
    QCOMPARE(grid.GetCellText(0, 1), QStringLiteral("Image Files"));
    QCOMPARE(grid.GetCellText(0, 2), QStringLiteral("Group"));
    QCOMPARE(grid.GetCellText(1, 1), QStringLiteral("a.jpg"));
    QCOMPARE(grid.GetCellText(2, 1), QStringLiteral("b.jpg"));
    QCOMPARE(grid.GetCellText(2, 2), QString());
    QCOMPARE(commonFilePath(), QStringLiteral("/P/"));
    verifyGridMatchesList();
}

void MorvaneViewTest::skipsDuplicatesWithinAndAcrossCommands()
{
    add({"/P/a.jpg", "/P/a.jpg", "/P/b.jpg"});
    add({"/P/b.jpg", "/p/A.JPG"});
    QCOMPARE(fileNames(), QStringList({"a.jpg", "b.jpg", "A.JPG"}));
    verifyGridMatchesList();
}

void MorvaneViewTest::remembersFolderOfFirstFileReallyAdded()
{
    add({"/P/a.jpg"});
    add({"/P/a.jpg", "/Q/b.jpg"});
    QCOMPARE(commonFilePath(), QStringLiteral("/Q/"));
    add({"/P/a.jpg"});
    QCOMPARE(commonFilePath(), QStringLiteral("/Q/"));
    add({});
    QCOMPARE(commonFilePath(), QStringLiteral("/Q/"));
}

void MorvaneViewTest::removesRowRangeFromEitherEnd_data()
{
    QTest::addColumn<int>("firstClicked");
    QTest::addColumn<int>("shiftClicked");
    QTest::addColumn<bool>("byKey"); // the Delete key on the list instead of Remove
    QTest::addColumn<QStringList>("left");

    for (const bool byKey : {false, true}) {
        const char* how = byKey ? "Delete key" : "Remove";
        QTest::addRow("top down, %s", how) << 2 << 4 << byKey << QStringList({"1.jpg", "5.jpg"});
        QTest::addRow("bottom up, %s", how) << 4 << 2 << byKey << QStringList({"1.jpg", "5.jpg"});
        QTest::addRow("one row, %s", how)
            << 3 << 3 << byKey << QStringList({"1.jpg", "2.jpg", "4.jpg", "5.jpg"});
        QTest::addRow("all rows, %s", how) << 5 << 1 << byKey << QStringList();
    }
}

void MorvaneViewTest::removesRowRangeFromEitherEnd()
{
    QFETCH(int, firstClicked);
    QFETCH(int, shiftClicked);
    QFETCH(bool, byKey);
    add({"/P/1.jpg", "/P/2.jpg", "/P/3.jpg", "/P/4.jpg", "/P/5.jpg"});
    selectRows(firstClicked, shiftClicked);

    if (byKey)
        QTest::keyClick(&m_view->grid(), Qt::Key_Delete);
    else
        QTest::mouseClick(m_view->findChild<QPushButton*>("1008"), Qt::LeftButton);
    QTEST(fileNames(), "left");
    verifyGridMatchesList();
}

void MorvaneViewTest::deleteKeyRemovesOnlyFromTheList_data()
{
    QTest::addColumn<QString>("focus"); // object name of the control the key goes to
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QStringList>("left");

    const QStringList all{"1.jpg", "2.jpg", "3.jpg"};
    QTest::newRow("keypad Delete on the list")
        << QString() << Qt::KeyboardModifiers(Qt::KeypadModifier) << QStringList{"1.jpg"};
    QTest::newRow("Shift+Delete is Cut, which does nothing")
        << QString() << Qt::KeyboardModifiers(Qt::ShiftModifier) << all;
    QTest::newRow("Delete in a group-name box edits the text")
        << "1002" << Qt::KeyboardModifiers(Qt::NoModifier) << all;
}

void MorvaneViewTest::deleteKeyRemovesOnlyFromTheList()
{
    QFETCH(QString, focus);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    add({"/P/1.jpg", "/P/2.jpg", "/P/3.jpg"});
    selectRows(2, 3);
    QWidget* target = &m_view->grid();
    if (!focus.isEmpty())
        target = m_view->findChild<QWidget*>(focus);
    QTest::keyClick(target, Qt::Key_Delete, modifiers);
    QTEST(fileNames(), "left");
    verifyGridMatchesList();
}

void MorvaneViewTest::dropsFilesAsAddAddsThem_data()
{
    QTest::addColumn<QStringList>("dropped"); // below the test's home, or whole URLs
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("listed"); // the file names, after one listed by Add
    QTest::addColumn<QString>("remembered"); // the folder stored for the next Add

    const QString latin1 = pathFromLocal("lat\xedn.jpg");
    QTest::newRow("two files") << QStringList{"drop/b.jpg", "drop/c.jpg"} << true
                               << QStringList{"a.jpg", "b.jpg", "c.jpg"} << "%1/drop/";
    QTest::newRow("listed once") << QStringList{"drop/a.jpg", "other/c.jpg", "other/c.jpg",
                                                "drop/b.jpg"}
                                 << true << QStringList{"a.jpg", "c.jpg", "b.jpg"} << "%1/other/";
    QTest::newRow("folders, missing and remote files left out")
        << QStringList{"drop", "drop/gone.jpg", "https://example.org/d.jpg", "drop/b.jpg"} << true
        << QStringList{"a.jpg", "b.jpg"} << "%1/drop/";
    QTest::newRow("phone pictures")
        << QStringList{"drop/IMG_0001.HEIC", "drop/d.heif"} << true
        << QStringList{"a.jpg", "IMG_0001.HEIC", "d.heif"} << "%1/drop/";
    QTest::newRow("nothing to list") << QStringList{"other", "https://example.org/d.jpg"} << false
                                     << QStringList{"a.jpg"} << "/start/";
    QTest::newRow("name not valid utf-8")
        << QStringList{"drop/lat%EDn.jpg"} << true << QStringList{"a.jpg", latin1} << "%1/drop/";
}

void MorvaneViewTest::dropsFilesAsAddAddsThem()
{
    QFETCH(QStringList, dropped);
    QFETCH(QString, remembered);
    const QByteArray home = pathToLocal(m_home.path());
    QVERIFY(QDir(m_home.path()).mkpath("drop") && QDir(m_home.path()).mkpath("other"));
    for (const QByteArray name : {"drop/a.jpg", "drop/b.jpg", "drop/c.jpg", "other/c.jpg",
                                  "drop/lat\xedn.jpg", "drop/IMG_0001.HEIC", "drop/d.heif"}) {
        std::FILE* file = std::fopen(home + '/' + name, "w");
        QVERIFY(file);
        std::fclose(file);
    }
    // QDir cannot remove a name that is not valid UTF-8.
    const auto removeLatin1 = qScopeGuard([&] { std::remove(home + "/drop/lat\xedn.jpg"); });
    QVERIFY(m_view->grid().viewport()->acceptDrops());
    m_view.prompter.nextFiles = {m_home.filePath("drop/a.jpg")};
    m_view->OnAdd();
    QSettings("Quarnel").setValue("CommonFilePath", "/start/");

    QList<QUrl> urls;
    for (const QString& name : dropped)
        urls << QUrl(name.contains(':') ? name : "file://" + m_home.path() + '/' + name);
    QTEST(drop(urls), "accepted");
    QTEST(fileNames(), "listed");
    verifyGridMatchesList();
    QCOMPARE(commonFilePath(), remembered.replace("%1", m_home.path()));
}

void MorvaneViewTest::removingLastRowLeavesHeader()
{
    add({"/P/a.jpg"});
    clickRow(1);
    m_view->OnRemove();
    QCOMPARE(m_view->grid().GetRowCount(), 1);
    QVERIFY(m_view->images().isEmpty());
    QCOMPARE(m_view->grid().GetCellText(0, 1), QStringLiteral("Image Files"));
}

void MorvaneViewTest::removeWithoutDataRowStillRenumbers()
{
    m_view->OnRemove();
    QCOMPARE(m_view->grid().GetRowCount(), 1);
    add({"/P/a.jpg", "/P/b.jpg"});
    m_view->grid().SetCellText(2, 0, QStringLiteral("x"));
    m_view->grid().setCurrentCell(-1, -1);
    QCOMPARE(m_view->grid().GetRow(), 0);
    m_view->OnRemove();
    QCOMPARE(m_view->images().size(), 2);
    verifyGridMatchesList();
}

void MorvaneViewTest::groupsSelectedRows_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("cell");

    QTest::newRow("group 1") << 0 << "1";
    QTest::newRow("group 3") << 2 << "3";
    QTest::newRow("group 5") << 4 << "5";
    QTest::newRow("None") << 5 << "";
}

void MorvaneViewTest::groupsSelectedRows()
{
    QFETCH(int, selection);
    add({"/P/1.jpg", "/P/2.jpg", "/P/3.jpg", "/P/4.jpg"});
    for (int row = 1; row <= 4; ++row)
        m_view->grid().SetCellText(row, 2, QStringLiteral("2"));
    clickRow(3);
    clickRow(2, Qt::ShiftModifier);
    m_view.prompter.nextGroup = selection;
    QTest::mouseClick(m_view->findChild<QPushButton*>("1009"), Qt::LeftButton);
    QCOMPARE(m_view->grid().GetCellText(1, 2), QStringLiteral("2"));
    QTEST(m_view->grid().GetCellText(2, 2), "cell");
    QTEST(m_view->grid().GetCellText(3, 2), "cell");
    QCOMPARE(m_view->grid().GetCellText(4, 2), QStringLiteral("2"));
}

void MorvaneViewTest::cancelledGroupChangesNothing()
{
    add({"/P/1.jpg"});
    clickRow(1);
    m_view.prompter.nextGroup = std::nullopt;
    m_view->OnGroup();
    m_view.prompter.nextGroup = -1;
    m_view->OnGroup();
    QCOMPARE(m_view.prompter.groupDialogs, 2);
    QCOMPARE(m_view->grid().GetCellText(1, 2), QString());

    m_view->grid().setCurrentCell(-1, -1);
    m_view.prompter.nextGroup = 2;
    m_view->OnGroup();
    QCOMPARE(m_view->grid().GetCellText(1, 2), QString());
}

void MorvaneViewTest::initialUpdateEmptiesListButKeepsGroupNames()
{
    add({"/P/a.jpg", "/P/b.jpg"});
    auto* groupName = m_view->findChild<QLineEdit*>("1003");
    QTest::keyClicks(groupName, "beach");
    m_view->OnInitialUpdate();
    QCOMPARE(m_view->grid().GetRowCount(), 1);
    QVERIFY(m_view->images().isEmpty());
    QCOMPARE(m_view->grid().GetCellText(0, 2), QStringLiteral("Group"));
    QCOMPARE(groupName->text(), QStringLiteral("beach"));
}

// Outside the main window the view still tells its status, and its timer puts "Ready" back.
void MorvaneViewTest::bareViewWritesStatusAndPutsReadyBack()
{
    m_view->OnGenerate();
    QTRY_VERIFY(!m_view->isRunning());
    QCOMPARE(m_view.status.texts, (QStringList{"Generating Images...", "Nothing made."}));
    auto* statusTimer = m_view->findChild<QTimer*>("statusTimer");
    QCOMPARE(statusTimer->interval(), 20000);
    QMetaObject::invokeMethod(statusTimer, "timeout");
    QCOMPARE(m_view.status.texts.last(), QStringLiteral("Ready"));
    QVERIFY(!statusTimer->isActive());
}

QTEST_MAIN(MorvaneViewTest)
#include "tst_morvaneview.moc"
