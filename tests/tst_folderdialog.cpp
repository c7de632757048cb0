#include "ModalSteps.h"
#include "ScriptedPrompter.h"

#include "settings/gui/CFolderDialog.h"
#include "settings/gui/ConfirmFolder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

class FolderDialogTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    static QLineEdit* edit(const CFolderDialog& dialog)
    {
        return dialog.findChild<QLineEdit*>(QStringLiteral("14148"));
    }
    static QPushButton* okButton(const CFolderDialog& dialog)
    {
        return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    }

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;

private slots:
    void initTestCase();
    void init();

    void confirmsFolder_data();
    void confirmsFolder();
    void okFollowsEditText();
    void treeSelectionFillsEdit();
    void selectsInitialFolder_data();
    void selectsInitialFolder();
    void keepsInitialFolderInSight();
    void cutsTextTo259Characters();
    void staysOpenUntilPathIsConfirmed();
    void cancelReturnsMinusOne();
};

void FolderDialogTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir("existing"));
    QFile file(path("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void FolderDialogTest::init()
{
    m_prompter = ScriptedPrompter();
}

void FolderDialogTest::confirmsFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("existsAfter");

    const auto question = [](const QString& folder) {
        return "The folder:\n\n" + folder +
               "\n\ndoes not exist. Do you want the folder to be created?";
    };
    const QString missing = path("new/level");
    const QString blocked = path("file/level");

    QTest::newRow("existing folder")
        << path("existing") << QList<Answer>{} << 0 << QStringList{} << true;
    QTest::newRow("existing file") << path("file") << QList<Answer>{} << 0 << QStringList{} << true;
    QTest::newRow("root") << "/" << QList<Answer>{} << 0 << QStringList{} << true;
    QTest::newRow("malformed") << "relative/path" << QList<Answer>{} << 1
                               << QStringList{"The folder:\n\nrelative/path\n\nis invalid. "
                                              "Please reenter."}
                               << false;
    QTest::newRow("declined") << missing << QList<Answer>{Answer::No} << -1
                              << QStringList{question(missing)} << false;
    QTest::newRow("created") << missing << QList<Answer>{Answer::Yes} << 0
                             << QStringList{question(missing)} << true;
    QTest::newRow("cannot be created")
        << blocked << QList<Answer>{Answer::Yes} << 2
        << QStringList{question(blocked),
                       "The folder:\n\n" + blocked + "\n\ncan not be created. Please double check."}
        << false;
}

void FolderDialogTest::confirmsFolder()
{
    QFETCH(QString, folder);
    QFETCH(QList<Answer>, answers);
    QFETCH(int, code);
    QFETCH(QStringList, messages);
    QFETCH(bool, existsAfter);

    m_prompter.answers = answers;
    QCOMPARE(ConfirmFolder(folder, m_prompter), code);
    QCOMPARE(m_prompter.messages, messages);
    if (!messages.isEmpty()) {
        QCOMPARE(m_prompter.messageStyles.first(),
                 code == 1 ? MessageStyle::Warning : MessageStyle::YesNoQuestion);
        QCOMPARE(m_prompter.messageStyles.last(),
                 code > 0 ? MessageStyle::Warning : MessageStyle::YesNoQuestion);
    }
    QCOMPARE(QFileInfo::exists(folder), existsAfter);
    QDir(path("new")).removeRecursively();
}

void FolderDialogTest::okFollowsEditText()
{
    CFolderDialog dialog("Caption", "Instruction", QString(), m_prompter);
    QVERIFY(!okButton(dialog)->isEnabled());
    QTest::keyClick(edit(dialog), Qt::Key_Slash);
    QVERIFY(okButton(dialog)->isEnabled());
    QTest::keyClick(edit(dialog), Qt::Key_Backspace);
    QVERIFY(!okButton(dialog)->isEnabled());
}

void FolderDialogTest::treeSelectionFillsEdit()
{
    CFolderDialog dialog("Caption", "Instruction", QString(), m_prompter);
    auto* tree = dialog.findChild<QTreeView*>();
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    tree->setCurrentIndex(model->index(path("existing")));
    QCOMPARE(edit(dialog)->text(), path("existing"));
    QVERIFY(okButton(dialog)->isEnabled());
}

void FolderDialogTest::selectsInitialFolder_data()
{
    QTest::addColumn<std::optional<QString>>("initialFolder");
    QTest::addColumn<QString>("selected");

    QTest::newRow("given") << std::optional<QString>(path("existing")) << path("existing");
    QTest::newRow("none: the working directory") << std::optional<QString>() << m_dir.path();
    QTest::newRow("relative") << std::optional<QString>("existing") << path("existing");
    QTest::newRow("empty") << std::optional<QString>("") << "";
    QTest::newRow("missing") << std::optional<QString>(path("missing")) << "";
}

void FolderDialogTest::selectsInitialFolder()
{
    QFETCH(std::optional<QString>, initialFolder);
    QFETCH(QString, selected);

    CFolderDialog dialog("Caption", "Instruction", initialFolder, m_prompter);
    auto* tree = dialog.findChild<QTreeView*>();
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    QCOMPARE(edit(dialog)->text(), selected);
    QCOMPARE(tree->currentIndex().isValid() ? model->filePath(tree->currentIndex()) : QString(),
             selected);
    QCOMPARE(okButton(dialog)->isEnabled(), !selected.isEmpty());
}

void FolderDialogTest::keepsInitialFolderInSight()
{
    QDir many(path("many"));
    QVERIFY(many.mkpath("."));
    for (int i = 0; i < 120; ++i)
        QVERIFY(many.mkdir(QStringLiteral("d%1").arg(i, 3, 10, QChar(u'0'))));

    CFolderDialog dialog("Caption", "Instruction", many.filePath("d100"), m_prompter);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* tree = dialog.findChild<QTreeView*>();
    // Loading and sorting the siblings happens in the background and moves the row.
    QTRY_VERIFY_WITH_TIMEOUT(tree->model()->rowCount(tree->currentIndex().parent()) == 120, 5000);
    QTRY_VERIFY(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
    QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("d100"));
}

void FolderDialogTest::cutsTextTo259Characters()
{
    const QString typed = path(QString(120, u'a') + "/" + QString(200, u'b'));
    const QString kept = typed.left(259);
    m_prompter.answers = {Answer::Yes};

    CFolderDialog dialog("Caption", "Instruction", QString(), m_prompter);
    edit(dialog)->setText(typed);
    okButton(dialog)->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetPath(), kept);
    QVERIFY(m_prompter.messages.first().contains("\n\n" + kept + "\n\n"));
    QVERIFY(QFileInfo(kept).isDir());
}

