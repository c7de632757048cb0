#include "PhotoPictures.h"
#include "RunningProgram.h"
#include "TestHome.h"
#include "TestPictures.h"

#include "settings/ImageSettings.h"
#include "view/CSelectGroupDlg.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
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

    QAction* viewMenuItem(const QString& text)
    {
        for (QAction* menu : frame().menuBar()->actions()) {
            if (menu->text() != u"&View")
                continue;
            for (QAction* action : menu->menu()->actions())
                if (action->text() == text)
                    return action;
        }
        qFatal("no View menu item %s", qPrintable(text));
    }

    // The pictures top to bottom, as paths below the home where they are; the grid shows
    // the same rows, numbered from 1.
    QStringList listed()
    {
        QStringList paths;
        if (grid().GetRowCount() != view().images().size() + 1)
            return {"grid and list differ in length"};
        for (int row = 1; row < grid().GetRowCount(); ++row) {
            const ImageEntry& entry = view().images()[row - 1];
            if (grid().GetCellText(row, 0) != QString::number(row) ||
                grid().GetCellText(row, 1) != entry.GetFileName())
                return {QStringLiteral("row %1 differs").arg(row)};
            paths << QDir(m_home.path()).relativeFilePath(entry.GetFullPath());
        }
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
        const QRect cell = grid().visualItemRect(grid().item(row - 1, 0));
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, modifiers, cell.center());
    }
    // Clicks the first row, then Shift+clicks the other, as a user selects a range.
    void selectRows(int clicked, int shiftClicked)
    {
        clickRow(clicked);
        clickRow(shiftClicked, Qt::ShiftModifier);
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

    // Drags mimeData over the list and drops it at the point; false when the list refused it.
    bool drop(QMimeData* data, QPoint position)
    {
        QWidget* list = grid().viewport();
        QDragEnterEvent enter(position, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(position, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &move);
        QDropEvent dropped(position, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list, &dropped);
        return dropped.isAccepted() && dropped.dropAction() == Qt::MoveAction;
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

    void groupKeysSetTheSelectedRowsGroup_data();
    void groupKeysSetTheSelectedRowsGroup();
    void selectGroupShowsTheNamesAsTyped();
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

QTEST_MAIN(ListCommandsTest)
#include "tst_listcommands.moc"
