#include "base/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// The translators live as long as the application, which owns them.
QPointer<QTranslator> programTexts;
QPointer<QTranslator> qtTexts;

void remove(QPointer<QTranslator>& translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

QTranslator* load(const QLocale& locale, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

QString installTranslations(const QLocale& locale)
{
    remove(programTexts);
    remove(qtTexts);
    // LC_ALL=C means English whatever else the environment asks for, LANGUAGE among it.
    if (locale.language() == QLocale::C || locale.language() == QLocale::English)
        return {};
    programTexts = load(locale, QStringLiteral("morvane"), QStringLiteral(":/translations"));
    if (!programTexts)
        return {};
    // Yes, No, Cancel and OK of message boxes and button boxes; where Qt's translations are
    // not installed they stay English.
    qtTexts = load(locale, QStringLiteral("qtbase"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return programTexts->language().section(u'_', 0, 0);
}