void FolderDialogTest::staysOpenUntilPathIsConfirmed()
{
    const QString wanted = path("made/here");
    m_prompter.answers = {Answer::No, Answer::Yes};
    CFolderDialog dialog("Select it", "Where to", path("existing"), m_prompter);

    whileModal(dialog, [&] {
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select it"));
        QLineEdit* box = edit(dialog);
        for (const QString& attempt : {QStringLiteral("not/absolute"), wanted}) {
            box->setText(attempt);
            okButton(dialog)->setFocus();
            okButton(dialog)->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(QApplication::focusWidget(), box);
            QCOMPARE(box->text(), attempt);
        }
        okButton(dialog)->click(); // now agreed to
    });
    QCOMPARE(dialog.DoModal(), 1);

    QCOMPARE(dialog.GetPath(), wanted);
    QVERIFY(QFileInfo(wanted).isDir());
    QCOMPARE(m_prompter.messages.size(), 3); // invalid, declined, agreed
}

void FolderDialogTest::cancelReturnsMinusOne()
{
    CFolderDialog dialog("Caption", "Instruction", path("existing"), m_prompter);
    whileModal(dialog, [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(dialog.DoModal(), -1);
    QVERIFY(m_prompter.messages.isEmpty());
}

QTEST_MAIN(FolderDialogTest)
#include "tst_folderdialog.moc"
