#include "ListGestures.h"
#include "PhotoPictures.h"
#include "RunningProgram.h"
#include "TestHome.h"
#include "TestPictures.h"

#include "settings/ImageSettings.h"
#include "view/CSelectGroupDlg.h"
#include "view/RowReader.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <memory>

using namespace PhotoPictures;

// Putting the list in order and grouping its rows, as a user does it in the window: the
// View menu, the header, Ctrl+Up and Ctrl+Down, dragging rows, and the group keys.
class ListCommandsTest : public QObject
{
    Q_OBJECT

private:
    CMainFrame& frame() { return m_program.frame(); }
    CMorvaneView& view() { return m_program.view(); }
    CMSFlexGrid& grid() { return view().grid(); }
    QString path(const QString& name) const { return m_home.filePath(name); }

    QAction* viewMenuItem(const QString& text) { return m_program.menuItem("&View", text); }

    // The pictures top to bottom, as paths below the home where they are; the grid shows
    // the same rows, numbered from 1.
    QStringList listed()
    {
        if (const QString mismatch = ListGestures::gridMismatch(view()); !mismatch.isEmpty())
            return {mismatch};
        QStringList paths;
        for (int i = 0; i < view().images().size(); ++i)
            paths << QDir(m_home.path()).relativeFilePath(view().images()[i].GetFullPath());
        return paths;
    }

    // The group cells, top to bottom.
    QStringList groups()
    {
        QStringList cells;
        for (int row = 1; row < grid().GetRowCount(); ++row)
            cells << grid().GetCellText(row, 2);
        return cells;
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ListGestures::clickRow(grid(), row, modifiers);
    }
    void selectRows(int clicked, int shiftClicked)
    {
        ListGestures::selectRows(grid(), clicked, shiftClicked);
    }
    std::pair<int, int> selection()
    {
        const int current = grid().GetRow();
        const int other = grid().GetSelEndRow();
        return {std::min(current, other), std::max(current, other)};
    }

    // Five pictures named 1.jpg to 5.jpg, with no files behind them.
    void addFive()
    {
        m_program.add({path("1.jpg"), path("2.jpg"), path("3.jpg"), path("4.jpg"), path("5.jpg")});
        QCOMPARE(listed(), QStringList({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}));
    }

    // Gives the window the focus, and the list the keyboard.
    void focusList()
    {
        frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame()));
        grid().setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(grid().hasFocus(), 5000);
    }

    // Four photographs and a phone picture, added in this order: two of one name from two
    // cards, two without a date whose files were changed on other days, and a HEIC.
    void addDatedPictures()
    {
        QVERIFY(QDir(m_home.path()).mkpath("a") && QDir(m_home.path()).mkpath("b"));
        const auto dated = [](const char* date) {
            ExifBlock exif;
            exif.dateTaken(date);
            return withExif(quartersJpeg(32, 24), exif);
        };
        ExifBlock phone;
        phone.orientation(6).dateTaken("2022:08:01 09:00:00");
        const QList<std::pair<QString, QByteArray>> files = {
            {"b/DSC_0001.jpg", dated("2022:08:01 12:00:00")},
            {"IMG_10.jpg", quartersJpeg(32, 24)},
            {"phone.heic", heicWithExif(*quarters(32, 24), heif_orientation_rotate_90_cw, phone)},
            {"a/DSC_0001.jpg", dated("2022:08:01 12:00:00")},
            {"IMG_9.jpg", quartersJpeg(32, 24)},
        };
        QStringList paths;
        for (const auto& [name, bytes] : files) {
            QVERIFY(TestPictures::write(path(name), bytes));
            paths << path(name);
        }
        // The undated ones follow the others by when their files were changed.
        for (const auto& [name, day] : {std::pair{"IMG_9.jpg", 1}, {"IMG_10.jpg", 2}}) {
            QFile file(path(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime(QDate(2021, 1, day), QTime(12, 0), Qt::UTC),
                                     QFileDevice::FileModificationTime));
        }
        m_program.add(paths);
    }

    TestHome m_home;
    RunningProgram m_program;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sortsFromTheViewMenu_data();
    void sortsFromTheViewMenu();
    void headerSortsByNameThenTheOtherWay();
    void ctrlUpAndDownMoveTheSelectedRows_data();
    void ctrlUpAndDownMoveTheSelectedRows();
    void moveKeysActOnlyInTheList();
    void dragsTheSelectedRowsToAnotherPlace_data();
    void dragsTheSelectedRowsToAnotherPlace();
    void refusesRowsDraggedFromAnotherList();
    void groupKeysSetTheSelectedRowsGroup_data();
    void groupKeysSetTheSelectedRowsGroup();
    void selectGroupShowsTheNamesAsTyped();
    void generateNumbersInTheListsOrder();
};

