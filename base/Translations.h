#pragma once

#include <QLocale>
#include <QString>

// Puts the program's texts, and Qt's own (the standard buttons of message boxes), into the
// language of `locale`, replacing what an earlier call installed. English, the texts as the
// program writes them, for the C locale and for every language without a translation.
// Returns the language whose texts were found ("de"), empty for English. Needs a
// QCoreApplication.
QString installTranslations(const QLocale& locale = QLocale());
