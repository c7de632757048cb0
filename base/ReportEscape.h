#pragma once

#include <QString>

// The text as one printable line for a report: a backslash becomes \\, a line feed \n, a
// carriage return \r, a tab \t, and every other character that is not printable (controls,
// format characters, line and paragraph separators) and every byte of a name that is not
// valid UTF-8 becomes \xHH per byte. Scripts read the reports line by line, and a file name
// may hold any byte but the slash and NUL.
QString escapeForReport(const QString& text);