void ListCommandsTest::initTestCase()
{
    QVERIFY(m_home.enter());
}

void ListCommandsTest::init()
{
    for (const QString& entry :
         QDir(m_home.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry != u"config" && entry != u"data")
            QVERIFY(QFileInfo(path(entry)).isDir() ? QDir(path(entry)).removeRecursively()
                                                   : QFile::remove(path(entry)));
    }
    QVERIFY(m_program.start());
}

void ListCommandsTest::cleanup()
{
    m_program.quit();
}

void ListCommandsTest::sortsFromTheViewMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("file name") << "Sort by File &Name"
                               << QStringList{"a/DSC_0001.jpg", "b/DSC_0001.jpg", "IMG_9.jpg",
                                              "IMG_10.jpg", "phone.heic"};
    // Pictures of one date by name, then by folder; those without one by their files' times.
    QTest::newRow("date taken") << "Sort by &Date Taken"
                                << QStringList{"phone.heic", "a/DSC_0001.jpg", "b/DSC_0001.jpg",
                                               "IMG_9.jpg", "IMG_10.jpg"};
    QTest::newRow("order added") << "Sort by Order &Added"
                                 << QStringList{"b/DSC_0001.jpg", "IMG_10.jpg", "phone.heic",
                                                "a/DSC_0001.jpg", "IMG_9.jpg"};
}

// Straight after adding, before their facts have come in, and the groups, the notes and the
// current row go with the pictures.
void ListCommandsTest::sortsFromTheViewMenu()
{
    QFETCH(QString, item);
    QFETCH(QStringList, sorted);
    addDatedPictures();
    const QStringList added = listed();
    // Away from the order added, so going back to it moves rows too.
    QVERIFY(view().images().size() == 5);
    selectRows(1, 2);
    focusList();
    QTest::keyClick(&grid(), Qt::Key_Down, Qt::ControlModifier);
    QHash<QString, QString> groupOf;
    for (int row = 1; row <= 5; ++row) {
        grid().SetCellText(row, 2, QString::number(row));
        groupOf.insert(listed()[row - 1], QString::number(row));
    }
    const int noted = int(listed().indexOf("IMG_10.jpg")) + 1;
    grid().addRowNote(noted, QStringLiteral("Cut off"));
    clickRow(noted);

    viewMenuItem(item)->trigger();

    QCOMPARE(listed(), sorted);
    for (int row = 1; row <= 5; ++row) {
        QCOMPARE(grid().GetCellText(row, 2), groupOf.value(sorted[row - 1]));
        QCOMPARE(grid().rowNote(row), sorted[row - 1] == u"IMG_10.jpg" ? "Cut off" : "");
    }
    QCOMPARE(selection(), std::pair(int(sorted.indexOf("IMG_10.jpg")) + 1,
                                    int(sorted.indexOf("IMG_10.jpg")) + 1));
    // Sorting again changes nothing.
    viewMenuItem(item)->trigger();
    QCOMPARE(listed(), sorted);
}

