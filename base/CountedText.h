#pragma once

#include <QCoreApplication>
#include <QString>

// A text that counts something, in the user's language. English picks between its two
// source texts itself, so the texts are right with no translation loaded; a translation
// gives each of them the plural forms of its own language. Mark both texts with
// QT_TRANSLATE_N_NOOP in `context`.
inline QString countedText(const char* context, const char* one, const char* many, int n)
{
    return QCoreApplication::translate(context, n == 1 ? one : many, nullptr, n);
}
