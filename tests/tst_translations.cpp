#include "LanguageSamples.h"

#include "base/ErrorText.h"
#include "base/ReadyText.h"
#include "base/Translations.h"
#include "publish/PublishResult.h"
#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// One message of a .ts file: its source and each form of its translation.
struct Message
{
    QString context;
    QString source;
    QStringList translations;
};

QList<Message> readMessages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QString context;
    bool numerus = false;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            numerus = xml.attributes().value(QLatin1String("numerus")) == u"yes";
            messages.append({context, {}, {}});
        } else if (xml.name() == u"source") {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !numerus) {
            messages.last().translations << xml.readElementText();
        } else if (xml.name() == u"numerusform") {
            messages.last().translations << xml.readElementText();
        }
    }
    return messages;
}

// The placeholders a text fills: %1 to %99 and %n, %L1 counted as %1.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%L?(\\d+|n)"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found << match.captured(1);
    found.sort();
    return found;
}

GeneratedImages cancelledRun(int made, int toMake)
{
    GeneratedImages generated;
    generated.picturesMade = made;
    generated.picturesToMake = toMake;
    generated.stopped = true;
    return generated;
}

QString statusAfter(const GeneratedImages& generated)
{
    return PublishResult{generated, std::nullopt}.statusText();
}

} // namespace

// The program in each language it ships, and in English where the locale is C.
class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        installTranslations(QLocale::c());
        QLocale::setDefault(QLocale::c());
    }

    void loadsTheLanguageOfTheLocale_data();
    void loadsTheLanguageOfTheLocale();
    void statusTextsOfTheCore_data();
    void statusTextsOfTheCore();
    void countsInEachLanguagesPluralForms_data();
    void countsInEachLanguagesPluralForms();
    void batchReportsInTheLanguageAndSummaryInEnglish_data();
    void batchReportsInTheLanguageAndSummaryInEnglish();
    void settingsFilesAreTheSameInEveryLanguage_data();
    void settingsFilesAreTheSameInEveryLanguage();
    void translationsKeepPlaceholdersLineFeedsAndAccelerators_data();
    void translationsKeepPlaceholdersLineFeedsAndAccelerators();
};

void TranslationsTest::loadsTheLanguageOfTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("found");
    for (const Language& language : shippedLanguages)
        QTest::newRow(language.tag) << language.locale << language.found;
    // English is the program's own; a language without a translation falls back to it.
    QTest::newRow("English") << "en_GB.UTF-8"
                             << "";
    QTest::newRow("Japanese") << "ja_JP.UTF-8"
                              << "";
    // The region does not matter.
    QTest::newRow("Swiss German") << "de_CH.UTF-8"
                                  << "de";
    QTest::newRow("Canadian French") << "fr_CA.UTF-8"
                                     << "fr";
}

void TranslationsTest::loadsTheLanguageOfTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, found);
    QCOMPARE(installTranslations(QLocale(locale)), found);
    if (found.isEmpty())
        QCOMPARE(readyText(), QStringLiteral("Ready"));
    else
        QVERIFY(readyText() != QStringLiteral("Ready"));
}

void TranslationsTest::statusTextsOfTheCore_data()
{
    languageRows({"ready", "cancelled", "diskFull"},
                 {{"Ready", "Cancelled: 12 of 40 pictures made.", "disk full"},
                  {"Bereit", "Abgebrochen: 12 von 40 Bildern erstellt.", "Datenträger voll"},
                  {"Prêt", "Annulé : 12 images sur 40 créées.", "disque plein"},
                  {"Listo", "Cancelado: 12 de 40 imágenes creadas.", "disco lleno"}});
}

void TranslationsTest::statusTextsOfTheCore()
{
    QFETCH(QString, locale);
    QFETCH(QString, ready);
    QFETCH(QString, cancelled);
    QFETCH(QString, diskFull);
    installTranslations(QLocale(locale));
    QCOMPARE(readyText(), ready);
    QCOMPARE(statusAfter(cancelledRun(12, 40)), cancelled);
    QCOMPARE(errorText(std::make_error_code(std::errc::no_space_on_device)), diskFull);
}

// English picks its own singular; French takes 0 as singular too.
void TranslationsTest::countsInEachLanguagesPluralForms_data()
{
    languageRows({"none", "one"},
                 {{"Cancelled: 0 of 0 pictures made.", "Cancelled: 0 of 1 picture made."},
                  {"Abgebrochen: 0 von 0 Bildern erstellt.", "Abgebrochen: 0 von 1 Bild erstellt."},
                  {"Annulé : 0 image sur 0 créée.", "Annulé : 0 image sur 1 créée."},
                  {"Cancelado: 0 de 0 imágenes creadas.", "Cancelado: 0 de 1 imagen creada."}});
}

void TranslationsTest::countsInEachLanguagesPluralForms()
{
    QFETCH(QString, locale);
    QFETCH(QString, none);
    QFETCH(QString, one);
    installTranslations(QLocale(locale));
    QCOMPARE(statusAfter(cancelledRun(0, 0)), none);
    QCOMPARE(statusAfter(cancelledRun(0, 1)), one);
}