void ListCommandsTest::headerSortsByNameThenTheOtherWay()
{
    m_program.add({path("b/IMG_10.jpg"), path("a/img_2.jpg"), path("c/IMG_1.jpg")});
    QHeaderView* header = grid().horizontalHeader();
    const auto clickHeader = [header](int section) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, Qt::NoModifier,
            QPoint(header->sectionViewportPosition(section) + 10, header->height() / 2));
    };
    QVERIFY(!header->isSortIndicatorShown());

    clickHeader(0);
    QCOMPARE(listed(), QStringList({"c/IMG_1.jpg", "a/img_2.jpg", "b/IMG_10.jpg"}));
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    clickHeader(0);
    QCOMPARE(listed(), QStringList({"b/IMG_10.jpg", "a/img_2.jpg", "c/IMG_1.jpg"}));
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // "Group" sorts nothing, and the indicator stays where it was.
    clickHeader(1);
    QCOMPARE(listed(), QStringList({"b/IMG_10.jpg", "a/img_2.jpg", "c/IMG_1.jpg"}));
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(0);
    QCOMPARE(listed(), QStringList({"c/IMG_1.jpg", "a/img_2.jpg", "b/IMG_10.jpg"}));
    // Pictures added after sorting stand at the end, out of the name's order.
    m_program.add({path("a/IMG_0.jpg")});
    QVERIFY(!header->isSortIndicatorShown());
    clickHeader(0);
    QCOMPARE(listed().first(), QStringLiteral("a/IMG_0.jpg"));
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
}

void ListCommandsTest::ctrlUpAndDownMoveTheSelectedRows_data()
{
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("shiftClicked");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("first"); // the selection afterwards
    QTest::addColumn<int>("last");

    const QList<int> down{Qt::Key_Down};
    const QList<int> up{Qt::Key_Up};
    QTest::newRow("two rows down")
        << 2 << 3 << down << QStringList{"1", "4", "2", "3", "5"} << 3 << 4;
    QTest::newRow("down twice") << 2 << 3 << (down + down) << QStringList{"1", "4", "5", "2", "3"}
                                << 4 << 5;
    QTest::newRow("not past the bottom")
        << 4 << 5 << down << QStringList{"1", "2", "3", "4", "5"} << 4 << 5;
    QTest::newRow("one row up") << 3 << 3 << up << QStringList{"1", "3", "2", "4", "5"} << 2 << 2;
    QTest::newRow("selected from below, up")
        << 5 << 3 << up << QStringList{"1", "3", "4", "5", "2"} << 2 << 4;
    QTest::newRow("not past the top")
        << 1 << 2 << up << QStringList{"1", "2", "3", "4", "5"} << 1 << 2;
    QTest::newRow("down and back up")
        << 1 << 1 << (down + down + up) << QStringList{"2", "1", "3", "4", "5"} << 2 << 2;
}

void ListCommandsTest::ctrlUpAndDownMoveTheSelectedRows()
{
    QFETCH(int, clicked);
    QFETCH(int, shiftClicked);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, order);
    addFive();
    selectRows(clicked, shiftClicked);
    focusList();

    for (const int key : keys)
        QTest::keyClick(&grid(), Qt::Key(key), Qt::ControlModifier);

    for (QString& name : order)
        name += ".jpg";
    QCOMPARE(listed(), order);
    QTEST(selection().first, "first");
    QTEST(selection().second, "last");
    QCOMPARE(viewMenuItem("Move &Up")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Up));
    QCOMPARE(viewMenuItem("Move Do&wn")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Down));
}

