#include "ModalSteps.h"
#include "ScriptedPrompter.h"

#include "dialogkit/DialogUnits.h"
#include "settings/gui/CImagePropertiesDlg.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
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
    // The thirteen web keys as written after the sixteen, those named set.
    static QByteArray webKeys(const QList<QByteArray>& set)
    {
        QByteArray lines;
        for (const char* key :
             {"ThumbWebp", "ThumbAvif", "ThumbDouble", "ThumbKeepRatio", "ThumbNoEnlarge",
              "LargeWebp", "LargeAvif", "LargeDouble", "LargeKeepRatio", "LargeNoEnlarge",
              "ProgressiveJpeg", "KeepCredits", "WriteMarkup", "WebSafeNames"})
            lines += key + QByteArray(set.contains(key) ? " = 1\n" : " = 0\n");
        return lines;
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
    void existingControlsKeepTheirPlace_data();
    void existingControlsKeepTheirPlace();
    void newControlsFitBesideTheOthers();
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
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
    whileModal(dialog, [&] {
        QCOMPARE(QApplication::focusWidget(), control<QPushButton>(dialog, 1));
        for (int id : {1001, 1007, 1009, 1015, 1017})
            QCOMPARE(edit(dialog, id)->text(), QString());
        for (int id : {1003, 1004, 1011, 1012})
            QCOMPARE(edit(dialog, id)->text(), QStringLiteral("0"));
        for (int id : {1005, 1006, 1013, 1014, 1033, 1034, 1035, 1036, 1037, 1038, 1040, 1041, 1042,
                       1043, 1044, 1046, 1047, 1048, 1049})
            QVERIFY(!control<QCheckBox>(dialog, id)->isChecked());
        for (int id : {1039, 1045})
            QCOMPARE(control<QLabel>(dialog, id)->text(), QStringLiteral("20"));
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
                                    "OriginalExtension = \n" +
                                    webKeys({})));
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

    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
    QCOMPARE(dialog.settings().thumbnail.Quality, inFile);
    whileModal(dialog, [&] {
        QCOMPARE(control<QSlider>(dialog, 1008)->value(), shown);
        QCOMPARE(control<QSlider>(dialog, 1016)->value(), shown);
        QCOMPARE(control<QLabel>(dialog, 1039)->text(), QString::number(shown));
        QCOMPARE(control<QLabel>(dialog, 1045)->text(), QString::number(shown));
        control<QSlider>(dialog, 1016)->setValue(42);
        QCOMPARE(control<QLabel>(dialog, 1045)->text(), QStringLiteral("42"));
        control<QSlider>(dialog, 1016)->setValue(shown);
        click(dialog, 1);
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));

    QCOMPARE(dialog.settings().thumbnail.Quality, shown);
    QCOMPARE(dialog.settings().large.Quality, shown);
    QVERIFY(readFile().contains(QStringLiteral("\nThumbQuality = %1\n").arg(shown).toUtf8()));
}

void ImagePropertiesTest::okSavesEveryField()
{
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
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
        for (int id : {1035, 1036, 1040, 1043, 1044, 1047, 1049})
            control<QCheckBox>(dialog, id)->setChecked(true);
        click(dialog, 1);
    });
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));

    QCOMPARE(readFile(), QByteArray("LargeExtension = \nLargeHeight = 600\nLargeQuality = 85\n"
                                    "LargeSaveDir = /site/images\nLargeUseHeight = 1\n"
                                    "LargeUseWidth = 1\nLargeWidth = 0\nThumbExtension = _t\n"
                                    "ThumbHeight = -3\nThumbQuality = 70\n"
                                    "ThumbSaveDir = /site/thumbs\nThumbUseHeight = 0\n"
                                    "ThumbUseWidth = 1\nThumbWidth = 160\n"
                                    "RenameOriginalFile = 1\nOriginalExtension = _orig\n" +
                                    webKeys({"ThumbAvif", "ThumbDouble", "LargeWebp",
                                             "LargeKeepRatio", "LargeNoEnlarge", "KeepCredits",
                                             "WebSafeNames"})));
    QCOMPARE(dialog.settings().thumbnail.Avif, 1);
    QCOMPARE(dialog.settings().large.NoEnlarge, 1);
    QCOMPARE(dialog.settings().ProgressiveJpeg, 0);
    QCOMPARE(dialog.settings().WebSafeNames, 1);
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

    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
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
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
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

    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
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
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
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

    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
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
                                  "1007", "1008", "1034", "1035", "1036", "1037", "1038",
                                  "1009", "1010", "1011", "1012", "1013", "1014", "1015",
                                  "1016", "1040", "1041", "1042", "1043", "1044", "2",
                                  "1033", "1017", "1049", "1046", "1047", "1048", "1"};
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
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
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Image Properties"));
    QCOMPARE(name(edit(dialog, 1001)), QStringLiteral("Save Directory"));
    QCOMPARE(name(edit(dialog, 1011)), QStringLiteral("Width"));
    QCOMPARE(name(edit(dialog, 1017)), QStringLiteral("Extension"));
    QCOMPARE(name(control<QSlider>(dialog, 1016)), QStringLiteral("JPEG Quality"));
    QCOMPARE(name(control<QCheckBox>(dialog, 1033)), QStringLiteral("Rename Original Image"));
    const std::pair<int, const char*> boxes[] = {{1034, "WebP"},
                                                 {1035, "AVIF"},
                                                 {1036, "2x version"},
                                                 {1037, "Keep proportions"},
                                                 {1038, "Never enlarge"},
                                                 {1040, "WebP"},
                                                 {1041, "AVIF"},
                                                 {1042, "2x version"},
                                                 {1043, "Keep proportions"},
                                                 {1044, "Never enlarge"},
                                                 {1046, "Progressive JPEG"},
                                                 {1047, "Keep artist and copyright"},
                                                 {1048, "Write HTML fragment"},
                                                 {1049, "Web-safe file names"}};
    for (const auto& [id, text] : boxes) {
        QCOMPARE(control<QCheckBox>(dialog, id)->text(), QString::fromUtf8(text));
        QCOMPARE(name(control<QCheckBox>(dialog, id)), QString::fromUtf8(text));
    }
    control<QSlider>(dialog, 1008)->setValue(70);
    QCOMPARE(name(control<QLabel>(dialog, 1039)), QStringLiteral("70"));
    QStringList titles;
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        titles << name(box);
    titles.sort();
    QCOMPARE(titles,
             (QStringList{"Image Properties", "Original Image Options", "Thumbnail Properties"}));
}

