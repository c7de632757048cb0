#include "LanguageSamples.h"
#include "RunningProgram.h"
#include "TestHome.h"

#include "app/CAboutDlg.h"
#include "base/ReadyText.h"
#include "base/Translations.h"
#include "settings/gui/CImagePropertiesDlg.h"
#include "upload/gui/CFtpSettingsDlg.h"
#include "view/CSelectGroupDlg.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>

namespace {

// The key of an accelerator ("&File" gives f), none where the text has no single "&".
std::optional<QChar> accelerator(const QString& text)
{
    const qsizetype at =
        QString(text).replace(QLatin1String("&&"), QLatin1String("__")).indexOf(u'&');
    if (at < 0 || at + 1 >= text.size())
        return std::nullopt;
    return text[at + 1].toLower();
}

// Texts whose accelerator another of them has too.
QStringList sharedAccelerators(const QStringList& texts)
{
    QStringList shared;
    QHash<QChar, QString> taken;
    for (const QString& text : texts) {
        const std::optional<QChar> key = accelerator(text);
        if (!key)
            continue;
        if (taken.contains(*key))
            shared << taken[*key] + QStringLiteral(" / ") + text;
        taken.insert(*key, text);
    }
    return shared;
}

QString plain(QString text)
{
    return text.remove(u'&');
}

// Where a control's text lands, as wide as it needs, aligned in the control's box; the box
// itself for a control without text. Empty for group boxes, which only frame others.
QRect drawnRect(QWidget* control)
{
    if (qobject_cast<QGroupBox*>(control))
        return {};
    Qt::Alignment alignment = Qt::AlignLeft;
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty())
            return {};
        alignment = label->alignment() & Qt::AlignHorizontal_Mask;
    } else if (!qobject_cast<QCheckBox*>(control)) {
        return control->geometry();
    }
    return QStyle::alignedRect(Qt::LeftToRight, alignment | Qt::AlignVCenter,
                               QSize(control->sizeHint().width(), control->height()),
                               control->geometry());
}

// Controls of a dialog whose text is cut off: a button or group box too narrow for it, or a
// text running past the dialog's edge or into another control.
QStringList cutTexts(QWidget& dialog)
{
    QStringList cut;
    const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            const QString text = plain(button->text());
            if (button->fontMetrics().horizontalAdvance(text) + 8 > button->width())
                cut << text;
        } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
            if (box->fontMetrics().horizontalAdvance(box->title()) + 16 > box->width())
                cut << box->title();
        }
        const QRect drawn = drawnRect(control);
        if (drawn.isEmpty() || !control->isVisibleTo(&dialog))
            continue;
        const QString name = control->property("text").toString();
        if (drawn.left() < 0 || drawn.right() >= dialog.width())
            cut << name;
        for (QWidget* other : controls)
            if (other != control && other->isVisibleTo(&dialog) &&
                drawn.intersects(drawnRect(other)))
                cut << name;
    }
    return cut;
}

} // namespace

// The window in each language: its menus, buttons and dialogs.
class WindowLanguagesTest : public QObject
{
    Q_OBJECT

private:
    TestHome m_home;
    RunningProgram m_program;

private slots:
    void initTestCase() { QVERIFY(m_home.enter()); }
    void cleanup()
    {
        m_program.quit();
        installTranslations(QLocale::c());
    }

    void showsItsTextsInTheLanguage_data();
    void showsItsTextsInTheLanguage();
    void menusKeepTheirAcceleratorsApart_data();
    void menusKeepTheirAcceleratorsApart();
    void dialogsShowTheirTextsWhole_data();
    void dialogsShowTheirTextsWhole();
};

void WindowLanguagesTest::showsItsTextsInTheLanguage_data()
{
    languageRows({"fileMenu", "add", "imageProperties", "yes"},
                 {{"&File", "Add", "Image Properties", "&Yes"},
                  {"&Datei", "Hinzufügen", "Bildeigenschaften", "&Ja"},
                  {"&Fichier", "Ajouter", "Propriétés de l'image", "&Oui"},
                  {"&Archivo", "Añadir", "Propiedades de imagen", "&Sí"}});
}

void WindowLanguagesTest::showsItsTextsInTheLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, fileMenu);
    QFETCH(QString, add);
    QFETCH(QString, imageProperties);
    QFETCH(QString, yes);
    const QString language = installTranslations(QLocale(locale));
    QVERIFY(m_program.start());
    QCOMPARE(m_program.frame().menuBar()->actions().value(0)->text(), fileMenu);
    QCOMPARE(m_program.view().findChild<QPushButton*>(QStringLiteral("1007"))->text(), add);
    QCOMPARE(m_program.view().imageProperties().windowTitle(), imageProperties);
    // The status bar's idle text comes from the core, in the same language.
    QCOMPARE(m_program.frame().GetMessageText(), readyText());

    // The standard buttons are Qt's, translated where Debian's Qt translations are installed.
    const bool qtTranslated = !language.isEmpty() &&
                              QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                                QStringLiteral("/qtbase_%1.qm").arg(language));
    const QMessageBox box(QMessageBox::Question, {}, {}, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), qtTranslated ? yes : QStringLiteral("&Yes"));
}

void WindowLanguagesTest::menusKeepTheirAcceleratorsApart_data()
{
    QTest::addColumn<QString>("locale");
    for (const Language& language : shippedLanguages)
        QTest::newRow(language.tag) << QString::fromLatin1(language.locale);
}

void WindowLanguagesTest::menusKeepTheirAcceleratorsApart()
{
    QFETCH(QString, locale);
    installTranslations(QLocale(locale));
    QVERIFY(m_program.start());
    QStringList titles;
    for (QAction* title : m_program.frame().menuBar()->actions()) {
        titles << title->text();
        QVERIFY2(accelerator(title->text()), qPrintable(title->text()));
        QStringList items;
        for (QAction* item : title->menu()->actions())
            if (!item->isSeparator()) {
                QVERIFY2(accelerator(item->text()), qPrintable(item->text()));
                items << item->text();
            }
        QCOMPARE(sharedAccelerators(items), QStringList());
    }
    QCOMPARE(sharedAccelerators(titles), QStringList());
}

void WindowLanguagesTest::dialogsShowTheirTextsWhole_data()
{
    menusKeepTheirAcceleratorsApart_data();
}

void WindowLanguagesTest::dialogsShowTheirTextsWhole()
{
    QFETCH(QString, locale);
    installTranslations(QLocale(locale));
    QVERIFY(m_program.start());
    CAboutDlg about;
    CSelectGroupDlg selectGroup({QStringLiteral("beach")});
    QWidget* dialogs[] = {&m_program.view().imageProperties(), &m_program.view().ftpSettings(),
                          &about, &selectGroup};
    for (QWidget* dialog : dialogs) {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QStringList cut = cutTexts(*dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(dialog->windowTitle() + QStringLiteral(": ") +
                                           cut.join(QStringLiteral(", "))));
        dialog->hide();
    }
}

QTEST_MAIN(WindowLanguagesTest)
#include "tst_windowlanguages.moc"