// Like Delete and the group keys, only while the list has the keyboard.
void ListCommandsTest::moveKeysActOnlyInTheList()
{
    addFive();
    selectRows(2, 2);
    focusList();
    QWidget* groupName = m_program.groupName(1);
    groupName->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(groupName->hasFocus(), 5000);
    QTest::keyClick(groupName, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(listed(), QStringList({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}));
    // The menu moves them wherever the keyboard is.
    viewMenuItem("Move Do&wn")->trigger();
    QCOMPARE(listed(), QStringList({"1.jpg", "3.jpg", "2.jpg", "4.jpg", "5.jpg"}));
}

void ListCommandsTest::dragsTheSelectedRowsToAnotherPlace_data()
{
    QTest::addColumn<int>("onRow"); // 0: below the last row
    QTest::addColumn<bool>("lowerHalf");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("first"); // the selection afterwards
    QTest::addColumn<int>("last");

    QTest::newRow("after a row") << 5 << true << QStringList{"1", "4", "5", "2", "3"} << 4 << 5;
    QTest::newRow("before a row") << 5 << false << QStringList{"1", "4", "2", "3", "5"} << 3 << 4;
    QTest::newRow("to the top") << 1 << false << QStringList{"2", "3", "1", "4", "5"} << 1 << 2;
    QTest::newRow("below the last row")
        << 0 << false << QStringList{"1", "4", "5", "2", "3"} << 4 << 5;
    QTest::newRow("onto themselves") << 3 << true << QStringList{"1", "2", "3", "4", "5"} << 2 << 3;
    QTest::newRow("just below themselves")
        << 4 << false << QStringList{"1", "2", "3", "4", "5"} << 2 << 3;
}

void ListCommandsTest::dragsTheSelectedRowsToAnotherPlace()
{
    QFETCH(int, onRow);
    QFETCH(bool, lowerHalf);
    QFETCH(QStringList, order);
    addFive();
    selectRows(2, 3);

    QPoint position;
    if (onRow == 0) {
        const QRect last = grid().visualItemRect(grid().item(4, 0));
        position = QPoint(last.center().x(), last.bottom() + 5);
        QVERIFY(grid().viewport()->rect().contains(position));
    } else {
        const QRect cell = grid().visualItemRect(grid().item(onRow - 1, 0));
        position = QPoint(cell.center().x(), lowerHalf ? cell.bottom() - cell.height() / 4
                                                       : cell.top() + cell.height() / 4);
    }
    const std::unique_ptr<QMimeData> data(grid().rowDragData());
    QVERIFY(ListGestures::dropOnto(grid(), *data, position, Qt::MoveAction));

    for (QString& name : order)
        name += ".jpg";
    QCOMPARE(listed(), order);
    QTEST(selection().first, "first");
    QTEST(selection().second, "last");
}

// Rows of another list, of another window or program, are not moved here.
void ListCommandsTest::refusesRowsDraggedFromAnotherList()
{
    addFive();
    selectRows(2, 3);
    CMSFlexGrid other(3);
    const std::unique_ptr<QMimeData> data(other.rowDragData());
    const QPoint position = grid().visualItemRect(grid().item(4, 0)).center();
    QVERIFY(!ListGestures::dropOnto(grid(), *data, position, Qt::MoveAction));
    QCOMPARE(listed(), QStringList({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}));
}

void ListCommandsTest::groupKeysSetTheSelectedRowsGroup_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("inGroupName"); // the key goes to group 1's name box instead
    QTest::addColumn<QStringList>("groups");

    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("1") << int(Qt::Key_1) << none << false << QStringList{"4", "1", "1", "4"};
    QTest::newRow("5") << int(Qt::Key_5) << none << false << QStringList{"4", "5", "5", "4"};
    QTest::newRow("0 clears") << int(Qt::Key_0) << none << false << QStringList{"4", "", "", "4"};
    QTest::newRow("keypad 3") << int(Qt::Key_3) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                              << false << QStringList{"4", "3", "3", "4"};
    QTest::newRow("6 is no group")
        << int(Qt::Key_6) << none << false << QStringList{"4", "4", "4", "4"};
    QTest::newRow("Alt+2") << int(Qt::Key_2) << Qt::KeyboardModifiers(Qt::AltModifier) << false
                           << QStringList{"4", "4", "4", "4"};
    QTest::newRow("typing a group name")
        << int(Qt::Key_2) << none << true << QStringList{"4", "4", "4", "4"};
}

void ListCommandsTest::groupKeysSetTheSelectedRowsGroup()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, inGroupName);
    m_program.add({path("1.jpg"), path("2.jpg"), path("3.jpg"), path("4.jpg")});
    for (int row = 1; row <= 4; ++row)
        grid().SetCellText(row, 2, "4");
    selectRows(3, 2);

    const char text = char(key - Qt::Key_0 + '0');
    QWidget* target = inGroupName ? static_cast<QWidget*>(m_program.groupName(1)) : &grid();
    QTest::keyClick(target, Qt::Key(key), modifiers);

    QTEST(groups(), "groups");
    if (inGroupName)
        QCOMPARE(m_program.groupName(1)->text(), QString(QLatin1Char(text)));
}

