#pragma once

#include <QLocale>
#include <QString>
#include <QTest>

#include <initializer_list>

// The languages the program ships, and C for English, each with the locale name the
// environment gives (LANG / LC_ALL) and what installTranslations() reports for it.
struct Language
{
    const char* tag; // a row of a data table
    const char* locale;
    const char* found; // the translation loaded; empty for English
};

inline constexpr Language shippedLanguages[] = {
    {"C", "C", ""},
    {"German", "de_DE.UTF-8", "de"},
    {"French", "fr_FR.UTF-8", "fr"},
    {"Spanish", "es_ES.UTF-8", "es"},
};

// A data table of one row per language: its locale name and the texts given, in the order of
// shippedLanguages.
inline void languageRows(std::initializer_list<const char*> columns,
                         const QList<QStringList>& texts)
{
    QTest::addColumn<QString>("locale");
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    qsizetype row = 0;
    for (const Language& language : shippedLanguages) {
        QTestData& data = QTest::newRow(language.tag) << QString::fromLatin1(language.locale);
        for (const QString& text : texts[row++])
            data << text;
    }
}
