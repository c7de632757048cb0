#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

// Starts a program with arguments that need not be valid UTF-8. QProcess hands its
// arguments over as UTF-8, so they go through the shell, every byte spelled out in octal for
// printf.
inline void startWithBytes(QProcess& process, const QString& program,
                           const QList<QByteArray>& arguments)
{
    QString command = QStringLiteral("exec '%1'").arg(program);
    for (const QByteArray& argument : arguments) {
        QString octal;
        for (const char byte : argument)
            octal += QStringLiteral("\\%1").arg(uchar(byte), 3, 8, QLatin1Char('0'));
        command += QStringLiteral(" \"$(printf '%1')\"").arg(octal);
    }
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
}