void ListCommandsTest::selectGroupShowsTheNamesAsTyped()
{
    m_program.add({path("1.jpg")});
    clickRow(1);
    // Typed, not yet taken into the view.
    QTest::keyClicks(m_program.groupName(1), "beach");
    // What the keys of a French keyboard type, which QTest cannot press.
    m_program.groupName(3)->insert(QString::fromUtf8("Été à Paris"));
    m_program.prompter.nextGroup = 2;
    m_program.press("1009");
    QCOMPARE(m_program.prompter.lastGroupNames,
             QStringList({"beach", "", QString::fromUtf8("Été à Paris"), "", ""}));
    QCOMPARE(groups(), QStringList{"3"});

    CSelectGroupDlg dialog(m_program.prompter.lastGroupNames);
    auto* combo = dialog.findChild<QComboBox*>("1000");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items,
             QStringList({"1 beach", "2", QString::fromUtf8("3 Été à Paris"), "4", "5", "None"}));
    QCOMPARE(combo->currentIndex(), 0);
    // A screen reader reads the item chosen, name and all.
    QCOMPARE(QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Value),
             QStringLiteral("1 beach"));
}

// The numbers of a group follow the list as sorted and moved, not the order added.
void ListCommandsTest::generateNumbersInTheListsOrder()
{
    m_program.quit();
    for (const char* folder : {"photos", "thumbs", "images"})
        QVERIFY(QDir(m_home.path()).mkpath(folder));
    ImageSettings settings;
    settings.thumbnail = {path("thumbs"), 16, 0, 1, 0, 70, "_t"};
    settings.large = {path("images"), 0, 24, 0, 1, 85, ""};
    settings.RenameOriginalFile = 1;
    QVERIFY(settings.save());
    QVERIFY(m_program.start());
    // Told apart by their widths.
    const QList<std::pair<QString, int>> photos = {{"c.jpg", 96}, {"a.jpg", 64}, {"b.jpg", 80}};
    QStringList paths;
    for (const auto& [name, width] : photos) {
        QVERIFY(TestPictures::write(path("photos/" + name), TestPictures::jpeg(QSize(width, 48))));
        paths << path("photos/" + name);
    }
    m_program.add(paths);
    for (int row = 1; row <= 3; ++row)
        m_program.setGroup(row, "1");
    QTest::keyClicks(m_program.groupName(1), "walk");

    viewMenuItem("Sort by File &Name")->trigger();
    selectRows(3, 3);
    focusList();
    QTest::keyClick(&grid(), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(listed(), QStringList({"photos/a.jpg", "photos/c.jpg", "photos/b.jpg"}));
    m_program.pressGenerate();

    QCOMPARE(listed(),
             QStringList({"photos/walk01.jpg", "photos/walk02.jpg", "photos/walk03.jpg"}));
    QCOMPARE(TestPictures::jpegSize(path("photos/walk01.jpg")), QSize(64, 48));
    QCOMPARE(TestPictures::jpegSize(path("photos/walk02.jpg")), QSize(96, 48));
    QCOMPARE(TestPictures::jpegSize(path("photos/walk03.jpg")), QSize(80, 48));
    QCOMPARE(TestPictures::jpegSize(path("images/walk02.jpg")), QSize(48, 24));
    // The renamed rows tell their new paths, and get their pictures under them.
    QTRY_VERIFY_WITH_TIMEOUT(view().rowReader().isIdle(), 10000);
    for (int row = 1; row <= 3; ++row) {
        QVERIFY(grid().rowDetails(row).startsWith(path("photos/walk0%1.jpg").arg(row)));
        QVERIFY(!grid().rowPicture(row).isNull());
    }
}

QTEST_MAIN(ListCommandsTest)
#include "tst_listcommands.moc"
