#include "RecordedStatus.h"
#include "ScriptedPrompter.h"
#include "TestHome.h"

#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
        m_prompter.nextFiles = paths;
        QTest::mouseClick(m_view->findChild<QPushButton*>("1007"), Qt::LeftButton);
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        CMSFlexGrid& grid = m_view->grid();
        const QRect cell = grid.visualItemRect(grid.item(row - 1, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    // The grid shows the list: one numbered row per entry, in order.
    void verifyGridMatchesList()
    {
        const CMSFlexGrid& grid = m_view->grid();
        QCOMPARE(grid.GetRowCount(), m_view->images().size() + 1);
        for (int row = 1; row < grid.GetRowCount(); ++row) {
            QCOMPARE(grid.GetCellText(row, 0), QString::number(row));
            QCOMPARE(grid.GetCellText(row, 1), m_view->images()[row - 1].GetFileName());
        }
    }

    QStringList fileNames() const
    {
        QStringList names;
        for (int i = 0; i < m_view->images().size(); ++i)
            names << m_view->images()[i].GetFileName();
        return names;
    }

    TestHome m_home;
    ScriptedPrompter m_prompter;
    RecordedStatus m_status;
    std::unique_ptr<CMorvaneView> m_view;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addsFilesAndRemembersTheirFolder();
    void skipsDuplicatesWithinAndAcrossCommands();
    void remembersFolderOfFirstFileReallyAdded();
    void removesRowRangeFromEitherEnd_data();
    void removesRowRangeFromEitherEnd();
    void removingLastRowLeavesHeader();
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
    m_prompter = ScriptedPrompter();
    m_view = std::make_unique<CMorvaneView>(m_prompter, m_status);
    m_view->OnInitialUpdate();
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void MorvaneViewTest::cleanup()
{
    m_view.reset();
}

void MorvaneViewTest::addsFilesAndRemembersTheirFolder()
{
    QSettings("Quarnel").setValue("CommonFilePath", "/start/");
    add({"/P/a.jpg", "/P/b.jpg"});
    QCOMPARE(m_prompter.lastStartFolder, QStringLiteral("/start/"));
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
    QTest::addColumn<QStringList>("left");

    QTest::newRow("top down") << 2 << 4 << QStringList({"1.jpg", "5.jpg"});
    QTest::newRow("bottom up") << 4 << 2 << QStringList({"1.jpg", "5.jpg"});
    QTest::newRow("one row") << 3 << 3 << QStringList({"1.jpg", "2.jpg", "4.jpg", "5.jpg"});
    QTest::newRow("all rows") << 5 << 1 << QStringList();
}

void MorvaneViewTest::removesRowRangeFromEitherEnd()
{
    QFETCH(int, firstClicked);
    QFETCH(int, shiftClicked);
    add({"/P/1.jpg", "/P/2.jpg", "/P/3.jpg", "/P/4.jpg", "/P/5.jpg"});
    clickRow(firstClicked);
    clickRow(shiftClicked, Qt::ShiftModifier);
    QCOMPARE(m_view->grid().GetRow(), shiftClicked);
    QCOMPARE(m_view->grid().GetSelEndRow(), firstClicked);

    m_view->OnRemove();
    QTEST(fileNames(), "left");
    verifyGridMatchesList();
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
    m_prompter.nextGroup = selection;
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
    m_prompter.nextGroup = std::nullopt;
    m_view->OnGroup();
    m_prompter.nextGroup = -1;
    m_view->OnGroup();
    QCOMPARE(m_prompter.groupDialogs, 2);
    QCOMPARE(m_view->grid().GetCellText(1, 2), QString());

    m_view->grid().setCurrentCell(-1, -1);
    m_prompter.nextGroup = 2;
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

// Outside the main window the view still tells its status and runs its status timer.
void MorvaneViewTest::bareViewWritesStatusAndPutsReadyBack()
{
    m_view->UploadImages();
    QCOMPARE(m_status.texts,
             (QStringList{"Generating Images...", "Ready", "Connecting to FTP Server...", "Ready",
                          "Uploading Images...", "Upload Complete"}));
    auto* statusTimer = m_view->findChild<QTimer*>("statusTimer");
    QVERIFY(statusTimer->isActive());
    QCOMPARE(statusTimer->interval(), 20000);
    QMetaObject::invokeMethod(statusTimer, "timeout");
    QCOMPARE(m_status.texts.last(), QStringLiteral("Ready"));
    QVERIFY(!statusTimer->isActive());
}

QTEST_MAIN(MorvaneViewTest)
#include "tst_morvaneview.moc"
