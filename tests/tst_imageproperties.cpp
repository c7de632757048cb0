#include "ModalSteps.h"
#include "ScriptedPrompter.h"

#include "settings/gui/CImagePropertiesDlg.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

class ImagePropertiesTest : public QObject
{
    Q_OBJECT

private:
    static void writeFile(const QByteArray& content)
    {
        QFile file(ImageSettings::fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the settings file");
        file.write(content);
    }
    static QByteArray readFile()
    {
        QFile file(ImageSettings::fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template <class T> static T* control(const QDialog& dialog, int id)
    {
        T* widget = dialog.findChild<T*>(QString::number(id));
        if (!widget)
            qFatal("no control %d", id);
        return widget;
    }
    static QLineEdit* edit(const QDialog& dialog, int id) { return control<QLineEdit>(dialog, id); }
    static void click(const QDialog& dialog, int id) { control<QPushButton>(dialog, id)->click(); }

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;

private slots:
    void initTestCase();
    void init();

    void firstOpeningShowsDefaults();
    void showsQualityWithinSliderRange_data();
    void showsQualityWithinSliderRange();
    void okSavesEveryField();
    void cancelReloadsFile_data();
    void cancelReloadsFile();
    void cancelWithoutFileKeepsBrowseResult();
    void browseTakesChosenFolder_data();
    void browseTakesChosenFolder();
    void cancelledBrowseKeepsOtherEdits();
    void refusedIntegerStopsOkAndBrowse_data();
    void refusedIntegerStopsOkAndBrowse();
    void tabOrderFollowsTemplate();
    void controlsAreNamedByTheirText();
};

void ImagePropertiesTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void ImagePropertiesTest::init()
{
    m_prompter = ScriptedPrompter();
    QFile::remove(ImageSettings::fileName);
}

void ImagePropertiesTest::firstOpeningShowsDefaults()
{
    CImagePropertiesDlg dialog(m_prompter);
    whileModal(dialog, [&] {
        QCOMPARE(QApplication::focusWidget(), control<QPushButton>(dialog, 1));
        for (int id : {1001, 1007, 1009, 1015, 1017})
            QCOMPARE(edit(dialog, id)->text(), QString());
        for (int id : {1003, 1004, 1011, 1012})
            QCOMPARE(edit(dialog, id)->text(), QStringLiteral("0"));
        for (int id : {1005, 1006, 1013, 1014, 1033})
            QVERIFY(!control<QCheckBox>(dialog, id)->isChecked());
        for (int id : {1008, 1016}) {
            auto* slider = control<QSlider>(dialog, id);
            QCOMPARE(slider->value(), 20);
            QCOMPARE(slider->minimum(), 20);
            QCOMPARE(slider->maximum(), 100);
            QCOMPARE(slider->tickInterval(), 10);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));

    QCOMPARE(readFile(), QByteArray("LargeExtension = \nLargeHeight = 0\nLargeQuality = 20\n"
                                    "LargeSaveDir = \nLargeUseHeight = 0\nLargeUseWidth = 0\n"
                                    "LargeWidth = 0\nThumbExtension = \nThumbHeight = 0\n"
                                    "ThumbQuality = 20\nThumbSaveDir = \nThumbUseHeight = 0\n"
                                    "ThumbUseWidth = 0\nThumbWidth = 0\nRenameOriginalFile = 0\n"
                                    "OriginalExtension = \nWebSafeNames = 0\n"));
}

void ImagePropertiesTest::showsQualityWithinSliderRange_data()
{
    QTest::addColumn<int>("inFile");
    QTest::addColumn<int>("shown");

    QTest::newRow("below the range") << 0 << 20;
    QTest::newRow("negative") << -5 << 20;
    QTest::newRow("inside") << 85 << 85;
    QTest::newRow("above the range") << 150 << 100;
}

void ImagePropertiesTest::showsQualityWithinSliderRange()
{
    QFETCH(int, inFile);
    QFETCH(int, shown);
    writeFile(QStringLiteral("ThumbQuality = %1\nLargeQuality = %1\n").arg(inFile).toUtf8());

    CImagePropertiesDlg dialog(m_prompter);
    QCOMPARE(dialog.settings().thumbnail.Quality, inFile);
    whileModal(dialog, [&] {
        QCOMPARE(control<QSlider>(dialog, 1008)->value(), shown);
        QCOMPARE(control<QSlider>(dialog, 1016)->value(), shown);
        click(dialog, 1);
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));

    QCOMPARE(dialog.settings().thumbnail.Quality, shown);
    QCOMPARE(dialog.settings().large.Quality, shown);
    QVERIFY(readFile().contains(QStringLiteral("\nThumbQuality = %1\n").arg(shown).toUtf8()));
}

void ImagePropertiesTest::okSavesEveryField()
{
    CImagePropertiesDlg dialog(m_prompter);
    whileModal(dialog, [&] {
        edit(dialog, 1001)->setText("/site/thumbs");
        edit(dialog, 1003)->setText(" 160\t");
        edit(dialog, 1004)->setText("-3");
        control<QCheckBox>(dialog, 1005)->setChecked(true);
        edit(dialog, 1007)->setText("_t");
        control<QSlider>(dialog, 1008)->setValue(70);
        edit(dialog, 1009)->setText("/site/images");
        edit(dialog, 1012)->setText("600");
        control<QCheckBox>(dialog, 1013)->setChecked(true);
        control<QCheckBox>(dialog, 1014)->setChecked(true);
        control<QSlider>(dialog, 1016)->setValue(85);
        control<QCheckBox>(dialog, 1033)->setChecked(true);
        edit(dialog, 1017)->setText("_orig");
        click(dialog, 1);
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));

    QCOMPARE(readFile(), QByteArray("LargeExtension = \nLargeHeight = 600\nLargeQuality = 85\n"
                                    "LargeSaveDir = /site/images\nLargeUseHeight = 1\n"
                                    "LargeUseWidth = 1\nLargeWidth = 0\nThumbExtension = _t\n"
                                    "ThumbHeight = -3\nThumbQuality = 70\n"
                                    "ThumbSaveDir = /site/thumbs\nThumbUseHeight = 0\n"
                                    "ThumbUseWidth = 1\nThumbWidth = 160\n"
                                    "RenameOriginalFile = 1\nOriginalExtension = _orig\n"
                                    "WebSafeNames = 0\n"));
    QCOMPARE(dialog.settings().thumbnail.Width, 160);
    QCOMPARE(dialog.settings().OriginalExtension, QStringLiteral("_orig"));
}

void ImagePropertiesTest::cancelReloadsFile_data()
{
    QTest::addColumn<bool>("closeBox"); // else the Escape key

    QTest::newRow("Escape") << false;
    QTest::newRow("close box") << true;
}

void ImagePropertiesTest::cancelReloadsFile()
{
    QFETCH(bool, closeBox);
    const QByteArray content = "ThumbSaveDir = /kept\nThumbWidth = 120\n";
    writeFile(content);
    m_prompter.nextFolder = QStringLiteral("/chosen");

    CImagePropertiesDlg dialog(m_prompter);
    whileModal(dialog, [&] {
        edit(dialog, 1003)->setText("999");
        click(dialog, 1002);
        QCOMPARE(edit(dialog, 1001)->text(), QStringLiteral("/chosen"));
        if (closeBox)
            dialog.close();
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));

    QCOMPARE(dialog.settings().thumbnail.SaveDir, QStringLiteral("/kept"));
    QCOMPARE(dialog.settings().thumbnail.Width, 120);
    QCOMPARE(edit(dialog, 1003)->text(), QStringLiteral("120"));
    QCOMPARE(readFile(), content);
}

void ImagePropertiesTest::cancelWithoutFileKeepsBrowseResult()
{
    m_prompter.nextFolder = QStringLiteral("/chosen");
    CImagePropertiesDlg dialog(m_prompter);
    whileModal(dialog, [&] {
        click(dialog, 1010);
        click(dialog, 2);
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));

    QCOMPARE(dialog.settings().large.SaveDir, QStringLiteral("/chosen"));
    QVERIFY(!QFile::exists(ImageSettings::fileName));
}

void ImagePropertiesTest::browseTakesChosenFolder_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("saveDirBox");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("instruction");
    QTest::addColumn<QString>("initialFolder");

    QTest::newRow("thumbnail") << 1002 << 1001 << "Select the directory for the thumb images."
                               << "Thumb Image Directory"
                               << "/old/thumbs";
    QTest::newRow("large") << 1010 << 1009 << "Select the directory for the large images."
                           << "Large Image Directory"
                           << "/old/images";
}

void ImagePropertiesTest::browseTakesChosenFolder()
{
    QFETCH(int, button);
    QFETCH(int, saveDirBox);
    QFETCH(QString, caption);
    QFETCH(QString, instruction);
    QFETCH(QString, initialFolder);
    writeFile("ThumbSaveDir = /old/thumbs\nLargeSaveDir = /old/images\n");
    m_prompter.nextFolder = QStringLiteral("/new/folder");

    CImagePropertiesDlg dialog(m_prompter);
    whileModal(dialog, [&] {
        click(dialog, button);
        QCOMPARE(edit(dialog, saveDirBox)->text(), QStringLiteral("/new/folder"));
        click(dialog, 1);
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));

    QCOMPARE(m_prompter.folderDialogs, (QList<QStringList>{{caption, instruction, initialFolder}}));
    QVERIFY(readFile().contains("SaveDir = /new/folder\n"));
    QVERIFY(readFile().contains("SaveDir = /old/"));
}

void ImagePropertiesTest::cancelledBrowseKeepsOtherEdits()
{
    writeFile("ThumbSaveDir = /old/thumbs\n");
    CImagePropertiesDlg dialog(m_prompter);
    whileModal(dialog, [&] {
        edit(dialog, 1001)->setText("/typed");
        edit(dialog, 1017)->setText("_o");
        control<QCheckBox>(dialog, 1005)->setChecked(true);
        click(dialog, 1002);
        QCOMPARE(m_prompter.folderDialogs.size(), 1);
        QCOMPARE(m_prompter.folderDialogs.first().last(), QStringLiteral("/typed"));
        QCOMPARE(edit(dialog, 1001)->text(), QStringLiteral("/typed"));
        QCOMPARE(edit(dialog, 1017)->text(), QStringLiteral("_o"));
        QVERIFY(control<QCheckBox>(dialog, 1005)->isChecked());
    });
    dialog.DoModal();
}

void ImagePropertiesTest::refusedIntegerStopsOkAndBrowse_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("OK") << 1;
    QTest::newRow("thumbnail Browse") << 1002;
    QTest::newRow("large Browse") << 1010;
}

void ImagePropertiesTest::refusedIntegerStopsOkAndBrowse()
{
    QFETCH(int, button);
    m_prompter.nextFolder = QStringLiteral("/chosen");

    CImagePropertiesDlg dialog(m_prompter);
    whileModal(dialog, [&] {
        edit(dialog, 1017)->setText("_o"); // after the refused box in the exchange
        edit(dialog, 1011)->setText("12a");
        click(dialog, button);
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_prompter.messages, QStringList{"Please enter an integer."});
        QCOMPARE(QApplication::focusWidget(), edit(dialog, 1011));
        QCOMPARE(edit(dialog, 1011)->selectedText(), QStringLiteral("12a"));
        QCOMPARE(edit(dialog, 1017)->text(), QStringLiteral("_o"));
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));

    QVERIFY(m_prompter.folderDialogs.isEmpty());
    QVERIFY(!QFile::exists(ImageSettings::fileName));
}

void ImagePropertiesTest::tabOrderFollowsTemplate()
{
    const QStringList expected = {"1",    "1001", "1002", "1003", "1004", "1005", "1006",
                                  "1007", "1008", "1009", "1010", "1011", "1012", "1013",
                                  "1014", "1015", "1016", "2",    "1033", "1017", "1"};
    CImagePropertiesDlg dialog(m_prompter);
    dialog.show();
    QWidget* widget = control<QPushButton>(dialog, 1);
    QStringList order;
    for (int i = 0; i < expected.size(); ++i) {
        order << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || widget->objectName().isEmpty());
    }
    QCOMPARE(order, expected);
}

void ImagePropertiesTest::controlsAreNamedByTheirText()
{
    const auto name = [](QObject* object) {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    };
    CImagePropertiesDlg dialog(m_prompter);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Image Properties"));
    QCOMPARE(name(edit(dialog, 1001)), QStringLiteral("Save Directory"));
    QCOMPARE(name(edit(dialog, 1011)), QStringLiteral("Width"));
    QCOMPARE(name(edit(dialog, 1017)), QStringLiteral("Extension"));
    QCOMPARE(name(control<QSlider>(dialog, 1016)), QStringLiteral("JPEG Quality"));
    QCOMPARE(name(control<QCheckBox>(dialog, 1033)), QStringLiteral("Rename Original Image"));
    QStringList titles;
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        titles << name(box);
    titles.sort();
    QCOMPARE(titles,
             (QStringList{"Image Properties", "Original Image Options", "Thumbnail Properties"}));
}

QTEST_MAIN(ImagePropertiesTest)
#include "tst_imageproperties.moc"