void ImagePropertiesTest::existingControlsKeepTheirPlace_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QRect>("place"); // in dialog units

    const std::pair<int, QRect> places[] = {
        {1001, {15, 32, 164, 14}},   {1002, {74, 18, 34, 12}},   {1003, {16, 63, 40, 14}},
        {1004, {16, 91, 40, 14}},    {1005, {68, 65, 49, 10}},   {1006, {67, 94, 51, 10}},
        {1007, {17, 123, 64, 14}},   {1008, {35, 156, 126, 24}}, {1009, {204, 32, 164, 14}},
        {1010, {263, 18, 34, 12}},   {1011, {205, 63, 40, 14}},  {1012, {205, 91, 40, 14}},
        {1013, {257, 65, 49, 10}},   {1014, {256, 94, 51, 10}},  {1015, {206, 123, 64, 14}},
        {1016, {224, 156, 126, 24}}, {1033, {25, 205, 89, 10}},  {1017, {176, 201, 64, 14}}};
    for (const auto& [id, place] : places)
        QTest::addRow("%d", id) << id << place;
}

// The web options take room of their own: every control that was there keeps its place.
void ImagePropertiesTest::existingControlsKeepTheirPlace()
{
    QFETCH(int, id);
    QFETCH(QRect, place);
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
    const DialogUnits units(dialog.font());
    const QRect expected = units.rect(place.x(), place.y(), place.width(), place.height());
    QWidget* widget = control<QWidget>(dialog, id);
    QCOMPARE(widget->pos(), expected.topLeft());
    QCOMPARE(widget->height(), expected.height());
    QVERIFY(widget->width() >= expected.width());
}

// Each new control lies inside its box and covers no other control, in the font the dialog
// really has; OK and Cancel stay at the dialog's foot, below everything else.
void ImagePropertiesTest::newControlsFitBesideTheOthers()
{
    ImageSettings settings;
    CImagePropertiesDlg dialog(settings, m_prompter);
    QGroupBox* thumbnailBox = nullptr;
    QGroupBox* largeBox = nullptr;
    QGroupBox* originalBox = nullptr;
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
        if (box->title() == u"Thumbnail Properties")
            thumbnailBox = box;
        else if (box->title() == u"Image Properties")
            largeBox = box;
        else if (box->title() == u"Original Image Options")
            originalBox = box;
    }
    QVERIFY(thumbnailBox && largeBox && originalBox);
    QList<QWidget*> others;
    for (QWidget* widget : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<QGroupBox*>(widget))
            others << widget;

    const auto placeOf = [](QWidget* widget) {
        return QRect(widget->pos(), QSize(std::max(widget->width(), widget->sizeHint().width()),
                                          widget->height()));
    };
    for (int id = 1034; id <= 1049; ++id) {
        QWidget* widget = control<QWidget>(dialog, id);
        const QRect place = placeOf(widget);
        const QRect box = id < 1040   ? thumbnailBox->geometry().adjusted(2, 2, -2, -2)
                          : id < 1046 ? largeBox->geometry().adjusted(2, 2, -2, -2)
                          : id < 1049 ? dialog.rect()
                                      : originalBox->geometry().adjusted(2, 2, -2, -2);
        QVERIFY2(box.contains(place), qPrintable(QString::number(id)));
        for (QWidget* other : others)
            QVERIFY2(other == widget || !place.intersects(placeOf(other)),
                     qPrintable(QStringLiteral("%1 covers %2").arg(id).arg(other->objectName())));
    }
    for (int button : {1, 2}) {
        QWidget* widget = control<QWidget>(dialog, button);
        for (QWidget* other : others)
            QVERIFY(other == widget || other->geometry().bottom() < widget->geometry().top() ||
                    other->objectName() == u"1" || other->objectName() == u"2");
        QVERIFY(widget->geometry().bottom() < dialog.height());
    }
}

QTEST_MAIN(ImagePropertiesTest)
#include "tst_imageproperties.moc"