// The tool follows LC_ALL as the user sets it, whether or not the system has generated that
// locale; what scripts read on standard output stays English.
void TranslationsTest::batchReportsInTheLanguageAndSummaryInEnglish_data()
{
    languageRows({"unknownOption", "missingFile"},
                 {{"morvane-batch: unknown option --colour", "Failed to find file %1"},
                  {"morvane-batch: unbekannte Option --colour", "Datei %1 nicht gefunden"},
                  {"morvane-batch: option inconnue --colour", "Fichier %1 introuvable"},
                  {"morvane-batch: opción desconocida --colour", "No se encontró el archivo %1"}});
}

void TranslationsTest::batchReportsInTheLanguageAndSummaryInEnglish()
{
    QFETCH(QString, locale);
    QFETCH(QString, unknownOption);
    QFETCH(QString, missingFile);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const auto run = [&](const QString& language, const QStringList& arguments) {
        QProcess batch;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), language);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
        batch.setProcessEnvironment(environment);
        batch.setWorkingDirectory(folder.path());
        batch.start(QStringLiteral(MORVANE_BATCH_PATH), arguments);
        batch.waitForFinished(30000);
        return std::pair(QString::fromUtf8(batch.readAllStandardError()).split(u'\n'),
                         QString::fromUtf8(batch.readAllStandardOutput()));
    };
    QCOMPARE(run(locale, {QStringLiteral("--colour")}).first.value(0), unknownOption);

    const QString missing = folder.filePath(QStringLiteral("gone.jpg"));
    const QStringList arguments = {QStringLiteral("--config-dir"), folder.path(), missing};
    const auto [errors, output] = run(locale, arguments);
    QVERIFY2(errors.contains(missingFile.arg(missing)), qPrintable(errors.join(u'\n')));
    QVERIFY2(output.startsWith(QLatin1String("0 pictures listed, 0 thumbnails and 0 large images")),
             qPrintable(output));
    QCOMPARE(output, run(QStringLiteral("C"), arguments).second);
}

void TranslationsTest::settingsFilesAreTheSameInEveryLanguage_data()
{
    QTest::addColumn<QString>("locale");
    for (const Language& language : shippedLanguages)
        QTest::newRow(language.tag) << QString::fromLatin1(language.locale);
}

// Numbers in the files are the files' own, never the user's: 12000 stays 12000, not 12.000.
void TranslationsTest::settingsFilesAreTheSameInEveryLanguage()
{
    QFETCH(QString, locale);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const auto written = [&folder](const QString& name) {
        ImageSettings image;
        image.large.Width = 12000;
        image.large.Quality = 85;
        FtpSettings ftp;
        ftp.Port = 2121;
        ftp.Connections = 4;
        const QString imagePath = folder.filePath(name + QStringLiteral(".cfg"));
        const QString ftpPath = folder.filePath(name + QStringLiteral("-ftp.cfg"));
        QFile imageFile(imagePath), ftpFile(ftpPath);
        if (!image.save(imagePath) || !ftp.save(ftpPath) || !imageFile.open(QIODevice::ReadOnly) ||
            !ftpFile.open(QIODevice::ReadOnly))
            return QByteArray();
        return imageFile.readAll() + ftpFile.readAll();
    };
    const QByteArray english = written(QStringLiteral("c"));
    QVERIFY(english.contains("12000"));
    installTranslations(QLocale(locale));
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(written(QStringLiteral("translated")), english);
}

void TranslationsTest::translationsKeepPlaceholdersLineFeedsAndAccelerators_data()
{
    QTest::addColumn<QString>("file");
    for (const Language& language : shippedLanguages)
        if (*language.found)
            QTest::newRow(language.tag) << QStringLiteral(MORVANE_TRANSLATIONS_DIR "/morvane_%1.ts")
                                               .arg(QLatin1String(language.found));
}

void TranslationsTest::translationsKeepPlaceholdersLineFeedsAndAccelerators()
{
    QFETCH(QString, file);
    const QList<Message> messages = readMessages(file);
    QVERIFY(!messages.isEmpty());
    for (const Message& message : messages) {
        const QString where = message.context + u' ' + message.source;
        QVERIFY2(!message.translations.isEmpty(), qPrintable(where));
        for (const QString& translation : message.translations) {
            QVERIFY2(!translation.isEmpty(), qPrintable(where));
            // A form for one may say "one" instead of %n.
            QStringList wanted = placeholders(message.source);
            QStringList given = placeholders(translation);
            if (message.translations.size() > 1) {
                wanted.removeAll(QStringLiteral("n"));
                given.removeAll(QStringLiteral("n"));
            }
            QVERIFY2(given == wanted, qPrintable(where + u'\n' + translation));
            QVERIFY2(translation.count(u'\n') == message.source.count(u'\n') ||
                         message.source.startsWith(QLatin1String("Usage:")),
                     qPrintable(where + u'\n' + translation));
            QCOMPARE(translation.count(u'&'), message.source.count(u'&'));
        }
    }
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
