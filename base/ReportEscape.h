#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The text as one printable line for a report: a backslash becomes \\, a line feed \n, a
// carriage return \r, a tab \t, and every other character that is not printable (controls,
// format characters, line and paragraph separators) and every byte of a name that is not
// valid UTF-8 becomes \xHH per byte. Scripts read the reports line by line, and a file name
// may hold any byte but the slash and NUL.
QString escapeForReport(const QString& text);

// The bytes an escaped text stands for, read from its UTF-8: escapeForReport undone, so a
// name written that way comes back byte for byte (pathFromLocal makes a path of them). None
// when the text holds a backslash that escapeForReport never writes.
std::optional<QByteArray> unescapeReport(QByteArrayView utf8);
